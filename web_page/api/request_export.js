// The module's interface to the page: Module.request(jsonText) returns the response's JSON text.
// The request is copied to the heap rather than the stack, so that a pasted text of any length fits.
Module['request'] = function (json) {
  const size = lengthBytesUTF8(json) + 1;
  const text = _malloc(size);
  stringToUTF8(json, text, size);
  try {
    return UTF8ToString(_orvalex_request(text));
  } finally {
    _free(text);
  }
};
