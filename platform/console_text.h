// Text streamed into a console model at its cursor, as the console's own output stream writes
// it. Owns: ConsoleTextBuffer. Depends on: platform/console_model.h. Pure: the backend names its
// live console and what a flush does.
#pragma once

#include <streambuf>
#include <string_view>

#include "platform/console_model.h"

// Unbuffered, so text is in the console the moment it is streamed, as before any pause.
struct ConsoleTextBuffer : std::streambuf {
  explicit ConsoleTextBuffer(ConsoleModel& (*liveConsole)(), void (*onFlush)() = nullptr)
      : liveConsole(liveConsole), onFlush(onFlush) {}

 protected:
  int_type overflow(int_type ch) override {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    const char byte = traits_type::to_char_type(ch);
    writeText(liveConsole(), std::string_view(&byte, 1));
    return ch;
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    if (count > 0) writeText(liveConsole(), std::string_view(text, static_cast<size_t>(count)));
    return count;
  }
  int sync() override {
    if (onFlush != nullptr) onFlush();
    return 0;
  }

 private:
  ConsoleModel& (*liveConsole)();
  void (*onFlush)();
};
