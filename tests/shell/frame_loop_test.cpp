// One frame of play through the scripted backend: movement over the cell codes, the end screens
// and the presenting of the frame (the golden runs hold walking, running, strafing, mouse look,
// sliding, enemies and firing).
#include <gtest/gtest.h>

#include <utility>

#include "platform/platform.h"
#include "shell/frame_loop.h"
#include "shell/present.h"
#include "shell_fixture.h"

namespace {

using platform::kVkShift;

const Level kRoom =
    makeLevel({"11111111", "1      1", "1  2 4 1", "1    1 1", "1  5   1", "11111111"});

void playIn(float x, float y) {
  freshProgram();
  game.currentLevel = &kRoom;
  game.playerX = x;
  game.playerY = y;
  game.viewAngle = 0.0f;
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
      {2.5f, 1.5f, {'W', 'S'}, 0, 2.5f, 1.5f, "opposite keys cancel"},
      {2.5f, 2.5f, {'W', kVkShift}, 0, 3.0f, 2.5f, "a '2' cell is floor"},
      {4.5f, 2.5f, {'W', kVkShift}, 0, 5.0f, 2.5f, "a '4' cell is floor"},
      {6.5f, 1.5f, {'W', kVkShift}, 0, 6.5f, 1.5f, "walls block"},
      {2.5f, 4.5f, {'W', kVkShift}, 0, 2.5f, 4.5f, "the exit is a wall below the kill target"},
      {2.5f, 4.5f, {'W', kVkShift}, 1, 3.0f, 4.5f, "the open exit"},
  };
  for (const auto& c : cases) {
    playIn(c.x, c.y);
    game.kills = c.kills;
    frameWith(c.keys);
    EXPECT_FLOAT_EQ(game.playerX, c.endX) << c.why;
    EXPECT_FLOAT_EQ(game.playerY, c.endY) << c.why;
    EXPECT_EQ(game.appState, c.kills ? AppState::Menu : AppState::Playing) << c.why;
  }
}

// A whole turn of the mouse (3600 pixels from 960) brings the heading back to 0, not 360; the
// pointer is moved back from within 10 pixels of either edge of the 1920-pixel monitor.
TEST(Movement, AWholeTurnIsHeadingZeroAndThePointerWrapsNearAnEdge) {
  for (auto [x, keptX] : {std::pair{4560, 11}, {10, 1909}, {11, 11}, {1909, 1909}, {1910, 11}}) {
    playIn(2.5f, 1.5f);
    scripted::setCursor(x, 540);
    runFrame();
    EXPECT_EQ(platform::pointerPosition().x, keptX) << x;
    EXPECT_TRUE(x <= 1920 || game.viewAngle == 0.0f) << game.viewAngle;
  }
}

TEST(EndScreens, DeathAndVictoryInOneFrameShowBothMessagesThenTheFrame) {
  playIn(2.5f, 4.5f);
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
