// The engine as another project uses it: installed into a temporary
// prefix, an outside project built against the install with find_package
// and with pkg-config, and what each built run under the test's X server
// from the installed picture folder.
#include "support/drawn_picture.h"
#include "support/process.h"
#include "support/window_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string prefix;
std::string install_failure;

// The public headers, under include/grains/: what a program on the engine
// includes. grains/engine.h, beside them, includes them all; the engine's
// other headers are its own and are not installed.
const std::set<std::string> PUBLIC_HEADERS = {
    "draw/draw.h",        "files/file_list.h",   "images/image_bank.h", "plugs/cord.h",      "scene/background.h",
    "scene/element.h",    "scene/layout_file.h", "scene/message.h",     "scene/objet.h",     "scene/sprite.h",
    "scene/text_field.h", "scene/widgets.h",     "text/font_data.h",    "text/font_table.h", "video/video.h"};

// Every header under include_dir, named from there.
std::set<std::string> installed_headers(const fs::path& include_dir) {
  std::set<std::string> headers;
  for (const auto& entry : fs::recursive_directory_iterator(include_dir))
    if (entry.is_regular_file()) headers.insert(fs::relative(entry.path(), include_dir).string());
  return headers;
}

// The headers that include_dir's engine.h includes.
std::set<std::string> umbrella_includes(const fs::path& include_dir) {
  std::set<std::string> included;
  std::istringstream umbrella(read_file((include_dir / "engine.h").string()));
  const std::string include = "#include \"";
  for (std::string line; std::getline(umbrella, line);)
    if (line.rfind(include, 0) == 0) included.insert(line.substr(include.size(), line.size() - include.size() - 1));
  return included;
}

class Install : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix = make_temp_dir();
    const ProcessResult installed = run_process({CMAKE_COMMAND, "--install", BUILD_DIR, "--prefix", prefix});
    if (installed.exit_status != 0) install_failure = installed.out + installed.err;
  }
  static void TearDownTestSuite() { fs::remove_all(prefix); }
  void SetUp() override {
    ASSERT_EQ(install_failure, "");
    work_ = make_temp_dir();
  }
  void TearDown() override { fs::remove_all(work_); }

  // A folder of the outside project holding examples/sprite_window.cpp.
  std::string source_with(const std::string& extra_file) const {
    const fs::path source = fs::path(work_) / "source";
    fs::create_directories(source);
    fs::copy_file(std::string(SOURCE_DIR) + "/examples/sprite_window.cpp", source / "sprite_window.cpp");
    if (!extra_file.empty()) fs::copy_file(extra_file, source / fs::path(extra_file).filename());
    return source.string();
  }

  // Runs program from the installed data folder: it must draw the picture
  // examples/sprite_window draws, and end on SIGTERM with status 0.
  static void expect_drawing_of(const std::string& program) {
    const std::string data = prefix + "/" DATA_DIR "/grains";
    const auto running = start_window_command({program}, data);
    expect_sprite_window_drawn(take_screenshot(), data + "/grfx");
    const ProcessResult ended = running->stop(SIGTERM, 5000);
    EXPECT_EQ(ended.exit_status, 0) << ended.err;
  }

  std::string work_;
};

void expect_success(const ProcessResult& result, const std::string& what) {
  EXPECT_EQ(result.exit_status, 0) << what << "\n" << result.out << result.err;
}

}  // namespace

TEST_F(Install, PutsTheEngineItsPackagesTheProgramsAndTheirPictures) {
  for (const char* file :
       {LIB_DIR "/libgrains_engine.a", INCLUDE_DIR "/grains/engine.h", INCLUDE_DIR "/grains/video/video.h",
        LIB_DIR "/cmake/GrainsEngine/GrainsEngineConfig.cmake",
        LIB_DIR "/cmake/GrainsEngine/GrainsEngineConfigVersion.cmake", LIB_DIR "/pkgconfig/grains-engine.pc",
        "bin/grains_sim", DATA_DIR "/grains/grfx/KPD_Player.vym", DATA_DIR "/grains/grfx/showcase.lay"})
    EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;
  for (const std::string program : {"grains_a", "grains_b", "grains_c", "grains_d", "engine_showcase"}) {
    EXPECT_EQ(access((prefix + "/bin/" + program).c_str(), X_OK), 0) << "launcher " << program;
    EXPECT_EQ(access((prefix + "/" LIBEXEC_DIR "/grains/" + program).c_str(), X_OK), 0) << program;
  }
}

TEST_F(Install, InstallsExactlyThePublicHeadersAllInTheUmbrella) {
  const std::string include_dir = prefix + "/" INCLUDE_DIR "/grains";
  std::set<std::string> expected = PUBLIC_HEADERS;
  expected.insert("engine.h");
  EXPECT_EQ(installed_headers(include_dir), expected);
  EXPECT_EQ(umbrella_includes(include_dir), PUBLIC_HEADERS);
}

// Compiled as a program on the install would be, through grains-engine.pc,
// with nothing of the source tree on the include path: a public header
// that includes an engine header left out of the install fails here.
TEST_F(Install, EachPublicHeaderCompilesOnItsOwnAndTheUmbrellaCleanly) {
  const auto compile = [](const std::string& header, const std::string& flags) {
    return run_process({"/bin/sh", "-c",
                        "printf '#include \"" + header + "\"\\n' | " CXX_COMPILER " -std=c++17 -fsyntax-only " + flags +
                            " -x c++ - $(PKG_CONFIG_PATH=" + prefix +
                            "/" LIB_DIR "/pkgconfig pkg-config --cflags grains-engine)"});
  };
  for (const std::string& header : PUBLIC_HEADERS) expect_success(compile(header, ""), header);
  const ProcessResult umbrella = compile("grains/engine.h", "-Wall -Wextra -pedantic");
  EXPECT_EQ(umbrella.exit_status, 0) << umbrella.err;
  EXPECT_EQ(umbrella.err, "") << "no warning";
}

TEST_F(Install, FindPackageBuildsAProgramThatDraws) {
  const std::string source = source_with(std::string(SOURCE_DIR) + "/tests/install_consumer/CMakeLists.txt");
  const std::string build = work_ + "/build";
  expect_success(run_process({CMAKE_COMMAND, "-S", source, "-B", build, "-DCMAKE_PREFIX_PATH=" + prefix,
                              "-DCMAKE_CXX_COMPILER=" CXX_COMPILER}),
                 "configure");
  expect_success(run_process({CMAKE_COMMAND, "--build", build, "-j2"}), "build");
  expect_drawing_of(build + "/sprite_window");
}

TEST_F(Install, PkgConfigBuildsAProgramThatDraws) {
  const std::string source = source_with("");
  setenv("PKG_CONFIG_PATH", (prefix + "/" LIB_DIR "/pkgconfig").c_str(), 1);
  const std::string program = work_ + "/sprite_window";
  expect_success(run_process({"/bin/sh", "-c",
                              CXX_COMPILER " " + source + "/sprite_window.cpp -o " + program +
                                  " $(pkg-config --cflags --libs grains-engine)"}),
                 "compile and link");
  expect_drawing_of(program);
}

// The launcher starts the program in a working folder of its own whose
// grfx/ is the installed one, whatever folder it is started from.
TEST_F(Install, LauncherRunsAGrainProgramFromAnyFolder) {
  const std::string working_folder = work_ + "/working";
  setenv("GRAINS_WORK_DIR", working_folder.c_str(), 1);
  const auto running = start_window_command({prefix + "/bin/grains_d"}, work_);
  unsetenv("GRAINS_WORK_DIR");
  EXPECT_NE(lit_box(take_screenshot()).right, -1) << "grains draw";
  const ProcessResult ended = running->stop(SIGTERM, 5000);
  EXPECT_EQ(ended.signal_number, SIGTERM);
  EXPECT_EQ(ended.out.rfind("K-0\n", 0), 0u) << ended.out;
  EXPECT_TRUE(fs::equivalent(working_folder + "/grfx", prefix + "/" DATA_DIR "/grains/grfx"));
}
