// docs/api.md, as installed with the engine, names every public
// declaration of the installed headers, the public ones; and the reader of
// declarations behind that check, on the forms the headers use.
#include "support/api_index.h"

#include "support/process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> named(const std::vector<Declaration>& declarations) {
  std::vector<std::string> names;
  for (const Declaration& declaration : declarations)
    names.push_back(declaration.scope.empty() ? declaration.name : declaration.scope + "::" + declaration.name);
  return names;
}

constexpr const char* HEADER = R"(// A comment naming not_a_declaration(int);
#pragma once
#include <vector>
#define NOT_ONE_EITHER 1

constexpr int LIMIT = 10;  // trailing: ignored(x);
extern int* counter;
using LIST = std::vector<std::vector<int>>;
struct Forward;
template <typename T>
void copy_into(char (&field)[8], const T& text) { field[0] = text[0]; }
inline int twice(int x) { return 2 * x; }
void format(const char* format, ...) __attribute__((format(printf, 1, 2)));
enum class KIND { first, second = 2 };

/* A block comment:
   struct Hidden { int no; }; */
class THING : public Forward, public Other {
 public:
  static constexpr int SIZE = 4;
  THING(int a, int b) : a(a), b(b) {}
  THING(const THING&) = delete;
  THING& operator=(const THING&) = delete;
  virtual ~THING() = default;
  virtual int Update() { return 0; }
  int size() const;
  int a, b, c = 0, d[SIZE] = {1, 2};
  char name[80] = "";
  std::vector<std::pair<int, int>> pairs, more_pairs;
  int (*clock)() = nullptr;
  struct Ends {
    int x1, y1;
  };
  Ends ends{};

 protected:
  void hidden_protected();

 private:
  struct Inner {
    int no;
  };
  enum class State { on, off };
  int hidden_field;
};
)";

}  // namespace

TEST(ApiIndexReader, FindsThePublicDeclarationsOfEachForm) {
  const std::vector<std::string> expected{"LIMIT",
                                          "counter",
                                          "LIST",
                                          "copy_into",
                                          "twice",
                                          "format",
                                          "KIND",
                                          "first",
                                          "second",
                                          "THING",
                                          "THING::SIZE",
                                          "THING::Update",
                                          "THING::size",
                                          "THING::a",
                                          "THING::b",
                                          "THING::c",
                                          "THING::d",
                                          "THING::name",
                                          "THING::pairs",
                                          "THING::more_pairs",
                                          "THING::clock",
                                          "THING::Ends",
                                          "THING::Ends::x1",
                                          "THING::Ends::y1",
                                          "THING::ends"};
  EXPECT_EQ(named(public_declarations(HEADER)), expected);
}

TEST(ApiIndexReader, AMemberMustBeNamedInItsClassSection) {
  const std::vector<Declaration> declarations = public_declarations(HEADER);
  std::string index =
      "# Index\n`LIMIT`, `counter`, `LIST`, `copy_into(field, text)`, `twice`, `format`, `KIND`: `first`, `second`\n"
      "## `THING`: a thing\n- `SIZE`, `Update()`, `size()`, `a`, `b`, `c`, `d`, `name`, `pairs`, `more_pairs`\n"
      "- `clock`, `Ends` (`x1`, `y1`), `ends`\n## Other\n";
  EXPECT_EQ(missing_from_index(declarations, index), std::vector<std::string>{});

  const std::string without_size = std::string(index).replace(index.find("`size()`, "), 10, "");
  EXPECT_EQ(missing_from_index(declarations, without_size), std::vector<std::string>{"THING::size"});
  // A name in another section, in plain text or inside a longer word does not count.
  const std::string elsewhere = std::string(without_size) + "`size()` and size, `sizes`\n";
  EXPECT_EQ(missing_from_index(declarations, elsewhere), std::vector<std::string>{"THING::size"});
  const std::string without_twice = std::string(index).replace(index.find("`twice`"), 7, "twice");
  EXPECT_EQ(missing_from_index(declarations, without_twice), std::vector<std::string>{"twice"});
}

// The headers and the page come from an install of the engine alone: the
// public headers only, the internal ones staying out of the install. The
// page names no other header.
TEST(ApiIndex, NamesEveryPublicDeclarationOfTheInstalledHeadersAndNoOtherHeader) {
  const std::string prefix = make_temp_dir();
  const ProcessResult installed =
      run_process({CMAKE_COMMAND, "--install", BUILD_DIR, "--component", "engine", "--prefix", prefix});
  ASSERT_EQ(installed.exit_status, 0) << installed.out << installed.err;
  std::vector<Declaration> declarations;
  int headers = 0;
  for (const auto& entry : fs::recursive_directory_iterator(prefix + "/" INCLUDE_DIR "/grains"))
    if (entry.path().extension() == ".h") {
      ++headers;
      for (const Declaration& declaration : public_declarations(read_file(entry.path().string())))
        declarations.push_back(declaration);
    }
  EXPECT_GT(headers, 10);
  EXPECT_GT(declarations.size(), 200u) << "the reader finds the headers' declarations";
  const std::string index = read_file(prefix + "/" DATA_ROOT_DIR "/doc/grains-engine/api.md");
  EXPECT_EQ(missing_from_index(declarations, index), std::vector<std::string>{});
  const std::regex header_span("`\"?([a-z_]+/[a-z_]+\\.h)\"?`");
  int headers_named = 0;
  for (std::sregex_iterator span(index.begin(), index.end(), header_span), end; span != end; ++span, ++headers_named)
    EXPECT_TRUE(fs::is_regular_file(prefix + "/" INCLUDE_DIR "/grains/" + (*span)[1].str()) ||
                fs::is_regular_file(prefix + "/" INCLUDE_DIR "/" + (*span)[1].str()))
        << (*span)[1] << " is not installed";
  EXPECT_GT(headers_named, 10);
  fs::remove_all(prefix);
}
