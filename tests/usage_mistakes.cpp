// Makes one mistake in the use of the engine, named by its argument, so
// that usage_warnings_test can read what the engine says about it. Run
// from the project's folder (grfx/), under an X server for the mistakes
// made after start_video.
#include "grains/engine.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr const char* CATALOGUE = "grfx/KPD_Player.vym";
constexpr const char* FONTS = "grfx/showcase_fonts.txt";  // three fonts

void draw_twice(SPRITE& sprite) {
  sprite.Draw(0);
  sprite.Draw(0);
}

const std::map<std::string, std::function<void()>> MISTAKES = {
    {"sprite_before_video",
     [] {
       SPRITE knob("KNOB", 10, 10, 0, 0, 0, 1.0f, 0, 255);
       draw_twice(knob);
     }},
    {"layout_before_video",
     [] {
       OBJET panel(0, 0, "P");
       panel.Load("grfx/showcase.lay");  // its IMAGE_FOND child needs the bank
     }},
    {"render_before_video",
     [] {
       OBJET panel(0, 0, "P");
       panel.w = panel.h = 64;  // no background to fit
       panel.children->push_back(std::make_unique<SPRITE>("KNOB", 10, 10, 0, 0, 0, 1.0f, 0, 255));
       panel.Render(0, 0);
     }},
    {"text_before_video",
     [] {
       draw_text(font_table.font(0), 10, 10, "one");
       draw_text(font_table.font(0), 10, 10, "two");
     }},
    {"fonts_before_video", [] { font_table.load(FONTS); }},
    {"fonts_before_pictures",
     [] {
       start_video(1024, 768, CATALOGUE);
       font_table.load(FONTS);
       image_bank->load_image("grfx/KNOB.png", "EXTRA_KNOB");
       image_bank->load_image("grfx/FOND.png", "EXTRA_FOND");
       font_table.release_all();
     }},
    {"pictures_before_fonts",
     [] {
       start_video(1024, 768, CATALOGUE);
       image_bank->load_image("grfx/KNOB.png", "EXTRA_KNOB");
       font_table.load(FONTS);
       font_table.release_all();
     }},
    {"label_font_past_table",
     [] {
       start_video(1024, 768, CATALOGUE);
       font_table.load(FONTS);
       for (const int font : {2, 3, 9}) {
         LABEL label("A_label", 10, 100, 0, 0, font, 16, 0xFFFFFF);
         label.Draw(0);
         label.Draw(0);
       }
       font_table.release_all();
     }},
    {"missing_picture",
     [] {
       start_video(1024, 768, CATALOGUE);
       for (const char* path : {"grfx/NO_SUCH.png", "grfx/NO_SUCH.png", "grfx/showcase.lay"})
         std::printf("load_image [%s]: %d\n", path, image_bank->load_image(path, "NO_SUCH"));
     }},
    {"ortho_pushed_twice",
     [] {
       start_video(1024, 768, nullptr);
       for (int frame = 0; frame < 3; ++frame) push_ortho(0, 0, 1024, 768);  // never popped
     }},
    {"ortho_popped_alone",
     [] {
       start_video(1024, 768, nullptr);
       pop_ortho();
       pop_ortho();
     }},
    {"ortho_paired",
     [] {
       start_video(1024, 768, nullptr);
       for (int frame = 0; frame < 3; ++frame) {
         push_ortho(0, 0, 1024, 768);
         pop_ortho();
       }
     }},
};

}  // namespace

int main(int argc, char** argv) {
  const auto mistake = argc == 2 ? MISTAKES.find(argv[1]) : MISTAKES.end();
  if (mistake == MISTAKES.end()) {
    std::fprintf(stderr, "usage: usage_mistakes MISTAKE\n");
    return 2;
  }
  mistake->second();
  return 0;
}
