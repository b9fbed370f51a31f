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

// Emscripten lists a directory by taking Node.js's list of names and then
// lstat()ing each name as it hands the entry out. A name that another
// process removes in between (a temporary file in /tmp, say) fails the
// whole listing with ENOENT, so the case walk would miss the spellings
// after it. A real readdir() still returns such a name; so does this one,
// as a regular file, and opening it fails as for any name that has gone.
// Under NODERAWFS the listing is the only caller of FS.lookupNode: every
// other lookup goes straight to Node.js.
Module['preRun'].push(function() {
  if (typeof NODERAWFS == 'undefined') return;
  var S_IFREG = 32768;
  var lookup_node = FS.lookupNode;
  FS.lookupNode = function(parent, name) {
    try {
      return lookup_node(parent, name);
    } catch (e) {
      if (!(e instanceof FS.ErrnoError) || e.errno !== ERRNO_CODES.ENOENT)
        throw e;
      return { id: 1, mode: S_IFREG, path: parent.path + '/' + name };
    }
  };
});
