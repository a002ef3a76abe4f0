// The smallest program on the engine: a window, the image catalogue and one
// sprite. Run it from the project's folder, which holds grfx/.
// Escape, closing the window, SIGINT or SIGTERM end it.
#include "grains/engine.h"

#include <GL/gl.h>

namespace {

// SDL turns the window's close box, SIGINT and SIGTERM into SDL_QUIT.
bool quit_asked() {
  SDL_Event event;
  while (SDL_PollEvent(&event))
    if (event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)) return true;
  return false;
}

}  // namespace

int main(int, char**) {
  // The window, the GL context and the image bank, filled from the catalogue.
  start_video(1024, 768, "grfx/KPD_Player.vym");
  SDL_WM_SetCaption("sprite_window", "sprite_window");
  // Picture "PANEL_FOND" (256 x 256) with its top-left corner at (384, 241):
  // textured quads show grains::TEXTURED_QUAD_DROP (15) pixels lower, from row 256.
  SPRITE panel("PANEL_FOND", 384, 241, 0, 0, 0, 1.0f, 0, 255);
  panel.Update();  // reads the picture's size
  while (!quit_asked()) {
    push_ortho(0, 0, 1024, 768);  // window pixels, origin top-left
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    panel.Draw(0);
    pop_ortho();
    SDL_GL_SwapBuffers();
  }
  return 0;
}
