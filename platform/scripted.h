// Control of the scripted backend: tests and tools set the keys and the mouse, give the typed
// input and read back the console and the pauses. Owns: the scripted session's state.
// Depends on: platform/console_model.h.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/console_model.h"

namespace scripted {

// Thrown by platform::closeConsole() so a test can see the program end.
struct ConsoleClosed {};

// A fresh session: console of the given size, no key held or pressed, the cursor at
// (960, 540) on a monitor 1920 pixels wide, no typed input, no pauses recorded.
void reset(int consoleWidth = 120, int consoleHeight = 40);

void setKeyHeld(int virtualKey, bool held);
void pressKey(int virtualKey);  // counts once for keyPressedSinceLastQuery
void setCursor(int x, int y);
void moveCursor(int dx, int dy);
void setMonitorWidth(int pixels);
void setInput(const std::string& typed);  // what consoleIn() will read; then end of input

const ConsoleModel& console();
const std::vector<int>& pauses();  // every sleepMs, in order
int inputWaits();                  // how many waitForInput calls were made
int rowWrites();                   // how many writeRow calls were made
// Called after each recorded pause with its length (lets a script release a key meanwhile).
void onSleep(std::function<void(int)> hook);

}  // namespace scripted
