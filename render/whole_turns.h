// Whole turns taken off a large angle in float exactly as one subtraction at a time would,
// without the millions of steps a huge mouse jump would cost. Owns: kWholeTurn,
// skipWholeTurns. Depends on: world/angles.h.
#pragma once

#include <cmath>
#include <cstdint>

#include "world/angles.h"

// The turn the billboards take off a relative angle, in radians.
inline constexpr float kWholeTurn = 2.0f * kPi;

// What `while (value >= 16 && value - kWholeTurn != value) value = value - kWholeTurn;` leaves,
// each subtraction rounded to float. Within one binade a step subtracts a fixed rounded amount,
// except that a step rounding a tie depends on the last bit of the value, and every step whose
// result stays in the binade leaves that bit the same; so after one single step, all further
// steps down to the binade's lower end are taken at once. Floats from 4 up and kWholeTurn are
// whole multiples of 2^-21, and below 2^27 a step always changes the value, so the arithmetic
// is done exactly in 64-bit integers of that unit.
inline float skipWholeTurns(float value) {
  constexpr float kSingleStepsBelow = 16.0f;
  constexpr double kUnitsPerRadian = 2097152.0;  // 2^21
  const auto units = [](double x) { return static_cast<int64_t>(x * kUnitsPerRadian); };
  while (value >= kSingleStepsBelow) {
    const float next = value - kWholeTurn;
    if (next == value) return value;
    value = next;
    if (value < kSingleStepsBelow) return value;
    int exponent = 0;
    std::frexp(value, &exponent);
    const double bottom = std::ldexp(1.0, exponent - 1);  // the lowest value of this binade
    if (static_cast<double>(value) - kWholeTurn < bottom) continue;
    const int64_t step = units(value) - units(value - kWholeTurn);
    const int64_t room = units(value) - units(kWholeTurn) - units(bottom);
    const int64_t left = units(value) - (room / step + 1) * step;
    value = static_cast<float>(static_cast<double>(left) / kUnitsPerRadian);
  }
  return value;
}
