// Runs the web build's replay player (replay.html) in headless Chromium and
// prints what it printed, exiting with its status: the browser's side of the
// native and web trace comparison.
//
//   node --experimental-websocket replay-page.mjs BASE_URL BROWSER ARGUMENT...
//   e.g. ... http://127.0.0.1:8000/ chromium-headless-shell --trace tests/replays/level01-16.replay
//
// Exit status 3 (lostPage) when the page crashed or the browser went before
// the replay player ended: no verdict either way.
// As a module, runReplayPage plays one run in a browser already open, so a
// test can play several in one browser.
import { pathToFileURL } from 'node:url';
import { openChromium, sleep } from './chromium.mjs';

// Plays the replay player with these arguments to its end: { status, output },
// output being the lines it printed (standard error's marked 'stderr: ').
// There is no time limit here: a slow machine only makes the run longer, and
// the test runner's own timeout ends a run that never finishes.
export async function runReplayPage(chromium, base, args) {
  const search = '?' + encodeURIComponent(args.join(' '));
  await chromium.send('Page.navigate', { url: base + 'replay.html' + search });
  // Only this run's page counts, not the one before it, which may linger a moment.
  const ours = `location.search === ${JSON.stringify(search)} && typeof replayExit !== "undefined"`;
  for (;;) {
    if (chromium.lost()) throw chromium.lost();
    // Both at once: the page sets ABORT on a crash, and also right after a clean exit.
    const [status, aborted] = await chromium.evaluate(`${ours} ? [replayExit, ABORT] : [null, false]`)
      .catch(() => [null, false]);  // between two pages, or the page lost: see above
    if (status !== null) return { status, output: await chromium.evaluate('replayOutput') };
    if (aborted) {
      const output = await chromium.evaluate('replayOutput');
      throw new Error('the replay page crashed:\n' +
        output.concat(chromium.consoleLines).slice(-20).join('\n'));
    }
    await sleep(100);
  }
}

// A file the replay player wrote, from the page's memory.
export async function readPageFile(chromium, path) {
  const base64 = await chromium.evaluate(`(() => {
    const bytes = FS.readFile(${JSON.stringify(path)});
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(text);
  })()`);
  return Buffer.from(base64, 'base64');
}

const lostPage = 3;

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [base, browser, ...args] = process.argv.slice(2);
  if (!base || !browser || args.length === 0) {
    console.error('usage: replay-page.mjs BASE_URL BROWSER ARGUMENT...');
    process.exit(2);
  }
  const chromium = await openChromium(browser).catch((e) => {
    console.error(e.message);
    process.exit(2);
  });
  const started = Date.now();
  const { status, output } = await runReplayPage(chromium, base, args).catch((e) => {
    console.error(e.message);
    process.exit(lostPage);
  });
  for (const line of output) console.log(line);
  console.error(`replay page: exit status ${status} after ${Date.now() - started} ms`);
  chromium.close();
  process.exit(status);
}
