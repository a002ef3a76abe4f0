// The reader and writer of layout files: OBJET::Load and OBJET::Save.
#include "scene/layout_file.h"

#include "scene/objet.h"
#include "scene/text_field.h"
#include "scene/widgets.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace grains {

namespace {

// Every token is read with a width of TOKEN_SIZE - 1 ("%799s"), so a longer
// one is split and never overruns its buffer.
constexpr int TOKEN_SIZE = 800;
using TOKEN = char[TOKEN_SIZE];

// Fields start at the defaults a record gets when they do not scan, so no
// element takes another one's values.
struct SPRITE_RECORD {
  TOKEN name, image, mask;
  int x = 0, y = 0, is_key = 0, key = 0, additive = 0;
  float zoom = 1;
  int angle = 0, alpha = 255;
};

struct BUTTON_RECORD {
  TOKEN name, off_image, on_image, touch_image;
  int x = 0, y = 0, is_key = 0, key = 0, additive = 0;
  float zoom = 1;
  int angle = 0;
};

struct SLIDER_RECORD {
  TOKEN name, image;
  int x = 0, y = 0, is_key = 0, key = 0, additive = 0;
  float zoom = 1;
  int angle = 0;
};

struct LABEL_RECORD {
  TOKEN name, caption;
  int x = 0, y = 0, font_number = 0, font_size = 0, colour = 0;
};

// A slider zoom above this was not meant as one; it reads as 1.
constexpr float SLIDER_ZOOM_LIMIT = 100.0f;

// A token that starts with a NUL byte scans but holds no text; a record
// with one could not be written back as the same fields.
bool filled(const TOKEN& token) { return token[0] != '\0'; }

// Each reader is true when every token field of its record scanned and
// holds text; numbers that do not scan keep their defaults. The reading
// stops where the scan stopped, so what follows is read as the next record.
bool read_fields(std::FILE* file, SPRITE_RECORD& r) {
  const int tokens = std::fscanf(file, "%799s %799s %799s", r.name, r.image, r.mask);
  // Each scan goes on where the one before stopped, even part-way.
  std::fscanf(file, "%d %d %d %d %d", &r.x, &r.y, &r.is_key, &r.key, &r.additive);
  std::fscanf(file, "%f %d %d\r\n", &r.zoom, &r.angle, &r.alpha);
  return tokens == 3 && filled(r.name) && filled(r.image) && filled(r.mask);
}

bool read_fields(std::FILE* file, BUTTON_RECORD& r) {
  return std::fscanf(file, "%799s %799s %799s %799s %d %d %d %d %d %f %d\r\n", r.name, r.off_image, r.on_image,
                     r.touch_image, &r.x, &r.y, &r.is_key, &r.key, &r.additive, &r.zoom, &r.angle) >= 4 &&
         filled(r.name) && filled(r.off_image) && filled(r.on_image) && filled(r.touch_image);
}

bool read_fields(std::FILE* file, SLIDER_RECORD& r) {
  return std::fscanf(file, "%799s %799s %d %d %d %d %d %f %d\r\n", r.name, r.image, &r.x, &r.y, &r.is_key, &r.key,
                     &r.additive, &r.zoom, &r.angle) >= 2 &&
         filled(r.name) && filled(r.image);
}

bool read_fields(std::FILE* file, LABEL_RECORD& r) {
  return std::fscanf(file, "%799s %799s %d %d %d %d %d \r\n", r.name, r.caption, &r.x, &r.y, &r.font_number,
                     &r.font_size, &r.colour) >= 2 &&
         filled(r.name) && filled(r.caption);
}

// Names the child after the container and its record, and appends it.
void adopt(OBJET& container, std::unique_ptr<SPRITE> child, const char* record_name) {
  child->Set_name((std::string(container.rc_name) + "_" + record_name).c_str());
  container.children->push_back(std::move(child));
}

void set_look(SPRITE& element, int is_key, int key, int additive, float zoom, int angle) {
  element.is_key = is_key;
  element.key = static_cast<std::uint32_t>(key);
  element.additive = additive;
  element.zoom = zoom;
  element.angle = angle;
}

// Where a SPRITE record's coordinate lands: added to the container's, in
// float, and cut toward zero.
int placed_at(int written, float container_position) { return cut(static_cast<float>(written) + container_position); }

void add(OBJET& container, const SPRITE_RECORD& r) {
  auto sprite = std::make_unique<SPRITE>(r.image, placed_at(r.x, container.x), placed_at(r.y, container.y), r.is_key,
                                         static_cast<std::uint32_t>(r.key), r.additive, r.zoom, r.angle, 0);
  copy_name(sprite->mask, r.mask[0] == '0' ? "" : r.mask);
  sprite->alpha = r.alpha;
  adopt(container, std::move(sprite), r.name);
}

void add(OBJET& container, const BUTTON_RECORD& r) {
  auto button = std::make_unique<BUTTON>(r.name, r.off_image, r.touch_image, r.on_image, nullptr);
  set_look(*button, r.is_key, r.key, r.additive, r.zoom, r.angle);
  button->Set_position(static_cast<float>(r.x), static_cast<float>(r.y), 0);
  adopt(container, std::move(button), r.name);
}

void add(OBJET& container, const SLIDER_RECORD& r) {
  auto slider = std::make_unique<SLIDER>(r.name, r.image);
  set_look(*slider, r.is_key, r.key, r.additive, r.zoom > SLIDER_ZOOM_LIMIT ? 1.0f : r.zoom, r.angle);
  slider->Set_position(static_cast<float>(r.x), static_cast<float>(r.y), 0);
  adopt(container, std::move(slider), r.name);
}

void add(OBJET& container, const LABEL_RECORD& r) {
  auto label = std::make_unique<LABEL>(r.caption, r.x, r.y, 50, 50, r.font_number, r.font_size,
                                       static_cast<std::uint32_t>(r.colour));
  label->Set_position(static_cast<float>(r.x), static_cast<float>(r.y), 0);
  adopt(container, std::move(label), r.name);
}

// Reads one record of the given shape and adds its element when its token
// fields are whole.
template <typename RECORD>
void read_element(std::FILE* file, OBJET& container, const char* keyword, int record_number) {
  RECORD record{};
  if (read_fields(file, record)) add(container, record);
  else std::printf("Incomplete %s record [%d] skipped\n", keyword, record_number);
}

// Applies one "key=value" pair; a pair without a value sets nothing.
void apply_parameter(OBJET& container, const std::string& pair) {
  const std::size_t equals = pair.find('=');
  if (equals == std::string::npos || equals + 1 == pair.size()) return;
  const int value = text_integer(pair.c_str() + equals + 1);
  const auto has = [&](const char* key) { return pair.find(key) != std::string::npos; };
  if (has("COLOR")) container.colour = static_cast<std::uint32_t>(value);
  if (has("ALPHA")) container.alpha = value;
  if (has("WIDTH")) container.back_w = container.w = static_cast<float>(value);
  if (has("HEIGHT")) container.back_h = container.h = static_cast<float>(value);
}

// Applies the pairs of a THIS record, each ended by ';'; a list of fewer
// than two sets nothing. False at an empty pair.
bool apply_parameters(OBJET& container, const char* pairs_token) {
  const FIELD_SPLITTER pairs(';', pairs_token);
  if (pairs.count() < 2) return true;
  for (int n = 0; n < pairs.count(); ++n) {
    const std::string pair = pairs.field(n);
    if (pair.empty()) return false;
    apply_parameter(container, pair);
  }
  return true;
}

// The record's element name: the child's name less the container's prefix.
// A child named otherwise is written under its whole name.
const char* record_name(const OBJET& container, const SPRITE& child) {
  const std::size_t prefix_length = std::strlen(container.rc_name) + 1;
  if (std::strncmp(child.name, container.rc_name, prefix_length - 1) == 0 && child.name[prefix_length - 1] == '_' &&
      child.name[prefix_length] != '\0')
    return child.name + prefix_length;
  std::printf("ARF stf wrong during save element [%s]\n", child.name);
  return child.name;
}

// The coordinate to write for a sprite so that it lands back where it is.
// Cutting drops the container's fraction, so the nearest offset may land
// one off; then a neighbour lands right.
int sprite_offset(float position, float container_position) {
  const int target = cut(position);
  const auto lands = [&](int written) { return placed_at(written, container_position) == target; };
  const int nearest = cut(position - container_position);
  if (lands(nearest)) return nearest;
  if (nearest > std::numeric_limits<int>::min() && lands(nearest - 1)) return nearest - 1;
  if (nearest < std::numeric_limits<int>::max() && lands(nearest + 1)) return nearest + 1;
  return nearest;  // beyond float precision no offset lands exactly
}

void write_child(std::FILE* file, const OBJET& container, const SPRITE& child) {
  const char* name = record_name(container, child);
  if (const auto* label = dynamic_cast<const LABEL*>(&child)) {
    std::fprintf(file, "LABEL\t%s\t%s\t%d\t%d\t%d\t%d\t%d\t\r\n", name, label->caption, cut(label->x), cut(label->y),
                 label->font_number, label->font_size, static_cast<int>(label->colour));
  } else if (dynamic_cast<const SLIDER*>(&child) != nullptr) {
    std::fprintf(file, "SLIDER\t%s\t%s\t%d\t%d\t%d\t%d\t%d\t%f\t%d\r\n", name, child.image, cut(child.x), cut(child.y),
                 child.is_key, static_cast<int>(child.key), child.additive, static_cast<double>(child.zoom),
                 child.angle);
  } else if (const auto* button = dynamic_cast<const BUTTON*>(&child)) {
    std::fprintf(file, "BUTTON\t%s\t%s\t%s\t%s\t%d\t%d\t%d\t%d\t%d\t%f\t%d\r\n", name, button->image_off,
                 button->image_on, button->image_touch, cut(child.x), cut(child.y), child.is_key,
                 static_cast<int>(child.key), child.additive, static_cast<double>(child.zoom), child.angle);
  } else {
    std::fprintf(file, "SPRITE\t%s\t%s\t%s\t%d\t%d\t%d\t%d\t%d\t%f\t%d\t%d\r\n", name, child.image,
                 child.mask[0] != '\0' ? child.mask : "0", sprite_offset(child.x, container.x),
                 sprite_offset(child.y, container.y), child.is_key, static_cast<int>(child.key), child.additive,
                 static_cast<double>(child.zoom), child.angle, child.alpha);
  }
}

}  // namespace

int FIELD_SPLITTER::count() const {
  if (text == nullptr) return 0;
  int separators = 0;
  for (const char* c = text; *c != '\0'; ++c) separators += *c == separator;
  return separators;
}

std::string FIELD_SPLITTER::field(int n) const {
  if (text == nullptr || n < 0) return "";
  const char* start = text;
  for (int k = 0; k < n; ++k) {
    start = std::strchr(start, separator);
    if (start == nullptr) return "";
    ++start;
  }
  const char* end = std::strchr(start, separator);
  return end != nullptr ? std::string(start, end) : std::string(start);
}

LAYOUT_READING read_layout(std::FILE* file, OBJET& container) {
  LAYOUT_READING reading;
  TOKEN keyword;
  do {
    if (std::fscanf(file, "%799s\r\n", keyword) != 1) break;
    if (std::strcmp(keyword, "THIS") == 0) {
      TOKEN pairs;
      if (std::fscanf(file, "%799s", pairs) != 1) {
        std::printf("Incomplete THIS record [%d] skipped\n", reading.records);
      } else if (!apply_parameters(container, pairs)) {
        reading.empty_parameter = true;
        return reading;
      }
    } else if (std::strcmp(keyword, "SPRITE") == 0) {
      read_element<SPRITE_RECORD>(file, container, keyword, reading.records);
    } else if (std::strcmp(keyword, "BUTTON") == 0) {
      read_element<BUTTON_RECORD>(file, container, keyword, reading.records);
    } else if (std::strcmp(keyword, "SLIDER") == 0) {
      read_element<SLIDER_RECORD>(file, container, keyword, reading.records);
    } else if (std::strcmp(keyword, "LABEL") == 0) {
      read_element<LABEL_RECORD>(file, container, keyword, reading.records);
    }
    ++reading.records;
  } while (!std::feof(file));
  return reading;
}

void write_layout(std::FILE* file, const OBJET& container) {
  std::fprintf(file, "THIS\nCOLOR=%d;WIDTH=%d;HEIGHT=%d;ALPHA=%d;\n", static_cast<int>(container.colour),
               cut(container.back_w), cut(container.back_h), container.alpha);
  for (const auto& child : *container.children) write_child(file, container, *child);
}

}  // namespace grains

using grains::copy_text;
using grains::cut;

std::int32_t OBJET::Load(const char* path) {
  copy_text(rc_path, path);
  std::FILE* file = path != nullptr ? std::fopen(path, "rt") : nullptr;
  if (file == nullptr) {
    std::printf("Failing to Load RC[%s] (cause Fopen())\n", rc_path);
    return -1;
  }
  const grains::LAYOUT_READING reading = grains::read_layout(file, *this);
  std::fclose(file);
  if (reading.empty_parameter) {
    std::printf("Erreur, au niveau des parametre ligne [%d]\n", reading.records);
    std::exit(-1);
  }
  Fit_background();
  return 1;
}

std::int32_t OBJET::Save(const char* path) {
  std::FILE* file = path != nullptr ? std::fopen(path, "wt") : nullptr;
  if (file == nullptr) {
    std::printf("Failing to Save RC[%s] (cause Fopen())\n", path != nullptr ? path : "");
    return -1;
  }
  grains::write_layout(file, *this);
  for (std::size_t index = 0; index < children->size(); ++index)
    std::printf("Position [%d] [%d:%d]\n", static_cast<int>(index), cut(x), cut(y));
  const bool written = std::ferror(file) == 0;
  if (std::fclose(file) != 0 || !written) {
    std::printf("Failing to Save RC[%s] (cause write)\n", path);
    return -1;
  }
  return 1;
}
