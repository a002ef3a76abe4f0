// The showcase's and the examples' pages against their desktop windows:
// each program runs unchanged in its page, on the page's own animation
// frames, and in a desktop window under Xvfb, on Mesa's llvmpipe and on
// softpipe; the same mouse input reaches both, through the DevTools
// protocol and through xdotool, and the canvas is compared with the window
// after each step (frame_compare.js says how). The showcase's page at rest
// is also compared with the README's picture of its desktop window,
// docs/pictures/engine_showcase.png. Exits 1 when a page differs beyond
// the bounds below.
//   node compare_windows.js WEB_BUILD DESKTOP_BUILD
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {run_check} = require('./pages');
const {LivePage, keep_drawing_buffer, sleep} = require('./live_page');
const {png_frame, compare, describe} = require('./frame_compare');

const [web_build, desktop_build] = process.argv.slice(2).map(folder => path.resolve(folder));
const SOURCE = path.resolve(__dirname, '..', '..');

// Input, in window pixels: a move, a press or release of the left button,
// a click (both), a pause.
const move = (x, y) => ({move: {x, y}});
const DOWN = {down: true}, UP = {up: true};
const pause = ms => ({pause: ms});
const click = (x, y) => [move(x, y), pause(100), DOWN, UP, pause(100), move(900, 700)];
const drag = (x, y, dx, dy) => [move(x, y), DOWN, ...[1, 2, 3, 4].flatMap(step =>
  [pause(100), move(x + dx * step / 4, y + dy * step / 4)]), pause(300), UP, move(900, 700)];

// The showcase's widgets, where the pointer takes them (its layout's places
// in the panel at (24, 24), pictures 15 rows lower); the drag time label
// shows wall-clock time, which no two runs share.
const SHOWCASE = {play: [102, 175], knob: [146, 279], next: [148, 375], background: [470, 419]};
const DRAG_TIME = {left: 340, top: 262, right: 560, bottom: 298};
const moved = (box, dx, dy) => ({left: box.left + dx, top: box.top + dy, right: box.right + dx, bottom: box.bottom + dy});

// Each program: its page, its desktop command (from the desktop build) and
// working folder, its steps, each compared after it (the first at rest),
// and how many pixels may differ by more than two levels, at glyphs' edges
// and along the cable (the most seen, on either GL, is given; without text
// or cable, none may differ at all).
const SCENES = [
  {page: 'engine_showcase', program: 'programs/engine_showcase', own_folder: true, most_beyond_two: 6000 /* 5411 seen */, steps: [
    {name: 'at rest', input: []},
    {name: 'PLAY clicked', input: click(...SHOWCASE.play)},
    {name: 'knob dragged 80 px', input: drag(...SHOWCASE.knob, 80, 0), masks: [DRAG_TIME]},
    {name: 'NEXT clicked', input: click(...SHOWCASE.next), masks: [DRAG_TIME]},
    {name: 'panel dragged', input: drag(...SHOWCASE.background, 100, 50), masks: [moved(DRAG_TIME, 100, 50)]},
  ]},
  {page: 'grains_example_sprite_window', program: 'examples/grains_example_sprite_window', most_differing: 0, steps: [
    {name: 'at rest', input: []},
  ]},
  {page: 'grains_example_font_text', program: 'examples/grains_example_font_text', most_beyond_two: 1500 /* 1231 seen */, steps: [
    {name: 'at rest', input: []},
  ]},
  {page: 'grains_example_panel_widgets', program: 'examples/grains_example_panel_widgets', most_beyond_two: 700 /* 561 seen */, steps: [
    {name: 'at rest', input: []},
    {name: 'PLAY clicked', input: click(384, 297)},
    {name: 'knob dragged 100 px', input: drag(320, 393, 100, 0)},
  ]},
  {page: 'grains_example_patch_cord', program: 'examples/grains_example_patch_cord', most_beyond_two: 1000 /* 840 seen */, steps: [
    {name: 'at rest', input: []},
    {name: 'left socket clicked', input: click(232, 347)},
    {name: 'right socket dragged', input: drag(732, 347, 0, 150)},
  ]},
];
const DRIVERS = ['llvmpipe', 'softpipe'];

function xdotool_words(input) {
  return input.map(action => action.move ? `mousemove ${action.move.x} ${action.move.y}`
                             : action.down ? 'mousedown 1' : action.up ? 'mouseup 1' : `sleep ${action.pause / 1000}`)
    .join(' ');
}

// The desktop window's frames after each step on Mesa's driver, in a
// folder of its own.
function desktop_frames(scene, driver) {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'grains-window-'));
  try {
    let folder = SOURCE;
    const command = [path.join(desktop_build, scene.program)];
    if (scene.own_folder) {
      // The showcase writes its listing and saved layout in its folder.
      folder = fs.mkdtempSync(path.join(out, 'run-'));
      fs.symlinkSync(path.join(SOURCE, 'grfx'), path.join(folder, 'grfx'));
      command.push('--saved-layout', path.join(folder, 'saved.lay'));
    }
    const steps = scene.steps.slice(1).map(step => xdotool_words(step.input));
    execFileSync(path.join(SOURCE, 'tests', 'with_xvfb.sh'),
                 [path.join(__dirname, 'desktop_window.sh'), folder, out, ...command, '--', ...steps],
                 {env: {...process.env, GALLIUM_DRIVER: driver}, stdio: ['ignore', 'ignore', 'inherit']});
    return scene.steps.map((step, index) => png_frame(path.join(out, `${index}.png`)));
  } finally {
    fs.rmSync(out, {recursive: true});
  }
}

// The canvas once two frames 10 animation frames apart agree.
async function steady_canvas(page) {
  let before = await page.canvas_frame();
  for (let tries = 0; tries < 50; ++tries) {
    await page.frames(10);
    const now = await page.canvas_frame();
    if (now.pixels.every((pixel, i) => pixel === before.pixels[i]) && now.pixels.some(pixel => pixel !== 0)) return now;
    before = now;
  }
  throw new Error(`${page.program}: the canvas never settled`);
}

async function send(page, input, box) {
  let at = {x: 0, y: 0};
  for (const action of input) {
    if (action.move) {
      at = action.move;
      await page.mouse('move', at, 'none', box);
    } else if (action.down) {
      await page.mouse('press', at, 'left', box);
    } else if (action.up) {
      await page.mouse('release', at, 'left', box);
    } else {
      await sleep(action.pause);
    }
  }
}

// The page's frames after each step; its console goes to log.
async function page_frames(browser, server, scene, log) {
  const page = await LivePage.open(browser, server, scene.page, {setup: keep_drawing_buffer});
  page.program = scene.page;
  try {
    const box = await page.box();
    const frames = [];
    for (const step of scene.steps) {
      await send(page, step.input, box);
      frames.push(await steady_canvas(page));
    }
    for (const error of page.errors) log.push(`  ${scene.page}: page error: ${error}`);
    return frames;
  } finally {
    await page.page.close();
  }
}

run_check(web_build, async (browser, server) => {
  let failed = false;
  const log = [];
  for (const scene of SCENES) {
    const page = await page_frames(browser, server, scene, log);
    const judge = (what, found) => {
      console.log(`${scene.page}, ${what}: ${describe(found)}`);
      const bound = scene.most_differing === 0 ? found.differing : found.beyond_two;
      failed = failed || found.far > 0 || bound > (scene.most_beyond_two || 0);
    };
    for (const driver of DRIVERS) {
      const desktop = desktop_frames(scene, driver);
      scene.steps.forEach((step, index) => judge(`${step.name}, on ${driver}`, compare(page[index], desktop[index],
                                                                                          step.masks)));
    }
    if (scene.page === 'engine_showcase')
      judge('at rest, against docs/pictures/engine_showcase.png',
            compare(page[0], png_frame(path.join(SOURCE, 'docs', 'pictures', 'engine_showcase.png'))));
  }
  if (log.length > 0) {
    console.log(log.join('\n'));
    failed = true;
  }
  return failed;
});
