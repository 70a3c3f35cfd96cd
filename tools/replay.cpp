// replay: runs one variant headless and prints its frames and final state.
// Usage: replay VARIANT [--size WxH] [--frames N] [--print all|last|none] [--script FILE|-]
// Owns: argument handling. Depends on: tools/replay_run.h, tools/replay_script.h,
// render/frame_buffer.h (the largest size).
#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "render/frame_buffer.h"
#include "tools/replay_run.h"
#include "tools/replay_script.h"
#include "variants/variant.h"

namespace {

constexpr const char* kUsage =
    "usage: replay VARIANT [--size WxH] [--frames N] [--print all|last|none] [--script FILE|-]";

int fail(const std::string& problem) {
  std::cerr << "replay: " << problem << "\n" << kUsage << "\n";
  return 2;
}

template <typename Number>
bool parseWhole(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  auto [stop, problem] = std::from_chars(text.data(), end, value);
  return !text.empty() && problem == std::errc() && stop == end;
}

const Variant* variantNamed(std::string_view name) {
  if (name == "marbek") return &marbekVariant;
  if (name == "tolvan") return &tolvanVariant;
  if (name == "ziravo") return &ziravoVariant;
  return nullptr;
}

bool parseSize(std::string_view text, int& width, int& height) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  return parseWhole(text.substr(0, x), width) && parseWhole(text.substr(x + 1), height) &&
         width >= 1 && width <= kLargestScreen && height >= 1 && height <= kLargestScreen;
}

bool readScriptText(const std::string& source, std::string& text) {
  if (source == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
  }
  std::ifstream file(source, std::ios::binary);
  if (!file) return false;
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return fail("no VARIANT given (marbek, tolvan or ziravo)");
  ReplayOptions options;
  options.variant = variantNamed(argv[1]);
  if (options.variant == nullptr) {
    return fail("unknown VARIANT '" + std::string(argv[1]) + "' (marbek, tolvan or ziravo)");
  }
  std::string scriptSource;
  for (int i = 2; i < argc; ++i) {
    const std::string_view flag = argv[i];
    if (i + 1 >= argc) return fail("option " + std::string(flag) + " needs a value");
    const std::string_view value = argv[++i];
    if (flag == "--size") {
      if (!parseSize(value, options.width, options.height)) {
        return fail("--size needs WxH with each from 1 to " + std::to_string(kLargestScreen) +
                    ", not '" + std::string(value) + "'");
      }
    } else if (flag == "--frames") {
      if (!parseWhole(value, options.frames) || options.frames < 0) {
        return fail("--frames needs a whole number, 0 or more, not '" + std::string(value) + "'");
      }
    } else if (flag == "--print") {
      if (value == "all") {
        options.print = PrintMode::All;
      } else if (value == "last") {
        options.print = PrintMode::Last;
      } else if (value == "none") {
        options.print = PrintMode::None;
      } else {
        return fail("--print takes all, last or none, not '" + std::string(value) + "'");
      }
    } else if (flag == "--script") {
      scriptSource = value;
    } else {
      return fail("unknown option '" + std::string(flag) + "'");
    }
  }
  if (!scriptSource.empty()) {
    std::string text;
    if (!readScriptText(scriptSource, text))
      return fail("cannot read script '" + scriptSource + "'");
    std::string error;
    if (!parseReplayScript(text, options.script, error)) return fail(error);
  }
  std::ios::sync_with_stdio(false);
  runReplay(options, std::cout);
  std::cout.flush();
  return std::cout ? 0 : 1;
}
