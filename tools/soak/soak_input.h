// Random input for soaking a program: keys and mouse jumps during play, menu choices, and typed
// settings answers with junk before the valid sizes. Owns: SoakInput and its steps.
// Depends on: platform/scripted.h, world/game_state.h.
#pragma once

#include <random>
#include <string>

struct SoakInput {
  std::mt19937_64 random;
  // From this frame of the game on, the player aims and walks grid routes (with random noise on
  // top) instead of pressing keys at random, so that every game ends, often enough in a win.
  long long huntFrom = 0;
  long long frameOfGame = 0;
};

// A new game: hunting from the start, or random play for a while first.
void chooseGamePlay(SoakInput& input);
// Keys held and the mouse moved before one frame of play.
void inputForFrame(SoakInput& input);
// Releases every key, so nothing held during play leaks into the menu or the dialogue.
void releaseAllKeys();
// Before a menu pass: Up or Down held with Enter pressed, for a game or the settings.
void chooseMenuEntry(SoakInput& input, bool settings);
// The typed answers for one settings dialogue: junk the dialogue must refuse, then a width and
// a height. Returns the size that will be taken.
std::string settingsAnswers(SoakInput& input, int& width, int& height);
