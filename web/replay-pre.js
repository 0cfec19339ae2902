// The replay page: its arguments come from the address after '?', its output
// and exit status are kept for whoever drives the page.
var replayOutput = [];
var replayExit = null;
Module['arguments'] = decodeURIComponent(location.search.slice(1)).split(' ').filter(Boolean);
Module['print'] = function (line) { replayOutput.push(line); };
Module['printErr'] = function (line) { replayOutput.push('stderr: ' + line); };
// Preloading a sound as an audio element holds the page's exit back for ten
// seconds (a fallback for browsers that never say the sound can play); the
// sounds are decoded when the game loads them instead.
Module['noAudioDecoding'] = true;
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdir('/game');
  FS.chdir('/game');
});
Module['onExit'] = function (status) { replayExit = status; };
