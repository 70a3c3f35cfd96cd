// The linear congruential generator of the Windows C runtime's rand, kept in 32-bit unsigned
// arithmetic so it wraps alike on every compiler.
// Depends on: nothing.
#include "actors/runtime_random.h"

#include <cstdint>

namespace {

constexpr uint32_t kMultiplier = 214013u;
constexpr uint32_t kIncrement = 2531011u;
constexpr uint32_t kUnseeded = 1u;

uint32_t holdrand = kUnseeded;

}  // namespace

int runtimeRand() {
  holdrand = holdrand * kMultiplier + kIncrement;
  return static_cast<int>((holdrand >> 16) & 0x7FFFu);
}

void resetRuntimeRand() {
  holdrand = kUnseeded;
}
