// The grain programs' pages in headless Chromium: a local server for the
// web build's folder, and a page stepped frame by frame (?step), so that no
// timing decides what is compared.
'use strict';
const fs = require('fs');
const puppeteer = require('puppeteer-core');
const {gl_frame} = require('./frame_compare');
const {serve} = require('./server');

const CANVAS_WIDTH = 1024;
const CANVAS_HEIGHT = 768;

// Chromium with software WebGL (and these further switches), and none of
// its calls to the network.
function launch(switches = []) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
           '--disable-quic', ...switches],
  });
}

// A program's page, stepped by hand. Its console goes to log; the page
// records the session.
class SteppedPage {
  static async open(browser, server, program, log) {
    const page = await browser.newPage();
    // Larger than the canvas, so that drags can leave it.
    await page.setViewport({width: 1280, height: 1024});
    page.on('console', message => log(message.text()));
    page.on('pageerror', error => log('page error: ' + error.message));
    await page.goto(`http://127.0.0.1:${server.address().port}/${program}.html?step`);
    await page.waitForFunction(() => Module.calledRun && typeof Module._grains_step === 'function');
    const box = await (await page.$('canvas')).boundingBox();
    return new SteppedPage(page, box);
  }

  constructor(page, box) {
    this.page = page;
    this.box = box;
    this.pointer = null;
  }

  // One scripted event, as real mouse input over the canvas.
  async send(event) {
    const button = {1: 'left', 2: 'middle', 3: 'right'}[event.button];
    const at = {x: this.box.x + event.x, y: this.box.y + event.y};
    if (event.kind === 'motion') {
      await this.page.mouse.move(at.x, at.y);
      this.pointer = at;
      return;
    }
    // A press or release moves nothing: the script puts it where the
    // pointer is, or the page would see a motion the script does not have.
    if (!this.pointer || this.pointer.x !== at.x || this.pointer.y !== at.y)
      throw new Error(`line ${event.line}: ${event.kind} away from the pointer`);
    if (event.kind === 'down') await this.page.mouse.down({button});
    else await this.page.mouse.up({button});
  }

  step(frames) { return this.page.evaluate(n => Module._grains_step(n), frames); }

  // Runs the last frame and reads it in the same task, before the page
  // shows it: 0xRRGGBB pixels, top row first.
  async last_frame() {
    const bytes = await this.page.evaluate((width, height) => {
      Module._grains_step(1);
      const at = Module._grains_frame_pixels();
      return Array.from(Module.HEAPU8.subarray(at, at + width * height * 4));
    }, CANVAS_WIDTH, CANVAS_HEIGHT);
    return pixels_of_gl_frame(bytes);
  }

  // The session as the page's "Download session" hands it out.
  recording() { return this.page.evaluate(() => Module.ccall('grains_session_text', 'string', [], [])); }
}

// A frame as GL reads it (red, green, blue and alpha bytes, bottom row
// first) as 0xRRGGBB pixels, top row first.
function pixels_of_gl_frame(bytes) { return gl_frame(bytes, CANVAS_WIDTH, CANVAS_HEIGHT).pixels; }

// The events of a grains_sim events file, with their line numbers; the
// pointer's positions may lie outside the window (below 0 too).
function read_events(file) {
  return fs.readFileSync(file, 'utf8').split('\n').map((text, index) => ({text: text.trim(), line: index + 1}))
    .filter(({text}) => text !== '' && !text.startsWith('#'))
    .map(({text, line}) => {
      const [frame, kind, x, y, button] = text.split(/\s+/);
      return {frame: +frame, kind, x: +x, y: +y, button: button === undefined ? 0 : +button, line, text};
    });
}

// The events a desktop window's SDL hands the program for this pointer
// input: while a button is held, a motion (or a press) outside the window
// is kept within it, its right and bottom edges included; a release is
// where it happens, in SDL 1.2's 16 bits. edges.expected holds what the
// desktop gave for edges.input (window_edges_test checks it there).
function as_the_desktop_gives(events) {
  const held = new Set();
  const within = (value, last) => Math.min(Math.max(value, 0), last);
  return events.map(event => {
    let {x, y} = event;
    if (event.kind === 'up') {
      held.delete(event.button);
      [x, y] = [x & 0xffff, y & 0xffff];
    } else if (held.size > 0 || event.kind === 'down') {
      [x, y] = [within(x, CANVAS_WIDTH), within(y, CANVAS_HEIGHT)];
    }
    if (event.kind === 'down') held.add(event.button);
    const text = [event.frame, event.kind, x, y].concat(event.kind === 'motion' ? [] : [event.button]).join(' ');
    return {...event, x, y, text};
  });
}

// Runs a comparison script's check(browser, server) on the pages of
// `folder` and exits 1 when it resolves true (a difference) or throws.
function run_check(folder, check) {
  (async () => {
    const server = await serve(folder);
    const browser = await launch();
    let failed = true;
    try {
      failed = await check(browser, server);
    } finally {
      await browser.close();
      server.close();
    }
    process.exit(failed ? 1 : 0);
  })().catch(error => {
    console.error(error);
    process.exit(1);
  });
}

module.exports = {
  CANVAS_WIDTH, CANVAS_HEIGHT, serve, launch, run_check, SteppedPage, read_events, as_the_desktop_gives, pixels_of_gl_frame,
};
