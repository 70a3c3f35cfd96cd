// The settings dialogue: width and height of the frame, each 1..kLargestScreen, read as a stream
// of numbers.
// Owns: runSettingsScreen. Depends on: world/game_state.h, render/frame_buffer.h,
// shell/present.h, platform/platform.h.
#include "shell/settings.h"

#include <cctype>
#include <istream>
#include <ostream>

#include "platform/platform.h"
#include "render/frame_buffer.h"
#include "shell/present.h"
#include "world/game_state.h"

namespace {

constexpr int kMessagePauseMs = 5000;
constexpr int kEnterPollMs = 10;

enum class Answer { Number, Unreadable, EndOfInput };

// Stream extraction as the dialogue always read its numbers, except that an entry that is no
// number (letters, a value beyond int) is discarded so the question can be asked again.
Answer readNumber(std::istream& in, int& value) {
  if ((in >> std::ws).eof()) return Answer::EndOfInput;
  if (in >> value) return Answer::Number;
  in.clear();
  // Drop the rest of the unreadable entry; an overlong number was consumed by the extraction.
  while (!std::isspace(in.peek()) && in.peek() != std::char_traits<char>::eof()) in.get();
  in.clear();
  return Answer::Unreadable;
}

bool inRange(int value) {
  return value >= 1 && value <= kLargestScreen;
}

// With no more input there is nobody left to answer: the console is gone.
int askNumber(std::istream& in, Answer& answer) {
  int value = 0;
  answer = readNumber(in, value);
  if (answer == Answer::EndOfInput) platform::closeConsole();
  return value;
}

}  // namespace

void runSettingsScreen() {
  std::ostream& out = platform::consoleOut();
  std::istream& in = platform::consoleIn();
  homeConsoleCursor();
  out << "Set custom screen resolution\n\n"
      << "Width? " << std::flush;
  Answer answer;
  const int width = askNumber(in, answer);
  if (answer != Answer::Number || !inRange(width)) {
    // The main loop calls again at once and the dialogue starts over from its header.
    out << "Invalid width\n" << std::flush;
    return;
  }
  game.screenWidth = width;
  out << "Set width: " << width << "\n";
  game.widthAccepted = true;

  while (game.widthAccepted) {
    out << "Height? " << std::flush;
    const int height = askNumber(in, answer);
    if (answer != Answer::Number || !inRange(height)) {
      out << "Invalid height\n";
      continue;
    }
    game.screenHeight = height;
    resizeScreen();
    out << "Set resolution: " << game.screenWidth << "x" << height << std::flush;
    platform::sleepMs(kMessagePauseMs);
    game.widthAccepted = false;
    platform::clearConsole();
    game.appState = AppState::Menu;
    // The Enter that answered must not also choose a menu entry.
    while (platform::keyHeld(platform::kVkReturn)) platform::sleepMs(kEnterPollMs);
  }
}
