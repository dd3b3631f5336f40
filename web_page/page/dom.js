// Small helpers of the page's document: elements by id, new elements, handlers that keep a fault
// in the console rather than stop the page, and text saved as a download.

/**
 * @param {string} id
 * @returns {HTMLElement}
 */
export function byId(id) {
  const found = document.getElementById(id);
  if (!found) {
    throw new Error(`the page has no element "${id}"`);
  }
  return found;
}

/**
 * @param {string} id
 * @returns {HTMLInputElement}
 */
export function inputById(id) {
  const found = byId(id);
  if (!(found instanceof HTMLInputElement)) {
    throw new Error(`"${id}" is not an input`);
  }
  return found;
}

/**
 * @template {keyof HTMLElementTagNameMap} K
 * @param {K} tag
 * @param {string} [className]
 * @param {string} [text]
 * @returns {HTMLElementTagNameMap[K]}
 */
export function element(tag, className, text) {
  const node = document.createElement(tag);
  if (className) {
    node.className = className;
  }
  if (text !== undefined) {
    node.textContent = text;
  }
  return node;
}

const SvgNs = 'http://www.w3.org/2000/svg';

/**
 * @param {string} tag
 * @param {Record<string, string | number | boolean>} attributes
 * @param {string} [text]
 * @returns {SVGElement}
 */
export function svgElement(tag, attributes, text) {
  const node = /** @type {SVGElement} */ (document.createElementNS(SvgNs, tag));
  for (const [name, value] of Object.entries(attributes)) {
    node.setAttribute(name, String(value));
  }
  if (text !== undefined) {
    node.textContent = text;
  }
  return node;
}

// Any fault of the page itself, thrown or in a promise, stays in the console; the page keeps
// working.
/**
 * @template {unknown[]} A
 * @param {(...args: A) => unknown} handler
 * @returns {(...args: A) => void}
 */
export function guarded(handler) {
  return (...args) => {
    try {
      Promise.resolve(handler(...args)).catch((error) => console.error(error));
    } catch (error) {
      console.error(error);
    }
  };
}

/**
 * Saves text as a file through the browser's downloads.
 * @param {string} text
 * @param {string} name
 * @param {string} type
 */
export function downloadText(text, name, type) {
  const url = URL.createObjectURL(new Blob([text], {type}));
  const link = element('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 0);
}
