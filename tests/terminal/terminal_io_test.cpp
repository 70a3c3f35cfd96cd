// The terminal's OS part on a pseudo-terminal: the window size field by field, and the way out
// sending only what undoes what was set and reading away the key reports still coming.
// Depends on: terminal_io.h, POSIX ptys, GoogleTest.
#include "platform/terminal/terminal_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <string>

namespace {

TEST(TerminalIo, ReadsTheWindowSizeAndUndoesOnlyWhatWasSet) {
  int master = -1, slave = -1;
  winsize window{41, 120, 1200, 820};
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, &window), 0);
  const int savedIn = dup(STDIN_FILENO), savedOut = dup(STDOUT_FILENO);
  dup2(slave, STDIN_FILENO);
  dup2(slave, STDOUT_FILENO);
  const term::TerminalSize size = term::terminalSize();
  term::enterTerminal("");
  term::setMode(term::LaterMode::Win32Keys, true);
  term::setMode(term::LaterMode::PixelMouse, true);
  term::setMode(term::LaterMode::PixelMouse, false);
  term::writeAll("\x1b[?2026h<frame>\x1b[?2026l");
  // Ctrl+C's release, sent before the terminal saw win32-input-mode end, then its answer.
  const char late[] = "\x1b[67;46;3;0;8;1_\x1b[?62;22c";
  ASSERT_EQ(write(master, late, sizeof late - 1), static_cast<ssize_t>(sizeof late - 1));
  term::restoreTerminal();
  fcntl(slave, F_SETFL, O_NONBLOCK);
  char left;
  EXPECT_EQ(read(slave, &left, 1), -1) << "no key report is left for the shell";
  dup2(savedIn, STDIN_FILENO);
  dup2(savedOut, STDOUT_FILENO);
  EXPECT_EQ(size.columns, 120);
  EXPECT_EQ(size.rows, 41);
  EXPECT_EQ(size.pixelWidth, 1200);
  fcntl(master, F_SETFL, O_NONBLOCK);
  std::string shown;
  char buffer[4096];
  for (ssize_t got; (got = read(master, buffer, sizeof buffer)) > 0;) shown.append(buffer, got);
  EXPECT_EQ(shown.substr(shown.find("<frame>")),
            "<frame>\x1b[?2026l\x1b[?9001l\x1b[?1004l\x1b[?1006l\x1b[?1003l\x1b[0m\x1b[?25h"
            "\x1b[?1049l\x1b[c");
  close(master);
  close(slave);
}

}  // namespace
