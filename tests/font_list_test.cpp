// The font list file grammar and the table's file handling, without GL:
// no font is built here.
#include "support/process.h"
#include "text/font_table.h"

#include <climits>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

using grains::FONT_LIST;
using grains::FONT_LIST_ENTRY;
using grains::FONT_LIST_PROBLEM;
using grains::read_font_list;

namespace {

class FontList : public testing::Test {
 protected:
  void SetUp() override { path = make_temp_dir() + "/fonts.txt"; }
  void TearDown() override { std::filesystem::remove_all(std::filesystem::path(path).parent_path()); }

  const char* write(const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path.c_str();
  }

  // The names the list file holding text yields, and the problem, if any.
  std::pair<std::string, FONT_LIST_PROBLEM> read(const std::string& text) {
    std::FILE* file = std::fopen(write(text), "rt");
    const FONT_LIST list = read_font_list(file);
    std::fclose(file);
    std::string names;
    for (const FONT_LIST_ENTRY& entry : list.entries) names += entry.name + "=" + entry.font_file + " ";
    return {names, list.problem};
  }

  std::string path;
};

// count entries as a file holds them, or with "=" and " " as read shows them.
std::string entries(int count, const char* between = " ", const char* after = "\n") {
  std::string text;
  for (int i = 0; i < count; ++i) text += "n" + std::to_string(i) + between + "f" + std::to_string(i) + after;
  return text;
}

}  // namespace

TEST_F(FontList, ReadsNamesAndFontFilesUpToTheEndMarker) {
  using P = FONT_LIST_PROBLEM;
  const std::string longest(59, 'x');
  const struct {
    std::string text, names;
    FONT_LIST_PROBLEM problem;
  } cases[] = {
      {"FONTS 2\nEND\n", "", P::none},
      {"a b\ntitle t.ttf\r\n\tsmall   s.ttf END t u", "title=t.ttf small=s.ttf ", P::none},
      {"END END one 1.ttf END", "one=1.ttf ", P::none},                       // header tokens are not names
      {"h h end END x x.ttf END", "end=END x=x.ttf ", P::none},               // only "END" ends the list
      {"h h #one 1.ttf two #2.ttf three 3.ttf END", "#one=1.ttf ", P::none},  // a '#' font file does
      {"h h " + longest + " " + longest + " END", longest + "=" + longest + " ", P::none},
      {"h h a a.ttf b " + longest + "y END", "a=a.ttf ", P::token_too_long},
      {longest + "y h END", "", P::token_too_long},
      {"h h\n" + entries(10) + "END", entries(10, "=", " "), P::none},
      {"h h\n" + entries(10) + "last #none", entries(10, "=", " "), P::none},
      {"h h\n" + entries(11) + "END", entries(10, "=", " "), P::too_many_fonts},
      {"", "", P::no_end_marker},
      {"h", "", P::no_end_marker},
      {"h h one", "", P::no_end_marker},
      {"h h one 1.ttf", "one=1.ttf ", P::no_end_marker},
      {"h h one 1.ttf two\n", "one=1.ttf ", P::no_end_marker},
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.text), std::make_pair(c.names, c.problem)) << c.text;
}

TEST_F(FontList, TheTableSaysWhyItStoppedReading) {
  testing::internal::CaptureStdout();
  FONT_TABLE table(write("h h"));
  table.load(write("FONTS 0 END"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Font list [" + path + "]: the file ends before its END; reading stopped there\n");
  EXPECT_EQ(table.count, 0);
}

TEST_F(FontList, AMissingFileEndsTheProcessWithItsMessage) {
  const std::string missing = path + ".missing";
  // The message goes to standard output; the death test watches standard error.
  EXPECT_EXIT(
      {
        dup2(2, 1);
        FONT_TABLE table(missing.c_str());
      },
      testing::ExitedWithCode(255), "^Impossible d'ouvrir \\[" + missing + "\\]\n$");
}

TEST(GlobalFontTable, StartsEmptyAndAnyNumberGivesAnUnbuiltFont) {
  EXPECT_EQ(font_table.count, 0);
  for (const int number : {0, 9, 10, -1, INT_MAX, INT_MIN}) {
    const FONT_DATA font = font_table.font(number);
    EXPECT_TRUE(font.height == 0 && font.textures == nullptr && font.list_base == 0) << number;
  }
}
