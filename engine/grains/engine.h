// Every public header of the engine: what a program on it uses. Installed
// as <prefix>/include/grains/engine.h; the public headers lie beside it and
// name each other as "video/video.h", so both <prefix>/include and
// <prefix>/include/grains belong on the include path (the CMake package and
// grains-engine.pc put them there). The engine's classes (SPRITE, OBJET,
// ...), functions (start_video, draw_text, ...) and globals (image_bank,
// font_table, ...) are global; its helpers (grains::cut, grains::copy_text,
// ...) are in namespace grains.
#pragma once

#include "draw/draw.h"
#include "files/file_list.h"
#include "images/image_bank.h"
#include "plugs/cord.h"
#include "scene/background.h"
#include "scene/element.h"
#include "scene/layout_file.h"
#include "scene/message.h"
#include "scene/objet.h"
#include "scene/sprite.h"
#include "scene/text_field.h"
#include "scene/widgets.h"
#include "text/font_data.h"
#include "text/font_table.h"
#include "video/video.h"
