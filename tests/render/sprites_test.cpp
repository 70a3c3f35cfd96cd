// Tests of the compiled-in images and the named weapon image table.
// Depends on: render/sprites.h.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "render/sprites.h"

namespace {

struct ImageShape {
  const char* name;
  ImageRows rows;
  int rowCount;
  size_t rowLength;
  int filled;  // '1' cells: a mistyped row changes the count
  int blank;   // '0' cells
};

int countOf(ImageRows rows, int rowCount, char mask) {
  int count = 0;
  for (int r = 0; r < rowCount; ++r) {
    for (const char* cell = rows[r]; *cell != '\0'; ++cell) count += *cell == mask;
  }
  return count;
}

TEST(SpriteImages, RowsHaveTheListedShapeAndContent) {
  const ImageShape shapes[] = {
      {"enemyImage2", enemyImage2, 17, 16, 113, 18},
      {"enemyImage4", enemyImage4, 13, 16, 78, 87},
      {"objectImage", objectImage, 9, 11, 23, 21},
      {"exitImage", exitImage, 5, 26, 48, 82},
  };
  for (const ImageShape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    for (int r = 0; r < shape.rowCount; ++r) EXPECT_EQ(std::strlen(shape.rows[r]), shape.rowLength);
    EXPECT_EQ(countOf(shape.rows, shape.rowCount, '1'), shape.filled);
    EXPECT_EQ(countOf(shape.rows, shape.rowCount, '0'), shape.blank);
  }
  EXPECT_STREQ(enemyImage2[0], "     111111     ");
  EXPECT_STREQ(enemyImage4[12], " 11111          ");
  EXPECT_STREQ(exitImage[4], "11111001000100111110000100");
}

TEST(SpriteImages, SecondTableHoldsItsImagesOneAfterAnother) {
  EXPECT_EQ(objectImage, enemyImage2 + 17);
  EXPECT_EQ(exitImage, objectImage + 10);
  EXPECT_STREQ(objectImage[9], "           ");
  // Declared 12 wide: the twelfth sampled column is each row's terminator, which is transparent.
  for (int r = 0; r < 9; ++r) EXPECT_EQ(objectImage[r][11], '\0');
}

TEST(SpriteTable, SetUpFillsTheTwoWeaponImagesAndIsRepeatable) {
  spriteTable.clear();
  setUpSprites();
  ASSERT_EQ(spriteTable.size(), 2u);
  const WeaponImage& atRest = spriteTable.at("GunSprite1");
  const WeaponImage& firing = spriteTable.at("GunSprite2");
  ASSERT_EQ(atRest.size(), 8u);
  ASSERT_EQ(firing.size(), 8u);
  for (int r = 0; r < 8; ++r) {
    EXPECT_EQ(atRest[r].size(), 12u);
    EXPECT_EQ(firing[r].size(), 12u);
  }
  EXPECT_EQ(atRest[7], "    11111111");
  EXPECT_EQ(firing[7], "  11111111  ");

  const auto before = spriteTable;
  setUpSprites();
  EXPECT_EQ(spriteTable, before);
}

}  // namespace
