// What the page costs to open, from Chromium's own network log (its NetLog,
// which also sees what the service worker fetches), served from 127.0.0.1 to
// a fresh profile with nothing cached:
//  - the bytes received before the first frame: at most 3 MB;
//  - the bytes received in all, once the first level's music plays and the
//    service worker keeps every file: at most 10 MB;
//  - the first frame within 1.5 s of navigation;
//  - nothing requested before the first frame is music or the glyph sheet's
//    larger sizes, which come after it.
//
//   node --experimental-websocket transfer-check.mjs URL BROWSER WEB_DIR
import { mkdtempSync, readdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { openChromium, sleep } from './chromium.mjs';
import { firstFrameDrawn, keys, pressKey, waitFor } from './game-page.mjs';

const [url, browser, webDir] = process.argv.slice(2);
if (!url || !browser || !webDir) {
  console.error('usage: transfer-check.mjs URL BROWSER WEB_DIR');
  process.exit(2);
}
const MB = 1e6;
const beforeFirstFrameLimit = 3 * MB;
const wholeLimit = 10 * MB;
const firstFrameLimitMs = 1500;

let chromium = null;
function fail(message) {
  console.error('FAIL: ' + message);
  if (chromium) console.error(chromium.consoleLines.slice(-10).join('\n'));
  process.exit(1);
}
setTimeout(() => fail('no verdict within 100 s'), 100000);
const logDir = mkdtempSync(join(tmpdir(), 'curdovar-netlog-'));
process.on('exit', () => rmSync(logDir, { recursive: true, force: true }));
const logFile = join(logDir, 'netlog.json');
chromium = await openChromium(browser, { extraArguments: [`--log-net-log=${logFile}`] })
  .catch((e) => fail(e.message));
const { send, evaluate, evaluateAsync } = chromium;

// Every file the page can fetch; the worker keeps each.
const files = [];
const walk = (dir) => {
  for (const name of readdirSync(dir)) {
    const file = join(dir, name);
    if (statSync(file).isDirectory()) walk(file); else files.push(statSync(file).size);
  }
};
walk(webDir);

await send('Page.navigate', { url });
let firstFrameMs = null;  // from navigation
while (firstFrameMs === null) {
  const drawn = await evaluate(firstFrameDrawn).catch(() => false);
  if (drawn) firstFrameMs = drawn;
  else await sleep(10);
}
const firstFrameAt = (await evaluate('performance.timeOrigin')) + firstFrameMs;  // ms since 1970

await sleep(1000);
await pressKey(send, keys.four);  // to the first level, which has music
await waitFor('the first level\'s music does not play', () => evaluate(`(() => {
  const a = SDL.music.audio;
  return !!(a && a.resource && a.resource.webAudio && a.resource.webAudio.decodedBuffer);
})()`), 30000, fail);
// Each file once, and the page's own address; a page without a worker (its
// keeping is web.offline's to check) is measured as it is.
const kept = () => evaluateAsync(`(async () => {
  let count = 0;
  for (const name of await caches.keys()) count += (await (await caches.open(name)).keys()).length;
  return count;
})()`);
for (const from = Date.now(); Date.now() - from < 30000 && (await kept()) < files.length;) await sleep(200);
await sleep(1000);
// The log is whole once the browser has closed.
await send('Browser.close').catch(() => {});
await waitFor('the network log was not finished', async () => {
  JSON.parse(readFileSync(logFile, 'utf8'));
  return true;
}, 10000, fail);
chromium.close();

const log = JSON.parse(readFileSync(logFile, 'utf8'));
const { timeTickOffset, logEventTypes } = log.constants;
const received = logEventTypes.SOCKET_BYTES_RECEIVED;
const started = logEventTypes.URL_REQUEST_START_JOB;
const at = (event) => Number(event.time) + Number(timeTickOffset);
let before = 0, whole = 0;
const early = [];
for (const event of log.events) {
  if (event.type === received) {
    const bytes = event.params?.byte_count ?? 0;
    whole += bytes;
    if (at(event) <= firstFrameAt) before += bytes;
  } else if (event.type === started && event.params?.url && at(event) <= firstFrameAt) {
    early.push(new URL(event.params.url).pathname);
  }
}
const folder = files.reduce((sum, size) => sum + size, 0);
const mb = (n) => (n / MB).toFixed(2) + ' MB';
console.log(`first frame ${Math.round(firstFrameMs)} ms after navigation; ${mb(before)} received ` +
  `before it (${early.join(' ')}), ${mb(whole)} in all; the page's files: ${mb(folder)}`);
if (before > beforeFirstFrameLimit) fail(`${mb(before)} before the first frame, over ${mb(beforeFirstFrameLimit)}`);
if (whole > wholeLimit) fail(`${mb(whole)} in all, over ${mb(wholeLimit)}`);
if (firstFrameMs > firstFrameLimitMs) fail(`the first frame came ${Math.round(firstFrameMs)} ms after navigation`);
const late = early.filter((p) => /\/music\/|glyphs-more/.test(p));
if (late.length) fail('requested before the first frame: ' + late.join(' '));
console.log('PASS');
process.exit(0);
