#include "engine_showcase/showcase.h"

#include "draw/draw.h"
#include "engine_showcase/panel_places.h"
#include "scene/background.h"
#include "scene/text_field.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using grains::copy_text;
using grains::TEXTURED_QUAD_DROP;

namespace {

// Each button whose state a label of the panel shows, and the label's two texts.
struct StateReadout {
  const char* button;
  const char* label;
  const char* when_off;
  const char* when_on;
};
constexpr StateReadout STATE_READOUTS[] = {
    {"PLAY", "PLAY_STATE", "Play:_off", "Play:_on"},
    {"STOP", "STOP_STATE", "Stop:_off", "Stop:_on"},
    {"JACK_IN", "JACK_IN_STATE", "Jack_1:_plugged_in", "Jack_1:_pulled_out"},
    {"JACK_OUT", "JACK_OUT_STATE", "Jack_2:_plugged_in", "Jack_2:_pulled_out"},
};

// The slider, the labels that follow it, and the sockets the cord joins.
constexpr const char* SLIDER_NAME = "SPEED";
constexpr const char* VALUE_LABEL = "VALUE";
constexpr const char* TIME_LABEL = "TIME";
constexpr const char* CORD_START = "JACK_IN";
constexpr const char* CORD_END = "JACK_OUT";
constexpr std::uint32_t CORD_COLOUR = 0xF08030;
constexpr const char* UNPLUGGED_JACK = "FICHE_UNPLUG";

// The panel's name: its children are named "1_PLAY" and so on.
constexpr const char* PANEL_NAME = "1";

constexpr int STATUS_X = PictureBrowser::VIEWER.left;
constexpr int STATUS_Y = PictureBrowser::VIEWER.top + PictureBrowser::VIEWER.height + 8;
constexpr std::uint32_t STATUS_COLOUR = 0xC8D0E0;

// The panel a layout file describes, at (0, 0) while it loads: the reader
// adds the panel's place to sprite records, and drawing adds it again, so
// positions in the file are places within the panel only there.
// Its children take their pictures' sizes at once: a sprite's first
// drawing comes out at its size before it, and the background is drawn
// before the children are refreshed.
std::unique_ptr<OBJET> panel_from(const char* path, const char* panel_name) {
  auto panel = std::make_unique<OBJET>(0, 0, panel_name);
  if (panel->Load(path) != 1) return nullptr;
  for (const auto& child : *panel->children) child->Update();
  return panel;
}

std::unique_ptr<OBJET> first_panel(const char* path) {
  auto panel = panel_from(path, PANEL_NAME);
  if (panel == nullptr) {
    std::printf("engine_showcase: cannot read the layout [%s]\n", path);
    std::exit(1);
  }
  panel->Set_position(PANEL_X, PANEL_Y, 0);
  return panel;
}

// A caption is one token of a layout file: blanks are written as '_'.
std::string as_caption(std::string text) {
  std::replace(text.begin(), text.end(), ' ', '_');
  return text;
}

// The panel's Update with its children marked clean: it routes the queued
// messages and leaves the drawing to the frame (it would draw the panel at
// once when a message comes and a child is marked). It also refreshes the
// panel as a sprite, which gives it the size of its own picture (the
// "IMG_001" it is built with); the size of its background is put back for
// the hit tests and the frame.
void route_messages(OBJET& panel) {
  panel.Mark_children(0);
  panel.Update();
  panel.Fit_background();
}

// Each button and slider takes its routed messages now, as the panel took
// them: a widget takes its queue newest first, so a press and a release
// left there for the panel's Render (a quick click, within one frame)
// would be taken release first, leaving the widget pressed.
void refresh_widgets(OBJET& panel) {
  for (const auto& child : *panel.children)
    if (dynamic_cast<BUTTON*>(child.get()) != nullptr || dynamic_cast<SLIDER*>(child.get()) != nullptr) child->Update();
}

// The fresh panel's buttons get the states of the same buttons of the
// former one, through the release events that toggle them: a layout file
// holds no state.
void carry_button_states(OBJET& from, OBJET& to) {
  SDL_Event release{};
  release.type = SDL_MOUSEBUTTONUP;
  release.button.button = SDL_BUTTON_LEFT;
  for (const auto& child : *to.children) {
    auto* button = dynamic_cast<BUTTON*>(child.get());
    const BUTTON* former = button != nullptr ? find_element<BUTTON>(from, short_name(to, *button)) : nullptr;
    if (former != nullptr && former->state != button->state) to.Post(MESSAGE(1, release, nullptr, button));
  }
}

bool pulled_out(const SPRITE& jack) { return std::strcmp(jack.image, UNPLUGGED_JACK) == 0; }

// The tiles start at the window's top edge: the view is scrolled by the
// drop of textured quads while they are drawn.
void draw_tiles() {
  view_offset_y += TEXTURED_QUAD_DROP;
  draw_background_tiles();
  view_offset_y -= TEXTURED_QUAD_DROP;
}

}  // namespace

Showcase::Showcase(PictureBrowser& browser, const char* layout_path, std::string saved_layout_path, int window_width,
                   int window_height)
    : browser_(browser),
      panel_(first_panel(layout_path)),
      front_end_(*panel_, window_width, window_height),
      status_(placed_label("Esc_or_closing_the_window_ends_the_showcase.", STATUS_X, STATUS_Y, 0, 12, STATUS_COLOUR)),
      saved_layout_path_(std::move(saved_layout_path)) {
  connect_cord();
  note_action_states();
}

void Showcase::handle(const SDL_Event& event) {
  if (front_end_.translate(event) > 0) update_panel();
}

void Showcase::refresh() { update_panel(); }

void Showcase::update_panel() {
  route_messages(*panel_);
  react();
}

void Showcase::react() {
  refresh_widgets(*panel_);
  show_button_states();
  follow_slider();
  plug_jacks();
  run_clicked_actions();
}

void Showcase::show_button_states() {
  for (const StateReadout& readout : STATE_READOUTS)
    if (const BUTTON* button = find_element<BUTTON>(*panel_, readout.button))
      set_caption(readout.label, button->state != 0 ? readout.when_on : readout.when_off);
}

// While the panel follows a drag, and once when it ends, the knob goes to
// the panel's value and the labels show the value and the drag time.
void Showcase::follow_slider() {
  const bool moving = panel_->slider_moving != 0;
  if (!moving && !slider_was_moving_) return;
  slider_was_moving_ = moving;
  const int value = panel_->slider_value;
  SPRITE* knob = panel_->Find_child(SLIDER_NAME);
  const SPRITE* rail = knob != nullptr ? rail_of(*panel_, *knob) : nullptr;
  if (rail != nullptr) knob->Set_x(knob_x_for(*rail, *knob, value));
  set_caption(VALUE_LABEL, "Value: " + std::to_string(value));
  char time[32];
  std::snprintf(time, sizeof time, "Drag: %.1f s", static_cast<double>(panel_->slider_time));
  set_caption(TIME_LABEL, time);
}

// A socket's state says whether the cord's jack in it is pulled out.
void Showcase::plug_jacks() {
  if (cord_ == nullptr) return;
  const BUTTON* start = find_element<BUTTON>(*panel_, CORD_START);
  const BUTTON* end = find_element<BUTTON>(*panel_, CORD_END);
  if (start != nullptr && pulled_out(cord_->jack1) != (start->state != 0))
    cord_->toggle_jack1(start->state == 0, start->state != 0);
  if (end != nullptr && pulled_out(cord_->jack2) != (end->state != 0))
    cord_->toggle_jack2(end->state == 0, end->state != 0);
}

// Every click toggles a button's state; a state that changed is a click.
// Loading comes last, as it replaces the panel.
void Showcase::run_clicked_actions() {
  bool load = false;
  for (std::size_t i = 0; i < ACTION_BUTTONS.size(); ++i) {
    const BUTTON* button = find_element<BUTTON>(*panel_, ACTION_BUTTONS[i].name);
    if (button == nullptr || button->state == action_states_[i]) continue;
    action_states_[i] = button->state;
    switch (ACTION_BUTTONS[i].action) {
      case Action::previous: browser_.previous(); break;
      case Action::next: browser_.next(); break;
      case Action::save: save_layout(); break;
      case Action::load: load = true; break;
    }
  }
  if (load) load_layout();
}

void Showcase::note_action_states() {
  for (std::size_t i = 0; i < ACTION_BUTTONS.size(); ++i) {
    const BUTTON* button = find_element<BUTTON>(*panel_, ACTION_BUTTONS[i].name);
    action_states_[i] = button != nullptr ? button->state : 0;
  }
}

// Written, as it is read, with the panel at (0, 0): sprite records hold
// places within the panel there (see panel_from).
void Showcase::save_layout() {
  const char* path = saved_layout_path_.c_str();
  const float x = panel_->x, y = panel_->y;
  panel_->Set_position(0, 0, panel_->z);
  const std::int32_t saved = panel_->Save(path);
  panel_->Set_position(x, y, panel_->z);
  if (saved != 1) {
    set_status("Could not save the layout to " + saved_layout_path_);
    return;
  }
  std::printf("Layout saved to [%s]\n", path);
  set_status("Layout saved to " + saved_layout_path_);
}

// The saved layout goes into a fresh panel at the same place, which
// replaces the former one once it has taken over its button states.
void Showcase::load_layout() {
  std::unique_ptr<OBJET> fresh = panel_from(saved_layout_path_.c_str(), panel_->rc_name);
  if (fresh == nullptr) {
    set_status("No layout saved at " + saved_layout_path_ + " yet");
    return;
  }
  fresh->Set_position(panel_->x, panel_->y, panel_->z);
  carry_button_states(*panel_, *fresh);
  panel_.swap(fresh);
  connect_cord();
  front_end_.rebind(*panel_);
  route_messages(*panel_);
  refresh_widgets(*panel_);
  note_action_states();
  slider_was_moving_ = false;
  std::printf("Layout loaded from [%s]\n", saved_layout_path_.c_str());
  set_status("Layout loaded into a fresh panel from " + saved_layout_path_);
}

// The cord joins the centres of the two sockets, when the panel has both.
void Showcase::connect_cord() {
  BUTTON* start = find_element<BUTTON>(*panel_, CORD_START);
  BUTTON* end = find_element<BUTTON>(*panel_, CORD_END);
  if (start == nullptr || end == nullptr) cord_.reset();
  else if (cord_ != nullptr) cord_->attach(panel_.get(), panel_.get(), start, end, CORD_COLOUR);
  else cord_ = std::make_unique<CORD>(panel_.get(), panel_.get(), start, end, CORD_COLOUR);
}

void Showcase::set_caption(const char* label_name, const std::string& text) {
  if (LABEL* label = find_element<LABEL>(*panel_, label_name)) copy_text(label->caption, as_caption(text).c_str());
}

void Showcase::set_status(const std::string& text) { copy_text(status_.caption, as_caption(text).c_str()); }

// The frame is drawn whole each time, so every child is marked for the
// panel's Render, which draws only those marked.
void Showcase::draw() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  draw_tiles();
  browser_.draw();
  status_.Update();
  status_.Draw(0);
  panel_->Mark_children(1);
  panel_->Render(0, 1);
  if (cord_ != nullptr) {
    cord_->attach(cord_->container1, cord_->container2, cord_->element1, cord_->element2, CORD_COLOUR);
    cord_->draw(0);
  }
}
