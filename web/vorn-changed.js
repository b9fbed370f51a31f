// Whether a chosen file changed since it was chosen, as after a new turn,
// and its contents as they are now, where the browser still reads them.
// Chromium refuses to read a file that changed or went; Firefox reads a
// slice of it only up to the size it had when chosen, but its stream to
// the end. Only Chromium-based browsers have showDirectoryPicker.
'use strict';
/* global ask_apart */
/* exported SIZE_MAY_BE_STALE, MAX_CONTENTS_BYTES, file_sizes, contents_of */

const SIZE_MAY_BE_STALE = !('showDirectoryPicker' in window);
// A changed game is read whole and handed to the worker up to this size,
// which the page's memory holds as well as the worker's.
const MAX_CONTENTS_BYTES = 256 * 2 ** 20;

// The size of a file as it is now; where it can't be read, 'changed' or
// 'deleted' where the browser tells which, else null. Also the text of the
// size check's worker: it may use nothing from elsewhere.
async function stream_size(file) {
  try {
    let size = 0;
    const pieces = file.stream().getReader();
    for (;;) {
      const { done, value } = await pieces.read();
      if (done) return size;
      size += value.length;
    }
  } catch (streamed) {
    // The stream's error doesn't say why; reading a byte may. Firefox
    // streams a changed file, so a file it can't is gone; WebKit answers
    // NotFoundError to both, and leaves it unknown.
    try {
      await file.slice(0, 1).arrayBuffer();
      /* c8 ignore next -- a file whose stream fails where a byte reads: no engine tested does so */
      return null;
    } catch (error) {
      if (error.name === 'NotReadableError') return 'changed';
      const gone = error.name === 'AbortError' || (error.name === 'NotFoundError' && streamed.name !== 'NotFoundError');
      return gone ? 'deleted' : null;
    }
  }
}

// The size check's worker: the sizes of the files it is sent, in order.
function size_check_worker() {
  self.onmessage = async (event) => {
    const sizes = [];
    for (const file of event.data) sizes.push(await stream_size(file));
    self.postMessage(sizes);
  };
}

// The files' sizes as they are now. Reading a whole game would hold the
// page, so the files are read in a worker of their own, made, as the
// program's, from functions' text. A file that this worker can't read is
// read again by the page, whose answer counts: WebKit's workers can read
// no chosen file for a page opened from file://.
function file_sizes(files) {
  const source = stream_size + '\n' + size_check_worker + '\nsize_check_worker();\n';
  return ask_apart(source, files, files.map(() => null)).then((sizes) =>
    Promise.all(sizes.map((size, i) => (typeof size === 'number' ? size : stream_size(files[i])))),
  );
}

// Each file's name and bytes as they are now, read to the end of its
// stream, or null where one can't be read.
/* c8 ignore start -- read only where a changed file still reads whole (Firefox) or where the worker can't read the
   chosen files (WebKit from file://): never in Chromium */
async function contents_of(files) {
  try {
    return await Promise.all(files.map(async (file) => ({
      name: file.name,
      bytes: new Uint8Array(await new Response(file.stream()).arrayBuffer()),
    })));
  } catch {
    return null;
  }
}
/* c8 ignore stop */
