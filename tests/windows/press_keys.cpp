// Presses keys for the checks under wine. The programs read the asynchronous key state, which
// keystrokes typed into a terminal never reach, so key events are injected into the session.
// Owns: main. Depends on: user32 (SendInput); built for Windows by the Linux test build.
//
// usage: press_keys.exe VK:MS ...   each a hexadecimal virtual-key code held for MS milliseconds
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

void sendKey(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    char* rest = nullptr;
    const long virtualKey = std::strtol(argv[i], &rest, 16);
    if (*rest != ':' || virtualKey <= 0 || virtualKey > 0xFE) {
      std::fprintf(stderr, "press_keys: expected VK:MS, not %s\n", argv[i]);
      return 2;
    }
    const long holdMs = std::strtol(rest + 1, nullptr, 10);
    sendKey(static_cast<WORD>(virtualKey), 0);
    Sleep(static_cast<DWORD>(holdMs));
    sendKey(static_cast<WORD>(virtualKey), KEYEVENTF_KEYUP);
  }
  return 0;
}
