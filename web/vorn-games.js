// The chosen files grouped into games, as the program finds a game's files
// by name, and the games offered in the menu. The games offered are kept
// here, not read back from the menu.
'use strict';
/* global $ */
/* exported PLANET_FILE, show_games, game_named, games_offered, not_planet_files */

// The names the program reads: <game>.p1 to <game>.p16, in any case.
const PLANET_FILE = /^(.+)\.p([1-9]|1[0-6])$/i;

let games = new Map(); // lower-case base name -> { name, files: [File], folder }
let paths = new Map(); // File -> its path, where the page was told it
let no_planet_files = ''; // what the page said of files chosen of which none is a planet file

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

// Of the files whose names differ only in ASCII case, the one the program
// opens in a folder that holds them all: the name in capitals, then the
// name as the game is spelt with ".p" (`typed`), then the first in code
// unit order (byte order, for ASCII names).
function program_pick(alike, typed) {
  const upper = alike.find((file) => file.name === file.name.replace(/[a-z]/g, (letter) => letter.toUpperCase()));
  const as_typed = alike.find((file) => file.name === typed);
  return upper || as_typed || alike.reduce((first, file) => (file.name < first.name ? file : first));
}

// A game from its files by number (`alike`, number -> files), one file a
// number; each file left out is noted in `twice`. The game is named as
// its first file spells it, which is how the page then runs the program.
function pick_files(alike, twice) {
  const numbers = [...alike.keys()].sort((a, b) => a - b);
  const name = PLANET_FILE.exec(program_pick(alike.get(numbers[0]), '').name)[1];
  const files = numbers.map((number) => program_pick(alike.get(number), name + '.p' + number));
  numbers.forEach((number, i) => {
    for (const file of alike.get(number)) {
      if (file !== files[i]) twice.push('used ' + file_label(files[i]) + ', left out ' + file_label(file));
    }
  });
  return { name, files, folder: folder_of(files[0]) };
}

// The files by game, each game's in the order of their numbers; a name
// that is not a planet file is ignored, and of names met more than once,
// from other folders or spelt in another case, one file is taken, as the
// program's lookup, which ignores ASCII case, takes one.
function group_games(files) {
  const alike_by_game = new Map(); // lower-case game name -> number -> files
  const ignored = [];
  for (const file of files) {
    const match = PLANET_FILE.exec(file.name);
    if (!match) {
      ignored.push(file.name);
      continue;
    }
    const key = ascii_lower(match[1]);
    if (!alike_by_game.has(key)) alike_by_game.set(key, new Map());
    const alike = alike_by_game.get(key);
    const number = file_number(file);
    alike.set(number, [...(alike.get(number) || []), file]);
  }
  const twice = [];
  const grouped = new Map();
  for (const [key, alike] of alike_by_game) grouped.set(key, pick_files(alike, twice));
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
  // Where no file is a planet file, that is all there is to say.
  no_planet_files = games.size === 0 && ignored.length > 0 ? 'None of these is a planet file: ' + ignored.join(', ') : '';
  if (where && !no_planet_files) add_line(report, where);
  if (games.size > 1) select.append(new Option('Pick one of ' + games.size + ' games', ''));
  else if (games.size === 0) select.append(new Option('No game among these files', ''));
  for (const game of games.values()) {
    const numbers = game.files.map(file_number).join(', ');
    select.append(new Option(game.name + ' (files ' + numbers + ')', game.name));
    add_line(report, 'Game ' + game.name + ': files ' + numbers);
  }
  if (no_planet_files) add_line(report, no_planet_files);
  else if (ignored.length > 0) add_line(report, 'Ignored: ' + ignored.join(', '));
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

// Where the files chosen hold no planet file, what the page said of them.
function not_planet_files() {
  return no_planet_files;
}
