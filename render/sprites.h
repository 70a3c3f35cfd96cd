// Every image of the game, the named weapon images, the billboard and weapon drawing.
// Owns: SpriteImage, spriteImage, spriteTable, setUpSprites, drawBillboard, drawWeaponImage.
// Depends on: world/game_state.h, world/entity.h.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "world/entity.h"

// A billboard image: consecutive text rows, '1' filled, '0' blank, anything else transparent,
// sampled within its declared size, which may exceed the rows' length.
struct SpriteImage {
  const char* const* rows;
  int32_t width;
  int32_t height;
};
// The image a sprite names: no rows and no size for Sprite::None (or any unknown value).
SpriteImage spriteImage(Sprite sprite);

using WeaponImage = std::vector<std::string>;
// "GunSprite1" (at rest) and "GunSprite2" (firing) once setUpSprites has run.
extern std::map<std::string, WeaponImage> spriteTable;

void setUpSprites();
// Draws one entity scaled by distance, hidden per column behind nearer walls (depthBuffer).
void drawBillboard(const Entity& entity, float viewAngleRadians);
// Draws a weapon image scaled to a ninth of the screen width at the bottom centre.
void drawWeaponImage(const WeaponImage& image);
