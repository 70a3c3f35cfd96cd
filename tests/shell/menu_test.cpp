// The main menu and the game-start sequence through the scripted console.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "shell/menu.h"
#include "shell_fixture.h"
#include "variants/variant.h"

namespace {

TEST(Menu, ArrowMovesOncePerHeldKeyWithoutWrapping) {
  freshProgram();
  scripted::setKeyHeld(platform::kVkUp, true);  // already at the top: nothing happens
  runMenuPass(tolvanVariant);
  EXPECT_EQ(scripted::inputWaits(), 1) << "a pass that changes nothing waits, key down or not";
  EXPECT_FALSE(scripted::console().cursorVisible) << "the program hides the cursor at start-up";
  EXPECT_EQ(consoleRow(0).substr(0, 17), "=== Skarnfell ===");
  EXPECT_EQ(consoleRow(2).substr(0, 13), "Run DEMO  <--");
  EXPECT_TRUE(scripted::pauses().empty());

  scripted::setKeyHeld(platform::kVkUp, false);
  scripted::setKeyHeld(platform::kVkDown, true);
  for (int pass = 0; pass < 3; ++pass) runMenuPass(tolvanVariant);
  EXPECT_EQ(game.menuSelection, 2);
  EXPECT_EQ(countPauses(120), 1) << "one move, one pause, however long Down is held";
  // The move cleared the console, so the old arrow is gone and the new one stands at row 4.
  EXPECT_EQ(consoleRow(2).substr(8), std::string(112, ' '));
  EXPECT_EQ(consoleRow(4).substr(0, 13), "Settings  <--");

  scripted::setKeyHeld(platform::kVkDown, false);
  scripted::setKeyHeld(platform::kVkUp, true);
  runMenuPass(tolvanVariant);
  EXPECT_EQ(game.menuSelection, 0);
  EXPECT_EQ(countPauses(120), 2);
  scripted::setKeyHeld(platform::kVkUp, false);
  runMenuPass(tolvanVariant);
  EXPECT_EQ(scripted::inputWaits(), 4) << "every pass but the two moves waited for input";
}

TEST(Menu, EnterStartsAFreshGame) {
  freshProgram();
  game.health = -20;
  game.playerDead = true;
  game.entities.resize(3);
  game.levelComplete = true;
  scripted::pressKey(platform::kVkReturn);
  runMenuPass(marbekVariant);
  EXPECT_FALSE(game.levelComplete) << "every menu pass clears a finished level";
  EXPECT_EQ(game.appState, AppState::Playing);
  EXPECT_EQ(game.health, 100);
  EXPECT_FALSE(game.playerDead);
  EXPECT_EQ(game.entities.size(), 10u) << "marbek's ten enemies, no survivors";
  EXPECT_EQ(consoleRow(0), std::string(120, ' ')) << "the start clears the console";
}

}  // namespace
