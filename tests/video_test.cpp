// Video start-up state, projections and draw_square, read back from GL.
#include "video/video.h"

#include "common/frame_painter.h"
#include "support/gl_window.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

class Video : public testing::Test {
 protected:
  void SetUp() override { ensure_video(); }

  static void begin_pixel_frame() {
    push_ortho(0, 0, 1024, 768);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT);
  }
};

void expect_identity(GLenum which) {
  GLfloat m[16];
  glGetFloatv(which, m);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
}

GLint get_int(GLenum what) {
  GLint value = 0;
  glGetIntegerv(what, &value);
  return value;
}

}  // namespace

// Runs first: the state start_video leaves before any frame.
TEST_F(Video, StartUpLeavesTheFixedState) {
  EXPECT_EQ(screen_width, 1024);
  EXPECT_EQ(screen_height, 768);
  ASSERT_NE(screen_surface, nullptr);
  EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_PROJECTION);
  expect_identity(GL_PROJECTION_MATRIX);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LEQUAL);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(get_int(GL_SHADE_MODEL), GL_SMOOTH);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 1024);
  EXPECT_EQ(viewport[3], 768);
  int double_buffered = 0;
  SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &double_buffered);
  EXPECT_EQ(double_buffered, 1);
}

TEST_F(Video, PerspectiveWithHeightZeroUsesOne) {
  set_perspective(300, 0, 1);
  EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_MODELVIEW);
  expect_identity(GL_MODELVIEW_MATRIX);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 1);
  GLfloat m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  const float focal = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
  EXPECT_NEAR(m[5], focal, 1e-4);
  EXPECT_NEAR(m[0], focal / 300.0f, 1e-6);
  set_perspective(1024, 768, 0);
  expect_identity(GL_PROJECTION_MATRIX);
}

TEST_F(Video, OrthoPushAndPopRestoreTheProjection) {
  GLfloat before[16], after[16];
  glMatrixMode(GL_PROJECTION);
  glGetFloatv(GL_PROJECTION_MATRIX, before);
  const GLint depth = get_int(GL_PROJECTION_STACK_DEPTH);
  push_ortho(0, 0, 1024, 768);
  EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_MODELVIEW);
  EXPECT_EQ(get_int(GL_PROJECTION_STACK_DEPTH), depth + 1);
  GLfloat ortho[16];
  glGetFloatv(GL_PROJECTION_MATRIX, ortho);
  EXPECT_FLOAT_EQ(ortho[0], 2.0f / 1024);
  EXPECT_FLOAT_EQ(ortho[5], -2.0f / 768);  // y grows downwards
  pop_ortho();
  glGetFloatv(GL_PROJECTION_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]);
  EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(Video, SquaresAreSizeBySizePointsAtFullOpacity) {
  const struct {
    float size;
    int points;
  } cases[] = {{1.0f, 1}, {2.0f, 4}, {2.5f, 9}, {4.0f, 16}};
  for (const auto& c : cases) {
    begin_pixel_frame();
    const GLint depth = get_int(GL_MODELVIEW_STACK_DEPTH);
    draw_square(100, 100, 0x0000FF00, c.size);  // alpha byte 0
    EXPECT_EQ(get_int(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_EQ(count_lit_pixels(), c.points) << "size " << c.size;
    EXPECT_EQ(window_pixel(100, 100), 0x00FF00u);
    pop_ortho();
  }
}

TEST_F(Video, SquaresLightThePixelsFromTheirTopLeftCorner) {
  begin_pixel_frame();
  draw_square(10, 0, 0xFFFFFF, 1.0f);
  EXPECT_EQ(window_pixel(10, 0), 0xFFFFFFu);
  draw_square(20, 20, 0x00FF00, 2.0f);
  for (const auto& [x, y] : {std::pair{20, 20}, {21, 20}, {20, 21}, {21, 21}})
    EXPECT_EQ(window_pixel(x, y), 0x00FF00u) << x << "," << y;
  draw_square(1023, 767, 0xFF0000, 1.0f);
  EXPECT_EQ(window_pixel(1023, 767), 0xFF0000u);
  draw_square(1023, 768, 0xFF0000, 1.0f);  // below the window
  EXPECT_EQ(count_lit_pixels(), 1 + 4 + 1);
  pop_ortho();
}

TEST_F(Video, CpuFrameMatchesTheGlPointsPixelForPixel) {
  begin_pixel_frame();
  FramePainter frame;
  GlPointPainter points;
  // Rows at the window's top and bottom edges and past its right edge, for
  // each cell size, with gaps and colours carrying alpha bytes.
  const struct {
    int row, size;
  } rows[] = {{0, 2}, {383, 2}, {384, 2}, {100, 2}, {0, 4}, {191, 4}, {150, 4}, {3, 1}, {767, 1}, {768, 1}, {80, 3}};
  std::vector<std::uint32_t> colours(400);
  for (std::size_t x = 0; x < colours.size(); ++x)
    colours[x] = x % 3 == 1 ? 0 : 0x01000000u * (x % 256) + 0x00FFFFFFu / (x % 7 + 1);
  for (const auto& r : rows) {
    points.row(r.row, colours.data(), static_cast<int>(colours.size()), r.size);
    frame.row(r.row, colours.data(), static_cast<int>(colours.size()), r.size);
  }
  const auto gl = read_window_pixels();
  int differences = 0, lit = 0;
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) {
      differences += gl[y * 1024 + x] != (frame.pixel(x, y) & 0xFFFFFF);
      lit += gl[y * 1024 + x] != 0;
    }
  EXPECT_EQ(differences, 0);
  EXPECT_GT(lit, 5000);  // the comparison saw drawn pixels, not only black
  pop_ortho();
}
