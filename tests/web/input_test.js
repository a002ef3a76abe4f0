// The pages under a player's input, on their own animation frames: every
// pointer sample reaches the program in order, drags leave the canvas as
// they leave a desktop window, no button stays held when the page loses the
// pointer, keys and the wheel stay the browser's, touch works through the
// tool choice on scrolled pages and on phones.
//   node input_test.js WEB_BUILD
'use strict';
const assert = require('node:assert/strict');
const path = require('path');
const fs = require('fs');
const {after, before, test} = require('node:test');
const {PNG} = require('pngjs');
const {KnownDevices} = require('puppeteer-core');
const {serve, launch, read_events, as_the_desktop_gives} = require('./pages');
const {LivePage, sleep} = require('./live_page');

let server, browser;
before(async () => {
  server = await serve(path.resolve(process.argv[2]));
  browser = await launch();
});
after(async () => {
  await browser.close();
  server.close();
});

// The canvas pixel under a place in the canvas's rectangle on the screen.
const canvas_pixel = (box, at) => ({x: Math.floor(at.x * 1024 / box.width), y: Math.floor(at.y * 768 / box.height)});

// The program's event lines, without the frames, from the first press on.
const from_first_press = lines => lines.slice(lines.findIndex(line => line.startsWith('down ')));

test('a fast drag reaches the program sample for sample', async () => {
  const page = await LivePage.open(browser, server, 'grains_b');
  const box = await page.box();
  await page.mouse('move', {x: 100, y: 400}, 'none', box);
  await page.mouse('press', {x: 100, y: 400}, 'right', box);
  // 60 moves 8 px and 8 ms apart (a 125 Hz mouse), then 40 sent at once.
  const sent = [], moves = [];
  for (let i = 1; i <= 60; ++i) {
    sent.push(page.mouse('move', {x: 100 + 8 * i, y: 400}, 'none', box));
    moves.push(`motion ${100 + 8 * i} 400`);
    await sleep(8);
  }
  for (let i = 1; i <= 40; ++i) {
    sent.push(page.mouse('move', {x: 580 - 8 * i, y: 420}, 'none', box));
    moves.push(`motion ${580 - 8 * i} 420`);
  }
  await Promise.all(sent);
  await page.mouse('release', {x: 260, y: 420}, 'right', box);
  await page.frames(3);

  assert.deepEqual(from_first_press(await page.handled()), ['down 100 400 3', ...moves, 'up 260 420 3']);
  assert.equal(page.d_lines().length, 100, 'a D line for each move');
  console.log(`# 60 moves 8 ms apart and 40 sent at once: ${page.d_lines().length} D lines`);
  await page.page.close();
});

test('drags out of every edge give what a desktop window gives', async () => {
  const input = read_events(path.join(__dirname, 'edges.events'));
  const expected = fs.readFileSync(path.join(__dirname, 'edges.expected'), 'utf8').split('\n')
    .filter(line => line !== '' && !line.startsWith('#'));
  // The ?step comparison's account of the desktop agrees with the desktop.
  assert.deepEqual(from_first_press(as_the_desktop_gives(input).map(event => event.text.replace(/^\S+ /, ''))),
                   expected);

  const page = await LivePage.open(browser, server, 'grains_b');
  const box = await page.box();
  const buttons = {1: 'left', 2: 'middle', 3: 'right'};
  for (const event of input) {
    const kind = {motion: 'move', down: 'press', up: 'release'}[event.kind];
    await page.mouse(kind, event, buttons[event.button] || 'none', box);
  }
  await page.frames(3);
  assert.deepEqual(from_first_press(await page.handled()), expected);
  await page.page.close();
});

test('a second button pressed during a drag is a press, not a move', async () => {
  const page = await LivePage.open(browser, server, 'grains_c');
  const box = await page.box();
  for (const [kind, x, button] of [['move', 100], ['press', 100, 'left'], ['move', 110], ['press', 110, 'right'],
                                   ['move', 120], ['release', 120, 'left'], ['move', 130], ['release', 130, 'right']])
    await page.mouse(kind, {x, y: 300}, button, box);
  await page.frames(3);
  assert.deepEqual(from_first_press(await page.handled()),
                   ['down 100 300 1', 'motion 110 300', 'down 110 300 3', 'motion 120 300', 'up 120 300 1',
                    'motion 130 300', 'up 130 300 3']);
  await page.page.close();
});

test('samples that stay within one pixel are one move, as a desktop window hears them', async () => {
  const page = await LivePage.open(browser, server, 'grains_b');
  const box = await page.box();
  await page.mouse('move', {x: 100.5, y: 300.5}, 'none', box);
  await page.mouse('press', {x: 100.5, y: 300.5}, 'right', box);
  for (const x of [100.75, 101.25, 101.5, 101.75, 102.5])
    await page.mouse('move', {x, y: 300.5}, 'none', box);
  await page.mouse('release', {x: 102.5, y: 300.5}, 'right', box);
  await page.frames(3);
  assert.deepEqual(from_first_press(await page.handled()),
                   ['down 100 300 3', 'motion 101 300', 'motion 102 300', 'up 102 300 3']);
  assert.deepEqual(page.d_lines(), ['D 101 300', 'D 102 300']);
  await page.page.close();
});

// A right drag on the page from (100, 300) to (120, 300), still held; the
// canvas's rectangle.
async function right_drag_begun(page) {
  const box = await page.box();
  await page.mouse('move', {x: 100, y: 300}, 'none', box);
  await page.mouse('press', {x: 100, y: 300}, 'right', box);
  await page.mouse('move', {x: 120, y: 300}, 'none', box);
  return box;
}

test('a button released in another tab is released in the page', async () => {
  const page = await LivePage.open(browser, server, 'grains_b');
  const box = await right_drag_begun(page);
  await page.frames(2);
  const other = await browser.newPage();
  await other.bringToFront();
  await other.mouse.down({button: 'right'});
  await other.mouse.up({button: 'right'});
  await page.page.bringToFront();
  page.buttons = 0;  // released elsewhere
  for (let x = 140; x <= 240; x += 10) await page.mouse('move', {x, y: 300}, 'none', box);
  await page.frames(3);

  assert.deepEqual(from_first_press(await page.handled()).slice(0, 4),
                   ['down 100 300 3', 'motion 120 300', 'up 120 300 3', 'motion 140 300']);
  assert.deepEqual(page.d_lines(), ['D 120 300'], 'no wall painted once back on the page');
  await other.close();
  await page.page.close();
});

test('a pointer capture lost during a drag releases the held button', async () => {
  const setup = () => addEventListener('pointerdown', event => { window.pressed_pointer = event.pointerId; }, true);
  const page = await LivePage.open(browser, server, 'grains_b', {setup});
  const box = await right_drag_begun(page);
  await page.page.evaluate(() => document.getElementById('canvas').releasePointerCapture(window.pressed_pointer));
  await page.frames(2);
  // The button is still down in the browser: the moves carry it.
  for (let x = 140; x <= 200; x += 20) await page.mouse('move', {x, y: 300}, 'none', box);
  await page.mouse('release', {x: 200, y: 300}, 'right', box);
  await page.frames(3);

  assert.deepEqual(from_first_press(await page.handled()),
                   ['down 100 300 3', 'motion 120 300', 'up 120 300 3', 'motion 140 300', 'motion 160 300',
                    'motion 180 300', 'motion 200 300']);
  assert.deepEqual(page.d_lines(), ['D 120 300'], 'no wall painted once the capture is gone');
  await page.page.close();
});

test('keys and the wheel stay the browser\'s', async () => {
  const page = await LivePage.open(browser, server, 'grains_c', {viewport: {width: 1280, height: 600}});
  await page.page.evaluate(() => {
    window.keys_prevented = [];
    window.addEventListener('keydown', event => keys_prevented.push(event.defaultPrevented));
  });
  await page.page.keyboard.press('KeyA');
  await page.page.keyboard.press('Tab');
  assert.deepEqual(await page.page.evaluate(() => keys_prevented), [false, false]);
  assert.equal(await page.page.evaluate(() => document.activeElement.textContent), 'All the programs',
               'Tab moves the focus');

  const box = await page.box();
  await page.mouse('move', {x: 300, y: 300}, 'none', box);
  await page.cdp.send('Input.dispatchMouseEvent',
                      {type: 'mouseWheel', x: box.x + 300, y: box.y + 300, deltaX: 0, deltaY: 200});
  await page.frames(3);
  assert.ok(await page.page.evaluate(() => window.scrollY) > 0, 'the wheel over the canvas scrolls the page');
  const at = canvas_pixel(box, {x: 300, y: 300});
  assert.deepEqual(await page.handled(), [`motion ${at.x} ${at.y}`], 'the wheel is no event of the program\'s');
  await page.page.close();
});

// A finger's drag from (100, 300) to (180, 300), in canvas pixels at scale 1.
async function finger_drag(page, box, id) {
  await page.touch('touchStart', [{x: 100, y: 300, id}], box);
  await page.touch('touchMove', [{x: 140, y: 300, id}], box);
  await page.touch('touchMove', [{x: 180, y: 300, id}], box);
  await page.touch('touchEnd', [{x: 180, y: 300, id}], box);
}

test('a finger on a scrolled page paints with each tool, and further fingers are ignored', async () => {
  const page = await LivePage.open(browser, server, 'grains_c', {viewport: {width: 1280, height: 1024, hasTouch: true}});
  await page.page.evaluate(() => { document.body.style.paddingBottom = '600px'; });
  const tools = {grains: 1, walls: 3, eraser: 2};
  for (const [tool, button] of Object.entries(tools)) {
    await page.page.evaluate(() => window.scrollTo(0, 0));
    await page.page.click(`input[name=tool][value=${tool}]`);
    await page.page.evaluate(() => window.scrollTo(0, 300));
    const box = await page.box();
    assert.ok(box.y < -200, 'the page is scrolled');
    const before = (await page.handled()).length;
    await finger_drag(page, box, 1);
    await page.frames(2);
    assert.deepEqual((await page.handled()).slice(before),
                     ['motion 100 300', `down 100 300 ${button}`, 'motion 140 300', 'motion 180 300',
                      `up 180 300 ${button}`], tool);
  }

  // A second finger, down while the first is, is ignored even once the first lifts; then a new one works.
  const box = await page.box();
  const before = (await page.handled()).length;
  await page.touch('touchStart', [{x: 200, y: 400, id: 1}], box);
  await page.touch('touchStart', [{x: 200, y: 400, id: 1}, {x: 500, y: 500, id: 2}], box);
  await page.touch('touchMove', [{x: 210, y: 400, id: 1}, {x: 520, y: 500, id: 2}], box);
  await page.touch('touchEnd', [{x: 210, y: 400, id: 1}], box);
  await page.touch('touchMove', [{x: 540, y: 500, id: 2}], box);
  await page.touch('touchEnd', [{x: 540, y: 500, id: 2}], box);
  await finger_drag(page, box, 3);
  await page.frames(2);
  assert.deepEqual((await page.handled()).slice(before),
                   ['motion 200 400', 'down 200 400 2', 'motion 210 400', 'up 210 400 2', 'motion 100 300',
                    'down 100 300 2', 'motion 140 300', 'motion 180 300', 'up 180 300 2']);
  await page.page.close();
});

test('on a phone the canvas fits the screen, sharp, and a finger with the walls tool paints where it touches', async () => {
  for (const profile of ['iPhone 12', 'iPhone 12 landscape']) {
    const page = await LivePage.open(browser, server, 'grains_b', {device: KnownDevices[profile]});
    const screen = await page.page.evaluate(() => ({width: innerWidth, height: innerHeight}));
    assert.equal(screen.width, KnownDevices[profile].viewport.width, `${profile}: laid out at the device's width`);
    const box = await page.box();
    assert.ok(box.width <= screen.width && box.height <= screen.height, `${profile}: the whole canvas is on screen`);
    assert.ok(Math.abs(box.width / box.height - 4 / 3) < 0.01, `${profile}: 4:3 kept`);
    assert.equal(await page.page.$eval('canvas', canvas => getComputedStyle(canvas).imageRendering), 'pixelated');

    await page.page.tap('input[name=tool][value=walls]');
    const points = [{x: box.width * 0.1, y: box.height * 0.2}, {x: box.width * 0.3, y: box.height * 0.25},
                    {x: box.width / 2, y: box.height / 2}];
    await page.touch('touchStart', [{...points[0], id: 1}], box);
    await page.touch('touchMove', [{...points[1], id: 1}], box);
    await page.touch('touchMove', [{...points[2], id: 1}], box);
    await page.touch('touchEnd', [{...points[2], id: 1}], box);
    await page.frames(2);
    const [a, b, c] = points.map(at => canvas_pixel(box, at));
    assert.deepEqual(await page.handled(), [`motion ${a.x} ${a.y}`, `down ${a.x} ${a.y} 3`, `motion ${b.x} ${b.y}`,
                                            `motion ${c.x} ${c.y}`, `up ${c.x} ${c.y} 3`], profile);
    assert.deepEqual(c, {x: 512, y: 384}, 'the middle of the canvas');
    await page.page.close();
  }
});

test('at a device pixel ratio of 1.5 the canvas shows at its own size without smoothing', async () => {
  const page = await LivePage.open(browser, server, 'grains_b',
                                   {viewport: {width: 1280, height: 1024, deviceScaleFactor: 1.5}});
  const box = await page.box();
  assert.deepEqual([box.width, box.height], [1024, 768], 'one canvas pixel a CSS pixel');
  await page.mouse('move', {x: 20, y: 20}, 'none', box);
  await page.mouse('press', {x: 20, y: 20}, 'right', box);
  await page.mouse('move', {x: 60, y: 30}, 'none', box);
  await page.mouse('release', {x: 60, y: 30}, 'right', box);
  await page.frames(3);
  // Walls (red) on black, the grains far away: a smoothed picture would
  // show other colours along the walls' edges.
  const shot = await page.page.screenshot({clip: {x: box.x + 10, y: box.y + 10, width: 70, height: 40}, encoding: 'binary'});
  const png = PNG.sync.read(Buffer.from(shot));
  const colours = new Set();
  for (let i = 0; i < png.data.length; i += 4) colours.add((png.data[i] << 16) | (png.data[i + 1] << 8) | png.data[i + 2]);
  assert.deepEqual([...colours].sort(), [0, 0xff0000].sort(), 'only red and black');
  await page.page.close();
});
