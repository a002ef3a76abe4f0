// The programs' picture set in grfx/, and how start-up ends on a catalogue
// whose pictures do not load.
#include "images/image_bank.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include "support/process.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>

namespace {

const char* const STARTUP_LINES = "K-0\nVyrEngine - Loading all Graphisme\nSDL Video Driver Name: x11\n";

// The pictures that the engine's elements name.
const char* const ENGINE_PICTURES[] = {
    "FOND", "IMG_001", "FICHE_PLUG", "FICHE_UNPLUG", "FICHE_PLUG_MASK", "FICHE_UNPLUG_MASK", "PANEL_FOND"};

// A button's mask: its off-picture's name up to its last '_', then "MASK".
std::string button_mask(const std::string& off_picture) {
  return off_picture.substr(0, off_picture.rfind('_') + 1) + "MASK";
}

class PictureSet : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ensure_video();
    bank = new IMAGE_BANK();
    testing::internal::CaptureStdout();
    bank->load_catalogue("grfx/KPD_Player.vym");
    printed = testing::internal::GetCapturedStdout();
  }
  static void TearDownTestSuite() { delete bank; }

  // Where the mask keeps what lies behind, the picture must add nothing.
  static void expect_black_outside_mask(const std::string& picture, const std::string& mask) {
    SDL_Surface* image = bank->surface(picture.c_str());
    SDL_Surface* stencil = bank->surface(mask.c_str());
    ASSERT_NE(image, nullptr) << picture;
    ASSERT_NE(stencil, nullptr) << mask;
    ASSERT_EQ(image->w, stencil->w) << picture;
    ASSERT_EQ(image->h, stencil->h) << picture;
    int inside = 0;
    for (int y = 0; y < image->h; ++y)
      for (int x = 0; x < image->w; ++x) {
        const std::uint32_t keep = surface_pixel(stencil, x, y);
        ASSERT_TRUE(keep == 0 || keep == 0xFFFFFF) << mask << " at " << x << "," << y;
        if (keep != 0) {
          ASSERT_EQ(surface_pixel(image, x, y), 0u) << picture << " at " << x << "," << y;
        }
        inside += keep == 0;
      }
    EXPECT_GT(inside, 0) << mask;
  }

  static IMAGE_BANK* bank;
  static std::string printed;
};

IMAGE_BANK* PictureSet::bank = nullptr;
std::string PictureSet::printed;

}  // namespace

TEST_F(PictureSet, LoadsSilentlyWithTheEnginesPictures) {
  EXPECT_EQ(printed, "");
  for (const char* name : ENGINE_PICTURES) EXPECT_GE(bank->find(name), 0) << name;
}

TEST_F(PictureSet, MaskedPicturesAreBlackWhereTheirMaskKeepsTheFrame) {
  expect_black_outside_mask("FICHE_PLUG", "FICHE_PLUG_MASK");
  expect_black_outside_mask("FICHE_UNPLUG", "FICHE_UNPLUG_MASK");
  expect_black_outside_mask("KNOB", "KNOB_MASK");
  int buttons = 0;
  for (int slot = 0; slot < bank->image_count; ++slot) {
    const std::string name = bank->image_names[slot];
    if (name.rfind("BTN_", 0) != 0 || name.size() < 4 || name.compare(name.size() - 4, 4, "_OFF") != 0) continue;
    ++buttons;
    const std::string stem = name.substr(0, name.size() - 3);
    for (const char* state : {"OFF", "OVER", "ON"}) expect_black_outside_mask(stem + state, button_mask(name));
  }
  EXPECT_GE(buttons, 2);
}

const std::uint32_t GRAIN_COLOURS[8] = {0xFF80C0, 0xFFFFFF, 0xFF2020, 0xE0C080, 0x4080FF, 0x40D060, 0xFF9020, 0x40E0E0};

// The sheet's gaps are magenta: a cell cut at the wrong place shows some.
// Cells show red and blue exchanged, which the sheet's file makes up for.
TEST_F(PictureSet, TheGrainSheetIsCutBetweenItsGapsAndShowsItsGrainColours) {
  for (int cell = 0; cell < 8; ++cell) {
    const std::string name = "GRAIN_" + std::to_string(cell);
    const int slot = bank->find(name.c_str());
    ASSERT_GE(slot, 0) << name;
    int lit = 0;
    for (const std::uint32_t pixel : texture_pixels(slot)) {
      ASSERT_NE(pixel, 0xFF00FFu) << name;
      lit += pixel != 0;
    }
    EXPECT_GT(lit, 100) << name;
    EXPECT_EQ(texture_pixel(slot, 16, 16), GRAIN_COLOURS[cell]) << name;
  }
  EXPECT_EQ(bank->find("GRAIN_8"), -1);
}

// As the showcase's picture browser draws it: whole, rescaled to 128x64.
TEST_F(PictureSet, TheGrainSheetDrawnWholeShowsItsGrainColoursToo) {
  ASSERT_GE(bank->load_image("grfx/GRAINS.png", "grfx/GRAINS.png"), 1);
  const int slot = bank->find("grfx/GRAINS.png");
  ASSERT_EQ(texture_size(slot).width, 128);
  ASSERT_EQ(texture_size(slot).height, 64);
  for (int cell = 0; cell < 8; ++cell) {
    const int x = (cell % 4 * 34 + 16) * 128 / 134, y = (cell / 4 * 33 + 16) * 64 / 65;
    EXPECT_EQ(texture_pixel(slot, x, y), GRAIN_COLOURS[cell]) << "grain " << cell;
  }
}

TEST(PictureSetFiles, MakePicturesDrawsTheCommittedSet) {
  const std::string dir = make_temp_dir();
  const ProcessResult made = run_process({MAKE_PICTURES, dir});
  ASSERT_EQ(made.exit_status, 0) << made.err;
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string file = entry.path().filename().string();
    const std::string committed = std::string(SOURCE_DIR) + "/grfx/" + file;
    if (entry.path().extension() != ".png") {
      EXPECT_EQ(read_file(entry.path().string()), read_file(committed)) << file;
      continue;
    }
    ++pictures;
    SDL_Surface* drawn = IMG_Load(entry.path().c_str());
    SDL_Surface* kept = IMG_Load(committed.c_str());
    ASSERT_NE(drawn, nullptr) << file;
    ASSERT_NE(kept, nullptr) << file << " is not committed";
    EXPECT_EQ(drawn->w, kept->w) << file;
    EXPECT_EQ(drawn->h, kept->h) << file;
    for (int y = 0; y < drawn->h && y < kept->h; ++y)
      for (int x = 0; x < drawn->w && x < kept->w; ++x)
        ASSERT_EQ(surface_pixel(drawn, x, y), surface_pixel(kept, x, y)) << file << " at " << x << "," << y;
    SDL_FreeSurface(drawn);
    SDL_FreeSurface(kept);
  }
  std::filesystem::remove_all(dir);
  EXPECT_GE(pictures, 10);
}

namespace {

// A folder holding grfx/KPD_Player.vym with the given text and, beside it,
// the picture set's files.
std::string folder_with_catalogue(const std::string& text) {
  const std::string dir = make_temp_dir();
  std::filesystem::copy(std::string(SOURCE_DIR) + "/grfx", dir + "/grfx");
  std::ofstream(dir + "/grfx/KPD_Player.vym") << text;
  return dir;
}

}  // namespace

TEST(CatalogueStartUp, AMissingSinglePictureEndsStartUpAfterAPause) {
  const std::string dir = folder_with_catalogue("H 1 FOND grfx/FOND.png SIMPLEPART LOST grfx/lost.png SIMPLEPART END");
  const auto start = std::chrono::steady_clock::now();
  const ProcessResult result = run_process({program_path("grains_b")}, dir);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::filesystem::remove_all(dir);
  EXPECT_EQ(result.exit_status, 255);
  EXPECT_EQ(result.out, std::string(STARTUP_LINES) + "Erreur au de chargement simplepart [grfx/lost.png]\n");
  EXPECT_GE(seconds, 1.5);
}

TEST(CatalogueStartUp, TheProgramsRunWithThePictureSetAndPrintNothingOfIt) {
  const std::string dir = make_temp_dir();
  std::filesystem::copy(std::string(SOURCE_DIR) + "/grfx", dir + "/grfx");
  for (const char* program : {"grains_b", "grains_d"}) {
    BackgroundProcess running({program_path(program)}, dir);
    EXPECT_TRUE(running.wait_for_output("SDL Video Driver Name:", 10000)) << running.output();
    SDL_Delay(500);
    const ProcessResult result = running.stop(SIGTERM, 3000);
    EXPECT_EQ(result.signal_number, SIGTERM) << program;
    EXPECT_EQ(result.out, STARTUP_LINES) << program;
  }
  std::filesystem::remove_all(dir);
}
