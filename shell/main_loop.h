// The application state machine. Owns: runMainLoopPass, runProgram. Depends on: shell/menu.h,
// shell/settings.h, shell/frame_loop.h, shell/start_up.h.
#pragma once

#include "variants/variant.h"

void runMainLoopPass(const Variant& variant);          // one menu pass, settings run or frame
[[noreturn]] void runProgram(const Variant& variant);  // startUp, then passes for ever
