// Measures what the terminal backend sends per frame of a real game: reads the frames printed
// by `replay ... --print all` on standard input, presents each as the programs do ("color 3f",
// every row written, then a flush) on a 120x41 terminal, and compares the difference encoding
// with a full repaint. Exits 1 if the difference is not far smaller. Depends on: terminal_core.
#include <iostream>
#include <string>
#include <vector>

#include "platform/console_model.h"
#include "platform/terminal/frame_encoder.h"

int main() {
  ConsoleModel console = makeConsole(120, 41);
  console.cursorVisible = false;
  term::ShownScreen shown;
  // The menu the game starts from, so the first frame pays for recolouring the screen.
  writeText(console, "=== Title ===\n\nRun DEMO  <--\n\nSettings\n");
  term::encodeUpdate(shown, console);
  clearConsole(console);

  std::vector<std::string> rows;
  size_t frames = 0, firstBytes = 0, laterBytes = 0, maxBytes = 0, fullBytes = 0;
  auto present = [&] {
    if (rows.empty()) return;
    setConsoleColours(console, 3, 15);
    for (size_t y = 0; y < rows.size(); ++y) {
      writeRow(console, static_cast<int>(y), rows[y].data(), static_cast<int>(rows[y].size()));
    }
    size_t bytes = term::encodeUpdate(shown, console).size();
    fullBytes = std::max(fullBytes, term::encodeFullRepaint(console).size());
    (frames++ == 0 ? firstBytes : laterBytes) += bytes;
    if (frames > 1) maxBytes = std::max(maxBytes, bytes);
    rows.clear();
  };
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line.rfind("frame ", 0) == 0) {
      present();
    } else if (line.rfind("state ", 0) == 0) {
      present();
    } else {
      for (char& c : line) c = c == '#' ? '\xDB' : c;
      rows.push_back(line);
    }
  }
  if (frames < 2) {
    std::cerr << "frame_bytes: expected the frames of a replay on standard input\n";
    return 2;
  }
  size_t average = laterBytes / (frames - 1);
  std::cout << frames << " frames: first " << firstBytes << " bytes, then " << average
            << " on average (at most " << maxBytes << "); a full repaint is " << fullBytes
            << " bytes\n";
  return average * 3 < fullBytes ? 0 : 1;
}
