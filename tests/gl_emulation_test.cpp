// The GL emulation against the desktop's own GL: the same scenes of display
// lists, attribute pushes and pops and evaluated curves, drawn once with the
// GL's own calls and once through the emulation, give the same pixels, the
// same answers and leave the GL in the same state.
#include "platform/gl_emulation.h"

#include "support/gl_window.h"
#include "text/font_data.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using grains::GL_CALLS;
using grains::GL_EMULATION;

namespace {

const GL_CALLS desktop_gl = {glBindTexture, glPushMatrix, glPopMatrix,  glTranslatef,  glBegin,
                             glEnd,         glTexCoord2f, glVertex2f,   glVertex3f,    glColor4f,
                             glEnable,      glDisable,    glMatrixMode, glPixelStorei, glGetIntegerv};

// The GL's own calls under the emulation's names, so that a scene written
// once runs on either.
struct DesktopGl {
  GLuint gen_lists(GLsizei range) { return glGenLists(range); }
  void new_list(GLuint list, GLenum mode) { glNewList(list, mode); }
  void end_list() { glEndList(); }
  void list_base(GLuint base) { glListBase(base); }
  void call_list(GLuint list) { glCallList(list); }
  void call_lists(GLsizei count, GLenum type, const GLvoid* offsets) { glCallLists(count, type, offsets); }
  void delete_lists(GLuint list, GLsizei range) { glDeleteLists(list, range); }
  bool is_list(GLuint list) const { return glIsList(list) == GL_TRUE; }
  void bind_texture(GLenum target, GLuint texture) { glBindTexture(target, texture); }
  void push_matrix() { glPushMatrix(); }
  void pop_matrix() { glPopMatrix(); }
  void translate(GLfloat x, GLfloat y, GLfloat z) { glTranslatef(x, y, z); }
  void begin(GLenum mode) { glBegin(mode); }
  void end() { glEnd(); }
  void tex_coord(GLfloat s, GLfloat t) { glTexCoord2d(s, t); }
  void vertex2(GLfloat x, GLfloat y) { glVertex2f(x, y); }
  void color(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) { glColor4f(red, green, blue, alpha); }
  void enable(GLenum cap) { glEnable(cap); }
  void disable(GLenum cap) { glDisable(cap); }
  void push_attrib(GLbitfield mask) { glPushAttrib(mask); }
  void pop_attrib() { glPopAttrib(); }
  void push_client_attrib(GLbitfield mask) { glPushClientAttrib(mask); }
  void pop_client_attrib() { glPopClientAttrib(); }
  void map1(GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const GLfloat* points) {
    glMap1f(target, u1, u2, stride, order, points);
  }
  void eval_coord1(GLfloat u) { glEvalCoord1f(u); }
};

// A GL as at context creation, with a pixel projection and a clear window.
void reset_gl() {
  for (const GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_LIGHTING, GL_CULL_FACE, GL_MAP1_VERTEX_3})
    glDisable(cap);
  glEnable(GL_DITHER);
  glColor4f(1, 1, 1, 1);
  glTexCoord4f(0, 0, 0, 1);
  glBlendFunc(GL_ONE, GL_ZERO);
  glListBase(0);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glBindTexture(GL_TEXTURE_2D, 0);
  const GLfloat origin[3] = {0, 0, 0};
  glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 1, origin);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 1024, 0, 768, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  while (glGetError() != GL_NO_ERROR) continue;
}

// The GL's state that the scenes touch, in words.
std::string gl_state() {
  std::ostringstream out;
  for (const GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_LIGHTING, GL_CULL_FACE, GL_DITHER})
    out << "flag " << cap << '=' << int(glIsEnabled(cap)) << ' ';
  for (const GLenum name : {GL_CURRENT_COLOR, GL_CURRENT_TEXTURE_COORDS, GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX}) {
    GLfloat values[16];
    glGetFloatv(name, values);
    out << name << ':';
    for (int i = 0; i < (name == GL_CURRENT_COLOR || name == GL_CURRENT_TEXTURE_COORDS ? 4 : 16); ++i)
      out << values[i] << ',';
  }
  for (const GLenum name : {GL_MATRIX_MODE, GL_BLEND_SRC, GL_BLEND_DST, GL_TEXTURE_BINDING_2D, GL_PACK_ALIGNMENT,
                            GL_UNPACK_ALIGNMENT, GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH}) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    out << ' ' << name << '=' << value;
  }
  return out.str();
}

// What a scene did: the answers it got, the GL's state after it and its pixels.
struct Outcome {
  std::vector<long> answers;
  std::string state;
  std::vector<std::uint32_t> pixels;
};

template <typename Gl, typename Scene>
Outcome run_scene(Gl& gl, Scene scene) {
  reset_gl();
  Outcome outcome;
  scene(gl, outcome.answers);
  outcome.state = gl_state();
  outcome.pixels = read_window_pixels();
  return outcome;
}

// Whether two 0xRRGGBB pixels are at most four levels apart in each channel.
bool few_levels_apart(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 4) return false;
  return true;
}

// Runs scene on the GL and through the emulation: the same answers, the
// same state and the same pixels, at least least_lit of them lit. With
// near_per_mille, that many pixels in a thousand lit ones may be a few
// levels apart: Mesa's own lists split quads into triangles other than its
// immediate mode does, and llvmpipe interpolates texture coordinates across
// a rotated quad's two triangles a rounding apart, which moves the sampled
// glyph edge a little.
template <typename Scene>
void expect_alike(Scene scene, int least_lit, int near_per_mille = 0) {
  DesktopGl desktop;
  const Outcome by_gl = run_scene(desktop, scene);
  GL_EMULATION emulation(desktop_gl);
  const Outcome emulated = run_scene(emulation, scene);
  int differing = 0, near = 0, lit = 0;
  std::ostringstream first;
  for (std::size_t i = 0; i < by_gl.pixels.size(); ++i) {
    lit += by_gl.pixels[i] != 0;
    if (by_gl.pixels[i] == emulated.pixels[i]) continue;
    if (few_levels_apart(by_gl.pixels[i], emulated.pixels[i])) ++near;
    else ++differing;
    if (differing + near <= 5)
      first << " (" << i % 1024 << ", " << i / 1024 << "): " << std::hex << by_gl.pixels[i] << " by GL, "
            << emulated.pixels[i] << " emulated" << std::dec;
  }
  EXPECT_EQ(differing, 0) << "of " << lit << " lit pixels; first:" << first.str();
  EXPECT_LE(near * 1000, near_per_mille * lit) << near << " a few levels apart; first:" << first.str();
  EXPECT_GE(lit, least_lit);
  EXPECT_EQ(emulated.answers, by_gl.answers);
  EXPECT_EQ(emulated.state, by_gl.state);
}

// A glyph-like bitmap: an anti-aliased ring filling width x rows, drawn
// with its bearings as a font's glyph is.
struct Glyph {
  int width, rows, left, top, advance;
  std::vector<GLubyte> coverage() const {
    std::vector<GLubyte> values(static_cast<std::size_t>(width) * rows);
    for (int j = 0; j < rows; ++j)
      for (int i = 0; i < width; ++i) {
        const double dx = (i + 0.5) / width - 0.5, dy = (j + 0.5) / rows - 0.5;
        const double edge = std::fabs(std::sqrt(dx * dx + dy * dy) - 0.35) * 6;
        values[i + width * j] = static_cast<GLubyte>(255 * std::fmax(0.0, 1.0 - edge));
      }
    return values;
  }
};

// Sizes of every kind: a one-texel column, an empty glyph, sides that are
// and are not powers of two.
const Glyph glyphs[] = {{1, 9, 1, 9, 4},   {7, 11, 0, 11, 9}, {12, 12, 2, 14, 15}, {13, 17, -1, 12, 14},
                        {20, 5, 1, 3, 22}, {0, 0, 0, 0, 8},   {16, 16, 0, 16, 17}, {3, 30, 2, 24, 6}};
constexpr int glyph_count = sizeof glyphs / sizeof glyphs[0];

struct Font {
  GLuint list_base = 0;
  GLuint textures[glyph_count] = {};
};

// Builds the glyphs' textures and lists as the text module builds a font's.
template <typename Gl>
Font build_font(Gl& gl) {
  Font font;
  glGenTextures(glyph_count, font.textures);
  font.list_base = gl.gen_lists(glyph_count);
  gl.push_client_attrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int g = 0; g < glyph_count; ++g) {
    const Glyph& glyph = glyphs[g];
    const int tw = next_power_of_two(glyph.width), th = next_power_of_two(glyph.rows);
    std::vector<GLubyte> texels(2 * tw * th, 0);
    const std::vector<GLubyte> coverage = glyph.coverage();
    for (int j = 0; j < glyph.rows; ++j)
      for (int i = 0; i < glyph.width; ++i)
        texels[2 * (i + j * tw)] = texels[2 * (i + j * tw) + 1] = coverage[i + glyph.width * j];
    glBindTexture(GL_TEXTURE_2D, font.textures[g]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, texels.data());

    const float w = float(glyph.width), r = float(glyph.rows), tx = w / float(tw), ty = r / float(th);
    gl.new_list(font.list_base + g, GL_COMPILE);
    gl.bind_texture(GL_TEXTURE_2D, font.textures[g]);
    gl.push_matrix();
    gl.translate(float(glyph.left), 0, 0);
    gl.translate(0, float(glyph.top - glyph.rows), 0);
    gl.begin(GL_QUADS);
    gl.tex_coord(0, 0);
    gl.vertex2(0, r);
    gl.tex_coord(0, ty);
    gl.vertex2(0, 0);
    gl.tex_coord(tx, ty);
    gl.vertex2(w, 0);
    gl.tex_coord(tx, 0);
    gl.vertex2(w, r);
    gl.end();
    gl.pop_matrix();
    gl.translate(float(glyph.advance), 0, 0);
    gl.end_list();
  }
  gl.pop_client_attrib();
  return font;
}

template <typename Gl>
void release_font(Gl& gl, Font& font) {
  gl.delete_lists(font.list_base, glyph_count);
  glDeleteTextures(glyph_count, font.textures);
}

// Draws lines of glyph numbers as draw_text draws its lines.
template <typename Gl>
void draw_lines(Gl& gl, const Font& font, float x, float y, const std::vector<std::vector<GLubyte>>& lines) {
  gl.push_attrib(GL_LIST_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT);
  glMatrixMode(GL_MODELVIEW);
  gl.disable(GL_LIGHTING);
  gl.enable(GL_TEXTURE_2D);
  gl.disable(GL_DEPTH_TEST);
  gl.enable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.list_base(font.list_base);
  GLfloat caller[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, caller);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    gl.push_matrix();
    glLoadIdentity();
    gl.translate(x, y - float(i) * 27.5f, 0);
    glMultMatrixf(caller);
    gl.call_lists(GLsizei(lines[i].size()), GL_UNSIGNED_BYTE, lines[i].data());
    gl.pop_matrix();
  }
  gl.pop_attrib();
}

// A quad in the current colour and texture coordinates; wound clockwise
// when clockwise, so that face culling drops it.
template <typename Gl>
void draw_probe(Gl& gl, float x, float y, float side, bool clockwise = false) {
  gl.begin(GL_QUADS);
  gl.vertex2(x, y);
  gl.vertex2(clockwise ? x : x + side, clockwise ? y + side : y);
  gl.vertex2(x + side, y + side);
  gl.vertex2(clockwise ? x + side : x, clockwise ? y : y + side);
  gl.end();
}

// Strands of cords' cables between random ends, 31 points evaluated from 0
// to 1 on a curve whose middle point's y is the sum of the ends', then
// curves of every order up to 8 over parameter ranges other than 0 to 1,
// evaluated inside and outside them, with a stride wider than a point.
template <typename Gl>
void draw_curves(Gl& gl, std::mt19937& random) {
  std::uniform_real_distribution<float> across(-100, 1124), down(-100, 868);
  for (int strand = 0; strand < 40; ++strand) {
    const float x1 = across(random), y1 = down(random) / 2, x2 = across(random), y2 = down(random) / 2;
    const GLfloat points[3][3] = {{x1, y1, 0}, {std::trunc((x1 + x2) / 2), y1 + y2, 0}, {x2, y2, 0}};
    gl.map1(GL_MAP1_VERTEX_3, 0.0f, 1.0f, 3, 3, &points[0][0]);
    gl.enable(GL_MAP1_VERTEX_3);
    gl.color(0.2f + strand / 50.0f, 1, 0.5f, 1);
    gl.begin(GL_LINE_STRIP);
    for (int i = 0; i < 31; ++i) gl.eval_coord1(float(i) / 30);
    gl.end();
  }
  for (int order = 1; order <= 8; ++order)
    for (int curve = 0; curve < 6; ++curve) {
      GLfloat points[8][4];
      for (auto& point : points) point[0] = across(random), point[1] = down(random), point[2] = 0, point[3] = 9;
      const float u1 = float(curve) - 2, u2 = u1 + 0.5f + float(order);
      gl.map1(GL_MAP1_VERTEX_3, u1, u2, 4, order, &points[0][0]);
      gl.color(order / 8.0f, 0.3f + curve / 10.0f, 1, 1);
      gl.begin(curve % 2 == 0 ? GL_LINE_STRIP : GL_POINTS);
      for (int i = -3; i <= 53; ++i) gl.eval_coord1(u1 + (u2 - u1) * float(i) / 50);
      gl.end();
    }
  gl.disable(GL_MAP1_VERTEX_3);
}

class GlEmulation : public testing::Test {
 protected:
  static void SetUpTestSuite() { ensure_video(); }
};

}  // namespace

TEST_F(GlEmulation, GlyphListsDrawLinesAsTheGlDoes) {
  expect_alike(
      [](auto& gl, std::vector<long>& answers) {
        Font font = build_font(gl);
        // The caller's state, which the drawing must give back.
        gl.color(0.9f, 0.6f, 0.3f, 0.8f);
        gl.enable(GL_DEPTH_TEST);
        gl.enable(GL_CULL_FACE);
        gl.list_base(font.list_base + 2);
        const std::vector<std::vector<GLubyte>> lines = {{0, 1, 2, 3, 4, 5, 6, 7}, {7, 5, 3, 1}, {}, {2, 2, 6}};
        draw_lines(gl, font, 40, 700, lines);
        glMatrixMode(GL_MODELVIEW);
        glRotatef(30, 0, 0, 1);
        glScalef(1.7f, 1.7f, 1);
        draw_lines(gl, font, 300, 500, lines);
        glLoadIdentity();
        glTranslatef(0.5f, 0.25f, 0);
        glScalef(0.6f, 0.6f, 1);
        glMatrixMode(GL_PROJECTION);  // as a label's caller may leave it
        draw_lines(gl, font, 600, 300, lines);
        GLint matrix_mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &matrix_mode);
        answers.push_back(matrix_mode);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();

        // Texturing and blending are off again, culling and the depth test
        // on, the colour and the list base back.
        draw_probe(gl, 700, 600, 40);
        draw_probe(gl, 760, 600, 40, true);
        gl.enable(GL_TEXTURE_2D);
        const GLubyte first_two[] = {0, 1};
        gl.translate(20, 100, 0);
        gl.call_lists(2, GL_UNSIGNED_BYTE, first_two);
        gl.disable(GL_TEXTURE_2D);
        release_font(gl, font);
      },
      3000, 3);
}

// Without the current bit: Mesa 22 does not always give the colour back
// from a nested push (see the test on the emulation alone below).
TEST_F(GlEmulation, AttributeStacksRestoreWhatTheGlRestores) {
  expect_alike(
      [](auto& gl, std::vector<long>&) {
        Font font = build_font(gl);
        gl.bind_texture(GL_TEXTURE_2D, font.textures[6]);
        gl.tex_coord(0.85f, 0.5f);  // on the ring: probes take one texel
        gl.color(0.9f, 0.5f, 0.2f, 1);
        glBlendFunc(GL_ONE, GL_ONE);
        const GLfloat point[3] = {500, 500, 0};
        gl.map1(GL_MAP1_VERTEX_3, 0, 1, 3, 1, point);

        gl.push_attrib(GL_ENABLE_BIT);
        gl.enable(GL_TEXTURE_2D);
        gl.enable(GL_BLEND);
        gl.disable(GL_DITHER);
        gl.enable(GL_MAP1_VERTEX_3);
        gl.push_attrib(GL_TRANSFORM_BIT | GL_LIST_BIT);
        glMatrixMode(GL_TEXTURE);
        gl.list_base(font.list_base + 3);
        gl.push_attrib(GL_ENABLE_BIT);
        gl.disable(GL_TEXTURE_2D);
        gl.enable(GL_LIGHTING);
        gl.enable(GL_CULL_FACE);
        draw_probe(gl, 10, 10, 30);
        gl.pop_attrib();
        draw_probe(gl, 50, 10, 30);        // textured, blended
        draw_probe(gl, 90, 10, 30, true);  // not culled
        glMatrixMode(GL_MODELVIEW);
        const GLubyte first = 0;
        gl.push_matrix();
        gl.translate(200, 10, 0);
        gl.call_lists(1, GL_UNSIGNED_BYTE, &first);  // glyph 3, from the pushed base
        gl.pop_matrix();
        gl.pop_attrib();
        // The matrix mode is the model-view's again, the base 0.
        const GLuint glyph_1 = font.list_base + 1;
        gl.push_matrix();
        gl.translate(300, 10, 0);
        gl.call_lists(1, GL_UNSIGNED_INT, &glyph_1);
        gl.pop_matrix();
        gl.begin(GL_POINTS);
        gl.eval_coord1(0.5f);  // the evaluator still on
        gl.end();
        gl.pop_attrib();
        gl.begin(GL_POINTS);
        gl.eval_coord1(0.5f);  // and now off: no point
        gl.end();
        draw_probe(gl, 130, 10, 30);  // plain

        // Seventeen pushes: the last one is refused, so is the last pop.
        for (int i = 0; i < 17; ++i) {
          gl.push_attrib(GL_ENABLE_BIT);
          if (i % 2 == 0) gl.enable(GL_TEXTURE_2D);
          else gl.disable(GL_TEXTURE_2D);
          if (i % 3 == 0) gl.enable(GL_BLEND);
          else gl.disable(GL_BLEND);
        }
        for (int i = 0; i < 17; ++i) {
          gl.pop_attrib();
          draw_probe(gl, 10 + 40 * float(i), 60, 30);
        }

        // A label's order: its own transform push around draw_text's.
        glMatrixMode(GL_PROJECTION);
        gl.push_attrib(GL_TRANSFORM_BIT);
        glMatrixMode(GL_MODELVIEW);
        gl.push_attrib(GL_TRANSFORM_BIT);
        glMatrixMode(GL_PROJECTION);
        gl.push_attrib(GL_LIST_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT);
        glMatrixMode(GL_TEXTURE);
        gl.pop_attrib();
        gl.pop_attrib();
        gl.pop_attrib();
        gl.push_client_attrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 8);
        gl.push_client_attrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
        gl.pop_client_attrib();
        gl.pop_client_attrib();
        gl.pop_client_attrib();  // refused
        release_font(gl, font);
      },
      10000);
}

TEST_F(GlEmulation, EvaluatedCurvesLightTheGlsPixels) {
  expect_alike(
      [](auto& gl, std::vector<long>& answers) {
        std::mt19937 random(24);
        draw_curves(gl, random);
        gl.begin(GL_POINTS);
        gl.eval_coord1(0.5f);  // the map is off: no point
        gl.end();

        // The vertices themselves, to the last bit, as the GL hands them
        // back in feedback mode.
        std::vector<GLfloat> feedback(40000);
        glFeedbackBuffer(GLsizei(feedback.size()), GL_3D, feedback.data());
        glRenderMode(GL_FEEDBACK);
        draw_curves(gl, random);
        const GLint values = glRenderMode(GL_RENDER);
        EXPECT_GT(values, 0) << "the feedback buffer holds every vertex";
        for (GLint i = 0; i < values; ++i) {
          std::uint32_t bits;
          std::memcpy(&bits, &feedback[i], sizeof bits);
          answers.push_back(bits);
        }
      },
      20000);
}

TEST_F(GlEmulation, ListNamesCallsAndOffsetTypesFollowTheGl) {
  expect_alike(
      [](auto& gl, std::vector<long>& answers) {
        Font font = build_font(gl);
        const GLuint base = gl.gen_lists(3);
        answers.push_back(gl.gen_lists(0));
        for (GLuint list : {0u, base, base + 2, base + 3}) answers.push_back(gl.is_list(list));
        // A list compiled and run at once, then run again; a list
        // recompiled; a name 0 refused, its calls then running at once.
        gl.new_list(base, GL_COMPILE_AND_EXECUTE);
        gl.color(1, 1, 0, 1);
        draw_probe(gl, 10, 700, 20);
        gl.end_list();
        gl.translate(30, 0, 0);
        gl.call_list(base);
        gl.new_list(base + 1, GL_COMPILE);
        draw_probe(gl, 100, 700, 20);
        gl.end_list();
        gl.new_list(base + 1, GL_COMPILE);
        gl.color(0, 1, 1, 1);
        draw_probe(gl, 150, 700, 20);
        gl.end_list();
        gl.call_list(base + 1);
        gl.new_list(0, GL_COMPILE);
        draw_probe(gl, 200, 700, 20);
        gl.end_list();
        gl.end_list();
        glLoadIdentity();

        // Offsets of every type, negative ones below the base, names
        // without a list skipped.
        gl.enable(GL_TEXTURE_2D);
        gl.list_base(font.list_base + 4);
        const GLubyte ubytes[] = {0, 3, 200};
        const GLbyte bytes[] = {-4, -1, 2};
        const GLushort ushorts[] = {1, 3, 60000};
        const GLshort shorts[] = {-3, -2, 0};
        const GLuint uints[] = {2, 0, 1000000};
        const GLint ints[] = {-4, 3, -100000};
        const std::pair<GLenum, const GLvoid*> arrays[] = {{GL_UNSIGNED_BYTE, ubytes},   {GL_BYTE, bytes},
                                                           {GL_UNSIGNED_SHORT, ushorts}, {GL_SHORT, shorts},
                                                           {GL_UNSIGNED_INT, uints},     {GL_INT, ints}};
        for (std::size_t i = 0; i < 6; ++i) {
          gl.push_matrix();
          gl.translate(20, 600 - 40 * float(i), 0);
          gl.call_lists(3, arrays[i].first, arrays[i].second);
          gl.pop_matrix();
        }
        gl.disable(GL_TEXTURE_2D);
        gl.delete_lists(base, 2);
        for (GLuint list : {base, base + 1, base + 2}) answers.push_back(gl.is_list(list));
        gl.call_list(base + 1);  // deleted: draws nothing
        gl.delete_lists(base + 2, 1);
        release_font(gl, font);
        answers.push_back(gl.is_list(font.list_base));
      },
      1800);
}

TEST(GlEmulationAlone, TheCurrentColourAndCoordinatesComeBackFromEveryDepth) {
  static std::vector<std::vector<GLfloat>>* sent;
  std::vector<std::vector<GLfloat>> calls;
  sent = &calls;
  GL_CALLS recording = {};
  recording.color = [](GLfloat r, GLfloat g, GLfloat b, GLfloat a) { sent->push_back({r, g, b, a}); };
  recording.tex_coord = [](GLfloat s, GLfloat t) { sent->push_back({s, t}); };
  recording.get_integer = [](GLenum, GLint* value) { *value = 0; };
  GL_EMULATION gl(recording);
  testing::internal::CaptureStderr();
  for (int i = 0; i < 17; ++i) {
    gl.push_attrib(i % 2 == 0 ? GL_CURRENT_BIT : GL_CURRENT_BIT | GL_ENABLE_BIT);
    gl.color(float(i), 1, 2, 3);
    gl.tex_coord(float(i), 4);
  }
  calls.clear();
  for (int i = 0; i < 17; ++i) gl.pop_attrib();
  testing::internal::GetCapturedStderr();
  // The sixteen frames give back, innermost first, what was set before
  // each push (the seventeenth push was refused); the first push saved the
  // initial white and (0, 0).
  std::vector<std::vector<GLfloat>> expected;
  for (int i = 14; i >= 0; --i) expected.insert(expected.end(), {{float(i), 1, 2, 3}, {float(i), 4}});
  expected.insert(expected.end(), {{1, 1, 1, 1}, {0, 0}});
  EXPECT_EQ(calls, expected);
}

TEST(GlEmulationMisuse, CallsItCannotRecordOrRefusesAreSaidOnceAndChangeNothing) {
  static std::vector<std::string>* log;
  std::vector<std::string> calls;
  log = &calls;
  GL_CALLS recording = {};
  recording.vertex3 = [](GLfloat x, GLfloat y, GLfloat z) {
    log->push_back("vertex " + std::to_string(x) + ' ' + std::to_string(y) + ' ' + std::to_string(z));
  };
  recording.get_integer = [](GLenum, GLint* value) { *value = 0; };
  recording.matrix_mode = [](GLenum) { log->push_back("matrix mode"); };
  GL_EMULATION gl(recording);
  const GLfloat line[2][3] = {{0, 0, 0}, {10, 20, 30}};

  testing::internal::CaptureStderr();
  gl.new_list(gl.gen_lists(1), GL_COMPILE);
  gl.push_attrib(GL_TRANSFORM_BIT);
  gl.push_attrib(GL_TRANSFORM_BIT);
  gl.map1(GL_MAP1_VERTEX_3, 0, 1, 3, 2, &line[0][0]);
  gl.end_list();
  gl.pop_attrib();  // nothing was pushed
  gl.map1(GL_MAP1_COLOR_4, 0, 1, 4, 2, &line[0][0]);
  gl.map1(GL_MAP1_VERTEX_3, 1, 1, 3, 2, &line[0][0]);
  gl.map1(GL_MAP1_VERTEX_3, 0, 1, 2, 2, &line[0][0]);
  gl.map1(GL_MAP1_VERTEX_3, 0, 1, 3, 31, &line[0][0]);
  gl.enable(GL_MAP1_VERTEX_3);
  gl.eval_coord1(0.5f);  // the map at its start: order 1 at the origin
  gl.map1(GL_MAP1_VERTEX_3, 0, 2, 3, 2, &line[0][0]);
  gl.eval_coord1(1.0f);
  gl.push_attrib(GL_COLOR_BUFFER_BIT | GL_TRANSFORM_BIT);
  gl.pop_attrib();
  gl.call_lists(1, GL_FLOAT, line);
  const std::string said = testing::internal::GetCapturedStderr();

  EXPECT_EQ(calls, (std::vector<std::string>{"vertex 0.000000 0.000000 0.000000", "vertex 5.000000 10.000000 15.000000",
                                             "matrix mode"}));
  const char* expected[] = {
      "glPushAttrib inside a list is not recorded",
      "glMap1f inside a list is not recorded",
      "glPopAttrib ignored: the stack is empty",
      "glMap1f ignored: only GL_MAP1_VERTEX_3",
      "glPushAttrib saves only the current, enable, transform and list bits",
      "glCallLists ignored: offsets of an unknown type",
  };
  for (const char* message : expected) EXPECT_NE(said.find(message), std::string::npos) << message << "\n" << said;
  EXPECT_EQ(said.find("glPushAttrib inside"), said.rfind("glPushAttrib inside")) << "said once";
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 6) << said;
}
