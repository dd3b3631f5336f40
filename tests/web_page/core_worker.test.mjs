// The page's worker under Node with a stand-in core: requests answered in order, an analysis
// dropped while a newer one waits and never a press, a long request's progress, its cancel and
// its place taken between chunks, and a fault answered as an error.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import vm from 'node:vm';

import {joinModules} from '../../web_page/join_modules.mjs';

const pageDir = new URL('../../web_page/page/', import.meta.url);
const script = joinModules('core_worker.js', (name) => readFileSync(new URL(name, pageDir), 'utf8'));

// The stand-in core: "count" goes on in `total` chunks, each answer naming the next; "fail"
// throws; anything else is echoed. Every request it sees is kept in `seen`.
function standInCore(seen) {
  return {
    request(json) {
      const request = JSON.parse(json);
      seen.push(request.op === 'count' ? `count ${request.done}` : request.op);
      if (request.op === 'fail') {
        throw new Error('stand-in fault');
      }
      if (request.op === 'count' && request.done + 1 < request.total) {
        return JSON.stringify({progress: {done: request.done + 1, total: request.total},
                               next: {...request, done: request.done + 1}});
      }
      return JSON.stringify({echo: request.op});
    },
  };
}

// Starts the worker's script; `send` posts to it as the page does, `said` holds what it posted.
function startWorker() {
  const said = [];
  const seen = [];
  const listeners = [];
  const waiters = [];
  const self = {
    addEventListener: (type, listener) => listeners.push(listener),
    postMessage(message) {
      said.push(message);
      waiters.splice(0).forEach((wake) => wake());
    },
  };
  let coreIn;
  const core = new Promise((resolve) => (coreIn = () => resolve(standInCore(seen))));
  vm.runInContext(script, vm.createContext({self, setTimeout, loadOrvalexCore: () => core}));
  const send = (message) => listeners.forEach((listener) => listener({data: message}));
  // Waits until the worker has said `count` things.
  const until = async (count) => {
    while (said.length < count) {
      await new Promise((wake) => waiters.push(wake));
    }
  };
  return {send, said, seen, coreIn, until};
}

const job = (id, op, lane) => ({id, request: JSON.stringify({op}), ...(lane ? {lane} : {})});
// What the worker said, shortly: "ready", "3 press", "2 dropped", "4 progress 1/3".
const brief = (message) => ('ready' in message ? 'ready'
  : 'dropped' in message ? `${message.id} dropped`
  : 'progress' in message ? `${message.id} progress ${message.progress.done}/${message.progress.total}`
  : `${message.id} ${message.answer.echo ?? message.answer.error}`);

test('requests sent before the core is in are answered in order; a lane keeps its newest', async () => {
  // what the page sends, what the worker says, in order
  const rows = [
    ['two analyses', [job(1, 'analyse', 'analysis'), job(2, 'analyse', 'analysis')],
     ['ready', '1 dropped', '2 analyse']],
    ['a press between two analyses', [job(1, 'analyse', 'analysis'), job(2, 'press'), job(3, 'analyse', 'analysis')],
     ['ready', '1 dropped', '2 press', '3 analyse']],
    ['presses are never dropped', [job(1, 'press'), job(2, 'press'), job(3, 'press')],
     ['ready', '1 press', '2 press', '3 press']],
    ['lanes apart', [job(1, 'analyse', 'analysis'), job(2, 'simulate', 'boards'), job(3, 'analyse', 'analysis')],
     ['ready', '1 dropped', '2 simulate', '3 analyse']],
    ['a fault is an error answer, and the next goes on', [job(1, 'fail'), job(2, 'press')],
     ['ready', '1 Error: stand-in fault', '2 press']],
  ];
  for (const [name, jobs, expected] of rows) {
    const worker = startWorker();
    jobs.forEach(worker.send);
    worker.coreIn();
    await worker.until(expected.length);
    assert.deepEqual(worker.said.map(brief), expected, name);
  }
});

test('a long request reports each chunk, lets messages in between, and stops when cancelled', async () => {
  const count = (id, total, lane) => ({id, request: JSON.stringify({op: 'count', done: 0, total}), ...(lane ? {lane} : {})});
  // name, what is sent after the first progress, what the worker says, what the core saw
  const rows = [
    ['to its end', [], ['ready', '1 progress 1/3', '1 progress 2/3', '1 count'],
     ['count 0', 'count 1', 'count 2']],
    ['cancelled', [{cancel: 1}], ['ready', '1 progress 1/3', '1 dropped'], ['count 0']],
    // A press sent meanwhile is answered after the chunk already waiting, before the request's
    // end: the core keeps what the long request started with.
    ['a press gets in between', [job(2, 'press')],
     ['ready', '1 progress 1/3', '1 progress 2/3', '2 press', '1 count'],
     ['count 0', 'count 1', 'press', 'count 2']],
    ['a newer one of its lane takes its place', [count(2, 2, 'boards')],
     ['ready', '1 progress 1/3', '1 dropped', '2 progress 1/2', '2 count'],
     ['count 0', 'count 0', 'count 1']],
  ];
  for (const [name, later, expected, seen] of rows) {
    const worker = startWorker();
    worker.send(count(1, 3, 'boards'));
    worker.coreIn();
    await worker.until(2);
    later.forEach(worker.send);
    await worker.until(expected.length);
    await new Promise((wake) => setTimeout(wake, 20)); // nothing more comes
    assert.deepEqual(worker.said.map(brief), expected, name);
    assert.deepEqual(worker.seen, seen, name);
  }
});
