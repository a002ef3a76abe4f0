// A program's page on its own animation frames, driven as a player drives
// it: mouse and touch input sent through the DevTools protocol, at places
// given in CSS pixels from the canvas's top-left corner.
'use strict';
const fs = require('fs');
const {PNG} = require('pngjs');
const {gl_frame} = require('./frame_compare');

const BUTTON_BITS = {left: 1, right: 2, middle: 4};

class LivePage {
  // options: viewport or device (a puppeteer device profile), and setup, a
  // function run in the page before its own scripts.
  static async open(browser, server, program, {viewport = {width: 1280, height: 1024}, device, setup} = {}) {
    const page = await browser.newPage();
    if (device) await page.emulate(device);
    else await page.setViewport(viewport);
    const live = new LivePage(page, await page.createCDPSession());
    page.on('console', message => live.console.push({type: message.type(), text: message.text()}));
    page.on('pageerror', error => live.errors.push(error.message));
    if (setup) await page.evaluateOnNewDocument(setup);
    await page.goto(`http://127.0.0.1:${server.address().port}/${program}.html`);
    await page.waitForFunction(() => window.Module && Module.calledRun);
    return live;
  }

  constructor(page, cdp) {
    this.page = page;
    this.cdp = cdp;
    this.console = [];
    this.errors = [];
    this.buttons = 0;  // the mouse buttons held, as the protocol counts them
  }

  // The canvas's rectangle in the viewport, in CSS pixels.
  async box() { return (await this.page.$('canvas')).boundingBox(); }

  // A mouse event at `at` from the canvas's corner: move, press or release
  // (of button), with the buttons held after it. Resolves once the browser
  // has taken it; `box` is the canvas's rectangle when already known.
  async mouse(kind, at, button = 'none', box = null) {
    box = box || await this.box();
    if (kind === 'press') this.buttons |= BUTTON_BITS[button];
    if (kind === 'release') this.buttons &= ~BUTTON_BITS[button];
    const type = {move: 'mouseMoved', press: 'mousePressed', release: 'mouseReleased'}[kind];
    // A move names a button held, as a real mouse's does (else Chromium
    // takes no button as held, and lets a pointer capture go).
    if (kind === 'move') button = Object.keys(BUTTON_BITS).find(name => this.buttons & BUTTON_BITS[name]) || 'none';
    return this.cdp.send('Input.dispatchMouseEvent', {
      type, x: box.x + at.x, y: box.y + at.y, button, buttons: this.buttons, clickCount: kind === 'move' ? 0 : 1,
    });
  }

  // Touch points, {x, y, id} from the canvas's corner: 'touchStart' and
  // 'touchMove' list the fingers on the screen, 'touchEnd' those lifted.
  async touch(type, points, box = null) {
    box = box || await this.box();
    return this.cdp.send('Input.dispatchTouchEvent',
                         {type, touchPoints: points.map(({x, y, id}) => ({x: box.x + x, y: box.y + y, id}))});
  }

  // Waits for the page to run n more animation frames.
  frames(n) {
    return this.page.evaluate(n => new Promise(done => {
      let left = n;
      const next = () => (--left <= 0 ? done() : requestAnimationFrame(next));
      requestAnimationFrame(next);
    }), n);
  }

  // The session as "Download session" hands it out.
  session() { return this.page.evaluate(() => Module.ccall('grains_session_text', 'string', [], [])); }

  // The events the program has handled, without their frames.
  async handled() { return session_events(await this.session()).map(line => line.slice(line.indexOf(' ') + 1)); }

  // What the program printed for its right drags.
  d_lines() { return this.console.filter(message => message.text.startsWith('D ')).map(message => message.text); }

  status() { return this.page.$eval('#status', status => status.textContent); }

  // The canvas as WebGL holds it now (a page opened with
  // keep_drawing_buffer keeps it after it is shown): frame_compare's frame.
  async canvas_frame() {
    const {width, height, bytes} = await this.page.evaluate(() => {
      const canvas = document.getElementById('canvas');
      const gl = canvas.getContext('webgl');
      const pixels = new Uint8Array(canvas.width * canvas.height * 4);
      gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
      return {width: canvas.width, height: canvas.height, bytes: Array.from(pixels)};
    });
    return gl_frame(bytes, width, height);
  }
}

// A page's setup: its WebGL canvas keeps its picture after it is shown, so
// that a test can read what the player sees.
function keep_drawing_buffer() {
  const get_context = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, attributes) {
    return get_context.call(this, type, Object.assign({}, attributes, {preserveDrawingBuffer: true}));
  };
}


// The event lines of a session (its comments left out).
function session_events(text) { return text.split('\n').filter(line => line !== '' && !line.startsWith('#')); }

// A PNG file's pixels as 0xRRGGBB, top row first.
function png_pixels(file) {
  const png = PNG.sync.read(fs.readFileSync(file));
  const pixels = new Uint32Array(png.width * png.height);
  for (let i = 0; i < pixels.length; ++i)
    pixels[i] = (png.data[4 * i] << 16) | (png.data[4 * i + 1] << 8) | png.data[4 * i + 2];
  return pixels;
}

const sleep = ms => new Promise(done => setTimeout(done, ms));

module.exports = {LivePage, keep_drawing_buffer, session_events, png_pixels, sleep};
