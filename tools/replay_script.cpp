// Parsing of replay scripts. Owns: parseReplayScript. Depends on: tools/replay_script.h,
// platform/platform.h (key codes).
#include "tools/replay_script.h"

#include <charconv>
#include <utility>

#include "platform/platform.h"

namespace {

constexpr std::pair<std::string_view, int> kKeyNames[] = {
    {"W", 'W'},
    {"A", 'A'},
    {"S", 'S'},
    {"D", 'D'},
    {"SHIFT", platform::kVkShift},
    {"SPACE", platform::kVkSpace},
    {"TAB", platform::kVkTab},
};

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

template <typename Number>
bool parseWhole(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  auto [stop, problem] = std::from_chars(text.data(), end, value);
  return problem == std::errc() && stop == end;
}

std::vector<std::string_view> splitWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool parseStep(std::string_view line, ReplayStep& step, std::string& problem) {
  const std::vector<std::string_view> words = splitWords(line);
  if (!parseWhole(words[0], step.frames) || step.frames < 0) {
    problem =
        "COUNT must be a whole number of frames, 0 or more, not '" + std::string(words[0]) + "'";
    return false;
  }
  for (size_t w = 1; w < words.size(); ++w) {
    const std::string_view word = words[w];
    if (word.starts_with("dx=")) {
      if (!parseWhole(word.substr(3), step.mouseDx)) {
        problem = "dx= needs a whole number of pixels within the int range, not '" +
                  std::string(word) + "'";
        return false;
      }
      continue;
    }
    bool known = false;
    for (const auto& [name, code] : kKeyNames) {
      if (word == name) {
        step.keys.push_back(code);
        known = true;
      }
    }
    if (!known) {
      problem = "unknown key '" + std::string(word) + "' (keys: W A S D SHIFT SPACE TAB)";
      return false;
    }
  }
  return true;
}

}  // namespace

bool parseReplayScript(std::string_view text, ReplayScript& script, std::string& error) {
  script.clear();
  int lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    const std::vector<std::string_view> words = splitWords(line);
    if (words.empty() || words[0].starts_with('#')) continue;
    ReplayStep step;
    std::string problem;
    if (!parseStep(line, step, problem)) {
      error = "script line " + std::to_string(lineNumber) + ": " + problem;
      return false;
    }
    script.push_back(std::move(step));
  }
  return true;
}
