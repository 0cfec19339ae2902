// What the page fetches after its first frame instead of before it: the
// glyph sheet's larger sizes, and each music track when a level first asks
// for it. Neither is needed to show the menu, so the player sees it sooner.

// Tasks held until the game has drawn its first frame. The game sizes the
// canvas when it opens its window and draws the first frame before it first
// yields to the browser, which is when the page hears of the new size.
var curdovarShown = false;
var curdovarAfterShown = [];
function curdovarWhenShown(task) {
  if (curdovarShown) setTimeout(task, 0);
  else curdovarAfterShown.push(task);
}
new MutationObserver(function (changes, observer) {
  observer.disconnect();
  curdovarShown = true;
  curdovarAfterShown.splice(0).forEach(function (task) { setTimeout(task, 0); });
}).observe(document.getElementById('canvas'), { attributes: true,
                                                 attributeFilter: ['width', 'height'] });

// Files of the game's folder that lie beside the page, compressed, and come
// after the first frame; the game waits for one it needs sooner.
var curdovarLateFiles = {
  'data/fonts/VeraMono.ttf.glyphs-more': 'VeraMono.glyphs-more.gz',
};
var curdovarLateState = {};  // by path: 1 coming, 2 there, 0 failed
var curdovarLateFetches = {};  // by path: the fetch's promise, settled when it ends

function curdovarFetchLate(path) {
  if (path in curdovarLateState) return;
  var url = curdovarLateFiles[path];
  curdovarLateState[path] = 1;
  curdovarLateFetches[path] = fetch(url).then(function (response) {
    if (!response.ok) throw new Error('status ' + response.status);
    return new Response(response.body.pipeThrough(new DecompressionStream('gzip'))).arrayBuffer();
  }).then(function (bytes) {
    FS.writeFile('/game/' + path, new Uint8Array(bytes));
    curdovarLateState[path] = 2;
  }).catch(function (e) {
    err('Could not fetch ' + url + ': ' + e);
    curdovarLateState[path] = 0;
  });
}
curdovarWhenShown(function () { Object.keys(curdovarLateFiles).forEach(curdovarFetchLate); });

// Runs the task once every late file has come or failed.
function curdovarWhenLateFilesDone(task) {
  curdovarWhenShown(function () {
    Object.keys(curdovarLateFiles).forEach(curdovarFetchLate);
    var fetches = Object.keys(curdovarLateFiles).map(function (path) { return curdovarLateFetches[path]; });
    Promise.all(fetches).then(task);
  });
}

// Asked by the game for a file it needs now: 1 while it is coming, 2 once it
// is there, 0 when the page has no such file or could not fetch it.
function curdovarAwaitFile(path) {
  if (!(path in curdovarLateFiles)) return 0;
  curdovarFetchLate(path);
  return curdovarLateState[path];
}

// A track the game loads, data/sound/music/NAME.flac, as the emulation's
// music number: music/NAME.opus, fetched and decoded once the first frame is
// up, and played from then on wherever the game asked for it; 0 for a track
// the page does not have.
var curdovarDecodedMusic = {};  // by address: a promise of the decoded track
function curdovarLoadMusic(file) {
  var found = /^(?:\.\/)?data\/sound\/music\/([^\/]+)\.flac$/.exec(file);
  if (!found || curdovarMusicTracks.indexOf(found[1]) < 0) return 0;
  var url = 'music/' + found[1] + '.opus';
  var entry = { source: url };
  if (SDL.webAudioAvailable()) {
    // The emulation plays a track whose decoding is under way once it is done.
    entry.webAudio = { onDecodeComplete: [] };
    curdovarWhenShown(function () {
      if (!curdovarDecodedMusic[url]) {
        curdovarDecodedMusic[url] = fetch(url).then(function (response) {
          if (!response.ok) throw new Error('status ' + response.status);
          return response.arrayBuffer();
        }).then(function (bytes) {
          return new Promise(function (resolve, reject) {
            SDL.audioContext.decodeAudioData(bytes, resolve, reject);
          });
        });
      }
      curdovarDecodedMusic[url].then(function (decoded) {
        entry.webAudio.decodedBuffer = decoded;
        var waiting = entry.webAudio.onDecodeComplete;
        entry.webAudio.onDecodeComplete = undefined;
        waiting.forEach(function (play) { play(); });
      }).catch(function (e) { err('Could not play ' + url + ': ' + e); });
    });
  } else {
    entry.audio = new Audio();
    curdovarWhenShown(function () { entry.audio.src = url; });
  }
  SDL.audios.push(entry);
  return SDL.audios.length - 1;
}
