// The overlays drawn over the view: status line, level map, weapon.
// Owns: drawStatusLine, drawLevelMap, drawWeapon. Depends on: world/game_state.h,
// render/sprites.h.
#pragma once

void drawStatusLine();  // row 0: position, heading, kills, target, health
void drawLevelMap();    // the level grid centred on the screen, the player as a block
void drawWeapon();      // the weapon image chosen by weaponFrame
