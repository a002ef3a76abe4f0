// The reader of the image catalogue: turns the catalogue's tokens into
// records. It only reads text; loading, cutting and uploading the pictures
// is the image bank's work.
//
// Grammar (tokens are separated by any white space; lines mean nothing):
//   HEADER HEADER { NAME PATH KIND [W H ROWS COLUMNS GAP_X GAP_Y] } "END"
// KIND "SIMPLEPART" is a single picture; any other KIND is a sheet followed
// by its six integers. The catalogue also ends at a PATH beginning with
// '#' and at the end of the file.
#pragma once

#include <cstdio>

namespace grains {

// A token holds at most 459 characters; longer ones are cut to that.
constexpr int CATALOGUE_TOKEN_SIZE = 460;

// How a sheet is cut: cells of cell_width x cell_height, rows x columns of
// them, gap_x pixels between columns and gap_y between rows.
struct SHEET_LAYOUT {
  int cell_width = 0;
  int cell_height = 0;
  int rows = 0;
  int columns = 0;
  int gap_x = 0;
  int gap_y = 0;
};

struct CATALOGUE_RECORD {
  char name[CATALOGUE_TOKEN_SIZE] = "";
  char path[CATALOGUE_TOKEN_SIZE] = "";
  bool is_sheet = false;
  SHEET_LAYOUT sheet;  // read for a sheet only
  // Why the record cannot be used (then it is skipped), or null.
  const char* fault = nullptr;
};

class CATALOGUE_READER {
 public:
  // Reads the two header tokens and the first record's name from file,
  // which stays the caller's to close.
  explicit CATALOGUE_READER(std::FILE* file);

  // Reads the next record into record. False when the catalogue has ended:
  // at "END", at a path beginning with '#', or where the file ends before
  // the record is complete.
  bool next(CATALOGUE_RECORD& record);

 private:
  enum class Token { missing, whole, cut };
  Token read_token(char (&token)[CATALOGUE_TOKEN_SIZE]);
  bool read_sheet_layout(CATALOGUE_RECORD& record);
  bool read_number(int& value, bool& is_number);

  std::FILE* file_;
  char name_[CATALOGUE_TOKEN_SIZE] = "";
  bool ended_ = false;
};

}  // namespace grains
