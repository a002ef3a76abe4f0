// An animated GIF written picture by picture with giflib. Each picture
// after the first is written as the rectangle of pixels that changed, the
// unchanged ones in it transparent, so long runs stay small; a picture
// equal to the one before only lengthens its time. Colours are exact: each
// picture carries the colours of its changed pixels (at most 255).
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <string>
#include <vector>

class GifAnimation {
 public:
  GifAnimation() = default;
  GifAnimation(const GifAnimation&) = delete;
  GifAnimation& operator=(const GifAnimation&) = delete;
  ~GifAnimation();

  // Starts a looping animation of width x height pictures at path.
  bool open(const std::string& path, int width, int height, std::string& error);
  // Adds the top-left width x height pixels of a picture whose rows are
  // `stride` pixels of 0xAARRGGBB (alpha ignored), shown for `delay`
  // hundredths of a second.
  bool add(const std::uint32_t* pixels, int stride, long delay, std::string& error);
  // Writes what is pending and ends the file.
  bool close(std::string& error);

 private:
  using Picture = std::vector<std::uint32_t>;
  struct Rectangle {
    int left, top, width, height;
  };

  bool write_pending(std::string& error);
  // One picture: the changes from what is shown, shown for delay (at most
  // 65535) hundredths.
  bool write_changes(const Picture& picture, int delay, std::string& error);
  Rectangle changed_rectangle(const Picture& picture) const;
  bool failed(const char* what, std::string& error);

  GifFileType* gif_ = nullptr;
  int width_ = 0, height_ = 0;
  Picture shown_;         // what the pictures written so far show
  bool started_ = false;  // whether a picture has been written
  Picture pending_;       // the last picture added, not yet written
  long pending_delay_ = 0;
};
