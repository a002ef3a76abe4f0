// Every program's rules against the plain reference rules, side by side:
// each frame's painted squares and the random draws made, and the whole
// grid every hundred frames and at the end of a run.
#include "reference/reference_rules.h"

#include "common/events_script.h"
#include "common/frame_step.h"
#include "grains_sim/program_registry.h"
#include "support/recording_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr long DUMP_EVERY = 100;
constexpr int GRID_SIDE = 641;

struct SideBySideRun {
  std::string name;
  long frames;
  EventsScript script;
  bool full_load;  // every simulated cell refilled with grains before each frame
};

// One set of rules with its own mouse, driven as the frame loop drives it
// from the start-up clear on.
struct Contender {
  explicit Contender(std::unique_ptr<GrainRules> program_rules) : rules(std::move(program_rules)) {
    rules->clear_grid();
  }

  std::unique_ptr<GrainRules> rules;
  MOUSE_STATE mouse;

  std::vector<Square> frame(const std::vector<MouseEvent>& events, bool full_load) {
    RecordingPainter painter;
    step_frame(*rules, mouse, events, painter, {full_load});
    return std::move(painter.squares);
  }

  std::string dump() const {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    rules->write_dump(out);
    std::fclose(out);
    std::string dump(text, size);
    std::free(text);
    return dump;
  }
};

std::string describe(const std::vector<Square>& squares, std::size_t i) {
  if (i >= squares.size()) return "no square (" + std::to_string(squares.size()) + " in all)";
  const Square& s = squares[i];
  const int size = static_cast<int>(s.size);
  char text[96];
  std::snprintf(text, sizeof text, "cell (%d, %d) in %06x, size %d", s.x / size, s.y / size,
                static_cast<unsigned>(s.colour), size);
  return text;
}

std::string squares_difference(const std::vector<Square>& production, const std::vector<Square>& reference) {
  for (std::size_t i = 0; i < std::max(production.size(), reference.size()); ++i)
    if (i >= production.size() || i >= reference.size() || !(production[i] == reference[i]))
      return "square " + std::to_string(i) + ": production " + describe(production, i) + ", reference " +
             describe(reference, i);
  return "";
}

std::string dump_difference(const std::string& production, const std::string& reference) {
  if (production == reference) return "";
  std::istringstream production_in(production);
  std::istringstream reference_in(reference);
  std::string production_value;
  std::string reference_value;
  for (long i = 0;; ++i) {
    const bool production_more = static_cast<bool>(production_in >> production_value);
    const bool reference_more = static_cast<bool>(reference_in >> reference_value);
    if (!production_more && !reference_more) return "grid dumps hold the same values in different lines";
    if (!production_more) production_value = "(end of dump)";
    if (!reference_more) reference_value = "(end of dump)";
    if (!production_more || !reference_more || production_value != reference_value)
      return "grid cell (" + std::to_string(i % GRID_SIDE) + ", " + std::to_string(i / GRID_SIDE) + "): production " +
             production_value + ", reference " + reference_value;
  }
}

// Whether both generators will give the same next draws, without moving them.
bool same_draws_ahead(RandomSource production, RandomSource reference) {
  for (int i = 0; i < 4; ++i)
    if (production.next() != reference.next()) return false;
  return true;
}

std::vector<MouseEvent> events_of_frame(const EventsScript& script, long frame) {
  std::vector<MouseEvent> events;
  for (const ScriptedEvent& scripted : script.events)
    if (scripted.frame == frame) events.push_back(scripted.event);
  return events;
}

// Runs the production and reference rules side by side; describes the first
// disagreement, or returns "" when there is none.
std::string first_disagreement(Contender& production, Contender& reference, const SideBySideRun& run) {
  for (long frame = 0; frame < run.frames; ++frame) {
    const std::vector<MouseEvent> events = events_of_frame(run.script, frame);
    std::string difference;
    try {
      difference = squares_difference(production.frame(events, run.full_load), reference.frame(events, run.full_load));
    } catch (const std::out_of_range& error) {
      difference = std::string("the reference rules stepped outside the grid at ") + error.what();
    }
    if (difference.empty() && !same_draws_ahead(production.rules->random, reference.rules->random))
      difference = "the random draws are out of step";
    if (difference.empty() && ((frame + 1) % DUMP_EVERY == 0 || frame + 1 == run.frames))
      difference = dump_difference(production.dump(), reference.dump());
    if (!difference.empty()) return "frame " + std::to_string(frame) + ": " + difference;
  }
  return "";
}

EventsScript read_script(std::istream& in, const std::string& name) {
  EventsScript script = read_events_script(in);
  if (!script.error.empty()) throw std::runtime_error(name + ": " + script.error);
  return script;
}

EventsScript golden_script(const std::string& program) {
  std::ifstream in(std::string(SOURCE_DIR) + "/tests/golden/" + program + ".events");
  if (!in) throw std::runtime_error("no golden script for " + program);
  return read_script(in, program + ".events");
}

// Every button's brush over the grid's right and bottom edges (cells 641
// and beyond are left out) and far outside it.
EventsScript brushes_at_the_grid_edges() {
  std::istringstream in(
      "0 down 1279 1279 1\n"  // left click into cell (639, 639)
      "0 down 1283 1000 1\n"  // and beyond the grid's right edge
      "1 motion 1270 1270\n"  // the left brush over the corner
      "1 down 1270 1270 3\n"
      "1 motion 1274 1262\n"  // with the right brush
      "2 down 1274 1262 2\n"
      "2 motion 1262 1276\n"  // and the middle brush
      "2 motion 65535 65535\n"
      "3 up 65535 65535 1\n"
      "3 up 65535 65535 2\n"
      "3 motion 638 637\n"  // the right brush alone, at pointer cells near the edges
      "3 motion 640 640\n"
      "3 motion 1280 1280\n");
  return read_script(in, "brushes at the grid edges");
}

// A run's length: its own, or for the quick tier's shorter run
// REFERENCE_RULES_PERCENT percent of it (1 to 100), but no fewer than 10
// frames when it has them.
long frames_to_run(long length) {
  const char* percent = std::getenv("REFERENCE_RULES_PERCENT");
  if (percent == nullptr) return length;
  const long share = length * std::clamp(std::atol(percent), 1L, 100L) / 100;
  return std::max(share, std::min(length, 10L));
}

class ReferenceRulesTest : public testing::TestWithParam<std::string> {
 protected:
  void expect_agreement(SideBySideRun run) {
    run.frames = frames_to_run(run.frames);
    Contender production(make_grain_rules(GetParam()));
    Contender reference(make_reference_rules(GetParam()));
    const std::string difference = first_disagreement(production, reference, run);
    EXPECT_TRUE(difference.empty()) << GetParam() << ", " << run.name << ": " << difference;
  }
};

TEST_P(ReferenceRulesTest, AgreeOnTheGoldenScript) {
  expect_agreement({"golden script", 1500, golden_script(GetParam()), false});
}

TEST_P(ReferenceRulesTest, AgreeOnBrushesAtTheGridEdges) {
  expect_agreement({"brushes at the grid edges", 10, brushes_at_the_grid_edges(), false});
}

TEST_P(ReferenceRulesTest, AgreeWithoutInput) { expect_agreement({"no input", 3000, {}, false}); }

TEST_P(ReferenceRulesTest, AgreeUnderFullLoad) { expect_agreement({"full load", 40, {}, true}); }

// The comparison itself: one grain more on one side is found in the frame's
// squares when it is shown, else in the next grid dump, and located.
TEST(SideBySide, FindsAndLocatesAnExtraGrain) {
  const SideBySideRun run{"no input", 100, {}, false};
  const auto difference_with_click_at = [&run](std::uint16_t x, std::uint16_t y) {
    Contender production(make_grain_rules("grains_a"));
    Contender reference(make_reference_rules("grains_a"));
    handle_mouse_event(reference.mouse, {MouseEventKind::button_down, x, y, BUTTON_LEFT}, *reference.rules);
    return first_disagreement(production, reference, run);
  };
  EXPECT_EQ(difference_with_click_at(800, 600), "frame 99: grid cell (400, 300): production 0, reference 2");
  const std::string shown = difference_with_click_at(200, 10);
  EXPECT_EQ(shown.rfind("frame 0: square 0: production ", 0), 0u) << shown;
  EXPECT_NE(shown.find("reference cell (100, 5) in ff0000, size 2"), std::string::npos) << shown;
}

INSTANTIATE_TEST_SUITE_P(Programs, ReferenceRulesTest, testing::ValuesIn(grain_program_names()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
