// The page's worker: makes the core, then answers the page's requests one at a time, in order,
// each in a task of its own so that newer messages get in between. A request sent in a lane
// (the analysis) is dropped while a newer one of its lane waits; a press has no lane and is
// never dropped. A long request goes on chunk by chunk: its response names the request that
// continues it, and between chunks the worker reports progress and looks for a cancel or a newer
// request of its lane. Its next chunk goes behind the requests waiting by then, so that a press
// is answered within a chunk's time; the core keeps what the long request started with.
import {Keys} from './protocol.js';

/** @typedef {import('./protocol_types').JobMessage} JobMessage */
/** @typedef {import('./protocol_types').WorkerMessage} WorkerMessage */
/** @typedef {{request(json: string): string}} Core */

const worker = {
  /** @type {JobMessage[]} waiting, oldest first; a long request's next chunk joins at the end */
  jobs: [],
  /** @type {Set<number>} requests the page no longer wants */
  cancelled: new Set(),
  /** @type {Core | null} */
  core: null,
  scheduled: false,
};

/** @param {WorkerMessage} message */
function post(message) {
  self.postMessage(message);
}

// One job a task: a timer rather than a loop, so that the page's messages come in between.
function schedule() {
  if (!worker.scheduled && worker.core && worker.jobs.length > 0) {
    worker.scheduled = true;
    setTimeout(runNext, 0);
  }
}

/** @param {JobMessage} job */
function unwanted(job) {
  return worker.cancelled.delete(job.id) ||
    (job.lane !== undefined && worker.jobs.some((later) => later.lane === job.lane));
}

function runNext() {
  worker.scheduled = false;
  const job = worker.jobs.shift();
  if (job && worker.core) {
    if (unwanted(job)) {
      post({id: job.id, dropped: true});
    } else {
      try {
        answer(job, worker.core);
      } catch (error) {
        post({id: job.id, answer: {[Keys.Error]: String(error)}});
      }
    }
  }
  schedule();
}

/**
 * @param {JobMessage} job
 * @param {Core} core
 */
function answer(job, core) {
  const response = JSON.parse(core.request(job.request));
  const next = response[Keys.Next];
  if (next === undefined) {
    post({id: job.id, answer: response});
    return;
  }
  post({id: job.id, progress: response[Keys.Progress]});
  worker.jobs.push({...job, request: JSON.stringify(next)});
}

self.addEventListener('message', (/** @type {MessageEvent} */ event) => {
  const message = event.data;
  if (typeof message.cancel === 'number') {
    worker.cancelled.add(message.cancel);
    return;
  }
  worker.jobs.push(message);
  schedule();
});

// loadOrvalexCore comes with the core's script, which runs before this one.
loadOrvalexCore().then((core) => {
  worker.core = core;
  post({ready: true});
  schedule();
}, (error) => post({failed: String(error)}));
