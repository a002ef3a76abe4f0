#include "engine_showcase/picture_browser.h"

#include "draw/draw.h"
#include "files/file_list.h"
#include "images/image_bank.h"
#include "scene/text_field.h"

#include <algorithm>
#include <cmath>

using grains::copy_text;
using grains::FILLED_RECT_DROP;
using grains::TEXTURED_QUAD_DROP;

namespace {

constexpr std::uint32_t VIEWER_COLOUR = 0xC0080C14;  // translucent, over the tiles
constexpr std::uint32_t TITLE_COLOUR = 0xE8EEF8;
constexpr std::uint32_t NAME_COLOUR = 0xA8FFB8;
constexpr int MARGIN = 16;
constexpr int TEXT_ROOM = 48;  // above and below the picture

}  // namespace

PictureBrowser::PictureBrowser(std::string folder, std::string kind)
    : folder_(std::move(folder)),
      kind_(std::move(kind)),
      picture_("IMG_001", 0, 0, 0, 0, 0, 1.0f, 0, 255),
      title_(placed_label("Pictures_of_grfx,_as_sprites", VIEWER.left + MARGIN, VIEWER.top + 4, 1, 16, TITLE_COLOUR)),
      name_(placed_label("", VIEWER.left + MARGIN, VIEWER.top + VIEWER.height - 36, 2, 16, NAME_COLOUR)) {
  for (const std::string& path : list_files(folder_, kind_)) image_bank->load_image(path.c_str(), path.c_str());
  next_file_name("", folder_, kind_, current_, sizeof current_);
  show_current();
}

void PictureBrowser::next() {
  next_file_name(current_, folder_, kind_, current_, sizeof current_);
  show_current();
}

void PictureBrowser::previous() {
  previous_file_name(current_, folder_, kind_, current_, sizeof current_);
  show_current();
}

void PictureBrowser::show_current() {
  picture_.Set_image(current_);
  copy_text(name_.caption, file_name_part(current_));
}

void PictureBrowser::draw() {
  draw_filled_rect(VIEWER.left, VIEWER.top - FILLED_RECT_DROP, VIEWER.width, VIEWER.height, VIEWER_COLOUR);
  draw_picture();
  for (LABEL* label : {&title_, &name_}) {
    label->Update();
    label->Draw(0);
  }
}

// Fitted into the room between the texts, never enlarged; the sprite
// scales about its centre. A file the bank does not hold (added to the
// folder after start-up) is not drawn.
void PictureBrowser::draw_picture() {
  if (image_bank->find(current_) < 0) return;
  picture_.Update();
  if (picture_.w <= 0 || picture_.h <= 0) return;
  const float room_w = VIEWER.width - 2 * MARGIN, room_h = VIEWER.height - 2 * TEXT_ROOM;
  picture_.zoom = std::min({1.0f, room_w / picture_.w, room_h / picture_.h});
  const float centre_x = VIEWER.left + VIEWER.width / 2.0f, centre_y = VIEWER.top + VIEWER.height / 2.0f;
  picture_.Set_position(std::round(centre_x - picture_.w / 2),
                        std::round(centre_y - picture_.h / 2) - TEXTURED_QUAD_DROP, 0);
  picture_.Draw(0);
}
