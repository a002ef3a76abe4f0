// The showcase's frame time in its page, in Chromium's software WebGL: the
// time each animation frame takes from the program's wake-up to its next
// SDL_GL_SwapBuffers, the GL's work for it finished (a pixel read back),
// over 300 frames at rest and 300 frames of a knob dragged to and fro; the
// median and the 90th percentile, and the frames a second the page shows.
//   node showcase_bench.js WEB_BUILD
'use strict';
const path = require('path');
const {serve, launch} = require('./pages');
const {LivePage} = require('./live_page');

const FRAMES = 300;
const KNOB = {x: 146, y: 279};

// Times every animation frame's callbacks, GL work included.
function time_animation_frames() {
  window.frame_times = [];
  window.frame_starts = [];
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = callback => request(time => {
    const start = performance.now();
    callback(time);
    const gl = document.getElementById('canvas').getContext('webgl');
    if (gl) gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(4));
    window.frame_times.push(performance.now() - start);
    window.frame_starts.push(start);
  });
}

async function measure(page, during = async () => {}) {
  await page.page.evaluate(() => { window.frame_times = []; window.frame_starts = []; });
  const input = during();
  await page.frames(FRAMES);
  await input;
  const {times, starts} = await page.page.evaluate(() => ({times: window.frame_times, starts: window.frame_starts}));
  const sorted = times.slice().sort((a, b) => a - b);
  const seconds = (starts[starts.length - 1] - starts[0]) / 1000;
  return {median: sorted[Math.floor(sorted.length / 2)], p90: sorted[Math.floor(sorted.length * 0.9)],
          per_second: (starts.length - 1) / seconds};
}

async function main() {
  const server = await serve(path.resolve(process.argv[2]));
  const browser = await launch();
  const page = await LivePage.open(browser, server, 'engine_showcase', {setup: time_animation_frames});
  await page.frames(60);
  const box = await page.box();
  const rest = await measure(page);
  const dragging = await measure(page, async () => {
    await page.mouse('move', KNOB, 'none', box);
    await page.mouse('press', KNOB, 'left', box);
    for (let step = 0; step < 200; ++step) {
      await page.mouse('move', {x: KNOB.x + 100 * Math.sin(step / 10), y: KNOB.y}, 'none', box);
      await new Promise(done => setTimeout(done, 16));
    }
    await page.mouse('release', KNOB, 'left', box);
  });
  console.log('| engine_showcase page | frame, median (ms) | frame, 90th percentile (ms) | frames a second |');
  console.log('|---|---|---|---|');
  for (const [what, found] of [['at rest', rest], ['knob dragged', dragging]])
    console.log(`| ${what} | ${found.median.toFixed(2)} | ${found.p90.toFixed(2)} | ${found.per_second.toFixed(0)} |`);
  await browser.close();
  server.close();
}

main().catch(error => {
  console.error(error);
  process.exit(1);
});
