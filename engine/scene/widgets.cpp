#include "scene/widgets.h"

#include "platform/event_numbers.h"
#include "scene/text_field.h"
#include "text/font_table.h"
#include "video/usage_warnings.h"
#include "video/video.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using grains::copy_name;
using grains::copy_text;
using grains::cut;
using grains::video_started;
using grains::warn_once;

namespace {

// Every widget starts as a sprite of this picture at (100, 100), zoom 1
// and alpha 0, then names and pictures itself.
constexpr const char* WIDGET_PICTURE = "IMG_001";

// A text label's rows are stored from this line: 768 less the 21 pixels
// the text is drawn above its row.
constexpr int LABEL_ROW_BASE = 747;
constexpr int LABEL_LARGEST_FONT_NUMBER = 10;
constexpr int LABEL_FONT_SIZE_LIMIT = 24;
constexpr int LABEL_DEFAULT_FONT_SIZE = 10;
constexpr int LABEL_TEXT_LIFT = 21;
constexpr float LABEL_FONT_SCALE = 1.0f / 36.0f;

// Applies queued messages newest first and empties the queue: a mouse
// button press or release sets pressed, a text with "TOUCH_IN" or
// "TOUCH_OUT" sets touched. Returns the number of releases.
int drain_queue(MSG_RESPONDER& responder, SPRITE& widget) {
  int releases = 0;
  for (; !responder.queue.empty(); responder.queue.pop_back()) {
    const MESSAGE& message = *responder.queue.back();
    if (message.kind != 0) {
      if (message.event_type() == grains::sdl12_event_type(SDL_MOUSEBUTTONDOWN)) widget.pressed = 1;
      if (message.event_type() == grains::sdl12_event_type(SDL_MOUSEBUTTONUP)) {
        widget.pressed = 0;
        ++releases;
      }
    } else {
      if (std::strstr(message.text, "TOUCH_IN") != nullptr) widget.touched = 1;
      if (std::strstr(message.text, "TOUCH_OUT") != nullptr) widget.touched = 0;
    }
  }
  return releases;
}

bool names_a_picture(const char* image) { return image[0] != '\0' && image[0] != '0'; }

}  // namespace

BUTTON::BUTTON(const char* name, const char* off_image, const char* touch_image, const char* on_image,
               const char* mask_image)
    : SPRITE(WIDGET_PICTURE, 100, 100, 0, 0, 0, 1.0f, 0, 0) {
  Set_name(name);
  copy_name(image_touch, touch_image);
  copy_name(image_off, off_image);
  copy_name(image, on_image);
  copy_name(image_on, on_image);
  Set_image(image_off);
  const char* last_underscore = std::strrchr(image_off, '_');
  if (mask_image != nullptr) copy_name(mask, mask_image);
  else if (last_underscore != nullptr && last_underscore != image_off)
    std::snprintf(mask, sizeof mask, "%.*sMASK", static_cast<int>(last_underscore - image_off + 1), image_off);
  Update();
}

std::int32_t BUTTON::Update() {
  for (int releases = drain_queue(*this, *this); releases > 0; --releases) state = std::abs(1 - state);
  Set_image(state != 0 ? image_on : image_off);
  if (touched == 1 && names_a_picture(image_touch)) Set_image(image_touch);
  return SPRITE::Update();
}

void BUTTON::Print() {
  std::printf("BUTTON : ");
  SPRITE::Print();
  std::printf("\n\t STATE[%d]\r\n", state);
}

LABEL::LABEL(const char* caption, int x, int y, int, int, int font_number, int font_size, std::uint32_t colour)
    : SPRITE(WIDGET_PICTURE, 100, 100, 0, 0, 0, 1.0f, 0, 0),
      font_number(font_number > LABEL_LARGEST_FONT_NUMBER ? 0 : font_number),
      colour(colour),
      font_size(font_size < LABEL_FONT_SIZE_LIMIT ? font_size : LABEL_DEFAULT_FONT_SIZE) {
  use_transform = 1;
  dirty = 1;
  copy_text(this->caption, caption);
  BASE::Set_position(static_cast<float>(x), static_cast<float>(LABEL_ROW_BASE - y), 0);
}

std::int32_t LABEL::Update() {
  SPRITE::Update();
  if (std::strcmp(caption, shown_caption) == 0 && colour == static_cast<std::uint32_t>(shown_colour)) return 0;
  copy_text(shown_caption, caption);
  shown_colour = static_cast<std::int32_t>(colour);
  dirty = 1;
  w = static_cast<float>(static_cast<unsigned>(std::strlen(caption) * font_size) >> 1);
  h = static_cast<float>(font_size);
  return 0;
}

namespace {

// A font number that the table has not built draws nothing.
void say_if_font_missing(const LABEL& label) {
  if (label.font_number >= 0 && label.font_number < font_table.count) return;
  warn_once("label font", std::string("LABEL [") + label.name + "] draws nothing: its font " +
                              std::to_string(label.font_number) + " is past the font table, which holds " +
                              std::to_string(font_table.count) + " fonts (font_table.load fills it)");
}

}  // namespace

void LABEL::Draw(std::int32_t) {
  video_started("LABEL::Draw");
  say_if_font_missing(*this);
  char shown[CAPTION_SIZE];
  copy_text(shown, caption);
  std::replace(shown, shown + std::strlen(shown), '_', ' ');
  glColor3ub(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF);
  // The transform goes on the model-view matrix, whichever matrix mode the
  // caller left current (the projection's, before the first frame); the
  // mode is given back at the end.
  glPushAttrib(GL_TRANSFORM_BIT);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  const FONT_DATA font = font_table.font(font_number);
  if (use_transform != 0) {
    const float scale = static_cast<float>(font_size) * LABEL_FONT_SCALE;
    glRotatef(static_cast<float>(angle), 0.0f, 0.0f, 1.0f);
    glScalef(scale, scale, 1.0f);
    draw_text(font, x, static_cast<float>(screen_height - LABEL_TEXT_LIFT) - y, "%s", shown);
  } else {
    draw_text(font, x, y, "%s", shown);
  }
  glPopMatrix();
  glPopAttrib();
  dirty = 1;
  glColor4ub(255, 255, 255, 255);
}

void LABEL::Print() {
  std::printf("LABEL:\n-------\n");
  std::printf("NAME[%16s] XYWH[%3d-%3d-%3d-%3d] Zoom=%4.4f Angle=%4.4f\n", name, cut(x), cut(y), cut(w), cut(h), zoom,
              static_cast<double>(angle));
  std::printf("Font Nr=%3d Size=%3d Col=%08x Col2=%08x\n", font_number, font_size, colour, colour2);
  std::printf("CAPTION [%s]\n,", caption);
  std::printf("--------------------------------------------------------------\n");
}

SLIDER::SLIDER(const char* name, const char* image) : SPRITE(WIDGET_PICTURE, 100, 100, 0, 0, 0, 1.0f, 0, 0) {
  Set_name(name);
  Set_image(image);
  copy_name(mask, (std::string(this->image) + "_MASK").c_str());
  Update();
}

std::int32_t SLIDER::Update() {
  drain_queue(*this, *this);
  return SPRITE::Update();
}

void SLIDER::Print() {
  std::printf("SLIDER : ");
  SPRITE::Print();
  std::printf("\n\t STATE[%d]\r\n", angle);
}
