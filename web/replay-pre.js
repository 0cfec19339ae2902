// The replay page: its arguments come from the address after '?', its output
// and exit status are kept for whoever drives the page.
var replayOutput = [];
var replayExit = null;
Module['arguments'] = decodeURIComponent(location.search.slice(1)).split(' ').filter(Boolean);
Module['print'] = function (line) { replayOutput.push(line); };
Module['printErr'] = function (line) { replayOutput.push('stderr: ' + line); };
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdir('/game');
  FS.chdir('/game');
});
Module['onExit'] = function (status) { replayExit = status; };
