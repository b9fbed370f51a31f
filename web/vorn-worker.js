// The worker that runs the program's main(), so that the page stays
// responsive however long a listing takes. The page starts it from a blob:
// URL made of this function's text and the module's (vorn-web.js), because
// a page opened from file:// may not start a worker from a file.
//
// Messages in: { args, files: [File] }; { args, contents: [{ name, bytes }] },
// the files as the page read them, where this worker can't read a File
// (WebKit's, for a page opened from file://) or a file changed since it was
// chosen and the page reads it whole (Firefox); or { args, example } for
// the built-in example game. Messages out: { reading, of } as each planet
// file is first read, then one of { status, stdout, stderr, pieces,
// cells, old_layout } (the program's end, the bytes it wrote, and what the
// page shows of them) or { unreadable } (the name of a chosen file that can
// no longer be read as it was chosen).
/* global createVorn */
/* exported vorn_worker */
function vorn_worker() {
  'use strict';
  // Every byte has its own character in windows-1252 as browsers decode it
  // (0x81, 0x8D, 0x8F, 0x90 and 0x9D become the C1 controls): no byte is
  // lost or replaced, whatever code page the game's names were written in.
  const DISPLAY_DECODER = new TextDecoder('windows-1252');

  // A growing buffer for the bytes of one stream.
  function byte_sink() {
    let bytes = new Uint8Array(1 << 16);
    let length = 0;
    return {
      put(byte) {
        if (length === bytes.length) {
          const larger = new Uint8Array(bytes.length * 2);
          larger.set(bytes);
          bytes = larger;
        }
        bytes[length++] = byte;
      },
      bytes: () => bytes.slice(0, length),
    };
  }

  // Each listing gets a module of its own, made ahead so that a click
  // doesn't wait for it: main() may be called once per module.
  function next_module() {
    const stdout = byte_sink();
    const stderr = byte_sink();
    return createVorn({
      stdout: stdout.put,
      stderr: stderr.put,
      // The program's end: the module throws back to callMain, which returns.
      quit: (status, to_throw) => {
        throw to_throw;
      },
    }).then((vorn) => ({ vorn, stdout, stderr }));
  }
  let ready = next_module();

  // Mounts the chosen files read-only at /game, read through one piece at a
  // time. A read that fails (the file changed or went since it was chosen)
  // ends the run: what the program would then print is not the file as it
  // is now.
  function mount_files(vorn, files) {
    // The program reads a file in 512-byte blocks. Each read of a File goes
    // to the browser's own process and back, which takes milliseconds
    // whatever its size (a third of a large listing's time with 1 MiB
    // pieces), so a file is read 8 MiB at a time, and only one piece is
    // held: the bound on what reading takes, whatever the files' size.
    const PIECE_SIZE = 1 << 23;
    const reader = new FileReaderSync();
    const WORKERFS = vorn.FS.filesystems.WORKERFS;
    const order = new Map(files.map((file, i) => [file, i + 1]));
    let piece = { file: null, start: 0, bytes: new Uint8Array(0) };
    WORKERFS.stream_ops.read = (stream, buffer, offset, length, position) => {
      const file = stream.node.contents;
      if (piece.file !== file) {
        postMessage({ reading: order.get(file), of: files.length });
        piece = { file, start: 0, bytes: new Uint8Array(0) };
      }
      if (position >= file.size) return 0;
      const end = piece.start + piece.bytes.length;
      if (position < piece.start || position >= end) {
        try {
          piece.bytes = new Uint8Array(reader.readAsArrayBuffer(file.slice(position, position + PIECE_SIZE)));
        } catch {
          throw { unreadable: file.name };
        }
        piece.start = position;
      }
      const from = position - piece.start;
      const count = Math.min(length, piece.bytes.length - from);
      buffer.set(piece.bytes.subarray(from, from + count), offset);
      return count;
    };
    vorn.FS.mkdir('/game');
    vorn.FS.mount(WORKERFS, { files }, '/game');
    vorn.FS.chdir('/game');
  }

  // What the page shows, read here so that the page's own thread has only
  // drawing to do: the listing as text, in pieces of whole lines, and the
  // table's rows read back from it (the page decides nothing about the
  // planets), with the files that the program refused for their old layout.
  function read_back(stdout) {
    // The program's lines that the table is read from (src/planet_file.cpp).
    // The name is greedy: only the last quote before " is inhabitable!" ends
    // it.
    const FILE_LINE = /^Processing file (.*)$/;
    const PLANET_LINE = /^ {2}"(.*)" is inhabitable!\t\(Grav=(.*)g, Temp=(.*)C, Rad=(.*)mR\)$/;
    const OLD_LAYOUT_LINE = '  Not a new (v2.7i+ or v2.6i+) Kelvo planet file!';
    // The page draws the listing this many lines to a piece.
    const LINES_PER_PIECE = 200;
    const lines = DISPLAY_DECODER.decode(stdout).split(/(?<=\n)/);
    const pieces = [];
    for (let i = 0; i < lines.length; i += LINES_PER_PIECE) pieces.push(lines.slice(i, i + LINES_PER_PIECE).join(''));
    const rows = [];
    const old_layout = [];
    let file = '';
    for (const with_end of lines) {
      const line = with_end.replace(/\n$/, '');
      const file_line = FILE_LINE.exec(line);
      if (file_line) file = file_line[1];
      else if (line === OLD_LAYOUT_LINE) old_layout.push(file);
      else {
        const planet = PLANET_LINE.exec(line);
        if (planet) rows.push(file, planet[1], planet[2], planet[3], planet[4]);
      }
    }
    // One string crosses to the page far faster than many: the cells, five
    // a row, each ended by a NUL, which no name printed can hold.
    return { pieces, cells: rows.length === 0 ? '' : rows.join('\0') + '\0', old_layout };
  }

  // Puts the job's files where the program reads them.
  function place_files(vorn, { files, contents, example }) {
    if (example) return vorn.FS.chdir(example);
    if (!contents) return mount_files(vorn, files);
    vorn.FS.mkdir('/game');
    for (const file of contents) vorn.FS.writeFile('/game/' + file.name, file.bytes);
    vorn.FS.chdir('/game');
  }

  // Runs the program on one job, and answers with what it wrote.
  async function answer(event) {
    const { vorn, stdout, stderr } = await ready;
    ready = next_module();
    let status;
    try {
      place_files(vorn, event.data);
      status = vorn.callMain(event.data.args);
    } catch (error) {
      if (!error || !error.unreadable) throw error;
      postMessage({ unreadable: error.unreadable });
      return;
    }
    const out = stdout.bytes();
    const errors = DISPLAY_DECODER.decode(stderr.bytes());
    postMessage({ status, stdout: out, stderr: errors, ...read_back(out) }, [out.buffer]);
  }

  self.onmessage = answer;
}
