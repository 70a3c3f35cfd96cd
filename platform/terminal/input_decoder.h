// Turns the bytes a terminal sends into events: legacy keys and escape sequences, the kitty
// keyboard protocol, win32-input-mode key records, SGR (and X10) mouse reports and the replies
// to our start-up queries.
// Owns: InputDecoder, InputEvent. Depends on: nothing. Pure: bytes in, events out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace term {

// Keys without a character of their own are numbered above Unicode so they never clash.
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyBackspace = 127;
inline constexpr int kKeyUp = 0x110000;
inline constexpr int kKeyDown = 0x110001;
inline constexpr int kKeyLeft = 0x110002;
inline constexpr int kKeyRight = 0x110003;
inline constexpr int kKeyShift = 0x110004;
inline constexpr int kKeyOther = 0x110005;  // a key the game has no use for

inline constexpr int kModShift = 1;
inline constexpr int kModAlt = 2;
inline constexpr int kModCtrl = 4;
inline constexpr int kModSuper = 8;

enum class KeyAction { Press, Repeat, Release };

// How a key came: as the text it types (bytes, SS3 keys: what any terminal sends), as an escape
// sequence (the kitty protocol's keys, cursor and function keys), or as a win32-input-mode
// record, which tells down from up but not a press from a repeat.
enum class KeyForm { Sequence, Text, Win32Record };

enum class EventKind {
  Key,
  Mouse,
  KeyboardFlags,     // reply to CSI ? u: the terminal speaks the kitty keyboard protocol
  DeviceAttributes,  // reply to CSI c: every earlier query has been answered by now
  ModeReport,        // reply to DECRQM: `number` is the mode, `value` its state (0 unknown)
  WindowPixels,      // reply to CSI 14 t: `x` width, `y` height in pixels
  Focus,             // focus report: `number` 1 when the terminal gained the focus, 0 lost
};

struct InputEvent {
  EventKind kind = EventKind::Key;
  int key = 0;  // Key: a lower-case code point for letters, or one of the kKey values
  int modifiers = 0;
  KeyAction action = KeyAction::Press;
  KeyForm form = KeyForm::Sequence;
  int text = 0;  // Key: the printable ASCII character the key types, 0 if none
  int x = 0;     // Mouse: 1-based column, or pixel in pixel mode; WindowPixels: width
  int y = 0;
  int number = 0;  // KeyboardFlags: the flags; ModeReport: the mode
  int value = 0;   // ModeReport: the mode's state
};

struct InputDecoder {
  enum class State { Ground, Escape, Csi, Ss3, String, StringEscape, Utf8, X10Mouse };
  State state = State::Ground;
  std::string sequence;  // bytes of the sequence being collected, without its introducer
  bool overflowed = false;
  int stringLength = 0;
  int utf8Remaining = 0;
  int codePoint = 0;
};

// Decodes a chunk as it came from the terminal; a sequence cut at the end of the chunk is kept
// and finished by the next one. Unknown or malformed sequences are skipped whole.
void decodeInput(InputDecoder& decoder, std::string_view bytes, std::vector<InputEvent>& events);

bool hasPendingInput(const InputDecoder& decoder);
// No more bytes came for a while: a lone ESC was the Escape key; any cut sequence is dropped.
void flushPendingInput(InputDecoder& decoder, std::vector<InputEvent>& events);

bool isInterrupt(const InputEvent& event);  // Ctrl+C in either protocol
bool isSuspend(const InputEvent& event);    // Ctrl+Z in either protocol

}  // namespace term
