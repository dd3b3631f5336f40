// The browser language's number separators, as the window takes the system locale's, and texts
// made fit to travel as UTF-8.

/** @type {{found: {decimal: string, group: string} | null}} */
const cache = {found: null};

// Looked up at the first press, since the language data take a while to load.
export function separators() {
  if (!cache.found) {
    /** @type {Intl.NumberFormatPart[]} */
    let parts = [];
    try {
      parts = new Intl.NumberFormat(navigator.language).formatToParts(1234567.5);
    } catch {
      parts = new Intl.NumberFormat('en-US').formatToParts(1234567.5);
    }
    /**
     * @param {string} type
     * @param {string} fallback
     */
    const part = (type, fallback) => (parts.find((p) => p.type === type) || {value: fallback}).value;
    cache.found = {decimal: part('decimal', '.'), group: part('group', '')};
  }
  return cache.found;
}

// A lone surrogate pasted into a box cannot travel as UTF-8: it becomes U+FFFD, which the core
// refuses like any other stray character.
/** @param {string} text */
export function wellFormed(text) {
  return typeof text.toWellFormed === 'function' ? text.toWellFormed() : text.replace(
    /[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD');
}
