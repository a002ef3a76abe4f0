// grains_b and grains_d in a real window, with real mouse input.
#include "support/gl_window.h"
#include "support/process.h"
#include "support/window_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

TEST(ColourPrograms, StartUpPrintsItsLinesInOrder) {
  auto grains_d = start_window_program("grains_d");
  const ProcessResult result = grains_d->stop(SIGTERM, 2000);
  EXPECT_EQ(result.out.rfind("K-0\nVyrEngine - Loading all Graphisme\nSDL Video Driver Name: x11\n", 0), 0u)
      << result.out;
  EXPECT_EQ(result.signal_number, SIGTERM);
}

TEST(ColourPrograms, StartUpSceneObjectsLeaveOnlyCellsOnBlack) {
  for (const std::string program : {"grains_b", "grains_d"}) {
    auto process = start_window_program(program);
    const Screenshot screen = take_screenshot();
    process->stop(SIGTERM, 2000);
    int cells = 0, others = 0;
    for (const std::uint32_t pixel : screen.pixels) {
      const bool cell = pixel == 0xFF0080u || pixel == 0xFFFFFFu || pixel == 0xFF0000u;
      cells += cell;
      others += !cell && pixel != 0;
    }
    EXPECT_GT(cells, 0) << program;
    EXPECT_EQ(others, 0) << program << ": no background tile, panel or frame";
  }
}

TEST(ColourPrograms, MissingCatalogueEndsStartUp) {
  const std::string empty_dir = make_temp_dir();
  const ProcessResult result = run_process({program_path("grains_b")}, empty_dir);
  std::filesystem::remove_all(empty_dir);
  EXPECT_EQ(result.exit_status, 255);
  EXPECT_EQ(result.out,
            "K-0\nVyrEngine - Loading all Graphisme\nSDL Video Driver Name: x11\n"
            "Impossible d'ouvrir [grfx/KPD_Player.vym]\n");
}

TEST(ColourPrograms, WithoutADisplayStartUpSaysSoUnlessTheUserNamedTheDriver) {
  const std::vector<std::string> no_display{"/usr/bin/timeout", "20", "/usr/bin/env", "-u", "DISPLAY"};
  auto command = no_display;
  command.insert(command.end(), {"-u", "SDL_VIDEODRIVER", program_path("grains_b")});
  const ProcessResult unseen = run_process(command, SOURCE_DIR);
  EXPECT_EQ(unseen.exit_status, 1) << unseen.err;
  // The message is one line, the last (SDL may print its own first).
  const std::size_t message = unseen.err.find("No display: ");
  ASSERT_NE(message, std::string::npos) << unseen.err;
  EXPECT_EQ(unseen.err.find('\n', message), unseen.err.size() - 1) << unseen.err;

  command = {"/usr/bin/timeout",      "3", "/usr/bin/env", "-u", "DISPLAY", "SDL_VIDEODRIVER=offscreen",
             program_path("grains_b")};
  const ProcessResult asked = run_process(command, SOURCE_DIR);
  EXPECT_EQ(asked.exit_status, 124) << "runs until stopped: " << asked.err;
  EXPECT_NE(asked.out.find("SDL Video Driver Name: offscreen\n"), std::string::npos) << asked.out;
}

TEST(ColourPrograms, RightDragPaintsRedWallsAndKeysChangeNothing) {
  auto grains_b = start_window_program("grains_b");
  xdotool("mousemove 400 400 mousedown 3 mousemove 420 410 sleep 0.1 mousemove 440 420 sleep 0.1 mouseup 3");
  xdotool("key Escape q space");
  pause_ms(500);
  ASSERT_TRUE(grains_b->running()) << "keys are ignored";
  const Screenshot screen = take_screenshot();

  // It ends on the signal, within the 3 s given (else it would be counted as not ended).
  const ProcessResult result = grains_b->stop(SIGTERM, 3000);
  EXPECT_EQ(result.signal_number, SIGTERM);
  EXPECT_NE(result.out.find("D 420 410\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("D 440 420\n"), std::string::npos) << result.out;

  // The block from cell (220, 210) covers pixels 440..455 across and rows
  // 420..435.
  for (const auto& [x, y] : {std::pair{440, 420}, {455, 435}, {425, 410}, {447, 428}})
    EXPECT_EQ(screen.at(x, y), 0xFF0000u) << x << "," << y;
  EXPECT_NE(screen.at(456, 428), 0xFF0000u) << "the block ends at column 455";
}

TEST(ColourPrograms, GrainsDPaintsAtThePointerCoordinatesAsCells) {
  auto grains_d = start_window_program("grains_d");
  xdotool("mousemove 50 60 mousedown 3 mousemove 52 60 sleep 0.1 mouseup 3");
  pause_ms(400);
  const Screenshot screen = take_screenshot();
  const ProcessResult result = grains_d->stop(SIGINT, 3000);
  EXPECT_EQ(result.signal_number, SIGINT);
  EXPECT_NE(result.out.find("D 52 60\n"), std::string::npos) << result.out;
  // Cells (52..55, 60..63) show at pixels (208..223, 240..255).
  EXPECT_EQ(screen.at(208, 240), 0xFF0000u);
  EXPECT_EQ(screen.at(223, 255), 0xFF0000u);
  EXPECT_NE(screen.at(224, 255), 0xFF0000u) << "the block ends at column 223";
}
