// Fuzz target: the terminal input decoder. Any bytes, cut into chunks anywhere, give the same
// events as the same bytes in one chunk, and every event is one the decoder can produce; the
// events then drive the choice of key protocol and the key tracker, which must hold up.
// Depends on: platform/terminal/input_decoder.h, terminal_input.h.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/terminal/input_decoder.h"
#include "platform/terminal/terminal_input.h"

namespace {

std::vector<term::InputEvent> decodeWhole(std::string_view bytes) {
  term::InputDecoder decoder;
  std::vector<term::InputEvent> events;
  term::decodeInput(decoder, bytes, events);
  term::flushPendingInput(decoder, events);
  return events;
}

// The chunk lengths come from the input itself, so the fuzzer explores where reads are cut.
std::vector<term::InputEvent> decodeInChunks(std::string_view bytes) {
  term::InputDecoder decoder;
  std::vector<term::InputEvent> events;
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t length = 1 + static_cast<unsigned char>(bytes[at]) % 7;
    const size_t end = std::min(bytes.size(), at + length);
    term::decodeInput(decoder, bytes.substr(at, end - at), events);
    at = end;
  }
  term::flushPendingInput(decoder, events);
  return events;
}

bool sameEvent(const term::InputEvent& a, const term::InputEvent& b) {
  return a.kind == b.kind && a.key == b.key && a.modifiers == b.modifiers && a.action == b.action &&
         a.form == b.form && a.text == b.text && a.x == b.x && a.y == b.y && a.number == b.number &&
         a.value == b.value;
}

bool plausible(const term::InputEvent& event) {
  const bool keyInRange = event.key >= 0 && event.key <= term::kKeyOther;
  const bool modifiersKnown = (event.modifiers & ~15) == 0;
  const bool textPrintable = event.text == 0 || (event.text >= 0x20 && event.text < 0x7F);
  return keyInRange && modifiersKnown && textPrintable;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<term::InputEvent> whole = decodeWhole(bytes);
  const std::vector<term::InputEvent> chunked = decodeInChunks(bytes);
  if (whole.size() != chunked.size()) std::abort();
  term::TerminalInput input;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (!sameEvent(whole[i], chunked[i]) || !plausible(whole[i])) std::abort();
    const int64_t ms = static_cast<int64_t>(i) * 7;
    const bool key = whole[i].kind == term::EventKind::Key;
    key ? term::noteKey(input, whole[i], ms) : term::noteReply(input, whole[i], ms);
    term::queryKeyHeld(input.keys, term::virtualKeyOf(whole[i].key), ms);
  }
  return 0;
}
