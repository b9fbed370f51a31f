// The chosen files grouped into games, as the program finds a game's files
// by name, and the games offered in the menu. The games offered are kept
// here, not read back from the menu.
'use strict';
/* global $ */
/* exported PLANET_FILE, show_games, game_named, games_offered */

// The names the program reads: <game>.p1 to <game>.p16, in any case.
const PLANET_FILE = /^(.+)\.p([1-9]|1[0-6])$/i;

let games = new Map(); // lower-case base name -> { name, files: [File], folder }
let paths = new Map(); // File -> its path, where the page was told it

// The program matches names ignoring ASCII case only.
function ascii_lower(text) {
  return text.replace(/[A-Z]/g, (letter) => letter.toLowerCase());
}

function file_number(file) {
  return Number(PLANET_FILE.exec(file.name)[2]);
}

function add_line(parent, text) {
  const line = document.createElement('p');
  line.textContent = text;
  parent.append(line);
}

// A file's path within what was chosen or dropped, where the browser
// gives one ('' where it doesn't).
function file_path(file) {
  return paths.get(file) || file.webkitRelativePath || '';
}

// How the note names a file: by its path where the browser gives one, else
// by its name and size, which tell two files of one name apart.
function file_label(file) {
  return file_path(file) || file.name + ' (' + file.size.toLocaleString('en') + ' bytes)';
}

// The folder that holds a file, where the browser says: '' for a file
// chosen alone.
function folder_of(file) {
  const parts = file_path(file).split('/');
  return parts.length > 1 ? parts[parts.length - 2] : '';
}

// The files by game, each game's in the order of their numbers and named
// as its first file spells it; a name that is not a planet file is
// ignored, and a name met again, from another folder or spelt in another
// case, is left out, as the program's lookup takes one file a name.
function group_games(files) {
  const grouped = new Map();
  const ignored = [];
  const used = new Map(); // lower-case file name -> the file taken
  const twice = [];
  for (const file of files) {
    const match = PLANET_FILE.exec(file.name);
    const name = ascii_lower(file.name);
    if (!match) ignored.push(file.name);
    else if (used.has(name)) twice.push('used ' + file_label(used.get(name)) + ', left out ' + file_label(file));
    if (!match || used.has(name)) continue;
    used.set(name, file);
    const key = ascii_lower(match[1]);
    if (!grouped.has(key)) grouped.set(key, { name: match[1], files: [], folder: folder_of(file) });
    grouped.get(key).files.push(file);
  }
  for (const game of grouped.values()) {
    game.files.sort((a, b) => file_number(a) - file_number(b));
    game.name = PLANET_FILE.exec(game.files[0].name)[1];
  }
  return { grouped, ignored, twice };
}

// Offers each game in the menu, keeping the game picked before if it is
// still there, and says what was found (`where` first, when given).
// `known_paths` maps a file to its path where the browser gave one apart.
function show_games(files, where, known_paths = new Map()) {
  const kept = $('game').value;
  paths = known_paths;
  const { grouped, ignored, twice } = group_games(files);
  games = grouped;
  const select = $('game');
  select.replaceChildren();
  const report = $('found');
  report.replaceChildren();
  if (where) add_line(report, where);
  if (games.size > 1) select.append(new Option('Pick one of ' + games.size + ' games', ''));
  else if (games.size === 0) select.append(new Option('No game among these files', ''));
  for (const game of games.values()) {
    const numbers = game.files.map(file_number).join(', ');
    select.append(new Option(game.name + ' (files ' + numbers + ')', game.name));
    add_line(report, 'Game ' + game.name + ': files ' + numbers);
  }
  if (ignored.length > 0) add_line(report, 'Ignored: ' + ignored.join(', '));
  for (const line of twice) add_line(report, 'One name twice (case aside): ' + line + '.');
  select.disabled = games.size === 0;
  select.selectedIndex = 0;
  if (kept && games.has(ascii_lower(kept))) select.value = games.get(ascii_lower(kept)).name;
}

// The game of that name among those offered, or undefined.
function game_named(name) {
  return name ? games.get(ascii_lower(name)) : undefined;
}

function games_offered() {
  return games.size;
}
