#include "support/catalogue_window.h"

#include "images/image_bank.h"
#include "support/gl_window.h"
#include "video/video.h"

#include <GL/gl.h>

void CatalogueWindow::SetUpTestSuite() {
  ensure_video();
  if (image_bank->find("FOND") < 0) image_bank->load_catalogue("grfx/KPD_Player.vym");
}

void CatalogueWindow::SetUp() {
  push_ortho(0, 0, 1024, 768);
  glClear(GL_COLOR_BUFFER_BIT);
}

void CatalogueWindow::TearDown() { pop_ortho(); }
