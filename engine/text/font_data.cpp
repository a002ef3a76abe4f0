#include "text/font_data.h"

#include "images/texture_names.h"
#include "video/video.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_BITMAP_H

#include <climits>

#include <cstdarg>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

using grains::forget_texture_names;
using grains::note_texture_names;
using grains::video_started;

namespace {

constexpr int glyph_count = 128;
constexpr int text_capacity = 256;  // 255 characters and the terminator

// FreeType's library and face, open for the time of one build.
class FreeTypeFace {
 public:
  explicit FreeTypeFace(const char* font_file) {
    if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("FT_Init_FreeType failed");
    if (FT_New_Face(library_, font_file, 0, &face_) != 0) {
      FT_Done_FreeType(library_);
      throw std::runtime_error("FT_New_Face failed (there is probably a problem with your font file)");
    }
  }
  ~FreeTypeFace() {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
  }
  FreeTypeFace(const FreeTypeFace&) = delete;
  FreeTypeFace& operator=(const FreeTypeFace&) = delete;

  FT_Face get() const { return face_; }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

// Texel rows read without padding while it lives: the rows of a
// one-texel-wide glyph are 2 bytes long, not GL's default 4-byte multiple.
class TightTexelRows {
 public:
  TightTexelRows() {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  ~TightTexelRows() { glPopClientAttrib(); }
  TightTexelRows(const TightTexelRows&) = delete;
  TightTexelRows& operator=(const TightTexelRows&) = delete;
};

// A character's glyph as 8-bit coverage, rows of width bytes, top row first.
struct GlyphImage {
  int width = 0, rows = 0;
  int left = 0, top = 0;  // bearings in whole pixels
  int advance = 0;        // horizontal advance in whole pixels
  std::vector<GLubyte> coverage;
};

// Copies a FreeType bitmap into the image's coverage: anti-aliased
// renderings as they are, mono and other embedded bitmaps converted to
// 0..255. A bitmap that cannot be converted leaves the image empty.
void read_coverage(FT_Library library, const FT_Bitmap& bitmap, GlyphImage& image) {
  FT_Bitmap converted;
  FT_Bitmap_Init(&converted);
  const bool is_gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.pitch >= static_cast<int>(bitmap.width);
  if (is_gray || FT_Bitmap_Convert(library, &bitmap, &converted, 1) == 0) {
    const FT_Bitmap& gray = is_gray ? bitmap : converted;
    const int max_level = gray.num_grays > 1 ? gray.num_grays - 1 : 1;
    image.width = static_cast<int>(gray.width);
    image.rows = static_cast<int>(gray.rows);
    image.coverage.resize(static_cast<std::size_t>(image.width) * image.rows);
    for (int j = 0; j < image.rows; ++j)
      for (int i = 0; i < image.width; ++i)
        image.coverage[i + image.width * j] = gray.buffer[i + gray.pitch * j] * 255 / max_level;
  }
  FT_Bitmap_Done(library, &converted);
}

// Loads and renders the glyph of code. A glyph that does not render keeps
// its advance and gets an empty image.
GlyphImage render_glyph(FT_Face face, unsigned int code) {
  if (FT_Load_Glyph(face, FT_Get_Char_Index(face, code), FT_LOAD_DEFAULT) != 0)
    throw std::runtime_error("FT_Load_Glyph failed");
  FT_Glyph glyph = nullptr;
  if (FT_Get_Glyph(face->glyph, &glyph) != 0) throw std::runtime_error("FT_Get_Glyph failed");
  FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1);
  GlyphImage image;
  image.advance = static_cast<int>(face->glyph->advance.x >> 6);
  if (glyph->format == FT_GLYPH_FORMAT_BITMAP) {
    const FT_BitmapGlyph bitmap_glyph = reinterpret_cast<FT_BitmapGlyph>(glyph);
    image.left = bitmap_glyph->left;
    image.top = bitmap_glyph->top;
    read_coverage(face->glyph->library, bitmap_glyph->bitmap, image);
  }
  FT_Done_Glyph(glyph);
  return image;
}

// The glyph in the lower-left corner of a tw x th luminance-alpha image,
// coverage in both bytes of each texel, zero elsewhere.
std::vector<GLubyte> luminance_alpha_texels(const GlyphImage& glyph, int tw, int th) {
  std::vector<GLubyte> texels(2 * static_cast<std::size_t>(tw) * th, 0);
  for (int j = 0; j < glyph.rows; ++j)
    for (int i = 0; i < glyph.width; ++i) {
      const GLubyte v = glyph.coverage[i + glyph.width * j];
      texels[2 * (i + j * tw)] = v;
      texels[2 * (i + j * tw) + 1] = v;
    }
  return texels;
}

void upload_glyph_texture(GLuint texture, const GlyphImage& glyph) {
  const int tw = next_power_of_two(glyph.width);
  const int th = next_power_of_two(glyph.rows);
  const std::vector<GLubyte> texels = luminance_alpha_texels(glyph, tw, th);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, texels.data());
}

// The list draws the glyph's quad with its baseline on y = 0 (texture row
// 0, the top of the bitmap, at y = rows), then moves right by the advance.
void compile_glyph_list(GLuint list, GLuint texture, const GlyphImage& glyph) {
  const float w = static_cast<float>(glyph.width), r = static_cast<float>(glyph.rows);
  const float tx = w / static_cast<float>(next_power_of_two(glyph.width));
  const float ty = r / static_cast<float>(next_power_of_two(glyph.rows));

  glNewList(list, GL_COMPILE);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPushMatrix();
  glTranslatef(static_cast<float>(glyph.left), 0.0f, 0.0f);
  glTranslatef(0.0f, static_cast<float>(glyph.top - glyph.rows), 0.0f);
  glBegin(GL_QUADS);
  glTexCoord2d(0, 0);
  glVertex2f(0, r);
  glTexCoord2d(0, ty);
  glVertex2f(0, 0);
  glTexCoord2d(tx, ty);
  glVertex2f(w, 0);
  glTexCoord2d(tx, 0);
  glVertex2f(w, r);
  glEnd();
  glPopMatrix();
  glTranslatef(static_cast<float>(glyph.advance), 0.0f, 0.0f);
  glEndList();
}

void build_glyph_list(FT_Face face, unsigned int code, GLuint list_base, const GLuint* textures) {
  const GlyphImage glyph = render_glyph(face, code);
  upload_glyph_texture(textures[code], glyph);
  compile_glyph_list(list_base + code, textures[code], glyph);
}

// Formats into text, cut at its capacity; a null format gives "". Codes
// above 127 have no list in a font and become '?'.
void format_text(char (&text)[text_capacity], const char* format, va_list arguments) {
  text[0] = '\0';
  if (format != nullptr) std::vsnprintf(text, sizeof text, format, arguments);
  for (char& c : text) {
    if (c == '\0') break;
    if (static_cast<unsigned char>(c) >= glyph_count) c = '?';
  }
}

// Draws each line of text through the font's lists, line i at
// (x, y - i * line_step) with the caller's model-view applied in its frame.
void draw_lines(const char* text, float x, float y, float line_step) {
  GLfloat caller_modelview[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, caller_modelview);
  int line = 0;
  for (const char* start = text;; ++line) {
    const char* end = start;
    while (*end != '\0' && *end != '\n') ++end;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(x, y - static_cast<float>(line) * line_step, 0.0f);
    glMultMatrixf(caller_modelview);
    glCallLists(static_cast<GLsizei>(end - start), GL_UNSIGNED_BYTE, start);
    glPopMatrix();
    if (*end == '\0') break;
    start = end + 1;
  }
}

}  // namespace

void FONT_DATA::build(const char* font_file, unsigned int height) {
  video_started("FONT_DATA::build (which font_table.load calls)");
  textures = new unsigned int[glyph_count]();
  this->height = static_cast<float>(height);
  const FreeTypeFace face(font_file);
  const FT_F26Dot6 size = static_cast<FT_F26Dot6>(height) * 64;
  FT_Set_Char_Size(face.get(), size, size, 96, 96);
  list_base = glGenLists(glyph_count);
  glGenTextures(glyph_count, textures);
  note_texture_names(textures, glyph_count, std::string("the font built from ") + font_file);
  const TightTexelRows tight_rows;
  for (unsigned int code = 0; code < glyph_count; ++code) build_glyph_list(face.get(), code, list_base, textures);
}

void FONT_DATA::release() {
  if (textures == nullptr) return;
  if (list_base != 0) glDeleteLists(list_base, glyph_count);
  forget_texture_names(textures, glyph_count);
  glDeleteTextures(glyph_count, textures);
  delete[] textures;
}

void draw_text(const FONT_DATA& font, float x, float y, const char* format, ...) {
  video_started("draw_text");
  push_screen_projection();
  const float line_step = font.height / 0.63f;
  char text[text_capacity];
  va_list arguments;
  va_start(arguments, format);
  format_text(text, format, arguments);
  va_end(arguments);

  glPushAttrib(GL_LIST_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT);
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glListBase(font.list_base);
  if (font.textures != nullptr) draw_lines(text, x, y, line_step);
  glPopAttrib();
  pop_screen_projection();
}

int next_power_of_two(int n) {
  int value = 1;
  while (value < n && value <= INT_MAX / 2) value <<= 1;
  return value;
}

void push_screen_projection() {
  glPushAttrib(GL_TRANSFORM_BIT);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluOrtho2D(viewport[0], viewport[2], viewport[1], viewport[3]);
  glPopAttrib();
}

void pop_screen_projection() {
  glPushAttrib(GL_TRANSFORM_BIT);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}
