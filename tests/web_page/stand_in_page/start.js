// The stand-in page's script: a module that imports another, its words shown.
import {greeting} from './words.js';

document.getElementById('Response').textContent = greeting;
