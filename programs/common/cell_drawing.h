// The two ways a frame's cells reach the window. Both show the same pixels:
// - PointDrawing calls draw_square for every cell: immediate-mode GL points.
// - UploadDrawing paints the cells into a CPU picture of the window and
//   presents it with one texture upload and one quad.
#pragma once

#include "common/frame_painter.h"

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

  void begin_frame() override { frame_.clear(); }
  CellPainter& painter() override { return frame_; }
  // Uploads the picture and draws it over the whole window, one texel on
  // each pixel, under the pixel projection of the frame.
  void end_frame() override;

 private:
  void upload(const PixelBounds& painted);
  void draw_quad(const PixelBounds& painted);

  FramePainter frame_;
  unsigned texture_ = 0;
};

// The path the programs use: UploadDrawing, or PointDrawing when the
// environment variable GRAINS_DRAW is "points".
bool points_drawing_requested();
