#include "common/cell_drawing.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

UploadDrawing::~UploadDrawing() {
  if (texture_ != 0) glDeleteTextures(1, &texture_);
}

void UploadDrawing::end_frame() {
  // Outside the painted rectangle the window stays as glClear left it.
  const PixelBounds& painted = frame_.painted();
  if (painted.empty()) return;
  constexpr int W = FramePainter::WIDTH, H = FramePainter::HEIGHT;
  if (texture_ == 0) {
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, W, H, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
  }
  glBindTexture(GL_TEXTURE_2D, texture_);
  upload(painted);
  draw_quad(painted);
}

// The painted rectangle goes to the texture's top-left corner.
void UploadDrawing::upload(const PixelBounds& painted) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, FramePainter::WIDTH);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, painted.left);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, painted.top);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, painted.width(), painted.height(), GL_BGRA,
                  GL_UNSIGNED_INT_8_8_8_8_REV, frame_.pixels());
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
}

// One texel on each pixel: the quad's edges lie on pixel edges, so every
// pixel centre samples the centre of its own texel. Texture row 0 is the
// rectangle's top row, as y grows downwards under the pixel projection.
void UploadDrawing::draw_quad(const PixelBounds& painted) {
  const float s = static_cast<float>(painted.width()) / FramePainter::WIDTH;
  const float t = static_cast<float>(painted.height()) / FramePainter::HEIGHT;
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2i(painted.left, painted.top);
  glTexCoord2f(s, 0.0f);
  glVertex2i(painted.right, painted.top);
  glTexCoord2f(s, t);
  glVertex2i(painted.right, painted.bottom);
  glTexCoord2f(0.0f, t);
  glVertex2i(painted.left, painted.bottom);
  glEnd();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glDisable(GL_TEXTURE_2D);
}

bool points_drawing_requested() {
  const char* choice = std::getenv("GRAINS_DRAW");
  return choice != nullptr && std::strcmp(choice, "points") == 0;
}
