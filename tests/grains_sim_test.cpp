// The headless runner from the command line.
#include "support/picture_files.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class GrainsSim : public testing::Test {
 protected:
  void SetUp() override { dir_ = make_temp_dir(); }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string file(const std::string& name, const std::string& content = "") {
    const std::string path = dir_ + "/" + name;
    if (!content.empty()) std::ofstream(path) << content;
    return path;
  }
  static ProcessResult sim(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), program_path("grains_sim"));
    return run_process(arguments);
  }

  std::string dir_;
};

const char* RIGHT_DRAG =
    "# paint a wall across the pink stream\n"
    "5 down 60 300 3\n"
    "5 motion 60 300\n"
    "6 motion 120 302\n"
    "6 motion 180 304\n"
    "7 up 180 304 3\n";

}  // namespace

TEST_F(GrainsSim, SameEventsGiveIdenticalDumps) {
  const std::string events = file("drag.txt", RIGHT_DRAG);
  for (const std::string program : {"grains_b", "grains_d"}) {
    const auto first = sim({program, "--frames", "300", "--events", events, "--dump", file("1.txt")});
    const auto second = sim({program, "--frames", "300", "--events", events, "--dump", file("2.txt")});
    ASSERT_EQ(first.exit_status, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    const std::string dump = read_file(file("1.txt"));
    EXPECT_EQ(dump, read_file(file("2.txt")));
    EXPECT_NE(dump.find("ff0000"), std::string::npos) << program << ": the wall is in the grid";
    EXPECT_NE(dump.find("ffffff"), std::string::npos) << program << ": grains were spawned";
  }
}

TEST_F(GrainsSim, DumpIs641LinesOf641HexValues) {
  const auto result = sim({"grains_b", "--frames", "50", "--dump", file("dump.txt")});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  std::istringstream dump(read_file(file("dump.txt")));
  int rows = 0;
  for (std::string line; std::getline(dump, line); ++rows) {
    ASSERT_EQ(line.size(), 641u * 7 - 1) << "row " << rows;
    for (std::size_t i = 6; i < line.size(); i += 7) ASSERT_EQ(line[i], ' ');
    ASSERT_EQ(line.find_first_not_of("0123456789abcdef "), std::string::npos);
  }
  EXPECT_EQ(rows, 641);
}

TEST_F(GrainsSim, KindGridDumpsKindsAndColoursAndRepeat) {
  // A left click and a left drag inside a cup of walls, in both programs.
  const std::string events = file("paint.txt",
                                  "3 down 300 300 3\n3 motion 300 300\n3 motion 316 300\n3 motion 332 300\n"
                                  "3 motion 300 284\n3 motion 332 284\n3 up 332 284 3\n"
                                  "4 down 320 280 1\n4 motion 316 276\n5 motion 316 270\n5 up 316 270 1\n");
  for (const std::string program : {"grains_a", "grains_c"}) {
    const auto first = sim({program, "--frames", "200", "--events", events, "--dump", file("1.txt")});
    const auto second = sim({program, "--frames", "200", "--events", events, "--dump", file("2.txt")});
    ASSERT_EQ(first.exit_status, 0) << first.err;
    ASSERT_EQ(second.exit_status, 0) << second.err;
    const std::string dump = read_file(file("1.txt"));
    EXPECT_EQ(dump, read_file(file("2.txt")));

    const bool is_c = program == "grains_c";
    std::istringstream lines(dump);
    int rows = 0, walls = 0, in_cup = 0;
    for (std::string line; std::getline(lines, line); ++rows) {
      std::istringstream values(line);
      int columns = 0;
      for (std::string value; values >> value; ++columns) {
        const std::string kind = is_c ? value.substr(0, value.find(':')) : value;
        ASSERT_EQ(kind.find_first_not_of("0123456789"), std::string::npos) << value;
        if (is_c) {
          ASSERT_EQ(value.size(), kind.size() + 7) << value;
          ASSERT_EQ(value[kind.size()], ':');
          ASSERT_EQ(value.find_first_not_of("0123456789abcdef", kind.size() + 1), std::string::npos) << value;
        }
        walls += kind == "1";
        // The cup's inside: columns 158..165, rows 134..149.
        in_cup += kind == "2" && columns >= 158 && columns <= 165 && rows >= 134 && rows <= 149;
      }
      ASSERT_EQ(columns, 641) << "row " << rows;
      ASSERT_EQ(line.find("  "), std::string::npos);
    }
    EXPECT_EQ(rows, 641);
    EXPECT_EQ(walls, 5 * 64) << program;
    EXPECT_GT(in_cup, 10) << program << ": the brushed grains stay in the cup";
  }
}

TEST_F(GrainsSim, ScriptedRightDragPrintsItsLinesLikeTheWindow) {
  const auto result = sim({"grains_b", "--frames", "10", "--events", file("drag.txt", RIGHT_DRAG), "--bench"});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  // The press alone paints nothing; each motion while held paints and prints.
  EXPECT_EQ(result.out.substr(0, result.out.rfind("D ") + 10), "D 60 300\nD 120 302\nD 180 304\n");
  const std::string last_line = result.out.substr(result.out.rfind("frames="));
  EXPECT_EQ(last_line.rfind("frames=10 seconds=", 0), 0u) << last_line;
  EXPECT_NE(last_line.find(" frames_per_second="), std::string::npos);
}

TEST_F(GrainsSim, PictureIsTheWindowSizedFrame) {
  const std::string png = file("frame.png");
  const auto result = sim({"grains_d", "--frames", "200", "--png", png});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  const PictureFile picture = read_png_file(png);
  EXPECT_EQ(picture.width, 1024);
  EXPECT_EQ(picture.height, 768);
  int white = 0, other = 0;
  for (const std::uint32_t value : picture.pixels) {
    white += value == 0xFFFFFF;
    other += value != 0xFFFFFF && value != 0;
  }
  EXPECT_GT(white, 16 * 20);
  EXPECT_EQ(white % 16, 0) << "whole 4x4 cells";
  EXPECT_EQ(other, 0);
}

TEST_F(GrainsSim, GifShowsEveryKthFrameAtTheProgramsPaceAndEndsOnThePicture) {
  const std::string gif = file("run.gif"), png = file("last.png");
  // 100 frames, a picture every 7th: frames 7, 14, ... 98, then the last
  // (frame 100), which stands for two frames.
  const auto result = sim({"grains_c", "--events", SOURCE_DIR "/tests/golden/grains_c.events", "--frames", "100",
                           "--gif", gif, "--gif-every", "7", "--gif-delay", "3", "--png", png});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  const std::vector<GifPicture> pictures = read_gif_file(gif);
  ASSERT_FALSE(pictures.empty());
  EXPECT_EQ(pictures.back().picture.width, 644);
  EXPECT_EQ(pictures.back().picture.height, 644);
  EXPECT_TRUE(pictures.back().picture.pixels == corner_of(read_png_file(png), 644, 644).pixels);
  // Grains fall in every frame, so no two pictures are alike.
  ASSERT_EQ(pictures.size(), 15u);
  for (std::size_t i = 0; i + 1 < pictures.size(); ++i) EXPECT_EQ(pictures[i].delay, 7 * 3) << i;
  EXPECT_EQ(pictures.back().delay, 2 * 3);

  // Every frame's picture, in a run without input: the grains move every
  // frame, so each shows once, for one frame.
  const auto every = sim({"grains_a", "--frames", "30", "--gif", gif, "--png", png});
  ASSERT_EQ(every.exit_status, 0) << every.err;
  const std::vector<GifPicture> frames = read_gif_file(gif);
  EXPECT_EQ(frames.size(), 30u);
  EXPECT_EQ(frames.front().delay, 2);
  EXPECT_TRUE(frames.back().picture.pixels == corner_of(read_png_file(png), 644, 644).pixels);
}

TEST_F(GrainsSim, ARecordingsFrameCountIsTheRunsUnlessFramesIsGiven) {
  const std::string events = file("recorded.txt", std::string("# grains_b session\n") + RIGHT_DRAG + "# frames 37\n");
  ASSERT_EQ(sim({"grains_b", "--events", events, "--dump", file("recorded.txt.dump")}).exit_status, 0);
  ASSERT_EQ(sim({"grains_b", "--events", events, "--frames", "37", "--dump", file("37.dump")}).exit_status, 0);
  ASSERT_EQ(sim({"grains_b", "--events", events, "--frames", "38", "--dump", file("38.dump")}).exit_status, 0);
  EXPECT_EQ(read_file(file("recorded.txt.dump")), read_file(file("37.dump")));
  EXPECT_NE(read_file(file("37.dump")), read_file(file("38.dump")));
}

TEST_F(GrainsSim, ProgressShowsOnATerminalOnly) {
  const std::string command = program_path("grains_sim") + " grains_c --full --frames 1500";
  // script gives the run a terminal of its own and copies what it shows.
  const auto on_terminal = run_process({"/usr/bin/script", "-qec", command, "/dev/null"});
  ASSERT_EQ(on_terminal.exit_status, 0) << on_terminal.err;
  EXPECT_NE(on_terminal.out.find("grains_sim: frame "), std::string::npos) << on_terminal.out;
  EXPECT_NE(on_terminal.out.find(" of 1500 ("), std::string::npos) << on_terminal.out;
  EXPECT_NE(on_terminal.out.find("frames a second"), std::string::npos) << on_terminal.out;
  const auto piped = sim({"grains_c", "--full", "--frames", "1500"});
  EXPECT_EQ(piped.err, "");
}

TEST_F(GrainsSim, BadInputEndsWithAMessage) {
  const auto malformed = sim({"grains_b", "--events", file("bad.txt", "0 motion 1 1\n\n0 down 5 5\n")});
  EXPECT_EQ(malformed.exit_status, 2);
  EXPECT_NE(malformed.err.find("line 3"), std::string::npos) << malformed.err;
  EXPECT_TRUE(malformed.out.empty());

  const auto unknown_option = sim({"grains_b", "--fast"});
  EXPECT_NE(unknown_option.exit_status, 0);
  EXPECT_FALSE(unknown_option.err.empty());
  const auto unknown_program = sim({"grains_z"});
  EXPECT_NE(unknown_program.exit_status, 0);
  const auto missing_events = sim({"grains_b", "--events", dir_ + "/none.txt"});
  EXPECT_NE(missing_events.exit_status, 0);
  EXPECT_NE(missing_events.err.find("none.txt"), std::string::npos);
}

TEST_F(GrainsSim, CountsOutOfRangeAndUnwritableOutputsAreUsageErrorsFoundBeforeTheRun) {
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--frames", "12345678901234567890"},
                                              {"--frames", "-1"},
                                              {"--frames", "10000001"},
                                              {"--warmup", "x"},
                                              {"--fast"}}) {
    std::vector<std::string> arguments{"grains_b"};
    arguments.insert(arguments.end(), bad.begin(), bad.end());
    const auto result = sim(arguments);
    EXPECT_EQ(result.exit_status, 2) << bad[0];
    EXPECT_LT(result.err.size(), 120u) << "a short message: " << result.err;
  }
  EXPECT_EQ(sim({"grains_z"}).exit_status, 2);
  EXPECT_EQ(sim({"grains_b", "--events", dir_ + "/none.txt"}).exit_status, 2);
  EXPECT_EQ(sim({"--help"}).exit_status, 0);

  // The last frame of ten million would come hours later: the outputs are
  // checked first, and a picture's folder that does not exist ends the run
  // at once.
  const auto unwritable_png = sim({"grains_b", "--frames", "10000000", "--png", dir_ + "/no/such/dir/a.png"});
  EXPECT_EQ(unwritable_png.exit_status, 2);
  EXPECT_NE(unwritable_png.err.find("a.png"), std::string::npos);
  const auto unwritable = sim({"grains_b", "--frames", "10000000", "--dump", dir_ + "/no/such/dir/dump.txt"});
  EXPECT_EQ(unwritable.exit_status, 2);
  EXPECT_NE(unwritable.err.find("dump.txt"), std::string::npos);
  const auto good_and_bad = sim({"grains_b", "--frames", "10000000", "--dump", file("fine.txt"), "--png", dir_});
  EXPECT_EQ(good_and_bad.exit_status, 2) << "a folder is no picture";
  EXPECT_FALSE(std::filesystem::exists(file("fine.txt"))) << "the check leaves no file behind";
}
