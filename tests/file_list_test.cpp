// Listing a real folder tree and stepping through it.
#include "files/file_list.h"

#include "support/process.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class FileList : public testing::Test {
 protected:
  void SetUp() override {
    root_ = make_temp_dir();
    pictures_ = root_ + "/pictures";
    for (const char* name : {"b.bmp", "A.BMP", "c.png", "notes.txt", "sub/d.bmp", "sub/deeper/e.bmp",
                             "sub 2/with blank.bmp", "bmp", "zz/nobmp"})
      touch(pictures_ + "/" + name);
  }
  void TearDown() override { fs::remove_all(root_); }

  static void touch(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "x";
  }
  std::vector<std::string> listed(const std::string& extension) {
    std::vector<std::string> names;
    for (const std::string& path : list_files(pictures_, extension)) names.push_back(path.substr(pictures_.size() + 1));
    return names;
  }

  std::string root_, pictures_;
};

}  // namespace

TEST_F(FileList, ListsMatchingFilesBelowTheFolderInReverseOrder) {
  // Listed folder by folder, files by name before subfolders; read back reversed.
  EXPECT_EQ(listed("bmp"),
            (std::vector<std::string>{"sub 2/with blank.bmp", "sub/deeper/e.bmp", "sub/d.bmp", "b.bmp", "A.BMP"}));
  // The listing lies beside the folder, every path twice.
  std::ifstream listing(root_ + "/listing.v");
  std::string first, second;
  std::getline(listing, first);
  std::getline(listing, second);
  EXPECT_EQ(first, pictures_ + "/A.BMP");
  EXPECT_EQ(second, first);
  EXPECT_EQ(listed("png"), std::vector<std::string>{"c.png"});
  EXPECT_TRUE(listed("gif").empty());
}

TEST_F(FileList, StepsForwardAndBackAroundTheEnds) {
  // The list: with blank, e, d, b, A.
  char result[256] = "unchanged";
  testing::internal::CaptureStdout();
  next_file_name("elsewhere/D.bmp", pictures_, "bmp", result, sizeof result);
  EXPECT_EQ(fs::path(result).filename(), "b.bmp");
  next_file_name("a.bmp", pictures_, "bmp", result, sizeof result);
  EXPECT_EQ(fs::path(result).filename(), "A.BMP") << "the last stays the last";
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(printed.rfind("OK-Suivant [5]\nretour recupere_nom_fichier_suivant[[" + pictures_ + "/b.bmp]]\n", 0), 0u)
      << printed;

  previous_file_name("B.bmp", pictures_, "bmp", result, sizeof result);
  EXPECT_EQ(fs::path(result).filename(), "d.bmp");
  previous_file_name("WITH blank.bmp", pictures_, "bmp", result, sizeof result);
  EXPECT_EQ(fs::path(result).filename(), "with blank.bmp") << "the first stays the first";
  previous_file_name("", pictures_, "bmp", result, sizeof result);
  EXPECT_EQ(fs::path(result).filename(), "A.BMP");
  next_file_name("", pictures_, "bmp", result, sizeof result);
  EXPECT_EQ(fs::path(result).filename(), "with blank.bmp");
}

TEST_F(FileList, LeavesTheResultAloneWithoutAMatchAndBoundsIt) {
  char result[16] = "unchanged";
  next_file_name("missing.bmp", pictures_, "bmp", result, sizeof result);
  EXPECT_STREQ(result, "unchanged");
  previous_file_name("", pictures_, "gif", result, sizeof result);
  EXPECT_STREQ(result, "unchanged") << "an empty list";
  char small[8] = "";
  next_file_name("", pictures_, "bmp", small, sizeof small);
  EXPECT_EQ(std::string(small), pictures_.substr(0, 7));
}

TEST_F(FileList, FolderNamesAreListedNeverRun) {
  const std::string odd = root_ + "/x; touch hacked & echo $(touch hacked2) `touch hacked3`";
  touch(odd + "/p.bmp");
  ASSERT_EQ(chdir(root_.c_str()), 0);
  const auto list = list_files(odd, "bmp");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], odd + "/p.bmp");
  for (const char* name : {"hacked", "hacked2", "hacked3"}) EXPECT_FALSE(fs::exists(root_ + "/" + name)) << name;
}

TEST_F(FileList, UnwritableListingEndsTheProcess) {
  fs::create_directory(root_ + "/listing.v");  // a folder where the file should go
  EXPECT_EXIT(
      {
        dup2(2, 1);
        list_files(pictures_, "bmp");
      },
      testing::ExitedWithCode(255), "^Oula \n$");
}

TEST(FileNamePart, TakesTheTextAfterTheLastSeparator) {
  EXPECT_STREQ(file_name_part("a/b\\c.bmp"), "c.bmp");
  EXPECT_STREQ(file_name_part("line\nname"), "name");
  EXPECT_STREQ(file_name_part("plain.bmp"), "plain.bmp");
  EXPECT_STREQ(file_name_part("/root.bmp"), "/root.bmp") << "the first character is not looked at";
  EXPECT_STREQ(file_name_part("dir/"), "");
  EXPECT_STREQ(file_name_part(""), "");
}
