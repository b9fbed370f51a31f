// What this browser offers, marked on the page's root as the page loads,
// before it is first drawn: the stylesheet then lays out from the start
// only what the page will show, and nothing below it moves as the other
// scripts start. The one script loaded without defer, so kept this small.
'use strict';

document.documentElement.classList.toggle('folder-picker', 'showDirectoryPicker' in window);
document.documentElement.classList.toggle('from-file', location.protocol === 'file:');
