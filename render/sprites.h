// Every image of the game, the named weapon images, the billboard and weapon drawing.
// Owns: the entity images, spriteTable, setUpSprites, drawBillboard, drawWeaponImage.
// Depends on: world/game_state.h, world/entity.h.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "world/entity.h"

// Entity images: consecutive rows; sampled only within the declared sizes below.
// enemyImage4 is a row table of its own; the other three share one table, hence pointers.
extern const ImageRows enemyImage2;      // 17 rows of 16; declared 16 x 17
extern const char* const enemyImage4[];  // 13 rows of 16; declared 16 x 13
extern const ImageRows objectImage;      // 9 rows of 11 (+ a blank tenth); declared 12 x 9
extern const ImageRows exitImage;        // 5 rows of 26; declared 26 x 5

using WeaponImage = std::vector<std::string>;
// "GunSprite1" (at rest) and "GunSprite2" (firing) once setUpSprites has run.
extern std::map<std::string, WeaponImage> spriteTable;

void setUpSprites();
// Draws one entity scaled by distance, hidden per column behind nearer walls (depthBuffer).
void drawBillboard(const Entity& entity, float viewAngleRadians, float fieldOfViewDegrees);
// Draws a weapon image scaled to a ninth of the screen width at the bottom centre.
void drawWeaponImage(const WeaponImage& image);
