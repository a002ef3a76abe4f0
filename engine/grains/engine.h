// Every header of the engine. Installed as <prefix>/include/grains/engine.h;
// the engine's own headers lie beside it and name each other as
// "video/video.h", so both <prefix>/include and <prefix>/include/grains
// belong on the include path (the CMake package and grains-engine.pc put
// them there).
#pragma once

#include "draw/draw.h"
#include "files/file_list.h"
#include "images/catalogue_reader.h"
#include "images/image_bank.h"
#include "images/pixel_layout.h"
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
