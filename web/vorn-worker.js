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
// cells, count, files, ranges, refused } (the program's end, the bytes it
// wrote, and what the page shows of them) or { unreadable } (the name of a
// chosen file that can no longer be read as it was chosen). The answer's
// large parts are bytes, handed over, not copied: the page's thread takes
// them in at once, and decodes a piece at a time.
//
// The rows of the last listing stay here, so that the page's own thread
// never sorts or copies them whole: { sort: { column, descending }, fresh }
// is answered with { order }, the rows' places in the listing in that order
// (an Int32Array; `fresh`, the places of the rows new since the last
// listing, for the column past the five that puts them first), and { csv: true } with { csv }, the bytes of the CSV in
// the order last given.
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

  // The rows of the last listing, each its five cells, and the order last
  // asked for (null: the listing's own).
  let kept = { rows: [], order: null };

  // The cells of `rows`, five a row, each ended by a NUL, which no name
  // printed can hold, in the listing's bytes, ROWS_PER_CHUNK rows a chunk:
  // the page takes in a chunk at a time, each in a task of its own.
  function cell_chunks(rows) {
    const ROWS_PER_CHUNK = 5000;
    const chunks = [];
    for (let i = 0; i < rows.length; i += ROWS_PER_CHUNK) {
      chunks.push(display_bytes(rows.slice(i, i + ROWS_PER_CHUNK).map((row) => row.join('\0') + '\0').join('')));
    }
    return chunks;
  }

  // What the page shows, read here so that the page's own thread has only
  // drawing to do: where the listing's pieces of whole lines start, and the
  // table's rows read back from it (the page decides nothing about the
  // planets), the limits' ranges as printed, and what the program printed
  // for each file it refused.
  function read_back(stdout) {
    const lines = DISPLAY_DECODER.decode(stdout).split(/(?<=\n)/);
    const { rows, files, ranges, refused } = read_lines(lines);
    kept = { rows, order: null };
    return { pieces: piece_starts(lines), cells: cell_chunks(rows), count: rows.length, files, ranges, refused };
  }

  // Where each piece of the listing that the page draws starts in stdout,
  // and its end: a character decoded is a byte.
  function piece_starts(lines) {
    const LINES_PER_PIECE = 200;
    const pieces = [0];
    for (let i = 0, end = 0; i < lines.length; i++) {
      end += lines[i].length;
      if ((i + 1) % LINES_PER_PIECE === 0 || i + 1 === lines.length) pieces.push(end);
    }
    return Int32Array.from(pieces);
  }

  // The program's lines that the page reads back (src/main.cpp,
  // src/planet_file.cpp): the files it read, each planet listed, the limits'
  // ranges (before the first file) and, after a file's name, a line that is
  // no planet: the program refusing the file, repeated as it is. The name
  // is greedy: only the last quote before " is inhabitable!" ends it.
  function read_lines(lines) {
    const FILE_LINE = /^Processing file (.*)$/;
    const PLANET_LINE = /^ {2}"(.*)" is inhabitable!\t\(Grav=(.*)g, Temp=(.*)C, Rad=(.*)mR\)$/;
    const RANGE_LINE = /^ {2}- (?:Grav|Temp|Rad): +(\S+) +\.\. (\S+)$/;
    const REFUSAL_LINE = /^ {2}\S/;
    const rows = [];
    const ranges = [];
    const refused = [];
    let file = '';
    let files = 0;
    for (const with_end of lines) {
      const line = with_end.replace(/\n$/, '');
      const file_line = FILE_LINE.exec(line);
      const planet = !file_line && PLANET_LINE.exec(line);
      const range = !file && RANGE_LINE.exec(line);
      if (file_line) [file, files] = [file_line[1], files + 1];
      else if (planet) rows.push([file, planet[1], planet[2], planet[3], planet[4]]);
      else if (range) ranges.push(range[1], range[2]);
      else if (file && REFUSAL_LINE.test(line)) refused.push(file + ': ' + line.trim());
    }
    return { rows, files, ranges, refused };
  }

  // Puts the job's files where the program reads them.
  function place_files(vorn, { files, contents, example }) {
    if (example) return vorn.FS.chdir(example);
    if (!contents) return mount_files(vorn, files);
    /* c8 ignore start -- contents come only from Firefox (a changed file) and WebKit (from file://) */
    vorn.FS.mkdir('/game');
    for (const file of contents) vorn.FS.writeFile('/game/' + file.name, file.bytes);
    vorn.FS.chdir('/game');
    /* c8 ignore stop */
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
    const shown = read_back(out);
    postMessage({ status, stdout: out, stderr: errors, ...shown }, [out.buffer, ...shown.cells.map((c) => c.buffer)]);
  }

  // A value as the program printed it, as a number: -INF first, +INF after
  // every finite value; a NaN has no place among numbers, and goes last.
  function number_key(text) {
    if (/INF$/.test(text)) return text.startsWith('-') ? -Infinity : Infinity;
    return Number(text);
  }

  const NAME_ORDER = new Intl.Collator(undefined, { numeric: true });

  // Each row's key for a column, a number: a name's rank among the
  // column's names in NAME_ORDER, or the value printed. Past the five,
  // 0 for the rows whose places are in `fresh` (new since the last
  // listing), 1 for the others.
  function sort_keys(column, fresh) {
    const rows = kept.rows;
    if (column === 5) {
      const is_new = new Set(fresh);
      return Float64Array.from(rows, (_, i) => (is_new.has(i) ? 0 : 1));
    }
    if (column >= 2) return Float64Array.from(rows, (row) => number_key(row[column]));
    const names = [...new Set(rows.map((row) => row[column]))].sort(NAME_ORDER.compare);
    const rank = new Map(names.map((name, i) => [name, i]));
    return Float64Array.from(rows, (row) => rank.get(row[column]));
  }

  // The rows' places in the order asked for; equal keys keep the listing's
  // order, whichever the direction.
  function sort_order({ column, descending }, fresh) {
    const keys = sort_keys(column, fresh);
    const sign = descending ? -1 : 1;
    const order = Int32Array.from(keys, (_, i) => i);
    order.sort((a, b) => {
      const [x, y] = [keys[a], keys[b]];
      if (Number.isNaN(x) || Number.isNaN(y)) return Number.isNaN(x) - Number.isNaN(y) || a - b;
      return sign * (x < y ? -1 : x > y ? 1 : 0) || a - b;
    });
    kept.order = order;
    return order;
  }

  // The CSV and the table's cells keep the listing's bytes, as Download
  // does: each character as decoded, back to its byte.
  const DISPLAY_BYTES = new Map(
    [...DISPLAY_DECODER.decode(Uint8Array.from({ length: 256 }, (_, i) => i))].map((char, byte) => [char, byte]),
  );

  // RFC 4180: CR LF after every record, and a field with a comma, a quote or
  // a line end in quotes, its quotes doubled.
  function csv_field(text) {
    return /[",\r\n]/.test(text) ? '"' + text.replace(/"/g, '""') + '"' : text;
  }

  // Text as decoded, back to its bytes.
  function display_bytes(text) {
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++) bytes[i] = DISPLAY_BYTES.get(text[i]);
    return bytes;
  }

  // The CSV of the kept rows, in the order last asked for. Its header is
  // ASCII, so that a game whose names are ASCII gives a file that is valid
  // UTF-8 too.
  function csv_bytes() {
    const { rows, order } = kept;
    const lines = ['File,Planet,Gravity (g),Temperature (C),Radiation (mR)\r\n'];
    for (let i = 0; i < rows.length; i++) lines.push(rows[order ? order[i] : i].map(csv_field).join(',') + '\r\n');
    return display_bytes(lines.join(''));
  }

  // A question about the kept rows, or a job for the program.
  function take(event) {
    if (event.data.sort) postMessage({ order: sort_order(event.data.sort, event.data.fresh) });
    else if (event.data.csv) {
      const csv = csv_bytes();
      postMessage({ csv }, [csv.buffer]);
    } else answer(event);
  }

  self.onmessage = take;
}
