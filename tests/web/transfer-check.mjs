// What the page costs to open, from Chromium's own network log, served from
// 127.0.0.1 with a cold cache: the bytes on the wire before the first frame
// (at most 3 MB), in all once the first level has started and the page has
// settled (at most 10 MB), and the time from navigation to the first frame
// (at most 1.5 s). Nothing fetched before the first frame may be music or the
// glyph sheet's larger sizes, which come after it; the first level's music
// comes when it starts. Every file the page can ever fetch (WEB_DIR) is at
// most 10 MB as well.
//
//   node --experimental-websocket transfer-check.mjs URL BROWSER WEB_DIR
import { readdirSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { openChromium, sleep } from './chromium.mjs';
import { firstFrameDrawn, keys, pressKey } from './game-page.mjs';

const [url, browser, webDir] = process.argv.slice(2);
if (!url || !browser || !webDir) {
  console.error('usage: transfer-check.mjs URL BROWSER WEB_DIR');
  process.exit(2);
}
const MB = 1e6;
const beforeFirstFrameLimit = 3 * MB;
const wholeLimit = 10 * MB;
const firstFrameLimitMs = 1500;
const settledMs = 3000;  // no request in flight for this long: the page has settled

let chromium = null;
function fail(message) {
  console.error('FAIL: ' + message);
  if (chromium) console.error(chromium.consoleLines.slice(-10).join('\n'));
  process.exit(1);
}
setTimeout(() => fail('no verdict within 100 s'), 100000);
chromium = await openChromium(browser).catch((e) => fail(e.message));
const { send, evaluate } = chromium;

// The network log, kept per request.
const requests = new Map();
let clockOffsetMs = null;  // wall time less the log's own clock
let lastActivity = Date.now();
const socketEvents = [];
const listen = (method, handler) => socketEvents.push([method, handler]);
listen('Network.requestWillBeSent', (p) => {
  if (clockOffsetMs === null) clockOffsetMs = p.wallTime * 1000 - p.timestamp * 1000;
  requests.set(p.requestId, { url: p.request.url, start: p.timestamp * 1000, chunks: [], end: null, bytes: 0 });
});
listen('Network.dataReceived', (p) => {
  const r = requests.get(p.requestId);
  if (r) r.chunks.push([p.timestamp * 1000, p.encodedDataLength]);
});
listen('Network.loadingFinished', (p) => {
  const r = requests.get(p.requestId);
  if (r) { r.end = p.timestamp * 1000; r.bytes = p.encodedDataLength; }
});
listen('Network.loadingFailed', (p) => {
  const r = requests.get(p.requestId);
  if (r) { r.end = p.timestamp * 1000; r.failed = p.errorText; }
});
chromium.addListener((message) => {
  for (const [method, handler] of socketEvents) {
    if (message.method === method) { lastActivity = Date.now(); handler(message.params); }
  }
});
await send('Network.enable');
await send('Network.setCacheDisabled', { cacheDisabled: true });

await send('Page.navigate', { url });
let firstFrameMs = null;  // from navigation, in the page's clock
while (firstFrameMs === null) {
  const drawn = await evaluate(firstFrameDrawn).catch(() => false);
  if (drawn) firstFrameMs = drawn;
  else await sleep(10);
  if (performance.now() > 60000) fail('no frame');
}
const originMs = await evaluate('performance.timeOrigin');
const firstFrameAt = originMs + firstFrameMs - clockOffsetMs;  // in the log's clock

await sleep(1000);
await pressKey(send, keys.four);  // to the first level, which has music
lastActivity = Date.now();
while (Date.now() - lastActivity < settledMs ||
       [...requests.values()].some((r) => r.end === null)) {
  await sleep(200);
}

const path = (r) => new URL(r.url).pathname;
let before = 0, whole = 0;
const early = [];
for (const r of requests.values()) {
  if (!/^https?:/.test(r.url)) continue;  // pictures the page decodes from its own data
  if (r.failed) fail(`${path(r)} failed: ${r.failed}`);
  whole += r.bytes;
  if (r.start > firstFrameAt) continue;
  early.push(path(r));
  before += r.end <= firstFrameAt ? r.bytes
    : r.chunks.filter(([t]) => t <= firstFrameAt).reduce((sum, [, n]) => sum + n, 0);
}
let folder = 0;
const walk = (dir) => {
  for (const name of readdirSync(dir)) {
    const file = join(dir, name);
    const s = statSync(file);
    if (s.isDirectory()) walk(file); else folder += s.size;
  }
};
walk(webDir);

const mb = (n) => (n / MB).toFixed(2) + ' MB';
console.log(`first frame ${Math.round(firstFrameMs)} ms after navigation; ` +
  `${mb(before)} on the wire before it (${early.join(' ')}), ${mb(whole)} in all ` +
  `(${early.length} requests before the first frame); every file the page can fetch: ${mb(folder)}`);
if (before > beforeFirstFrameLimit) fail(`${mb(before)} before the first frame, over ${mb(beforeFirstFrameLimit)}`);
if (whole > wholeLimit) fail(`${mb(whole)} in all, over ${mb(wholeLimit)}`);
if (folder > wholeLimit) fail(`the page's files are ${mb(folder)}, over ${mb(wholeLimit)}`);
if (firstFrameMs > firstFrameLimitMs) fail(`the first frame came ${Math.round(firstFrameMs)} ms after navigation`);
const late = early.filter((p) => /\/music\/|glyphs-more/.test(p));
if (late.length) fail('fetched before the first frame: ' + late.join(' '));
if (![...requests.values()].some((r) => /\/music\//.test(r.url))) fail('the first level\'s music was never fetched');
const track = await evaluate(`(() => {
  const playing = SDL.music.audio;
  const decoded = playing && playing.resource && playing.resource.webAudio.decodedBuffer;
  return decoded ? { source: playing.resource.source, seconds: decoded.duration } : null;
})()`);
if (!track) fail('the first level\'s music was fetched but is not playing');
console.log(`playing ${track.source}, ${track.seconds.toFixed(1)} s decoded`);
console.log('PASS');
chromium.close();
process.exit(0);
