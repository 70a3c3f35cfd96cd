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
constexpr float kEnemyKeepOffSquared = 0.48999998f;
static_assert(kEnemyKeepOffSquared == 0.7f * 0.7f, "0.7 squared as the float product");
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
  return cellAt(*game.currentLevel, x, y) == '1';
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

// Whether any other enemy is nearer than 0.7 to (x, y). A block is tested without a branch per
// enemy, which the compiler turns into vector comparisons.
bool isCrowdedAt(float x, float y) {
  for (size_t begin = 0; begin < crowd.x.size(); begin += kScanBlock) {
    int found = 0;
    for (size_t j = begin; j < begin + kScanBlock; ++j) {
      found |= squaredDistance(x, y, crowd.x[j], crowd.y[j]) < kEnemyKeepOffSquared;
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

void updateChase(Entity& enemy, size_t slot, float dt) {
  enemy.animTimer += dt;
  if (enemy.animTimer >= kWalkFlipPeriod) {
    enemy.animTimer = 0.0f;
    enemy.mirrored = !enemy.mirrored;
  }

  if (distanceToPlayer(enemy) < kAttackRange) {
    enemy.state = EnemyState::Attack;
    enemy.attackTimer = 0.0f;
    enemy.attackLanded = false;
    return;
  }

  const int cellX = static_cast<int>(enemy.x);
  const int cellY = static_cast<int>(enemy.y);
  Direction direction{};
  if (!routeDirection(cellX, cellY, direction)) {
    enemy.animTimer += dt;
    if (!(enemy.animTimer > kRandomFallbackAfter)) return;
    enemy.animTimer = 0.0f;
    if (!pickRandomDirection(enemy, cellX, cellY, direction)) return;
  }

  enemy.jitterTimer += dt;
  if (enemy.jitterTimer > kJitterPeriod) {
    enemy.jitterTimer = 0.0f;
    enemy.jitterX = renewedJitter();
    enemy.jitterY = renewedJitter();
  }

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
  const float nextX = enemy.x + moveX * kChaseSpeed * dt;
  const float nextY = enemy.y + moveY * kChaseSpeed * dt;

  const bool blocked = isWalledAt(nextX, nextY);
  enemy.stuckTimer = blocked ? enemy.stuckTimer + dt : 0.0f;
  const bool nearPlayer =
      squaredDistance(nextX, nextY, game.playerX, game.playerY) < kPlayerKeepOffSquared;
  hideInCrowd(slot);
  const bool crowded = isCrowdedAt(nextX, nextY);
  if (!blocked && !nearPlayer && !crowded) {
    enemy.x = nextX;
    enemy.y = nextY;
  }

  if (enemy.stuckTimer > kStuckLimit) {
    // Forces a walk flip on the next step.
    enemy.animTimer = 1.0f;
    enemy.stuckTimer = 0.0f;
  } else if (crowded) {
    separate(enemy, dt);
  } else {
    enemy.stuckTimer = 0.0f;
  }
  showInCrowd(slot, enemy);
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
