// The images of every billboard and of the weapon, and the named weapon image table.
// Owns: the entity image rows, spriteImage, spriteTable, setUpSprites.
// Depends on: render/sprites.h, world/entity.h (Sprite).
#include "render/sprites.h"

#include <cstddef>
#include <iterator>

namespace {

// Each entity image is a run of consecutive rows, sampled only within its declared size, so the
// rows need no terminator of their own.
constexpr const char* kSecondRowTable[] = {
    // Sprite::Enemy2, 17 rows
    "     111111     ",
    "    10000001111 ",
    "   1101001011111",
    "   1100110011111",
    "  11110000111111",
    " 111  11111 1111",
    "111     11  111 ",
    " 1   111  11111 ",
    "    11111 11111 ",
    "    1111   111  ",
    "    111         ",
    "    111     11  ",
    "    111     11  ",
    "     1      111 ",
    "    11          ",
    "   1111         ",
    "  11111         ",
    // Sprite::Object, 9 sampled rows and a blank tenth that no declared size reaches
    "           ",
    "    111    ",
    "   10001   ",
    "  1001001  ",
    "  1011001  ",
    "  1001001  ",
    "  1001001  ",
    "   10001   ",
    "    111    ",
    "           ",
    // Sprite::Exit, 5 rows
    "11111001000100111110011111",
    "10000000101000001000000100",
    "11111000010000001000000100",
    "10000000101000001000000100",
    "11111001000100111110000100",
};

constexpr std::ptrdiff_t kObjectImageStart = 17;
constexpr std::ptrdiff_t kExitImageStart = kObjectImageStart + 10;
static_assert(std::size(kSecondRowTable) == kExitImageStart + 5);

const WeaponImage kGunAtRest = {
    "    11      ", "    11      ", "  111111    ", "  111111    ",
    "    11      ", "1111111111  ", "  11111111  ", "    11111111",
};

const WeaponImage kGunFiring = {
    "    11      ", "  111111    ", "    11      ", "  111111    ",
    "  111111    ", "    11      ", "1111111111  ", "  11111111  ",
};

// The first row table holds this one image alone.
const char* const kEnemyImage4[] = {
    "  11111111111   ", " 1000000000001  ", " 1000000000001  ", "101110111100001 ",
    "1001100011000001", " 100001000000001", " 100110001110001", " 11111111010001 ",
    " 1010101010001  ", "1011111110001   ", "100000000011    ", "1000001111      ",
    " 11111          ",
};

}  // namespace

SpriteImage spriteImage(Sprite sprite) {
  switch (sprite) {
    case Sprite::Enemy2:
      return {kSecondRowTable, 16, 17};
    case Sprite::Enemy4:
      return {kEnemyImage4, 16, 13};
    case Sprite::Object:
      // Declared one column wider than the rows: the last sampled column is transparent.
      return {kSecondRowTable + kObjectImageStart, 12, 9};
    case Sprite::Exit:
      return {kSecondRowTable + kExitImageStart, 26, 5};
    default:
      return {nullptr, 0, 0};
  }
}

std::map<std::string, WeaponImage> spriteTable;

void setUpSprites() {
  spriteTable["GunSprite1"] = kGunAtRest;
  spriteTable["GunSprite2"] = kGunFiring;
}
