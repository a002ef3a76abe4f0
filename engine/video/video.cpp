#include "video/video.h"

#include "images/image_bank.h"
#include "platform/window_platform.h"
#include "video/usage_warnings.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using grains::set_up_window_platform;
using grains::warn_once;

int screen_width = 0;
int screen_height = 0;
SDL_Surface* screen_surface = nullptr;

namespace {

constexpr float PIXEL_CENTRE = 0.5f;

#ifndef NDEBUG
// push_ortho calls not yet undone by pop_ortho.
int open_ortho_projections = 0;
#endif

[[noreturn]] void video_failure(const char* format) {
  std::fprintf(stderr, format, SDL_GetError());
  std::exit(1);
}

// The engine was first written against SDL's Windows GDI driver; elsewhere
// the user's own SDL_VIDEODRIVER (or SDL's choice) stays in force.
// Where SDL 1.2 is the sdl12-compat layer, it would render GL programs into
// an off-screen framebuffer and scale that onto the window at every swap; the
// window never changes size, so that copy is turned off unless the user's
// environment says otherwise.
void select_video_driver() {
#ifdef _WIN32
  _putenv("SDL_VIDEODRIVER=windib");
#else
  setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
#endif
}

// Without a display SDL falls back on a driver that shows no window; a
// program would then run unseen for ever. A driver the user names is used
// as asked.
void refuse_windowless_fallback(bool driver_chosen_by_user, const char* driver_name) {
  if (driver_chosen_by_user) return;
  if (std::strcmp(driver_name, "offscreen") != 0 && std::strcmp(driver_name, "dummy") != 0) return;
  std::fflush(stdout);  // the lines printed so far come first
  std::fprintf(stderr,
               "No display: SDL fell back on its \"%s\" video driver, which shows no window. Set DISPLAY, or run "
               "under a virtual X server: xvfb-run -a PROGRAM.\n",
               driver_name);
  std::exit(1);
}

}  // namespace

int start_video(int width, int height, const char* catalogue_path) {
  screen_width = width;
  screen_height = height;
  Uint32 flags = SDL_OPENGL | SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWPALETTE;
  const bool driver_chosen_by_user = std::getenv("SDL_VIDEODRIVER") != nullptr;
  select_video_driver();

  if (SDL_Init(SDL_INIT_VIDEO) < 0) video_failure("Video initialization failed: %s\n");

  char driver_name[16] = "";
  SDL_VideoDriverName(driver_name, sizeof driver_name);
  std::printf("SDL Video Driver Name: %s\n", driver_name);
  refuse_windowless_fallback(driver_chosen_by_user, driver_name);

  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  if (info == nullptr) video_failure("Video query failed: %s\n");
  if (info->hw_available) flags |= SDL_HWSURFACE;
  if (info->blit_hw) flags |= SDL_HWACCEL;

  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  screen_surface = SDL_SetVideoMode(width, height, 32, flags);
  if (screen_surface == nullptr) video_failure("Video mode set failed: %s\n");

  set_perspective(width, height, 0);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  set_up_window_platform();

  image_bank = new IMAGE_BANK();
  if (catalogue_path != nullptr) image_bank->load_catalogue(catalogue_path);
  return 1;
}

bool grains::video_started(const char* user) {
  if (screen_surface != nullptr) return true;
  warn_once("before start_video", std::string(user) +
                                      " ran before start_video: call start_video first, which opens the window and "
                                      "its GL context and creates the image bank");
  return false;
}

int set_perspective(int width, int height, int to_modelview) {
  if (height == 0) height = 1;
  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, aspect, static_cast<double>(0.1f), 100.0);
  if (to_modelview == 1) glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  return 1;
}

void push_ortho(int left, int top, int right, int bottom) {
#ifndef NDEBUG
  if (open_ortho_projections++ > 0)
    warn_once("push_ortho twice", "push_ortho ran again before pop_ortho: pair them around each frame's drawing");
#endif
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(left, right, bottom, top, 0.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void pop_ortho() {
#ifndef NDEBUG
  if (open_ortho_projections == 0)
    warn_once("pop_ortho alone", "pop_ortho ran without a push_ortho: pair them around each frame's drawing");
  else --open_ortho_projections;
#endif
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

void draw_square(int x, int y, std::uint32_t colour, float size) {
  const GLubyte alpha = colour >> 24, red = colour >> 16, green = colour >> 8, blue = colour;
  glPushMatrix();
  glLoadIdentity();
  glColor4ub(red, green, blue, alpha);
  // Each point sits on a pixel centre, half a pixel in from its integer
  // corner: a point on the corner itself lies between four pixel centres,
  // where rasterisers differ on which pixel it lights.
  glBegin(GL_POINTS);
  if (size == 1.0f) {
    glVertex2f(x + PIXEL_CENTRE, y + PIXEL_CENTRE);
  } else {
    for (int i = 0; i < size; ++i)
      for (int j = 0; j < size; ++j) glVertex2f(x + j + PIXEL_CENTRE, y + i + PIXEL_CENTRE);
  }
  glEnd();
  glPopMatrix();
}
