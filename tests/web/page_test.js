// Each page explains itself and loads without a console error; without
// WebGL, or opened as a file, it says in plain words why the program
// cannot run.
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
  grains_b: {tools: ['walls', 'nothing'], says: /Right drag: red walls/},
  grains_c: {tools: ['grains', 'walls', 'eraser'], says: /middle drag: eraser/},
  grains_d: {tools: ['walls', 'nothing'], says: /only the top-left 161x161 pixels paint/},
};
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
// GL emulation say about calls they do not have.
const faults = page => page.console.filter(({type, text}) => type === 'error' || /WebGL|TODO/.test(text))
  .map(({type, text}) => `${type}: ${text}`).concat(page.errors);

test('each page names its program, says what the buttons and tools do, links back, and loads cleanly', async () => {
  for (const [program, {tools, says}] of Object.entries(PROGRAMS)) {
    const page = await LivePage.open(browser, server, program);
    await page.frames(10);
    assert.equal(await page.page.title(), program);
    assert.match(await page.page.$eval('#help', help => help.textContent), says, program);
    assert.equal(await page.page.$eval('a', link => link.getAttribute('href')), 'index.html');
    assert.deepEqual(await page.page.$$eval('input[name=tool]', choices => choices.map(choice => choice.value)), tools);
    assert.equal(await page.page.$eval('#controls', controls => controls.hidden), false, 'the session\'s controls');
    assert.deepEqual(faults(page), [], program);
    await page.page.close();
  }
  const index = await browser.newPage();
  const messages = [];
  index.on('console', message => messages.push(message.type() + ': ' + message.text()));
  await index.goto(`http://127.0.0.1:${server.address().port}/`);
  assert.deepEqual(await index.$$eval('a', links => links.map(link => link.getAttribute('href'))),
                   Object.keys(PROGRAMS).map(program => `${program}.html`));
  assert.deepEqual(messages, []);
  await index.close();
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
