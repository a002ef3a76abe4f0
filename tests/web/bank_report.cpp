// Every picture of the image bank, on either platform: the catalogue's,
// and every picture file of grfx/ registered under its path as the
// showcase registers them. It prints a line a picture (its name, size,
// layout and a digest of its pixels) and "END", then draws them all in a
// grid, each fitted into a 64-pixel square, until it is closed; an event it
// pushes itself says "pushed event polled" when it comes back. The
// browser tests compare its page with its desktop window
// (compare_pictures.js): the same surfaces, and the same colours.
#include "grains/engine.h"

#include <GL/gl.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>

namespace {

constexpr int SQUARE = 64;
constexpr int COLUMNS = 1024 / SQUARE;

// FNV-1a over the bytes of each row that hold pixels, and the palette.
std::uint64_t digest(const SDL_Surface& surface) {
  std::uint64_t hash = 14695981039346656037ULL;
  const auto add = [&hash](std::uint8_t byte) { hash = (hash ^ byte) * 1099511628211ULL; };
  const int row_bytes = surface.w * surface.format->BytesPerPixel;
  for (int y = 0; y < surface.h; ++y)
    for (int x = 0; x < row_bytes; ++x) add(static_cast<const std::uint8_t*>(surface.pixels)[y * surface.pitch + x]);
  if (surface.format->palette != nullptr)
    for (int i = 0; i < surface.format->palette->ncolors; ++i)
      for (const std::uint8_t channel : {surface.format->palette->colors[i].r, surface.format->palette->colors[i].g,
                                         surface.format->palette->colors[i].b})
        add(channel);
  return hash;
}

void report(const char* name, const SDL_Surface& surface) {
  const SDL_PixelFormat& format = *surface.format;
  std::printf("%s %dx%d bytes=%d pitch=%d masks=%08" PRIx32 ",%08" PRIx32 ",%08" PRIx32 ",%08" PRIx32
              " alpha=%d keyed=%d palette=%d pixels=%016" PRIx64 "\n",
              name, surface.w, surface.h, format.BytesPerPixel, surface.pitch, static_cast<std::uint32_t>(format.Rmask),
              static_cast<std::uint32_t>(format.Gmask), static_cast<std::uint32_t>(format.Bmask),
              static_cast<std::uint32_t>(format.Amask), (surface.flags & SDL_SRCALPHA) != 0,
              (surface.flags & SDL_SRCCOLORKEY) != 0, format.palette != nullptr ? format.palette->ncolors : 0,
              digest(surface));
}

// An event the program pushes comes back from SDL_PollEvent, as on the
// desktop; it says so once.
constexpr int PUSHED_CODE = 42;

void push_own_event() {
  SDL_Event event{};
  event.type = SDL_USEREVENT;
  event.user.code = PUSHED_CODE;
  SDL_PushEvent(&event);
}

bool quit_asked() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) return true;
    if (event.type == SDL_USEREVENT && event.user.code == PUSHED_CODE) {
      std::printf("pushed event polled\n");
      std::fflush(stdout);
    }
  }
  return false;
}

}  // namespace

int main(int, char**) {
  start_video(1024, 768, "grfx/KPD_Player.vym");
  for (const std::string& path : list_files("grfx", "png")) image_bank->load_image(path.c_str(), path.c_str());
  std::vector<SPRITE> pictures;
  for (int slot = 0; slot < image_bank->image_count; ++slot) {
    report(image_bank->image_names[slot], *image_bank->surfaces[slot]);
    SPRITE picture(image_bank->image_names[slot], 0, 0, 0, 0, 0, 1.0f, 0, 255);
    picture.Update();
    // Fitted into its square, whose top-left corner it keeps.
    picture.zoom = std::min(1.0f, static_cast<float>(SQUARE) / std::max(picture.w, picture.h));
    const float x = static_cast<float>(slot % COLUMNS * SQUARE), y = static_cast<float>(slot / COLUMNS * SQUARE);
    picture.Set_position(x - picture.w * (1 - picture.zoom) / 2,
                         y - picture.h * (1 - picture.zoom) / 2 - grains::TEXTURED_QUAD_DROP, 0);
    pictures.push_back(picture);
  }
  push_own_event();
  std::printf("END\n");
  std::fflush(stdout);
  while (!quit_asked()) {
    push_ortho(0, 0, 1024, 768);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (SPRITE& picture : pictures) picture.Draw(0);
    pop_ortho();
    SDL_GL_SwapBuffers();
  }
  return 0;
}
