// Runs before the game in the page: the working folder, the saved files in
// the browser's storage (IDBFS) and the sound's start on the first gesture.
var curdovarSaved = ['Check.ckp', 'data/preferences/prefs.cdv',
                     'data/preferences/window-and-pad.cdv'];
// Preloading the sounds as audio elements would hold the quitting page back
// for ten seconds after the load (a fallback for browsers that never say a
// sound can play); the game's loads decode them instead.
Module['noAudioDecoding'] = true;
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdir('/game');
  FS.mkdir('/game/data');
  FS.mkdir('/game/data/preferences');
  FS.chdir('/game');
  FS.mkdir('/save');
  FS.mount(IDBFS, {}, '/save');
  addRunDependency('curdovar-restore');
  FS.syncfs(true, function () {
    curdovarSaved.forEach(function (name) {
      var kept = '/save/' + name.replace(/\//g, '_');
      try { FS.writeFile('/game/' + name, FS.readFile(kept)); } catch (e) { /* none saved */ }
    });
    removeRunDependency('curdovar-restore');
  });
});

// The game writes its files in /game; what changed goes to the storage.
function curdovarStore() {
  var changed = false;
  curdovarSaved.forEach(function (name) {
    var now;
    try { now = FS.readFile('/game/' + name); } catch (e) { return; }
    var kept = '/save/' + name.replace(/\//g, '_');
    var before = null;
    try { before = FS.readFile(kept); } catch (e) { /* first save */ }
    if (before && before.length === now.length && before.every(function (b, i) { return b === now[i]; })) return;
    FS.writeFile(kept, now);
    changed = true;
  });
  if (changed) FS.syncfs(false, function () {});
}
Module['postRun'] = Module['postRun'] || [];
Module['postRun'].push(function () { setInterval(curdovarStore, 1000); });
window.addEventListener('pagehide', function () { try { curdovarStore(); } catch (e) {} });

// Browsers hold sound back until the player clicks or presses a key.
function curdovarStartSound() {
  if (typeof SDL !== 'undefined' && SDL.audioContext && SDL.audioContext.state === 'suspended') {
    SDL.audioContext.resume();
  }
  var note = document.getElementById('sound-note');
  if (note) note.style.display = 'none';
}
window.addEventListener('keydown', curdovarStartSound, true);
window.addEventListener('mousedown', curdovarStartSound, true);

Module['onExit'] = function () {
  try { curdovarStore(); } catch (e) {}
  document.body.classList.add('quit');
};
