// Layout files read into containers and written back, on real files.
#include "scene/layout_file.h"

#include "scene/objet.h"
#include "scene/widgets.h"
#include "support/catalogue_window.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <typeinfo>

using grains::CHILD_LIST;
using grains::FIELD_SPLITTER;

namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> names_of(const CHILD_LIST& children) {
  std::vector<std::string> names;
  for (const auto& child : children) names.emplace_back(child->name);
  return names;
}

// A child's position and the numbers of its look, compared in one go.
std::tuple<float, float, int, float, int, int> placing(const SPRITE& child) {
  return {child.x, child.y, child.is_key, child.zoom, child.angle, child.alpha};
}

class LayoutFile : public CatalogueWindow {
 protected:
  void SetUp() override {
    CatalogueWindow::SetUp();
    dir_ = make_temp_dir();
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    CatalogueWindow::TearDown();
  }

  std::string write(const std::string& text, const std::string& name = "layout.txt") const {
    const std::string path = dir_ + "/" + name;
    std::ofstream(path) << text;
    return path;
  }
  // Loads text into container and returns what it printed.
  std::string load(OBJET& container, const std::string& text) const {
    testing::internal::CaptureStdout();
    EXPECT_EQ(container.Load(write(text).c_str()), 1);
    return testing::internal::GetCapturedStdout();
  }

  std::string dir_;
};

}  // namespace

TEST(FieldSplitter, CountsSeparatorsAndCutsFieldsBetweenThem) {
  const FIELD_SPLITTER pairs(';', "A=1;;B=2");
  EXPECT_EQ(pairs.count(), 2);
  EXPECT_EQ(pairs.field(0), "A=1");
  EXPECT_EQ(pairs.field(1), "") << "empty";
  EXPECT_EQ(pairs.field(2), "B=2");
  EXPECT_EQ(pairs.field(3), "") << "missing";
  EXPECT_EQ(FIELD_SPLITTER(';', "").count(), 0);
}

TEST(LayoutFileDeathTest, AnEmptyParameterEndsTheProcessWithTheRecordNumber) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string path = make_temp_dir() + "/empty_pair.txt";
  std::ofstream(path) << "NOTE\nTHIS\nCOLOR=1;;WIDTH=2;\n";
  EXPECT_EXIT(
      {
        dup2(2, 1);
        OBJET container(0, 0, "1");
        container.Load(path.c_str());
      },
      testing::ExitedWithCode(255), "Erreur, au niveau des parametre ligne \\[1\\]");
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

TEST_F(LayoutFile, ThisRecordSetsColourSizeAndOpacityFromCompletePairs) {
  OBJET full(0, 0, "1");
  load(full, "THIS\r\nCOLOR=255;WIDTH=100;HEIGHT=50;ALPHA=128;\r\n");
  EXPECT_EQ(full.colour, 255u);
  EXPECT_EQ(full.back_w, 100.0f);
  EXPECT_EQ(full.w, 100.0f);
  EXPECT_EQ(full.back_h, 50.0f);
  EXPECT_EQ(full.alpha, 128);

  OBJET unended(0, 0, "1");
  load(unended, "THIS COLOR=255;WIDTH=100;HEIGHT=50;ALPHA=128");
  EXPECT_EQ(unended.back_h, 50.0f);
  EXPECT_EQ(unended.alpha, 0) << "the pair after the last ';' is not looked at";

  OBJET single(0, 0, "1");
  load(single, "THIS COLOR=255;");
  EXPECT_EQ(single.colour, 0u) << "one ';' applies nothing";

  OBJET valueless(0, 0, "1");
  load(valueless, "THIS COLOR;WIDTH=;HEIGHT=7;ALPHA=99999999999;");
  EXPECT_EQ(valueless.back_w, 0.0f);
  EXPECT_EQ(valueless.back_h, 7.0f);
  EXPECT_EQ(valueless.alpha, 2147483647) << "saturated";
}

TEST_F(LayoutFile, RecordsBecomeNamedChildrenInFileOrder) {
  OBJET container(10, 20, "1");
  load(container,
       "SPRITE BG PANEL_FOND 0 5 5 1 7 1 2.5 90 200\n"
       "NOTE\n"
       "BUTTON PLAY BTN_PLAY_OFF BTN_PLAY_ON BTN_PLAY_OVER 5 5 1 9 0 1.5 45\n"
       "SLIDER FAST KNOB 1 2 0 0 0 250.5 0\n"
       "SLIDER SLOW KNOB 1 2 0 0 0 100.0 0\n"
       "LABEL TITLE Grain_speed 40 20 3 30 16777215\n");
  const CHILD_LIST& children = container.mode1_children;
  ASSERT_EQ(children.size(), 5u) << "the unknown keyword adds nothing";

  const SPRITE& sprite = *children[0];
  EXPECT_STREQ(sprite.name, "1_BG");
  EXPECT_STREQ(sprite.mask, "") << "mask 0 is none";
  EXPECT_EQ(sprite.x, 15.0f) << "offset by the container";
  EXPECT_EQ(sprite.y, 25.0f);
  EXPECT_EQ(sprite.key, 7u);
  EXPECT_EQ(sprite.zoom, 2.5f);
  EXPECT_EQ(sprite.alpha, 200);

  const auto* button = dynamic_cast<const BUTTON*>(children[1].get());
  ASSERT_NE(button, nullptr);
  EXPECT_STREQ(button->image_off, "BTN_PLAY_OFF");
  EXPECT_STREQ(button->image_on, "BTN_PLAY_ON");
  EXPECT_STREQ(button->image_touch, "BTN_PLAY_OVER");
  EXPECT_STREQ(button->mask, "BTN_PLAY_MASK");
  EXPECT_EQ(button->x, 5.0f) << "taken as written";
  EXPECT_EQ(button->zoom, 1.5f);

  const auto* fast = dynamic_cast<const SLIDER*>(children[2].get());
  ASSERT_NE(fast, nullptr);
  EXPECT_EQ(fast->zoom, 1.0f) << "above 100 reads as 1";
  EXPECT_EQ(children[3]->zoom, 100.0f);
  EXPECT_EQ(fast->y, 2.0f);

  const auto* label = dynamic_cast<const LABEL*>(children[4].get());
  ASSERT_NE(label, nullptr);
  EXPECT_STREQ(label->caption, "Grain_speed");
  EXPECT_EQ(label->y, 20.0f) << "as written, not 747 - y";
  EXPECT_EQ(label->font_size, 10);
}

TEST_F(LayoutFile, SavedLayoutLoadsBackIntoTheSameChildren) {
  OBJET original(10, 20, "1");
  load(original,
       "THIS\nCOLOR=255;WIDTH=300;HEIGHT=200;ALPHA=128;\n"
       "SPRITE IMAGE_FOND PANEL_FOND 0 0 0 0 0 0 1.000000 0 255\n"
       "SPRITE LOGO IMG_001 KNOB_MASK -5 6 1 16711935 1 2.000000 90 200\n"
       "BUTTON PLAY BTN_PLAY_OFF BTN_PLAY_ON BTN_PLAY_OVER 40 60 0 0 0 1.000000 0\n"
       "SLIDER A_B KNOB 200 60 0 0 0 250.5 0\n"
       "LABEL TITLE Grain_speed 40 20 3 16 16777215\n");
  EXPECT_EQ(original.w, 256.0f) << "fitted to the background picture";
  const std::string path = dir_ + "/saved.txt";
  testing::internal::CaptureStdout();
  EXPECT_EQ(original.Save(path.c_str()), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Position [0] [10:20]\nPosition [1] [10:20]\nPosition [2] [10:20]\nPosition [3] [10:20]\n"
            "Position [4] [10:20]\n");

  const std::vector<std::string> lines = lines_of(read_file(path));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "THIS");
  EXPECT_EQ(lines[1], "COLOR=255;WIDTH=300;HEIGHT=200;ALPHA=128;");
  EXPECT_EQ(lines[2], "SPRITE\tIMAGE_FOND\tPANEL_FOND\t0\t0\t0\t0\t0\t0\t1.000000\t0\t255\r");
  EXPECT_EQ(lines[4], "BUTTON\tPLAY\tBTN_PLAY_OFF\tBTN_PLAY_ON\tBTN_PLAY_OVER\t40\t60\t0\t0\t0\t1.000000\t0\r");
  EXPECT_EQ(lines[5], "SLIDER\tA_B\tKNOB\t200\t60\t0\t0\t0\t1.000000\t0\r");
  EXPECT_EQ(lines[6], "LABEL\tTITLE\tGrain_speed\t40\t20\t3\t16\t16777215\t\r");

  OBJET reloaded(10, 20, "1");
  EXPECT_EQ(reloaded.Load(path.c_str()), 1);
  EXPECT_EQ(reloaded.colour, original.colour);
  EXPECT_EQ(reloaded.back_w, original.back_w);
  EXPECT_EQ(reloaded.alpha, original.alpha);
  ASSERT_EQ(reloaded.mode1_children.size(), original.mode1_children.size());
  for (std::size_t i = 0; i < original.mode1_children.size(); ++i) {
    const SPRITE &was = *original.mode1_children[i], &is = *reloaded.mode1_children[i];
    EXPECT_EQ(typeid(is), typeid(was)) << i;
    EXPECT_STREQ(is.name, was.name);
    EXPECT_STREQ(is.image, was.image);
    EXPECT_STREQ(is.mask, was.mask);
    EXPECT_EQ(is.x, was.x) << is.name;
    EXPECT_EQ(is.y, was.y) << is.name;
    EXPECT_EQ(is.key, was.key);
    EXPECT_EQ(is.zoom, was.zoom);
    EXPECT_EQ(is.alpha, was.alpha);
  }
  const auto& button = dynamic_cast<const BUTTON&>(*reloaded.mode1_children[2]);
  EXPECT_STREQ(button.image_off, "BTN_PLAY_OFF");
  EXPECT_STREQ(button.image_on, "BTN_PLAY_ON");
  EXPECT_STREQ(button.image_touch, "BTN_PLAY_OVER");
  EXPECT_STREQ(dynamic_cast<const LABEL&>(*reloaded.mode1_children[4]).caption, "Grain_speed");
}

TEST_F(LayoutFile, SavedPositionsLoadBackForAnyContainerPosition) {
  const std::string path = dir_ + "/positions.txt";
  for (const float at : {-7.25f, -0.5f, 0.0f, 0.5f, 10.5f, 333.75f}) {
    OBJET saved(0, 0, "1"), loaded(0, 0, "1");
    saved.x = loaded.x = at;
    saved.y = loaded.y = -at;
    for (const int position : {-12, -1, 0, 1, 15, 400})
      saved.children->emplace_back(new SPRITE("IMG_001", position, -position, 0, 0, 0, 1.0f, 0, 255));
    saved.children->emplace_back(new BUTTON("P", "BTN_PLAY_OFF", "BTN_PLAY_OVER", "BTN_PLAY_ON", nullptr));
    saved.children->back()->Set_position(-3, 7, 0);
    for (const auto& child : *saved.children) child->Set_name("1_C");
    testing::internal::CaptureStdout();
    saved.Save(path.c_str());
    testing::internal::GetCapturedStdout();

    ASSERT_EQ(loaded.Load(path.c_str()), 1);
    ASSERT_EQ(loaded.children->size(), saved.children->size());
    for (std::size_t i = 0; i < saved.children->size(); ++i) {
      const SPRITE &was = *(*saved.children)[i], &is = *(*loaded.children)[i];
      EXPECT_EQ(std::make_pair(is.x, is.y), std::make_pair(was.x, was.y)) << "container at " << at << ", child " << i;
    }
  }
}

TEST_F(LayoutFile, RecordsMissingNumbersTakeDefaultsAndTheNextRecordReadsWhole) {
  OBJET container(0, 0, "1");
  const std::string out = load(container,
                               "SPRITE FULL IMG_001 0 3 4 1 7 1 2.5 90 100\n"
                               "SPRITE A IMG_001 0 5 6 0 0 0 1.0 0\n"
                               "BUTTON P BTN_PLAY_OFF BTN_PLAY_ON 0 7 8 0 0 0 1.5 0\n"
                               "SPRITE B IMG_001 0 9 x 4 5 1.0 0 255\n"
                               "LABEL FULL Big 40 20 3 16 255\n"
                               "LABEL T Hi\n"
                               "SPRITE C IMG_001 0 -2 -3 0 0 0 0.5 0 50\n"
                               "SPRITE D IMG_001 0 9 1.5 45 200\n"
                               "SLIDER S KNOB 1");
  EXPECT_EQ(out, "") << "nothing skipped";
  const CHILD_LIST& children = container.mode1_children;
  ASSERT_EQ(names_of(children),
            (std::vector<std::string>{"1_FULL", "1_A", "1_P", "1_B", "1_FULL", "1_T", "1_C", "1_D", "1_S"}));
  EXPECT_EQ(placing(*children[1]), std::make_tuple(5.0f, 6.0f, 0, 1.0f, 0, 255)) << "without alpha";
  EXPECT_EQ(std::make_tuple(children[2]->y, children[2]->zoom), std::make_tuple(8.0f, 1.5f)) << "the button after it";
  EXPECT_EQ(placing(*children[3]), std::make_tuple(9.0f, 0.0f, 0, 1.0f, 0, 255)) << "not the record before";
  EXPECT_EQ(placing(*children[6]), std::make_tuple(-2.0f, -3.0f, 0, 0.5f, 0, 50)) << "after the short label";
  EXPECT_EQ(placing(*children[7]), std::make_tuple(9.0f, 1.0f, 0, 0.5f, 45, 200))
      << "the last three numbers read on from where the first five stopped";
  EXPECT_EQ(children[8]->zoom, 1.0f) << "the slider's zoom did not scan";

  const auto& label = dynamic_cast<const LABEL&>(*children[5]);
  EXPECT_STREQ(label.caption, "Hi");
  EXPECT_EQ(std::make_tuple(label.x, label.y, label.font_number, label.font_size, label.colour),
            std::make_tuple(0.0f, 0.0f, 0, 0, 0u));
}

TEST_F(LayoutFile, BackgroundRecordWithoutTrailingNumbersStillSizesTheContainer) {
  OBJET container(0, 0, "1");
  load(container,
       "THIS\nCOLOR=0;WIDTH=300;HEIGHT=200;ALPHA=255;\n"
       "SPRITE IMAGE_FOND PANEL_FOND 0 0 0");
  ASSERT_EQ(container.mode1_children.size(), 1u);
  EXPECT_EQ(container.w, 256.0f) << "the picture's width, not WIDTH";
}

TEST_F(LayoutFile, RecordsWithMissingOrEmptyTokensAddNothingAndReadingGoesOn) {
  OBJET container(0, 0, "1");
  const std::string long_token(3000, 'x');
  const std::string out = load(container,
                               "BUTTON P BTN_PLAY_OFF BTN_PLAY_ON 0 5 5 0 0 0 1.0 0\n"
                               "SPRITE " +
                                   long_token +
                                   " IMG_001 0 1 2 0 0 0 1.0 0 255\n"
                                   "SLIDER " +
                                   std::string(200, 'n') +
                                   " KNOB 1 2 0 0 0 1.0 0\n"
                                   "LABEL L");
  ASSERT_EQ(container.mode1_children.size(), 3u);
  EXPECT_STREQ(container.mode1_children[0]->name, "1_P");
  EXPECT_EQ(std::string(container.mode1_children[1]->name), "1_" + std::string(77, 'x')) << "cut to 79";
  EXPECT_EQ(std::string(container.mode1_children[2]->name), "1_" + std::string(77, 'n'));
  EXPECT_NE(out.find("Incomplete LABEL record"), std::string::npos) << out;

  // A token that starts with a NUL byte holds no text: the record is broken.
  const char holed_layout[] =
      "BUTTON P \0_OFF BTN_PLAY_ON 0 5 5 0 0 0 1.0 0\n"
      "SPRITE \0A IMG_001 0 1 2 0 0 0 1.0 0 255\n"
      "SPRITE A \0IMG_001 0 1 2 0 0 0 1.0 0 255\n"
      "SLIDER S KNOB 1 2 0 0 0 1.0 0\n";
  OBJET holed(0, 0, "1");
  const std::string out_holed = load(holed, std::string(holed_layout, sizeof holed_layout - 1));
  ASSERT_EQ(holed.mode1_children.size(), 1u);
  EXPECT_STREQ(holed.mode1_children[0]->name, "1_S");
  EXPECT_EQ(out_holed,
            "Incomplete BUTTON record [0] skipped\nIncomplete SPRITE record [1] skipped\n"
            "Incomplete SPRITE record [2] skipped\n");

  OBJET empty(0, 0, "1");
  EXPECT_EQ(load(empty, ""), "");
  EXPECT_TRUE(empty.mode1_children.empty());
  OBJET unended(0, 0, "1");
  EXPECT_EQ(load(unended, "THIS\n"), "Incomplete THIS record [0] skipped\n");
}

TEST_F(LayoutFile, UnopenableFilesAreReportedAndAnEmptyContainerWritesOnlyItself) {
  OBJET container(0, 0, "1");
  const std::string missing = dir_ + "/none/layout.txt";
  testing::internal::CaptureStdout();
  EXPECT_EQ(container.Load(missing.c_str()), -1);
  EXPECT_EQ(container.Save(missing.c_str()), -1);
  EXPECT_EQ(container.Save("/dev/full"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failing to Load RC[" + missing + "] (cause Fopen())\n" +
                                                        "Failing to Save RC[" + missing + "] (cause Fopen())\n" +
                                                        "Failing to Save RC[/dev/full] (cause write)\n");
  EXPECT_EQ(std::string(container.rc_path), missing);

  const std::string path = dir_ + "/empty.txt";
  EXPECT_EQ(container.Save(path.c_str()), 1);
  EXPECT_EQ(read_file(path), "THIS\nCOLOR=0;WIDTH=0;HEIGHT=0;ALPHA=0;\n");

  container.children->emplace_back(new SPRITE("IMG_001", 3, 4, 0, 0, 0, 1.0f, 0, 255));
  container.children->back()->Set_name("LOOSE");
  testing::internal::CaptureStdout();
  container.Save(path.c_str());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "ARF stf wrong during save element [LOOSE]\nPosition [0] [0:0]\n");
  EXPECT_EQ(lines_of(read_file(path)).at(2), "SPRITE\tLOOSE\tIMG_001\t0\t3\t4\t0\t0\t0\t1.000000\t0\t255\r")
      << "written under its whole name";
}
