// The showcase's panel and what it does: the panel laid out from a layout
// file, fed by the front end, its labels kept up to date with its widgets,
// a patch cord between two sockets, the picture browser's buttons and the
// buttons that save the layout and load it back into a fresh panel.
#pragma once

#include "engine_showcase/front_end.h"
#include "engine_showcase/picture_browser.h"
#include "plugs/cord.h"
#include "scene/objet.h"
#include "scene/widgets.h"

#include <array>
#include <memory>
#include <string>

// Where the panel shows at start-up.
constexpr int PANEL_X = 24;
constexpr int PANEL_Y = 24;

class Showcase {
 public:
  // Loads the panel from layout_path; saved_layout_path is the file the
  // save and load buttons use. Ends the process with status 1 when the
  // layout cannot be read.
  Showcase(PictureBrowser& browser, const char* layout_path, std::string saved_layout_path, int window_width,
           int window_height);

  // One SDL event: the front end's messages for it go through the panel's
  // Update at once (the panel takes a batch newest first, so each event's
  // messages get their own Update), then the showcase reacts to them.
  void handle(const SDL_Event& event);
  // The frame's own Update, which lets the drag time grow while the knob
  // is held still, and the reactions to it.
  void refresh();
  // Clears the frame and draws the tiles, the picture viewer and the status
  // line, the panel over them, and the cord.
  void draw();

  OBJET& panel() { return *panel_; }

 private:
  enum class Action { previous, next, save, load };
  struct ActionButton {
    const char* name;
    Action action;
  };
  static constexpr std::array<ActionButton, 4> ACTION_BUTTONS{
      {{"PREV", Action::previous}, {"NEXT", Action::next}, {"SAVE", Action::save}, {"LOAD", Action::load}}};

  void update_panel();
  void react();
  void show_button_states();
  void follow_slider();
  void plug_jacks();
  void run_clicked_actions();
  void note_action_states();
  void save_layout();
  void load_layout();
  void connect_cord();
  void set_caption(const char* label, const std::string& text);
  void set_status(const std::string& text);

  PictureBrowser& browser_;
  std::unique_ptr<OBJET> panel_;
  FrontEnd front_end_;
  std::unique_ptr<CORD> cord_;
  LABEL status_;
  std::string saved_layout_path_;
  bool slider_was_moving_ = false;
  std::array<int, ACTION_BUTTONS.size()> action_states_{};  // each action button's state when last looked at
};
