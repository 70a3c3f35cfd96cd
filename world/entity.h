// The record of one spawned object: enemy, prop or exit marker.
// Owns: Entity, EntityKind, EnemyState, Sprite. Depends on: nothing (the renderer owns the
// images; an entity only names the one it shows).
#pragma once

#include <cstdint>

enum class EntityKind : int32_t { Enemy = 0, Prop = 1, ExitMarker = 2 };

// Stored as a plain int: a value outside 0..2 makes an enemy do nothing.
enum class EnemyState : int32_t { Idle = 0, Chase = 1, Attack = 2 };

// The image a billboard shows, named after what spawns it; None shows nothing.
enum class Sprite : int32_t { None = 0, Enemy2 = 1, Enemy4 = 2, Object = 3, Exit = 4 };

struct Entity {
  EntityKind kind = EntityKind::Enemy;
  float x = 0.0f;  // column position in cell units
  float y = 0.0f;  // row position in cell units
  Sprite sprite = Sprite::None;
  EnemyState state = EnemyState::Idle;
  // Seconds since the chase's last walk flip. A chase step without a route counts it twice, so
  // it doubles as the wait before a random step; a stuck enemy sets it to force a flip.
  float animTimer = 0.0f;
  bool mirrored = false;  // billboard drawn mirrored left to right
  float jitterX = 0.0f;   // chase target offsets, each in [-1.00, 0.99]
  float jitterY = 0.0f;
  float jitterTimer = 0.0f;  // seconds since the jitter was last drawn
  float attackTimer = 0.0f;  // seconds into the current attack
  bool attackLanded = false;
  float stuckTimer = 0.0f;  // seconds the chase step has been walled while crowded
};
