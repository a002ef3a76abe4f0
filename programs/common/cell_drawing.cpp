#include "common/cell_drawing.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int power_of_two_at_least(int n) {
  int power = 1;
  while (power < n) power *= 2;
  return power;
}

// The cells' texture: power-of-two sides, which every GL can hold. Each cell
// keeps its texel at its own column and row; only the drawn ones are
// uploaded.
constexpr int TEXTURE_WIDTH = power_of_two_at_least(CellImage::COLUMNS);
constexpr int TEXTURE_HEIGHT = power_of_two_at_least(CellImage::ROWS);

// How texels are laid out for GL: a colour's 0xAARRGGBB word (the
// browser's GL seam reorders them for WebGL).
constexpr GLint TEXTURE_FORMAT = GL_RGBA8;
constexpr GLenum TEXEL_FORMAT = GL_BGRA, TEXEL_TYPE = GL_UNSIGNED_INT_8_8_8_8_REV;

}  // namespace

bool UploadDrawing::available() {
  glTexImage2D(GL_PROXY_TEXTURE_2D, 0, TEXTURE_FORMAT, TEXTURE_WIDTH, TEXTURE_HEIGHT, 0, TEXEL_FORMAT, TEXEL_TYPE,
               nullptr);
  GLint width = 0;
  glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  return width == TEXTURE_WIDTH;
}

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
    glTexImage2D(GL_TEXTURE_2D, 0, TEXTURE_FORMAT, TEXTURE_WIDTH, TEXTURE_HEIGHT, 0, TEXEL_FORMAT, TEXEL_TYPE, nullptr);
  }
  glBindTexture(GL_TEXTURE_2D, texture_);
  upload(cells);
  draw_quad(cells, image_.cell_size());
}

// The drawn cells go to their place in the texture. Texels keep the
// colours' alpha bytes, as draw_square's glColor4ub does.
void UploadDrawing::upload(const PixelBounds& cells) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, CellImage::COLUMNS);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, cells.left);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, cells.top);
  glTexSubImage2D(GL_TEXTURE_2D, 0, cells.left, cells.top, cells.width(), cells.height(), TEXEL_FORMAT, TEXEL_TYPE,
                  image_.texels());
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
}

// The square of cell (X, Y) covers the pixels from (size * X, size * Y) on,
// so the quad's corners are the cells' corners times the size. Each pixel
// centre then falls inside its cell's texel, at least 1/(2 size) of a texel
// from its edges, so nearest sampling picks exactly that texel; GL clips
// what lies outside the window. Texture row 0 is the top row of cells.
void UploadDrawing::draw_quad(const PixelBounds& cells, int size) {
  const float s0 = static_cast<float>(cells.left) / TEXTURE_WIDTH, s1 = static_cast<float>(cells.right) / TEXTURE_WIDTH;
  const float t0 = static_cast<float>(cells.top) / TEXTURE_HEIGHT,
              t1 = static_cast<float>(cells.bottom) / TEXTURE_HEIGHT;
  const int left = size * cells.left, right = size * cells.right;
  const int top = size * cells.top, bottom = size * cells.bottom;
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glBegin(GL_QUADS);
  glTexCoord2f(s0, t0);
  glVertex2i(left, top);
  glTexCoord2f(s1, t0);
  glVertex2i(right, top);
  glTexCoord2f(s1, t1);
  glVertex2i(right, bottom);
  glTexCoord2f(s0, t1);
  glVertex2i(left, bottom);
  glEnd();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glDisable(GL_TEXTURE_2D);
}

std::unique_ptr<CellDrawing> make_cell_drawing() {
  const char* choice = std::getenv("GRAINS_DRAW");
  const bool points_requested = choice != nullptr && std::strcmp(choice, "points") == 0;
  if (points_requested || !UploadDrawing::available()) return std::make_unique<PointDrawing>();
  return std::make_unique<UploadDrawing>();
}
