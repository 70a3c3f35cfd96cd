// How the console's single-byte characters look on a UTF-8 terminal: code page 437 glyphs.
// Owns: the byte-to-UTF-8 table. Depends on: nothing. Pure.
#pragma once

#include <string_view>

namespace term {

// The UTF-8 text of the glyph the console shows for this byte (0xDB is "█"). Control bytes
// show as their code page glyphs too, so nothing written to a cell ever acts on the terminal.
std::string_view glyphFor(unsigned char byte);

}  // namespace term
