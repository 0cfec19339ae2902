// What the drivers of the game's page share: when the first frame is up, the
// keys they press, and a fingerprint of the picture.

// In the page: performance.now() once the game has drawn into its canvas,
// false before (until the game opens its window the canvas keeps the
// browser's 300x150).
export const firstFrameDrawn = `(() => {
  const c = document.getElementById('canvas');
  if (typeof Module === 'undefined' || !Module.calledRun) return false;
  if (!c || (c.width === 300 && c.height === 150)) return false;
  const corner = c.getContext('2d').getImageData(c.width - 1, 0, 1, 1).data;
  return corner[3] > 0 ? performance.now() : false;
})()`;

// In the page: a number that changes when any pixel of the canvas does.
export const canvasFingerprint = `(() => {
  const c = document.getElementById('canvas');
  const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
  let h = 0;
  for (let i = 0; i < data.length; ++i) h = (Math.imul(h, 31) + data[i]) | 0;
  return h;
})()`;

// Polls the async `test` every tenth of a second until it holds; after
// `limitMs`, fail(what). A test that throws (a page still loading) counts as false.
export async function waitFor(what, test, limitMs, fail) {
  const from = Date.now();
  while (!(await test().catch(() => false))) {
    if (Date.now() - from > limitMs) fail(what);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

// Until the game has drawn its first frame into the page; when, in ms after navigation.
export async function untilFirstFrame(evaluate, fail, limitMs = 60000) {
  let drawn = false;
  await waitFor(`no frame within ${limitMs / 1000} s`, async () => (drawn = await evaluate(firstFrameDrawn)),
    limitMs, fail);
  return drawn;
}

// Keys as the browser reports them (DOM key, code and key code).
export const keys = {
  d: { key: 'd', code: 'KeyD', keyCode: 68, text: 'd' },
  four: { key: '4', code: 'Digit4', keyCode: 52, text: '4' },
  numpad4: { key: '4', code: 'Numpad4', keyCode: 100, text: '4', location: 3 },
  numpad5: { key: '5', code: 'Numpad5', keyCode: 101, text: '5', location: 3 },
  arrowUp: { key: 'ArrowUp', code: 'ArrowUp', keyCode: 38 },
  space: { key: ' ', code: 'Space', keyCode: 32, text: ' ' },
  escape: { key: 'Escape', code: 'Escape', keyCode: 27 },
};

// Presses (or with `type`, only pushes or lets go of) a key of `keys`.
export async function pressKey(send, k, type = 'both') {
  const event = (t) => send('Input.dispatchKeyEvent', {
    type: t, key: k.key, code: k.code, windowsVirtualKeyCode: k.keyCode,
    nativeVirtualKeyCode: k.keyCode, location: k.location ?? 0,
    text: t === 'keyDown' ? k.text : undefined,
  });
  if (type !== 'up') await event('keyDown');
  if (type !== 'down') await event('keyUp');
}
