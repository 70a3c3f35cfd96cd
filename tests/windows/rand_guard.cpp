// Preloaded into the Linux replay whose frames are compared with the Windows build's. The two C
// runtimes draw different random sequences, so a compared script must draw none: the first draw
// ends the run with a message instead of a puzzling difference.
// Owns: rand for that run. Depends on: the C library's write and _exit.
#include <unistd.h>

extern "C" int rand() {
  static const char message[] =
      "this script draws a random number (enemy jitter); Windows draws a different one\n";
  write(STDERR_FILENO, message, sizeof message - 1);
  _exit(3);
}
