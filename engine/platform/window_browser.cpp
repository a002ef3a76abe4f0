#include "platform/page_pointer.h"
#include "platform/window_platform.h"

namespace grains {

void set_up_window_platform() { take_pointer_from_page(); }

}  // namespace grains
