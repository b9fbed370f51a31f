// Installing the page as an app: the page's own Install button where the
// browser offers to install it, and the line of help on installing by
// hand, which only a page served over http(s) needs.
'use strict';
/* global $ */
/* exported watch_install */

let install_offer = null; // the browser's beforeinstallprompt, while it holds

// Only Chromium offers, and then at a time of its own choosing: the button's
// place is kept from the start (vorn-page.css), so nothing moves as it shows.
function offer_install(event) {
  event.preventDefault();
  install_offer = event;
  $('install').hidden = false;
}

// Once installed, or once the player has answered: an offer prompts once,
// and the browser fires another when it may ask again.
function withdraw_install() {
  install_offer = null;
  if (document.activeElement === $('install')) $('files').focus();
  $('install').hidden = true;
}

async function install() {
  const offer = install_offer;
  if (!offer) return;
  // A second click while the browser asks would prompt a second time.
  install_offer = null;
  await offer.prompt();
  await offer.userChoice;
  withdraw_install();
}

// A page opened from file:// can't be installed: its help on installing
// goes, and no offer ever comes.
function watch_install() {
  if (location.protocol === 'file:') {
    $('install-line').remove();
    return;
  }
  window.addEventListener('beforeinstallprompt', offer_install);
  window.addEventListener('appinstalled', withdraw_install);
  $('install').addEventListener('click', install);
}
