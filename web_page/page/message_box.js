// The message box: modal, holds the focus until OK; Escape closes it as OK does.
import {byId} from './dom.js';

/** @param {string} text */
export function showMessage(text) {
  const dialog = /** @type {HTMLDialogElement} */ (byId('MsgBox'));
  byId('MsgBoxText').textContent = text;
  if (dialog.open) {
    dialog.close();
  }
  dialog.showModal();
  byId('MsgBoxOK').focus();
}

// The box's one button keeps the focus: Tab would otherwise leave the page for the browser.
export function wireMessageBox() {
  byId('MsgBox').addEventListener('keydown', (event) => {
    if (event.key === 'Tab') {
      event.preventDefault();
      byId('MsgBoxOK').focus();
    }
  });
}
