// A patch cord: two jacks joined by a hanging cable between two sockets.
// Drag the right socket and the cord follows it; click a socket to pull its
// jack out or plug it back. Run it from the project's folder.
// Escape, closing the window, SIGINT or SIGTERM end it.
#include "grains/engine.h"

#include <GL/gl.h>

#include <cstring>

using grains::cut;
using grains::TEXTURED_QUAD_DROP;

namespace {

constexpr std::uint32_t CABLE_COLOUR = 0xF08030;

// Whether window pixel (x, y) lies on the sprite's picture, which shows
// TEXTURED_QUAD_DROP pixels below the sprite's y.
bool over(const SPRITE& sprite, int x, int y) {
  const int left = cut(sprite.x), top = cut(sprite.y) + TEXTURED_QUAD_DROP;
  return x >= left && x < left + cut(sprite.w) && y >= top && y < top + cut(sprite.h);
}

SPRITE socket_at(int x, int y) {
  SPRITE socket("BTN_SOCKET_OFF", x, y, 0, 0, 0, 1.0f, 0, 255);
  std::strcpy(socket.mask, "BTN_SOCKET_MASK");
  socket.Update();  // its size, for the cord's ends and the hit test
  return socket;
}

bool ends(const SDL_Event& event) {
  return event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
}

}  // namespace

int main(int, char**) {
  start_video(1024, 768, "grfx/KPD_Player.vym");
  SDL_WM_SetCaption("patch_cord", "patch_cord");
  SPRITE left = socket_at(200, 300), right = socket_at(700, 300);
  // Without containers each end is its element's centre.
  CORD cord(nullptr, nullptr, &left, &right, CABLE_COLOUR);

  SPRITE* held = nullptr;  // the socket a left press began on
  bool moved = false;
  for (bool running = true; running;) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      running = running && !ends(event);
      if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
        held = over(left, event.button.x, event.button.y)    ? &left
               : over(right, event.button.x, event.button.y) ? &right
                                                             : nullptr;
        moved = false;
      } else if (event.type == SDL_MOUSEMOTION && held == &right) {
        right.Set_position(right.x + event.motion.xrel, right.y + event.motion.yrel, 0);
        moved = true;
      } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT && held != nullptr) {
        if (!moved && held == &left) cord.toggle_jack1(0, 0);
        if (!moved && held == &right) cord.toggle_jack2(0, 0);
        held = nullptr;
      }
    }
    cord.attach(nullptr, nullptr, &left, &right, CABLE_COLOUR);  // follow the sockets

    push_ortho(0, 0, 1024, 768);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    left.Draw(0);
    right.Draw(0);
    cord.draw(0);  // the cable, then the jacks over its ends
    pop_ortho();
    SDL_GL_SwapBuffers();
  }
  return 0;
}
