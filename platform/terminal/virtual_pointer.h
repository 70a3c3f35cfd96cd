// The mouse cursor the game reads: the terminal's pointer in pixels plus an offset, because a
// terminal cannot move the real one. Owns: VirtualPointer. Depends on: nothing. Pure.
#pragma once

namespace term {

// Left and Right held during play turn the view by moving the pointer this many pixels a frame:
// 3 degrees at the game's 0.1 degree per pixel, a half turn in about a second.
inline constexpr int kArrowPixelsPerFrame = 30;

struct VirtualPointer {
  bool reported = false;  // the terminal has reported the pointer at least once
  int realX = 0;
  int realY = 0;
  int offsetX = 0;
  int offsetY = 0;
};

// Before any report the pointer rests at the given point (the window's middle).
VirtualPointer makeVirtualPointer(int x, int y);
// A report from the terminal. The first one does not jump the pointer, so the view does not turn.
void notePointerReport(VirtualPointer& pointer, int x, int y);
int pointerX(const VirtualPointer& pointer);
int pointerY(const VirtualPointer& pointer);
// What the game's "move the cursor" does: the offset changes, the real pointer stays.
void movePointer(VirtualPointer& pointer, int x, int y);
void nudgePointer(VirtualPointer& pointer, int dx);

}  // namespace term
