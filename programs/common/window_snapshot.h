// The picture a window shows, read back from GL, as a PNG file
// (GRAINS_SNAPSHOT=FILE.png).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The back buffer, the frame the next buffer swap presents, exactly as it
// will show: width x height pixels of 0xFFRRGGBB, top row first. (The front
// buffer cannot be read back reliably once shown.)
std::vector<std::uint32_t> read_frame_to_show(int width, int height);
