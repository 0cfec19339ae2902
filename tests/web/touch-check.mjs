// The page on a phone held sideways (844x390, touch, Chromium's touch
// emulation): the on-screen buttons show beside the whole picture, none of
// them over it; holding Right walks the hero through the menu into the first
// level; there, Right held alone stops at the first step, and Right held
// while another finger taps Jump climbs it. Screenshots in SHOTS_DIR.
//
//   node --experimental-websocket touch-check.mjs URL BROWSER SHOTS_DIR
import { mkdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { openChromium, sleep } from './chromium.mjs';
import { canvasFingerprint, untilFirstFrame, waitFor } from './game-page.mjs';

const [url, browser, shots] = process.argv.slice(2);
if (!url || !browser || !shots) {
  console.error('usage: touch-check.mjs URL BROWSER SHOTS_DIR');
  process.exit(2);
}
mkdirSync(shots, { recursive: true });
const phone = { width: 844, height: 390 };

let chromium = null;
function fail(message) {
  console.error('FAIL: ' + message);
  if (chromium) console.error(chromium.consoleLines.slice(-10).join('\n'));
  process.exit(1);
}
setTimeout(() => fail('no verdict within 120 s'), 120000);
chromium = await openChromium(browser).catch((e) => fail(e.message));
const { send, evaluate, consoleLines } = chromium;
await send('Emulation.setDeviceMetricsOverride', { ...phone, deviceScaleFactor: 1, mobile: true,
  screenWidth: phone.width, screenHeight: phone.height });
await send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });

const shoot = async (name) => writeFileSync(join(shots, name + '.png'),
  Buffer.from((await send('Page.captureScreenshot', { format: 'png' })).data, 'base64'));

await send('Page.navigate', { url });
await untilFirstFrame(evaluate, fail);
await sleep(1000);

// Where the picture and each button lie.
const layout = await evaluate(`(() => {
  const box = (e) => { const r = e.getBoundingClientRect(); return { x: r.left, y: r.top, w: r.width, h: r.height }; };
  const buttons = Array.from(document.querySelectorAll('#touch button'))
    .filter((b) => b.offsetParent !== null)
    .map((b) => ({ name: b.textContent, ...box(b) }));
  return { canvas: box(document.getElementById('canvas')), buttons };
})()`);
await shoot('phone-menu');
const { canvas, buttons } = layout;
console.log(`picture at ${Math.round(canvas.w)}x${Math.round(canvas.h)}+${Math.round(canvas.x)}+` +
  `${Math.round(canvas.y)}; buttons: ${buttons.map((b) => b.name).join(', ')}`);
for (const name of ['◀', '▶', 'Jump', 'Bomb', 'Hint', 'Explode', 'Pause']) {
  if (!buttons.some((b) => b.name === name)) fail(`no ${name} button on the touch screen`);
}
const overlaps = (a, b) => a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
for (const b of buttons) {
  if (overlaps(b, canvas)) fail(`the ${b.name} button lies over the picture`);
  if (b.x < 0 || b.y < 0 || b.x + b.w > phone.width || b.y + b.h > phone.height) fail(`the ${b.name} button is off the screen`);
}
if (canvas.x < 0 || canvas.y < 0 || canvas.x + canvas.w > phone.width + 0.5 || canvas.y + canvas.h > phone.height + 0.5) {
  fail('the picture does not fit the screen');
}

// Fingers: each touch point by number, held where its button is.
const centre = (name) => {
  const b = buttons.find((x) => x.name === name);
  return { x: b.x + b.w / 2, y: b.y + b.h / 2 };
};
const fingers = new Map();
async function touch(type, id, name) {
  if (type === 'touchEnd') fingers.delete(id); else fingers.set(id, { ...centre(name), id });
  await send('Input.dispatchTouchEvent', { type, touchPoints: [...fingers.values()] });
}
const fingerprint = () => evaluate(canvasFingerprint);
async function settled() {
  let before = await fingerprint();
  for (let i = 0; i < 30; ++i) {
    await sleep(200);
    const now = await fingerprint();
    if (now === before) return now;
    before = now;
  }
  fail('the picture never settled');
}

// Through the menu: Right held walks the hero to the menu's goal.
await touch('touchStart', 0, '▶');
await waitFor('holding Right did not walk the hero into the first level',
  async () => consoleLines.some((line) => line.includes('Name: First Steps')), 15000, fail);
await touch('touchEnd', 0);
await sleep(1500);  // the first level loads and its hero lands
await shoot('phone-level1');

// The first step: Right alone walks into it and stops.
await touch('touchStart', 0, '▶');
await sleep(3000);
await touch('touchEnd', 0);
const stopped = await settled();
await touch('touchStart', 0, '▶');
await sleep(1000);
await touch('touchEnd', 0);
if ((await settled()) !== stopped) fail('Right alone got past the first step: the test has no step to climb');
console.log('Right alone stops at the first step');

// Right held, and a second finger taps Jump.
await touch('touchStart', 0, '▶');
await sleep(200);
await touch('touchStart', 1, 'Jump');
await sleep(150);
await touch('touchEnd', 1);
await sleep(1500);
await touch('touchEnd', 0);
const climbed = await settled();
await shoot('phone-climbed');
if (climbed === stopped) fail('holding Right and tapping Jump did not climb the first step');
console.log('holding Right and tapping Jump climbs the first step');
console.log('PASS');
chromium.close();
process.exit(0);
