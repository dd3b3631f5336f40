// Talking to the core, which runs in a Web Worker that runs the core's script the page holds as
// text: requests go as messages with numbers and their answers come back as promises. A request
// sent before the worker is made waits for it, and one sent before the core is in is answered as
// soon as it is. In a lane (the analysis), a newer request takes the place of an older one still
// waiting: the worker drops the older, and an answer to it that comes anyway is ignored.
import {byId} from './dom.js';
import {Keys} from './protocol.js';

/** @typedef {import('./protocol_types').Request} Request */
/** @typedef {import('./protocol_types').JobMessage} JobMessage */
/** @typedef {import('./protocol_types').WorkerMessage} WorkerMessage */
/** @typedef {import('./protocol_types').YieldProgress} YieldProgress */
/**
 * @typedef {object} Waiting
 * @property {(answer: any) => void} resolve
 * @property {(error: Error) => void} reject
 * @property {string | undefined} lane
 * @property {((progress: YieldProgress) => void) | undefined} onProgress
 */

// The worker's first script: it runs the core's script, its first message, in its global scope;
// that script's own listener then takes the requests (core_worker.js). From a data: address,
// which takes the page's thread less than a Blob's and saves the worker a second load.
const WaitingWorker = `self.onmessage = function (event) {
  self.onmessage = null;
  (0, eval)(event.data);
};`;

const client = {
  /** @type {Worker | null} */
  worker: null,
  /** @type {(JobMessage | {cancel: number})[]} sent before the worker was made */
  outbox: [],
  nextId: 1,
  /** @type {Map<number, Waiting>} */
  waiting: new Map(),
  /** @type {Map<string, number>} the newest request of each lane */
  newestInLane: new Map(),
  unanswered: 0,
  /** @type {() => void} */
  markCoreReady: () => {},
};

// Resolved when the worker has made the core.
export const coreReady = new Promise((resolve) => {
  client.markCoreReady = () => resolve(undefined);
});

// How many requests wait for their answers, on <html data-unanswered>: the tests wait for 0.
/** @param {number} change */
function countUnanswered(change) {
  client.unanswered += change;
  document.documentElement.dataset.unanswered = String(client.unanswered);
}

/**
 * Counts a request still being put together (a file being read) among those unanswered, until
 * the request it leads to is sent.
 * @template T
 * @param {Promise<T>} preparing
 * @returns {Promise<T>}
 */
export async function whilePreparing(preparing) {
  countUnanswered(1);
  try {
    return await preparing;
  } finally {
    setTimeout(() => countUnanswered(-1), 0);
  }
}

/** @param {JobMessage | {cancel: number}} message */
function send(message) {
  if (client.worker) {
    client.worker.postMessage(message);
  } else {
    client.outbox.push(message);
  }
}

/**
 * @param {number} id
 * @param {any} answer the response, or null when it is not wanted
 */
function settle(id, answer) {
  const waiting = client.waiting.get(id);
  if (!waiting) {
    return;
  }
  client.waiting.delete(id);
  if (answer && Keys.Error in answer) {
    waiting.reject(new Error(answer[Keys.Error]));
  } else {
    waiting.resolve(answer);
  }
  // Counted once the answer's handlers have run (their promise jobs come before any timer), so
  // that a request they send follows without the count touching 0.
  setTimeout(() => countUnanswered(-1), 0);
}

/** @param {WorkerMessage} message */
function received(message) {
  if ('ready' in message) {
    client.markCoreReady();
    return;
  }
  if ('failed' in message) {
    console.error(`the core did not start: ${message.failed}`);
    return;
  }
  const waiting = client.waiting.get(message.id);
  if (!waiting) {
    return; // cancelled
  }
  if ('progress' in message) {
    waiting.onProgress?.(message.progress);
    return;
  }
  const newest = waiting.lane === undefined || client.newestInLane.get(waiting.lane) === message.id;
  settle(message.id, 'answer' in message && newest ? message.answer : null);
}

// Makes the worker and gives it the core's script, once the page has read it; the requests sent
// so far follow in their order. A worker's thread takes a while to start, during which the page
// is first drawn.
export function startCore() {
  if (client.worker) {
    return;
  }
  const worker = new Worker(`data:text/javascript,${encodeURIComponent(WaitingWorker)}`);
  worker.addEventListener('message', (event) => received(event.data));
  worker.addEventListener('error', (event) => console.error(`the core's worker: ${event.message}`));
  worker.postMessage(byId('OrvalexCoreSource').textContent || '');
  client.worker = worker;
  for (const message of client.outbox.splice(0)) {
    worker.postMessage(message);
  }
}

/**
 * Sends a request; the promise gives its response, or null when a newer request of its lane took
 * its place or the signal cancelled it, and fails on the core's {"error"}.
 * @param {Request} request
 * @param {{lane?: string, signal?: AbortSignal, onProgress?: (progress: YieldProgress) => void}} [options]
 * @returns {Promise<any>}
 */
export function ask(request, {lane, signal, onProgress} = {}) {
  const id = client.nextId++;
  const answer = new Promise((resolve, reject) => {
    client.waiting.set(id, {resolve, reject, lane, onProgress});
  });
  countUnanswered(1);
  const json = JSON.stringify(request);
  if (lane === undefined) {
    send({id, request: json});
  } else {
    client.newestInLane.set(lane, id);
    send({id, request: json, lane});
  }
  signal?.addEventListener('abort', () => {
    send({cancel: id});
    settle(id, null);
  }, {once: true});
  return answer;
}
