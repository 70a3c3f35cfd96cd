// One frame of play through the scripted backend: movement rules, mouse look, firing rhythm,
// end screens.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "shell/frame_loop.h"
#include "shell/present.h"
#include "shell_fixture.h"

namespace {

const Level kRoom = makeLevel({
    "11111111",
    "1      1",
    "1  2 4 1",
    "1    1 1",
    "1  5   1",
    "11111111",
});

void playIn(const Level& level, float x, float y, float heading) {
  freshProgram();
  game.currentLevel = &level;
  game.playerX = x;
  game.playerY = y;
  game.viewAngle = heading;
  game.killTarget = 1;
  game.appState = AppState::Playing;
  game.savedCursor = {960, 540};
}

void frameWith(std::initializer_list<int> keys) {
  for (int key : keys) scripted::setKeyHeld(key, true);
  runFrame();
  for (int key : keys) scripted::setKeyHeld(key, false);
}

// An enemy that stays where it is put (its state is none of the three).
Entity standingEnemy(float x, float y) {
  Entity enemy;
  enemy.x = x;
  enemy.y = y;
  enemy.state = static_cast<EnemyState>(7);
  return enemy;
}

TEST(Movement, KeysSpeedsAndDiagonals) {
  playIn(kRoom, 1.5f, 1.5f, 0.0f);
  frameWith({'W'});
  EXPECT_FLOAT_EQ(game.playerX, 1.75f);
  frameWith({'W', platform::kVkShift});
  EXPECT_FLOAT_EQ(game.playerX, 2.25f);
  frameWith({'S'});
  EXPECT_FLOAT_EQ(game.playerX, 2.0f);
  frameWith({'W', 'D'});  // forward and a step right at once: a faster diagonal
  EXPECT_FLOAT_EQ(game.playerX, 2.25f);
  EXPECT_FLOAT_EQ(game.playerY, 1.75f);
  frameWith({'A'});
  EXPECT_FLOAT_EQ(game.playerY, 1.5f);
  frameWith({'W', 'S'});  // opposite keys cancel
  EXPECT_FLOAT_EQ(game.playerX, 2.25f);
}

TEST(Movement, SlidesAlongWallsTryingXBeforeY) {
  // (1.9, 1.9) heading 45 degrees: the cell ahead on the diagonal, (2, 2), is a wall. Moving x
  // first succeeds, then y from the new x is refused.
  const Level corner = makeLevel({"1111", "1  1", "1 11", "1111"});
  playIn(corner, 1.9f, 1.9f, 45.0f);
  frameWith({'W'});
  EXPECT_GT(game.playerX, 2.0f);
  EXPECT_FLOAT_EQ(game.playerY, 1.9f);

  playIn(kRoom, 6.5f, 1.5f, 30.0f);  // into the east wall at an angle: keeps moving along y
  for (int frame = 0; frame < 4; ++frame) frameWith({'W'});
  EXPECT_LT(game.playerX, 7.0f);
  EXPECT_GT(game.playerY, 1.9f);
}

TEST(Movement, SpawnCellsAreFloorAndTheExitOpensAtTheKillTarget) {
  playIn(kRoom, 2.5f, 2.5f, 0.0f);
  frameWith({'W'});
  frameWith({'W'});
  EXPECT_FLOAT_EQ(game.playerX, 3.0f) << "a '2' cell is floor";
  for (int frame = 0; frame < 16; ++frame) frameWith({'W'});
  EXPECT_FLOAT_EQ(game.playerX, 6.75f) << "through the '4' cell up to the wall";

  playIn(kRoom, 2.5f, 4.5f, 0.0f);
  frameWith({'W', platform::kVkShift});
  EXPECT_FLOAT_EQ(game.playerX, 2.5f) << "the exit is a wall while kills < killTarget";
  EXPECT_FALSE(game.levelComplete);

  game.kills = 1;
  frameWith({'W', platform::kVkShift});
  EXPECT_FLOAT_EQ(game.playerX, 3.0f);
  EXPECT_EQ(game.appState, AppState::Menu) << "stepping onto the open exit ends the game";
  EXPECT_EQ(game.kills, 0);
}

TEST(Movement, EnemiesBlockWithinPointSevenButOthersDoNot) {
  playIn(kRoom, 3.0f, 1.5f, 0.0f);
  game.entities.push_back(standingEnemy(3.0f, 2.15f));  // 0.65 below the player
  frameWith({'W'});
  EXPECT_FLOAT_EQ(game.playerX, 3.0f) << "still within 0.7 after the step, though leading away";
  frameWith({'W', platform::kVkShift});
  EXPECT_FLOAT_EQ(game.playerX, 3.5f) << "a longer step ends 0.7 or more away";

  playIn(kRoom, 3.0f, 1.5f, 0.0f);
  Entity prop = standingEnemy(3.25f, 1.5f);
  prop.kind = EntityKind::Prop;
  game.entities.push_back(prop);
  frameWith({'W'});
  EXPECT_FLOAT_EQ(game.playerX, 3.25f) << "props never block";
}

TEST(MouseLook, TurnsByTenthDegreePerPixelAndWrapsAtTheMonitorEdges) {
  playIn(kRoom, 1.5f, 1.5f, 0.0f);
  scripted::setCursor(980, 700);  // vertical movement turns nothing
  runFrame();
  EXPECT_FLOAT_EQ(game.viewAngle, 2.0f);
  EXPECT_EQ(game.savedCursor.x, 980);

  scripted::setCursor(979, 700);
  runFrame();
  scripted::setCursor(979 - 20, 700);
  runFrame();
  EXPECT_NEAR(game.viewAngle, 359.9f, 1e-3f) << "normalised once it went below 0";

  scripted::setCursor(10, 700);
  runFrame();
  EXPECT_EQ(platform::pointerPosition().x, 1909);
  EXPECT_EQ(game.savedCursor.x, 1909);
  const float afterLeftWrap = game.viewAngle;
  runFrame();
  EXPECT_EQ(game.viewAngle, afterLeftWrap) << "the wrap itself costs no turn";

  scripted::setCursor(1910, 700);
  runFrame();
  EXPECT_EQ(platform::pointerPosition().x, 11);
  EXPECT_EQ(platform::pointerPosition().y, 700);
  EXPECT_EQ(game.savedCursor.x, 11);
}

TEST(Firing, HeldSpaceFiresEveryFifthFrameAndShowsTheFiringImageForFour) {
  playIn(kRoom, 1.5f, 1.5f, 0.0f);
  std::string weapon;
  for (int frame = 0; frame < 11; ++frame) {
    frameWith({platform::kVkSpace});
    weapon += std::to_string(game.weaponFrame);
  }
  EXPECT_EQ(weapon, "22221222212");
  EXPECT_EQ(game.fireCooldown, 4);
}

TEST(EndScreens, DeathAndVictoryInOneFrameShowBothMessages) {
  playIn(kRoom, 2.5f, 4.5f, 0.0f);
  game.kills = 1;
  game.health = 0;
  std::vector<std::string> shown;
  scripted::onSleep([&shown](int ms) {
    if (ms == 5000) shown.push_back(consoleRow(0).substr(0, 14));
  });
  frameWith({'W', platform::kVkShift});
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "Demo Completed");
  EXPECT_EQ(shown[1], "Game Over     ");
  EXPECT_EQ(game.appState, AppState::Menu);
  EXPECT_EQ(game.kills, 0);
  // The frame is still presented afterwards, in the colours the end screen set.
  EXPECT_NE(consoleRow(0).substr(0, 9), "Game Over");
  EXPECT_EQ(attributeAt(scripted::console(), 0, 0), 0x0f);
  EXPECT_EQ(scripted::pauses().back(), 16);
}

TEST(EndScreens, HealthOfExactlyZeroEndsTheGame) {
  playIn(kRoom, 1.5f, 1.5f, 0.0f);
  game.health = 1;
  runFrame();
  EXPECT_EQ(game.appState, AppState::Playing);
  EXPECT_EQ(attributeAt(scripted::console(), 5, 5), 0x3f) << "play runs in aqua and white";
  game.health = 0;
  runFrame();
  EXPECT_TRUE(game.playerDead);
  EXPECT_EQ(game.appState, AppState::Menu);
}

TEST(Present, WritesEveryRowThenPausesSixteenMs) {
  for (auto [width, height] : {std::pair{120, 40}, {1, 1}}) {
    freshProgram(width, height);
    game.screenRows[height - 1][width - 1] = 'Q';
    presentFrame();
    EXPECT_EQ(scripted::rowWrites(), height);
    EXPECT_EQ(scripted::pauses(), std::vector<int>{16});
    EXPECT_EQ(consoleRow(height - 1), game.screenRows[height - 1]);
  }
}

}  // namespace
