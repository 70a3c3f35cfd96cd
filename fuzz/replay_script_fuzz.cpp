// Fuzz target: the replay tool's script parser. Any text is either a script of known keys and
// counts, or refused with one line naming the script line at fault.
// Depends on: tools/replay_script.h, platform/platform.h (key codes).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "tools/replay_script.h"

namespace {

bool isScriptKey(int key) {
  return key == 'W' || key == 'A' || key == 'S' || key == 'D' || key == platform::kVkShift ||
         key == platform::kVkSpace || key == platform::kVkTab;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ReplayScript script;
  std::string error;
  if (parseReplayScript(text, script, error)) {
    if (!error.empty()) std::abort();
    for (const ReplayStep& step : script) {
      if (step.frames < 0) std::abort();
      for (int key : step.keys) {
        if (!isScriptKey(key)) std::abort();
      }
    }
  } else if (!error.starts_with("script line ") || error.find('\n') != std::string::npos) {
    std::abort();
  }
  return 0;
}
