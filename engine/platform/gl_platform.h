// What the GL start-up does differently on the desktop and in the browser.
// The desktop's GL asks for smooth shading and the nicest perspective
// correction. The browser's GL (WebGL, under Emscripten's GL emulation)
// has neither setting: its shading is always smooth and its texturing
// always perspective-correct, so there they are left out.
#pragma once

namespace grains {

// Sets the shading model and the quality hints of the fixed GL state.
void set_shading_and_hints();

}  // namespace grains
