// Headings a huge mouse jump leaves behind, millions of degrees large: whole turns taken off many
// at once land on the same float as one at a time, billboards are drawn where single turns would
// place them, and walls seen along rays that rounding has turned far off axis are drawn without
// fault. Depends on: render/whole_turns.h, render/sprites.h, render/raycaster.h,
// world/game_state.h.
#include "render/whole_turns.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "render/raycaster.h"
#include "render/sprites.h"
#include "world/game_state.h"

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

// The relative angle as the billboard renderer forms and wraps it, one turn at a time.
bool wrappedOneAtATime(float dx, float dy, float heading, float& rel) {
  rel = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx))) - heading;
  while (rel > 3.14159f) {
    if (rel - kWholeTurn == rel) return false;
    rel -= kWholeTurn;
  }
  while (rel < -3.14159f) {
    if (rel + kWholeTurn == rel) return false;
    rel += kWholeTurn;
  }
  return true;
}

std::vector<std::string> drawnAt(const Entity& entity, float heading) {
  game.screenRows.assign(60, std::string(200, '.'));
  drawBillboard(entity, heading, 60.0f);
  return game.screenRows;
}

TEST(WholeTurns, BillboardsAtHugeHeadingsOfEitherSignAreDrawnAsSingleTurnsWouldPlaceThem) {
  game = GameState{};
  game.playerX = game.playerY = 0.0f;
  game.screenWidth = 200;
  game.screenHeight = 60;
  game.depthBuffer.assign(200, 1000.0f);
  std::mt19937 random(11);
  std::uniform_real_distribution<float> offset(-6.0f, 6.0f);
  int compared = 0;
  for (float magnitude : {40.0f, 3000.0f, 250000.0f, 1000000.0f}) {
    for (float sign : {1.0f, -1.0f}) {
      for (int i = 0; i < 20; ++i) {
        const Entity entity{.x = offset(random),
                            .y = offset(random),
                            .image = enemyImage2,
                            .imageWidth = 16,
                            .imageHeight = 17};
        const float heading = sign * magnitude * (1.0f + static_cast<float>(i) / 7.0f);
        float rel = 0.0f;
        ASSERT_TRUE(wrappedOneAtATime(entity.x, entity.y, heading, rel));
        // A small heading that gives the same wrapped angle directly, if float arithmetic has
        // one; the picture must then be the same.
        const float towards = static_cast<float>(
            std::atan2(static_cast<double>(entity.y), static_cast<double>(entity.x)));
        float small = towards - rel;
        for (int nudge = 0; nudge < 4 && towards - small != rel; ++nudge) {
          small = std::nextafter(small, towards - small > rel ? 100.0f : -100.0f);
        }
        if (towards - small != rel) continue;
        EXPECT_EQ(drawnAt(entity, heading), drawnAt(entity, small)) << "heading " << heading;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 100);
  game = GameState{};
}

// Taken from a soak: beside a wall, at a heading where a float step is 64 degrees, some rays
// round to a whole step off the view, twice as far as the field of view allows: their walls are
// nearer than a ray inside it ever sees, and are drawn the whole screen high.
TEST(HugeHeading, WallsAlongRaysRoundedFarOffAxisAreDrawnWholeScreenHigh) {
  game = GameState{};
  game.currentLevel = &levelA;
  game.playerX = 11.9949732f;
  game.playerY = 2.33146763f;
  game.viewAngle = -572855936.0f;
  game.screenWidth = 512;
  game.screenHeight = 512;
  game.screenRows.assign(512, std::string(512, '.'));
  game.depthBuffer.assign(512, 0.0f);
  castWalls();
  int offAxis = 0;
  for (int x = 0; x < 512; ++x) {
    const float depth = game.depthBuffer[static_cast<size_t>(x)];
    ASSERT_TRUE(depth > 0.0f && depth < 1e6f) << "column " << x;
    if (depth >= 0.008f) continue;  // nearer than cos(30 deg) * 0.01
    ++offAxis;
    for (const std::string& row : game.screenRows) {
      EXPECT_NE(row[static_cast<size_t>(x)], '.') << "column " << x;
    }
  }
  EXPECT_GT(offAxis, 0);
  game = GameState{};
}

}  // namespace
