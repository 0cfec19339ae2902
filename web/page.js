// The page around the game: the picture fitted to the window, and full
// screen kept in step with the game's own setting.
var curdovarStage = document.getElementById('stage');
var curdovarCanvas = document.getElementById('canvas');

// The largest whole scale the stage holds, pixel-sharp; below one, the whole
// picture made smaller rather than cut.
function curdovarFit() {
  var canvas = curdovarCanvas;
  if (!canvas.width || !canvas.height) return;
  var fit = Math.min(curdovarStage.clientWidth / canvas.width,
                     curdovarStage.clientHeight / canvas.height);
  var scale = fit >= 1 ? Math.floor(fit) : fit;
  canvas.style.width = canvas.width * scale + 'px';
  canvas.style.height = canvas.height * scale + 'px';
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
  } else if (!full && document.fullscreenElement) {
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

// The game sets the canvas's size when it opens its window or goes full screen.
new MutationObserver(function () {
  curdovarFit();
  curdovarFollowFullScreen();
}).observe(curdovarCanvas, { attributes: true, attributeFilter: ['width', 'height'] });
curdovarFit();
