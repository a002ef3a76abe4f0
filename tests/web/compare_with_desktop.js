// Each grain program's page, stepped frame by frame under scripted mouse
// input, shows exactly the picture grains_sim draws on the desktop from the
// events a desktop window gives for that input, and the page's program
// receives exactly those events.
//   node compare_with_desktop.js WEB_BUILD GRAINS_SIM FRAMES PROGRAM...
// The input is tests/web/PROGRAM.events. Exits 1 at any difference.
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {CANVAS_WIDTH, run_check, SteppedPage, read_events, as_the_desktop_gives} = require('./pages');
const {png_pixels} = require('./live_page');

const [web_build, grains_sim, frame_count, ...programs] = process.argv.slice(2);
const frames = Number(frame_count);

// The last frame's picture by grains_sim from these events, as 0xRRGGBB
// pixels.
function desktop_picture(program, events) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'grains-web-'));
  try {
    const events_file = path.join(folder, 'events.txt'), file = path.join(folder, 'last.png');
    fs.writeFileSync(events_file, events.map(event => event.text + '\n').join(''));
    execFileSync(grains_sim, [program, '--events', events_file, '--frames', String(frames), '--png', file]);
    return png_pixels(file);
  } finally {
    fs.rmSync(folder, {recursive: true});
  }
}

async function run_page(browser, server, program, events) {
  const page = await SteppedPage.open(browser, server, program, () => {});
  const started = Date.now();
  let next = 0, picture = null;
  for (let frame = 0; frame < frames; ++frame) {
    for (; next < events.length && events[next].frame === frame; ++next) await page.send(events[next]);
    if (frame === frames - 1) picture = await page.last_frame();
    else await page.step(1);
  }
  const milliseconds = (Date.now() - started) / frames;
  const recorded = (await page.recording()).split('\n').filter(line => line !== '' && !line.startsWith('#'));
  await page.page.close();
  return {picture, milliseconds, recorded};
}

function first_difference(a, b) {
  for (let i = 0; i < a.length; ++i)
    if (a[i] !== b[i]) return {x: i % CANVAS_WIDTH, y: Math.floor(i / CANVAS_WIDTH), page: a[i], desktop: b[i]};
  return null;
}

run_check(path.resolve(web_build), async (browser, server) => {
  let failed = false;
  for (const program of programs) {
    const events = read_events(path.join(__dirname, `${program}.events`)).filter(event => event.frame < frames);
    const page = await run_page(browser, server, program, events);
    const handled = as_the_desktop_gives(events);
    const desktop = desktop_picture(program, handled);
    const expected = handled.map(event => event.text);
    const differing = page.picture.reduce((count, pixel, i) => count + (pixel !== desktop[i]), 0);
    const lit = desktop.reduce((count, pixel) => count + (pixel !== 0), 0);
    const same_events = JSON.stringify(page.recorded) === JSON.stringify(expected);
    const received = same_events ? 'all received' : 'NOT received';
    console.log(`${program}: ${frames} frames, ${events.length} events (${received} as a desktop window gives ` +
                `them); ${differing} of ${page.picture.length} pixels differ from grains_sim (${lit} lit); ` +
                `${page.milliseconds.toFixed(1)} ms a frame in the page`);
    if (!same_events) {
      const at = page.recorded.findIndex((line, i) => line !== expected[i]);
      console.log(`  first difference at event ${at}: page "${page.recorded[at]}", desktop "${expected[at]}"`);
    }
    if (differing > 0) console.log('  first differing pixel:', JSON.stringify(first_difference(page.picture, desktop)));
    failed = failed || !same_events || differing > 0 || lit === 0;
  }
  return failed;
});
