// Whole games through the real input path: a test player that reads the game state each frame
// and turns with the mouse, walks and fires wins marbek; a player who stands still in ziravo is
// found and killed.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "shell/main_loop.h"
#include "shell_fixture.h"
#include "testing/test_player.h"
#include "variants/variant.h"

namespace {

// Runs "Run DEMO" and then frames until the game is over; returns the end screen's text.
std::string playGame(const Variant& variant, bool standStill, int maxFrames) {
  freshProgram();
  startUp();
  std::string ending;
  scripted::onSleep([&ending](int ms) {
    if (ms == 5000) ending += consoleRow(0).substr(0, 14);
  });
  scripted::pressKey(platform::kVkReturn);
  runMainLoopPass(variant);
  EXPECT_EQ(game.appState, AppState::Playing);
  for (int frame = 0; frame < maxFrames && game.appState == AppState::Playing; ++frame) {
    if (!standStill) steerTestPlayer();
    runMainLoopPass(variant);
  }
  return ending;
}

TEST(WholeGame, ATestPlayerClearsMarbekAndLeavesByTheExit) {
  const std::string ending = playGame(marbekVariant, false, 20000);
  EXPECT_EQ(ending, "Demo Completed");
  EXPECT_EQ(game.appState, AppState::Menu);
  EXPECT_GT(game.health, 0);
  EXPECT_EQ(game.kills, 0) << "the end screen resets the count";
  ASSERT_EQ(game.entities.size(), 1u) << "only the exit marker is left";
  EXPECT_EQ(game.entities[0].kind, EntityKind::ExitMarker);
}

TEST(WholeGame, APlayerStandingStillInZiravoIsFoundAndKilled) {
  const std::string ending = playGame(ziravoVariant, true, 20000);
  EXPECT_EQ(ending, "Game Over     ");
  EXPECT_TRUE(game.playerDead);
  EXPECT_LE(game.health, 0);
  EXPECT_EQ(game.health % 10, 0) << "health falls only in steps of 10";
}

}  // namespace
