// The layout file of a container panel: the reader behind OBJET::Load, the
// writer behind OBJET::Save (both in layout_file.cpp), and the field
// splitter of its THIS record.
//
// The file is whitespace-separated tokens, each under 800 characters. A
// record is a keyword and its fields:
//   THIS   COLOR=c;WIDTH=w;HEIGHT=h;ALPHA=a;   (one token, keys as substrings)
//   SPRITE name image mask(0: none) x y is_key key additive zoom angle alpha
//   BUTTON name off_image on_image touch_image(0: none) x y is_key key additive zoom angle
//   SLIDER name image x y is_key key additive zoom angle
//   LABEL  name caption('_' for blanks) x y font_number font_size colour
// Any other keyword is skipped on its own. Children are named with the
// container's rc_name, a '_' and the record's name; SPRITE positions are
// relative to the container, the others are taken as written.
#pragma once

#include <cstdio>
#include <string>

class OBJET;

namespace grains {

// Fields of a text between separators; the text is not copied.
class FIELD_SPLITTER {
 public:
  FIELD_SPLITTER(char separator, const char* text) : separator(separator), text(text) {}

  // The number of separators in the text.
  int count() const;
  // Field n from 0: the characters between the n-th separator (or the
  // start) and the next one (or the end); empty when it has none or does
  // not exist.
  std::string field(int n) const;

  char separator;
  const char* text;
};

// How reading a layout ended: the records read (an unknown keyword counts
// as one), and whether it stopped at a THIS record with an empty parameter.
struct LAYOUT_READING {
  int records = 0;
  bool empty_parameter = false;
};

// Reads layout records from file into container up to the end of the file
// or an empty THIS parameter. A record whose name or picture tokens (a
// label's caption) are missing or empty adds nothing and is reported. Numbers
// that do not scan take defaults: 0, zoom 1, sprite alpha 255. The reading
// goes on at the token that did not scan.
LAYOUT_READING read_layout(std::FILE* file, OBJET& container);
// Writes the container's THIS record and one record per child of its
// active list, first to last. Sprite coordinates are written so that
// reading them into a container at the same position puts each back.
void write_layout(std::FILE* file, const OBJET& container);

}  // namespace grains
