// The program's fonts, numbered 0 to 9, read from a font list file.
#pragma once

#include "text/font_data.h"

#include <cstdio>
#include <string>
#include <vector>

namespace grains {

// A font list file is whitespace-separated tokens: two header tokens,
// ignored, then entries of a name token and a font file token. The list
// ends at the name "END" (exact case) or at a font file token starting with
// '#', that entry not counting. The file holds at most font_list_capacity
// entries and tokens of at most font_list_token_length characters.
constexpr int font_list_capacity = 10;
constexpr std::size_t font_list_token_length = 59;

struct FONT_LIST_ENTRY {
  std::string name;
  std::string font_file;
};

// Why reading a font list stopped before its end marker.
enum class FONT_LIST_PROBLEM { none, token_too_long, too_many_fonts, no_end_marker };

struct FONT_LIST {
  std::vector<FONT_LIST_ENTRY> entries;  // in file order
  FONT_LIST_PROBLEM problem = FONT_LIST_PROBLEM::none;
};

// Reads the list from file. On a problem the entries before it are kept.
FONT_LIST read_font_list(std::FILE* file);
// The problem in a sentence, for the message that names the file.
const char* describe(FONT_LIST_PROBLEM problem);

}  // namespace grains

// Up to 10 fonts built at height 32, in the order a list file names them.
// The table owns the GL objects of its first count entries; entries count
// to 9 are unbuilt (all zero) and draw nothing.
class FONT_TABLE {
 public:
  FONT_TABLE() = default;
  // Loads the list file at path; see load.
  explicit FONT_TABLE(const char* path);
  // Releases the built fonts: destroy a table while its GL context exists.
  ~FONT_TABLE();
  FONT_TABLE(const FONT_TABLE&) = delete;
  FONT_TABLE& operator=(const FONT_TABLE&) = delete;

  // Releases the fonts built so far, then reads the list file at path and
  // builds its fonts. An unreadable file prints "Impossible d'ouvrir [path]"
  // and ends the process with status -1; a list that breaks the file's
  // limits prints why and keeps the fonts named before the fault. Throws
  // what FONT_DATA::build throws.
  void load(const char* path);
  // Builds font_file at height 32 as entry count. When the table is full it
  // prints a message and adds nothing. A font that fails to build is
  // released, its entry left unbuilt, and the error passed on.
  void add_font(const char* font_file);
  // Releases the built fonts in order and empties the table.
  void release_all();
  // A copy of entry number, sharing its GL objects; an unbuilt font for a
  // number outside 0 to 9.
  FONT_DATA font(int number) const;

  std::string names[grains::font_list_capacity];
  FONT_DATA fonts[grains::font_list_capacity];
  int count = 0;
};

// The engine's table, empty at start. It is never destroyed, since at
// process exit the GL context may already be gone: a program that fills it
// calls release_all while its window still exists, or lets the process end.
extern FONT_TABLE& font_table;
