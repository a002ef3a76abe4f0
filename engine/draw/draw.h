// The textured quad and the filled rectangle that scene elements draw with,
// in window pixels under push_ortho's projection.
//
// Warning: quads show TEXTURED_QUAD_DROP (15) and rectangles FILLED_RECT_DROP (13) pixels below their y.
#pragma once

#include <cstdint>

namespace grains {

// How far below the y it is given each primitive draws, in pixels: a
// picture's quad 15 rows lower, a filled rectangle 13. Sprites, containers
// and cords inherit these drops; hit tests must add them.
constexpr int TEXTURED_QUAD_DROP = 15;
constexpr int FILLED_RECT_DROP = 13;

}  // namespace grains

// A scroll offset that both primitives subtract from their positions.
extern int view_offset_x;
extern int view_offset_y;

// Needs a current GL context, push_ortho's projection and the state that
// start_video leaves: blending off, depth test on.
//
// Draws the texture named *texture as a quad centred on (x, y + 15) at depth
// z, turned by angle_x, angle_y, angle_z degrees about the x, y and z axes,
// spanning 2 * half_b along its x axis and 2 * half_a along its y axis.
// Blending, when asked for, is: alpha below 255 by that opacity; additive by
// the source colour; substractive by multiplying the frame buffer (the last
// one asked for sets the blend function). With none of them the caller's
// blend state applies and stays.
void draw_textured_quad(const int* texture, float x, float y, float z, float angle_x, float angle_y, float angle_z,
                        float half_a, float half_b, int additive, int substractive, int alpha);

// Fills the rectangle whose top-left corner is (x, y + 13) in colour
// 0xAARRGGBB, blended when alpha is not 0xFF.
void draw_filled_rect(int x, int y, int width, int height, std::uint32_t colour);
