// The input decoder's state machine: ground bytes, ESC, CSI, SS3, skipped strings and UTF-8;
// and what the kitty protocol's and win32-input-mode's keys mean.
// Depends on: input_decoder.h.
#include "platform/terminal/input_decoder.h"

#include <algorithm>

namespace term {
namespace {

// Longer sequences are none we asked for; they are skipped to their end, not buffered.
constexpr size_t kSequenceLimit = 64;
// OSC and DCS strings with no end in sight stop being skipped here so typing is never lost.
constexpr int kStringLimit = 4096;
constexpr int kNumberLimit = 1 << 24;
constexpr int kModifierMask = kModShift | kModAlt | kModCtrl | kModSuper;
// A win32 record's repeat count stands for that many key-downs; a bigger one is no keyboard's.
constexpr int kRecordRepeatLimit = 32;

// Fields split at ';', sub-fields at ':'; an empty one is -1 so that defaults can apply.
using Parameters = std::vector<std::vector<int>>;

Parameters parseParameters(std::string_view text) {
  Parameters fields(1, std::vector<int>(1, -1));
  for (char c : text) {
    if (c == ';') {
      fields.emplace_back(1, -1);
    } else if (c == ':') {
      fields.back().push_back(-1);
    } else if (c >= '0' && c <= '9') {
      int& number = fields.back().back();
      number = std::min(std::max(number, 0) * 10 + (c - '0'), kNumberLimit);
    }
  }
  return fields;
}

int parameter(const Parameters& fields, size_t field, size_t sub, int fallback) {
  if (field >= fields.size() || sub >= fields[field].size() || fields[field][sub] < 0) {
    return fallback;
  }
  return fields[field][sub];
}

int textOf(int key, int modifiers, KeyAction action) {
  if (action == KeyAction::Release || (modifiers & (kModAlt | kModCtrl | kModSuper))) return 0;
  if (key >= 'a' && key <= 'z' && (modifiers & kModShift)) return key - 'a' + 'A';
  return key >= 0x20 && key < 0x7F ? key : 0;
}

void addKey(std::vector<InputEvent>& events, int key, int modifiers,
            KeyAction action = KeyAction::Press, KeyForm form = KeyForm::Sequence) {
  InputEvent event;
  event.key = key;
  event.modifiers = modifiers & kModifierMask;
  event.action = action;
  event.form = form;
  event.text = textOf(key, event.modifiers, action);
  events.push_back(event);
}

void addText(std::vector<InputEvent>& events, int key, int modifiers) {
  addKey(events, key, modifiers, KeyAction::Press, KeyForm::Text);
}

void addReply(std::vector<InputEvent>& events, EventKind kind, int number, int value = 0) {
  InputEvent event;
  event.kind = kind;
  event.number = number;
  event.value = value;
  events.push_back(event);
}

void addMouse(std::vector<InputEvent>& events, int x, int y) {
  InputEvent event;
  event.kind = EventKind::Mouse;
  event.x = x;
  event.y = y;
  events.push_back(event);
}

// A single byte typed on a terminal without the kitty protocol.
void addLegacyByte(std::vector<InputEvent>& events, unsigned char byte, int modifiers) {
  if (byte == 0x0D || byte == 0x0A) {
    addText(events, kKeyEnter, modifiers);
  } else if (byte == 0x09) {
    addText(events, kKeyTab, modifiers);
  } else if (byte == 0x7F || byte == 0x08) {
    addText(events, kKeyBackspace, modifiers);
  } else if (byte >= 0x01 && byte <= 0x1A) {
    addText(events, 'a' + byte - 1, modifiers | kModCtrl);
  } else if (byte == 0x00 || (byte >= 0x1C && byte <= 0x1F)) {
    addText(events, kKeyOther, modifiers | kModCtrl);
  } else if (byte >= 'A' && byte <= 'Z') {
    addText(events, byte - 'A' + 'a', modifiers | kModShift);
  } else {
    addText(events, byte, modifiers);
  }
}

int kittyKey(int code) {
  switch (code) {
    case 13:
    case 57414:  // keypad Enter
      return kKeyEnter;
    case 9:
      return kKeyTab;
    case 8:
    case 127:
      return kKeyBackspace;
    case 27:
      return kKeyEscape;
    case 57441:  // left and right Shift
    case 57447:
      return kKeyShift;
    case 57412:
      return '-';
    case 57417:
      return kKeyLeft;
    case 57418:
      return kKeyRight;
    case 57419:
      return kKeyUp;
    case 57420:
      return kKeyDown;
  }
  if (code >= 57399 && code <= 57408) return '0' + code - 57399;  // keypad digits
  if (code >= 'A' && code <= 'Z') return code - 'A' + 'a';
  const bool privateUse = code >= 0xE000 && code <= 0xF8FF;
  return code >= 0x20 && code < 0x110000 && !privateUse ? code : kKeyOther;
}

KeyAction kittyAction(int eventType) {
  if (eventType == 2) return KeyAction::Repeat;
  if (eventType == 3) return KeyAction::Release;
  return KeyAction::Press;
}

// The game's keys by their Windows virtual-key codes; the rest are told by the character.
int win32Key(int virtualKey, int character) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return virtualKey - 'A' + 'a';
  if (virtualKey >= '0' && virtualKey <= '9') return virtualKey;
  if (virtualKey >= 0x60 && virtualKey <= 0x69) return '0' + virtualKey - 0x60;  // keypad digits
  switch (virtualKey) {
    case 0x08:
      return kKeyBackspace;
    case 0x09:
      return kKeyTab;
    case 0x0D:
      return kKeyEnter;
    case 0x10:  // Shift, and the left and right Shift keys
    case 0xA0:
    case 0xA1:
      return kKeyShift;
    case 0x1B:
      return kKeyEscape;
    case 0x20:
      return ' ';
    case 0x25:
      return kKeyLeft;
    case 0x26:
      return kKeyUp;
    case 0x27:
      return kKeyRight;
    case 0x28:
      return kKeyDown;
  }
  return character > 0x20 && character < 0x7F ? character : kKeyOther;
}

// A complete CSI sequence cut into its parts: "<=>?" prefix, parameters, intermediates, final.
struct Csi {
  char prefix = 0;
  Parameters fields;
  std::string_view intermediates;
  char final = 0;
};

Csi splitCsi(std::string_view body, char final) {
  Csi csi;
  csi.final = final;
  if (!body.empty() && std::string_view("<=>?").find(body.front()) != std::string_view::npos) {
    csi.prefix = body.front();
    body.remove_prefix(1);
  }
  const size_t parametersEnd = body.find_first_not_of("0123456789:;");
  if (parametersEnd != std::string_view::npos) {
    csi.intermediates = body.substr(parametersEnd);
    body = body.substr(0, parametersEnd);
  }
  csi.fields = parseParameters(body);
  return csi;
}

// SGR mouse reports and the replies to the start-up queries, all with a prefix.
void finishPrefixedCsi(const Csi& csi, std::vector<InputEvent>& events) {
  const int first = parameter(csi.fields, 0, 0, 0);
  const bool plain = csi.intermediates.empty();
  if (csi.prefix == '<' && plain && (csi.final == 'M' || csi.final == 'm')) {
    addMouse(events, parameter(csi.fields, 1, 0, 1), parameter(csi.fields, 2, 0, 1));
  } else if (csi.prefix == '?' && plain && csi.final == 'u') {
    addReply(events, EventKind::KeyboardFlags, first);
  } else if (csi.prefix == '?' && plain && csi.final == 'c') {
    addReply(events, EventKind::DeviceAttributes, first);
  } else if (csi.prefix == '?' && csi.intermediates == "$" && csi.final == 'y') {
    addReply(events, EventKind::ModeReport, first, parameter(csi.fields, 1, 0, 0));
  }
}

void addWindowPixels(const Csi& csi, std::vector<InputEvent>& events) {
  InputEvent event;
  event.kind = EventKind::WindowPixels;
  event.x = parameter(csi.fields, 2, 0, 0);
  event.y = parameter(csi.fields, 1, 0, 0);
  events.push_back(event);
}

// A win32-input-mode record: CSI Vk;Sc;Uc;Kd;Cs;Rc _ (virtual key, scan code, character, down,
// control-key state, repeat count). Ctrl+C and Ctrl+Z are known by their characters, as their
// bytes would be, whatever the keyboard layout.
void addWin32Record(const Csi& csi, std::vector<InputEvent>& events) {
  const int character = parameter(csi.fields, 2, 0, 0);
  const bool down = parameter(csi.fields, 3, 0, 0) == 1;
  const int state = parameter(csi.fields, 4, 0, 0);
  int key = win32Key(parameter(csi.fields, 0, 0, 0), character);
  int modifiers =
      (state & 0x10 ? kModShift : 0) | (state & 0x03 ? kModAlt : 0) | (state & 0x0C ? kModCtrl : 0);
  if (character == 0x03 || character == 0x1A) {
    key = character == 0x03 ? 'c' : 'z';
    modifiers |= kModCtrl;
  }
  const int downs = std::clamp(parameter(csi.fields, 5, 0, 1), 1, kRecordRepeatLimit);
  for (int count = down ? downs : 1; count > 0; --count) {
    addKey(events, key, modifiers, down ? KeyAction::Press : KeyAction::Release,
           KeyForm::Win32Record);
    // The record's own character is what the key types (a shifted digit, a layout's letter).
    if (down && character >= 0x20 && character < 0x7F && !(modifiers & (kModAlt | kModCtrl))) {
      events.back().text = character;
    }
  }
}

// Keys in either protocol (kitty "u", cursor keys with modifiers, legacy function keys), win32
// records, and the window-size reply and focus reports.
void finishPlainCsi(const Csi& csi, std::vector<InputEvent>& events) {
  const int first = parameter(csi.fields, 0, 0, 0);
  const int modifiers = parameter(csi.fields, 1, 0, 1) - 1;
  const KeyAction action = kittyAction(parameter(csi.fields, 1, 1, 1));
  switch (csi.final) {
    case 't':
      if (first == 4) addWindowPixels(csi, events);
      return;
    case 'u':
      return addKey(events, kittyKey(first), modifiers, action);
    case 'A':
      return addKey(events, kKeyUp, modifiers, action);
    case 'B':
      return addKey(events, kKeyDown, modifiers, action);
    case 'C':
      return addKey(events, kKeyRight, modifiers, action);
    case 'D':
      return addKey(events, kKeyLeft, modifiers, action);
    case 'Z':
      return addKey(events, kKeyTab, kModShift, action);
    case '_':
      return addWin32Record(csi, events);
    case 'I':
    case 'O':
      return addReply(events, EventKind::Focus, csi.final == 'I');
    case 'E':
    case 'F':
    case 'H':
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
    case '~':
      return addKey(events, kKeyOther, modifiers, action);
  }
}

// `body` holds the parameters and intermediates of a complete CSI sequence ending in `final`.
void finishCsi(std::string_view body, char final, std::vector<InputEvent>& events) {
  const Csi csi = splitCsi(body, final);
  if (csi.prefix != 0) {
    finishPrefixedCsi(csi, events);
  } else if (csi.intermediates.empty()) {
    finishPlainCsi(csi, events);
  }
}

void finishSs3(char final, std::vector<InputEvent>& events) {
  switch (final) {
    case 'A':
      return addText(events, kKeyUp, 0);
    case 'B':
      return addText(events, kKeyDown, 0);
    case 'C':
      return addText(events, kKeyRight, 0);
    case 'D':
      return addText(events, kKeyLeft, 0);
    case 'M':
      return addText(events, kKeyEnter, 0);
    default:
      return addText(events, kKeyOther, 0);
  }
}

using State = InputDecoder::State;

void enter(InputDecoder& decoder, State state) {
  decoder.state = state;
  decoder.sequence.clear();
  decoder.overflowed = false;
  decoder.stringLength = 0;
}

// Each step returns false when the byte does not belong to the current state and must be read
// afresh.
bool stepGround(InputDecoder& decoder, unsigned char byte, std::vector<InputEvent>& events) {
  if (byte == 0x1B) {
    enter(decoder, State::Escape);
  } else if (byte >= 0xC2 && byte <= 0xF4) {
    enter(decoder, State::Utf8);
    decoder.utf8Remaining = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
    decoder.codePoint = byte & (byte >= 0xF0 ? 0x07 : byte >= 0xE0 ? 0x0F : 0x1F);
  } else if (byte < 0x80) {
    addLegacyByte(events, byte, 0);
  }
  return true;
}

bool stepEscape(InputDecoder& decoder, unsigned char byte, std::vector<InputEvent>& events) {
  if (byte == '[') {
    enter(decoder, State::Csi);
  } else if (byte == 'O') {
    enter(decoder, State::Ss3);
  } else if (std::string_view("]P_^X").find(static_cast<char>(byte)) != std::string_view::npos) {
    enter(decoder, State::String);
  } else if (byte == 0x1B) {
    addText(events, kKeyEscape, 0);
  } else if (byte < 0x80) {
    enter(decoder, State::Ground);
    addLegacyByte(events, byte, kModAlt);
  } else {
    enter(decoder, State::Ground);
    return false;
  }
  return true;
}

bool stepCsi(InputDecoder& decoder, unsigned char byte, std::vector<InputEvent>& events) {
  if (byte >= 0x20 && byte <= 0x3F) {
    if (decoder.sequence.size() < kSequenceLimit) {
      decoder.sequence += static_cast<char>(byte);
    } else {
      decoder.overflowed = true;
    }
    return true;
  }
  if (byte >= 0x40 && byte <= 0x7E) {
    const bool x10Mouse = byte == 'M' && decoder.sequence.empty();
    if (!decoder.overflowed && !x10Mouse) {
      finishCsi(decoder.sequence, static_cast<char>(byte), events);
    }
    enter(decoder, x10Mouse ? State::X10Mouse : State::Ground);
    return true;
  }
  enter(decoder, State::Ground);
  return false;
}

// OSC, DCS and the like: skipped up to BEL or ST (ESC \), or until they grow too long.
bool stepString(InputDecoder& decoder, unsigned char byte) {
  if (decoder.state == State::StringEscape) {
    if (byte == '\\') {
      enter(decoder, State::Ground);
      return true;
    }
    enter(decoder, State::Escape);
    return false;
  }
  if (byte == 0x07 || ++decoder.stringLength > kStringLimit) {
    enter(decoder, State::Ground);
  } else if (byte == 0x1B) {
    decoder.state = State::StringEscape;
  }
  return true;
}

bool stepUtf8(InputDecoder& decoder, unsigned char byte, std::vector<InputEvent>& events) {
  if ((byte & 0xC0) != 0x80) {
    enter(decoder, State::Ground);
    return false;
  }
  decoder.codePoint = (decoder.codePoint << 6) | (byte & 0x3F);
  if (--decoder.utf8Remaining == 0) {
    enter(decoder, State::Ground);
    // F4 90 and up encode no character, and would read as the keys numbered above Unicode.
    if (decoder.codePoint <= 0x10FFFF) addText(events, decoder.codePoint, 0);
  }
  return true;
}

bool stepX10Mouse(InputDecoder& decoder, unsigned char byte, std::vector<InputEvent>& events) {
  decoder.sequence += static_cast<char>(byte);
  if (decoder.sequence.size() == 3) {
    addMouse(events, static_cast<unsigned char>(decoder.sequence[1]) - 32,
             static_cast<unsigned char>(decoder.sequence[2]) - 32);
    enter(decoder, State::Ground);
  }
  return true;
}

bool step(InputDecoder& decoder, unsigned char byte, std::vector<InputEvent>& events) {
  switch (decoder.state) {
    case State::Ground:
      return stepGround(decoder, byte, events);
    case State::Escape:
      return stepEscape(decoder, byte, events);
    case State::Csi:
      return stepCsi(decoder, byte, events);
    case State::Ss3:
      enter(decoder, State::Ground);
      if (byte < 0x20 || byte > 0x7E) return false;
      finishSs3(static_cast<char>(byte), events);
      return true;
    case State::String:
    case State::StringEscape:
      return stepString(decoder, byte);
    case State::Utf8:
      return stepUtf8(decoder, byte, events);
    case State::X10Mouse:
      return stepX10Mouse(decoder, byte, events);
  }
  return true;
}

}  // namespace

void decodeInput(InputDecoder& decoder, std::string_view bytes, std::vector<InputEvent>& events) {
  for (const char c : bytes) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (!step(decoder, byte, events)) step(decoder, byte, events);
  }
}

bool hasPendingInput(const InputDecoder& decoder) {
  return decoder.state != InputDecoder::State::Ground;
}

void flushPendingInput(InputDecoder& decoder, std::vector<InputEvent>& events) {
  if (decoder.state == InputDecoder::State::Escape) addText(events, kKeyEscape, 0);
  enter(decoder, InputDecoder::State::Ground);
}

bool isInterrupt(const InputEvent& event) {
  return event.kind == EventKind::Key && event.key == 'c' && (event.modifiers & kModCtrl) &&
         event.action != KeyAction::Release;
}

bool isSuspend(const InputEvent& event) {
  return event.kind == EventKind::Key && event.key == 'z' && (event.modifiers & kModCtrl) &&
         event.action == KeyAction::Press;
}

}  // namespace term
