// A gamepad in the page, in headless Chromium: a pad that turns up after the
// game started (as browsers show pads: once a button is pressed) is opened,
// and its stick, d-pad and Jump button move the hero. The pad is a stand-in
// behind navigator.getGamepads, in the browser's standard layout.
//
//   node --experimental-websocket pad-check.mjs URL BROWSER
import { openChromium, sleep } from './chromium.mjs';
import { canvasFingerprint, untilFirstFrame, waitFor } from './game-page.mjs';

const [url, browser] = process.argv.slice(2);
if (!url || !browser) {
  console.error('usage: pad-check.mjs URL BROWSER');
  process.exit(2);
}
const lookMs = 2000;  // a walk or a jump shows within this, on a busy machine too
const jumpButton = 0;  // the default binding of Jump
const dpadLeft = 14;   // in the standard layout

let chromium = null;
function fail(message) {
  console.error('FAIL: ' + message);
  if (chromium) console.error(chromium.consoleLines.slice(-10).join('\n'));
  process.exit(1);
}
setTimeout(() => fail('no verdict within 100 s'), 100000);
chromium = await openChromium(browser).catch((e) => fail(e.message));
const { send, evaluate, consoleLines } = chromium;

await send('Page.navigate', { url });
await untilFirstFrame(evaluate, fail);
await sleep(1000);  // the hero has landed on the menu's floor

await evaluate(`(() => {
  window.testPad = { id: 'Test pad', index: 0, connected: true, mapping: 'standard',
    timestamp: 1, axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
  navigator.getGamepads = () => [window.testPad, null, null, null];
  window.dispatchEvent(new Event('gamepadconnected'));
})()`);
const padSet = (change) => evaluate(`(() => {
  const pad = window.testPad;
  ${change};
  pad.timestamp += 1;
})()`);
const fingerprint = () => evaluate(canvasFingerprint);

await waitFor('the pad connected after the start was not opened',
  async () => consoleLines.some((line) => line.startsWith('Gamepad: Test pad')), 3000, fail);
console.log('the pad connected after the start was opened');

// True when the change, held for a while, moves the picture that stands still without it.
async function moves(what, press, release) {
  const before = await fingerprint();
  await sleep(400);
  if ((await fingerprint()) !== before) fail('the menu does not stand still without input');
  await padSet(press);
  const pressed = Date.now();
  let moved = false;
  while (!moved && Date.now() - pressed < lookMs) {
    await sleep(30);
    moved = (await fingerprint()) !== before;
  }
  await sleep(Math.max(0, lookMs - (Date.now() - pressed)));
  await padSet(release);
  await sleep(lookMs);
  console.log(`${what}: ${moved ? 'the hero moved' : 'nothing moved'}`);
  return moved;
}

if (!(await moves('stick right', 'pad.axes[0] = 1', 'pad.axes[0] = 0'))) {
  fail('the stick pushed right did not walk the hero');
}
if (!(await moves('d-pad left', `pad.buttons[${dpadLeft}] = { pressed: true, value: 1 }`,
  `pad.buttons[${dpadLeft}] = { pressed: false, value: 0 }`))) {
  fail('the d-pad held left did not walk the hero');
}
if (!(await moves('button 0 (Jump)', `pad.buttons[${jumpButton}] = { pressed: true, value: 1 }`,
  `pad.buttons[${jumpButton}] = { pressed: false, value: 0 }`))) {
  fail('button 0, bound to Jump, did not make the hero jump');
}
console.log('PASS');
chromium.close();
process.exit(0);
