// The widgets: sprites that also keep a queue of messages, which their
// container fills and their Update consumes. BUTTON shows one of three
// pictures by its state and touch, LABEL draws a line of text, SLIDER
// tracks touch and press.
#pragma once

#include "scene/message.h"
#include "scene/sprite.h"

#include <cstdint>

class BUTTON : public SPRITE, public MSG_RESPONDER {
 public:
  // Shows off_image until a release toggles the state. Without mask_image
  // the mask is off_image up to its last '_' (not the first character)
  // followed by "MASK": BTN_UP gives BTN_MASK; no such '_', no mask.
  BUTTON(const char* name, const char* off_image, const char* touch_image, const char* on_image,
         const char* mask_image);

  // Applies the queued messages newest first (each release toggles state),
  // then shows the picture of the state, or the touch picture while touched.
  std::int32_t Update() override;
  void Print() override;

  char image_on[80];
  char image_touch[80];  // empty or starting with '0': none
  char image_off[80];
  std::int32_t state = 0;
};

class LABEL : public SPRITE, public MSG_RESPONDER {
 public:
  static constexpr int CAPTION_SIZE = 800;  // 799 characters and the NUL

  // Stores the row as 747 - y, so that Draw puts the text at window row y
  // counted from the bottom. a and b are not used. A font_size of 24 or
  // more becomes 10, a font_number above 10 becomes 0.
  LABEL(const char* caption, int x, int y, int a, int b, int font_number, int font_size, std::uint32_t colour);

  // Refreshes the sprite, then sizes the label to its caption when the
  // caption or colour changed. The message queue is left alone.
  std::int32_t Update() override;
  // Draws the caption, '_' shown as blanks, in colour with font font_number
  // of font_table; turned by angle and scaled to font_size when
  // use_transform is set. The argument is not used.
  void Draw(std::int32_t value);
  void Print() override;

  std::uint32_t reserved_bits = 0;
  std::int32_t font_number;
  std::int32_t shown_colour = 0;
  std::uint32_t colour;
  std::uint32_t colour2 = 0;
  char caption[CAPTION_SIZE];
  char shown_caption[CAPTION_SIZE] = {};
  std::int32_t font_size;
};

class SLIDER : public SPRITE, public MSG_RESPONDER {
 public:
  // Shows image, masked by image followed by "_MASK".
  SLIDER(const char* name, const char* image);

  // Applies the queued messages newest first, then refreshes the sprite.
  std::int32_t Update() override;
  void Print() override;
};
