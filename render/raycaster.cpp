// The wall raycaster: one grid walk per screen column, walls drawn as block outlines, and the
// depth buffer that hides billboards behind nearer walls.
// Owns: castWalls. Depends on: world/game_state.h, world/level.h (cellAt, cell codes),
// world/angles.h.
#include "render/raycaster.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>

#include "render/frame_buffer.h"
#include "world/angles.h"
#include "world/game_state.h"
#include "world/level.h"

namespace {

// Stands in for an infinite step along an axis the ray never crosses.
constexpr float kNoCrossing = 1e30f;
// A wall is never nearer than this, which bounds its height on screen.
constexpr float kNearestWall = 0.01f;
// Hits this close to a block's end along its face may draw the block's vertical outline.
constexpr float kEdgeBandLow = 0.03f;
constexpr float kEdgeBandHigh = 0.97f;
constexpr int kNoSide = -1;  // the side before column 0: equal to neither real side

float stepLength(float direction) {
  return direction == 0.0f ? kNoCrossing : std::fabs(1.0f / direction);
}

struct WallHit {
  int mapX;
  int mapY;
  int side;  // 0: a face perpendicular to x was crossed last, 1: one perpendicular to y
  float distance;
};

// Digital differential analysis from the player's cell until a "1" cell; leaving the grid reads
// as "1", so every walk ends.
WallHit walkToWall(float rayX, float rayY) {
  const Level& level = *game.currentLevel;
  int mapX = static_cast<int>(game.playerX);
  int mapY = static_cast<int>(game.playerY);
  const float stepLengthX = stepLength(rayX);
  const float stepLengthY = stepLength(rayY);
  int stepX = 1;
  int stepY = 1;
  float boundaryX = 0.0f;
  float boundaryY = 0.0f;
  if (rayX < 0.0f) {
    stepX = -1;
    boundaryX = (game.playerX - static_cast<float>(mapX)) * stepLengthX;
  } else {
    boundaryX = (static_cast<float>(mapX + 1) - game.playerX) * stepLengthX;
  }
  if (rayY < 0.0f) {
    stepY = -1;
    boundaryY = (game.playerY - static_cast<float>(mapY)) * stepLengthY;
  } else {
    boundaryY = (static_cast<float>(mapY + 1) - game.playerY) * stepLengthY;
  }
  int side = 0;
  while (cellAt(level, mapX, mapY) != kWallCell) {
    if (boundaryX < boundaryY) {
      mapX += stepX;
      boundaryX += stepLengthX;
      side = 0;
    } else {
      mapY += stepY;
      boundaryY += stepLengthY;
      side = 1;
    }
  }
  float distance = side == 0 ? boundaryX - stepLengthX : boundaryY - stepLengthY;
  // A player inside a wall cell gets a negative distance here.
  if (distance < kNearestWall) distance = kNearestWall;
  return WallHit{mapX, mapY, side, distance};
}

// True when the hit lies within the edge band of its face and the neighbouring block along the
// face is open floor: that is where one wall block ends and a vertical outline belongs.
bool atBlockEdge(const WallHit& hit, float rayX, float rayY) {
  const float along =
      hit.side == 0 ? game.playerY + hit.distance * rayY : game.playerX + hit.distance * rayX;
  const float frac = along - static_cast<float>(std::floor(static_cast<double>(along)));
  if (!(frac < kEdgeBandLow || frac > kEdgeBandHigh)) return false;
  const int toward = frac < kEdgeBandLow ? -1 : 1;
  const int neighbourX = hit.side == 0 ? hit.mapX : hit.mapX + toward;
  const int neighbourY = hit.side == 0 ? hit.mapY + toward : hit.mapY;
  return cellAt(*game.currentLevel, neighbourX, neighbourY) == kFloorCell;
}

// The wall's height in rows, int(H / depth). A ray is at most half the field of view off axis,
// so depth >= cos(30 deg) * 0.01 and the height stays below kLargestScreen / 0.0086 rows, as long
// as the heading is a float of ordinary size. After a huge mouse jump the heading can be hundreds
// of millions of degrees (the frame takes only one turn off it per frame), and the rays' angles
// round to whole float steps of it: a ray can then lie up to 64 degrees off axis, nearer than
// that bound. The conversion saturates, so that no depth can take it out of the int range.
int wallRows(int height, float depth) {
  constexpr float kMostRows = 1073741824.0f;  // 2^30
  const float rows = static_cast<float>(height) / depth;
  if (std::isnan(rows)) return 0;  // 0 / 0: a screen without rows
  return static_cast<int>(std::clamp(rows, -kMostRows, kMostRows));
}

}  // namespace

void castWalls() {
  const int width = game.screenWidth;
  const int height = game.screenHeight;
  assert(height >= 0 && height <= kLargestScreen && width >= 0 && width <= kLargestScreen &&
         "the settings screen keeps the screen within its largest size");
  assert(game.depthBuffer.size() >= static_cast<std::size_t>(width) &&
         "the frame loop sizes the depth buffer to the screen width first");
  assert(frameBufferMatchesScreen() && "the frame buffer is sized to the screen first");
  assert(std::isfinite(game.viewAngle) && std::isfinite(game.playerX) &&
         std::isfinite(game.playerY) && std::fabs(game.playerX) < 1e9f &&
         std::fabs(game.playerY) < 1e9f && "the player stands near the grid, facing somewhere");

  const float leftAngle = game.viewAngle - kFieldOfViewDegrees / 2.0f;
  const float widthF = static_cast<float>(width);
  int previousSide = kNoSide;
  for (int x = 0; x < width; ++x) {
    const float rayAngle = static_cast<float>(x) / widthF * kFieldOfViewDegrees + leftAngle;
    const float rayX = static_cast<float>(std::cos(static_cast<double>(radians(rayAngle))));
    const float rayY = static_cast<float>(std::sin(static_cast<double>(radians(rayAngle))));
    const WallHit hit = walkToWall(rayX, rayY);

    // Measured along the view direction rather than the ray, so flat walls do not bulge.
    const float offAxis =
        static_cast<float>(std::cos(static_cast<double>(radians(rayAngle - game.viewAngle))));
    const float depth = offAxis * hit.distance;
    game.depthBuffer[static_cast<std::size_t>(x)] = depth;

    const int wallHeight = wallRows(height, depth);
    const int top = (height - wallHeight) / 2;
    const int end = top + wallHeight;

    const bool edge = atBlockEdge(hit, rayX, rayY);
    const bool turned = x > 0 && hit.side != previousSide;
    previousSide = hit.side;

    // Only on-screen rows are visited; a wall taller than the screen loses its top and bottom
    // lines off screen.
    const int firstRow = std::max(top, 0);
    const int lastRow = std::min(end, height);
    for (int y = firstRow; y < lastRow; ++y) {
      const bool outline = edge || turned || y == top || y == end - 1;
      game.screenRows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] =
          outline ? kBlock : ' ';
    }
  }
}
