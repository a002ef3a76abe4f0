// The grain programs' pages in headless Chromium: a local server for the
// web build's folder, and a page stepped frame by frame (?step), so that no
// timing decides what is compared.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const CANVAS_WIDTH = 1024;
const CANVAS_HEIGHT = 768;
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};

// Serves folder on 127.0.0.1 at port (0: any free one); resolves to the
// server, listening.
function serve(folder, port = 0) {
  const server = http.createServer((request, response) => {
    const file = path.join(folder, path.normalize(decodeURIComponent(request.url.split('?')[0])));
    fs.readFile(file, (error, data) => {
      if (error || !file.startsWith(folder)) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream'});
      response.end(data);
    });
  });
  return new Promise(resolve => server.listen(port, '127.0.0.1', () => resolve(server)));
}

// Chromium with software WebGL, and none of its calls to the network.
function launch() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
           '--disable-quic'],
  });
}

// A program's page, stepped by hand. Its console goes to log; the session
// is recorded (GRAINS_RECORD) in the page's own file system.
class SteppedPage {
  static async open(browser, server, program, log) {
    const page = await browser.newPage();
    // Larger than the canvas, so that drags can leave it.
    await page.setViewport({width: 1280, height: 1024});
    page.on('console', message => log(message.text()));
    page.on('pageerror', error => log('page error: ' + error.message));
    await page.evaluateOnNewDocument(() => {
      window.Module = {preRun: [() => { Module.ENV.GRAINS_RECORD = '/session.txt'; }]};
    });
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
    const pixels = new Uint32Array(CANVAS_WIDTH * CANVAS_HEIGHT);
    for (let y = 0; y < CANVAS_HEIGHT; ++y)
      for (let x = 0; x < CANVAS_WIDTH; ++x) {
        const i = ((CANVAS_HEIGHT - 1 - y) * CANVAS_WIDTH + x) * 4;
        pixels[y * CANVAS_WIDTH + x] = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
      }
    return pixels;
  }

  recording() { return this.page.evaluate(() => Module.FS.readFile('/session.txt', {encoding: 'utf8'})); }
}

// The events of a grains_sim events file, with their line numbers.
function read_events(file) {
  return fs.readFileSync(file, 'utf8').split('\n').map((text, index) => ({text: text.trim(), line: index + 1}))
    .filter(({text}) => text !== '' && !text.startsWith('#'))
    .map(({text, line}) => {
      const [frame, kind, x, y, button] = text.split(/\s+/);
      return {frame: +frame, kind, x: +x, y: +y, button: button === undefined ? 0 : +button, line, text};
    });
}

module.exports = {CANVAS_WIDTH, CANVAS_HEIGHT, serve, launch, SteppedPage, read_events};
