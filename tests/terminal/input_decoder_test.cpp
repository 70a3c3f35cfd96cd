// The input decoder against a recording of what it makes of a corpus of edges: legacy keys and
// escapes, kitty keys, win32 records, mouse reports, replies, malformed and cut input. Depends
// on: input_decoder.h, GoogleTest.
#include "platform/terminal/input_decoder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using term::InputEvent;

// The events of the chunks, read one after the other, and then a pause in the input, which ends
// a sequence left open (as the backend does only when the decoder says one is).
std::vector<InputEvent> events(const std::vector<std::string>& chunks, bool pause = false) {
  term::InputDecoder decoder;
  std::vector<InputEvent> events;
  for (const std::string& chunk : chunks) term::decodeInput(decoder, chunk, events);
  if (pause && term::hasPendingInput(decoder)) term::flushPendingInput(decoder, events);
  return events;
}

// Every byte alone and after ESC or SS3, every final of a CSI, kitty keys and win32 records over
// their codes' edges with each modifier and action, mouse reports, replies, UTF-8 and strings at
// their limits; each read whole, then byte by byte, then paused. Every field of every event, and
// whether it interrupts or suspends, is hashed against a recording (record anew after a
// deliberate change).
TEST(InputDecoder, ACorpusOfEdgesDecodesAsRecorded) {
  std::vector<std::string> corpus;
  for (int byte = 0; byte < 256; ++byte) {
    for (const char* lead : {"", "\x1b", "\x1bO", "\x1b[", "\x1b[1;5"}) {
      corpus.push_back(lead + std::string(1, static_cast<char>(byte)));
    }
  }
  std::vector<int> codes = {0, 8, 9, 13, 27, 31, 32, 64, 65, 90, 91, 96, 97, 122, 126, 127, 128};
  for (int code = 57398; code <= 57448; ++code) codes.push_back(code);
  codes.insert(codes.end(), {0xDFFF, 0xE000, 0xF8FF, 0xF900, 0x10FFFF, 0x110000, 99999999});
  for (const int code : codes) {
    for (const char* modifiers :
         {"", ";1", ";2", ";3:1", ";5", ";5:2", ";5:3", ";9:3", ";65", ";133", ";129:3"}) {
      corpus.push_back("\x1b[" + std::to_string(code) + modifiers + "u");
    }
  }
  for (int key = 0; key < 256; ++key) {
    for (const char* rest : {";0;0;1;0;1_", ";0;3;1;8;2_", ";0;26;1;8;1_", ";0;32;0;16;1_",
                             ";0;126;1;1;40_", ";0;127;1;4;0_", ";;;;;_"}) {
      corpus.push_back("\x1b[" + std::to_string(key) + rest);
    }
  }
  // Mouse reports, replies, UTF-8, strings, records with fields left out: a '|' between each.
  std::istringstream others(
      "\x1b[<35;1;1M|\x1b[<0;0;0m|\x1b[<3;;M|\x1b[M   |\x1b[M\xff\x7f!|\x1b[I|\x1b[O|\x1b[?7u|"
      "\x1b[?u|\x1b[?1;2c|\x1b[?c|\x1b[?1016;0$y|\x1b[?2026;4$y|\x1b[?9001;3$y|\x1b[?1016$y|"
      "\x1b[4;820;1600t|\x1b[4;820t|\x1b[3;1;2t|\x1b[5~|"
      "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf|"
      "\xc0\x80\xc1\xbf\xf5\x80\xf4\x90\x80\x80w|\x1b]0;x\x07w|\x1bPx\x1b\\w|"
      "\x1b[16777215;16777216;99999999u|\x1b[119:87;2u|\x1b[1;2D\x1b[1;2:3C|\x1b[?62;22c|"
      "\x1b[>1;2;3zw|\x1b[12\x1b[Aw|\x1b[1;5\x01w|\xff\x80w|\xe2\x96w|\x1b\x1b[A|"
      "\x1b[67;46;3;0;8;1_|wW \r\n\t\x7f\x08\x03\x1bx\x1bOA\x1b[Z\x1b[3~|"
      "\x1b[4;99999999;99999999t|\x1b[4;;1600t|\x1b[4t|\x1b[87;17;;1;0;1_|\x1b[;17;119;1;0;1_|"
      "\x1b[87;17;119;1;0_|\x1b[65;0;31;1;0;1_|\x1b[65;0;127;1;0;1_|\x1b[65;0;32;1;0;1_|\x1b[;5u|"
      "\x1b[~|\x1b\xc3\xa9|\x1b[<99999999;99999999;99999999M");
  for (std::string other; std::getline(others, other, '|');) corpus.push_back(other);
  // Each prefix with each final that one of them ends a reply with, plain and with '$'.
  for (const char prefix : std::string("<?>")) {
    for (const char* intermediate : {"", "$"}) {
      for (const char final : std::string("Mmucyp")) {
        corpus.push_back(std::string("\x1b[") + prefix + "1;2" + intermediate + final);
      }
    }
  }
  for (const int length : {63, 64, 65, 4095, 4096, 4097}) {
    corpus.push_back("\x1b[" + std::string(length, '1') + "uw");
    corpus.push_back("\x1b]" + std::string(length, 'x') + "w");
  }
  uint64_t digest = 14695981039346656037u;
  const auto note = [&](int64_t value) {
    digest = (digest ^ static_cast<uint64_t>(value)) * 1099511628211u;
  };
  for (const std::string& bytes : corpus) {
    std::vector<std::string> whole = {bytes}, split;
    for (const char byte : bytes) split.emplace_back(1, byte);
    for (const auto& chunks : {whole, split}) {
      for (const InputEvent& e : events(chunks, true)) {
        for (const int64_t field :
             {static_cast<int>(e.kind), e.key, e.modifiers, static_cast<int>(e.action),
              static_cast<int>(e.form), e.text, e.x, e.y, e.number, e.value}) {
          note(field);
        }
        note(term::isInterrupt(e) * 2 + term::isSuspend(e));
      }
      note(-1);
    }
  }
  EXPECT_EQ(digest, 18238582819544524465u);
}

}  // namespace
