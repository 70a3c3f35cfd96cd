// Raw mode, signals, poll/read/write for the terminal backend. Everything a signal handler
// touches is a plain static written before the handlers are installed, or a lock-free atomic.
// Depends on: terminal_io.h, POSIX.
#include "platform/terminal/terminal_io.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace term {
namespace {

constexpr char kEnter[] = "\x1b[?1049h\x1b[?1003h\x1b[?1006h\x1b[?1004h";
constexpr char kLeave[] = "\x1b[?1004l\x1b[?1006l\x1b[?1003l\x1b[0m\x1b[?25h\x1b[?1049l";
// A write cut short by a signal may have left a sequence open, which CAN ends, and a
// synchronized update open, which would hold back everything the terminal is sent after it.
constexpr char kCancelSequence[] = "\x18";
constexpr char kBeginUpdate[] = "\x1b[?2026h";
constexpr char kEndUpdate[] = "\x1b[?2026l";

// Key reports sent before the terminal saw its key protocol switched off (the release of the
// Ctrl+C that ends the program) would reach the shell as junk: the answer to one last query
// marks their end, and everything up to it is read away, for a short while at most.
constexpr char kLastQuery[] = "\x1b[c";
constexpr int kDrainMs = 200;

struct ModeSequences {
  const char* on;
  const char* off;
};
// Flags 1 + 2 + 8 of the kitty protocol: disambiguated keys, press/repeat/release events,
// every key as an escape.
constexpr std::array<ModeSequences, kLaterModeCount> kLaterModes = {
    {{"\x1b[>11u", "\x1b[<u"}, {"\x1b[?9001h", "\x1b[?9001l"}, {"\x1b[?1016h", "\x1b[?1016l"}}};
constexpr int kExitSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

termios savedSettings;
termios rawSettings;
std::array<std::atomic<bool>, kLaterModeCount> laterModeOn{};
std::atomic<bool> terminalTaken{false};
std::atomic<bool> writing{false};       // a write to the terminal is under way
std::atomic<bool> updateOpened{false};  // ... and it began a synchronized update
std::atomic<bool> resized{false};
int wakePipe[2] = {-1, -1};
// Whether the kernel would stop us at all: the session leader's own process group has no shell
// above it to resume it (`ssh -t host marbek`, setsid), and there a stop is ignored.
bool stoppable;
char alternateStack[64 * 1024];

void writeRaw(const char* bytes) {
  size_t length = std::strlen(bytes);
  while (length > 0) {
    ssize_t written = write(STDOUT_FILENO, bytes, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes += written;
    length -= static_cast<size_t>(written);
  }
}

int64_t elapsedSince(const timespec& start) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

// Reads input up to the device-attributes reply (ESC [ ? digits and semicolons, then c).
void drainKeyReports() {
  writeRaw(kLastQuery);
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  int matched = 0;  // how much of the reply's "ESC [ ?" has been seen
  for (int64_t waited = 0; waited < kDrainMs; waited = elapsedSince(start)) {
    pollfd in{STDIN_FILENO, POLLIN, 0};
    char buffer[256];
    if (poll(&in, 1, static_cast<int>(kDrainMs - waited)) <= 0) return;
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) return;
    for (ssize_t i = 0; i < count; ++i) {
      const char byte = buffer[i];
      if (matched == 3 && byte == 'c') return;
      const bool inReply = matched == 3 && ((byte >= '0' && byte <= '9') || byte == ';');
      matched = inReply ? 3 : byte == "\x1b[?"[matched] ? matched + 1 : byte == '\x1b' ? 1 : 0;
    }
  }
}

void onExitSignal(int signalNumber) {
  endLikeSignal(signalNumber);
}

void onUncaughtException() {
  restoreTerminal();
  if (std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, error.what());
    } catch (...) {
      std::fprintf(stderr, "%s: unexpected error\n", program_invocation_short_name);
    }
  }
  std::abort();
}

void markResized() {
  resized.store(true);
  char wake = 1;
  [[maybe_unused]] ssize_t ignored = write(wakePipe[1], &wake, 1);
}

// Takes the terminal again after the program was stopped, and has the screen drawn afresh.
void retake() {
  tcsetattr(STDIN_FILENO, TCSADRAIN, &rawSettings);
  writeRaw(kEnter);
  for (int mode = 0; mode < kLaterModeCount; ++mode) {
    if (laterModeOn[mode].load()) writeRaw(kLaterModes[mode].on);
  }
  terminalTaken.store(true);
  markResized();
}

void onResize(int) {
  int savedErrno = errno;
  markResized();
  errno = savedErrno;
}

void install(int signalNumber, void (*handler)(int), int flags);

// The signal's own effect (stop, or end with its status), even from inside its handler, where
// it is blocked.
void raiseWithDefaultAction(int signalNumber) {
  signal(signalNumber, SIG_DFL);
  sigset_t unblock;
  sigemptyset(&unblock);
  sigaddset(&unblock, signalNumber);
  sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
  raise(signalNumber);
}

// Ctrl+Z or SIGTSTP: give the terminal back, stop, and take it again once continued. Where no
// stop can come, leaving the screen would only make it flash: nothing happens.
void onStop(int) {
  if (!stoppable) return;
  int savedErrno = errno;
  const bool taken = terminalTaken.load();
  restoreTerminal();
  raiseWithDefaultAction(SIGTSTP);
  install(SIGTSTP, onStop, SA_RESTART);
  if (taken) retake();
  errno = savedErrno;
}

// Continued after a stop we did not see coming (SIGSTOP): whatever the shell did to the
// terminal meanwhile, set our modes again and draw the whole screen.
void onContinue(int) {
  int savedErrno = errno;
  if (terminalTaken.load()) retake();
  markResized();
  errno = savedErrno;
}

void install(int signalNumber, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  sigaction(signalNumber, &action, nullptr);
}

void installHandlers() {
  if (pipe2(wakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
    std::fprintf(stderr, "%s: cannot create a pipe: %s\n", program_invocation_short_name,
                 std::strerror(errno));
    std::exit(1);
  }
  stoppable = getpgrp() != getsid(0);
  stack_t stack{};
  stack.ss_sp = alternateStack;
  stack.ss_size = sizeof alternateStack;
  sigaltstack(&stack, nullptr);
  for (int signalNumber : kExitSignals) install(signalNumber, onExitSignal, SA_RESETHAND);
  for (int signalNumber : kCrashSignals) {
    install(signalNumber, onExitSignal, SA_RESETHAND | SA_ONSTACK | SA_NODEFER);
  }
  install(SIGWINCH, onResize, SA_RESTART);
  install(SIGTSTP, onStop, SA_RESTART);
  install(SIGCONT, onContinue, SA_RESTART);
  install(SIGPIPE, SIG_IGN, 0);
  std::set_terminate(onUncaughtException);
  std::atexit(restoreTerminal);
#if defined(__SANITIZE_ADDRESS__)
  __sanitizer_set_death_callback(restoreTerminal);
#endif
}

void makeRaw(termios& settings) {
  settings.c_iflag &= ~(BRKINT | ICRNL | INLCR | IGNCR | INPCK | ISTRIP | IXON);
  settings.c_oflag &= ~OPOST;
  settings.c_cflag |= CS8;
  settings.c_lflag &= ~(ECHO | ICANON | IEXTEN | ISIG);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
}

}  // namespace

void enterTerminal(std::string_view startQueries) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO) ||
      tcgetattr(STDIN_FILENO, &savedSettings) != 0) {
    std::fprintf(stderr, "%s: standard input and output must be a terminal\n",
                 program_invocation_short_name);
    std::exit(1);
  }
  installHandlers();
  rawSettings = savedSettings;
  makeRaw(rawSettings);
  terminalTaken.store(true);
  tcsetattr(STDIN_FILENO, TCSADRAIN, &rawSettings);
  writeAll(std::string(kEnter) + std::string(startQueries));
}

void restoreTerminal() {
  if (!terminalTaken.exchange(false)) return;
  if (writing.exchange(false)) writeRaw(kCancelSequence);
  if (updateOpened.exchange(false)) writeRaw(kEndUpdate);
  // Last on, first off: the kitty flags are popped before the alternate screen is left, as
  // the terminal keeps them per screen.
  for (int mode = kLaterModeCount - 1; mode >= 0; --mode) {
    if (laterModeOn[mode].load()) writeRaw(kLaterModes[mode].off);
  }
  writeRaw(kLeave);
  const bool keysReported = laterModeOn[static_cast<int>(LaterMode::KittyKeys)].load() ||
                            laterModeOn[static_cast<int>(LaterMode::Win32Keys)].load();
  if (keysReported) drainKeyReports();
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedSettings);
}

void setMode(LaterMode mode, bool on) {
  const int index = static_cast<int>(mode);
  if (laterModeOn[index].exchange(on) == on) return;
  writeAll(on ? kLaterModes[index].on : kLaterModes[index].off);
}

void endLikeSignal(int signalNumber) {
  restoreTerminal();
  raiseWithDefaultAction(signalNumber);
  _exit(128 + signalNumber);
}

TerminalSize terminalSize() {
  TerminalSize size;
  winsize window{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &window) == 0 && window.ws_col > 0 && window.ws_row > 0) {
    size.columns = window.ws_col;
    size.rows = window.ws_row;
    size.pixelWidth = window.ws_xpixel;
  }
  return size;
}

bool takeResize() {
  return resized.exchange(false);
}

void writeAll(std::string_view bytes) {
  updateOpened.store(bytes.starts_with(kBeginUpdate));
  writing.store(true);
  while (!bytes.empty()) {
    ssize_t written = write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno == EAGAIN) {
      pollfd out{STDOUT_FILENO, POLLOUT, 0};
      poll(&out, 1, 100);
      continue;
    }
    if (written <= 0) {
      // The terminal is gone; nothing is left to give back.
      terminalTaken.store(false);
      std::exit(1);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  writing.store(false);
  updateOpened.store(false);
}

InputChunk readInput(int timeoutMs) {
  InputChunk chunk;
  pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
  const int ready = poll(watched, 2, timeoutMs);
  if (ready <= 0) return chunk;
  if (watched[1].revents & POLLIN) {
    char drained[64];
    while (read(wakePipe[0], drained, sizeof drained) > 0) {
    }
  }
  if (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) {
    char buffer[4096];
    ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count > 0) {
      chunk.bytes.assign(buffer, static_cast<size_t>(count));
    } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
      chunk.ended = true;
    }
  }
  return chunk;
}

int64_t monotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace term
