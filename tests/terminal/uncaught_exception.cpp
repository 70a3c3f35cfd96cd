// A program that takes the terminal through the backend and then throws an exception nobody
// catches: the exchange check expects the terminal back and the message on stderr.
// Depends on: platform/platform.h (the terminal backend).
#include <stdexcept>

#include "platform/platform.h"

int main() {
  platform::hideCursor();
  platform::writeRow(0, "\xDB", 1);
  platform::sleepMs(1);
  throw std::runtime_error("the frame buffer ran out of memory");
}
