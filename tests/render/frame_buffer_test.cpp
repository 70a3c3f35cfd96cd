// Tests of the frame buffer's sizing and clearing. Depends on: render/frame_buffer.h,
// world/game_state.h.
#include "render/frame_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/game_state.h"

namespace {

void sizeScreen(int width, int height) {
  game.screenWidth = width;
  game.screenHeight = height;
  resizeScreen();
}

// Every cell gets a character naming its row and column, so cuts and moves show.
std::string patternRow(size_t y, size_t width) {
  std::string row(width, ' ');
  for (size_t x = 0; x < width; ++x) row[x] = static_cast<char>('A' + (y * 7 + x) % 26);
  return row;
}

void fillWithPattern() {
  for (size_t y = 0; y < game.screenRows.size(); ++y) {
    game.screenRows[y] = patternRow(y, game.screenRows[y].size());
  }
}

TEST(FrameBuffer, ResizeCutsPadsKeepsContentsAndClearBlanks) {
  game = GameState{};
  sizeScreen(120, 40);
  EXPECT_EQ(game.screenRows, std::vector<std::string>(40, std::string(120, ' ')));

  // 120 x 40 to 60 x 20: the first 20 rows stay, each cut to its first 60 characters.
  fillWithPattern();
  sizeScreen(60, 20);
  ASSERT_EQ(game.screenRows.size(), 20u);
  for (size_t y = 0; y < 20; ++y) EXPECT_EQ(game.screenRows[y], patternRow(y, 60)) << y;

  // 60 x 20 to 80 x 30: old rows padded with 20 spaces, 10 new rows of 80 spaces.
  sizeScreen(80, 30);
  ASSERT_EQ(game.screenRows.size(), 30u);
  for (size_t y = 0; y < 30; ++y) {
    EXPECT_EQ(game.screenRows[y],
              y < 20 ? patternRow(y, 60) + std::string(20, ' ') : std::string(80, ' '))
        << y;
  }

  // The same size again changes nothing.
  fillWithPattern();
  const std::vector<std::string> before = game.screenRows;
  sizeScreen(80, 30);
  EXPECT_EQ(game.screenRows, before);
  clearFrame();
  EXPECT_EQ(game.screenRows, std::vector<std::string>(30, std::string(80, ' ')));

  // Rows of uneven length are each brought to the width.
  game.screenRows = {"abc", "", "abcdefgh"};
  sizeScreen(5, 4);
  EXPECT_EQ(game.screenRows, (std::vector<std::string>{"abc  ", "     ", "abcde", "     "}));
}

}  // namespace
