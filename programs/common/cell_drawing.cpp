#include "common/cell_drawing.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

UploadDrawing::~UploadDrawing() {
  if (texture_ != 0) glDeleteTextures(1, &texture_);
}

void UploadDrawing::end_frame() {
  // Outside the drawn cells the window stays as glClear left it.
  const PixelBounds& cells = image_.drawn();
  if (cells.empty()) return;
  if (texture_ == 0) {
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, CellImage::COLUMNS, CellImage::ROWS, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
  }
  glBindTexture(GL_TEXTURE_2D, texture_);
  upload(cells);
  draw_quad(cells, image_.cell_size());
}

// The drawn cells go to the texture's top-left corner. Texels keep the
// colours' alpha bytes, as draw_square's glColor4ub does.
void UploadDrawing::upload(const PixelBounds& cells) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, CellImage::COLUMNS);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, cells.left);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, cells.top);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, cells.width(), cells.height(), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                  image_.texels());
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
}

// A point at integer (x, y) lights column x of window row y - 1, so the
// square of cell (X, Y) covers columns size * X onwards and rows from
// size * Y - 1: the quad starts one row above the cells' top. Each pixel
// centre then falls inside its cell's texel, at least 1/(2 size) of a texel
// from its edges, so nearest sampling picks exactly that texel; GL clips
// what lies outside the window. Texture row 0 is the top row of cells.
void UploadDrawing::draw_quad(const PixelBounds& cells, int size) {
  const int left = size * cells.left, right = size * cells.right;
  const int top = size * cells.top - 1, bottom = size * cells.bottom - 1;
  const float s = static_cast<float>(cells.width()) / CellImage::COLUMNS;
  const float t = static_cast<float>(cells.height()) / CellImage::ROWS;
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2i(left, top);
  glTexCoord2f(s, 0.0f);
  glVertex2i(right, top);
  glTexCoord2f(s, t);
  glVertex2i(right, bottom);
  glTexCoord2f(0.0f, t);
  glVertex2i(left, bottom);
  glEnd();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glDisable(GL_TEXTURE_2D);
}

bool points_drawing_requested() {
  const char* choice = std::getenv("GRAINS_DRAW");
  return choice != nullptr && std::strcmp(choice, "points") == 0;
}
