// Fonts built into textures and lists, text drawn and read back from GL,
// and the font table building real font files.
#include "support/gl_window.h"
#include "support/process.h"
#include "text/font_data.h"
#include "text/font_table.h"

#include <GL/gl.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <climits>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

const std::string sans_path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string mono_path = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
const float line_step = 32 / 0.63f;

// FreeType's own rendering of one character, to compare the font with.
struct ReferenceGlyph {
  int width = 0, rows = 0, left = 0, top = 0, advance = 0;
  std::vector<unsigned char> coverage;  // rows of width bytes, top first
  int at(int i, int j) const { return i >= 0 && j >= 0 && i < width && j < rows ? coverage[i + j * width] : 0; }
};

ReferenceGlyph reference_glyph(unsigned int code, unsigned int height = 32, const std::string& font = sans_path) {
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, font.c_str(), 0, &face) != 0)
    throw std::runtime_error("cannot open " + font);
  FT_Set_Char_Size(face, height * 64, height * 64, 96, 96);
  FT_Load_Char(face, code, FT_LOAD_RENDER);
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  ReferenceGlyph glyph{static_cast<int>(bitmap.width),
                       static_cast<int>(bitmap.rows),
                       face->glyph->bitmap_left,
                       face->glyph->bitmap_top,
                       static_cast<int>(face->glyph->advance.x >> 6),
                       {}};
  for (int j = 0; j < glyph.rows; ++j)
    glyph.coverage.insert(glyph.coverage.end(), bitmap.buffer + j * bitmap.pitch,
                          bitmap.buffer + j * bitmap.pitch + glyph.width);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return glyph;
}

GLint get_int(GLenum what) {
  GLint value = 0;
  glGetIntegerv(what, &value);
  return value;
}

// Reads a glyph texture back; fails unless its sides are the next powers of
// two of the bitmap's and every channel of every texel holds the coverage.
void expect_texture_holds(GLuint texture, const ReferenceGlyph& glyph, unsigned int code) {
  GLint width = 0, height = 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  ASSERT_EQ(width, next_power_of_two(glyph.width)) << "code " << code;
  ASSERT_EQ(height, next_power_of_two(glyph.rows)) << "code " << code;
  std::vector<unsigned char> rgba(4 * width * height);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  int wrong = 0;
  for (int texel = 0; texel < width * height; ++texel)
    for (int channel = 0; channel < 4; ++channel)
      wrong += rgba[4 * texel + channel] != glyph.at(texel % width, texel / width);
  EXPECT_EQ(wrong, 0) << "code " << code;
}

// Runs a character's list on an identity model-view; returns how far it moved.
float list_advance(const FONT_DATA& font, unsigned int code) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glCallList(font.list_base + code);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  glLoadIdentity();
  return m[12];
}

// Window pixels with y counted upwards from the bottom, as draw_text takes it.
struct Frame {
  std::vector<std::uint32_t> pixels = read_window_pixels();
  std::uint32_t at(int x, int y) const { return pixels[(767 - y) * 1024 + x]; }
};

struct GlyphBox {
  int left = INT_MAX, bottom = INT_MAX, right = INT_MIN, top = INT_MIN;
};

// Bounding box of the lit pixels whose y lies in [from_y, to_y].
GlyphBox lit_box(const Frame& frame, int from_y, int to_y) {
  GlyphBox box;
  for (int y = from_y; y <= to_y; ++y)
    for (int x = 0; x < 1024; ++x)
      if (frame.at(x, y) != 0) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.bottom = std::min(box.bottom, y);
        box.top = std::max(box.top, y);
      }
  return box;
}

// The pixels a glyph's bitmap covers relative to its line's start.
GlyphBox glyph_box(const ReferenceGlyph& glyph) {
  return {glyph.left, glyph.top - glyph.rows, glyph.left + glyph.width - 1, glyph.top - 1};
}

void expect_box_near(const GlyphBox& actual, const GlyphBox& expected, const char* what) {
  EXPECT_NEAR(actual.left, expected.left, 1) << what;
  EXPECT_NEAR(actual.bottom, expected.bottom, 1) << what;
  EXPECT_NEAR(actual.right, expected.right, 1) << what;
  EXPECT_NEAR(actual.top, expected.top, 1) << what;
}

std::string write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// One DejaVu Sans at height 32, shared by the suite.
class Text : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ensure_video();
    sans.build(sans_path.c_str(), 32);
  }
  static void TearDownTestSuite() { sans.release(); }

  // Black frame, identity matrices, white, GL_PROJECTION current as
  // start_video leaves it.
  void SetUp() override {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  static FONT_DATA sans;
};

FONT_DATA Text::sans;

}  // namespace

TEST(NextPowerOfTwo, RoundsUpToAPowerOfTwo) {
  const int cases[][2] = {{-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 4}, {17, 32}, {64, 64}, {65, 128}, {INT_MAX, 1 << 30}};
  for (const auto& c : cases) EXPECT_EQ(next_power_of_two(c[0]), c[1]) << c[0];
}

TEST_F(Text, EveryGlyphTextureHoldsItsCoverageAndItsListAdvances) {
  EXPECT_EQ(sans.height, 32.0f);
  for (unsigned int code = 0; code < 128; ++code) {
    const ReferenceGlyph glyph = reference_glyph(code);
    expect_texture_holds(sans.textures[code], glyph, code);
    EXPECT_EQ(list_advance(sans, code), glyph.advance) << "code " << code;
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_2D), static_cast<GLint>(sans.textures[code])) << "code " << code;
  }
  const ReferenceGlyph space = reference_glyph(' ');
  EXPECT_TRUE(space.width == 0 && space.advance > 0);  // so a 1x1 texture holding 0, and still an advance
}

TEST_F(Text, OneTexelWideGlyphsKeepTheirRows) {
  FONT_DATA tiny;
  tiny.build(sans_path.c_str(), 4);
  EXPECT_EQ(get_int(GL_UNPACK_ALIGNMENT), 4) << "the caller's unpacking is restored";
  const ReferenceGlyph l = reference_glyph('l', 4);
  ASSERT_EQ(l.width, 1);
  ASSERT_GT(l.rows, 1);
  expect_texture_holds(tiny.textures['l'], l, 'l');
  tiny.release();
}

TEST_F(Text, OneBitRasterFontsBecomeFullCoverage) {
  // A Windows 2.x raster font: every glyph 8 pixels wide, one byte per row.
  const unsigned char rows[] = {0xF0, 0x90, 0x90, 0xF0, 0x0F};
  const int glyphs = 96, table = 118, bits = table + 4 * glyphs;
  std::string fnt(bits + 5 * glyphs, '\0');
  const auto put16 = [&](int at, int v) { fnt[at] = char(v & 255), fnt[at + 1] = char(v >> 8); };
  // version, size, points, resolutions, ascent, weight, pixel height, widths,
  // codes 32 to 126, bytes per row, offset of the bits
  const int header[][2] = {
      {0, 0x200}, {2, int(fnt.size())}, {68, 5}, {70, 96},   {72, 96}, {74, 4}, {83, 400}, {88, 5}, {91, 8},
      {93, 8},    {95, 32 | 126 << 8},  {99, 2}, {113, bits}};
  for (const auto& field : header) put16(field[0], field[1]);
  for (int g = 0; g < glyphs; ++g) {
    put16(table + 4 * g, 8);
    put16(table + 4 * g + 2, bits + 5 * g);
    fnt.replace(bits + 5 * g, 5, reinterpret_cast<const char*>(rows), 5);
  }
  const std::string dir = make_temp_dir();
  FONT_DATA raster;
  raster.build(write_file(dir + "/raster.fnt", fnt).c_str(), 32);
  ReferenceGlyph expected{8, 5, 0, 0, 8, {}};
  for (const unsigned char row : rows)
    for (int i = 0; i < 8; ++i) expected.coverage.push_back(row >> (7 - i) & 1 ? 255 : 0);
  expect_texture_holds(raster.textures['A'], expected, 'A');
  EXPECT_EQ(list_advance(raster, 'A'), 8.0f);
  raster.release();
  std::filesystem::remove_all(dir);
}

TEST_F(Text, AGlyphDrawsItsBitmapUprightOnTheBaseline) {
  draw_text(sans, 200, 300, "g");
  const Frame frame;
  const ReferenceGlyph g = reference_glyph('g');
  int wrong = 0;  // white at alpha = coverage over black gives coverage^2 / 255
  for (int j = -1; j <= g.rows; ++j)
    for (int i = -1; i <= g.width; ++i)
      wrong += std::abs(int(frame.at(200 + g.left + i, 300 + g.top - 1 - j) >> 16) - g.at(i, j) * g.at(i, j) / 255) > 2;
  EXPECT_EQ(wrong, 0);
  const GlyphBox box = glyph_box(g);
  expect_box_near(lit_box(frame, 0, 767), {200 + box.left, 300 + box.bottom, 200 + box.right, 300 + box.top}, "g");
}

TEST_F(Text, EachLineStartsOneStepBelowThePrevious) {
  const auto frame_of = [this](const std::vector<std::pair<float, const char*>>& lines) {
    SetUp();
    for (const auto& [y, text] : lines) draw_text(sans, 100, y, "%s", text);
    return Frame().pixels;
  };
  EXPECT_TRUE(frame_of({{500, "A\nB"}}) == frame_of({{500, "A"}, {500 - line_step, "B"}}));
  EXPECT_TRUE(frame_of({{500, "A\n"}}) == frame_of({{500, "A"}}));
  const GlyphBox b = glyph_box(reference_glyph('B'));
  const int baseline = static_cast<int>(std::lround(500 - line_step));
  SetUp();
  draw_text(sans, 100, 500, "\nB");
  expect_box_near(lit_box(Frame(), 0, 767), {100 + b.left, baseline + b.bottom, 100 + b.right, baseline + b.top}, "B");
}

TEST_F(Text, TheCallersRotationTurnsEachLineAboutItsOwnStart) {
  glMatrixMode(GL_MODELVIEW);
  glRotatef(90, 0, 0, 1);
  draw_text(sans, 500, 400, "A\nB");
  const Frame frame;
  // A quarter turn anticlockwise about (x, y) takes pixel (dx, dy) to (-dy - 1, dx).
  const auto turned = [](unsigned int code, int x, int y) {
    const GlyphBox upright = glyph_box(reference_glyph(code));
    return GlyphBox{x - upright.top - 1, y + upright.left, x - upright.bottom - 1, y + upright.right};
  };
  expect_box_near(lit_box(frame, 390, 767), turned('A', 500, 400), "A");
  expect_box_near(lit_box(frame, 0, 389), turned('B', 500, std::lround(400 - line_step)), "B");
}

TEST_F(Text, DrawingRestoresTheCallersStateButLeavesBlendingSetUp) {
  const struct {
    const FONT_DATA font;
    const char* format;
    GLint binding_after;
  } cases[] = {{sans, "xyz", static_cast<GLint>(sans.textures['z'])}, {sans, nullptr, 0}, {FONT_DATA{}, "xyz", 0}};
  for (const auto& c : cases) {
    SetUp();
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(3, 4, 0);
    glMatrixMode(GL_PROJECTION);
    glScalef(0.5f, 0.25f, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glListBase(7);
    glColor4f(0.25f, 0.5f, 0.75f, 1);
    glBindTexture(GL_TEXTURE_2D, 0);
    GLfloat before[36], after[36];  // projection, model-view, colour
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    glGetFloatv(GL_MODELVIEW_MATRIX, before + 16);
    glGetFloatv(GL_CURRENT_COLOR, before + 32);

    draw_text(c.font, 100, 100, c.format);

    glGetFloatv(GL_PROJECTION_MATRIX, after);
    glGetFloatv(GL_MODELVIEW_MATRIX, after + 16);
    glGetFloatv(GL_CURRENT_COLOR, after + 32);
    EXPECT_TRUE(std::equal(before, before + 36, after));
    EXPECT_EQ(get_int(GL_PROJECTION_STACK_DEPTH) + get_int(GL_MODELVIEW_STACK_DEPTH), 2);
    EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_PROJECTION);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND));
    EXPECT_EQ(get_int(GL_LIST_BASE), 7);
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(get_int(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_2D), c.binding_after);
    EXPECT_EQ(count_lit_pixels() > 0, c.binding_after != 0) << "drawn or not";
    glDisable(GL_LIGHTING);
    glListBase(0);
  }
}

TEST_F(Text, TheTextIsCutAt255CharactersAndHighCodesShowAsQuestionMarks) {
  const std::string dots(254, '.');
  const auto frame_of = [&](const std::string& tail) {
    SetUp();
    glMatrixMode(GL_MODELVIEW);
    glScalef(0.25f, 0.25f, 1);  // 255 narrow glyphs fit in the window
    draw_text(sans, 10, 400, "%s%s", dots.c_str(), tail.c_str());
    return Frame().pixels;
  };
  const auto characters_255 = frame_of("W");
  EXPECT_FALSE(characters_255 == frame_of("")) << "the 255th character shows";
  EXPECT_TRUE(characters_255 == frame_of(std::string(46, 'W')));
  EXPECT_TRUE(frame_of("\xE9") == frame_of("?"));
}

// The font table building real fonts from list files.
class FontTableFiles : public testing::Test {
 protected:
  static void SetUpTestSuite() { ensure_video(); }
  void SetUp() override { dir = make_temp_dir(); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string list_file(const std::string& text) { return write_file(dir + "/fonts.txt", text); }
  std::string dir;
};

TEST_F(FontTableFiles, EntriesAreNumberedInFileOrderAndReleasedTogether) {
  FONT_TABLE table(list_file("h h sans " + sans_path + " mono " + mono_path + " last #off END").c_str());
  ASSERT_EQ(table.count, 2);
  EXPECT_EQ(table.names[1], "mono");
  const FONT_DATA first = table.font(0), second = table.font(1), third = table.font(2);
  EXPECT_EQ(first.height, 32.0f);
  EXPECT_EQ(first.textures, table.fonts[0].textures);
  EXPECT_EQ(list_advance(first, 'i'), reference_glyph('i').advance);
  EXPECT_EQ(list_advance(second, 'i'), reference_glyph('i', 32, mono_path).advance);
  EXPECT_TRUE(third.height == 0 && third.textures == nullptr && third.list_base == 0);
  const GLuint first_texture = first.textures['A'];

  table.load(list_file("h h END").c_str());  // releases what the first load built
  EXPECT_EQ(table.count, 0);
  EXPECT_FALSE(glIsList(first.list_base) || glIsList(second.list_base) || glIsTexture(first_texture));
  EXPECT_EQ(table.font(0).list_base, 0u);
}

TEST_F(FontTableFiles, ABadFontFileRaisesAfterTheFontsBeforeIt) {
  const std::string not_a_font = write_file(dir + "/broken.ttf", "this is not a font\n");
  FONT_TABLE table;
  try {
    table.load(list_file("h h good " + sans_path + " bad " + not_a_font + " END").c_str());
    ADD_FAILURE() << "no error raised";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "FT_New_Face failed (there is probably a problem with your font file)");
  }
  EXPECT_EQ(table.count, 1);
  EXPECT_TRUE(table.font(1).textures == nullptr && table.font(1).list_base == 0);
}

TEST_F(FontTableFiles, AFullTableAddsNoMoreFonts) {
  std::string text = "h h\n";
  for (int i = 0; i < 11; ++i) text += "font" + std::to_string(i) + " " + sans_path + "\n";
  testing::internal::CaptureStdout();
  FONT_TABLE table(list_file(text + "END\n").c_str());
  table.add_font(sans_path.c_str());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Font list [" + dir +
                                                        "/fonts.txt]: more than 10 fonts; only the first 10 are read\n"
                                                        "Font table full: [" +
                                                        sans_path + "] not added\n");
  EXPECT_EQ(table.count, 10);
  EXPECT_NE(table.font(9).list_base, 0u);
}
