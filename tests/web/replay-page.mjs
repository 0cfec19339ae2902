// Runs the web build's replay player (replay.html) in headless Chromium and
// prints what it printed, exiting with its status: the browser's side of the
// native and web trace comparison.
//
//   node --experimental-websocket replay-page.mjs BASE_URL BROWSER ARGUMENT...
//   e.g. ... http://127.0.0.1:8000/ chromium-headless-shell --trace tests/replays/level01-16.replay
import { openChromium, sleep } from './chromium.mjs';

const [base, browser, ...args] = process.argv.slice(2);
if (!base || !browser || args.length === 0) {
  console.error('usage: replay-page.mjs BASE_URL BROWSER ARGUMENT...');
  process.exit(2);
}
const chromium = await openChromium(browser).catch((e) => {
  console.error(e.message);
  process.exit(2);
});
const limitMs = 300000;
await chromium.send('Page.navigate', { url: base + 'replay.html?' + encodeURIComponent(args.join(' ')) });
const started = Date.now();
let status = null;
while (Date.now() - started < limitMs) {
  status = await chromium.evaluate('typeof replayExit === "undefined" ? null : replayExit').catch(() => null);
  if (status !== null) break;
  await sleep(200);
}
const output = await chromium.evaluate('typeof replayOutput === "undefined" ? [] : replayOutput');
for (const line of output) console.log(line);
if (status === null) {
  console.error('the replay page did not finish within ' + limitMs / 1000 + ' s');
  for (const line of chromium.consoleLines) console.error(line);
  status = 2;
}
console.error(`replay page: exit status ${status} after ${Date.now() - started} ms`);
chromium.close();
process.exit(status);
