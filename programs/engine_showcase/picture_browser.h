// The showcase's picture browser: steps through the pictures of a folder
// with the directory lister and shows the current one as a sprite, fitted
// into a viewer beside the panel, with its file name in a label.
#pragma once

#include "engine_showcase/panel_places.h"
#include "scene/sprite.h"
#include "scene/widgets.h"

#include <string>

class PictureBrowser {
 public:
  // Where the viewer shows: its frame and title, the picture in the middle
  // and the file name at the bottom.
  static constexpr ScreenBox VIEWER{568, 40, 432, 390};

  // Registers every picture file of folder (extension kind) with the image
  // bank under its path, then shows the first. It has to run before the
  // fonts are built: the bank names its textures by slot number, so a
  // picture added after the fonts could take a texture name of theirs.
  PictureBrowser(std::string folder, std::string kind);

  void next();
  void previous();
  // The viewer's frame, title, picture and file name.
  void draw();
  // The path of the picture shown; empty when the folder holds none.
  const char* current() const { return current_; }

 private:
  void show_current();
  void draw_picture();

  static constexpr std::size_t PATH_SIZE = 800;

  std::string folder_, kind_;
  char current_[PATH_SIZE] = "";
  SPRITE picture_;
  LABEL title_;
  LABEL name_;
};
