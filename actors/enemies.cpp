// Enemy behaviour: the sight test, the chase along grid routes with separation, the attack.
// Depends on: world/game_state.h, world/level.h (cellAt), world/walkability.h (isBlocked),
// actors/pathfinding.h (findRouteStep), actors/runtime_random.h.
#include "actors/enemies.h"

#include <cassert>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "actors/pathfinding.h"
#include "actors/runtime_random.h"
#include "world/game_state.h"
#include "world/walkability.h"

namespace {

constexpr float kSightRange = 32.0f;
constexpr float kSightSamplesPerCell = 20.0f;
constexpr float kAttackRange = 1.0f;
constexpr int32_t kAttackDamage = 10;
constexpr float kAttackHitFrom = 0.4f;
constexpr float kAttackPoseUntil = 0.6f;
constexpr float kAttackLength = 0.7f;
constexpr float kWalkFlipPeriod = 0.25f;
constexpr float kChaseSpeed = 3.0f;
constexpr float kJitterScale = 0.3f;
constexpr float kJitterPeriod = 1.0f;
constexpr float kMinVectorLength = 0.001f;
constexpr float kPlayerKeepOffSquared = 0.36f;
constexpr float kStuckLimit = 0.5f;
constexpr float kSeparationRadius = 0.8f;
constexpr float kSeparationSpeed = 2.0f;
constexpr float kRandomFallbackAfter = 1.0f;

struct Direction {
  int dx;
  int dy;
};
// Numbered as the route search's first four steps.
constexpr Direction kDirections[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

// The sum of squares is formed in float; only the root is taken in double.
float lengthOf(float x, float y) {
  return static_cast<float>(std::sqrt(static_cast<double>(x * x + y * y)));
}

float squaredDistance(float ax, float ay, float bx, float by) {
  const float dx = ax - bx;
  const float dy = ay - by;
  return dx * dx + dy * dy;
}

float distanceToPlayer(const Entity& enemy) {
  return lengthOf(game.playerX - enemy.x, game.playerY - enemy.y);
}

bool isWalledCell(int x, int y) {
  return cellAt(*game.currentLevel, x, y) == kWallCell;
}

bool isWalledAt(float x, float y) {
  return isWalledCell(static_cast<int>(x), static_cast<int>(y));
}

bool isOtherEnemy(const Entity& other, const Entity& self) {
  return &other != &self && other.kind == EntityKind::Enemy;
}

// The samples run 0.05 to 0.1 apart, so any wall crossed over 0.1 or more is caught.
bool seesPlayer(const Entity& enemy) {
  const float dx = game.playerX - enemy.x;
  const float dy = game.playerY - enemy.y;
  const float distance = lengthOf(dx, dy);
  if (!(distance < kSightRange)) return false;
  const int steps = static_cast<int>(distance * kSightSamplesPerCell);
  if (steps <= 0) return true;
  const float stepX = dx / static_cast<float>(steps);
  const float stepY = dy / static_cast<float>(steps);
  float sampleX = enemy.x;
  float sampleY = enemy.y;
  for (int k = 1; k <= steps; ++k) {
    sampleX += stepX;
    sampleY += stepY;
    if (isWalledAt(sampleX, sampleY)) return false;
  }
  return true;
}

void updateIdle(Entity& enemy) {
  if (seesPlayer(enemy)) enemy.state = EnemyState::Chase;
}

// Only reached when a step without a route has pushed the walk timer past 1.0, which the walk
// flip prevents at the frame loop's fixed step; a larger step lets a stranded enemy wander.
bool pickRandomDirection(const Entity& enemy, int cellX, int cellY, Direction& chosen) {
  std::vector<Direction> candidates;
  for (const Direction& direction : kDirections) {
    const int x = cellX + direction.dx;
    const int y = cellY + direction.dy;
    if (isWalledCell(x, y)) continue;
    bool occupied = false;
    for (const Entity& other : game.entities) {
      if (isOtherEnemy(other, enemy) && static_cast<int>(other.x) == x &&
          static_cast<int>(other.y) == y) {
        occupied = true;
        break;
      }
    }
    if (!occupied) candidates.push_back(direction);
  }
  if (candidates.empty()) return false;
  chosen = candidates[runtimeRand() % static_cast<int>(candidates.size())];
  return true;
}

bool routeDirection(int cellX, int cellY, Direction& chosen) {
  // Only the route's second cell is used, so the route itself is never built.
  CellPos next{};
  if (!findRouteStep(cellX, cellY, static_cast<int>(game.playerX), static_cast<int>(game.playerY),
                     next)) {
    return false;
  }
  // A diagonal route step is taken along x first.
  assert((next.x != cellX || next.y != cellY) && "a route never repeats a cell");
  if (next.x != cellX) {
    chosen = next.x > cellX ? kDirections[0] : kDirections[1];
  } else {
    chosen = next.y > cellY ? kDirections[2] : kDirections[3];
  }
  return true;
}

float renewedJitter() {
  return static_cast<float>(runtimeRand() % 200 - 100) / 100.0f;
}

// Every chase step scans all other enemies for crowding, and a crowded one scans them again for
// the separation push. Both scans read this packed copy of the enemies' positions, in list order,
// instead of the records: it is refreshed at the start of an update and kept in step with every
// move. The enemy taking its step is hidden in it, and the copy is padded to whole scan blocks
// with hidden places; a hidden place is infinitely far, so it never crowds and never pushes.
struct Crowd {
  std::vector<float> x;
  std::vector<float> y;
};
Crowd crowd;
constexpr size_t kScanBlock = 16;
constexpr float kHidden = std::numeric_limits<float>::infinity();
// At or beyond this squared distance the separation distance is certainly not below 0.8
// (0.8 squared is 0.64), so the square root need not be taken.
constexpr float kSeparationSquaredBound = 0.65f;

void packCrowd() {
  crowd.x.clear();
  crowd.y.clear();
  for (const Entity& entity : game.entities) {
    if (entity.kind != EntityKind::Enemy) continue;
    crowd.x.push_back(entity.x);
    crowd.y.push_back(entity.y);
  }
  while (crowd.x.size() % kScanBlock != 0) {
    crowd.x.push_back(kHidden);
    crowd.y.push_back(kHidden);
  }
}

void hideInCrowd(size_t slot) {
  crowd.x[slot] = kHidden;
  crowd.y[slot] = kHidden;
}

void showInCrowd(size_t slot, const Entity& enemy) {
  crowd.x[slot] = enemy.x;
  crowd.y[slot] = enemy.y;
}

// Whether any other enemy is nearer than the keep-off distance to (x, y). A block is tested without
// a branch per enemy, which the compiler turns into vector comparisons.
bool isCrowdedAt(float x, float y) {
  for (size_t begin = 0; begin < crowd.x.size(); begin += kScanBlock) {
    int found = 0;
    for (size_t j = begin; j < begin + kScanBlock; ++j) {
      found |= squaredDistance(x, y, crowd.x[j], crowd.y[j]) < kKeepOffSquared;
    }
    if (found != 0) return true;
  }
  return false;
}

// Pushes away from every enemy within the separation radius, weighted by closeness; the sum
// runs in list order so that every build rounds it the same way.
void separate(Entity& enemy, float dt) {
  float sumX = 0.0f;
  float sumY = 0.0f;
  // Most of the crowd is farther off: a block is first tested as a whole, without branches.
  for (size_t begin = 0; begin < crowd.x.size(); begin += kScanBlock) {
    int near = 0;
    for (size_t j = begin; j < begin + kScanBlock; ++j) {
      near |= squaredDistance(enemy.x, enemy.y, crowd.x[j], crowd.y[j]) < kSeparationSquaredBound;
    }
    if (near == 0) continue;
    for (size_t j = begin; j < begin + kScanBlock; ++j) {
      const float dx = enemy.x - crowd.x[j];
      const float dy = enemy.y - crowd.y[j];
      const float squared = dx * dx + dy * dy;
      if (!(squared < kSeparationSquaredBound)) continue;
      const float distance = static_cast<float>(std::sqrt(static_cast<double>(squared)));
      if (distance > kMinVectorLength && distance < kSeparationRadius) {
        const float weight = (kSeparationRadius - distance) / kSeparationRadius;
        sumX += dx / distance * weight;
        sumY += dy / distance * weight;
      }
    }
  }
  const float length = lengthOf(sumX, sumY);
  if (!(length > kMinVectorLength)) return;
  const float pushedX = enemy.x + sumX / length * kSeparationSpeed * dt;
  const float pushedY = enemy.y + sumY / length * kSeparationSpeed * dt;
  if (!isBlocked(pushedX, pushedY)) {
    enemy.x = pushedX;
    enemy.y = pushedY;
  }
}

// The walk image flips every quarter second of chasing.
void advanceWalkFlip(Entity& enemy, float dt) {
  enemy.animTimer += dt;
  if (enemy.animTimer >= kWalkFlipPeriod) {
    enemy.animTimer = 0.0f;
    enemy.mirrored = !enemy.mirrored;
  }
}

void startAttack(Entity& enemy) {
  enemy.state = EnemyState::Attack;
  enemy.attackTimer = 0.0f;
  enemy.attackLanded = false;
}

// The route's direction. Without a route the walk timer is counted a second time and doubles as
// the wait before a random free direction is tried, which restarts it.
bool chooseDirection(Entity& enemy, int cellX, int cellY, float dt, Direction& direction) {
  if (routeDirection(cellX, cellY, direction)) return true;
  enemy.animTimer += dt;
  if (!(enemy.animTimer > kRandomFallbackAfter)) return false;
  enemy.animTimer = 0.0f;
  return pickRandomDirection(enemy, cellX, cellY, direction);
}

void renewJitterWhenDue(Entity& enemy, float dt) {
  enemy.jitterTimer += dt;
  if (enemy.jitterTimer > kJitterPeriod) {
    enemy.jitterTimer = 0.0f;
    enemy.jitterX = renewedJitter();
    enemy.jitterY = renewedJitter();
  }
}

struct Point {
  float x;
  float y;
};

// Where one step at the chase speed leads, towards the centre of the neighbour cell in the
// chosen direction, offset by the enemy's jitter.
Point chaseStepEnd(const Entity& enemy, int cellX, int cellY, Direction direction, float dt) {
  const float targetX =
      static_cast<float>(cellX + direction.dx) + 0.5f + enemy.jitterX * kJitterScale;
  const float targetY =
      static_cast<float>(cellY + direction.dy) + 0.5f + enemy.jitterY * kJitterScale;
  float moveX = targetX - enemy.x;
  float moveY = targetY - enemy.y;
  const float moveLength = lengthOf(moveX, moveY);
  if (moveLength > kMinVectorLength) {
    moveX /= moveLength;
    moveY /= moveLength;
  }
  return {enemy.x + moveX * kChaseSpeed * dt, enemy.y + moveY * kChaseSpeed * dt};
}

// The step is taken unless it ends in a wall, near the player or crowded. A crowded enemy is
// pushed apart instead; one whose step has been walled while crowded for half a second is stuck,
// and gets a forced walk flip in place of the push.
void takeStep(Entity& enemy, size_t slot, Point next, float dt) {
  const bool blocked = isWalledAt(next.x, next.y);
  enemy.stuckTimer = blocked ? enemy.stuckTimer + dt : 0.0f;
  const bool nearPlayer =
      squaredDistance(next.x, next.y, game.playerX, game.playerY) < kPlayerKeepOffSquared;
  hideInCrowd(slot);
  const bool crowded = isCrowdedAt(next.x, next.y);
  if (!blocked && !nearPlayer && !crowded) {
    enemy.x = next.x;
    enemy.y = next.y;
  }

  if (enemy.stuckTimer > kStuckLimit) {
    enemy.animTimer = 1.0f;  // past the flip period: the next step flips
    enemy.stuckTimer = 0.0f;
  } else if (crowded) {
    separate(enemy, dt);
  } else {
    enemy.stuckTimer = 0.0f;
  }
  showInCrowd(slot, enemy);
}

void updateChase(Entity& enemy, size_t slot, float dt) {
  advanceWalkFlip(enemy, dt);
  if (distanceToPlayer(enemy) < kAttackRange) {
    startAttack(enemy);
    return;
  }
  const int cellX = static_cast<int>(enemy.x);
  const int cellY = static_cast<int>(enemy.y);
  Direction direction{};
  if (!chooseDirection(enemy, cellX, cellY, dt, direction)) return;
  renewJitterWhenDue(enemy, dt);
  takeStep(enemy, slot, chaseStepEnd(enemy, cellX, cellY, direction, dt), dt);
}

void updateAttack(Entity& enemy, float dt) {
  enemy.mirrored = false;
  enemy.attackTimer += dt;
  if (enemy.attackTimer >= kAttackHitFrom) {
    // The hit lands once, on the first frame of the swing that finds the player in reach.
    if (!enemy.attackLanded && distanceToPlayer(enemy) < kAttackRange) {
      game.health -= kAttackDamage;
      enemy.attackLanded = true;
    }
    if (enemy.attackTimer < kAttackPoseUntil) enemy.mirrored = true;
  }
  if (enemy.attackTimer >= kAttackLength) {
    enemy.attackTimer = 0.0f;
    enemy.attackLanded = false;
    enemy.mirrored = false;
    enemy.state = EnemyState::Chase;
  }
}

}  // namespace

void updateEnemies(float dt) {
  // Positions are read live: later enemies in the list see where earlier ones moved this step.
  packCrowd();
  size_t slot = 0;
  for (Entity& enemy : game.entities) {
    if (enemy.kind != EntityKind::Enemy) continue;
    switch (enemy.state) {
      case EnemyState::Idle:
        updateIdle(enemy);
        break;
      case EnemyState::Chase:
        updateChase(enemy, slot, dt);
        break;
      case EnemyState::Attack:
        updateAttack(enemy, dt);
        break;
      default:
        break;
    }
    ++slot;
  }
}
