// The options and controls menus in the page, opened from the given menu
// level (written into the page's files before the game starts) as a player
// opens them, compared pixel for pixel with the native game's pictures
// SHOTS_DIR/options-native.ppm and controls-native.ppm. Writes the page's
// pictures and the differing pixels beside them. The labels' soft edges,
// text blended straight onto the screen, come one level apart (the canvas
// rounds its blend its own way): at most 0.5 % of the pixels may differ, and
// none by more than one level.
//
//   node --experimental-websocket menus-check.mjs URL BROWSER LEVEL SHOTS_DIR
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { openChromium, sleep } from './chromium.mjs';
import { pressKey, untilFirstFrame, waitFor } from './game-page.mjs';
import { decodePpm, encodePng } from './png.mjs';

const [url, browser, levelPath, shots] = process.argv.slice(2);
if (!url || !browser || !levelPath || !shots) {
  console.error('usage: menus-check.mjs URL BROWSER LEVEL SHOTS_DIR');
  process.exit(2);
}
const keyA = { key: 'a', code: 'KeyA', keyCode: 65, text: 'a' };
const keyD = { key: 'd', code: 'KeyD', keyCode: 68, text: 'd' };
const keyX = { key: 'x', code: 'KeyX', keyCode: 88, text: 'x' };

let chromium = null;
function fail(message) {
  console.error('FAIL: ' + message);
  if (chromium) console.error(chromium.consoleLines.slice(-10).join('\n'));
  process.exit(1);
}
setTimeout(() => fail('no verdict within 100 s'), 100000);
chromium = await openChromium(browser).catch((e) => fail(e.message));
const { send, evaluate } = chromium;

// The level goes into the game's files once the page's data is in place and
// before the game starts, by way of the page's own Module object.
const level = readFileSync(levelPath, 'latin1');
await send('Page.addScriptToEvaluateOnNewDocument', { source: `(() => {
  let module;
  Object.defineProperty(window, 'Module', { configurable: true, get() { return module; },
    set(m) {
      module = m;
      const ready = m.onRuntimeInitialized;
      if (ready && ready.testLevel) return;
      m.onRuntimeInitialized = function () {
        // The packed file is read-only: a new one takes its place.
        FS.unlink('/game/data/levels/menu.lvl');
        FS.writeFile('/game/data/levels/menu.lvl', ${JSON.stringify(level)});
        if (ready) ready.apply(this, arguments);
      };
      m.onRuntimeInitialized.testLevel = true;
    } });
})()` });
await send('Page.navigate', { url });
await untilFirstFrame(evaluate, fail);
await sleep(1000);  // the hero has landed

const pixelIsBlack = () => evaluate(`(() => {
  const p = document.getElementById('canvas').getContext('2d').getImageData(600, 400, 1, 1).data;
  return p[0] === 0 && p[1] === 0 && p[2] === 0;
})()`);
const until = (what, test) => waitFor(what, test, 10000, fail);
// Holds the key until the menu opens, however slowly the machine plays.
async function walkInto(key, menu) {
  await pressKey(send, key, 'down');
  await until(`the ${menu} menu did not open on black`, pixelIsBlack);
  await pressKey(send, key, 'up');
}
const canvasPicture = () => evaluate(`(() => {
  const c = document.getElementById('canvas');
  const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
  let rgb = '';
  for (let i = 0; i < data.length; i += 4) rgb += String.fromCharCode(data[i], data[i + 1], data[i + 2]);
  return { width: c.width, height: c.height, rgb: btoa(rgb) };
})()`);

// Compares the page's picture with the native one; writes both and the
// differing pixels (white) side by side.
async function compare(name) {
  await sleep(300);
  const shown = await canvasPicture();
  const web = { width: shown.width, height: shown.height, rgb: Buffer.from(shown.rgb, 'base64') };
  const native = decodePpm(readFileSync(join(shots, name + '-native.ppm')));
  if (web.width !== native.width || web.height !== native.height) {
    fail(`${name}: the page's picture is ${web.width}x${web.height}, the native ${native.width}x${native.height}`);
  }
  const w = web.width, h = web.height;
  const side = { width: 3 * w, height: h, rgb: Buffer.alloc(9 * w * h) };
  let differing = 0;
  let most = 0;  // the largest difference in one channel
  for (let y = 0; y < h; ++y)
    for (let x = 0; x < w; ++x) {
      const i = 3 * (y * w + x);
      const same = web.rgb[i] === native.rgb[i] && web.rgb[i + 1] === native.rgb[i + 1] &&
        web.rgb[i + 2] === native.rgb[i + 2];
      if (!same) ++differing;
      for (let c = 0; c < 3; ++c) {
        most = Math.max(most, Math.abs(web.rgb[i + c] - native.rgb[i + c]));
        side.rgb[3 * (y * 3 * w + x) + c] = native.rgb[i + c];
        side.rgb[3 * (y * 3 * w + w + x) + c] = web.rgb[i + c];
        side.rgb[3 * (y * 3 * w + 2 * w + x) + c] = same ? 0 : 255;
      }
    }
  writeFileSync(join(shots, name + '-native-web-diff.png'), encodePng(side));
  console.log(`${name} menu: ${differing} of ${w * h} pixels differ from native, ` +
    `by at most ${most} levels`);
  if (differing > w * h * 0.005 || most > 1) {
    fail(`${name}: the page's menu differs from native in ${differing} pixels, by up to ${most} levels`);
  }
}

await walkInto(keyD, 'options');
await compare('options');
await pressKey(send, keyX);
await until('the menu level did not come back', async () => !(await pixelIsBlack()));
await sleep(1000);
await walkInto(keyA, 'controls');
await compare('controls');
console.log('PASS');
chromium.close();
process.exit(0);
