// The overlays drawn over the view: status line, level map and weapon.
// Owns: drawStatusLine, drawLevelMap, drawWeapon. Depends on: world/game_state.h,
// world/level.h, render/sprites.h (spriteTable, drawWeaponImage).
#include "render/hud.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "render/sprites.h"
#include "world/game_state.h"
#include "world/level.h"

namespace {

// "%f" prints every digit before the point, up to 39 of them for the largest float, so the
// text is measured first rather than trusted to a fixed buffer.
std::string formatFixed(float value) {
  const double promoted = value;
  const int length = std::snprintf(nullptr, 0, "%f", promoted);
  assert(length > 0 && "fixed notation always yields digits");
  std::string text(static_cast<size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, "%f", promoted);
  return text;
}

// Writes text into the top row from a column on, cut at the screen's right edge.
void writeTopRow(size_t fromColumn, const std::string& text) {
  std::string& row = game.screenRows[0];
  if (fromColumn >= row.size()) return;
  const size_t shown = std::min(text.size(), row.size() - fromColumn);
  row.replace(fromColumn, shown, text, 0, shown);
}

// The map cell of a position. Positions far beyond any level (never reached in play, but an
// out-of-range int conversion is undefined) saturate, which keeps the marker off the screen.
int64_t mapCellOf(float position) {
  constexpr float kFarOffMap = 1099511627776.0f;  // 2^40
  if (!(std::fabs(position) < kFarOffMap)) {
    return position < 0.0f ? -static_cast<int64_t>(kFarOffMap) : static_cast<int64_t>(kFarOffMap);
  }
  return static_cast<int64_t>(position);
}

// One map cell, s characters wide; whatever falls off the screen is left out.
void plotMapCell(int64_t column, int64_t row, int64_t cellWidth, char glyph) {
  if (row < 0 || row >= game.screenHeight) return;
  const int64_t from = std::max<int64_t>(column, 0);
  const int64_t to = std::min<int64_t>(column + cellWidth, game.screenWidth);
  if (from < to) game.screenRows[row].replace(from, to - from, to - from, glyph);
}

}  // namespace

void drawStatusLine() {
  assert(!game.screenRows.empty() && "the frame buffer holds at least one row");
  const std::string position = "X:" + formatFixed(game.playerX) +
                               " Y:" + formatFixed(game.playerY) +
                               " A:" + formatFixed(game.viewAngle);
  const std::string score = "E:" + std::to_string(game.kills) + "/" +
                            std::to_string(game.killTarget) + " H:" + std::to_string(game.health);
  writeTopRow(0, position);
  // The column between the two texts keeps whatever the view drew there.
  const size_t scoreColumn = position.size() + 1;
  writeTopRow(scoreColumn, score);
  // Only level A congratulates: the level itself is compared, whichever program plays it.
  if (game.kills >= game.killTarget && game.currentLevel == &levelA) {
    writeTopRow(scoreColumn, "Congrats! You killed all enemies");
  }
}

void drawLevelMap() {
  const Level& level = *game.currentLevel;
  assert(level.rowCount == static_cast<int32_t>(level.rows.size()) &&
         "a level's row count is that of its rows");
  const int64_t cellWidth = game.screenWidth >= 172 ? 2 : 1;
  const int64_t mapWidth = level.rows.empty() ? 0 : static_cast<int64_t>(level.rows[0].size());
  // A map larger than the screen gets a negative left or top; its outer cells are cut off.
  const int64_t left = (game.screenWidth - mapWidth * cellWidth) / 2;
  const int64_t top = (game.screenHeight - level.rowCount) / 2;
  const int64_t markerColumn = left + mapCellOf(game.playerX) * cellWidth;
  const int64_t markerRow = top + mapCellOf(game.playerY);

  for (int32_t i = 0; i < level.rowCount; ++i) {
    const std::string& cells = level.rows[i];
    for (size_t j = 0; j < cells.size(); ++j) {
      const char glyph = cells[j] == kWallCell ? kBlock : ' ';
      plotMapCell(left + static_cast<int64_t>(j) * cellWidth, top + i, cellWidth, glyph);
      // Set again after every cell, so no later map cell covers the player.
      plotMapCell(markerColumn, markerRow, cellWidth, kBlock);
    }
  }
}

void drawWeapon() {
  // operator[] on purpose: a missing name becomes an empty image, which draws nothing.
  if (game.weaponFrame == 1) {
    drawWeaponImage(spriteTable["GunSprite1"]);
  } else if (game.weaponFrame == 2) {
    drawWeaponImage(spriteTable["GunSprite2"]);
  }
}
