// The two ways a frame's cells reach the window. Both show the same pixels:
// - PointDrawing calls draw_square for every cell: immediate-mode GL points.
// - UploadDrawing writes each cell as one texel of a CPU image and presents
//   it with one texture upload and one quad, magnified by the cell size.
#pragma once

#include "common/cell_image.h"

#include <memory>

class CellDrawing {
 public:
  virtual ~CellDrawing() = default;
  virtual void begin_frame() {}
  virtual CellPainter& painter() = 0;
  virtual void end_frame() {}
};

class PointDrawing final : public CellDrawing {
 public:
  CellPainter& painter() override { return points_; }

 private:
  GlPointPainter points_;
};

class UploadDrawing final : public CellDrawing {
 public:
  UploadDrawing() = default;
  UploadDrawing(const UploadDrawing&) = delete;
  UploadDrawing& operator=(const UploadDrawing&) = delete;
  ~UploadDrawing() override;

  // Whether the current GL can hold the cells' texture.
  static bool available();

  void begin_frame() override { image_.clear(); }
  CellPainter& painter() override { return image_; }
  // Uploads the cells drawn and draws them as one quad under the pixel
  // projection of the frame, each texel a cell-sized square of pixels.
  void end_frame() override;

 private:
  void upload(const PixelBounds& cells);
  void draw_quad(const PixelBounds& cells, int size);

  CellImage image_;
  unsigned texture_ = 0;
};

// The path the programs use: UploadDrawing, or PointDrawing when the
// environment variable GRAINS_DRAW is "points" or the GL cannot hold the
// upload path's texture. Needs the GL context.
std::unique_ptr<CellDrawing> make_cell_drawing();
