// The record of one spawned object: enemy, prop or exit marker.
// Owns: Entity, EntityKind, EnemyState. Depends on: nothing (images are static rows owned by
// the renderer; an entity only points at them).
#pragma once

#include <cstdint>

enum class EntityKind : int32_t { Enemy = 0, Prop = 1, ExitMarker = 2 };

// Stored as a plain int: a value outside 0..2 makes an enemy do nothing.
enum class EnemyState : int32_t { Idle = 0, Chase = 1, Attack = 2 };

// A sprite image: consecutive text rows, '1' filled, '0' blank, anything else transparent.
using ImageRows = const char* const*;

struct Entity {
  EntityKind kind = EntityKind::Enemy;
  float x = 0.0f;  // column position in cell units
  float y = 0.0f;  // row position in cell units
  ImageRows image = nullptr;
  int32_t imageWidth = 0;   // declared sampling width; may exceed the rows' length
  int32_t imageHeight = 0;  // declared sampling height
  EnemyState state = EnemyState::Idle;
  float animTimer = 0.0f;  // walk-flip timer of the chase, seconds
  bool mirrored = false;   // billboard drawn mirrored left to right
  float jitterX = 0.0f;    // chase target offsets, each in [-1.00, 0.99]
  float jitterY = 0.0f;
  float jitterTimer = 0.0f;  // seconds since the jitter was last drawn
  float attackTimer = 0.0f;  // seconds into the current attack
  bool attackLanded = false;
  float stuckTimer = 0.0f;  // seconds the chase step has been walled while crowded
};
