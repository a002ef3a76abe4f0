// Text: the font table filled from a font list file, lines drawn with
// draw_text and a LABEL. Run it from the project's folder, which holds grfx/
// (the fonts are Debian's fonts-dejavu-core).
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
  start_video(1024, 768, "grfx/KPD_Player.vym");
  SDL_WM_SetCaption("font_text", "font_text");
  // Fonts take GL's free texture names, which the image bank would take
  // over as its slots fill: build them once every picture is registered.
  font_table.load("grfx/showcase_fonts.txt");  // 0 SANS, 1 BOLD, 2 MONO
  // A label's y counts from the window's bottom; '_' shows as a blank.
  LABEL label("A_LABEL,_font_2_at_size_20", 100, 200, 0, 0, 2, 20, 0x60E060);

  while (!quit_asked()) {
    push_ortho(0, 0, 1024, 768);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // draw_text: x from the left, y from the bottom, in the current colour.
    glColor3ub(255, 255, 255);
    draw_text(font_table.font(0), 100, 640, "draw_text, font 0\nlines %d pixels apart", int(32 / 0.63f));
    glColor3ub(255, 160, 48);
    draw_text(font_table.font(1), 100, 420, "Bold: %d fonts in the table", font_table.count);
    label.Update();
    label.Draw(0);
    pop_ortho();
    SDL_GL_SwapBuffers();
  }
  font_table.release_all();  // while the GL context still exists
  return 0;
}
