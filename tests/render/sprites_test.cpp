// Tests of the compiled-in images and the named weapon image table.
// Depends on: render/sprites.h.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/sprites.h"

namespace {

WeaponImage rowsOf(ImageRows rows, int count) {
  return WeaponImage(rows, rows + count);
}

// Row shapes and the number of "1" and "0" cells: a mistyped row changes a count.
TEST(SpriteImages, HaveTheListedShapesAndCountsAndSetUpIsRepeatable) {
  spriteTable.clear();
  setUpSprites();
  ASSERT_EQ(spriteTable.size(), 2u);
  const auto table = spriteTable;
  setUpSprites();
  EXPECT_EQ(spriteTable, table);

  const struct {
    const char* name;
    WeaponImage rows;
    size_t rowCount, rowLength;
    int filled, blank;
  } images[] = {
      {"enemyImage2", rowsOf(enemyImage2, 17), 17, 16, 113, 18},
      {"enemyImage4", rowsOf(enemyImage4, 13), 13, 16, 78, 87},
      {"objectImage", rowsOf(objectImage, 10), 10, 11, 23, 21},  // with its blank tenth row
      {"exitImage", rowsOf(exitImage, 5), 5, 26, 48, 82},
      {"GunSprite1", table.at("GunSprite1"), 8, 12, 44, 0},
      {"GunSprite2", table.at("GunSprite2"), 8, 12, 42, 0},
  };
  for (const auto& image : images) {
    SCOPED_TRACE(image.name);
    ASSERT_EQ(image.rows.size(), image.rowCount);
    int filled = 0, blank = 0;
    for (const std::string& row : image.rows) {
      EXPECT_EQ(row.size(), image.rowLength);
      for (char c : row) {
        filled += c == '1';
        blank += c == '0';
      }
    }
    EXPECT_EQ(filled, image.filled);
    EXPECT_EQ(blank, image.blank);
  }
  EXPECT_EQ(objectImage[9], std::string(11, ' '));
}

}  // namespace
