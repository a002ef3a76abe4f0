// How a page's frame stands to the desktop's frame of the same program,
// where the two software GLs (Chromium's SwiftShader, Mesa's llvmpipe and
// softpipe) may differ: their texture units round the linear filtering of
// glyphs a level or two apart where glyphs lie on whole pixels, and up to
// some 30 where they lie between pixels or turn; and the pixels of a line
// (a patch cord's cable) or of a turned quad's edge may lie a pixel apart,
// a line's ends two (Mesa's softpipe ends lines its own way). So a pixel
// may be NEAR its desktop pixel (at most a quarter of the scale apart), or
// SHIFTED (near a pixel at most two steps away, both ways); none may be
// FAR, as the pixels of a missing or misplaced picture or glyph, or of a
// wrong colour, are.
'use strict';
const fs = require('fs');
const {PNG} = require('pngjs');

const NEAR = 64;

// Frames as 0xRRGGBB pixels, top row first, with their width and height.
function png_frame(file) {
  const png = PNG.sync.read(fs.readFileSync(file));
  const pixels = new Uint32Array(png.width * png.height);
  for (let i = 0; i < pixels.length; ++i)
    pixels[i] = (png.data[4 * i] << 16) | (png.data[4 * i + 1] << 8) | png.data[4 * i + 2];
  return {width: png.width, height: png.height, pixels};
}

// A frame read from GL (red, green, blue and alpha bytes, bottom row first).
function gl_frame(bytes, width, height) {
  const pixels = new Uint32Array(width * height);
  for (let y = 0; y < height; ++y)
    for (let x = 0; x < width; ++x) {
      const i = ((height - 1 - y) * width + x) * 4;
      pixels[y * width + x] = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    }
  return {width, height, pixels};
}

function levels_apart(a, b) {
  let most = 0;
  for (let shift = 0; shift < 24; shift += 8) most = Math.max(most, Math.abs(((a >> shift) & 255) - ((b >> shift) & 255)));
  return most;
}

function pixel_at(frame, x, y) {
  return x >= 0 && y >= 0 && x < frame.width && y < frame.height ? frame.pixels[y * frame.width + x] : 0;
}

const STEPS = 2;

// Whether frame b has a pixel near pixel (x, y) of frame a, at most STEPS away.
function near_a_step_away(a, b, x, y) {
  for (let dy = -STEPS; dy <= STEPS; ++dy)
    for (let dx = -STEPS; dx <= STEPS; ++dx)
      if (levels_apart(pixel_at(a, x, y), pixel_at(b, x + dx, y + dy)) <= NEAR) return true;
  return false;
}

// How page stands to desktop, pixels within the boxes ({left, top, right,
// bottom}) of masks left out: how many differ, by more than two levels,
// of those how many a step apart, how many far off, and the first of these.
function compare(page, desktop, masks = []) {
  const result = {differing: 0, beyond_two: 0, shifted: 0, far: 0, first_far: null};
  const masked = (x, y) => masks.some(box => x >= box.left && x < box.right && y >= box.top && y < box.bottom);
  for (let y = 0; y < page.height; ++y)
    for (let x = 0; x < page.width; ++x) {
      const i = y * page.width + x;
      if (page.pixels[i] === desktop.pixels[i] || masked(x, y)) continue;
      ++result.differing;
      const apart = levels_apart(page.pixels[i], desktop.pixels[i]);
      if (apart <= 2) continue;
      ++result.beyond_two;
      if (apart <= NEAR) continue;
      if (near_a_step_away(page, desktop, x, y) && near_a_step_away(desktop, page, x, y)) {
        ++result.shifted;
      } else if (result.far++ === 0) {
        result.first_far = {x, y, page: page.pixels[i].toString(16), desktop: desktop.pixels[i].toString(16)};
      }
    }
  return result;
}

function describe(found) {
  return `${found.differing} pixels differ, ${found.beyond_two} by more than two levels (${found.shifted} of them ` +
         `a step or two apart), ${found.far} far off` + (found.first_far ? ` (first ${JSON.stringify(found.first_far)})` : '');
}

module.exports = {png_frame, gl_frame, compare, describe};
