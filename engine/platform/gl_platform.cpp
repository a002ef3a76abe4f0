#include "platform/gl_platform.h"

#include <GL/gl.h>

#ifndef __EMSCRIPTEN__

void grains::set_shading_and_hints() {
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

#else

void grains::set_shading_and_hints() {}

#endif
