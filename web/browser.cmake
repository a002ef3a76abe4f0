# The browser as a platform of the build (the top-level CMakeLists.txt
# includes this under Emscripten): what the engine needs there, the link
# options every browser program takes, and add_browser_pages(), which gives
# each windowed program its page.
#
# SDL 1.2 and GL come from Emscripten's SDL and its legacy GL emulation,
# which the engine completes (engine/platform/*_browser.cpp and
# sdl_browser.js); FreeType, libpng and zlib are Debian's, built for the
# browser from their source packages by scripts/web.sh into
# GRAINS_WEB_LIBRARIES. CLI11 is Debian's too, headers only.

set(GRAINS_WEB_LIBRARIES "" CACHE PATH "Debian's FreeType, libpng and zlib built for the browser (scripts/web.sh)")

# An imported static library of GRAINS_WEB_LIBRARIES/NAME.
function(add_browser_library target name archive include_dir)
  set(prefix ${GRAINS_WEB_LIBRARIES}/${name})
  if(NOT EXISTS ${prefix}/lib/${archive})
    message(FATAL_ERROR "No ${name} for the browser in GRAINS_WEB_LIBRARIES='${GRAINS_WEB_LIBRARIES}': "
      "scripts/web.sh builds it and names it")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${prefix}/lib/${archive}
    INTERFACE_INCLUDE_DIRECTORIES ${prefix}/${include_dir})
endfunction()
add_browser_library(browser_freetype freetype libfreetype.a include/freetype2)
add_browser_library(browser_zlib zlib libz.a include)
add_browser_library(browser_png libpng libpng16.a include)
set_target_properties(browser_png browser_freetype PROPERTIES INTERFACE_LINK_LIBRARIES browser_zlib)
add_library(PNG::PNG ALIAS browser_png)

# CLI11, for the showcase's command line, from its own folder: the
# system's include folder would bring the desktop's headers along.
find_path(GRAINS_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT GRAINS_CLI11_INCLUDE)
  message(FATAL_ERROR "No CLI11 (Debian's libcli11-dev) for the showcase's command line")
endif()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/cli11)
file(CREATE_LINK ${GRAINS_CLI11_INCLUDE}/CLI ${CMAKE_BINARY_DIR}/cli11/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/cli11)

# What every browser program on the engine takes: Emscripten's SDL headers
# under SDL 1.2's names, its legacy GL emulation, the engine's adjustments
# of its SDL, and the runtime the pages use (the environment, the files,
# calls by name), optimised at link unless the build is a debug one.
set(GRAINS_SDL_BROWSER_LIBRARY ${PROJECT_SOURCE_DIR}/engine/platform/sdl_browser.js)
add_library(browser_platform INTERFACE)
target_include_directories(browser_platform INTERFACE ${EMSCRIPTEN_SYSROOT}/include/SDL)
target_link_options(browser_platform INTERFACE $<$<NOT:$<CONFIG:Debug>>:-O2> -sLEGACY_GL_EMULATION=1 -sALLOW_MEMORY_GROWTH=1
  -sEXPORTED_RUNTIME_METHODS=ENV,FS,ccall "SHELL:--js-library ${GRAINS_SDL_BROWSER_LIBRARY}")
set(GRAINS_ENGINE_DEPENDENCIES browser_platform browser_freetype browser_png)

# browser_page(TARGET TITLE HELP [TOOLS tools...] [PRELOAD paths...] [FONTS] [OWN_FRAME_LOOP] [UNLISTED])
# TARGET.html from web/program.html.in, which loads TARGET.js, .wasm and
# .data: the catalogue's folder grfx/, the PRELOAD paths (from the source
# folder) and, with FONTS, the fonts grfx/showcase_fonts.txt names, each
# at the path it has on the desktop. A program with its OWN_FRAME_LOOP
# runs its main() as it is: its SDL_GL_SwapBuffers waits for the page's
# next animation frame (Asyncify). TOOLS are what a finger or the left
# button can stand for, the first chosen when the page opens. The index
# links every page but the UNLISTED ones.
function(browser_page target title help)
  cmake_parse_arguments(PAGE "FONTS;OWN_FRAME_LOOP;UNLISTED" "" "TOOLS;PRELOAD" ${ARGN})
  set(files "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/grfx@/grfx")
  foreach(path ${PAGE_PRELOAD})
    list(APPEND files "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/${path}@/${path}")
  endforeach()
  if(PAGE_FONTS)
    foreach(font ${GRAINS_PAGE_FONTS})
      list(APPEND files "SHELL:--preload-file ${font}@${font}")
    endforeach()
  endif()
  set(loop)
  if(PAGE_OWN_FRAME_LOOP)
    set(loop -sASYNCIFY -sASYNCIFY_IMPORTS=SDL_GL_SwapBuffers)
  endif()
  set_target_properties(${target} PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    LINK_DEPENDS ${GRAINS_SDL_BROWSER_LIBRARY})
  target_link_options(${target} PRIVATE ${files} ${loop})
  set(PROGRAM ${target})
  set(PAGE_TITLE ${title})
  set(PAGE_HELP ${help})
  string(REPLACE ";" " " PAGE_TOOLS "${PAGE_TOOLS}")
  configure_file(${PROJECT_SOURCE_DIR}/web/program.html.in ${CMAKE_BINARY_DIR}/${target}.html @ONLY)
  if(NOT PAGE_UNLISTED)
    set_property(GLOBAL APPEND_STRING PROPERTY GRAINS_PAGE_LINES
      "  <li><a href=\"${target}.html\">${title}</a>: ${help}</li>\n")
  endif()
endfunction()

# The fonts a font list file names: its NAME FILE pairs after two header
# tokens, up to a name END or a file starting with '#'.
function(read_font_list path variable)
  file(READ ${path} text)
  string(REGEX REPLACE "[ \t\r\n]+" ";" tokens "${text}")
  list(LENGTH tokens count)
  set(fonts)
  foreach(index RANGE 2 ${count} 2)
    math(EXPR font_index "${index} + 1")
    if(font_index GREATER_EQUAL count)
      break()
    endif()
    list(GET tokens ${index} name)
    list(GET tokens ${font_index} font)
    if(name STREQUAL "END" OR font MATCHES "^#")
      break()
    endif()
    list(APPEND fonts ${font})
  endforeach()
  set(${variable} ${fonts} PARENT_SCOPE)
endfunction()

# Every windowed program's page, the index that links them, and the page's
# script and style sheet, in the build folder.
function(add_browser_pages)
  read_font_list(${PROJECT_SOURCE_DIR}/grfx/showcase_fonts.txt GRAINS_PAGE_FONTS)
  # The grain programs run one frame each animation frame of the page
  # (programs/common/web_main.cpp), which also keeps their sessions.
  browser_page(grains_a grains_a "red, green and blue grains. Left click: one red grain; left drag: a brush of red \
grains; right drag: white walls." TOOLS grains walls)
  browser_page(grains_b grains_b "pink and white grains. Right drag: red walls (each position is printed as D x y \
on the console); the left button paints nothing." TOOLS nothing walls)
  browser_page(grains_c grains_c "grains in many colours. Left click: one grain; left drag: a brush of grains in \
random colours; middle drag: eraser; right drag: white walls." TOOLS grains walls eraser)
  browser_page(grains_d grains_d "a shower of white grains on big cells. Right drag: red walls, which land at the \
pointer's pixel coordinates taken as cells, so only the top-left 161x161 pixels paint; the left button paints \
nothing." TOOLS nothing walls)
  browser_page(engine_showcase engine_showcase "the engine at work: click the buttons, drag the knob, drag the panel \
by its background; the arrows step through the pictures of grfx/, and the layout is saved and loaded back in the \
page's own files. Escape, which ends it on the desktop, does nothing here." FONTS OWN_FRAME_LOOP)
  browser_page(grains_example_sprite_window sprite_window "the smallest program on the engine: a window, the image \
catalogue and one sprite." OWN_FRAME_LOOP)
  browser_page(grains_example_font_text font_text "the font table: lines of text in two fonts, and a label." FONTS
    OWN_FRAME_LOOP)
  browser_page(grains_example_panel_widgets panel_widgets "a panel laid out from a layout file: click a button, \
drag the knob; the widgets answer through messages." FONTS OWN_FRAME_LOOP PRELOAD examples/panel_widgets.lay)
  browser_page(grains_example_patch_cord patch_cord "a patch cord between two sockets: drag the right socket and \
the cord follows; click a socket to pull its jack out or plug it back." OWN_FRAME_LOOP)
  # For the browser tests: every picture of the image bank, as its desktop
  # twin (tests/CMakeLists.txt) shows them too.
  add_executable(bank_report ${PROJECT_SOURCE_DIR}/tests/web/bank_report.cpp)
  target_link_libraries(bank_report PRIVATE grains_engine)
  browser_page(bank_report bank_report "every picture of the image bank, for the browser tests." OWN_FRAME_LOOP
    UNLISTED)
  get_property(PAGE_LINES GLOBAL PROPERTY GRAINS_PAGE_LINES)
  configure_file(${PROJECT_SOURCE_DIR}/web/index.html.in ${CMAKE_BINARY_DIR}/index.html @ONLY)
  foreach(file page.js page.css)
    configure_file(${PROJECT_SOURCE_DIR}/web/${file} ${CMAKE_BINARY_DIR}/${file} COPYONLY)
  endforeach()
endfunction()
