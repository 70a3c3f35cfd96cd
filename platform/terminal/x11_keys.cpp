// Keymap reading and focus judgement for the X server's key state. Depends on: x11_keys.h.
#include "platform/terminal/x11_keys.h"

namespace term {
namespace {

struct KeySymbol {
  int virtualKey;
  unsigned long symbol;
};

// Backspace, Tab, Enter and the keypad's Enter, both Shifts, Escape, Space and the four arrows.
// Letters are read by their lower-case symbol, the one the key carries unshifted.
constexpr KeySymbol kNamedKeys[] = {
    {0x08, 0xff08}, {0x09, 0xff09}, {0x0D, 0xff0d}, {0x0D, 0xff8d}, {0x10, 0xffe1}, {0x10, 0xffe2},
    {0x1B, 0xff1b}, {0x20, 0x20},   {0x25, 0xff51}, {0x26, 0xff52}, {0x27, 0xff53}, {0x28, 0xff54},
};
// A window chain deeper than this is taken as broken rather than walked for ever.
constexpr int kMaximumDepth = 64;

void add(XKeyCodes& keyCodes, int virtualKey, int keycode) {
  if (keycode <= 0 || keycode > 255) return;
  for (uint8_t& slot : keyCodes.codes[virtualKey]) {
    if (slot == 0) {
      slot = static_cast<uint8_t>(keycode);
      return;
    }
  }
}

// Walks up from `from`: Ours on reaching `target`, Elsewhere on reaching the root, Unknown when
// a parent cannot be read.
Focus climbsTo(XWindow from, XWindow target, XWindow root,
               const std::function<XWindow(XWindow)>& parentOf) {
  XWindow window = from;
  for (int depth = 0; depth < kMaximumDepth; ++depth) {
    if (window == target) return Focus::Ours;
    if (window == root) return Focus::Elsewhere;
    window = parentOf(window);
    if (window == 0) return Focus::Unknown;
  }
  return Focus::Unknown;
}

}  // namespace

XKeyCodes mapXKeys(const std::function<int(unsigned long keySymbol)>& keycodeOf) {
  XKeyCodes keyCodes;
  for (const KeySymbol& key : kNamedKeys) add(keyCodes, key.virtualKey, keycodeOf(key.symbol));
  for (int letter = 'A'; letter <= 'Z'; ++letter) {
    add(keyCodes, letter, keycodeOf(static_cast<unsigned long>(letter - 'A' + 'a')));
  }
  for (int digit = '0'; digit <= '9'; ++digit) add(keyCodes, digit, keycodeOf(digit));
  return keyCodes;
}

KeySet keysDownIn(const XKeyCodes& keyCodes, const char (&keymap)[32]) {
  KeySet down;
  for (int virtualKey = 0; virtualKey < kVirtualKeyCount; ++virtualKey) {
    for (uint8_t keycode : keyCodes.codes[virtualKey]) {
      if (keycode != 0 && (keymap[keycode / 8] >> (keycode % 8)) & 1) down.set(virtualKey);
    }
  }
  return down;
}

Focus judgeFocus(XWindow focus, XWindow terminal, XWindow root,
                 const std::function<XWindow(XWindow)>& parentOf) {
  // None and PointerRoot name no window: the focus follows the pointer or nothing has it.
  if (focus <= 1 || terminal == 0 || focus == root) return Focus::Unknown;
  Focus below = climbsTo(focus, terminal, root, parentOf);
  if (below != Focus::Elsewhere) return below;
  const XWindow above = terminal == root ? 0 : parentOf(terminal);
  return above == 0 ? Focus::Unknown : climbsTo(above, focus, root, parentOf);
}

}  // namespace term
