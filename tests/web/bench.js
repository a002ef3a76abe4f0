// Frames a second of each grain program in its page, in Chromium's software
// WebGL: the median of five runs of 300 frames, at a typical load (after
// 1000 frames without input) and at full load (every simulated cell refilled
// with a moving grain before each frame, as grains_sim --full).
//   node bench.js WEB_BUILD PROGRAM...
'use strict';
const path = require('path');
const {serve, launch, SteppedPage} = require('./pages');

const FRAMES = 300;

// Milliseconds a frame over FRAMES frames, the last one read back so that
// the GL has done all the work.
function time_frames(page, full) {
  return page.page.evaluate((frames, full) => {
    const start = performance.now();
    for (let frame = 0; frame < frames; ++frame) {
      if (full) Module._grains_fill_with_grains();
      Module._grains_step(1);
    }
    Module._grains_frame_pixels();
    return (performance.now() - start) / frames;
  }, FRAMES, full);
}

async function median_of_five(page, full) {
  const times = [];
  for (let run = 0; run < 5; ++run) times.push(await time_frames(page, full));
  return times.sort((a, b) => a - b)[2];
}

async function main() {
  const [web_build, ...programs] = process.argv.slice(2);
  const server = await serve(path.resolve(web_build));
  const browser = await launch();
  console.log('| program | page, typical (ms a frame) | page, typical (frames a second) | page, full (ms a frame) | page, full (frames a second) |');
  console.log('|---|---|---|---|---|');
  for (const program of programs) {
    const page = await SteppedPage.open(browser, server, program, () => {});
    await page.step(1000);
    const typical = await median_of_five(page, false);
    const full = await median_of_five(page, true);
    await page.page.close();
    console.log(`| ${program} | ${typical.toFixed(2)} | ${(1000 / typical).toFixed(0)} | ${full.toFixed(2)} | ` +
                `${(1000 / full).toFixed(0)} |`);
  }
  await browser.close();
  server.close();
}

main().catch(error => {
  console.error(error);
  process.exit(1);
});
