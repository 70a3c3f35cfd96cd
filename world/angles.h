// Headings: the game's one rounded pi and the conversion from degrees that every subsystem uses,
// so that frames come out the same wherever a heading is turned into radians.
// Owns: kPi, radians. Depends on: nothing.
#pragma once

inline constexpr float kPi = 3.14159f;

// In float, multiplied before divided, as every frame has always done it.
constexpr float radians(float degrees) {
  return degrees * kPi / 180.0f;
}
