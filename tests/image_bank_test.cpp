// The image bank on real catalogue and picture files, with textures read
// back from GL.
#include "images/image_bank.h"

#include "common/png_file.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include "support/process.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

// Red grows with x, green with y; blue tells red from blue.
std::uint32_t position_colour(int x, int y) { return ((x & 0xFF) << 16) | ((3 * y & 0xFF) << 8) | 0x40; }

std::uint32_t exchanged(std::uint32_t colour) {
  return (colour & 0x00FF00) | (colour >> 16 & 0xFF) | (colour & 0xFF) << 16;
}

// The colours of a 64x64 picture painted with paint, rows from the top.
std::vector<std::uint32_t> colours_64(const PixelPaint& paint) {
  std::vector<std::uint32_t> colours;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) colours.push_back(paint(x, y));
  return colours;
}

class Catalogue : public testing::Test {
 protected:
  void SetUp() override { ensure_video(); }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string path(const std::string& file) const { return dir_ + "/" + file; }

  std::string picture(const std::string& file, int width, int height, const PixelPaint& paint = position_colour) {
    return save_bmp(path(file), width, height, paint);
  }

  // A 64x64 PNG file painted with position_colour, 32-bit or 24-bit.
  std::string png_picture(const std::string& file, bool with_alpha = true) {
    std::vector<std::uint32_t> argb;
    for (const std::uint32_t colour : colours_64(position_colour)) argb.push_back(0xFF000000 | colour);
    const auto write = with_alpha ? write_png : write_png_without_alpha;
    std::string error;
    EXPECT_TRUE(write(path(file), 64, 64, argb.data(), error)) << error;
    return path(file);
  }

  // Loads a catalogue of the given text into a new bank and keeps what it printed.
  void load(const std::string& text) {
    std::ofstream(path("catalogue.vym")) << text;
    bank = std::make_unique<IMAGE_BANK>();
    testing::internal::CaptureStdout();
    bank->load_catalogue(path("catalogue.vym").c_str());
    printed = testing::internal::GetCapturedStdout();
  }

  // The cell's texture must hold the sheet's pixels from (left, top) on,
  // red and blue exchanged as in every cell, and black where the cell
  // reaches past a sheet of sheet_width x sheet_height.
  void expect_cell(const char* name, int left, int top, int size, int sheet_width = 1 << 30,
                   int sheet_height = 1 << 30) {
    const int slot = bank->find(name);
    ASSERT_GE(slot, 0) << name;
    const auto pixels = texture_pixels(slot);
    ASSERT_EQ(pixels.size(), std::size_t(size * size)) << name;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const bool on_sheet = left + x < sheet_width && top + y < sheet_height;
        ASSERT_EQ(pixels[y * size + x], on_sheet ? exchanged(position_colour(left + x, top + y)) : 0u)
            << name << " at " << x << "," << y;
      }
  }

  std::unique_ptr<IMAGE_BANK> bank;
  std::string printed;

 private:
  std::string dir_ = make_temp_dir();
};

}  // namespace

TEST_F(Catalogue, EndAtTheFirstNameOrAnEmptyFileRegistersNothing) {
  const std::string pic = picture("a.bmp", 4, 4);
  for (const std::string& text : {"H 1 END A " + pic + " SIMPLEPART", std::string(""), std::string("H 1")}) {
    load(text);
    EXPECT_EQ(bank->image_count, 0) << text;
    EXPECT_EQ(printed, "");
  }
}

TEST_F(Catalogue, PicturesFillSlotsFromTextureNameZeroWithOneLevelOnlyForSidesOf64To256) {
  load("H 1\nTALL " + picture("tall.bmp", 64, 256) + " SIMPLEPART\nODD " + picture("odd.bmp", 100, 100) +
       " SIMPLEPART\nFLAT " + picture("flat.bmp", 64, 32) + " SIMPLEPART\nEND\n");
  ASSERT_EQ(bank->image_count, 3);
  EXPECT_STREQ(bank->image_names[0], "TALL");
  EXPECT_EQ(bank->widths[0], 64);
  EXPECT_EQ(bank->heights[0], 256);
  EXPECT_EQ(bank->surface("ODD"), bank->surfaces[1]);
  EXPECT_EQ(bank->heights[2], 32);

  EXPECT_EQ(texture_size(0).width, 64);
  EXPECT_EQ(texture_size(0).height, 256);
  EXPECT_EQ(texture_size(0, 1).width, 0) << "one level only";
  EXPECT_EQ(texture_pixel(0, 63, 255), position_colour(63, 255));
  EXPECT_EQ(texture_pixel(0, 5, 7), position_colour(5, 7));
  for (const int slot : {1, 2}) {
    EXPECT_GT(texture_size(slot, 1).width, 0) << "a mipmap chain";
    int level = 0;
    while (texture_size(slot, level + 1).width > 0) ++level;
    EXPECT_EQ(texture_size(slot, level).width, 1);
    EXPECT_EQ(texture_size(slot, level).height, 1);
  }
  GLint filter = 0;
  glBindTexture(GL_TEXTURE_2D, 1);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  EXPECT_EQ(filter, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
  EXPECT_EQ(filter, GL_LINEAR);
}

TEST_F(Catalogue, SheetCellsAreCutRowByRow) {
  const std::string plain = picture("plain.bmp", 128, 64);
  const std::string gapped = picture("gapped.bmp", 134, 65);
  load("H 1 P " + plain + " CELLS 32 32 2 4 0 0 G " + gapped + " SHEET 32 32 2 4 2 1 END");
  EXPECT_EQ(printed, "");
  ASSERT_EQ(bank->image_count, 16);
  EXPECT_STREQ(bank->image_names[5], "P_5");
  expect_cell("P_0", 0, 0, 32);
  expect_cell("P_3", 96, 0, 32);
  expect_cell("P_5", 32, 32, 32);
  expect_cell("G_0", 0, 0, 32);
  expect_cell("G_3", 3 * 34, 0, 32);
  expect_cell("G_4", 0, 33, 32);
  expect_cell("G_7", 3 * 34, 33, 32);
  EXPECT_EQ(bank->surface("G_7")->w, 32);
}

// The second column of BIG and the second row of TEN lie wholly outside.
TEST_F(Catalogue, CellsReachingPastTheirSheetAreBlackBeyondIt) {
  const std::string small = picture("small.bmp", 16, 16), ten = picture("ten.bmp", 10, 10);
  load("H 1 BIG " + small + " SHEET 32 32 1 2 0 0 TEN " + ten + " SHEET 8 8 2 2 0 2 END");
  EXPECT_EQ(printed, "");
  ASSERT_EQ(bank->image_count, 6);
  expect_cell("BIG_0", 0, 0, 32, 16, 16);
  expect_cell("BIG_1", 32, 0, 32, 16, 16);
  expect_cell("TEN_0", 0, 0, 8, 10, 10);
  expect_cell("TEN_1", 8, 0, 8, 10, 10);
  expect_cell("TEN_2", 0, 10, 8, 10, 10);
  expect_cell("TEN_3", 8, 10, 8, 10, 10);
}

// Cells must be surfaces SDL makes (at most 16383 wide and here 32767 high)
// at positions that SDL rectangles hold (within 32767 of the corner).
TEST_F(Catalogue, SheetsReachingPastWhatSdlHoldsAreRefused) {
  const std::string pic = picture("a.bmp", 2, 2);
  std::string text = "H 1 ";
  for (const std::string record :
       {"WIDE 16383 1 1 1 0 0", "WIDER 16384 1 1 1 0 0", "TALL 1 32767 1 1 0 0", "TALLER 1 32768 1 1 0 0",
        "FAR 1 1 1 2 32766 0", "FARTHER 1 1 1 2 32767 0", "UP 1 1 2 1 0 -32768", "HIGHER 1 1 2 1 0 -32769"}) {
    const std::size_t blank = record.find(' ');
    text += record.substr(0, blank) + " " + pic + " SHEET" + record.substr(blank) + " ";
  }
  load(text + "END");
  const std::string too_large = "its cells are not 1 to 16383 pixels wide and 1 to 32767 high\n";
  const std::string too_far = "its cells lie more than 32767 pixels from its corner\n";
  EXPECT_EQ(printed,
            "Catalogue record [WIDER] skipped: " + too_large + "Catalogue record [TALLER] skipped: " + too_large +
                "Catalogue record [FARTHER] skipped: " + too_far + "Catalogue record [HIGHER] skipped: " + too_far);
  ASSERT_EQ(bank->image_count, 6);
  EXPECT_EQ(bank->surface("WIDE_0")->w, 16383);
  EXPECT_EQ(bank->surface("TALL_0")->h, 32767);
  EXPECT_EQ(texture_pixel(bank->find("FAR_1"), 0, 0), 0u) << "far past the picture: black";
  EXPECT_EQ(bank->find("UP_1"), 5);
}

TEST_F(Catalogue, SheetsThatRegisterNothingLetReadingGoOn) {
  const std::string sheet = picture("sheet.bmp", 64, 64);
  load("H 1 NOROWS " + sheet + " S 8 8 0 4 0 0 NOCOLUMNS " + sheet + " S 8 8 4 0 0 0 NEGATIVE " + sheet +
       " S 8 8 -3 4 0 0 FLAT " + sheet + " S 0 0 0 4 0 0 GONE " + path("gone.bmp") + " S 8 8 2 2 0 0 AFTER " + sheet +
       " SIMPLEPART END");
  EXPECT_EQ(printed, "");
  ASSERT_EQ(bank->image_count, 1);
  EXPECT_STREQ(bank->image_names[0], "AFTER");
}

TEST_F(Catalogue, APathStartingWithHashStopsReading) {
  const std::string pic = picture("a.bmp", 4, 4);
  load("H 1 A " + pic + " SIMPLEPART B #" + pic + " SIMPLEPART C " + pic + " SIMPLEPART END");
  ASSERT_EQ(bank->image_count, 1);
  EXPECT_EQ(bank->find("C"), -1);
}

TEST_F(Catalogue, TheFirstRegistrationOfANameStands) {
  const std::string red = picture("red.bmp", 8, 8, [](int, int) { return 0xFF0000u; });
  const std::string sheet = picture("sheet.bmp", 16, 8);
  // The second A names a missing file, which is never opened.
  load("H 1 S_1 " + red + " SIMPLEPART A " + red + " SIMPLEPART A " + path("missing.bmp") + " SIMPLEPART S " + sheet +
       " SHEET 8 8 1 2 0 0 END");
  ASSERT_EQ(bank->image_count, 3);
  EXPECT_EQ(bank->find("S_1"), 0);
  EXPECT_EQ(bank->find("S_0"), 2);
  EXPECT_EQ(bank->widths[0], 8);
  EXPECT_EQ(texture_pixel(0, 3, 3), 0xFF0000u);
  EXPECT_EQ(bank->load_image(red.c_str(), "A"), 3);
}

TEST(ImageBank, LookupsAreExactAndCaseSensitive) {
  ensure_video();
  IMAGE_BANK bank;
  EXPECT_EQ(bank.find("FOND"), -1);
  EXPECT_EQ(bank.add_surface(make_surface(4, 4, position_colour), "FOND"), 1);
  EXPECT_EQ(bank.add_surface(make_surface(2, 2, position_colour), "FICHE"), 2);
  EXPECT_EQ(bank.add_surface(nullptr, "NONE"), 0);
  EXPECT_EQ(bank.find("FICHE"), 1);
  for (const char* other : {"fond", "Fond", "FON", "FONDS", "", "NONE"}) {
    EXPECT_EQ(bank.find(other), -1) << other;
    EXPECT_EQ(bank.surface(other), nullptr) << other;
  }
  EXPECT_EQ(bank.surface("FOND")->w, 4);
}

// Pictures of other depths than 24 bits reach GL converted.
TEST(ImageBank, PicturesOfOtherDepthsUploadTheirTrueColours) {
  ensure_video();
  const auto palette_paint = [](int x, int y) { return palette_colour((x + 5 * y) % 256); };
  IMAGE_BANK bank;
  bank.add_surface(make_surface_in(64, 64, 8, 0, 0, 0, palette_paint), "INDEXED");
  bank.add_surface(make_surface_in(64, 64, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, position_colour), "XRGB");
  bank.add_surface(make_surface_in(64, 64, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, position_colour), "XBGR");
  bank.add_surface(
      make_surface_in(64, 64, 16, 0xF800, 0x07E0, 0x001F, [](int x, int) { return x < 32 ? 0xFF0000u : 0x0000FFu; }),
      "RGB565");
  // A 24-bit picture of an odd width goes as it lies: its rows are padded as GL reads them.
  bank.add_surface(make_surface(3, 3, position_colour), "ODD");
  ASSERT_EQ(bank.image_count, 5);
  for (int y = 0; y < 64; y += 9)
    for (int x = 0; x < 64; x += 7) {
      EXPECT_EQ(texture_pixel(0, x, y), palette_paint(x, y)) << x << "," << y;
      EXPECT_EQ(texture_pixel(1, x, y), position_colour(x, y)) << x << "," << y;
      EXPECT_EQ(texture_pixel(2, x, y), position_colour(x, y)) << x << "," << y;
    }
  EXPECT_EQ(texture_pixel(3, 3, 3), 0xFF0000u);
  EXPECT_EQ(texture_pixel(3, 60, 3), 0x0000FFu);
  // Rescaled to 4 by 4 by GLU: every pixel keeps its blue, none mixes in padding.
  ASSERT_EQ(texture_size(4).width, 4);
  for (const std::uint32_t pixel : texture_pixels(4)) EXPECT_EQ(pixel & 0xFF, 0x40u);
}

TEST_F(Catalogue, PngPicturesWithAnAlphaChannelShowTheirColours) {
  load("H 1 A " + png_picture("a.png") + " SIMPLEPART END");
  ASSERT_EQ(bank->image_count, 1);
  EXPECT_EQ(bank->surfaces[0]->format->BitsPerPixel, 32);
  EXPECT_EQ(texture_pixels(0), colours_64(position_colour));
}

// 24-bit surfaces reach GL as their bytes lie, read blue, green, red:
// a red-first picture (a 24-bit PNG) and a sheet cell (cut red-first from a
// 32-bit sheet) show red and blue exchanged, a 32-bit picture its own colours.
TEST_F(Catalogue, RedFirstPicturesAndSheetCellsShowRedAndBlueExchanged) {
  const std::string png = png_picture("true.png");
  load("H 1 RED_FIRST " + png_picture("red_first.png", false) + " SIMPLEPART TRUE " + png + " SIMPLEPART CELL " + png +
       " SHEET 64 64 1 1 0 0 END");
  ASSERT_EQ(bank->image_count, 3);
  const SDL_Surface* red_first = bank->surface("RED_FIRST");
  ASSERT_EQ(red_first->format->BytesPerPixel, 3);
  const Uint8* pixel_1 = static_cast<const Uint8*>(red_first->pixels) + 3;
  EXPECT_EQ(pixel_1[0], 1) << "red first";
  EXPECT_EQ(pixel_1[2], 0x40) << "blue last";

  const auto exchanged_position = [](int x, int y) { return exchanged(position_colour(x, y)); };
  EXPECT_EQ(texture_pixels(bank->find("RED_FIRST")), colours_64(exchanged_position));
  EXPECT_EQ(texture_pixels(bank->find("CELL_0")), texture_pixels(bank->find("RED_FIRST")));
  EXPECT_EQ(texture_pixels(bank->find("TRUE")), colours_64(position_colour));
}

// Past its limits the bank refuses with one line and reading goes on.
TEST_F(Catalogue, OverlongNamesAndTokensAreRefusedAndReadingGoesOn) {
  const std::string pic = picture("a.bmp", 2, 2);
  const std::string name79(79, 'N'), name80(80, 'L'), token600(600, 'T'), path500 = pic + std::string(500, 'p');
  const std::string stem78(78, 'S');
  load("H 1 " + name80 + " " + pic + " SIMPLEPART " + token600 + " " + pic + " SIMPLEPART LONGPATH " + path500 +
       " SIMPLEPART " + name79 + " " + pic + " SIMPLEPART " + stem78 + " " + pic + " SHEET 1 1 1 2 0 0 WORDS " + pic +
       " SHEET 1 1 one 2 0 0 HUGE " + pic + " SHEET 40000 1 1 1 0 0 LAST " + pic + " SIMPLEPART END");
  EXPECT_EQ(printed,
            "Image [" + name80 +
                "] not registered: its name is longer than 79 characters\n"
                "Image [" +
                std::string(459, 'T') +
                "] not registered: its name is longer than 79 characters\n"
                "Catalogue record [LONGPATH] skipped: its path is longer than 459 characters\n"
                "Sheet [" +
                stem78 + "]: cells from [" + stem78 +
                "_0] on not registered: its name is longer "
                "than 79 characters\n"
                "Catalogue record [WORDS] skipped: its sheet numbers are not all whole numbers\n"
                "Catalogue record [HUGE] skipped: its cells are not 1 to 16383 pixels wide and 1 to 32767 high\n");
  ASSERT_EQ(bank->image_count, 2);
  EXPECT_EQ(bank->find(name79.c_str()), 0);
  EXPECT_EQ(bank->find("LAST"), 1);
}

TEST_F(Catalogue, ImagesPastTheFourHundredthAreRefusedAndReadingGoesOn) {
  const std::string pic = picture("a.bmp", 2, 2);
  const std::string sheet = picture("sheet.bmp", 4, 4);
  std::string text = "H 1 S " + sheet + " SHEET 2 2 2 2 0 0\n";
  for (int i = 0; i < 395; ++i) text += "I" + std::to_string(i) + " " + pic + " SIMPLEPART\n";
  load(text + "MORE " + sheet + " SHEET 2 2 1 2 0 0 S_1 " + pic + " SIMPLEPART LAST " + pic + " SIMPLEPART END");
  EXPECT_EQ(printed,
            "Sheet [MORE]: cells from [MORE_1] on not registered: the image bank is full (400 images)\n"
            "Image [LAST] not registered: the image bank is full (400 images)\n");
  ASSERT_EQ(bank->image_count, 400);
  EXPECT_EQ(bank->find("MORE_0"), 399);
  EXPECT_EQ(bank->find("S_1"), 1);
  EXPECT_EQ(bank->add_surface(make_surface(2, 2, position_colour), "EXTRA"), 0);
  EXPECT_EQ(bank->load_image(pic.c_str(), "I7"), 400) << "a registered name needs no room";
}
