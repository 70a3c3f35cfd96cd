// Tests of the frame buffer's sizing and clearing and of its presentation on the scripted
// console. Depends on: render/frame_buffer.h, world/game_state.h, platform/scripted.h.
#include "render/frame_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/scripted.h"
#include "world/game_state.h"

namespace {

class FrameBuffer : public ::testing::Test {
 protected:
  void SetUp() override {
    game = GameState{};
    scripted::reset();
  }
  void TearDown() override { game = GameState{}; }
};

void sizeScreen(int width, int height) {
  game.screenWidth = width;
  game.screenHeight = height;
  resizeScreen();
}

// Every cell gets a character naming its row and column, so cuts and moves show.
void fillWithPattern() {
  for (size_t y = 0; y < game.screenRows.size(); ++y) {
    for (size_t x = 0; x < game.screenRows[y].size(); ++x) {
      game.screenRows[y][x] = static_cast<char>('A' + (y * 7 + x) % 26);
    }
  }
}

std::string patternRow(size_t y, size_t width) {
  std::string row(width, ' ');
  for (size_t x = 0; x < width; ++x) row[x] = static_cast<char>('A' + (y * 7 + x) % 26);
  return row;
}

TEST_F(FrameBuffer, ResizeCutsPadsAndKeepsContents) {
  EXPECT_TRUE(game.screenRows.empty());
  sizeScreen(120, 40);
  ASSERT_EQ(game.screenRows.size(), 40u);
  for (const std::string& row : game.screenRows) EXPECT_EQ(row, std::string(120, ' '));

  // 120 x 40 to 60 x 20: the first 20 rows stay, each cut to its first 60 characters.
  fillWithPattern();
  sizeScreen(60, 20);
  ASSERT_EQ(game.screenRows.size(), 20u);
  for (size_t y = 0; y < 20; ++y) EXPECT_EQ(game.screenRows[y], patternRow(y, 60)) << y;

  // 60 x 20 to 80 x 30: old rows padded with 20 spaces, 10 new rows of 80 spaces.
  sizeScreen(80, 30);
  ASSERT_EQ(game.screenRows.size(), 30u);
  for (size_t y = 0; y < 20; ++y) {
    EXPECT_EQ(game.screenRows[y], patternRow(y, 60) + std::string(20, ' ')) << y;
  }
  for (size_t y = 20; y < 30; ++y) EXPECT_EQ(game.screenRows[y], std::string(80, ' ')) << y;

  // The same size again changes nothing.
  fillWithPattern();
  const std::vector<std::string> before = game.screenRows;
  sizeScreen(80, 30);
  EXPECT_EQ(game.screenRows, before);

  // Rows of uneven length are each brought to the width.
  game.screenRows = {"abc", "", "abcdefgh"};
  sizeScreen(5, 4);
  EXPECT_EQ(game.screenRows, (std::vector<std::string>{"abc  ", "     ", "abcde", "     "}));
}

TEST_F(FrameBuffer, ClearBlanksEveryCell) {
  sizeScreen(33, 7);
  fillWithPattern();
  clearFrame();
  ASSERT_EQ(game.screenRows.size(), 7u);
  for (const std::string& row : game.screenRows) EXPECT_EQ(row, std::string(33, ' '));
}

TEST_F(FrameBuffer, PresentWritesEveryRowThenPauses) {
  scripted::reset(120, 40);
  sizeScreen(120, 40);
  fillWithPattern();
  game.screenRows[5][0] = kBlock;
  presentFrame();
  EXPECT_EQ(scripted::rowWrites(), 40);
  EXPECT_EQ(scripted::pauses(), std::vector<int>{16});
  for (int y = 0; y < 40; ++y) {
    EXPECT_EQ(std::string(rowText(scripted::console(), y)), game.screenRows[y]) << y;
  }
  EXPECT_EQ(charAt(scripted::console(), 0, 5), kBlock) << "bytes reach the console unchanged";

  // A frame narrower than the console leaves the rest of each console row alone.
  scripted::reset(10, 3);
  sizeScreen(4, 2);
  fillWithPattern();
  presentFrame();
  EXPECT_EQ(scripted::rowWrites(), 2);
  EXPECT_EQ(rowText(scripted::console(), 0), patternRow(0, 4) + std::string(6, ' '));
  EXPECT_EQ(rowText(scripted::console(), 1), patternRow(1, 4) + std::string(6, ' '));
  EXPECT_EQ(rowText(scripted::console(), 2), std::string(10, ' '));
}

TEST_F(FrameBuffer, OneByOneFrameIsOneWriteOfOneCharacter) {
  scripted::reset(120, 40);
  sizeScreen(1, 1);
  ASSERT_EQ(game.screenRows, std::vector<std::string>{" "});
  game.screenRows[0][0] = 'Q';
  presentFrame();
  EXPECT_EQ(scripted::rowWrites(), 1);
  EXPECT_EQ(charAt(scripted::console(), 0, 0), 'Q');
  EXPECT_EQ(charAt(scripted::console(), 1, 0), ' ');
  EXPECT_EQ(scripted::pauses(), std::vector<int>{16});
}

TEST_F(FrameBuffer, CursorControlsReachTheConsole) {
  EXPECT_TRUE(scripted::console().cursorVisible);
  hideConsoleCursor();
  EXPECT_FALSE(scripted::console().cursorVisible);

  platform::setConsoleCursor(17, 9);
  ASSERT_EQ(scripted::console().cursorX, 17);
  homeConsoleCursor();
  EXPECT_EQ(scripted::console().cursorX, 0);
  EXPECT_EQ(scripted::console().cursorY, 0);
  EXPECT_FALSE(scripted::console().cursorVisible) << "homing does not show the cursor again";
}

}  // namespace
