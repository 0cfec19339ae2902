// Headless Chromium driven over the DevTools protocol with node 20's
// WebSocket (node --experimental-websocket): one page, its console kept.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { constants, tmpdir } from 'node:os';
import { join } from 'node:path';

// `options` may add command-line switches (extraArguments).
export async function openChromium(browser, { extraArguments = [] } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'curdovar-chromium-'));
  const chromium = spawn(browser, ['--no-sandbox', '--disable-gpu', '--mute-audio',
    '--remote-debugging-port=0', '--remote-debugging-address=127.0.0.1',
    '--window-size=1024,768', `--user-data-dir=${profile}`, ...extraArguments, 'about:blank'],
    // A group of its own, so that closing ends its helper processes too.
    { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
  let socket = null;
  let closed = false;
  const close = () => {
    if (closed) return;
    closed = true;
    try { if (socket) socket.close(); } catch (e) { /* closed already */ }
    try { process.kill(-chromium.pid, 'SIGKILL'); } catch (e) { /* gone already */ }
    try { rmSync(profile, { recursive: true, force: true }); } catch (e) { /* left for tmp */ }
  };
  // However the driver ends (a throw, ctest's timeout), the browser goes with it.
  process.on('exit', close);
  for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) {
    process.on(signal, () => { close(); process.exit(128 + constants.signals[signal]); });
  }
  try {
    const browserUrl = await new Promise((resolve, reject) => {
      let text = '';
      chromium.stderr.on('data', (chunk) => {
        text += chunk;
        const found = text.match(/DevTools listening on (ws:\/\/\S+)/);
        if (found) resolve(found[1]);
      });
      chromium.on('exit', (code) => reject(new Error(`${browser} exited (${code})`)));
      chromium.on('error', reject);
    });
    // The page's own target, reached through the browser's list of targets.
    const port = new URL(browserUrl).port;
    const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
    const page = targets.find((t) => t.type === 'page');
    if (!page) throw new Error('no page target');
    socket = new WebSocket(page.webSocketDebuggerUrl);
    await new Promise((resolve) => socket.addEventListener('open', resolve));
  } catch (e) {
    close();
    throw e;
  }

  let nextId = 1;
  const pending = new Map();
  const consoleLines = [];
  // Set when the page's process died (out of memory, say) or the browser went:
  // every request from then on fails with it instead of waiting forever.
  let lost = null;
  const loseWith = (reason) => {
    lost = lost ?? new Error(reason);
    for (const { reject } of pending.values()) reject(lost);
    pending.clear();
  };
  socket.addEventListener('close', () => loseWith('the browser closed its connection'));
  const listeners = [];  // for events a driver follows itself (the network's, say)
  socket.addEventListener('message', (event) => {
    const message = JSON.parse(event.data);
    if (message.method) for (const listener of listeners) listener(message);
    if (message.id && pending.has(message.id)) {
      const { resolve, reject } = pending.get(message.id);
      pending.delete(message.id);
      if (message.error) reject(new Error(JSON.stringify(message.error)));
      else resolve(message.result);
    } else if (message.method === 'Runtime.consoleAPICalled') {
      consoleLines.push(message.params.args.map((a) => a.value ?? a.description).join(' '));
    } else if (message.method === 'Inspector.targetCrashed') {
      loseWith('the page crashed');
    } else if (message.method === 'Runtime.exceptionThrown') {
      consoleLines.push('exception: ' + message.params.exceptionDetails.text + ' ' +
        (message.params.exceptionDetails.exception?.description ?? ''));
    }
  });
  const send = (method, params = {}) => {
    if (lost) return Promise.reject(lost);
    const id = nextId++;
    socket.send(JSON.stringify({ id, method, params }));
    return new Promise((resolve, reject) => pending.set(id, { resolve, reject }));
  };
  const evaluate = async (expression) => {
    const result = await send('Runtime.evaluate', { expression, returnByValue: true });
    if (result.exceptionDetails) {
      throw new Error(result.exceptionDetails.exception?.description ?? result.exceptionDetails.text);
    }
    return result.result.value;
  };
  // For an expression that gives a promise: its value once settled.
  const evaluateAsync = async (expression) => {
    const result = await send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (result.exceptionDetails) throw new Error(result.exceptionDetails.text);
    return result.result.value;
  };
  await send('Runtime.enable');
  await send('Page.enable');
  await send('Inspector.enable');
  const addListener = (listener) => listeners.push(listener);
  return { send, evaluate, evaluateAsync, consoleLines, close, addListener, lost: () => lost };
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
