// Starts the core's worker as soon as the page begins to be read: a worker's thread takes a while
// to start, and this way it starts while the rest of the page is read. The worker waits for the
// core's script, its first message, and runs it in its global scope; that script's own listener
// then takes the requests (core_worker.js). From a data: address, since making a Blob's address
// costs the page's thread more, and the worker needs no origin of its own.
const WaitingWorker = `self.onmessage = function (event) {
  self.onmessage = null;
  (0, eval)(event.data);
};`;

globalThis.orvalexWorker = new Worker(`data:text/javascript,${encodeURIComponent(WaitingWorker)}`);
