// The random source, the mouse record, the CPU frame and scripted events.
#include "common/cell_image.h"
#include "common/events_script.h"
#include "common/frame_painter.h"
#include "common/frame_step.h"
#include "common/grain_rules.h"
#include "grains_sim/gif_animation.h"
#include "support/picture_files.h"
#include "support/process.h"
#include "support/recording_painter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>
#include <tuple>
#include <vector>

TEST(RandomSource, RepeatsTheUnseededSequenceOfTheOriginalPlatform) {
  RandomSource random;
  const std::vector<int> expected{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (const int value : expected) EXPECT_EQ(random.next(), value);
  for (int i = 0; i < 100000; ++i) {
    const int value = random.next();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, RandomSource::MAX);
  }
}

TEST(RandomSource, TwoAtOnceAreTheNextTwo) {
  RandomSource one_by_one;
  RandomSource two_by_two;
  int differences = 0;
  for (int i = 0; i < 100000; ++i) {
    const auto [first, second] = two_by_two.next_two();
    differences += first != one_by_one.next();
    differences += second != one_by_one.next();
  }
  EXPECT_EQ(differences, 0);
}

namespace {

// Records what the event pump and the frame step ask of a program. The
// scan paints one white cell and lasts 2 ms, the fill 100 ms.
class RecordingRules final : public GrainRules {
 public:
  void clear_grid() override {}
  void spawn() override { calls.push_back("spawn"); }
  void scan(CellPainter& painter) override {
    calls.push_back("scan");
    const std::uint32_t white = 0xFFFFFF;
    painter.row(0, &white, 1, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  void fill_with_grains() override {
    calls.push_back("fill");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  void write_dump(std::FILE*) const override {}
  void left_click(const MOUSE_STATE& mouse) override {
    calls.push_back("click " + std::to_string(mouse.x) + " " + std::to_string(mouse.left_held));
  }
  void mouse_motion(const MOUSE_STATE& mouse) override {
    calls.push_back("motion " + std::to_string(mouse.x) + " " + std::to_string(mouse.right_held));
  }
  std::vector<std::string> calls;
};

MouseEvent down(int x, int y, std::uint8_t button) {
  return {MouseEventKind::button_down, std::uint16_t(x), std::uint16_t(y), button};
}
MouseEvent up(int x, int y, std::uint8_t button) {
  return {MouseEventKind::button_up, std::uint16_t(x), std::uint16_t(y), button};
}
MouseEvent motion(int x, int y) { return {MouseEventKind::motion, std::uint16_t(x), std::uint16_t(y), 0}; }

}  // namespace

TEST(MouseEvents, PressAndReleaseWithoutMotionRecordPositionsAndFlags) {
  MOUSE_STATE mouse;
  RecordingRules rules;
  handle_mouse_event(mouse, down(10, 20, BUTTON_MIDDLE), rules);
  EXPECT_EQ(mouse.middle_held, 1);
  EXPECT_EQ(mouse.middle_press.x, 10);
  EXPECT_EQ(mouse.middle_press.y, 20);
  handle_mouse_event(mouse, up(30, 40, BUTTON_MIDDLE), rules);
  EXPECT_EQ(mouse.middle_held, 0);
  EXPECT_EQ(mouse.middle_release.x, 30);
  EXPECT_EQ(mouse.middle_release.y, 40);
  EXPECT_EQ(mouse.x, 30);

  handle_mouse_event(mouse, down(65535, 65535, BUTTON_RIGHT), rules);
  EXPECT_EQ(mouse.right_press.x, 65535);  // 16-bit coordinates are zero-extended
  handle_mouse_event(mouse, down(5, 6, BUTTON_RIGHT), rules);
  EXPECT_EQ(mouse.right_held, 1);  // a lost release leaves the button held
  handle_mouse_event(mouse, up(7, 8, BUTTON_RIGHT), rules);
  EXPECT_EQ(mouse.right_held, 0);
  EXPECT_EQ(mouse.right_release.y, 8);
  EXPECT_TRUE(rules.calls.empty());
}

TEST(MouseEvents, LeftClickRunsBeforeTheHeldFlagAndMotionOncePerEvent) {
  MOUSE_STATE mouse;
  RecordingRules rules;
  handle_mouse_event(mouse, down(12, 0, BUTTON_LEFT), rules);
  handle_mouse_event(mouse, up(12, 0, BUTTON_LEFT), rules);
  handle_mouse_event(mouse, down(1, 1, BUTTON_RIGHT), rules);
  handle_mouse_event(mouse, motion(3, 4), rules);
  handle_mouse_event(mouse, motion(5, 4), rules);
  EXPECT_EQ(rules.calls, (std::vector<std::string>{"click 12 0", "motion 3 1", "motion 5 1"}));
  EXPECT_EQ(mouse.left_press.x, 12);
  EXPECT_EQ(mouse.left_held, 0);
}

TEST(FrameStep, HandlesTheEventsInOrderThenSpawnsThenScansIntoThePainter) {
  MOUSE_STATE mouse;
  RecordingRules rules;
  RecordingPainter painter;
  step_frame(rules, mouse, {down(1, 1, BUTTON_RIGHT), motion(3, 4), motion(5, 4)}, painter);
  EXPECT_EQ(rules.calls, (std::vector<std::string>{"motion 3 1", "motion 5 1", "spawn", "scan"}));
  EXPECT_EQ(painter.squares, (std::vector<Square>{{0, 0, 0xFFFFFF, 2.0f}}));
  EXPECT_EQ(mouse.x, 5);
}

TEST(FrameStep, FillsAfterTheEventsAndTimesOnlyTheSpawnAndTheScan) {
  MOUSE_STATE mouse;
  RecordingRules rules;
  NullPainter none;
  std::chrono::duration<double> time{0};
  step_frame(rules, mouse, {down(1, 1, BUTTON_RIGHT), motion(3, 4)}, none, {true, &time});
  EXPECT_EQ(rules.calls, (std::vector<std::string>{"motion 3 1", "fill", "spawn", "scan"}));
  EXPECT_GE(time.count(), 0.002);  // the scan
  EXPECT_LT(time.count(), 0.1);    // not the fill
  step_frame(rules, mouse, {}, none, {false, &time});
  EXPECT_GE(time.count(), 0.004);  // added up
  EXPECT_EQ(rules.calls.size(), 6u);
}

TEST(RandomSource, RemainderOneTestAgreesWithTheRemainderForEveryDrawAndDivisor) {
  int differences = 0;
  for (int divisor = 1; divisor <= 10; ++divisor)
    for (int value = 0; value <= RandomSource::MAX; ++value)
      differences += draw_remainder_is_one(value, divisor) != (value % divisor == 1);
  EXPECT_EQ(differences, 0);
}

TEST(FramePainter, PaintsCellsWhereTheirSquaresAreAndClipsToTheWindow) {
  FramePainter frame;
  std::vector<std::uint32_t> colours(300, 0);
  colours[5] = 0xFFFFFF;
  frame.row(0, colours.data(), 6, 2);  // window rows 0 and 1
  colours[5] = 0;
  colours[0] = 0x80123456;                 // alpha ignored
  colours[299] = 0x00FF00;                 // starts at x 1196: outside
  colours[255] = 0x0000FF;                 // the last column, x 1020 to 1023
  frame.row(191, colours.data(), 300, 4);  // window rows 764 to 767
  frame.row(192, colours.data(), 300, 4);  // window rows 768 on: outside
  frame.row(-1, colours.data(), 300, 4);
  int lit = 0;
  for (int y = 0; y < FramePainter::HEIGHT; ++y)
    for (int x = 0; x < FramePainter::WIDTH; ++x) lit += frame.pixel(x, y) != 0xFF000000u;
  EXPECT_EQ(lit, 4 + 16 + 16);
  for (const int y : {0, 1}) {
    EXPECT_EQ(frame.pixel(10, y), 0xFFFFFFFFu);
    EXPECT_EQ(frame.pixel(11, y), 0xFFFFFFFFu);
  }
  EXPECT_EQ(frame.pixel(0, 764), 0xFF123456u);
  EXPECT_EQ(frame.pixel(3, 767), 0xFF123456u);
  EXPECT_EQ(frame.pixel(4, 767), 0xFF000000u);
  EXPECT_EQ(frame.pixel(1020, 764), 0xFF0000FFu);
  EXPECT_EQ(frame.pixel(1023, 767), 0xFF0000FFu);
  const PixelBounds& painted = frame.painted();
  EXPECT_EQ(std::tie(painted.left, painted.top, painted.right, painted.bottom), std::make_tuple(0, 0, 1024, 768));
  frame.clear();
  EXPECT_EQ(frame.pixel(1023, 767), 0xFF000000u);
  EXPECT_TRUE(frame.painted().empty());
}

TEST(CellImage, KeepsOneTexelPerDrawnCellAndTheirBounds) {
  CellImage image;
  std::vector<std::uint32_t> colours(400, 0);
  colours[7] = 0x00FF0000;
  colours[9] = 0x01234567;  // the alpha byte is kept, as draw_square keeps it
  image.row(3, colours.data(), 400, 4);
  EXPECT_EQ(image.cell_size(), 4);
  EXPECT_EQ(image.texel(7, 3), 0x00FF0000u);
  EXPECT_EQ(image.texel(9, 3), 0x01234567u);
  EXPECT_EQ(image.texel(8, 3), 0u);
  colours[7] = 0;
  colours[255] = 0xFFFFFF;                 // the last column that shows at size 4
  colours[256] = 0xFFFFFF;                 // starts at x 1024: never shows
  image.row(3, colours.data(), 400, 4);    // drawn again: cells not drawn stay
  image.row(191, colours.data(), 400, 4);  // window rows 764 to 767
  image.row(192, colours.data(), 400, 4);  // window row 768: never shows
  image.row(5, colours.data(), 400, 2);    // another size in the same frame
  EXPECT_EQ(image.texel(7, 3), 0x00FF0000u);
  EXPECT_EQ(image.texel(255, 191), 0xFFFFFFu);
  EXPECT_EQ(image.texel(9, 5), 0u);
  const PixelBounds& drawn = image.drawn();
  EXPECT_EQ(std::tie(drawn.left, drawn.top, drawn.right, drawn.bottom), std::make_tuple(7, 3, 256, 192));
  image.clear();
  EXPECT_EQ(image.texel(255, 191), 0u);
  EXPECT_TRUE(image.drawn().empty());
  image.row(767, colours.data(), 400, 1);  // size 1: the window's last row
  image.row(768, colours.data(), 400, 1);
  EXPECT_EQ(image.cell_size(), 1);
  EXPECT_EQ(image.texel(9, 767), 0x01234567u);
  EXPECT_EQ(image.drawn().bottom, 768);
}

TEST(EventsScript, ReadsEventsInFrameOrderAndSkipsCommentsAndBlanks) {
  std::istringstream in("# a right drag\n\n3 down 10 20 3\n1 motion 5 6\n3 motion 65535 0\n 1 up 0 0 1\n");
  const EventsScript script = read_events_script(in);
  ASSERT_TRUE(script.error.empty()) << script.error;
  ASSERT_EQ(script.events.size(), 4u);
  EXPECT_EQ(script.events[0].frame, 1);
  EXPECT_EQ(script.events[0].event.kind, MouseEventKind::motion);
  EXPECT_EQ(script.events[1].event.kind, MouseEventKind::button_up);
  EXPECT_EQ(script.events[2].event.button, BUTTON_RIGHT);
  EXPECT_EQ(script.events[3].event.x, 65535);
}

TEST(EventsScript, WrittenLinesReadBackAndTheLastFramesCommentGivesTheFrameCount) {
  const MouseEvent wheel{MouseEventKind::button_down, 1072, 0, 4};
  const MouseEvent motion{MouseEventKind::motion, 3, 65535, 0};
  std::istringstream in("# frames 5\n" + event_line(7, wheel) + "\n" + event_line(9, motion) + "\n" +
                        "# frames twelve\n#frames 6\n" + frames_line(12) + "\n");
  const EventsScript script = read_events_script(in);
  ASSERT_TRUE(script.error.empty()) << script.error;
  ASSERT_EQ(script.events.size(), 2u);
  EXPECT_EQ(script.events[0].frame, 7);
  EXPECT_EQ(script.events[0].event.button, 4);
  EXPECT_EQ(script.events[0].event.x, 1072);
  EXPECT_EQ(script.events[1].event.kind, MouseEventKind::motion);
  EXPECT_EQ(script.events[1].event.y, 65535);
  EXPECT_EQ(script.frames, 12);
  std::istringstream none("1 motion 2 3\n# frame 4\n");
  EXPECT_FALSE(read_events_script(none).frames.has_value());
}

TEST(EventsScript, NamesTheFirstMalformedLine) {
  for (const std::string bad : {"1 down 10 20", "1 jump 1 1", "1 motion 65536 0", "-1 motion 0 0", "1 up 1 1 256",
                                "1 down 1 1 0", "1 motion 1 1 1 1", "x motion 1 1", "1 motion 1.5 1"}) {
    std::istringstream in("0 motion 1 1\n#\n" + bad + "\n");
    const EventsScript script = read_events_script(in);
    EXPECT_EQ(script.error.rfind("line 3:", 0), 0u) << bad << " gave: " << script.error;
    EXPECT_TRUE(script.events.empty());
  }
}

TEST(GifAnimation, WritesChangesKeepsColoursExactAndLengthensRepeatedPictures) {
  const std::string dir = make_temp_dir(), path = dir + "/a.gif";
  std::vector<std::uint32_t> picture(16 * 8, 0xFF0080);  // alpha byte ignored
  picture[3] = 0x123456;
  std::string error;
  GifAnimation gif;
  ASSERT_TRUE(gif.open(path, 4, 4, error)) << error;  // the top-left 4x4 of a 16-wide picture
  ASSERT_TRUE(gif.add(picture.data(), 16, 5, error));
  ASSERT_TRUE(gif.add(picture.data(), 16, 5, error)) << "the same picture again";
  picture[16 * 2 + 1] = 0xFFFFFF;
  picture[4] = 0x00FF00;  // outside the 4x4 corner
  ASSERT_TRUE(gif.add(picture.data(), 16, 70000, error)) << "longer than one GIF picture can last";
  ASSERT_TRUE(gif.close(error)) << error;

  const std::vector<GifPicture> shown = read_gif_file(path);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].delay, 10);
  EXPECT_EQ(shown[0].picture.at(3, 0), 0x123456u);
  EXPECT_EQ(shown[0].picture.at(1, 2), 0xFF0080u);
  EXPECT_EQ(shown[1].picture.at(1, 2), 0xFFFFFFu);
  EXPECT_EQ(shown[1].picture.at(3, 0), 0x123456u) << "unchanged pixels stay";
  EXPECT_EQ(shown[1].delay + shown[2].delay, 70000);
  EXPECT_TRUE(shown[2].picture.pixels == shown[1].picture.pixels);

  std::vector<std::uint32_t> many(16 * 16);
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::uint32_t>(i);
  GifAnimation crowded;
  ASSERT_TRUE(crowded.open(path, 16, 16, error));
  ASSERT_TRUE(crowded.add(many.data(), 16, 1, error));
  EXPECT_FALSE(crowded.close(error)) << "256 colours do not fit one picture";
  EXPECT_NE(error.find("255 colours"), std::string::npos) << error;
  std::filesystem::remove_all(dir);
}
