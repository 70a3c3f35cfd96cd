// Headings a huge mouse jump leaves behind, millions of degrees large: whole turns taken off many
// at once land on the same float as one at a time. Depends on: render/whole_turns.h.
#include "render/whole_turns.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

float oneAtATime(float value) {
  while (value >= 16.0f) {
    const float next = value - kWholeTurn;
    if (next == value) break;
    value = next;
  }
  return value;
}

// The floats just above and below each end of a binade and a spread of random ones inside it.
// Single turns cost 2^k / 6 steps in binade k, so the high binades get fewer samples.
std::vector<float> samplesOfBinade(int k, std::mt19937& random) {
  const auto low = std::bit_cast<uint32_t>(std::ldexp(1.0f, k));
  const auto high = std::bit_cast<uint32_t>(std::ldexp(1.0f, k + 1));
  std::vector<float> samples;
  for (uint32_t bits : {low, low + 1, low + 2, low + 3, high - 1, high - 2, high - 3}) {
    samples.push_back(std::bit_cast<float>(bits));
  }
  std::uniform_int_distribution<uint32_t> inside(low, high - 1);
  for (int i = k < 20 ? 40 : 1; i > 0; --i) samples.push_back(std::bit_cast<float>(inside(random)));
  return samples;
}

TEST(WholeTurns, ManyAtOnceLandWhereOneAtATimeLands) {
  std::mt19937 random(7);
  for (int k = 0; k <= 26; ++k) {
    for (float value : samplesOfBinade(k, random)) {
      ASSERT_EQ(std::bit_cast<uint32_t>(skipWholeTurns(value)),
                std::bit_cast<uint32_t>(oneAtATime(value)))
          << "from " << value;
    }
  }
  // 2^27 itself still steps down, into the binade below; above it a turn is less than half a
  // float step and nothing changes.
  EXPECT_EQ(skipWholeTurns(134217728.0f), oneAtATime(134217728.0f));
  for (float value : {134217744.0f, 1e10f, std::numeric_limits<float>::max(),
                      std::numeric_limits<float>::infinity()}) {
    EXPECT_EQ(skipWholeTurns(value), value);
  }
  EXPECT_TRUE(std::isnan(skipWholeTurns(std::numeric_limits<float>::quiet_NaN())));
  EXPECT_EQ(skipWholeTurns(-1e9f), -1e9f);
}

}  // namespace
