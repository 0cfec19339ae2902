// The first frames of each replay's level, native and in the web build's
// replay page, pixel for pixel: prints the share of pixels that differ and
// fails over the limit. The frames: the first drawn, the second (the camera
// has found the hero by then) and one three seconds in, when the creatures
// have moved. For each replay NAME and frame N it writes the native picture
// (curdovar-replay --picture) as OUT/NAME-fN-native.ppm, the page's as
// OUT/NAME-fN-web.ppm and, for people to look at, OUT/NAME-fN.png: native,
// web and the differing pixels in magenta, side by side.
//
//   node --experimental-websocket first-frames.mjs NATIVE_REPLAY_TOOL BASE_URL BROWSER OUT REPLAY...
import { execFileSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { basename, join } from 'node:path';
import { openChromium } from './chromium.mjs';
import { decodePpm, encodePng } from './png.mjs';
import { readPageFile, runReplayPage } from './replay-page.mjs';

const [nativeTool, base, browser, out, ...replays] = process.argv.slice(2);
if (!nativeTool || !base || !browser || !out || replays.length === 0) {
  console.error('usage: first-frames.mjs NATIVE_REPLAY_TOOL BASE_URL BROWSER OUT REPLAY...');
  process.exit(2);
}
const frames = [1, 2, 90];
const limitPercent = 0.5;      // of a picture's pixels that may differ
const fewestColours = 8;       // a level's picture has more; a blank one fails

function colourCount(picture) {
  const colours = new Set();
  for (let i = 0; i < picture.rgb.length; i += 3) colours.add(picture.rgb.readUIntBE(i, 3));
  return colours.size;
}

// Native, web and the differences side by side; the count of differing pixels
// and the largest difference of one channel.
function compare(native, web) {
  const { width, height } = native;
  const pair = { width: 3 * width, height, rgb: Buffer.alloc(9 * width * height) };
  let differing = 0, largest = 0;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const at = 3 * (y * width + x);
      const row = 3 * y * 3 * width;
      native.rgb.copy(pair.rgb, row + 3 * x, at, at + 3);
      web.rgb.copy(pair.rgb, row + 3 * (width + x), at, at + 3);
      let same = true;
      for (let c = 0; c < 3; ++c) {
        const d = Math.abs(native.rgb[at + c] - web.rgb[at + c]);
        largest = Math.max(largest, d);
        if (d) same = false;
      }
      const mark = row + 3 * (2 * width + x);
      if (same) {
        // The picture dimmed, so the differences stand out.
        for (let c = 0; c < 3; ++c) pair.rgb[mark + c] = native.rgb[at + c] >> 2;
      } else {
        ++differing;
        pair.rgb.set([255, 0, 255], mark);
      }
    }
  }
  return { pair, differing, largest };
}

const chromium = await openChromium(browser);
// Compares one frame's pictures; false when they are too far apart.
function judge(label, native, web, pngPath) {
  if (web.width !== native.width || web.height !== native.height) {
    console.log(`${label}: FAIL: web ${web.width}x${web.height}, native ${native.width}x${native.height}`);
    return false;
  }
  const { pair, differing, largest } = compare(native, web);
  writeFileSync(pngPath, encodePng(pair));
  const total = native.width * native.height;
  const percent = 100 * differing / total;
  const colours = colourCount(native);
  let verdict = 'ok';
  if (percent > limitPercent) verdict = `FAIL: over ${limitPercent} %`;
  else if (colours < fewestColours) verdict = `FAIL: only ${colours} colours, not a level's picture`;
  console.log(`${label}: ${native.width}x${native.height}, ${colours} colours; ${differing} of ` +
    `${total} pixels differ (${percent.toFixed(3)} %), by at most ${largest} in a channel: ${verdict}`);
  return verdict === 'ok';
}

let failed = false;
for (const replay of replays) {
  const name = basename(replay, '.replay');
  execFileSync(nativeTool, [...frames.flatMap((n) =>
    ['--picture', String(n), join(out, `${name}-f${n}-native.ppm`)]), replay]);
  const args = frames.flatMap((n) => ['--picture', String(n), `f${n}.ppm`]);
  const { status, output } = await runReplayPage(chromium, base, [...args, replay]);
  if (status !== 0) {
    console.log(`${name}: FAIL: the page drew no pictures (status ${status})\n` + output.join('\n'));
    failed = true;
    continue;
  }
  for (const n of frames) {
    const stem = join(out, `${name}-f${n}`);
    const native = decodePpm(readFileSync(stem + '-native.ppm'));
    const webPpm = await readPageFile(chromium, `f${n}.ppm`);
    writeFileSync(stem + '-web.ppm', webPpm);
    if (!judge(`${name} frame ${n}`, native, decodePpm(webPpm), stem + '.png')) failed = true;
  }
}
chromium.close();
process.exit(failed ? 1 : 0);
