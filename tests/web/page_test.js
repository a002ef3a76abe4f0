// Each page explains itself and loads without a console error; without
// WebGL, or opened as a file, it says in plain words why the program
// cannot run. The showcase's page keeps its files in the page's own file
// system, and leaves Escape to the browser.
//   node page_test.js WEB_BUILD
'use strict';
const assert = require('node:assert/strict');
const path = require('path');
const {after, before, test} = require('node:test');
const {serve, launch} = require('./pages');
const {LivePage} = require('./live_page');

const web_build = path.resolve(process.argv[2]);
const PROGRAMS = {
  grains_a: {tools: ['grains', 'walls'], says: /right drag: white walls/},
  grains_b: {tools: ['nothing', 'walls'], says: /Right drag: red walls/},
  grains_c: {tools: ['grains', 'walls', 'eraser'], says: /middle drag: eraser/},
  grains_d: {tools: ['nothing', 'walls'], says: /only the top-left 161x161 pixels paint/},
};
// The programs that run their own main() in the page, and their titles.
const OWN_LOOPS = {
  engine_showcase: {title: 'engine_showcase', says: /Escape, which ends it on the desktop, does nothing here/},
  grains_example_sprite_window: {title: 'sprite_window', says: /one sprite/},
  grains_example_font_text: {title: 'font_text', says: /lines of text in two fonts/},
  grains_example_panel_widgets: {title: 'panel_widgets', says: /the widgets answer through messages/},
  grains_example_patch_cord: {title: 'patch_cord', says: /the cord follows/},
};
// Where the showcase's buttons take a click (the canvas at its own size).
const SHOWCASE = {play: {x: 102, y: 175}, next: {x: 148, y: 375}, save: {x: 236, y: 375}, load: {x: 308, y: 375},
                  away: {x: 900, y: 700}};
let server, browser;
before(async () => {
  server = await serve(web_build);
  browser = await launch();
});
after(async () => {
  await browser.close();
  server.close();
});

// Console messages that tell of a fault: errors, and what WebGL or the
// GL emulation say about calls they do not have. (Chromium's GL notes on
// its own performance, which the showcase's many draws bring, are none.)
const faults = page => page.console
  .filter(({type, text}) => (type === 'error' || /WebGL|TODO/.test(text)) && !/GL Driver Message \(OpenGL, Performance/.test(text))
  .map(({type, text}) => `${type}: ${text}`).concat(page.errors);

test('each page names its program, says what the buttons and tools do, links back, and loads cleanly', async () => {
  for (const [program, {tools, says}] of Object.entries(PROGRAMS)) {
    const page = await LivePage.open(browser, server, program);
    await page.frames(10);
    assert.equal(await page.page.title(), program);
    assert.match(await page.page.$eval('#help', help => help.textContent), says, program);
    assert.equal(await page.page.$eval('a', link => link.getAttribute('href')), 'index.html');
    assert.deepEqual(await page.page.$$eval('input[name=tool]', choices => choices.map(choice => choice.value)), tools);
    // The left button is itself until another tool is chosen, as in a desktop window.
    assert.equal(await page.page.$eval('input[name=tool]:checked', choice => choice.value), tools[0], program);
    assert.equal(await page.page.$eval('#controls', controls => controls.hidden), false, 'the session\'s controls');
    assert.deepEqual(faults(page), [], program);
    await page.page.close();
  }
  const index = await browser.newPage();
  const messages = [];
  index.on('console', message => messages.push(message.type() + ': ' + message.text()));
  await index.goto(`http://127.0.0.1:${server.address().port}/`);
  assert.deepEqual(await index.$$eval('a', links => links.map(link => link.getAttribute('href'))),
                   Object.keys(PROGRAMS).concat(Object.keys(OWN_LOOPS)).map(program => `${program}.html`));
  assert.deepEqual(messages, []);
  await index.close();
});

test('the showcase\'s and the examples\' pages name their program, say what it does, link back, and load cleanly',
     async () => {
  for (const [program, {title, says}] of Object.entries(OWN_LOOPS)) {
    const page = await LivePage.open(browser, server, program);
    await page.frames(20);
    assert.equal(await page.page.title(), title, program);
    assert.match(await page.page.$eval('#help', help => help.textContent), says, program);
    assert.equal(await page.page.$eval('a', link => link.getAttribute('href')), 'index.html');
    assert.equal(await page.page.$eval('#controls', controls => controls.hidden), true, `${program} has no sessions`);
    assert.deepEqual(faults(page), [], program);
    await page.page.close();
  }
});

test('the showcase lists, saves and loads in the page\'s own files', async () => {
  const page = await LivePage.open(browser, server, 'engine_showcase');
  const box = await page.box();
  const click = async at => {
    await page.mouse('move', at, 'none', box);
    await page.mouse('press', at, 'left', box);
    await page.mouse('release', at, 'left', box);
    await page.mouse('move', SHOWCASE.away, 'none', box);
    await page.frames(5);
  };
  const printed = pattern => page.console.filter(({text}) => pattern.test(text)).map(({text}) => text);
  await page.frames(10);
  assert.deepEqual(printed(/recupere_nom_fichier_suivant/), ['retour recupere_nom_fichier_suivant[[grfx/SLIDER_TRACK_MASK.png]]'],
                   'the first picture of the listing');
  await click(SHOWCASE.next);
  assert.equal(printed(/recupere_nom_fichier_suivant/).length, 2, 'the next picture');
  assert.equal(await page.page.evaluate(() => Module.FS.readFile('/listing.v', {encoding: 'utf8'})
    .split('\n').filter(line => line.endsWith('.png')).length), 2 * 41, 'the listing, every picture twice');

  await click(SHOWCASE.play);
  await click(SHOWCASE.save);
  assert.deepEqual(printed(/^Layout saved/), ['Layout saved to [/tmp/engine_showcase.lay]']);
  const saved = await page.page.evaluate(() => Module.FS.readFile('/tmp/engine_showcase.lay', {encoding: 'utf8'}));
  assert.match(saved, /\nBUTTON\tPLAY\tBTN_PLAY_OFF\tBTN_PLAY_ON\tBTN_PLAY_OVER\t20\t104\t/);
  await click(SHOWCASE.load);
  assert.deepEqual(printed(/^Layout loaded/), ['Layout loaded from [/tmp/engine_showcase.lay]']);
  assert.deepEqual(faults(page), []);
  await page.page.close();
});

test('in the showcase\'s page Escape is the browser\'s, and the program goes on', async () => {
  const page = await LivePage.open(browser, server, 'engine_showcase');
  await page.frames(10);
  await page.page.evaluate(() => window.addEventListener('keydown', event => {
    setTimeout(() => { window.escape_prevented = event.defaultPrevented; });
  }, {once: true}));
  await page.page.keyboard.press('Escape');
  await page.frames(2);
  assert.equal(await page.page.evaluate(() => window.escape_prevented), false, 'the page leaves Escape alone');
  const frames_before = page.console.filter(({text}) => /^\[\d/.test(text)).length;
  await page.frames(10);
  assert.ok(page.console.filter(({text}) => /^\[\d/.test(text)).length > frames_before,
            'the showcase still runs its frames (its cord prints a line a frame)');
  assert.deepEqual(faults(page), []);
  await page.page.close();
});

test('without WebGL the page says so in plain words', async () => {
  const no_webgl = await launch(['--disable-webgl', '--disable-3d-apis']);
  try {
    const page = await no_webgl.newPage();
    const errors = [];
    page.on('pageerror', error => errors.push(error.message));
    await page.goto(`http://127.0.0.1:${server.address().port}/grains_a.html`);
    await page.waitForFunction(() => document.getElementById('status').textContent !== '');
    assert.match(await page.$eval('#status', status => status.textContent), /draws with WebGL, which this browser/);
    assert.equal(await page.$eval('canvas', canvas => canvas.hidden), true);
    assert.deepEqual(errors, []);
  } finally {
    await no_webgl.close();
  }
});

test('opened as a file the page says to serve it', async () => {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', error => errors.push(error.message));
  await page.goto('file://' + path.join(web_build, 'grains_b.html'));
  assert.match(await page.$eval('#status', status => status.textContent), /from a web server: run scripts\/web.sh --serve/);
  assert.deepEqual(errors, []);
  await page.close();
});
