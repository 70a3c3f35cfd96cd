// The five build-time values that make one program of the three.
// Owns: Variant and the three configurations (each defined in its own file, so a program links
// exactly one). Depends on: world/level.h.
#pragma once

#include <cstdint>

#include "world/level.h"

struct Variant {
  const char* menuTitle;  // first text of every main-menu pass
  const Level* level;     // the level "Run DEMO" plays
  float startX;           // player start, cell units
  float startY;
  float startHeading;  // degrees
  int32_t killTarget;  // equals the number of enemy spawn cells of the level
};

extern const Variant marbekVariant;
extern const Variant tolvanVariant;
extern const Variant ziravoVariant;
