// What the core's script defines before the worker's script runs in the same scope.
declare function loadOrvalexCore(): Promise<{ request(json: string): string }>;
