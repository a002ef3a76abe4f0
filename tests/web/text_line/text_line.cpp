#include "text_line/text_line.h"

#include "text/font_data.h"
#include "video/video.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

constexpr const char* FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

FONT_DATA font;

// A cord's strand: a quadratic Bézier curve of 31 evaluated points.
void draw_curve(const GLfloat (&points)[3][3]) {
  glMap1f(GL_MAP1_VERTEX_3, 0.0f, 1.0f, 3, 3, &points[0][0]);
  glEnable(GL_MAP1_VERTEX_3);
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i < 31; ++i) glEvalCoord1f(static_cast<GLfloat>(i) / 30);
  glEnd();
  glDisable(GL_MAP1_VERTEX_3);
}

}  // namespace

void start_text_line() {
  start_video(TEXT_LINE_WIDTH, TEXT_LINE_HEIGHT, nullptr);
  try {
    font.build(FONT_FILE, 32);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "text_line: cannot build %s: %s\n", FONT_FILE, error.what());
    std::exit(1);
  }
}

void draw_text_line() {
  push_ortho(0, 0, TEXT_LINE_WIDTH, TEXT_LINE_HEIGHT);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glColor3ub(255, 220, 120);
  draw_text(font, 30, 700, "The quick brown fox jumps over the lazy dog.");
  glColor3ub(120, 200, 255);
  draw_text(font, 30, 620, "0123456789 !\"#$%%&'()*+,-./:;<=>?\n@[\\]^_`{|}~ and a line %d pixels lower", 51);
  glRotatef(20.0f, 0.0f, 0.0f, 1.0f);
  glScalef(0.75f, 0.75f, 1.0f);
  draw_text(font, 200, 300, "Turned and scaled, as a label");
  glLoadIdentity();
  glColor3ub(80, 255, 80);
  const GLfloat hanging[3][3] = {{100, 400, 0}, {500, 900, 0}, {900, 400, 0}};
  draw_curve(hanging);
  glColor4ub(255, 255, 255, 255);
  pop_ortho();
}
