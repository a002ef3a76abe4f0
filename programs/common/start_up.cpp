#include "common/start_up.h"

#include "common/stop_signals.h"
#include "scene/background.h"
#include "video/video.h"

#include <cstdio>

void start_program(StartUpBanners banners) {
  const bool print = banners == StartUpBanners::printed;
  // Lines reach a pipe as they are printed, not when a buffer fills.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  install_stop_handlers();
  if (print) std::printf("K-0\n");
  background_sprite = new SPRITE("FOND", 0, 0, 0, 0, 0, 1.0f, 0, 255);
  if (print) std::printf("VyrEngine - Loading all Graphisme\n");
  start_video(WINDOW_WIDTH, WINDOW_HEIGHT, CATALOGUE_PATH);
  install_stop_handlers();
}
