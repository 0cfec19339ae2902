// The page's display in headless Chromium (a 1024x768 screen):
//  - the bar under the picture lists the controls with the keys bound now;
//  - F11 fills the screen with the whole picture, never a canvas smaller
//    than the picture, and a reload keeps full screen that way; F11 again
//    goes back to the window;
//  - a 500x400 window shows the whole picture, made smaller, clear of the bar,
//    and so does full screen on a 500x400 screen;
//  - the page's full-screen button fills the screen as F11 does.
// Screenshots go to SHOTS_DIR: window.png, full.png, full-reloaded.png, small.png,
// small-full.png, full-by-button.png.
//
//   node --experimental-websocket display-check.mjs URL BROWSER SHOTS_DIR
import { mkdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { openChromium, sleep } from './chromium.mjs';
import { pressKey, untilFirstFrame } from './game-page.mjs';
import { decodePng } from './png.mjs';

const [url, browser, shots] = process.argv.slice(2);
if (!url || !browser || !shots) {
  console.error('usage: display-check.mjs URL BROWSER SHOTS_DIR');
  process.exit(2);
}
mkdirSync(shots, { recursive: true });
const picture = { w: 640, h: 480 };
const menuSky = [31, 254, 247];
const storeWaitMs = 1500;  // the page copies changed files to its storage every second
const f11 = { key: 'F11', code: 'F11', keyCode: 122 };

let chromium = null;
function fail(message) {
  console.error('FAIL: ' + message);
  if (chromium) console.error(chromium.consoleLines.slice(-10).join('\n'));
  process.exit(1);
}
setTimeout(() => fail('no verdict within 150 s'), 150000);
chromium = await openChromium(browser).catch((e) => fail(e.message));
const { send, evaluate } = chromium;

async function openPage(how) {
  await send(how === 'reload' ? 'Page.reload' : 'Page.navigate', how === 'reload' ? {} : { url });
  await untilFirstFrame(evaluate, fail);
  await sleep(800);
}

// Where the canvas and the bar lie, in page pixels.
const layout = () => evaluate(`(() => {
  const c = document.getElementById('canvas');
  const r = c.getBoundingClientRect();
  const b = document.getElementById('bar');
  const bar = b ? b.getBoundingClientRect() : { top: innerHeight, height: 0 };
  return { cw: c.width, ch: c.height, x: r.left, y: r.top, w: r.width, h: r.height,
           barTop: bar.top, barShown: bar.height > 0 && getComputedStyle(b).display !== 'none',
           vw: innerWidth, vh: innerHeight, full: !!document.fullscreenElement };
})()`);

// The screenshot's share of menu sky inside and outside the canvas's box,
// and its whole count, to tell a whole picture from a crop.
async function shoot(name) {
  const { data } = await send('Page.captureScreenshot', { format: 'png' });
  const png = Buffer.from(data, 'base64');
  writeFileSync(join(shots, name + '.png'), png);
  return decodePng(png);
}
function skyCount(shot, box) {
  let inside = 0, outside = 0;
  for (let y = 0; y < shot.height; ++y)
    for (let x = 0; x < shot.width; ++x) {
      const i = (y * shot.width + x) * 3;
      const sky = shot.rgb[i] === menuSky[0] && shot.rgb[i + 1] === menuSky[1] && shot.rgb[i + 2] === menuSky[2];
      if (!sky) continue;
      const within = x >= box.x - 1 && x <= box.x + box.w && y >= box.y - 1 && y <= box.y + box.h;
      if (within) ++inside; else ++outside;
    }
  return { inside, outside };
}

// The whole picture shows: the canvas holds it, lies inside the page (and
// above the bar when there is one), keeps its shape, and the sky shows in the
// share of it that the menu's first screen has (a crop of a corner has less
// or more).
async function checkWhole(name, skyShare) {
  const l = await layout();
  const shot = await shoot(name);
  if (l.cw < picture.w || l.ch < picture.h) fail(`${name}: the canvas is ${l.cw}x${l.ch}, smaller than the picture`);
  const bottom = l.barShown && !l.full ? l.barTop : l.vh;
  if (l.x < -0.5 || l.y < -0.5 || l.x + l.w > l.vw + 0.5 || l.y + l.h > bottom + 0.5) {
    fail(`${name}: the canvas lies at ${l.w}x${l.h}+${l.x}+${l.y}, outside ${l.vw}x${bottom}`);
  }
  if (Math.abs(l.w / l.h - l.cw / l.ch) > 0.02) fail(`${name}: the canvas is out of shape`);
  const sky = skyCount(shot, l);
  const share = sky.inside / (l.w * l.h) * (l.cw * l.ch) / (picture.w * picture.h);
  console.log(`${name}: canvas ${l.cw}x${l.ch} shown at ${Math.round(l.w)}x${Math.round(l.h)}` +
    `+${Math.round(l.x)}+${Math.round(l.y)} in ${l.vw}x${l.vh}; full screen ${l.full}; ` +
    `sky ${(share * 100).toFixed(1)} % of the picture`);
  if (sky.outside > 0) fail(`${name}: ${sky.outside} sky pixels outside the canvas`);
  if (skyShare !== undefined && Math.abs(share - skyShare) > 0.03) {
    fail(`${name}: the sky is ${(share * 100).toFixed(1)} % of the picture, not ` +
      `${(skyShare * 100).toFixed(1)} %: not the whole picture`);
  }
  return share;
}

await openPage('navigate');
const windowed = await checkWhole('window');

await pressKey(send, f11);
await sleep(1000);
const full = await layout();
if (!full.full) fail('F11 did not fill the screen');
await checkWhole('full', windowed);
await sleep(storeWaitMs);
await openPage('reload');
await checkWhole('full-reloaded', windowed);
if (!(await evaluate('_webFullScreen()'))) fail('after a reload the game is no longer in full screen');
await pressKey(send, f11);  // also the first key since the reload
await sleep(1000);
const back = await layout();
if (back.full || back.cw !== picture.w || back.ch !== picture.h) {
  fail(`F11 did not go back to the window: canvas ${back.cw}x${back.ch}, full screen ${back.full}`);
}

await send('Emulation.setDeviceMetricsOverride', { width: 500, height: 400, deviceScaleFactor: 1,
  mobile: false, screenWidth: 500, screenHeight: 400 });
await sleep(800);
await checkWhole('small', windowed);
// Full screen on a screen smaller than the picture (a phone's) shows it whole too.
await openPage('reload');
await pressKey(send, f11);
await sleep(1000);
await checkWhole('small-full', windowed);
await pressKey(send, f11);
await sleep(1000);

// The list of controls, from the game's bindings: action and keys, each as shown.
const controls = await evaluate(`Array.from(document.querySelectorAll('#controls > span'))
  .map((s) => [s.querySelector('b').textContent, Array.from(s.querySelectorAll('kbd')).map((k) => k.textContent)])`)
  .catch(() => []);
console.log('controls: ' + controls.map(([action, keys]) => action + ' ' + keys.join('/')).join(', '));
for (const [action, key] of [['Jump', 'keypad 4'], ['Jump', 'space'], ['Left', 'a'], ['Right', 'd'], ['Query Hint', 'q'],
  ['Lay Bomb', 'e'], ['Explode All (hold)', 's'], ['Full screen', 'F11']]) {
  const shown = controls.find(([a]) => a === action);
  if (!shown || !shown[1].includes(key)) fail(`the page's controls do not say ${action} is ${key}`);
}

// The page's full-screen button does what F11 does.
await send('Emulation.clearDeviceMetricsOverride');
await sleep(800);
const button = await evaluate(`(() => {
  const b = document.getElementById('full-button');
  if (!b) return null;
  const r = b.getBoundingClientRect();
  return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
})()`);
if (!button) fail('the page has no full-screen button');
for (const type of ['mousePressed', 'mouseReleased']) {
  await send('Input.dispatchMouseEvent', { type, x: button.x, y: button.y, button: 'left', clickCount: 1 });
}
await sleep(1000);
const byButton = await layout();
if (!byButton.full || !(await evaluate('_webFullScreen()'))) fail('the full-screen button did not fill the screen');
await checkWhole('full-by-button', windowed);
await pressKey(send, f11);
await sleep(1000);
console.log('PASS');
chromium.close();
process.exit(0);
