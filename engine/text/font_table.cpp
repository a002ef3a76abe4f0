#include "text/font_table.h"

#include <cctype>
#include <cstdlib>

namespace {

constexpr unsigned int table_font_height = 32;

}  // namespace

namespace grains {

namespace {

enum class TokenStatus { read, end_of_file, too_long };

// Reads the next maximal run of non-whitespace characters, as "%s" does.
TokenStatus read_token(std::FILE* file, std::string& token) {
  token.clear();
  int c = std::getc(file);
  while (c != EOF && std::isspace(c)) c = std::getc(file);
  for (; c != EOF && !std::isspace(c); c = std::getc(file)) {
    if (token.size() == font_list_token_length) return TokenStatus::too_long;
    token.push_back(static_cast<char>(c));
  }
  return token.empty() ? TokenStatus::end_of_file : TokenStatus::read;
}

FONT_LIST_PROBLEM problem_of(TokenStatus status) {
  return status == TokenStatus::too_long ? FONT_LIST_PROBLEM::token_too_long : FONT_LIST_PROBLEM::no_end_marker;
}

}  // namespace

FONT_LIST read_font_list(std::FILE* file) {
  FONT_LIST list;
  std::string header, name, font_file;
  for (int i = 0; i < 2; ++i) {
    const TokenStatus status = read_token(file, header);
    if (status != TokenStatus::read) {
      list.problem = problem_of(status);
      return list;
    }
  }
  for (;;) {
    TokenStatus status = read_token(file, name);
    if (status == TokenStatus::read && name == "END") return list;
    if (status == TokenStatus::read) status = read_token(file, font_file);
    if (status != TokenStatus::read) {
      list.problem = problem_of(status);
      return list;
    }
    if (font_file[0] == '#') return list;
    if (list.entries.size() == static_cast<std::size_t>(font_list_capacity)) {
      list.problem = FONT_LIST_PROBLEM::too_many_fonts;
      return list;
    }
    list.entries.push_back({name, font_file});
  }
}

const char* describe(FONT_LIST_PROBLEM problem) {
  switch (problem) {
    case FONT_LIST_PROBLEM::none: return "no problem";
    case FONT_LIST_PROBLEM::token_too_long: return "a token is longer than 59 characters; reading stopped there";
    case FONT_LIST_PROBLEM::too_many_fonts: return "more than 10 fonts; only the first 10 are read";
    case FONT_LIST_PROBLEM::no_end_marker: return "the file ends before its END; reading stopped there";
  }
  return "unknown problem";
}

}  // namespace grains

using grains::describe;
using grains::FONT_LIST;
using grains::font_list_capacity;
using grains::FONT_LIST_ENTRY;
using grains::FONT_LIST_PROBLEM;
using grains::read_font_list;

FONT_TABLE::FONT_TABLE(const char* path) { load(path); }

FONT_TABLE::~FONT_TABLE() { release_all(); }

void FONT_TABLE::load(const char* path) {
  release_all();
  std::FILE* file = std::fopen(path, "rt");
  if (file == nullptr) {
    std::printf("Impossible d'ouvrir [%s]\n", path);
    std::exit(-1);
  }
  const FONT_LIST list = read_font_list(file);
  std::fclose(file);
  if (list.problem != FONT_LIST_PROBLEM::none) std::printf("Font list [%s]: %s\n", path, describe(list.problem));
  for (const FONT_LIST_ENTRY& entry : list.entries) {
    names[count] = entry.name;
    add_font(entry.font_file.c_str());
  }
}

void FONT_TABLE::add_font(const char* font_file) {
  if (count == font_list_capacity) {
    std::printf("Font table full: [%s] not added\n", font_file);
    return;
  }
  try {
    fonts[count].build(font_file, table_font_height);
  } catch (...) {
    fonts[count].release();
    fonts[count] = FONT_DATA{};
    throw;
  }
  ++count;
}

void FONT_TABLE::release_all() {
  for (int i = 0; i < count; ++i) {
    fonts[i].release();
    fonts[i] = FONT_DATA{};
  }
  count = 0;
}

FONT_DATA FONT_TABLE::font(int number) const {
  if (number < 0 || number >= font_list_capacity) return FONT_DATA{};
  return fonts[number];
}

FONT_TABLE& font_table = *new FONT_TABLE();
