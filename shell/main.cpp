// The entry point of one program; the build names its variant (PROGRAM_VARIANT).
// Owns: main. Depends on: shell/main_loop.h, variants/variant.h.
#include "shell/main_loop.h"
#include "variants/variant.h"

int main() {
  runProgram(PROGRAM_VARIANT);
}
