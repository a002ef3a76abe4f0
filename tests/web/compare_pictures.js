// Every picture of the image bank (the catalogue's, its sheet's cells, and
// every picture file of grfx/), in a page and in a desktop window: the
// tests' bank_report program lists the surfaces the bank holds (size,
// bytes a pixel, pitch, masks, alpha and key, palette, a digest of the
// pixels), which must be the same lines in both, and draws them all, each
// fitted into a 64-pixel square, which must show the same colours on
// llvmpipe and softpipe (frame_compare.js; the GLs' linear filtering of the
// pictures shrunk into their squares may round a few levels apart).
//   node compare_pictures.js WEB_BUILD BANK_REPORT
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {run_check} = require('./pages');
const {LivePage, keep_drawing_buffer} = require('./live_page');
const {png_frame, compare, describe} = require('./frame_compare');

const [web_build, desktop_program] = process.argv.slice(2).map(file => path.resolve(file));
const SOURCE = path.resolve(__dirname, '..', '..');
// Pixels more than two levels off, where the shrunk pictures' filtering
// rounds apart (57 seen).
const MOST_BEYOND_TWO_LEVELS = 150;

// The desktop's report lines and frame on Mesa's driver, run in a folder of
// its own (the lister writes there).
function desktop_report(driver) {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'grains-pictures-'));
  try {
    const folder = fs.mkdtempSync(path.join(out, 'run-'));
    fs.symlinkSync(path.join(SOURCE, 'grfx'), path.join(folder, 'grfx'));
    execFileSync(path.join(SOURCE, 'tests', 'with_xvfb.sh'),
                 [path.join(__dirname, 'desktop_window.sh'), folder, out, desktop_program, '--'],
                 {env: {...process.env, GALLIUM_DRIVER: driver}, stdio: ['ignore', 'ignore', 'inherit']});
    const output = fs.readFileSync(path.join(out, 'output.txt'), 'utf8').split('\n');
    return {lines: report_lines(output), pushed: pushed_event_polled(output), frame: png_frame(path.join(out, '0.png'))};
  } finally {
    fs.rmSync(out, {recursive: true});
  }
}

// The picture lines of a run's output, up to END, and whether the event the
// program pushed came back.
function report_lines(lines) {
  const end = lines.indexOf('END');
  if (end < 0) throw new Error('the report never ended');
  return lines.slice(0, end).filter(line => / \d+x\d+ bytes=/.test(line));
}
const pushed_event_polled = lines => lines.includes('pushed event polled');

async function page_report(browser, server) {
  const page = await LivePage.open(browser, server, 'bank_report', {setup: keep_drawing_buffer});
  try {
    for (let tries = 0; tries < 100 && !page.console.some(({text}) => text === 'END'); ++tries) await page.frames(5);
    await page.frames(10);
    const frame = await page.canvas_frame();
    if (page.errors.length > 0) throw new Error(`page errors: ${page.errors.join('; ')}`);
    const output = page.console.map(({text}) => text);
    return {lines: report_lines(output), pushed: pushed_event_polled(output), frame};
  } finally {
    await page.page.close();
  }
}

run_check(web_build, async (browser, server) => {
  let failed = false;
  const page = await page_report(browser, server);
  for (const driver of ['llvmpipe', 'softpipe']) {
    const desktop = desktop_report(driver);
    const differing = desktop.lines.filter((line, i) => page.lines[i] !== line);
    console.log(`bank_report on ${driver}: ${desktop.lines.length} pictures on the desktop, ${page.lines.length} in ` +
                `the page, ${differing.length} described otherwise`);
    for (const line of differing.slice(0, 5))
      console.log(`  desktop: ${line}\n  page:    ${page.lines[desktop.lines.indexOf(line)]}`);
    const found = compare(page.frame, desktop.frame);
    console.log(`  every picture drawn: ${describe(found)}`);
    console.log(`  the event the program pushed came back: desktop ${desktop.pushed}, page ${page.pushed}`);
    failed = failed || !desktop.pushed || !page.pushed || differing.length > 0 ||
             page.lines.length !== desktop.lines.length || desktop.lines.length < 49 || found.far > 0 ||
             found.beyond_two > MOST_BEYOND_TWO_LEVELS;
  }
  return failed;
});
