// The page's session: fast drags on a page running on its own frames,
// downloaded with "Download session", replay with grains_sim to the very
// canvas shown when it was downloaded; a session file opened with "Open
// session" plays from frame 0 as grains_sim replays it, the player's input
// ignored while it plays; a bad file is said and changes nothing.
//   node session_test.js WEB_BUILD GRAINS_SIM
'use strict';
const assert = require('node:assert/strict');
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {after, before, test} = require('node:test');
const {serve, launch, SteppedPage, read_events, as_the_desktop_gives, pixels_of_gl_frame} = require('./pages');
const {LivePage, keep_drawing_buffer, session_events, png_pixels, sleep} = require('./live_page');

const [web_build, grains_sim] = process.argv.slice(2);
let server, browser, folder;
before(async () => {
  server = await serve(path.resolve(web_build));
  browser = await launch();
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'grains-session-'));
});
after(async () => {
  await browser.close();
  server.close();
  fs.rmSync(folder, {recursive: true});
});

// grains_sim's last frame for a session file.
function replayed(program, session_file) {
  const png = path.join(folder, 'replay.png');
  execFileSync(grains_sim, [program, '--events', session_file, '--png', png]);
  return png_pixels(png);
}

function differing_pixels(a, b) {
  assert.equal(a.length, b.length);
  return a.reduce((count, pixel, i) => count + (pixel !== b[i]), 0);
}

// A drag of `moves` moves 8 px apart, `apart` ms apart (0: sent at once).
async function drag(page, box, button, from, moves, apart) {
  await page.mouse('move', from, 'none', box);
  await page.mouse('press', from, button, box);
  const sent = [];
  for (let i = 1; i <= moves; ++i) {
    sent.push(page.mouse('move', {x: from.x + 8 * i, y: from.y + 2 * i}, 'none', box));
    if (apart > 0) await sleep(apart);
  }
  await Promise.all(sent);
  await page.mouse('release', {x: from.x + 8 * moves, y: from.y + 2 * moves}, button, box);
}

// Waits for the file to be downloaded into folder.
async function downloaded(file) {
  for (let waited = 0; waited < 10000; waited += 50) {
    if (fs.existsSync(file)) return fs.readFileSync(file, 'utf8');
    await sleep(50);
  }
  throw new Error(`${file} was not downloaded`);
}

test('fast drags, downloaded, replay with grains_sim to the canvas shown at the download', async () => {
  const page = await LivePage.open(browser, server, 'grains_c', {setup: keep_drawing_buffer});
  await page.cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: folder});
  const box = await page.box();
  await drag(page, box, 'right', {x: 40, y: 300}, 60, 8);
  await drag(page, box, 'left', {x: 100, y: 120}, 40, 0);
  await drag(page, box, 'middle', {x: 60, y: 300}, 30, 8);
  await page.frames(10);
  await page.page.$eval('#download', button => button.addEventListener('click', () => {
    const gl = document.getElementById('canvas').getContext('webgl');
    window.shown = new Uint8Array(1024 * 768 * 4);
    gl.readPixels(0, 0, 1024, 768, gl.RGBA, gl.UNSIGNED_BYTE, window.shown);
  }));
  await page.page.click('#download');
  const text = await downloaded(path.join(folder, 'grains_c-session.txt'));
  const shown = pixels_of_gl_frame(await page.page.evaluate(() => Array.from(window.shown)));

  assert.match(text, /\n# frames \d+\n$/);
  const events = session_events(text);
  for (const [button, moves] of [[3, 60], [1, 40], [2, 30]]) {
    const press = events.findIndex(line => new RegExp(` down \\d+ \\d+ ${button}$`).test(line));
    assert.equal(events.slice(press + 1, press + 1 + moves).filter(line => line.includes(' motion ')).length, moves,
                 `every move of button ${button}`);
  }
  assert.match(await page.status(), /^Downloaded grains_c-session.txt, \d+ frames/);
  const session_file = path.join(folder, 'grains_c-session.txt');
  assert.equal(differing_pixels(shown, replayed('grains_c', session_file)), 0);
  assert.ok(shown.some(pixel => pixel === 0xffffff), 'walls painted');
  await page.page.close();
});

test('an opened session plays from frame 0 as grains_sim replays it', async () => {
  // A session in the desktop's format: the ?step comparison's input for
  // grains_a as a desktop window hands it over, 260 frames.
  const events = as_the_desktop_gives(read_events(path.join(__dirname, 'grains_a.events')));
  const session_file = path.join(folder, 'desktop-session.txt');
  fs.writeFileSync(session_file, events.filter(event => event.frame < 260).map(event => event.text + '\n').join('') +
                   '# frames 260\n');
  const page = await SteppedPage.open(browser, server, 'grains_a', () => {});
  // What came before is forgotten: grains, walls and the random draws.
  for (const event of [{kind: 'motion', x: 300, y: 200}, {kind: 'down', x: 300, y: 200, button: 3},
                       {kind: 'motion', x: 360, y: 220}, {kind: 'up', x: 360, y: 220, button: 3}]) {
    await page.send(event);
    await page.step(5);
  }
  await (await page.page.$('#open')).uploadFile(session_file);
  await page.page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Playing'));
  await page.step(259);
  const shown = await page.last_frame();
  assert.equal(differing_pixels(shown, replayed('grains_a', session_file)), 0);
  const recorded = await page.recording();
  assert.deepEqual(session_events(recorded), session_events(fs.readFileSync(session_file, 'utf8')),
                   'the recording starts again with the session');
  assert.match(recorded, /\n# frames 260\n$/);
  await page.page.close();
});

test('while a session plays the player\'s input is ignored; then the program goes on', async () => {
  const session = ['10 motion 100 500', '10 down 100 500 3', '11 motion 120 500', '12 motion 140 500',
                   '13 up 140 500 3'];
  const session_file = path.join(folder, 'short.txt');
  fs.writeFileSync(session_file, session.join('\n') + '\n# frames 150\n');
  const page = await LivePage.open(browser, server, 'grains_b');
  await (await page.page.$('#open')).uploadFile(session_file);
  await page.page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Playing'));
  const box = await page.box();
  await drag(page, box, 'right', {x: 300, y: 100}, 10, 0);
  assert.ok(await page.page.evaluate(() => Module._grains_playback_frames_left()) > 0, 'the drag came while it played');
  await page.page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Played'));
  await drag(page, box, 'right', {x: 300, y: 100}, 2, 0);
  await page.frames(3);

  const events = session_events(await page.session());
  assert.deepEqual(events.slice(0, session.length), session);
  assert.deepEqual(events.slice(session.length).map(line => line.slice(line.indexOf(' ') + 1)),
                   ['motion 300 100', 'down 300 100 3', 'motion 308 102', 'motion 316 104', 'up 316 104 3']);
  assert.ok(events.slice(session.length).every(line => Number(line.split(' ')[0]) >= 150), 'after the session');
  assert.deepEqual(page.d_lines(), ['D 120 500', 'D 140 500', 'D 308 102', 'D 316 104']);
  await page.page.close();
});

test('a session that ends with a button held lets it go, so the player\'s pointer paints nothing unpressed', async () => {
  const session_file = path.join(folder, 'held.txt');
  fs.writeFileSync(session_file, '5 motion 100 500\n5 down 100 500 3\n6 motion 120 500\n# frames 20\n');
  const page = await LivePage.open(browser, server, 'grains_b');
  await (await page.page.$('#open')).uploadFile(session_file);
  await page.page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Played'));
  const box = await page.box();
  for (let x = 300; x <= 340; x += 10) await page.mouse('move', {x, y: 100}, 'none', box);
  await page.frames(3);
  const events = session_events(await page.session());
  assert.deepEqual(events.slice(0, 4), ['5 motion 100 500', '5 down 100 500 3', '6 motion 120 500', '20 up 120 500 3']);
  assert.deepEqual(page.d_lines(), ['D 120 500'], 'no wall painted by the unpressed pointer');
  await page.page.close();
});

test('a session file that cannot be played is said, and the program runs on', async () => {
  const page = await LivePage.open(browser, server, 'grains_d');
  const bad = path.join(folder, 'bad.txt');
  fs.writeFileSync(bad, '0 motion 1 2\n0 jump 1 2\n');
  await (await page.page.$('#open')).uploadFile(bad);
  await page.page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Cannot'));
  assert.equal(await page.status(), 'Cannot play bad.txt: line 2: malformed event: 0 jump 1 2');
  const frames = async () => Number(/# frames (\d+)/.exec(await page.session())[1]);
  const before = await frames();
  await page.frames(5);
  assert.ok(await frames() > before);
  assert.deepEqual(page.errors, []);
  await page.page.close();
});
