// Games set up for measuring: a program started as its "Run DEMO" starts it, at a chosen size,
// through the scripted backend. Owns: startBenchGame, wakeEveryEnemy. Depends on: shell, render,
// platform/scripted.h, variants.
#pragma once

#include "variants/variant.h"

// A fresh process's state, the frame buffer at width x height, then the game start.
void startBenchGame(const Variant& variant, int width, int height);
// Every enemy chases from now on, as if each had seen the player.
void wakeEveryEnemy();
