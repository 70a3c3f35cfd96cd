// Start-up and the application state machine. Owns: startUp, runMainLoopPass, runProgram.
// Depends on: shell/menu.h, shell/settings.h, shell/frame_loop.h, render, platform/platform.h.
#pragma once

#include "variants/variant.h"

void startUp();                                // sprites, hidden cursor, saved mouse, 120 x 40
void runMainLoopPass(const Variant& variant);  // one menu pass, settings run or frame
[[noreturn]] void runProgram(const Variant& variant);  // startUp, then passes for ever
