// A player's session in the web build's page, in headless Chromium:
//  - the keypad's 4, the game's jump key unless rebound, and Space, a fixed
//    jump key, make the hero jump,
//    and a key bound to nothing leaves the picture still;
//  - 4 skips two levels, which saves the checkpoint; after a reload the game
//    finds it again in the browser's storage;
//  - Escape on the menu quits, and the page then says how to play again;
//  - the preferences the game wrote on quitting are read after a reload, and
//    with the up arrow bound to Jump there, the up arrow makes the hero jump
//    and the page's list of controls says so.
//
//   node --experimental-websocket session-check.mjs URL BROWSER
import { openChromium, sleep } from './chromium.mjs';
import { canvasFingerprint, firstFrameDrawn, keys, pressKey } from './game-page.mjs';

const [url, browser] = process.argv.slice(2);
if (!url || !browser) {
  console.error('usage: session-check.mjs URL BROWSER');
  process.exit(2);
}
const loadLimitMs = 60000;
const storeWaitMs = 1500;   // the page copies changed files to its storage every second
const lookMs = 1000;        // a jump rises and lands within this
const stillLookMs = 400;
// The browser build's number for the up arrow: its SDL headers give the keys
// without a character SDL 2's scancode plus 1 << 10.
const upArrowCode = 82 | 1 << 10;

let chromium = null;
function fail(message) {
  console.error('FAIL: ' + message);
  if (chromium) console.error(chromium.consoleLines.slice(-15).join('\n'));
  process.exit(1);
}
setTimeout(() => fail('no verdict within 150 s'), 150000);
chromium = await openChromium(browser).catch((e) => fail(e.message));
const { send, evaluate, consoleLines } = chromium;

async function openPage(how) {
  const from = consoleLines.length;
  await send(how === 'reload' ? 'Page.reload' : 'Page.navigate', how === 'reload' ? {} : { url });
  const started = Date.now();
  while (!(await evaluate(firstFrameDrawn).catch(() => false))) {
    if (Date.now() - started > loadLimitMs) fail('no frame after ' + how);
    await sleep(100);
  }
  await sleep(1000);  // the hero has landed on the menu's floor
  return () => consoleLines.slice(from);  // what the game printed since
}
const fingerprint = () => evaluate(canvasFingerprint);

// True when pressing the key changes the picture that stands still without it.
async function keyMovesHero(k) {
  const before = await fingerprint();
  await sleep(stillLookMs);
  if ((await fingerprint()) !== before) fail('the menu does not stand still without a key');
  await pressKey(send, k);
  const pressed = Date.now();
  let moved = false;
  while (!moved && Date.now() - pressed < lookMs) {
    await sleep(30);
    moved = (await fingerprint()) !== before;
  }
  await sleep(lookMs);  // down again
  return moved;
}

const said = (lines, text) => lines().some((line) => line.includes(text));

// Keys.
let printed = await openPage('navigate');
if (await keyMovesHero(keys.numpad5)) fail('the keypad 5, bound to nothing, moved the hero');
if (!(await keyMovesHero(keys.numpad4))) fail('the keypad 4 (Jump) did not move the hero');
// The keys a newcomer reaches for jump beside the binding.
if (!(await keyMovesHero(keys.space))) fail('Space, a fixed jump key, did not move the hero');
console.log('keypad 4 and Space jump; keypad 5 does nothing');

// The checkpoint over a reload.
await pressKey(send, keys.four);
await sleep(500);
await pressKey(send, keys.four);
await sleep(500);
if (!said(printed, 'Checkpoint saved: level 2')) fail('4 twice did not reach level 2');
await sleep(storeWaitMs);
printed = await openPage('reload');
const checkpoint = await evaluate(`(() => {
  try { return FS.readFile('/game/Check.ckp', { encoding: 'utf8' }); } catch (e) { return null; }
})()`);
if (!checkpoint || !checkpoint.startsWith('2\n')) {
  fail('after a reload the checkpoint is ' + JSON.stringify(checkpoint) + ', not level 2');
}
console.log('checkpoint after a reload: ' + JSON.stringify(checkpoint));

// Quitting.
await pressKey(send, keys.escape);
const quitStarted = Date.now();
while (!(await evaluate("document.body.classList.contains('quit')"))) {
  if (Date.now() - quitStarted > 5000) fail('Escape on the menu did not end the game');
  await sleep(100);
}
const note = await evaluate(`(() => {
  const n = document.getElementById('quit-note');
  return getComputedStyle(n).display === 'none' ? '' : n.innerText;
})()`);
if (!/play again/i.test(note)) fail('the page after quitting says: ' + JSON.stringify(note));
if (!said(printed, 'Exited cleanly')) fail('the game did not end cleanly');
console.log(`quit after ${Date.now() - quitStarted} ms; the page says: ${note.replace(/\s+/g, ' ')}`);

// The preferences written on quitting, read back after a reload, with Jump
// on the up arrow.
const prefs = await evaluate(`(() => {
  try { return FS.readFile('/save/data_preferences_prefs.cdv', { encoding: 'utf8' }); }
  catch (e) { return null; }
})()`);
if (!prefs) fail('quitting left no preferences in the storage');
const lines = prefs.split('\n');
const codes = lines[3].trim().split(/\s+/);
codes[0] = String(upArrowCode);
lines[3] = codes.join(' ') + ' ';
await evaluate(`(() => {
  FS.writeFile('/save/data_preferences_prefs.cdv', ${JSON.stringify(lines.join('\n'))});
  window.stored = false;
  FS.syncfs(false, () => { window.stored = true; });
})()`);
while (!(await evaluate('window.stored'))) await sleep(50);
printed = await openPage('reload');
if (!said(printed, 'Reading prefs from')) fail('after a reload the game found no preferences');
if (said(printed, 'is not a key')) fail('the stored key codes were refused');
if (await keyMovesHero(keys.numpad4)) fail('the keypad 4 still jumps with Jump on the up arrow');
if (!(await keyMovesHero(keys.arrowUp))) fail('the up arrow, bound to Jump, did not move the hero');
const jumpShown = await evaluate(`(() => {
  const entry = Array.from(document.querySelectorAll('#controls > span'))
    .find((s) => s.querySelector('b').textContent === 'Jump');
  return entry ? Array.from(entry.querySelectorAll('kbd')).map((k) => k.textContent) : null;
})()`);
if (!jumpShown || !jumpShown.includes('up')) {
  fail('the page\'s controls say Jump is ' + JSON.stringify(jumpShown) + ', not up');
}
console.log('preferences read after a reload; the up arrow bound to Jump jumps, and the page says so');

console.log('PASS');
chromium.close();
process.exit(0);
