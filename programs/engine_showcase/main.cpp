// engine_showcase: the engine at work in one window. A panel laid out from
// grfx/showcase.lay holds buttons, a slider and labels that the mouse
// drives through messages; a patch cord joins two sockets; a viewer steps
// through the pictures of grfx/; the layout can be saved and loaded back.
//
//   engine_showcase [--saved-layout FILE]
//
// Escape, closing the window, SIGINT or SIGTERM end it.
#include "common/start_up.h"
#include "common/stop_signals.h"
#include "engine_showcase/picture_browser.h"
#include "engine_showcase/showcase.h"
#include "scene/background.h"
#include "text/font_table.h"
#include "video/video.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>

namespace {

constexpr const char* FONT_LIST_PATH = "grfx/showcase_fonts.txt";
constexpr const char* LAYOUT_PATH = "grfx/showcase.lay";
constexpr const char* PICTURE_FOLDER = "grfx";
constexpr const char* PICTURE_KIND = "png";

bool ends_showcase(const SDL_Event& event) {
  return event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
}

// Hands every event to the showcase; false once one ends it.
bool take_events(Showcase& showcase) {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (ends_showcase(event)) return false;
    showcase.handle(event);
  }
  return true;
}

// One frame: events, the panel's refresh, drawing, the swap.
bool run_frame(Showcase& showcase) {
  end_if_stop_requested();
  if (!take_events(showcase)) return false;
  showcase.refresh();
  push_ortho(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
  showcase.draw();
  pop_ortho();
  SDL_GL_SwapBuffers();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"engine_showcase: the engine's widgets, panel, fonts, cords and lister in one window"};
  std::string saved_layout = (std::filesystem::temp_directory_path() / "engine_showcase.lay").string();
  app.add_option("--saved-layout", saved_layout, "File the save button writes and the load button reads")
      ->capture_default_str();
  CLI11_PARSE(app, argc, argv);

  start_program(StartUpBanners::silent);
  // The tile's size, which steps the tiles from the first frame on.
  background_sprite->Update();
  SDL_WM_SetCaption("engine_showcase", "engine_showcase");

  PictureBrowser browser(PICTURE_FOLDER, PICTURE_KIND);  // before the fonts: see PictureBrowser
  font_table.load(FONT_LIST_PATH);
  {
    Showcase showcase(browser, LAYOUT_PATH, saved_layout, WINDOW_WIDTH, WINDOW_HEIGHT);
    while (run_frame(showcase)) {
    }
  }
  // The fonts' GL objects go while the window still exists; the window
  // goes with the process. (SDL_Quit would unload the GL driver first,
  // leaving its own leftovers to show as leaks that no one can place.)
  font_table.release_all();
  delete background_sprite;
  background_sprite = nullptr;
  return 0;
}
