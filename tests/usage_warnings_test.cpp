// The engine's one-line warnings on standard error: each mistake made by a
// fresh usage_mistakes process (usage_mistakes.cpp), whose standard output
// and error are read together, so that each warning is seen once, after
// what the engine printed for the same mistake. USAGE_MISTAKES_DEBUG is the
// same program with the video module built without NDEBUG.
#include "support/process.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* PREFIX = "grains engine: ";

struct Said {
  int exit_status;
  std::vector<std::string> lines;  // standard output and error as they came
  // The warning lines, prefix removed.
  std::vector<std::string> warnings() const {
    std::vector<std::string> found;
    for (const std::string& line : lines)
      if (line.rfind(PREFIX, 0) == 0) found.push_back(line.substr(std::string(PREFIX).size()));
    return found;
  }
  // Index of the first line starting with start, or -1.
  int line_starting(const std::string& start) const {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].rfind(start, 0) == 0) return static_cast<int>(i);
    return -1;
  }
};

Said make(const std::string& mistake, const char* program = USAGE_MISTAKES) {
  const ProcessResult result =
      run_process({"/bin/sh", "-c", std::string(program) + " " + mistake + " 2>&1"}, SOURCE_DIR);
  Said said{result.exit_status, {}};
  std::istringstream lines(result.out);
  for (std::string line; std::getline(lines, line);) said.lines.push_back(line);
  return said;
}

bool starts_with(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

const std::string CALL_START_VIDEO_FIRST =
    " ran before start_video: call start_video first, which opens the window and its GL context and creates the image "
    "bank";

}  // namespace

TEST(UsageWarnings, ASpriteDrawnBeforeStartVideoSaysSoOnceAfterItsOwnLine) {
  const Said said = make("sprite_before_video");
  EXPECT_EQ(said.exit_status, 0);
  const std::vector<std::string> expected{"[KNOB] blit image not found ",
                                          PREFIX + std::string("SPRITE::Draw") + CALL_START_VIDEO_FIRST,
                                          "[KNOB] blit image not found "};
  EXPECT_EQ(said.lines, expected);
}

TEST(UsageWarnings, ALayoutWithABackgroundLoadedBeforeStartVideoSaysSoBeforeTheProcessEnds) {
  const Said said = make("layout_before_video");
  EXPECT_EQ(said.exit_status, 255);
  ASSERT_GE(said.lines.size(), 2u);
  EXPECT_EQ(said.lines[said.lines.size() - 2], "No image IMAGE_FOND valid");
  EXPECT_EQ(said.lines.back(), PREFIX + std::string("OBJET::Fit_background (which Load, Render and Switch_mode call)") +
                                   CALL_START_VIDEO_FIRST);
}

TEST(UsageWarnings, AContainerRenderedBeforeStartVideoSaysSoAfterWhatItsChildrenPrinted) {
  const Said said = make("render_before_video");
  EXPECT_EQ(said.exit_status, 0);
  const std::vector<std::string> expected{"[KNOB] blit image not found ",
                                          PREFIX + std::string("SPRITE::Draw") + CALL_START_VIDEO_FIRST};
  EXPECT_EQ(said.lines, expected);
}

TEST(UsageWarnings, TextAndFontsBeforeStartVideoSaySoOnce) {
  const Said text = make("text_before_video");
  EXPECT_EQ(text.exit_status, 0);
  EXPECT_EQ(text.warnings(), std::vector<std::string>{"draw_text" + CALL_START_VIDEO_FIRST});
  const Said fonts = make("fonts_before_video");
  EXPECT_EQ(fonts.exit_status, 0);
  EXPECT_EQ(fonts.warnings(),
            std::vector<std::string>{"FONT_DATA::build (which font_table.load calls)" + CALL_START_VIDEO_FIRST});
}

// The first picture registered after the fonts takes a texture name of
// theirs; one line names it and the font, however many follow.
TEST(UsageWarnings, APictureRegisteredAfterTheFontsNamesItselfAndTheFont) {
  const Said said = make("fonts_before_pictures");
  EXPECT_EQ(said.exit_status, 0);
  const std::vector<std::string> warnings = said.warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(starts_with(warnings[0], "picture [EXTRA_KNOB] overwrote texture ")) << warnings[0];
  EXPECT_NE(warnings[0].find(" of the font built from /usr/share/fonts/truetype/dejavu/DejaVuSans"), std::string::npos)
      << warnings[0];
  EXPECT_NE(warnings[0].find(": register every picture before building fonts"), std::string::npos) << warnings[0];

  const Said in_order = make("pictures_before_fonts");
  EXPECT_EQ(in_order.exit_status, 0);
  EXPECT_EQ(in_order.warnings(), std::vector<std::string>{});
}

TEST(UsageWarnings, ALabelWhoseFontIsPastTheTableSaysSoOnce) {
  const Said said = make("label_font_past_table");
  EXPECT_EQ(said.exit_status, 0);
  const std::vector<std::string> expected{
      "LABEL [IMG_001] draws nothing: its font 3 is past the font table, which holds 3 fonts (font_table.load fills "
      "it)"};
  EXPECT_EQ(said.warnings(), expected);
}

// Said once a path, before load_image returns its 0.
TEST(UsageWarnings, APictureThatDoesNotLoadIsSaidWithItsReason) {
  const Said said = make("missing_picture");
  EXPECT_EQ(said.exit_status, 0);
  const std::vector<std::string> warnings = said.warnings();
  ASSERT_EQ(warnings.size(), 2u);
  for (const std::string path : {"grfx/NO_SUCH.png", "grfx/showcase.lay"}) {
    const int warning = said.line_starting(PREFIX + ("load_image could not load [" + path + "] as [NO_SUCH]: "));
    const int result = said.line_starting("load_image [" + path + "]: 0");
    ASSERT_NE(warning, -1) << path;
    EXPECT_EQ(result, warning + 1) << path;
    EXPECT_GT(said.lines[warning].size(), std::string(PREFIX).size() + 40 + path.size()) << "SDL_image's reason";
  }
}

TEST(UsageWarnings, PushOrthoAndPopOrthoOutOfBalanceAreSaidInDebugBuildsOnly) {
  const std::string pair_them = ": pair them around each frame's drawing";
  EXPECT_EQ(make("ortho_pushed_twice", USAGE_MISTAKES_DEBUG).warnings(),
            std::vector<std::string>{"push_ortho ran again before pop_ortho" + pair_them});
  EXPECT_EQ(make("ortho_popped_alone", USAGE_MISTAKES_DEBUG).warnings(),
            std::vector<std::string>{"pop_ortho ran without a push_ortho" + pair_them});
  EXPECT_EQ(make("ortho_paired", USAGE_MISTAKES_DEBUG).warnings(), std::vector<std::string>{});
#ifdef NDEBUG  // the engine is built with the tests' settings
  for (const char* mistake : {"ortho_pushed_twice", "ortho_popped_alone"})
    EXPECT_EQ(make(mistake).warnings(), std::vector<std::string>{}) << mistake;
#endif
}
