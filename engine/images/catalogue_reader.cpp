#include "images/catalogue_reader.h"

#include <climits>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace grains {

CATALOGUE_READER::CATALOGUE_READER(std::FILE* file) : file_(file) {
  char header[CATALOGUE_TOKEN_SIZE];
  ended_ = read_token(header) == Token::missing || read_token(header) == Token::missing ||
           read_token(name_) == Token::missing;
}

bool CATALOGUE_READER::next(CATALOGUE_RECORD& record) {
  if (ended_ || std::strcmp(name_, "END") == 0) return false;
  record = CATALOGUE_RECORD();
  std::memcpy(record.name, name_, sizeof name_);

  const Token path = read_token(record.path);
  char kind[CATALOGUE_TOKEN_SIZE];
  ended_ = path == Token::missing || record.path[0] == '#' || read_token(kind) == Token::missing;
  if (ended_) return false;
  if (path == Token::cut) record.fault = "its path is longer than 459 characters";

  record.is_sheet = std::strcmp(kind, "SIMPLEPART") != 0;
  ended_ = record.is_sheet && !read_sheet_layout(record);
  if (ended_) return false;

  ended_ = read_token(name_) == Token::missing;
  return true;
}

// "%459s" never stores more than the buffer holds; what is left of a longer
// token is skipped so that the next read starts at the next token.
CATALOGUE_READER::Token CATALOGUE_READER::read_token(char (&token)[CATALOGUE_TOKEN_SIZE]) {
  static_assert(CATALOGUE_TOKEN_SIZE == 460, "the scan width is the token size less one");
  if (std::fscanf(file_, "%459s", token) != 1) return Token::missing;
  int next = std::fgetc(file_);
  if (next == EOF || std::isspace(next)) return Token::whole;
  while (next != EOF && !std::isspace(next)) next = std::fgetc(file_);
  return Token::cut;
}

// False when the file ends before the six numbers are read.
bool CATALOGUE_READER::read_sheet_layout(CATALOGUE_RECORD& record) {
  SHEET_LAYOUT& s = record.sheet;
  bool all_numbers = true;
  for (int* value : {&s.cell_width, &s.cell_height, &s.rows, &s.columns, &s.gap_x, &s.gap_y}) {
    bool is_number = false;
    if (!read_number(*value, is_number)) return false;
    all_numbers = all_numbers && is_number;
  }
  if (!all_numbers && record.fault == nullptr) record.fault = "its sheet numbers are not all whole numbers";
  return true;
}

// Reads one token as a decimal int; is_number tells whether it was one.
bool CATALOGUE_READER::read_number(int& value, bool& is_number) {
  char token[CATALOGUE_TOKEN_SIZE];
  const Token read = read_token(token);
  if (read == Token::missing) return false;
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(token, &end, 10);
  is_number =
      read == Token::whole && end != token && *end == '\0' && errno == 0 && number >= INT_MIN && number <= INT_MAX;
  value = is_number ? static_cast<int>(number) : 0;
  return true;
}

}  // namespace grains
