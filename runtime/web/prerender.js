// Build step: the page as it is served, with the start-up window already
// in it, so that the browser paints the disclaimer before the program has
// loaded. The program itself builds that window here, under Node.js: its
// script and WebAssembly run against the few parts of a document that
// page.js uses, and the window it shows first is written out as markup,
// element for element, so the two cannot differ. page.js takes it over
// when the program shows its own.
// Usage: node prerender.js SCRIPT TEMPLATE OUTPUT
'use strict';
const fs = require('fs');
const path = require('path');
const vm = require('vm');

const [script, template, output] = process.argv.slice(2);

const Void = new Set(['IMG', 'INPUT']);
// Properties page.js sets that the markup holds as attributes.
const Reflected = {readOnly: 'readonly', spellcheck: 'spellcheck', tabIndex: 'tabindex', src: 'src', alt: 'alt',
                   width: 'width', height: 'height'};

const escape = (s, quote) => {
  s = String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/\r/g, '&#13;');
  return quote ? s.replace(/"/g, '&quot;') : s;
};

class Element {
  constructor(tag) {
    this.tagName = tag.toUpperCase();
    this.childNodes = [];
    this.parentNode = null;
    this.attributes = new Map();
    // Declarations in the order they are set: a second one for the same
    // property stays after the first, as a fallback the browser drops or
    // keeps just as it does when a script sets both.
    const decls = this.declarations = [];
    this.style = new Proxy({}, {
      set: (_, name, value) => {
        decls.push([name.replace(/[A-Z]/g, c => '-' + c.toLowerCase()), String(value)]);
        return true;
      },
      get: (_, name) => (decls.filter(d => d[0] == name).pop() || [])[1] || '',
    });
    if (this.tagName == 'INPUT' || this.tagName == 'TEXTAREA') this.value = '';
    for (const [property, attribute] of Object.entries(Reflected)) {
      Object.defineProperty(this, property, {
        set: v => this.setAttribute(attribute, typeof v == 'boolean' && property != 'spellcheck' ? (v ? '' : null) : v),
        get: () => this.getAttribute(attribute),
      });
    }
    const classes = () => (this.getAttribute('class') || '').split(' ').filter(Boolean);
    this.classList = {
      contains: c => classes().includes(c),
      toggle: (c, on) => {
        const set = classes().filter(x => x != c);
        if (on === undefined ? !classes().includes(c) : on) set.push(c);
        this.setAttribute('class', set.join(' '));
      },
      add: c => this.classList.toggle(c, true),
      remove: c => this.classList.toggle(c, false),
    };
  }
  set className(c) { this.setAttribute('class', c); }
  get className() { return this.getAttribute('class') || ''; }
  setAttribute(name, value) {
    if (value === null) this.attributes.delete(name);
    else this.attributes.set(name, String(value));
  }
  getAttribute(name) { return this.attributes.has(name) ? this.attributes.get(name) : null; }
  hasAttribute(name) { return this.attributes.has(name); }
  removeAttribute(name) { this.attributes.delete(name); }
  set textContent(t) { this.childNodes = [String(t)]; }
  get textContent() { return this.childNodes.map(c => typeof c == 'string' ? c : c.textContent).join(''); }
  appendChild(child) {
    child.remove();
    child.parentNode = this;
    this.childNodes.push(child);
    return child;
  }
  remove() {
    if (this.parentNode) this.parentNode.childNodes.splice(this.parentNode.childNodes.indexOf(this), 1);
    this.parentNode = null;
  }
  get nextSibling() {
    const siblings = this.parentNode ? this.parentNode.childNodes : [];
    return siblings[siblings.indexOf(this) + 1] || null;
  }
  replaceChildren() { this.childNodes = []; }
  // Handlers stay with the program: the markup's controls are inert.
  addEventListener() {}
  focus() { document.activeElement = this; }
  setSelectionRange() {}

  get outerHTML() {
    const all = [...this.attributes].sort((a, b) => (b[0] == 'class') - (a[0] == 'class'));
    if (this.declarations.length) all.splice(all[0] && all[0][0] == 'class' ? 1 : 0, 0,
                                             ['style', this.declarations.map(d => d.join(': ')).join('; ')]);
    const attributes = all.map(([n, v]) => ' ' + n + (v === '' ? '' : '="' + escape(v, true) + '"'));
    const tag = this.tagName.toLowerCase(), open = '<' + tag + attributes.join('') + '>';
    if (Void.has(this.tagName)) return open;
    // The parser drops a text area's first line break: one of its own.
    const inner = this.tagName == 'TEXTAREA' ? '\n' + escape(this.value.replace(/\r\n?/g, '\n'))
        : this.childNodes.map(c => typeof c == 'string' ? escape(c) : c.outerHTML).join('');
    return open + inner + '</' + tag + '>';
  }
}

const page = {desktop: new Element('div'), lines: new Element('div')};
const frames = [];
const document = {
  activeElement: null,
  baseURI: 'http://localhost/',
  createElement: tag => new Element(tag),
  getElementById: id => page[id],
  querySelector: () => null,
};
const wasm = fs.readFileSync(path.join(path.dirname(script), path.basename(script, '.js') + '.wasm'));
const context = vm.createContext({
  document,
  location: {href: document.baseURI, search: '', origin: 'http://localhost'},
  // The WebAssembly from its file, compiled from its bytes.
  fetch: () => Promise.resolve({ok: true, arrayBuffer: () => Promise.resolve(wasm)}),
  WebAssembly: Object.create(WebAssembly, {instantiateStreaming: {value: undefined}}),
  TextDecoder, URL, URLSearchParams, console,
  setTimeout, clearTimeout, setInterval: () => 0, clearInterval() {},
  requestAnimationFrame: f => frames.push(f), cancelAnimationFrame() {},
  MessageChannel: class {
    constructor() {
      this.port1 = {};
      this.port2 = {postMessage: () => setTimeout(() => this.port1.onmessage())};
    }
  },
});
context.window = context.self = context;

const fail = message => {
  console.error('prerender.js: ' + message);
  process.exit(1);
};
setTimeout(() => fail('the program showed no window'), 20000);
const shown = () => page.desktop.childNodes.find(w => w.classList.contains('shown'));
const wait = setInterval(() => {
  if (page.lines.childNodes.length) fail('the program said: ' + page.lines.textContent);
  const window = shown();
  if (!window) return;
  clearInterval(wait);
  frames.splice(0).forEach(f => f());  // the focus the program gives it as it shows
  if (document.activeElement) document.activeElement.setAttribute('autofocus', '');
  // Shown until the program's own shows: page.js tells the two apart by this.
  window.classList.remove('shown');
  window.classList.add('early');
  const html = fs.readFileSync(template, 'utf8');
  const hole = '<div id="desktop"></div>';
  if (!html.includes(hole)) fail(template + ' has no ' + hole);
  fs.writeFileSync(output, html.replace(hole, '<div id="desktop">' + window.outerHTML + '</div>'));
  process.exit(0);
}, 5);
vm.runInContext(fs.readFileSync(script, 'utf8'), context, {filename: script});
