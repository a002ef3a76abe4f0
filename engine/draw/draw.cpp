#include "draw/draw.h"

#include <GL/gl.h>

using grains::FILLED_RECT_DROP;
using grains::TEXTURED_QUAD_DROP;

int view_offset_x = 0;
int view_offset_y = 0;

namespace {

// Turns blending on with the given function and depth testing off.
void blend_with(GLenum source, GLenum destination) {
  glBlendFunc(source, destination);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
}

// The state every primitive assumes and restores: blending off, depth on.
void stop_blending() {
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
}

}  // namespace

void draw_textured_quad(const int* texture, float x, float y, float z, float angle_x, float angle_y, float angle_z,
                        float half_a, float half_b, int additive, int substractive, int alpha) {
  const bool translucent = alpha != 255;
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(x - view_offset_x, y + TEXTURED_QUAD_DROP - view_offset_y, z);
  glRotatef(angle_x, 1.0f, 0.0f, 0.0f);
  glRotatef(angle_y, 0.0f, 1.0f, 0.0f);
  glRotatef(angle_z, 0.0f, 0.0f, 1.0f);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, *texture);

  if (translucent) blend_with(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (additive) blend_with(GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR);
  if (substractive) blend_with(GL_DST_COLOR, GL_ZERO);
  if (translucent) glColor4ub(255, 255, 255, alpha);

  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-half_b, half_a, 0.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(half_b, half_a, 0.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(half_b, -half_a, 0.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(-half_b, -half_a, 0.0f);
  glEnd();

  if (additive || substractive || translucent) stop_blending();
  glColor4ub(255, 255, 255, 255);
  glPopMatrix();
  glDisable(GL_TEXTURE_2D);
}

void draw_filled_rect(int x, int y, int width, int height, std::uint32_t colour) {
  const GLubyte alpha = colour >> 24, red = colour >> 16, green = colour >> 8, blue = colour;
  const bool translucent = alpha != 0xFF;
  if (translucent) blend_with(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4ub(red, green, blue, alpha);
  const int left = x - view_offset_x, top = y + FILLED_RECT_DROP - view_offset_y;
  glRecti(left, top, left + width, top + height);
  glColor4ub(255, 255, 255, 255);
  if (translucent) stop_blending();
}
