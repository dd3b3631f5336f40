// The page's protocol keys are said once on each side: every constant of
// web_page/api/protocol_keys.h stands in web_page/page/protocol.js with the same name and text,
// in the same order, and nothing else does.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';

import {Keys} from '../../web_page/page/protocol.js';

const header = readFileSync(new URL('../../web_page/api/protocol_keys.h', import.meta.url), 'utf8');

test('protocol.js holds the header\'s keys, name for name', () => {
  const declared = [...header.matchAll(/inline constexpr std::string_view (\w+) = "([^"\\]*)";/g)]
    .map(([, name, text]) => [name, text]);
  // Every constant of the header is of that form, so none is missed.
  assert.equal(declared.length, (header.match(/inline constexpr/g) || []).length);
  assert.deepEqual(Object.entries(Keys), declared);
  assert.ok(Object.isFrozen(Keys));
  // A few by hand, as the page's interface documents them.
  for (const [name, text] of [['Op', 'op'], ['OpDescribe', 'describe'], ['XTicks', 'x_ticks'],
                              ['MeetsSpec', 'meets_spec'], ['Fittable', 'fittable'], ['Next', 'next']]) {
    assert.equal(Keys[name], text, name);
  }
});
