#include "grains_sim/gif_animation.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_map>

namespace {

// The longest time one GIF picture can be shown, in hundredths of a second.
constexpr long LONGEST_DELAY = 65535;
constexpr int MOST_COLOURS = 255;  // one index stays free for transparency

bool put_loop_forever(GifFileType* gif) {
  static const GifByteType NETSCAPE[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static const GifByteType FOREVER[] = {1, 0, 0};
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof NETSCAPE, NETSCAPE) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof FOREVER, FOREVER) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
}

int power_of_two_at_least(int n) {
  int power = 2;
  while (power < n) power *= 2;
  return power;
}

// The colours of a picture's changed pixels, each given an index.
class ColourIndex {
 public:
  // The index of colour, added when new; -1 when there is no room.
  int of(std::uint32_t colour) {
    if (colour == last_colour_ && last_index_ >= 0) return last_index_;
    auto [entry, added] = indices_.try_emplace(colour, static_cast<int>(colours_.size()));
    if (added) {
      if (colours_.size() == MOST_COLOURS) return -1;
      colours_.push_back({GifByteType(colour >> 16), GifByteType(colour >> 8), GifByteType(colour)});
    }
    last_colour_ = colour;
    return last_index_ = entry->second;
  }
  int count() const { return static_cast<int>(colours_.size()); }
  const std::vector<GifColorType>& colours() const { return colours_; }

 private:
  std::unordered_map<std::uint32_t, int> indices_;
  std::vector<GifColorType> colours_;
  std::uint32_t last_colour_ = 0;
  int last_index_ = -1;
};

}  // namespace

GifAnimation::~GifAnimation() {
  if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
}

bool GifAnimation::failed(const char* what, std::string& error) {
  error = std::string(what) + ": " + GifErrorString(gif_ != nullptr ? gif_->Error : E_GIF_ERR_WRITE_FAILED);
  return false;
}

bool GifAnimation::open(const std::string& path, int width, int height, std::string& error) {
  // Opened here rather than by giflib, which would make the file readable
  // by its owner only.
  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (file < 0) {
    error = std::strerror(errno);
    return false;
  }
  int code = 0;
  gif_ = EGifOpenFileHandle(file, &code);
  if (gif_ == nullptr) {
    ::close(file);
    error = GifErrorString(code);
    return false;
  }
  width_ = width;
  height_ = height;
  shown_.assign(static_cast<std::size_t>(width) * height, 0);
  EGifSetGifVersion(gif_, true);
  if (EGifPutScreenDesc(gif_, width, height, 8, 0, nullptr) != GIF_OK || !put_loop_forever(gif_))
    return failed("cannot start the animation", error);
  return true;
}

bool GifAnimation::add(const std::uint32_t* pixels, int stride, long delay, std::string& error) {
  Picture picture(static_cast<std::size_t>(width_) * height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) picture[y * width_ + x] = pixels[y * stride + x] & 0xFFFFFFu;
  if (pending_delay_ > 0 && picture == pending_) {
    pending_delay_ += delay;
    return true;
  }
  if (pending_delay_ > 0 && !write_pending(error)) return false;
  pending_ = std::move(picture);
  pending_delay_ = delay;
  return true;
}

bool GifAnimation::close(std::string& error) {
  const bool written = pending_delay_ == 0 || write_pending(error);
  int code = 0;
  const bool closed = EGifCloseFile(gif_, &code) == GIF_OK;
  gif_ = nullptr;
  if (written && !closed) error = GifErrorString(code);
  return written && closed;
}

// A delay longer than one picture can hold continues on pictures of no
// change.
bool GifAnimation::write_pending(std::string& error) {
  for (long left = pending_delay_; left > 0; left -= LONGEST_DELAY)
    if (!write_changes(pending_, static_cast<int>(std::min(left, LONGEST_DELAY)), error)) return false;
  pending_delay_ = 0;
  return true;
}

GifAnimation::Rectangle GifAnimation::changed_rectangle(const Picture& picture) const {
  if (!started_) return {0, 0, width_, height_};
  int left = width_, top = height_, right = -1, bottom = -1;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (picture[y * width_ + x] != shown_[y * width_ + x]) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = y;
      }
  // No change at all: one transparent pixel.
  if (right < 0) return {0, 0, 1, 1};
  return {left, top, right - left + 1, bottom - top + 1};
}

bool GifAnimation::write_changes(const Picture& picture, int delay, std::string& error) {
  const Rectangle area = changed_rectangle(picture);
  ColourIndex colours;
  std::vector<GifPixelType> indices(static_cast<std::size_t>(area.width) * area.height);
  std::vector<bool> unchanged(indices.size());
  for (int y = 0; y < area.height; ++y)
    for (int x = 0; x < area.width; ++x) {
      const std::size_t at = static_cast<std::size_t>(area.top + y) * width_ + area.left + x;
      const std::size_t i = static_cast<std::size_t>(y) * area.width + x;
      unchanged[i] = started_ && picture[at] == shown_[at];
      if (unchanged[i]) continue;
      const int index = colours.of(picture[at]);
      if (index < 0) {
        error = "a picture has more than 255 colours";
        return false;
      }
      indices[i] = static_cast<GifPixelType>(index);
      shown_[at] = picture[at];
    }
  const bool any_unchanged = std::find(unchanged.begin(), unchanged.end(), true) != unchanged.end();
  const int transparent = any_unchanged ? colours.count() : NO_TRANSPARENT_COLOR;
  for (std::size_t i = 0; i < indices.size(); ++i)
    if (unchanged[i]) indices[i] = static_cast<GifPixelType>(transparent);
  started_ = true;

  std::vector<GifColorType> map = colours.colours();
  map.resize(power_of_two_at_least(colours.count() + (any_unchanged ? 1 : 0)), GifColorType{0, 0, 0});
  ColorMapObject* colour_map = GifMakeMapObject(static_cast<int>(map.size()), map.data());
  if (colour_map == nullptr) {
    error = "out of memory";
    return false;
  }
  const GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay, transparent};
  GifByteType extension[4];
  const std::size_t extension_length = EGifGCBToExtension(&control, extension);
  bool written =
      EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extension_length), extension) == GIF_OK &&
      EGifPutImageDesc(gif_, area.left, area.top, area.width, area.height, false, colour_map) == GIF_OK;
  for (int y = 0; written && y < area.height; ++y)
    written = EGifPutLine(gif_, &indices[static_cast<std::size_t>(y) * area.width], area.width) == GIF_OK;
  GifFreeMapObject(colour_map);
  return written || failed("cannot write a picture", error);
}
