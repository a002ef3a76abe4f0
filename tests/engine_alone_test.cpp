// The engine on its own, as another project takes it: configured with
// GRAINS_BUILD_PROGRAMS=OFF (PNG, GIF and CLI11 refused), built and
// installed into a temporary prefix; outside projects that find grfx/
// through the CMake package and through pkg-config and draw from a fresh
// folder; the installed examples built on their own; and the source added
// to an outer project with add_subdirectory.
#include "support/drawn_picture.h"
#include "support/process.h"
#include "support/window_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string work;            // everything the suite makes
std::string prefix;          // the engine alone, installed
std::string setup_failure;   // what went wrong while making it
std::string engine_targets;  // the engine-alone build's target list

// Runs command; on failure records what and why in setup_failure.
bool step(const std::vector<std::string>& command, const std::string& what) {
  const ProcessResult result = run_process(command);
  if (result.exit_status != 0) setup_failure = what + " failed:\n" + result.out + result.err;
  return result.exit_status == 0;
}

void expect_success(const ProcessResult& result, const std::string& what) {
  EXPECT_EQ(result.exit_status, 0) << what << "\n" << result.out << result.err;
}

bool has_target(const std::string& target_list, const std::string& target) {
  return target_list.find("... " + target + "\n") != std::string::npos;
}

// The source folder of an outside project: its CMakeLists.txt (when given)
// and examples/sprite_window.cpp.
std::string project_with(const std::string& name, const std::string& cmake_lists) {
  const fs::path source = fs::path(work) / name;
  fs::create_directories(source);
  fs::copy_file(std::string(SOURCE_DIR) + "/examples/sprite_window.cpp", source / "sprite_window.cpp");
  if (!cmake_lists.empty()) fs::copy_file(std::string(SOURCE_DIR) + "/" + cmake_lists, source / "CMakeLists.txt");
  return source.string();
}

// Runs program from folder: it must draw what examples/sprite_window
// draws, from folder's grfx/, and end on SIGTERM with status 0.
void expect_sprite_window_from(const std::string& program, const std::string& folder) {
  const auto running = start_window_command({program}, folder);
  expect_sprite_window_drawn(take_screenshot(), folder + "/grfx");
  const ProcessResult ended = running->stop(SIGTERM, 5000);
  EXPECT_EQ(ended.exit_status, 0) << ended.err;
}

class EngineAlone : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    work = make_temp_dir();
    prefix = work + "/prefix";
    const std::string build = work + "/engine-build";
    if (!step({CMAKE_COMMAND, "-S", SOURCE_DIR, "-B", build, "-DGRAINS_BUILD_PROGRAMS=OFF",
               "-DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON", "-DCMAKE_DISABLE_FIND_PACKAGE_GIF=ON",
               "-DCMAKE_DISABLE_FIND_PACKAGE_CLI11=ON", "-DCMAKE_CXX_COMPILER=" CXX_COMPILER},
              "configuring the engine alone"))
      return;
    engine_targets = run_process({CMAKE_COMMAND, "--build", build, "--target", "help"}).out;
    if (!step({CMAKE_COMMAND, "--build", build, "-j2"}, "building the engine alone")) return;
    step({CMAKE_COMMAND, "--install", build, "--prefix", prefix}, "installing the engine alone");
  }
  static void TearDownTestSuite() { fs::remove_all(work); }
  void SetUp() override { ASSERT_EQ(setup_failure, ""); }
};

}  // namespace

TEST_F(EngineAlone, BuildsAndInstallsTheEngineItsDataTheGuideAndTheExamplesOnly) {
  EXPECT_TRUE(has_target(engine_targets, "grains_engine")) << engine_targets;
  for (const char* program : {"grains_a", "grains_sim", "engine_showcase", "grains_example_sprite_window",
                              "grains_make_pictures", "install_test"})
    EXPECT_FALSE(has_target(engine_targets, program)) << program;
  for (const char* file : {LIB_DIR "/libgrains_engine.a", INCLUDE_DIR "/grains/engine.h",
                           LIB_DIR "/cmake/GrainsEngine/GrainsEngineConfig.cmake",
                           LIB_DIR "/pkgconfig/grains-engine.pc", DATA_DIR "/grains/grfx/KPD_Player.vym",
                           DOC_DIR "/engine.md", DOC_DIR "/api.md", DOC_DIR "/examples/CMakeLists.txt",
                           DOC_DIR "/examples/panel_widgets.lay", DOC_DIR "/examples/panel_front_end.cpp"})
    EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;
  EXPECT_FALSE(fs::exists(prefix + "/bin")) << "no program";
  EXPECT_FALSE(fs::exists(prefix + "/" LIBEXEC_DIR)) << "no program";
}

TEST_F(EngineAlone, AProjectFindsGrfxThroughTheCMakePackageAndDrawsFromItsFreshBuildFolder) {
  const std::string source = project_with("find_package", "tests/install_consumer/CMakeLists.txt");
  const std::string build = work + "/find_package-build";
  expect_success(run_process({CMAKE_COMMAND, "-S", source, "-B", build, "-DCMAKE_PREFIX_PATH=" + prefix,
                              "-DCMAKE_CXX_COMPILER=" CXX_COMPILER}),
                 "configure");
  expect_success(run_process({CMAKE_COMMAND, "--build", build, "-j2"}), "build");
  ASSERT_TRUE(fs::is_symlink(build + "/grfx"));
  EXPECT_TRUE(fs::equivalent(build + "/grfx", prefix + "/" DATA_DIR "/grains/grfx"));
  expect_sprite_window_from(build + "/sprite_window", build);
}

TEST_F(EngineAlone, AProgramFindsGrfxThroughPkgConfigAndDrawsFromAFreshFolder) {
  const std::string source = project_with("pkg-config", "");
  const std::string folder = work + "/pkg-config-run";
  fs::create_directories(folder);
  setenv("PKG_CONFIG_PATH", (prefix + "/" LIB_DIR "/pkgconfig").c_str(), 1);
  expect_success(
      run_process({"/bin/sh", "-c",
                   "ln -s \"$(pkg-config --variable=grfxdir grains-engine)\" grfx && " CXX_COMPILER " " + source +
                       "/sprite_window.cpp -o sprite_window $(pkg-config --cflags --libs grains-engine)"},
                  folder),
      "link grfx, compile and link");
  unsetenv("PKG_CONFIG_PATH");
  EXPECT_TRUE(fs::equivalent(folder + "/grfx", prefix + "/" DATA_DIR "/grains/grfx"));
  expect_sprite_window_from(folder + "/sprite_window", folder);
}

// Built as their CMakeLists.txt says, each runs from the build folder,
// draws and ends on SIGTERM.
TEST_F(EngineAlone, TheInstalledExamplesBuildOnTheirOwnAndRunFromTheirBuildFolder) {
  const std::string build = work + "/examples-build";
  expect_success(run_process({CMAKE_COMMAND, "-S", prefix + "/" DOC_DIR "/examples", "-B", build,
                              "-DCMAKE_PREFIX_PATH=" + prefix, "-DCMAKE_CXX_COMPILER=" CXX_COMPILER}),
                 "configure");
  expect_success(run_process({CMAKE_COMMAND, "--build", build, "-j2"}), "build");
  expect_sprite_window_from(build + "/grains_example_sprite_window", build);
  for (const std::string example : {"font_text", "panel_widgets", "patch_cord"}) {
    const auto running = start_window_command({build + "/grains_example_" + example}, build);
    EXPECT_GT(lit_box(take_screenshot()).right, 0) << example << " draws";
    const ProcessResult ended = running->stop(SIGTERM, 5000);
    EXPECT_EQ(ended.exit_status, 0) << example << "\n" << ended.out << ended.err;
  }
}

// No build type, no warning flags, no tests: the outer project's settings
// hold, and only the engine is built unless the programs are asked for.
TEST_F(EngineAlone, UnderAddSubdirectoryTheEngineAloneTakesTheOuterProjectsSettings) {
  const std::string source = project_with("outer", "tests/subproject_consumer/CMakeLists.txt");
  const std::string build = work + "/outer-build";
  expect_success(run_process({CMAKE_COMMAND, "-S", source, "-B", build, "-DGRAINS_SOURCE_DIR=" SOURCE_DIR,
                              "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON", "-DCMAKE_CXX_COMPILER=" CXX_COMPILER}),
                 "configure");
  const std::string cache = read_file(build + "/CMakeCache.txt");
  EXPECT_NE(cache.find("\nCMAKE_BUILD_TYPE:STRING=\n"), std::string::npos) << "no build type forced";
  const std::string targets = run_process({CMAKE_COMMAND, "--build", build, "--target", "help"}).out;
  EXPECT_TRUE(has_target(targets, "grains_engine")) << targets;
  EXPECT_TRUE(has_target(targets, "sprite_window")) << targets;
  for (const char* program : {"grains_a", "grains_sim", "grains_example_sprite_window", "install_test"})
    EXPECT_FALSE(has_target(targets, program)) << program;
  const std::string commands = read_file(build + "/compile_commands.json");
  const std::size_t outer_file = commands.find("sprite_window.cpp\"");
  ASSERT_NE(outer_file, std::string::npos) << commands;
  const std::size_t entry = commands.rfind("\"command\"", outer_file);
  const std::string outer_command = commands.substr(entry, outer_file - entry);
  EXPECT_EQ(outer_command.find("-Wall"), std::string::npos) << outer_command;
  EXPECT_EQ(outer_command.find(" -O"), std::string::npos) << outer_command;

  expect_success(run_process({CMAKE_COMMAND, "--build", build, "-j2"}), "build");
  fs::create_directory_symlink(std::string(SOURCE_DIR) + "/grfx", build + "/grfx");
  expect_sprite_window_from(build + "/sprite_window", build);

  const std::string asked = work + "/outer-with-programs";
  expect_success(run_process({CMAKE_COMMAND, "-S", source, "-B", asked, "-DGRAINS_SOURCE_DIR=" SOURCE_DIR,
                              "-DGRAINS_BUILD_PROGRAMS=ON", "-DCMAKE_CXX_COMPILER=" CXX_COMPILER}),
                 "configure with the programs");
  const std::string with_programs = run_process({CMAKE_COMMAND, "--build", asked, "--target", "help"}).out;
  for (const char* program : {"grains_a", "grains_sim", "grains_example_sprite_window"})
    EXPECT_TRUE(has_target(with_programs, program)) << program;
  EXPECT_FALSE(has_target(with_programs, "install_test")) << "the tests are the project's own";
}
