// The virtual pointer's arithmetic. Depends on: virtual_pointer.h.
#include "platform/terminal/virtual_pointer.h"

namespace term {

VirtualPointer makeVirtualPointer(int x, int y) {
  VirtualPointer pointer;
  pointer.realX = x;
  pointer.realY = y;
  return pointer;
}

void notePointerReport(VirtualPointer& pointer, int x, int y) {
  if (!pointer.reported) {
    pointer.offsetX += pointer.realX - x;
    pointer.offsetY += pointer.realY - y;
    pointer.reported = true;
  }
  pointer.realX = x;
  pointer.realY = y;
}

int pointerX(const VirtualPointer& pointer) {
  return pointer.realX + pointer.offsetX;
}
int pointerY(const VirtualPointer& pointer) {
  return pointer.realY + pointer.offsetY;
}

void movePointer(VirtualPointer& pointer, int x, int y) {
  pointer.offsetX = x - pointer.realX;
  pointer.offsetY = y - pointer.realY;
}

void nudgePointer(VirtualPointer& pointer, int dx) {
  pointer.offsetX += dx;
}

}  // namespace term
