// On-screen controls for touch screens: left and right, the four other
// actions, pause and full screen. Each button presses the key bound to its
// action now, as a keyboard would, so the game cannot tell them apart; each
// finger is followed on its own, so one can run while another jumps. The
// buttons sit beside the picture (the page keeps room for them), never on it.

// The browser's key number for an SDL key of the emulation's, which takes
// letters as their capitals and keys without a character through its table.
function curdovarDomKeyCode(sdlKey) {
  if (sdlKey >= 97 && sdlKey <= 122) return sdlKey - 32;
  for (var domKey in SDL.keyCodes) {
    if (SDL.keyCodes[domKey] === sdlKey) return Number(domKey);
  }
  return sdlKey > 0 && sdlKey < 128 ? sdlKey : 0;
}

function curdovarSendKey(sdlKey, down) {
  var keyCode = curdovarRunning() ? curdovarDomKeyCode(sdlKey) : 0;
  if (keyCode) SDL.events.push({ type: down ? 'keydown' : 'keyup', keyCode: keyCode });
}

var curdovarPauseKey = 112;  // p
function curdovarButtonKey(button) {
  var action = button.getAttribute('data-action');
  return action === 'pause' ? curdovarPauseKey : _webBinding(Number(action));
}

function curdovarShowTouch() {
  if (document.body.classList.contains('touch')) return;
  document.body.classList.add('touch');
  curdovarFit();
}

(function () {
  var layer = document.getElementById('touch');
  // The key each finger holds down, by the pointer's number.
  var held = {};
  function press(event) {
    var button = event.target.closest('[data-action]');
    if (!button) return;
    event.preventDefault();
    if (held[event.pointerId] !== undefined) return;
    var key = curdovarButtonKey(button);
    held[event.pointerId] = key;
    button.classList.add('down');
    curdovarSendKey(key, true);
    curdovarStartSound();
  }
  function release(event) {
    if (held[event.pointerId] === undefined) return;
    var button = event.target.closest('[data-action]');
    if (button) button.classList.remove('down');
    curdovarSendKey(held[event.pointerId], false);
    delete held[event.pointerId];
    // Browsers let sound start when a finger lifts, not when it lands.
    curdovarStartSound();
  }
  layer.addEventListener('pointerdown', press);
  ['pointerup', 'pointercancel'].forEach(function (type) { layer.addEventListener(type, release); });
  layer.addEventListener('contextmenu', function (event) { event.preventDefault(); });
  // The whole page, buttons and all, fills the screen; the game's own full
  // screen would size its picture to a phone's screen, smaller than the picture.
  document.getElementById('touch-full').addEventListener('click', function () {
    var done = function () {};
    if (document.fullscreenElement) document.exitFullscreen().catch(done);
    else if (document.documentElement.requestFullscreen) document.documentElement.requestFullscreen().catch(done);
  });

  // Shown on a touch screen from the start, and wherever a finger first
  // touches the page.
  if (window.matchMedia && matchMedia('(pointer: coarse)').matches) curdovarShowTouch();
  window.addEventListener('touchstart', curdovarShowTouch, { capture: true, passive: true });
})();
