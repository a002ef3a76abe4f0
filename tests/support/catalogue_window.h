// The fixture of tests that draw scene elements: the window started once
// per test program, the image catalogue grfx/KPD_Player.vym loaded once
// into the engine's bank, and around each test a cleared frame under the
// pixel projection of push_ortho(0, 0, 1024, 768).
#pragma once

#include <gtest/gtest.h>

class CatalogueWindow : public testing::Test {
 protected:
  static void SetUpTestSuite();
  // Pushes the projection and clears the colour buffer.
  void SetUp() override;
  // Pops the projection.
  void TearDown() override;
};
