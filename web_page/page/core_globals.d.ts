// Globals shared between scripts: the core's loader, which the core's script defines before the
// worker's script runs in the same scope, and the worker that the page's head starts.
declare function loadOrvalexCore(): Promise<{ request(json: string): string }>;
declare var orvalexWorker: Worker | undefined;
