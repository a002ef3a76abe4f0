// GL texture names held by others than the image bank. The bank uploads
// its pictures into texture names 0 to 399 without asking GL (the name is
// the slot); the fonts ask GL for theirs, which may be slots the bank has
// not filled yet. Whatever asks GL for names notes them here, so that the
// bank can say when a picture it registers overwrites one.
#pragma once

#include <string>

namespace grains {

// Notes that holder (such as "the font built from FILE") holds these names.
void note_texture_names(const unsigned int* names, int count, const std::string& holder);
// Forgets them, once deleted.
void forget_texture_names(const unsigned int* names, int count);
// What holds texture name, or an empty text.
std::string texture_name_holder(unsigned int name);

}  // namespace grains
