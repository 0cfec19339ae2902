// Opens the served web build in headless Chromium over the DevTools protocol,
// waits for the game's first frames, saves a screenshot and checks it shows
// the menu level: its sky fills the page's canvas and the status text breaks
// it where the menu writes it. Optionally holds a key and checks the picture
// changes.
//
//   node --experimental-websocket page-check.mjs URL BROWSER SCREENSHOT.png
//
// Also writes SCREENSHOT-after-d.png, the page after holding d.
//
// Needs node 20's WebSocket; nothing else is used.
import { mkdirSync, writeFileSync } from 'node:fs';
import { dirname } from 'node:path';
import { openChromium, sleep } from './chromium.mjs';
import { firstFrameDrawn, keys, pressKey } from './game-page.mjs';
import { decodePng } from './png.mjs';

const [url, browser, shotPath] = process.argv.slice(2);
if (!url || !browser || !shotPath) {
  console.error('usage: page-check.mjs URL BROWSER SCREENSHOT.png');
  process.exit(2);
}

// The menu's backdrop (the title's pale sky, or the plain sky of a menu
// without a look) is light all over; the status text is black.
const lightest = 3 * 150;  // least channel sum of a backdrop pixel
const loadLimitMs = 60000;
const firstFrameBudgetMs = 3000;  // after the page's load, a player waits no longer

function fail(message) {
  console.error('FAIL: ' + message);
  cleanup();
  process.exit(1);
}

let chromium = null;
function cleanup() {
  if (chromium) chromium.close();
}
const overall = setTimeout(() => fail('no verdict within 120 s'), 120000);
chromium = await openChromium(browser).catch((e) => fail(e.message));
const { send, evaluate, consoleLines } = chromium;

const started = Date.now();
await send('Page.navigate', { url });

// The first frame: the game sized the canvas and drew its top right corner.
let firstFrameMs = -1;  // from navigation
let afterLoadMs = -1;   // from the page's load event
while (Date.now() - started < loadLimitMs) {
  const drawn = await evaluate(firstFrameDrawn);
  if (drawn) {
    firstFrameMs = Math.round(drawn);
    const loadedAt = await evaluate('performance.timing.loadEventEnd - performance.timing.navigationStart');
    afterLoadMs = loadedAt > 0 ? Math.max(0, firstFrameMs - loadedAt) : firstFrameMs;
    break;
  }
  if (await evaluate("document.body.classList.contains('quit')")) {
    fail('the game ended before drawing\n' + consoleLines.join('\n'));
  }
  await sleep(100);
}
if (firstFrameMs < 0) fail('no frame within ' + loadLimitMs / 1000 + ' s\n' + consoleLines.join('\n'));
await sleep(1500);  // a few frames on, the menu's status text is up

// A screenshot, as the player sees it, decoded to RGB.
async function screenshot() {
  const { data } = await send('Page.captureScreenshot', { format: 'png' });
  return Buffer.from(data, 'base64');
}
const png = await screenshot();
mkdirSync(dirname(shotPath), { recursive: true });
writeFileSync(shotPath, png);
const shot = decodePng(png);
const box = await evaluate(`(() => {
  const r = document.getElementById('canvas').getBoundingClientRect();
  return { x: Math.round(r.left), y: Math.round(r.top), w: Math.round(r.width),
           h: Math.round(r.height), cw: document.getElementById('canvas').width,
           ch: document.getElementById('canvas').height, dpr: window.devicePixelRatio };
})()`);
console.log(`canvas ${box.cw}x${box.ch} shown at ${box.w}x${box.h}+${box.x}+${box.y}; ` +
  `first frame within ${firstFrameMs} ms of navigation, ${afterLoadMs} ms of the page's load ` +
  '(polled every 100 ms)');
if (box.dpr !== 1) fail('device pixel ratio ' + box.dpr);
if (afterLoadMs > firstFrameBudgetMs) {
  fail(`the first frame came ${afterLoadMs} ms after the page's load, over ${firstFrameBudgetMs} ms`);
}

function pixel(x, y) {
  const i = (y * shot.width + x) * 3;
  return [shot.rgb[i], shot.rgb[i + 1], shot.rgb[i + 2]];
}
const isSky = (p) => p[0] + p[1] + p[2] >= lightest;
// Counts sky (light backdrop) and other pixels in a rectangle of the canvas, in canvas pixels.
function census(shot, left, top, right, bottom) {
  let sky = 0, other = 0;
  for (let cy = top; cy < bottom; ++cy)
    for (let cx = left; cx < right; ++cx) {
      const x = box.x + Math.floor((cx + 0.5) * box.w / box.cw);
      const y = box.y + Math.floor((cy + 0.5) * box.h / box.ch);
      const i = (y * shot.width + x) * 3;
      if (isSky([shot.rgb[i], shot.rgb[i + 1], shot.rgb[i + 2]])) ++sky; else ++other;
    }
  return { sky, other };
}
// The menu writes its three status lines (lives, form, status) at the top
// left over open sky; the same band further right (right of the title's
// name) is sky alone.
const whole = census(shot, 0, 0, box.cw, box.ch);
const statusText = census(shot, 0, 0, box.cw / 5, box.ch / 10);
const besideText = census(shot, box.cw / 2, 0, box.cw, box.ch / 10);
console.log(`menu sky ${whole.sky} of ${whole.sky + whole.other} canvas pixels; ` +
  `status text ${statusText.other} pixels not sky, ${besideText.other} beside it`);
if (whole.sky < (whole.sky + whole.other) / 4) {
  fail('the menu\'s sky is missing\n' + consoleLines.join('\n'));
}
if (statusText.other < 100) fail('no status text at the top left of the menu');
if (besideText.other !== 0) fail('the sky beside the status text is not clear');

// Holding d walks the hero right along the menu's top row.
const heroRow = (s) => {
  const cells = [];
  for (let cx = 0; cx < box.cw; ++cx) {
    const c = census(s, cx, box.ch / 5, cx + 1, box.ch / 5 + 32);
    cells.push(c.other);
  }
  return cells;
};
const before = heroRow(shot);
await pressKey(send, keys.d, 'down');
await sleep(1000);
await pressKey(send, keys.d, 'up');
await sleep(300);
const afterPng = await screenshot();
writeFileSync(shotPath.replace(/\.png$/, '') + '-after-d.png', afterPng);
const afterRow = heroRow(decodePng(afterPng));
const moved = before.filter((v, i) => v !== afterRow[i]).length;
console.log(`holding d changed ${moved} columns of the hero's row`);
if (moved === 0) fail('holding d did not move the hero\n' + consoleLines.join('\n'));

clearTimeout(overall);
console.log('PASS');
cleanup();
process.exit(0);
