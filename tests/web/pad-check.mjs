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
const lookMs = 1500;  // a walk or a jump shows within this, on a busy machine too;
                      // 45 frames of running stay on the menu's upper floor
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

// Whether the change moves the picture that stands still without it. The
// change is let go as soon as the picture moves, or after `holdMs`: the hero
// runs half a tile a frame, and two seconds of it take him off the menu's
// upper floor and on into the options room, where Jump moves nothing. Then the
// picture is left to stand still again. Returns how long the change was held.
async function moves(what, press, release, holdMs) {
  const before = await fingerprint();
  await sleep(400);
  if ((await fingerprint()) !== before) fail('the menu does not stand still without input');
  await padSet(press);
  const pressed = Date.now();
  let moved = false;
  while (!moved && Date.now() - pressed < holdMs) {
    await sleep(30);
    moved = (await fingerprint()) !== before;
  }
  await padSet(release);
  const held = Date.now() - pressed;
  console.log(`${what}: ${moved ? 'the hero moved' : 'nothing moved'} (held ${held} ms)`);
  await waitFor('the picture did not come to rest after the pad let go', async () => {
    const now = await fingerprint();
    await sleep(400);
    return (await fingerprint()) === now;
  }, 10000, fail);
  return moved ? held : 0;
}

// Walking back left no longer than the walk right keeps the hero on the upper
// floor, away from the Continue door at its left end.
const walkedRight = await moves('stick right', 'pad.axes[0] = 1', 'pad.axes[0] = 0', lookMs);
if (!walkedRight) fail('the stick pushed right did not walk the hero');
if (!(await moves('d-pad left', `pad.buttons[${dpadLeft}] = { pressed: true, value: 1 }`,
  `pad.buttons[${dpadLeft}] = { pressed: false, value: 0 }`, walkedRight))) {
  fail('the d-pad held left did not walk the hero');
}
if (!(await moves('button 0 (Jump)', `pad.buttons[${jumpButton}] = { pressed: true, value: 1 }`,
  `pad.buttons[${jumpButton}] = { pressed: false, value: 0 }`, lookMs))) {
  fail('button 0, bound to Jump, did not make the hero jump');
}
console.log('PASS');
chromium.close();
process.exit(0);
