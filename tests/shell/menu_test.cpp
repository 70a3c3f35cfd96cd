// The main menu and the game-start sequence through the scripted console.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "shell/main_loop.h"
#include "shell/menu.h"
#include "shell_fixture.h"
#include "variants/variant.h"

namespace {

TEST(Menu, WritesEachProgramsTitleAndTheArrowOverTheConsole) {
  const struct {
    const Variant* variant;
    const char* title;
  } cases[] = {{&marbekVariant, "=== Brumvoke ==="},
               {&tolvanVariant, "=== Skarnfell ==="},
               {&ziravoVariant, "=== Zorvel's Map ==="}};
  for (const auto& c : cases) {
    freshProgram();
    runMenuPass(*c.variant);
    EXPECT_EQ(consoleRow(0).substr(0, std::string(c.title).size()), c.title);
    EXPECT_EQ(consoleRow(2).substr(0, 13), "Run DEMO  <--");
    EXPECT_EQ(consoleRow(4).substr(0, 8), "Settings");
    EXPECT_EQ(consoleRow(4).substr(8, 5), "     ");
  }
}

TEST(Menu, ArrowMovesOncePerHeldKeyWithoutWrapping) {
  freshProgram();
  scripted::setKeyHeld(platform::kVkUp, true);  // already at the top: nothing happens
  runMenuPass(tolvanVariant);
  EXPECT_EQ(game.menuSelection, 0);
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
}

TEST(Menu, IdlePassWaitsForInputInsteadOfSpinning) {
  freshProgram();
  runMenuPass(marbekVariant);
  runMenuPass(marbekVariant);
  EXPECT_EQ(scripted::inputWaits(), 2);
  scripted::setKeyHeld(platform::kVkDown, true);
  runMenuPass(marbekVariant);
  EXPECT_EQ(scripted::inputWaits(), 2) << "a pass with a key down does not wait";
}

TEST(Menu, EnterStartsTheBuildsGame) {
  const struct {
    const Variant* variant;
    const Level* level;
    float x, y, heading;
    int target, entities;
  } cases[] = {{&marbekVariant, &levelA, 15.0f, 3.5f, 180.0f, 10, 10},
               {&tolvanVariant, &levelB, 3.0f, 3.0f, 0.0f, 230, 230},
               {&ziravoVariant, &levelC, 5.0f, 5.0f, 0.0f, 256, 256}};
  for (const auto& c : cases) {
    freshProgram();
    game.health = -20;
    game.playerDead = true;
    game.entities.resize(3);
    scripted::pressKey(platform::kVkReturn);
    runMenuPass(*c.variant);
    EXPECT_EQ(game.appState, AppState::Playing);
    EXPECT_EQ(game.currentLevel, c.level);
    EXPECT_EQ(game.playerX, c.x);
    EXPECT_EQ(game.playerY, c.y);
    EXPECT_EQ(game.viewAngle, c.heading);
    EXPECT_EQ(game.killTarget, c.target);
    EXPECT_EQ(game.health, 100);
    EXPECT_FALSE(game.playerDead);
    EXPECT_EQ(static_cast<int>(game.entities.size()), c.entities) << "a fresh list, no survivors";
    EXPECT_EQ(consoleRow(0), std::string(120, ' ')) << "the start clears the console";
  }
}

TEST(Menu, SelectionIsKeptAcrossSettingsAndGames) {
  freshProgram();
  scripted::setKeyHeld(platform::kVkDown, true);
  runMainLoopPass(tolvanVariant);
  scripted::setKeyHeld(platform::kVkDown, false);
  scripted::pressKey(platform::kVkReturn);
  runMainLoopPass(tolvanVariant);
  ASSERT_EQ(game.appState, AppState::Settings);
  scripted::setInput("80 25\n");
  runMainLoopPass(tolvanVariant);
  ASSERT_EQ(game.appState, AppState::Menu);
  runMainLoopPass(tolvanVariant);
  EXPECT_EQ(consoleRow(4).substr(0, 13), "Settings  <--");
  EXPECT_EQ(game.menuSelection, 2);

  game.levelComplete = true;
  runMainLoopPass(tolvanVariant);
  EXPECT_FALSE(game.levelComplete) << "every menu pass clears a finished level";
}

}  // namespace
