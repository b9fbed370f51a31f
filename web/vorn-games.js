// The chosen files grouped into games, as the program finds a game's files
// by name, and the games offered in the menu. The games offered are kept
// here, not read back from the menu.
'use strict';
/* global $ */
/* exported PLANET_FILE, show_games, game_named, games_offered, not_planet_files */

// The names the program reads: <game>.p1 to <game>.p16, in any case.
const PLANET_FILE = /^(.+)\.p([1-9]|1[0-6])$/i;

let games = new Map(); // lower-case base name -> { name, files: [File] }
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

// The files by game, each game's in the order of their numbers and named
// as its first file spells it; a name that is not a planet file, or the
// same name a second time (from two folders), is ignored.
function group_games(files) {
  const grouped = new Map();
  const ignored = [];
  const names = new Set();
  for (const file of files) {
    const match = PLANET_FILE.exec(file.name);
    if (!match || names.has(file.name)) {
      ignored.push(file.name);
      continue;
    }
    names.add(file.name);
    const key = ascii_lower(match[1]);
    if (!grouped.has(key)) grouped.set(key, { name: match[1], files: [] });
    grouped.get(key).files.push(file);
  }
  for (const game of grouped.values()) {
    game.files.sort((a, b) => file_number(a) - file_number(b));
    game.name = PLANET_FILE.exec(game.files[0].name)[1];
  }
  return { grouped, ignored };
}

// Offers each game in the menu, keeping the game picked before if it is
// still there, and says what was found (`where` first, when given).
function show_games(files, where) {
  const kept = $('game').value;
  const { grouped, ignored } = group_games(files);
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
  no_planet_files = games.size === 0 && ignored.length > 0 ? 'None of these is a planet file: ' + ignored.join(', ') : '';
  if (no_planet_files) add_line(report, no_planet_files);
  else if (ignored.length > 0) add_line(report, 'Ignored: ' + ignored.join(', '));
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
