// One frame of play. Owns: runFrame. Depends on: world, render, actors, platform/platform.h.
#pragma once

void runFrame();
