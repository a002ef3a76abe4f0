// The start-up that the windowed programs share, in the engine's order:
// the background sprite (it needs neither GL nor the image bank), then the
// window, its GL context and the image bank filled from the catalogue.
#pragma once

constexpr int WINDOW_WIDTH = 1024;
constexpr int WINDOW_HEIGHT = 768;
constexpr const char* CATALOGUE_PATH = "grfx/KPD_Player.vym";

// Whether start_program prints the grain programs' two start-up lines.
enum class StartUpBanners { printed, silent };

// Makes standard output line-buffered, catches SIGINT and SIGTERM (see
// stop_signals.h), creates background_sprite and calls start_video; with
// banners printed, "K-0" comes before the sprite and "VyrEngine - Loading
// all Graphisme" after it. The stop handlers are put back afterwards, as
// SDL may have put its own in place while starting.
void start_program(StartUpBanners banners);
