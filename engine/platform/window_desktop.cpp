#include "platform/window_platform.h"

#include <GL/gl.h>

namespace grains {

void set_up_window_platform() {
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

}  // namespace grains
