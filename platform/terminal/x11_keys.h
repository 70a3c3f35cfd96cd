// The X server's keyboard seen through two small seams: which keycodes carry the game's keys,
// which of them a keymap shows down, and whether the keyboard focus is on the terminal's window.
// Owns: XKeyCodes, Focus. Depends on: nothing. Pure: the X calls are passed in.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>

namespace term {

using XWindow = unsigned long;
inline constexpr int kVirtualKeyCount = 256;
using KeySet = std::bitset<kVirtualKeyCount>;

// Up to two keycodes per virtual key (Shift and Enter have two keys each); 0 is none.
struct XKeyCodes {
  std::array<std::array<uint8_t, 2>, kVirtualKeyCount> codes{};
};

// Looks up the keycode of each key symbol the game reads; keycodeOf returns 0 for none.
XKeyCodes mapXKeys(const std::function<int(unsigned long keySymbol)>& keycodeOf);
// The virtual keys down in a keymap as XQueryKeymap fills it (one bit per keycode).
KeySet keysDownIn(const XKeyCodes& keyCodes, const char (&keymap)[32]);

// Whether the terminal has the keyboard focus; Unknown whenever it cannot be established.
enum class Focus { Unknown, Ours, Elsewhere };

// The focus is ours when it is on the terminal's window, one of its ancestors below the root
// (the frame a window manager adds) or one of its descendants. parentOf returns 0 on failure.
Focus judgeFocus(XWindow focus, XWindow terminal, XWindow root,
                 const std::function<XWindow(XWindow)>& parentOf);

}  // namespace term
