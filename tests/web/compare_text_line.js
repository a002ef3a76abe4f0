// The engine's text in a page (text_line.html) against the same frame drawn
// on the desktop by text_line_desktop under Xvfb, on Mesa's llvmpipe and
// softpipe: prints how many pixels differ and by how much. Exits 1 when the
// page draws no text, or differs from either desktop frame beyond the
// bounds below.
//   node compare_text_line.js WEB_BUILD TEXT_LINE_DESKTOP
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {PNG} = require('pngjs');
const {CANVAS_WIDTH, CANVAS_HEIGHT, serve, launch} = require('./pages');

const [web_build, desktop_program] = process.argv.slice(2);

// The two GLs differ in two ways here. Their texture units round the
// linear filtering of the glyphs' coverage their own ways: a level or two
// where glyphs lie on whole pixels, up to some 30 where they lie between
// (the second line of a text is height / 0.63 lower, a fraction of a
// pixel) or turn. And a line's pixels and a turned quad's edge pixels may
// step a pixel apart (Mesa's two rasterisers differ there between
// themselves too). So a pixel may be NEAR its desktop pixel (at most a
// quarter of the scale apart), or SHIFTED (near a pixel a step away, both
// ways); none may be FAR, as the pixels of a missing or misplaced glyph
// are. Pixels more than two levels apart are bounded: a colour a little
// off, or text a pixel off, goes beyond.
const NEAR = 64;
const MOST_BEYOND_TWO_LEVELS = 4000;
// The frame lights some 29000 pixels, its curve alone some 700.
const LEAST_LIT = 20000;

// The desktop's frame under driver, as 0xRRGGBB pixels, top row first.
function desktop_frame(driver) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'grains-text-'));
  try {
    const file = path.join(folder, 'text_line.png');
    execFileSync(path.join(__dirname, '..', 'with_xvfb.sh'), [desktop_program, file],
                 {env: {...process.env, GALLIUM_DRIVER: driver}, stdio: ['ignore', 'ignore', 'inherit']});
    const png = PNG.sync.read(fs.readFileSync(file));
    const pixels = new Uint32Array(png.width * png.height);
    for (let i = 0; i < pixels.length; ++i)
      pixels[i] = (png.data[4 * i] << 16) | (png.data[4 * i + 1] << 8) | png.data[4 * i + 2];
    return pixels;
  } finally {
    fs.rmSync(folder, {recursive: true});
  }
}

// The page's frame, drawn and read back in one task, top row first. Its
// console goes to log.
async function page_frame(browser, server, log) {
  const page = await browser.newPage();
  page.on('console', message => log.push('  page: ' + message.text()));
  page.on('pageerror', error => log.push('  page error: ' + error.message));
  await page.goto(`http://127.0.0.1:${server.address().port}/text_line.html`);
  await page.waitForFunction(() => Module.calledRun && typeof Module._text_line_frame === 'function');
  const bytes = await page.evaluate((width, height) => {
    const at = Module._text_line_frame();
    return Array.from(Module.HEAPU8.subarray(at, at + width * height * 4));
  }, CANVAS_WIDTH, CANVAS_HEIGHT);
  await page.close();
  const pixels = new Uint32Array(CANVAS_WIDTH * CANVAS_HEIGHT);
  for (let y = 0; y < CANVAS_HEIGHT; ++y)
    for (let x = 0; x < CANVAS_WIDTH; ++x) {
      const i = ((CANVAS_HEIGHT - 1 - y) * CANVAS_WIDTH + x) * 4;
      pixels[y * CANVAS_WIDTH + x] = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    }
  return pixels;
}

function levels_apart(a, b) {
  let most = 0;
  for (let shift = 0; shift < 24; shift += 8) most = Math.max(most, Math.abs(((a >> shift) & 255) - ((b >> shift) & 255)));
  return most;
}

function pixel_at(pixels, x, y) {
  return x >= 0 && y >= 0 && x < CANVAS_WIDTH && y < CANVAS_HEIGHT ? pixels[y * CANVAS_WIDTH + x] : 0;
}

// Whether frame b has a pixel near pixel i of frame a, at most a step away.
function near_a_step_away(a, b, i) {
  const x = i % CANVAS_WIDTH, y = Math.floor(i / CANVAS_WIDTH);
  for (let dy = -1; dy <= 1; ++dy)
    for (let dx = -1; dx <= 1; ++dx)
      if (levels_apart(a[i], pixel_at(b, x + dx, y + dy)) <= NEAR) return true;
  return false;
}

// A pixel a step apart has its match a step away, both ways: a glyph
// missing from one frame leaves pixels without one in the other.
function shifted(page, desktop, i) {
  return near_a_step_away(page, desktop, i) && near_a_step_away(desktop, page, i);
}

// How the page's pixels stand to the desktop's, and the first far one.
function compare(page, desktop) {
  const result = {differing: 0, beyond_two: 0, shifted: 0, far: 0, first_far: null};
  for (let i = 0; i < page.length; ++i) {
    if (page[i] === desktop[i]) continue;
    ++result.differing;
    const apart = levels_apart(page[i], desktop[i]);
    if (apart <= 2) continue;
    ++result.beyond_two;
    if (apart <= NEAR) continue;
    if (shifted(page, desktop, i)) {
      ++result.shifted;
    } else if (result.far++ === 0) {
      result.first_far = {x: i % CANVAS_WIDTH, y: Math.floor(i / CANVAS_WIDTH), page: page[i].toString(16),
                          desktop: desktop[i].toString(16)};
    }
  }
  return result;
}

async function main() {
  const server = await serve(path.resolve(web_build));
  const browser = await launch();
  let failed = false;
  const log = [];
  try {
    const page = await page_frame(browser, server, log);
    const lit = page.reduce((count, pixel) => count + (pixel !== 0), 0);
    console.log(`text_line: ${lit} of ${page.length} pixels lit in the page`);
    failed = lit < LEAST_LIT;
    for (const driver of ['llvmpipe', 'softpipe']) {
      const found = compare(page, desktop_frame(driver));
      console.log(`  against the desktop on ${driver}: ${found.differing} pixels differ, ${found.beyond_two} by ` +
                  `more than two levels (${found.shifted} of them a step apart), ${found.far} far off` +
                  (found.first_far ? ` (first ${JSON.stringify(found.first_far)})` : ''));
      failed = failed || found.far > 0 || found.beyond_two > MOST_BEYOND_TWO_LEVELS;
    }
  } finally {
    await browser.close();
    server.close();
  }
  if (failed) console.log(log.join('\n'));
  process.exit(failed ? 1 : 0);
}

main().catch(error => {
  console.error(error);
  process.exit(1);
});
