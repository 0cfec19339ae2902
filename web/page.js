// The page around the game: the picture fitted to the window, full screen
// kept in step with the game's own setting, and the list of controls.
var curdovarStage = document.getElementById('stage');
var curdovarCanvas = document.getElementById('canvas');
var curdovarBar = document.getElementById('bar');

// The largest whole scale the stage holds, pixel-sharp; below one, the whole
// picture made smaller rather than cut.
function curdovarFit() {
  var canvas = curdovarCanvas;
  document.documentElement.style.setProperty('--bar-height', curdovarBar.offsetHeight + 'px');
  if (!canvas.width || !canvas.height) return;
  var fit = Math.min(curdovarStage.clientWidth / canvas.width,
                     curdovarStage.clientHeight / canvas.height);
  var scale = fit >= 1 ? Math.floor(fit) : fit;
  var width = canvas.width * scale + 'px';
  var height = canvas.height * scale + 'px';
  // Set only when it changes: the canvas's style is watched (below).
  if (canvas.style.width !== width) canvas.style.width = width;
  if (canvas.style.height !== height) canvas.style.height = height;
}
window.addEventListener('resize', curdovarFit);

function curdovarRunning() {
  return typeof SDL !== 'undefined' && SDL.events && Module['calledRun'] &&
    !document.body.classList.contains('quit');
}

function curdovarGameFull() {
  return curdovarRunning() && _webFullScreen() === 1;
}

// The game's own F11, as if pressed: it switches full screen and remembers it.
function curdovarPressF11() {
  if (!curdovarRunning()) return;
  SDL.events.push({ type: 'keydown', keyCode: 122 }, { type: 'keyup', keyCode: 122 });
}

// The page fills the screen while the game is in full screen. Browsers allow
// that only just after a click or a key, so a full screen remembered from an
// earlier visit starts at the player's first click or key.
function curdovarFollowFullScreen() {
  var full = curdovarGameFull();
  if (full && !document.fullscreenElement && curdovarStage.requestFullscreen) {
    curdovarStage.requestFullscreen().catch(function () { /* waits for a click or a key */ });
  } else if (!full && document.fullscreenElement === curdovarStage) {
    document.exitFullscreen().catch(function () {});
  }
}
['keydown', 'mousedown', 'touchstart'].forEach(function (type) {
  window.addEventListener(type, function (event) {
    // F11 itself switches the game, and the page follows the game.
    if (event.keyCode !== 122) curdovarFollowFullScreen();
  }, true);
});
document.addEventListener('fullscreenchange', function () {
  // The browser left full screen (Escape, its own controls): the game follows.
  if (!document.fullscreenElement && curdovarGameFull()) curdovarPressF11();
  curdovarFit();
});
// The page's full-screen buttons: what F11 does, asked of the browser at once
// while the click still allows it.
function curdovarToggleFullScreen() {
  if (!curdovarGameFull() && curdovarStage.requestFullscreen) {
    curdovarStage.requestFullscreen().catch(function () {});
  }
  curdovarPressF11();
  curdovarCanvas.focus();
}
document.getElementById('full-button').addEventListener('click', curdovarToggleFullScreen);

// The game sets the canvas's size when it opens its window or goes full
// screen; the emulation then also drops the canvas's displayed size, even
// when the size stays (full screen on a screen no larger than the picture).
new MutationObserver(function () {
  curdovarFit();
  curdovarFollowFullScreen();
}).observe(curdovarCanvas, { attributes: true, attributeFilter: ['width', 'height', 'style'] });

// The controls the page lists, the one place that says them: each entry an
// action and the keys for it, in the order shown. The six actions take their
// keys from the game's bindings as they stand (the controls menu may change
// them); a fixed key that works beside a binding joins that action's keys
// here. The rest are the game's own fixed keys.
function curdovarControlList() {
  var list = [];
  for (var action = 0; action < 6; ++action) {
    var key = _webBinding(action);
    var keys = key ? [curdovarKeyName(key)] : [];
    for (var n = 0, fixed; (fixed = _webFixedKey(action, n)); ++n) keys.push(curdovarKeyName(fixed));
    list.push({ action: UTF8ToString(_webActionName(action)),
                keys: keys.length ? keys : ['none'] });
  }
  list[5].action += ' (hold)';
  return list.concat([
    { action: 'Pause', keys: ['p'] },
    { action: 'Music', keys: ['m'] },
    { action: 'Skip a level', keys: ['4'] },
    { action: 'Full screen', keys: ['F11'] },
    { action: 'Quit', keys: ['Escape'] },
  ]);
}

// The controls menu's name for a key; the keypad's "[4]" said in words.
function curdovarKeyName(key) {
  return UTF8ToString(_webKeyName(key)).replace(/^\[(.)\]$/, 'keypad $1');
}

function curdovarShowControls() {
  if (!curdovarRunning()) return;
  var escape = function (text) { return text.replace(/&/g, '&amp;').replace(/</g, '&lt;'); };
  var html = curdovarControlList().map(function (entry) {
    var keys = entry.keys.map(function (key) { return '<kbd>' + escape(key) + '</kbd>'; });
    return '<span><b>' + escape(entry.action) + '</b> ' + keys.join(' or ') + '</span>';
  }).join('');
  var shown = document.getElementById('controls');
  if (shown.innerHTML !== html) {
    shown.innerHTML = html;
    curdovarFit();
  }
}
// Once the first frame is up and the larger text sizes have come (which the
// worker then finds in the browser's cache rather than fetching them again),
// a service worker keeps the page and its data, so that the game plays
// without the network from the next visit on.
if ('serviceWorker' in navigator) {
  curdovarWhenLateFilesDone(function () {
    navigator.serviceWorker.register('service-worker.js').catch(function (e) {
      err('No play without the network: ' + e);
    });
  });
}

Module['postRun'] = Module['postRun'] || [];
Module['postRun'].push(function () {
  curdovarShowControls();
  setInterval(curdovarShowControls, 1000);
});
curdovarFit();
