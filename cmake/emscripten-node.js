// Put before every program built for Node.js (cmake/emscripten.cmake).
// Emscripten's Node.js file system drops O_NONBLOCK when it opens a file, so
// opening a FIFO would wait for a writer for ever; the program opens planet
// files with O_NONBLOCK exactly so that it can refuse a FIFO without waiting.
// Here the flag reaches Node.js. (In the web page's module there is no
// NODEFS, and the hook does nothing.)
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  if (typeof NODEFS == 'undefined') return;
  var EMSCRIPTEN_O_NONBLOCK = 2048;
  var without_it = NODEFS.flagsForNode;
  NODEFS.flagsForNode = function(flags) {
    var node_flags = without_it(flags);
    if (flags & EMSCRIPTEN_O_NONBLOCK)
      node_flags |= require('fs').constants.O_NONBLOCK;
    return node_flags;
  };
});
