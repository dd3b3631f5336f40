// The stand-in head's script.
globalThis.started = 'worker';
