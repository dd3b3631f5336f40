// The stand-in worker: makes the core as the page's worker does.
import {greeting} from './words.js';

loadOrvalexCore().then(() => self.postMessage(greeting));
