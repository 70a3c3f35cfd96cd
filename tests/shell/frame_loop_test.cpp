// One frame of play through the scripted backend: movement rules, mouse look, firing rhythm,
// end screens and the presenting of the frame.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "shell/frame_loop.h"
#include "shell/present.h"
#include "shell_fixture.h"

namespace {

using platform::kVkShift;

const Level kRoom = makeLevel({
    "11111111",
    "1      1",
    "1  2 4 1",
    "1    1 1",
    "1  5   1",
    "11111111",
});

void playIn(float x, float y, float heading, const Level& level = kRoom) {
  freshProgram();
  game.currentLevel = &level;
  game.playerX = x;
  game.playerY = y;
  game.viewAngle = heading;
  game.killTarget = 1;
  game.appState = AppState::Playing;
}

void frameWith(std::initializer_list<int> keys) {
  for (int key : keys) scripted::setKeyHeld(key, true);
  runFrame();
  for (int key : keys) scripted::setKeyHeld(key, false);
}

TEST(Movement, KeysSpeedsCellsAndTheExit) {
  const struct {
    float x, y;
    std::initializer_list<int> keys;
    int kills;
    float endX, endY;
    const char* why;
  } cases[] = {
      {1.5f, 1.5f, {'W'}, 0, 1.75f, 1.5f, "walk"},
      {1.5f, 1.5f, {'W', kVkShift}, 0, 2.0f, 1.5f, "run"},
      {2.5f, 1.5f, {'S'}, 0, 2.25f, 1.5f, "back"},
      {2.5f, 1.5f, {'D'}, 0, 2.5f, 1.75f, "a step right"},
      {2.5f, 1.5f, {'A'}, 0, 2.5f, 1.25f, "a step left"},
      {2.5f, 1.5f, {'W', 'D'}, 0, 2.75f, 1.75f, "forward and right at once"},
      {2.5f, 1.5f, {'W', 'S'}, 0, 2.5f, 1.5f, "opposite keys cancel"},
      {2.5f, 2.5f, {'W', kVkShift}, 0, 3.0f, 2.5f, "a '2' cell is floor"},
      {4.5f, 2.5f, {'W', kVkShift}, 0, 5.0f, 2.5f, "a '4' cell is floor"},
      {6.5f, 1.5f, {'W', kVkShift}, 0, 6.5f, 1.5f, "walls block"},
      {2.5f, 4.5f, {'W', kVkShift}, 0, 2.5f, 4.5f, "the exit is a wall below the kill target"},
      {2.5f, 4.5f, {'W', kVkShift}, 1, 3.0f, 4.5f, "the open exit"},
  };
  for (const auto& c : cases) {
    playIn(c.x, c.y, 0.0f);
    game.kills = c.kills;
    frameWith(c.keys);
    EXPECT_FLOAT_EQ(game.playerX, c.endX) << c.why;
    EXPECT_FLOAT_EQ(game.playerY, c.endY) << c.why;
    EXPECT_EQ(game.appState, c.kills ? AppState::Menu : AppState::Playing) << c.why;
  }
}

TEST(Movement, SlidesAlongWallsTryingXFirstAndEnemiesBlockWithinPointSeven) {
  // Heading 45 degrees from (1.9, 1.9): x moves into (2, 1), then y from there is refused.
  const Level corner = makeLevel({"1111", "1  1", "1 11", "1111"});
  playIn(1.9f, 1.9f, 45.0f, corner);
  frameWith({'W'});
  EXPECT_GT(game.playerX, 2.0f);
  EXPECT_FLOAT_EQ(game.playerY, 1.9f);

  for (const EntityKind kind : {EntityKind::Enemy, EntityKind::Prop}) {
    playIn(3.0f, 1.5f, 0.0f);
    Entity other;
    other.kind = kind;
    other.x = 3.0f;
    other.y = 2.15f;  // 0.65 below the player; a state of none of the three keeps it there
    other.state = static_cast<EnemyState>(7);
    game.entities.push_back(other);
    frameWith({'W'});
    EXPECT_FLOAT_EQ(game.playerX, kind == EntityKind::Enemy ? 3.0f : 3.25f);
  }
  frameWith({'W', kVkShift});  // a longer step ends 0.7 or more away from the enemy
  EXPECT_FLOAT_EQ(game.playerX, 3.75f);
}

TEST(MouseLook, TurnsByTenthDegreePerPixelAndWrapsAtTheMonitorEdges) {
  playIn(1.5f, 1.5f, 0.0f);
  scripted::setCursor(980, 700);  // vertical movement turns nothing
  runFrame();
  EXPECT_FLOAT_EQ(game.viewAngle, 2.0f);
  scripted::setCursor(959, 700);
  runFrame();
  EXPECT_NEAR(game.viewAngle, 359.9f, 1e-3f) << "normalised once it went below 0";

  scripted::setCursor(10, 700);
  runFrame();
  EXPECT_EQ(platform::pointerPosition().x, 1909);
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
  playIn(1.5f, 1.5f, 0.0f);
  std::string weapon;
  for (int frame = 0; frame < 11; ++frame) {
    frameWith({platform::kVkSpace});
    weapon += std::to_string(game.weaponFrame);
  }
  EXPECT_EQ(weapon, "22221222212");
}

TEST(EndScreens, DeathAndVictoryInOneFrameShowBothMessagesThenTheFrame) {
  playIn(2.5f, 4.5f, 0.0f);
  runFrame();
  EXPECT_EQ(attributeAt(scripted::console(), 5, 5), 0x3f) << "play runs in aqua and white";
  game.kills = 1;
  game.health = 0;
  std::vector<std::string> shown;
  scripted::onSleep([&shown](int ms) {
    if (ms == 5000) shown.push_back(consoleRow(0).substr(0, 14));
  });
  frameWith({'W', kVkShift});
  EXPECT_EQ(shown, (std::vector<std::string>{"Demo Completed", "Game Over     "}));
  EXPECT_TRUE(game.playerDead);
  EXPECT_EQ(game.appState, AppState::Menu);
  EXPECT_EQ(game.kills, 0);
  // The frame is still presented afterwards, in the colours the end screen set.
  EXPECT_NE(consoleRow(0).substr(0, 9), "Game Over");
  EXPECT_EQ(attributeAt(scripted::console(), 0, 0), 0x0f);
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
