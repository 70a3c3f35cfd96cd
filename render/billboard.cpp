// Billboards of the entities and the weapon image, drawn into the frame buffer.
// Owns: drawBillboard, drawWeaponImage. Depends on: render/sprites.h, render/whole_turns.h,
// render/raycaster.h (field of view), world/angles.h, world/game_state.h (player position,
// screen size, depthBuffer, screenRows).
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "render/raycaster.h"
#include "render/sprites.h"
#include "render/whole_turns.h"
#include "world/angles.h"
#include "world/game_state.h"

namespace {

// Brings the relative angle into about [-pi, pi] by whole turns. An angle so large that a turn
// no longer changes it (never a heading the frame loop produces) cannot be brought back:
// false then, and the entity is not drawn instead of the loop never ending. A heading a huge
// mouse jump left behind is first brought near by many turns at once, to the same float the
// single turns reach; float rounding is symmetric, so a negative angle takes the mirror image.
bool wrapIntoHalfTurn(float& rel) {
  rel = rel > 0.0f ? skipWholeTurns(rel) : -skipWholeTurns(-rel);
  while (rel > kPi) {
    const float turned = rel - kWholeTurn;
    if (turned == rel) return false;
    rel = turned;
  }
  while (rel < -kPi) {
    const float turned = rel + kWholeTurn;
    if (turned == rel) return false;
    rel = turned;
  }
  return true;
}

// The billboard's height in rows, int(H / dist) wherever that fits an int. Nearer than about
// H / 2^31 cells the quotient leaves the int range (or becomes infinite); it saturates there,
// which keeps every product of the sampling within 64 bits and shows the image's middle.
int64_t billboardRows(float screenHeight, float dist) {
  const float rows = screenHeight / dist;
  constexpr int64_t kMostRows = std::numeric_limits<int32_t>::max();
  if (rows >= static_cast<float>(kMostRows)) return kMostRows;
  return static_cast<int64_t>(rows);
}

// The screen column of the billboard's centre, int(...) wherever that fits an int. Beyond
// 2^40 columns off screen no half-width (at most 2^31) brings a column back, so saturating
// there changes nothing that shows.
int64_t centreColumn(float column) {
  constexpr float kFarOffScreen = 1099511627776.0f;  // 2^40
  return static_cast<int64_t>(std::clamp(column, -kFarOffScreen, kFarOffScreen));
}

// The billboard's box on screen, cols x size cells from (left, top), the part of it that lies
// on the screen, and the entity's straight-line distance. 64-bit throughout: at tiny distances
// size and cols reach far beyond the screen.
struct Placement {
  float dist;
  int64_t size;
  int64_t cols;
  int64_t left;
  int64_t top;
  int64_t firstI, endI;  // box columns on screen
  int64_t firstJ, endJ;  // box rows on screen
};

// False when nothing of the entity can show: behind or beside the view, at the player, or at a
// heading so large that the angle to it cannot be brought near.
bool placeBillboard(const Entity& entity, int32_t imageWidth, float viewAngleRadians,
                    Placement& box) {
  const int32_t screenWidth = game.screenWidth;
  const int32_t screenHeight = game.screenHeight;
  const float dx = entity.x - game.playerX;
  const float dy = entity.y - game.playerY;
  const float dist = static_cast<float>(std::sqrt(static_cast<double>(dy * dy + dx * dx)));
  float rel = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx))) -
              viewAngleRadians;
  if (!wrapIntoHalfTurn(rel)) return false;

  const float fov = radians(kFieldOfViewDegrees);
  const float halfWidthAngle = static_cast<float>(std::atan2(
      static_cast<double>(static_cast<float>(imageWidth) * 0.5f), static_cast<double>(dist)));
  // Written as "not greater" so that a NaN angle (from non-finite positions) is rejected too.
  if (!(halfWidthAngle + fov * 0.5f > std::fabs(rel))) return false;
  if (dist == 0.0f) return false;

  box.dist = dist;
  box.size = billboardRows(static_cast<float>(screenHeight), dist);
  box.cols = 2 * box.size;
  box.top = (screenHeight - box.size) / 2;
  const float centre = (rel / fov + 0.5f) * static_cast<float>(screenWidth);
  if (std::isnan(centre)) return false;
  box.left = centreColumn(centre) - box.cols / 2;
  // Only the part of the box that lies on the screen is visited.
  box.firstI = std::max<int64_t>(0, -box.left);
  box.endI = std::min<int64_t>(box.cols, screenWidth - box.left);
  box.firstJ = std::max<int64_t>(0, -box.top);
  box.endJ = std::min<int64_t>(box.size, screenHeight - box.top);
  return true;
}

// Screen columns [begin, end) that all show the same image column.
struct ColumnRun {
  int64_t begin;
  int64_t end;
  int64_t imageColumn;
};
// Kept between calls, so that drawing allocates only until it has met the widest screen.
std::vector<ColumnRun> columnRuns;

// Each screen column shows one image column, or nothing where a nearer wall hides it. A near
// billboard stretches one image column over many screen columns, so the visible columns are
// gathered into runs that sample the same image column; every row then fills whole runs. Each
// cell of the box is still written once, from the same image cell as column by column.
void gatherColumnRuns(const Placement& box, int64_t imageWidth, bool mirrored) {
  columnRuns.clear();
  for (int64_t i = box.firstI; i < box.endI; ++i) {
    const int64_t x = box.left + i;
    // Straight-line distance against the perpendicular wall distance of this column.
    if (box.dist > game.depthBuffer[x] + 0.1f) continue;
    const int64_t sampled = (imageWidth * i) / box.cols;
    const int64_t c = mirrored ? imageWidth - sampled - 1 : sampled;
    if (!columnRuns.empty() && columnRuns.back().end == x && columnRuns.back().imageColumn == c) {
      ++columnRuns.back().end;
    } else {
      columnRuns.push_back({x, x + 1, c});
    }
  }
}

void fillColumnRuns(const Placement& box, const SpriteImage& image) {
  for (int64_t j = box.firstJ; j < box.endJ; ++j) {
    const int64_t y = box.top + j;
    const char* const imageRow = image.rows[(int64_t{image.height} * j) / box.size];
    char* const screenRow = game.screenRows[y].data();
    for (const ColumnRun& run : columnRuns) {
      const char mask = imageRow[run.imageColumn];
      if (mask == '1') {
        std::fill(screenRow + run.begin, screenRow + run.end, kBlock);
      } else if (mask == '0') {
        std::fill(screenRow + run.begin, screenRow + run.end, ' ');
      }
    }
  }
}

}  // namespace

void drawBillboard(const Entity& entity, float viewAngleRadians) {
  const SpriteImage image = spriteImage(entity.sprite);
  // A record without an image has nothing to show.
  if (image.rows == nullptr || image.width <= 0 || image.height <= 0) return;
  assert(game.depthBuffer.size() >= static_cast<size_t>(std::max(game.screenWidth, 0)) &&
         "the frame sizes the depth buffer to the screen width before drawing");
  assert(game.screenRows.size() >= static_cast<size_t>(std::max(game.screenHeight, 0)) &&
         "the frame buffer holds screenHeight rows");
  Placement box{};
  if (!placeBillboard(entity, image.width, viewAngleRadians, box)) return;
  gatherColumnRuns(box, image.width, entity.mirrored);
  if (!columnRuns.empty()) fillColumnRuns(box, image);
}

void drawWeaponImage(const WeaponImage& image) {
  // An absent name yields an empty image; a first row without columns has no scale.
  if (image.empty() || image[0].empty()) return;
  const int sw = static_cast<int>(image[0].size());
  const int sh = static_cast<int>(image.size());
  const int screenWidth = game.screenWidth;
  const int screenHeight = game.screenHeight;
  const int dw = screenWidth / 9;
  const int left = screenWidth / 2 - dw / 2;
  const int dh =
      static_cast<int>(static_cast<float>(dw) / static_cast<float>(sw) * static_cast<float>(sh));
  const int top = screenHeight - dh;
  if (dh <= 0) return;

  for (int r = 0; r < dh; ++r) {
    const int y = top + r;
    const std::string& row = image[(r * sh) / dh];
    for (int c = 0; c < dw; ++c) {
      const int x = left + c;
      const size_t column = static_cast<size_t>((c * sw) / dw);
      // Rows of a named image need not all be as long as row 0; past a row's end is blank.
      if (column < row.size() && row[column] == '1' && x >= 0 && x < screenWidth && y >= 0 &&
          y < screenHeight) {
        game.screenRows[y][x] = kBlock;
      }
    }
  }
}
