// The page without the network, in headless Chromium: after one visit, with
// its service worker's copy of every file in place, the server is stopped
// (SERVER_PID) and a reload plays the menu and the first level, music
// included. The browser finds the page installable (no installability
// errors: manifest, icons, service worker).
//
//   SERVER_PID=PID node --experimental-websocket offline-check.mjs URL BROWSER WEB_DIR
import { readdirSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { openChromium, sleep } from './chromium.mjs';
import { canvasFingerprint, keys, pressKey, untilFirstFrame, waitFor } from './game-page.mjs';

const [url, browser, webDir] = process.argv.slice(2);
const serverPid = Number(process.env.SERVER_PID);
if (!url || !browser || !webDir || !serverPid) {
  console.error('usage: SERVER_PID=PID offline-check.mjs URL BROWSER WEB_DIR');
  process.exit(2);
}

let chromium = null;
function fail(message) {
  console.error('FAIL: ' + message);
  if (chromium) console.error(chromium.consoleLines.slice(-10).join('\n'));
  process.exit(1);
}
setTimeout(() => fail('no verdict within 120 s'), 120000);
chromium = await openChromium(browser).catch((e) => fail(e.message));
const { send, evaluate, evaluateAsync } = chromium;

const firstFrame = () => untilFirstFrame(evaluate, fail);

// Every file of the page, as the worker keeps it.
const files = [];
const walk = (dir, prefix) => {
  for (const name of readdirSync(dir)) {
    if (statSync(join(dir, name)).isDirectory()) walk(join(dir, name), prefix + name + '/');
    else if (name !== 'service-worker.js') files.push(prefix + name);
  }
};
walk(webDir, '');

await send('Page.navigate', { url });
await firstFrame();
const keptCount = `(async () => {
  let count = 0;
  for (const name of await caches.keys()) count += (await (await caches.open(name)).keys()).length;
  return count;
})()`;
// Each file once, and the page's own address.
await waitFor(`the service worker did not keep the page's ${files.length} files`,
  async () => (await evaluateAsync(keptCount)) >= files.length + 1, 60000, fail);
await waitFor('the service worker did not take the page over',
  () => evaluate('!!navigator.serviceWorker.controller'), 10000, fail);
console.log(`the service worker keeps ${await evaluateAsync(keptCount)} entries for ${files.length} files`);

const { installabilityErrors } = await send('Page.getInstallabilityErrors');
if (installabilityErrors.length) {
  fail('not installable: ' + installabilityErrors.map((e) => e.errorId).join(', '));
}
console.log('installable: no installability errors');

process.kill(serverPid);
await sleep(300);
if (await fetch(url).then(() => true, () => false)) fail('the server still answers');
console.log('server stopped');

await send('Page.reload', { ignoreCache: false });
await firstFrame();
await sleep(1000);
const still = await evaluate(canvasFingerprint);
await pressKey(send, keys.d, 'down');
await sleep(500);
await pressKey(send, keys.d, 'up');
if ((await evaluate(canvasFingerprint)) === still) fail('offline, holding d did not move the hero');
await pressKey(send, keys.four);
await waitFor('offline, the first level did not start',
  () => evaluate(`(() => { const a = SDL.music.audio;
    return !!(a && a.resource && a.resource.webAudio && a.resource.webAudio.decodedBuffer); })()`),
  10000, fail);
console.log('offline: the menu plays, and the first level with its music');
console.log('PASS');
chromium.close();
process.exit(0);
