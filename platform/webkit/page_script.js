// The DOM of the real page engine, in plain ES5 for Duktape. It runs once in
// every page's heap before the page: it builds `window`, `document`, nodes,
// events, timers and `location` over the few native calls of `native`, and
// answers the engine's own calls (parse steps, timers, loads, the visible
// content) through the object it returns.
(function (global, native) {
  'use strict';

  var ELEMENT = 1, TEXT = 3, COMMENT = 8, DOCUMENT = 9, FRAGMENT = 11;
  var VOID = { area: 1, base: 1, br: 1, col: 1, embed: 1, hr: 1, img: 1, input: 1, link: 1, meta: 1,
               param: 1, source: 1, track: 1, wbr: 1 };
  var RAW_TEXT = { script: 1, style: 1, xmp: 1, iframe: 1, noembed: 1, noframes: 1, plaintext: 1 };
  var NOT_RENDERED = { head: 1, script: 1, style: 1, meta: 1, link: 1, title: 1, template: 1, noscript: 1, base: 1 };
  var SCRIPT_TYPES = { '': 1, 'text/javascript': 1, 'application/javascript': 1, 'application/x-javascript': 1,
                       'text/ecmascript': 1, 'application/ecmascript': 1, 'text/jscript': 1 };

  var nextNodeId = 1;
  var registry = {};  // nodes the engine refers to by id (scripts, frames, images waiting for loads)
  var documentURL = 'about:blank';
  var currentScript = null;

  function hide(object, key, value) {
    Object.defineProperty(object, key, { value: value, writable: true, configurable: true, enumerable: false });
  }
  function accessor(object, key, get, set) {
    Object.defineProperty(object, key, { get: get, set: set || function () {}, configurable: true, enumerable: false });
  }
  function method(object, key, fn) { hide(object, key, fn); }
  function nodeList(items) {
    hide(items, 'item', function (i) { return this[i] || null; });
    return items;
  }
  function lower(text) { return String(text).toLowerCase(); }

  // ---- Events ----

  function Event(type, init) {
    this.type = String(type);
    this.bubbles = !!(init && init.bubbles);
    this.cancelable = !!(init && init.cancelable);
    this.defaultPrevented = false;
    this.target = null;
    this.currentTarget = null;
    this.eventPhase = 0;
    this.timeStamp = Date.now();
    hide(this, '_stop', false);
    hide(this, '_stopNow', false);
  }
  Event.NONE = 0; Event.CAPTURING_PHASE = 1; Event.AT_TARGET = 2; Event.BUBBLING_PHASE = 3;
  method(Event.prototype, 'preventDefault', function () { if (this.cancelable) this.defaultPrevented = true; });
  method(Event.prototype, 'stopPropagation', function () { this._stop = true; });
  method(Event.prototype, 'stopImmediatePropagation', function () { this._stop = true; this._stopNow = true; });
  method(Event.prototype, 'initEvent', function (type, bubbles, cancelable) {
    this.type = String(type); this.bubbles = !!bubbles; this.cancelable = !!cancelable;
  });

  function subEvent(name, extra) {
    var E = function (type, init) {
      Event.call(this, type, init);
      if (extra) extra.call(this, init || {});
    };
    E.prototype = Object.create(Event.prototype);
    E.prototype.constructor = E;
    global[name] = E;
    return E;
  }
  var CustomEvent = subEvent('CustomEvent', function (init) { this.detail = init.detail === undefined ? null : init.detail; });
  method(CustomEvent.prototype, 'initCustomEvent', function (type, bubbles, cancelable, detail) {
    this.initEvent(type, bubbles, cancelable); this.detail = detail;
  });
  var UIEvent = subEvent('UIEvent');
  var MouseEvent = subEvent('MouseEvent', function (init) {
    this.clientX = init.clientX || 0; this.clientY = init.clientY || 0; this.button = init.button || 0;
  });
  global.Event = Event;

  function listenersOf(target) {
    if (!target.__listeners) hide(target, '__listeners', {});
    return target.__listeners;
  }
  var EventTargetMethods = {
    addEventListener: function (type, fn, options) {
      if (!fn) return;
      var capture = typeof options === 'object' && options !== null ? !!options.capture : !!options;
      var list = listenersOf(this)[type] || (listenersOf(this)[type] = []);
      for (var i = 0; i < list.length; i++) if (list[i].fn === fn && list[i].capture === capture) return;
      list.push({ fn: fn, capture: capture, once: !!(options && options.once) });
    },
    removeEventListener: function (type, fn, options) {
      var capture = typeof options === 'object' && options !== null ? !!options.capture : !!options;
      var list = this.__listeners && this.__listeners[type];
      if (!list) return;
      for (var i = 0; i < list.length; i++) {
        if (list[i].fn === fn && list[i].capture === capture) { list[i].removed = true; list.splice(i, 1); return; }
      }
    },
    dispatchEvent: function (event) { return dispatch(this, event); }
  };

  // An error in one listener is reported and the others still run, as in a
  // browser.
  function callListener(fn, self, event) {
    try {
      if (typeof fn === 'function') fn.call(self, event);
      else if (fn && typeof fn.handleEvent === 'function') fn.handleEvent(event);
    } catch (e) {
      native.reportError(e);
    }
  }

  // An on... property, or an on... attribute compiled on first use.
  function handlerOf(target, type) {
    var key = 'on' + type;
    var fn = target[key];
    if (typeof fn === 'function') return fn;
    var holder = target === global ? (type === 'load' || type === 'unload' ? document.body : null) : target;
    if (!holder || holder.nodeType !== ELEMENT) return null;
    var code = holder.getAttribute(key);
    if (code === null) return null;
    if (!holder.__compiled) hide(holder, '__compiled', {});
    var compiled = holder.__compiled[key];
    if (!compiled || compiled.code !== code) {
      try {
        compiled = { code: code, fn: new Function('event', code) };
      } catch (e) {
        native.reportError(e);
        compiled = { code: code, fn: null };
      }
      holder.__compiled[key] = compiled;
    }
    return compiled.fn;
  }

  function invoke(target, event, phase) {
    event.currentTarget = target;
    event.eventPhase = phase;
    if (phase !== 1) {
      var handler = handlerOf(target, event.type);
      if (handler) {
        try {
          if (handler.call(target, event) === false) event.preventDefault();
        } catch (e) {
          native.reportError(e);
        }
      }
    }
    var list = target.__listeners && target.__listeners[event.type];
    if (!list) return;
    list = list.slice();
    for (var i = 0; i < list.length && !event._stopNow; i++) {
      var l = list[i];
      if (l.removed || (phase === 1 && !l.capture) || (phase === 3 && l.capture)) continue;
      if (l.once) EventTargetMethods.removeEventListener.call(target, event.type, l.fn, l.capture);
      callListener(l.fn, target, event);
    }
  }

  function dispatch(target, event) {
    event.target = target;
    event._stop = event._stopNow = false;
    var path = [];
    if (target !== global) {
      for (var n = target._parent; n; n = n._parent) path.push(n);
      if (path.length && path[path.length - 1] === document) path.push(global);
      else if (target === document) path.push(global);
    }
    var i;
    for (i = path.length - 1; i >= 0 && !event._stop; i--) invoke(path[i], event, 1);
    if (!event._stop) invoke(target, event, 2);
    if (event.bubbles) for (i = 0; i < path.length && !event._stop; i++) invoke(path[i], event, 3);
    event.currentTarget = null;
    event.eventPhase = 0;
    return !event.defaultPrevented;
  }

  function fire(target, type, bubbles, cancelable) {
    return dispatch(target, new Event(type, { bubbles: bubbles, cancelable: cancelable }));
  }

  // ---- Styles ----

  function camel(name) { return name.replace(/-([a-z])/g, function (m, c) { return c.toUpperCase(); }); }
  function kebab(name) { return name.replace(/[A-Z]/g, function (c) { return '-' + c.toLowerCase(); }); }

  function Style() {}
  function parseStyleInto(style, text) {
    var keys = Object.keys(style);
    for (var k = 0; k < keys.length; k++) delete style[keys[k]];
    var parts = String(text || '').split(';');
    for (var i = 0; i < parts.length; i++) {
      var colon = parts[i].indexOf(':');
      if (colon < 0) continue;
      var name = parts[i].slice(0, colon).replace(/^\s+|\s+$/g, '').toLowerCase();
      var value = parts[i].slice(colon + 1).replace(/^\s+|\s+$/g, '').replace(/\s*!important$/, '');
      if (name) style[camel(name)] = value;
    }
  }
  function styleText(style) {
    var out = [];
    for (var key in style) {
      if (!Object.prototype.hasOwnProperty.call(style, key)) continue;
      var value = style[key];
      if (value === null || value === undefined || value === '' || typeof value === 'function') continue;
      out.push(kebab(key) + ': ' + value + ';');
    }
    return out.join(' ');
  }
  method(Style.prototype, 'setProperty', function (name, value) { this[camel(lower(name))] = String(value); });
  method(Style.prototype, 'getPropertyValue', function (name) {
    var value = this[camel(lower(name))];
    return value === undefined || value === null ? '' : String(value);
  });
  method(Style.prototype, 'removeProperty', function (name) {
    var key = camel(lower(name)), old = this.getPropertyValue(name);
    delete this[key];
    return old;
  });
  accessor(Style.prototype, 'cssText', function () { return styleText(this); }, function (text) { parseStyleInto(this, text); });

  // ---- Nodes ----

  function Node() {}
  function Element() {}
  function CharacterData() {}
  function Document() {}
  function DocumentFragment() {}
  Element.prototype = Object.create(Node.prototype);
  CharacterData.prototype = Object.create(Node.prototype);
  Document.prototype = Object.create(Node.prototype);
  DocumentFragment.prototype = Object.create(Node.prototype);
  Node.ELEMENT_NODE = ELEMENT; Node.TEXT_NODE = TEXT; Node.COMMENT_NODE = COMMENT;
  Node.DOCUMENT_NODE = DOCUMENT; Node.DOCUMENT_FRAGMENT_NODE = FRAGMENT;
  for (var m in EventTargetMethods) method(Node.prototype, m, EventTargetMethods[m]);
  global.Node = Node; global.Element = Element; global.HTMLElement = Element;
  global.Document = Document; global.DocumentFragment = DocumentFragment;

  function initNode(node, type) {
    hide(node, '_id', nextNodeId++);
    hide(node, '_type', type);
    hide(node, '_parent', null);
    hide(node, '_children', []);
    return node;
  }
  function makeElement(name) {
    var el = initNode(Object.create(Element.prototype), ELEMENT);
    hide(el, '_name', lower(name));
    hide(el, '_attrs', []);
    hide(el, '_style', new Style());
    return el;
  }
  function makeText(text, type) {
    var node = initNode(Object.create(CharacterData.prototype), type || TEXT);
    hide(node, '_data', String(text));
    return node;
  }

  function isConnected(node) {
    while (node._parent) node = node._parent;
    return node === document;
  }
  // Every node of the subtree of `root` (itself included), in document order.
  function walk(root, visit) {
    var stack = [root];
    while (stack.length) {
      var node = stack.pop();
      if (visit(node) === false) return;
      for (var i = node._children.length - 1; i >= 0; i--) stack.push(node._children[i]);
    }
  }
  function descendantElements(root, test) {
    var out = [];
    walk(root, function (node) { if (node !== root && node._type === ELEMENT && test(node)) out.push(node); });
    return nodeList(out);
  }

  function detach(node) {
    var parent = node._parent;
    if (!parent) return;
    var i = parent._children.indexOf(node);
    if (i >= 0) parent._children.splice(i, 1);
    node._parent = null;
  }
  function checkChild(parent, child) {
    if (!child || !(child instanceof Node)) throw new TypeError('parameter is not a Node');
    for (var n = parent; n; n = n._parent) {
      if (n === child) throw new Error('HierarchyRequestError: the new child contains the parent');
    }
  }
  // Inserts before `ref` (null: at the end); a fragment inserts its children.
  function insert(parent, child, ref) {
    checkChild(parent, child);
    var nodes = child._type === FRAGMENT ? child._children.slice() : [child];
    for (var i = 0; i < nodes.length; i++) {
      detach(nodes[i]);
      var at = ref ? parent._children.indexOf(ref) : -1;
      if (at < 0) parent._children.push(nodes[i]); else parent._children.splice(at, 0, nodes[i]);
      nodes[i]._parent = parent;
    }
    if (isConnected(parent)) for (var j = 0; j < nodes.length; j++) inserted(nodes[j]);
    return child;
  }

  // What becomes of elements when they join the document: scripts run,
  // frames and images load.
  function inserted(root) {
    walk(root, function (node) {
      if (node._type !== ELEMENT) return;
      if (node._name === 'script') startScript(node);
      else if (node._name === 'iframe' || node._name === 'frame') startFrame(node);
      else if (node._name === 'img') startImage(node);
    });
  }

  function scriptRuns(el) {
    var type = el.getAttribute('type');
    if (type !== null && !SCRIPT_TYPES[lower(type).replace(/\s*;.*$/, '')]) return false;
    var language = el.getAttribute('language');
    return language === null || language === '' || /^(java|ecma)script/i.test(language);
  }
  function startScript(el) {
    if (el.__started) return;
    var src = el.getAttribute('src');
    var code = el.textContent;
    if (src === null && code === '') return;  // runs once it has a source or text
    hide(el, '__started', true);
    if (!scriptRuns(el)) return;
    if (src !== null) {
      registry[el._id] = el;
      native.loadScript(el._id, src);
      return;
    }
    var previous = currentScript;
    currentScript = el;
    try {
      native.runScript(code, documentURL);
    } finally {
      currentScript = previous;
    }
  }
  function startFrame(el) {
    var src = el.getAttribute('src');
    if (src === null || src === '') return;
    if (el.__frameSrc === src) return;
    hide(el, '__frameSrc', src);
    registry[el._id] = el;
    native.loadFrame(el._id, src, parseInt(getAttr(el, 'width'), 10) || 300, parseInt(getAttr(el, 'height'), 10) || 150);
  }
  function startImage(el) {
    var src = el.getAttribute('src');
    if (src === null || src === '' || el.__imageSrc === src) return;
    hide(el, '__imageSrc', src);
    registry[el._id] = el;
    native.loadImage(el._id, src);
  }

  function attrIndex(el, name) {
    for (var i = 0; i < el._attrs.length; i++) if (el._attrs[i][0] === name) return i;
    return -1;
  }
  function getAttr(el, name) {
    name = lower(name);
    var i = attrIndex(el, name);
    if (name === 'style') {
      var text = styleText(el._style);
      return text || (i >= 0 ? el._attrs[i][1] : null);
    }
    return i >= 0 ? el._attrs[i][1] : null;
  }
  function setAttr(el, name, value) {
    name = lower(name);
    value = String(value);
    var i = attrIndex(el, name);
    if (i >= 0) el._attrs[i][1] = value; else el._attrs.push([name, value]);
    if (name === 'style') parseStyleInto(el._style, value);
    if (isConnected(el)) {
      if (name === 'src' && (el._name === 'iframe' || el._name === 'frame')) startFrame(el);
      if (name === 'src' && el._name === 'img') startImage(el);
      if (name === 'src' && el._name === 'script') startScript(el);
    }
  }

  var NodeProps = {
    nodeType: function () { return this._type; },
    nodeName: function () {
      switch (this._type) {
        case ELEMENT: return this._name.toUpperCase();
        case TEXT: return '#text';
        case COMMENT: return '#comment';
        case DOCUMENT: return '#document';
        default: return '#document-fragment';
      }
    },
    parentNode: function () { return this._parent; },
    parentElement: function () { return this._parent && this._parent._type === ELEMENT ? this._parent : null; },
    childNodes: function () { return nodeList(this._children.slice()); },
    children: function () { return nodeList(this._children.filter(function (n) { return n._type === ELEMENT; })); },
    childElementCount: function () { return this.children.length; },
    firstChild: function () { return this._children[0] || null; },
    lastChild: function () { return this._children[this._children.length - 1] || null; },
    firstElementChild: function () { return this.children[0] || null; },
    lastElementChild: function () { var c = this.children; return c[c.length - 1] || null; },
    nextSibling: function () { return sibling(this, 1, false); },
    previousSibling: function () { return sibling(this, -1, false); },
    nextElementSibling: function () { return sibling(this, 1, true); },
    previousElementSibling: function () { return sibling(this, -1, true); },
    ownerDocument: function () { return this === document ? null : document; },
    isConnected: function () { return isConnected(this); }
  };
  function sibling(node, step, elementsOnly) {
    var parent = node._parent;
    if (!parent) return null;
    for (var i = parent._children.indexOf(node) + step; i >= 0 && i < parent._children.length; i += step) {
      var n = parent._children[i];
      if (!elementsOnly || n._type === ELEMENT) return n;
    }
    return null;
  }
  for (var p in NodeProps) accessor(Node.prototype, p, NodeProps[p]);

  function textOf(node) {
    if (node._type === TEXT || node._type === COMMENT) return node._data;
    var out = '';
    walk(node, function (n) { if (n._type === TEXT) out += n._data; });
    return out;
  }
  accessor(Node.prototype, 'textContent', function () {
    return this._type === DOCUMENT ? null : textOf(this);
  }, function (text) {
    if (this._type === TEXT || this._type === COMMENT) { this._data = String(text); return; }
    var old = this._children.slice();
    for (var i = 0; i < old.length; i++) detach(old[i]);
    if (text !== null && text !== undefined && String(text) !== '') insert(this, makeText(text), null);
  });
  accessor(Node.prototype, 'nodeValue', function () {
    return this._type === TEXT || this._type === COMMENT ? this._data : null;
  }, function (v) { if (this._type === TEXT || this._type === COMMENT) this._data = String(v); });
  accessor(CharacterData.prototype, 'data', function () { return this._data; }, function (v) { this._data = String(v); });
  accessor(CharacterData.prototype, 'length', function () { return this._data.length; });

  method(Node.prototype, 'appendChild', function (child) { return insert(this, child, null); });
  method(Node.prototype, 'insertBefore', function (child, ref) {
    if (ref && ref._parent !== this) throw new Error('NotFoundError: the reference is not a child of this node');
    return insert(this, child, ref || null);
  });
  method(Node.prototype, 'removeChild', function (child) {
    if (!child || child._parent !== this) throw new Error('NotFoundError: the node is not a child of this node');
    detach(child);
    return child;
  });
  method(Node.prototype, 'replaceChild', function (child, old) {
    if (!old || old._parent !== this) throw new Error('NotFoundError: the node is not a child of this node');
    if (child === old) return old;
    insert(this, child, old);
    detach(old);
    return old;
  });
  method(Node.prototype, 'remove', function () { detach(this); });
  method(Node.prototype, 'hasChildNodes', function () { return this._children.length > 0; });
  method(Node.prototype, 'contains', function (other) {
    for (var n = other; n; n = n._parent) if (n === this) return true;
    return false;
  });
  method(Node.prototype, 'cloneNode', function (deep) {
    var copy;
    if (this._type === ELEMENT) {
      copy = makeElement(this._name);
      for (var i = 0; i < this._attrs.length; i++) copy._attrs.push([this._attrs[i][0], this._attrs[i][1]]);
      parseStyleInto(copy._style, styleText(this._style));
    } else if (this._type === FRAGMENT) {
      copy = initNode(Object.create(DocumentFragment.prototype), FRAGMENT);
    } else if (this._type === DOCUMENT) {
      throw new Error('NotSupportedError: documents are not cloned');
    } else {
      copy = makeText(this._data, this._type);
    }
    if (deep) for (var j = 0; j < this._children.length; j++) insert(copy, this._children[j].cloneNode(true), null);
    return copy;
  });

  // ---- Selectors: tag, id, class, attribute; descendant, child and sibling
  // combinators; groups.

  var selectorCache = {};
  function parseSelector(text) {
    text = String(text);
    if (selectorCache[text]) return selectorCache[text];
    var groups = [], chain = [], compound = null, combinator = null, s = text, m;
    function part() {
      if (!compound) { compound = { tag: null, id: null, classes: [], attrs: [], pseudo: [], comb: combinator }; combinator = null; }
      return compound;
    }
    function endCompound() {
      if (compound) { chain.push(compound); compound = null; }
    }
    while (s.length) {
      if ((m = /^\s*([>+~,])\s*/.exec(s))) {
        endCompound();
        if (!chain.length) throw new SyntaxError('bad selector: ' + text);
        if (m[1] === ',') { groups.push(chain); chain = []; combinator = null; } else combinator = m[1];
      } else if ((m = /^\s+/.exec(s))) {
        endCompound();
        if (chain.length && combinator === null) combinator = ' ';
      } else if ((m = /^(\*|[A-Za-z][\w-]*)/.exec(s)) && !compound) {
        part().tag = m[1] === '*' ? null : lower(m[1]);
      } else if ((m = /^#([\w-]+)/.exec(s))) {
        part().id = m[1];
      } else if ((m = /^\.([\w-]+)/.exec(s))) {
        part().classes.push(m[1]);
      } else if ((m = /^\[\s*([\w:-]+)\s*(?:([~|^$*]?=)\s*(?:"([^"]*)"|'([^']*)'|([^\]\s]*))\s*)?\]/.exec(s))) {
        part().attrs.push({ name: lower(m[1]), op: m[2] || null, value: m[3] !== undefined ? m[3] : m[4] !== undefined ? m[4] : m[5] });
      } else if ((m = /^:(first-child|last-child|only-child)/.exec(s))) {
        part().pseudo.push(m[1]);
      } else {
        throw new SyntaxError('unsupported selector: ' + text);
      }
      s = s.slice(m[0].length);
    }
    endCompound();
    if (!chain.length || combinator) throw new SyntaxError('bad selector: ' + text);
    groups.push(chain);
    selectorCache[text] = groups;
    return groups;
  }
  function attrMatches(el, a) {
    var v = getAttr(el, a.name);
    if (v === null) return false;
    switch (a.op) {
      case null: return true;
      case '=': return v === a.value;
      case '~=': return (' ' + v.replace(/\s+/g, ' ') + ' ').indexOf(' ' + a.value + ' ') >= 0;
      case '|=': return v === a.value || v.indexOf(a.value + '-') === 0;
      case '^=': return a.value !== '' && v.indexOf(a.value) === 0;
      case '$=': return a.value !== '' && v.slice(-a.value.length) === a.value;
      default: return a.value !== '' && v.indexOf(a.value) >= 0;
    }
  }
  function compoundMatches(el, c) {
    if (c.tag && el._name !== c.tag) return false;
    if (c.id !== null && getAttr(el, 'id') !== c.id) return false;
    if (c.classes.length) {
      var names = ' ' + (getAttr(el, 'class') || '').replace(/\s+/g, ' ') + ' ';
      for (var i = 0; i < c.classes.length; i++) if (names.indexOf(' ' + c.classes[i] + ' ') < 0) return false;
    }
    for (var j = 0; j < c.attrs.length; j++) if (!attrMatches(el, c.attrs[j])) return false;
    for (var k = 0; k < c.pseudo.length; k++) {
      var first = !sibling(el, -1, true), last = !sibling(el, 1, true);
      if (c.pseudo[k] === 'first-child' && !first) return false;
      if (c.pseudo[k] === 'last-child' && !last) return false;
      if (c.pseudo[k] === 'only-child' && !(first && last)) return false;
    }
    return true;
  }
  function chainMatches(el, chain, i) {
    if (!compoundMatches(el, chain[i])) return false;
    if (i === 0) return true;
    var comb = chain[i].comb, n;
    if (comb === '>') { n = el._parent; return !!n && n._type === ELEMENT && chainMatches(n, chain, i - 1); }
    if (comb === '+') { n = sibling(el, -1, true); return !!n && chainMatches(n, chain, i - 1); }
    if (comb === '~') {
      for (n = sibling(el, -1, true); n; n = sibling(n, -1, true)) if (chainMatches(n, chain, i - 1)) return true;
      return false;
    }
    for (n = el._parent; n && n._type === ELEMENT; n = n._parent) if (chainMatches(n, chain, i - 1)) return true;
    return false;
  }
  function matches(el, groups) {
    for (var g = 0; g < groups.length; g++) if (chainMatches(el, groups[g], groups[g].length - 1)) return true;
    return false;
  }
  function byClass(names) {
    var wanted = String(names).split(/\s+/).filter(function (n) { return n; });
    return function (el) {
      var have = ' ' + (getAttr(el, 'class') || '').replace(/\s+/g, ' ') + ' ';
      for (var i = 0; i < wanted.length; i++) if (have.indexOf(' ' + wanted[i] + ' ') < 0) return false;
      return wanted.length > 0;
    };
  }
  var QueryMethods = {
    getElementsByTagName: function (name) {
      name = lower(name);
      return descendantElements(this, function (el) { return name === '*' || el._name === name; });
    },
    getElementsByClassName: function (names) { return descendantElements(this, byClass(names)); },
    querySelectorAll: function (selector) {
      var groups = parseSelector(selector);
      return descendantElements(this, function (el) { return matches(el, groups); });
    },
    querySelector: function (selector) {
      var groups = parseSelector(selector), found = null, root = this;
      walk(this, function (n) {
        if (n !== root && n._type === ELEMENT && matches(n, groups)) { found = n; return false; }
      });
      return found;
    }
  };
  for (var q in QueryMethods) {
    method(Element.prototype, q, QueryMethods[q]);
    method(Document.prototype, q, QueryMethods[q]);
    method(DocumentFragment.prototype, q, QueryMethods[q]);
  }

  // ---- Serialising and parsing markup ----

  function escapeText(s) { return s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/\u00a0/g, '&nbsp;'); }
  function escapeAttr(s) { return s.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/\u00a0/g, '&nbsp;'); }
  function serialize(node, inRawText) {
    if (node._type === TEXT) return inRawText ? node._data : escapeText(node._data);
    if (node._type === COMMENT) return '<!--' + node._data + '-->';
    if (node._type !== ELEMENT) return serializeChildren(node, false);
    var out = '<' + node._name;
    for (var i = 0; i < node._attrs.length; i++) {
      var name = node._attrs[i][0];
      var value = name === 'style' ? getAttr(node, 'style') : node._attrs[i][1];
      out += ' ' + name + '="' + escapeAttr(value) + '"';
    }
    if (attrIndex(node, 'style') < 0 && styleText(node._style)) out += ' style="' + escapeAttr(styleText(node._style)) + '"';
    out += '>';
    if (VOID[node._name]) return out;
    return out + serializeChildren(node, !!RAW_TEXT[node._name]) + '</' + node._name + '>';
  }
  function serializeChildren(node, rawText) {
    var out = '';
    for (var i = 0; i < node._children.length; i++) out += serialize(node._children[i], rawText);
    return out;
  }
  // Markup becomes nodes; scripts in it never run (as with innerHTML).
  function build(desc) {
    if (desc[0] === TEXT || desc[0] === COMMENT) return makeText(desc[1], desc[0]);
    var el = makeElement(desc[1]);
    var attrs = desc[2];
    for (var i = 0; i + 1 < attrs.length; i += 2) setAttr(el, attrs[i], attrs[i + 1]);
    if (el._name === 'script') hide(el, '__started', true);
    var children = desc[3];
    for (var j = 0; j < children.length; j++) {
      var child = build(children[j]);
      el._children.push(child);
      child._parent = el;
    }
    return el;
  }
  function fragmentOf(html, context) {
    var fragment = initNode(Object.create(DocumentFragment.prototype), FRAGMENT);
    var descs = native.parseFragment(String(html === null || html === undefined ? '' : html), context);
    for (var i = 0; i < descs.length; i++) {
      var node = build(descs[i]);
      fragment._children.push(node);
      node._parent = fragment;
    }
    return fragment;
  }

  // ---- Elements ----

  function reflect(name, attr) {
    accessor(Element.prototype, name, function () {
      var v = getAttr(this, attr);
      return v === null ? '' : v;
    }, function (v) { setAttr(this, attr, v); });
  }
  reflect('id', 'id'); reflect('className', 'class'); reflect('name', 'name'); reflect('title', 'title');
  reflect('alt', 'alt'); reflect('target', 'target'); reflect('rel', 'rel'); reflect('value', 'value');
  reflect('method', 'method'); reflect('lang', 'lang');
  accessor(Element.prototype, 'type', function () {
    var v = getAttr(this, 'type');
    if (v === null) return this._name === 'button' ? 'submit' : this._name === 'input' ? 'text' : '';
    return lower(v);
  }, function (v) { setAttr(this, 'type', v); });
  // URL attributes read resolved against the page, as in a browser.
  function reflectURL(name) {
    accessor(Element.prototype, name, function () {
      var v = getAttr(this, name);
      if (v === null) return '';
      var resolved = native.resolve(v);
      return resolved === undefined ? v : resolved;
    }, function (v) { setAttr(this, name, v); });
  }
  reflectURL('src'); reflectURL('href'); reflectURL('action');
  function reflectNumber(name) {
    accessor(Element.prototype, name, function () {
      var v = parseInt(getAttr(this, name), 10);
      if (!isNaN(v)) return v;
      if (this._name === 'img' && this.__natural) return this.__natural[name === 'width' ? 0 : 1];
      return 0;
    }, function (v) { setAttr(this, name, v); });
  }
  reflectNumber('width'); reflectNumber('height');
  accessor(Element.prototype, 'naturalWidth', function () { return this.__natural ? this.__natural[0] : 0; });
  accessor(Element.prototype, 'naturalHeight', function () { return this.__natural ? this.__natural[1] : 0; });
  accessor(Element.prototype, 'complete', function () { return !this.__imageSrc || !!this.__imageDone; });
  accessor(Element.prototype, 'tagName', function () { return this._name.toUpperCase(); });
  accessor(Element.prototype, 'style', function () { return this._style; }, function (text) { parseStyleInto(this._style, text); });
  accessor(Element.prototype, 'attributes', function () {
    var out = [];
    for (var i = 0; i < this._attrs.length; i++) out.push({ name: this._attrs[i][0], value: getAttr(this, this._attrs[i][0]) });
    return nodeList(out);
  });
  accessor(Element.prototype, 'text', function () { return this.textContent; }, function (v) { this.textContent = v; });
  accessor(Element.prototype, 'innerText', function () { return this.textContent; }, function (v) { this.textContent = v; });
  accessor(Element.prototype, 'innerHTML', function () {
    return serializeChildren(this, !!RAW_TEXT[this._name]);
  }, function (html) {
    var fragment = fragmentOf(html, this._name);
    var old = this._children.slice();
    for (var i = 0; i < old.length; i++) detach(old[i]);
    insert(this, fragment, null);
  });
  accessor(Element.prototype, 'outerHTML', function () { return serialize(this, false); }, function (html) {
    var parent = this._parent;
    if (!parent) throw new Error('NoModificationAllowedError: the element has no parent');
    insert(parent, fragmentOf(html, parent._type === ELEMENT ? parent._name : 'body'), this);
    detach(this);
  });
  accessor(Element.prototype, 'classList', function () {
    var el = this;
    function names() { return (getAttr(el, 'class') || '').split(/\s+/).filter(function (n) { return n; }); }
    return {
      contains: function (n) { return names().indexOf(n) >= 0; },
      add: function () {
        var list = names();
        for (var i = 0; i < arguments.length; i++) if (list.indexOf(arguments[i]) < 0) list.push(arguments[i]);
        setAttr(el, 'class', list.join(' '));
      },
      remove: function () {
        var gone = Array.prototype.slice.call(arguments);
        setAttr(el, 'class', names().filter(function (n) { return gone.indexOf(n) < 0; }).join(' '));
      },
      toggle: function (n) {
        if (this.contains(n)) { this.remove(n); return false; }
        this.add(n);
        return true;
      },
      get length() { return names().length; }
    };
  });
  method(Element.prototype, 'getAttribute', function (name) { return getAttr(this, name); });
  method(Element.prototype, 'setAttribute', function (name, value) { setAttr(this, name, value); });
  method(Element.prototype, 'hasAttribute', function (name) { return getAttr(this, name) !== null; });
  method(Element.prototype, 'removeAttribute', function (name) {
    name = lower(name);
    var i = attrIndex(this, name);
    if (i >= 0) this._attrs.splice(i, 1);
    if (name === 'style') parseStyleInto(this._style, '');
  });
  method(Element.prototype, 'matches', function (selector) { return matches(this, parseSelector(selector)); });
  method(Element.prototype, 'closest', function (selector) {
    var groups = parseSelector(selector);
    for (var n = this; n && n._type === ELEMENT; n = n._parent) if (matches(n, groups)) return n;
    return null;
  });
  method(Element.prototype, 'insertAdjacentHTML', function (where, html) {
    where = lower(where);
    var parent = this._parent;
    var context = where === 'afterbegin' || where === 'beforeend' ? this._name : parent && parent._type === ELEMENT ? parent._name : 'body';
    var fragment = fragmentOf(html, context);
    if (where === 'beforebegin') insert(parent, fragment, this);
    else if (where === 'afterend') insert(parent, fragment, sibling(this, 1, false));
    else if (where === 'afterbegin') insert(this, fragment, this._children[0] || null);
    else insert(this, fragment, null);
  });
  method(Element.prototype, 'focus', function () {});
  method(Element.prototype, 'blur', function () {});
  method(Element.prototype, 'click', function () {
    if (dispatch(this, new MouseEvent('click', { bubbles: true, cancelable: true }))) activate(this);
  });
  method(Element.prototype, 'submit', function () { if (this._name === 'form') submitForm(this); });

  // A click's default action: the nearest link follows its href, a submit
  // button submits its form.
  function activate(target) {
    for (var n = target; n && n._type === ELEMENT; n = n._parent) {
      if ((n._name === 'a' || n._name === 'area') && getAttr(n, 'href') !== null) {
        follow(getAttr(n, 'href'), 0);
        return;
      }
      var type = lower(getAttr(n, 'type') || (n._name === 'button' ? 'submit' : ''));
      if ((n._name === 'button' || n._name === 'input') && (type === 'submit' || type === 'image')) {
        var form = n.closest('form');
        if (form && fire(form, 'submit', true, true)) submitForm(form);
        return;
      }
    }
  }
  function follow(url, type, method, body) {
    url = String(url);
    if (/^\s*javascript:/i.test(url)) {
      native.runScript(decodeURIComponent(url.replace(/^\s*javascript:/i, '')), documentURL);
      return;
    }
    native.navigate(url, type, method || 'GET', body || '');
  }
  function submitForm(form) {
    var pairs = [];
    descendantElements(form, function (el) {
      if (el._name !== 'input' && el._name !== 'textarea' && el._name !== 'select') return false;
      var name = getAttr(el, 'name');
      if (!name || getAttr(el, 'disabled') !== null) return false;
      var type = lower(getAttr(el, 'type') || '');
      if ((type === 'checkbox' || type === 'radio') && getAttr(el, 'checked') === null) return false;
      if (type === 'submit' || type === 'button' || type === 'image' || type === 'reset' || type === 'file') return false;
      var value = el._name === 'textarea' ? el.textContent : getAttr(el, 'value') || (type === 'checkbox' || type === 'radio' ? 'on' : '');
      if (el._name === 'select') {
        var chosen = el.querySelector('option[selected]') || el.querySelector('option');
        value = chosen ? (getAttr(chosen, 'value') !== null ? getAttr(chosen, 'value') : chosen.textContent) : '';
      }
      pairs.push(encodeURIComponent(name).replace(/%20/g, '+') + '=' + encodeURIComponent(value).replace(/%20/g, '+'));
      return false;
    });
    var data = pairs.join('&');
    var action = getAttr(form, 'action') || documentURL;
    if (lower(getAttr(form, 'method') || 'get') === 'post') {
      follow(action, 1, 'POST', data);
    } else {
      follow(action.replace(/[?#].*$/, '') + '?' + data, 1, 'GET', '');
    }
  }

  // ---- The document ----

  var document = initNode(Object.create(Document.prototype), DOCUMENT);
  var readyState = 'loading';
  var cookie = '';
  function firstTag(root, name) {
    var found = null;
    walk(root, function (n) { if (n._type === ELEMENT && n._name === name) { found = n; return false; } });
    return found;
  }
  accessor(Document.prototype, 'documentElement', function () { return this._children.filter(function (n) { return n._type === ELEMENT; })[0] || null; });
  accessor(Document.prototype, 'head', function () { var h = this.documentElement; return h ? firstTag(h, 'head') : null; });
  accessor(Document.prototype, 'body', function () {
    var h = this.documentElement;
    if (!h) return null;
    for (var i = 0; i < h._children.length; i++) if (h._children[i]._name === 'body') return h._children[i];
    return null;
  });
  accessor(Document.prototype, 'readyState', function () { return readyState; });
  accessor(Document.prototype, 'title', function () {
    var t = firstTag(this, 'title');
    return t ? t.textContent.replace(/\s+/g, ' ').replace(/^ | $/g, '') : '';
  }, function (text) {
    var t = firstTag(this, 'title');
    if (!t && this.head) t = this.head.appendChild(makeElement('title'));
    if (t) t.textContent = text;
  });
  accessor(Document.prototype, 'cookie', function () { return cookie; }, function (v) { cookie = String(v); });
  accessor(Document.prototype, 'URL', function () { return documentURL; });
  accessor(Document.prototype, 'documentURI', function () { return documentURL; });
  accessor(Document.prototype, 'referrer', function () { return ''; });
  accessor(Document.prototype, 'domain', function () { return urlParts(documentURL).hostname; });
  accessor(Document.prototype, 'defaultView', function () { return global; });
  accessor(Document.prototype, 'currentScript', function () { return currentScript; });
  accessor(Document.prototype, 'activeElement', function () { return this.body; });
  accessor(Document.prototype, 'location', function () { return location; }, function (v) { follow(v, 5); });
  method(Document.prototype, 'getElementById', function (id) {
    id = String(id);
    var found = null;
    walk(this, function (n) { if (n._type === ELEMENT && getAttr(n, 'id') === id) { found = n; return false; } });
    return found;
  });
  method(Document.prototype, 'getElementsByName', function (name) {
    return descendantElements(this, function (el) { return getAttr(el, 'name') === String(name); });
  });
  method(Document.prototype, 'createElement', function (name) { return makeElement(name); });
  method(Document.prototype, 'createElementNS', function (ns, name) { return makeElement(name); });
  method(Document.prototype, 'createTextNode', function (text) { return makeText(text); });
  method(Document.prototype, 'createComment', function (text) { return makeText(text, COMMENT); });
  method(Document.prototype, 'createDocumentFragment', function () { return initNode(Object.create(DocumentFragment.prototype), FRAGMENT); });
  method(Document.prototype, 'createEvent', function (kind) {
    var E = /^CustomEvents?$/.test(kind) ? CustomEvent : /^MouseEvents?$/.test(kind) ? MouseEvent : /^UIEvents?$/.test(kind) ? UIEvent : Event;
    return new E('');
  });
  method(Document.prototype, 'hasFocus', function () { return true; });

  // ---- window ----

  function urlParts(url) {
    var m = /^([A-Za-z][A-Za-z0-9+.-]*:)(?:\/\/([^\/?#]*))?([^?#]*)(\?[^#]*)?(#.*)?$/.exec(url) || [];
    var host = m[2] || '', at = host.lastIndexOf('@');
    if (at >= 0) host = host.slice(at + 1);
    var port = /:(\d*)$/.exec(host);
    return {
      protocol: m[1] || '', host: host, hostname: port ? host.slice(0, port.index) : host, port: port ? port[1] : '',
      pathname: m[3] || (m[2] !== undefined ? '/' : ''), search: m[4] && m[4] !== '?' ? m[4] : '', hash: m[5] && m[5] !== '#' ? m[5] : ''
    };
  }
  var location = {};
  accessor(location, 'href', function () { return documentURL; }, function (v) { follow(v, 5); });
  ['protocol', 'host', 'hostname', 'port', 'pathname', 'search', 'hash'].forEach(function (key) {
    accessor(location, key, function () { return urlParts(documentURL)[key]; });
  });
  accessor(location, 'origin', function () { var p = urlParts(documentURL); return p.protocol + '//' + p.host; });
  method(location, 'assign', function (url) { follow(url, 5); });
  method(location, 'replace', function (url) { follow(url, 5); });
  method(location, 'reload', function () { follow(documentURL, 3); });
  method(location, 'toString', function () { return documentURL; });

  var timers = {}, nextTimer = 1, timerNesting = 0;
  function addTimer(fn, ms, args, repeat) {
    var id = nextTimer++;
    ms = Number(ms) || 0;
    var nesting = timerNesting + 1;
    // As in a browser: deeply nested timeouts and every interval wait at
    // least 4 ms, so that no timer chain can hold the run loop at one instant.
    if ((repeat || nesting > 5) && ms < 4) ms = 4;
    timers[id] = { fn: fn, args: args, repeat: repeat, nesting: nesting };
    native.setTimer(id, ms, repeat);
    return id;
  }
  function clearTimer(id) {
    if (timers[id]) {
      delete timers[id];
      native.clearTimer(id);
    }
  }
  var windowProps = {
    window: global, self: global, top: global, parent: global, frames: global, document: document,
    navigator: {
      get userAgent() { return native.userAgent(); }, platform: 'iPhone', language: 'en-US', languages: ['en-US'],
      vendor: 'Apple Computer, Inc.', cookieEnabled: true, onLine: true, appName: 'Netscape',
      get appVersion() { return native.userAgent().replace(/^Mozilla\//, ''); }
    },
    setTimeout: function (fn, ms) { return addTimer(fn, ms, Array.prototype.slice.call(arguments, 2), false); },
    setInterval: function (fn, ms) { return addTimer(fn, ms, Array.prototype.slice.call(arguments, 2), true); },
    clearTimeout: clearTimer,
    clearInterval: clearTimer,
    getComputedStyle: function (el) { return el._style; },
    console: (function () {
      function writer(level) {
        return function () {
          var parts = [];
          for (var i = 0; i < arguments.length; i++) {
            var a = arguments[i];
            if (typeof a === 'object' && a !== null) {
              try { a = JSON.stringify(a); } catch (e) { a = String(a); }
            }
            parts.push(String(a));
          }
          native.log(level, parts.join(' '));
        };
      }
      return { log: writer('log'), info: writer('info'), warn: writer('warn'), error: writer('error'), debug: writer('debug') };
    })()
  };
  for (var w in windowProps) hide(global, w, windowProps[w]);
  for (var e in EventTargetMethods) hide(global, e, EventTargetMethods[e]);
  accessor(global, 'location', function () { return location; }, function (v) { follow(v, 5); });
  accessor(global, 'innerWidth', function () { return native.viewport()[0]; });
  accessor(global, 'innerHeight', function () { return native.viewport()[1]; });
  accessor(global, 'screen', function () {
    var size = native.viewport();
    return { width: size[0], height: size[1], availWidth: size[0], availHeight: size[1] };
  });

  // ---- Visible content ----

  function displayOf(el) { return lower(el._style.display || ''); }
  function visibilityOf(el, inherited) {
    var v = lower(el._style.visibility || '');
    if (v === 'hidden' || v === 'collapse') return true;
    if (v === 'visible') return false;
    return inherited;
  }
  function px(value) {
    if (value === undefined || value === null) return undefined;
    var m = /^\s*(-?\d+(?:\.\d+)?)(px)?\s*$/.exec(String(value));
    return m ? Number(m[1]) : undefined;
  }
  function backgroundOf(el) {
    var color = el._style.backgroundColor;
    var shorthand = el._style.background;
    if (!color && shorthand) color = String(shorthand).replace(/url\([^)]*\)/g, ' ').replace(/^\s+|\s+$/g, '').split(/\s+(?![^(]*\))/)[0];
    return color || undefined;
  }
  function backgroundImageOf(el) {
    var image = String(el._style.backgroundImage || '') + ' ' + String(el._style.background || '');
    return /url\(/.test(image);
  }
  function ownText(el) {
    var out = '';
    for (var i = 0; i < el._children.length; i++) if (el._children[i]._type === TEXT) out += el._children[i]._data;
    return out.replace(/\s+/g, ' ').replace(/^ | $/g, '');
  }
  // One element, flat: `parent` is the place of its parent in the list
  // (-1: the body), so that deep pages stay within JSON's nesting limit.
  function describe(el, hiddenAbove, parent, out) {
    var hidden = visibilityOf(el, hiddenAbove);
    var position = lower(el._style.position || '');
    var d = {
      tag: el._name, parent: parent, displayNone: displayOf(el) === 'none', visibilityHidden: hidden,
      absolute: position === 'absolute' || position === 'fixed',
      left: px(el._style.left), top: px(el._style.top),
      width: px(el._style.width), height: px(el._style.height),
      background: backgroundOf(el), color: el._style.color || undefined,
      image: false, imageWidth: 0, imageHeight: 0, text: ownText(el)
    };
    if (el._name === 'img' || backgroundImageOf(el)) {
      d.image = true;
      var natural = el.__natural || [0, 0];
      var w = d.width !== undefined ? d.width : px(getAttr(el, 'width'));
      var h = d.height !== undefined ? d.height : px(getAttr(el, 'height'));
      d.imageWidth = w !== undefined ? w : natural[0];
      d.imageHeight = h !== undefined ? h : natural[1];
    }
    var place = out.length;
    out.push(d);
    for (var i = 0; i < el._children.length; i++) {
      var c = el._children[i];
      if (c._type === ELEMENT && !NOT_RENDERED[c._name]) describe(c, hidden, place, out);
    }
    return d;
  }
  function visibleContent() {
    var body = document.body, html = document.documentElement;
    var out = { background: undefined, elements: [] };
    if (!body) return JSON.stringify(out);
    out.background = backgroundOf(body) || (html && backgroundOf(html));
    var hidden = visibilityOf(body, html ? visibilityOf(html, false) : false);
    var bodyHidden = displayOf(body) === 'none' || (html && displayOf(html) === 'none');
    // Text straight inside the body stands as an anonymous block.
    for (var i = 0; i < body._children.length; i++) {
      var c = body._children[i];
      var d = null;
      if (c._type === ELEMENT && !NOT_RENDERED[c._name]) d = describe(c, hidden, -1, out.elements);
      else if (c._type === TEXT && /\S/.test(c._data)) {
        d = { tag: '', parent: -1, displayNone: false, visibilityHidden: hidden, absolute: false, image: false,
              imageWidth: 0, imageHeight: 0, text: c._data.replace(/\s+/g, ' ').replace(/^ | $/g, ''),
              color: body._style.color || undefined };
        out.elements.push(d);
      }
      if (d && bodyHidden) d.displayNone = true;
    }
    return JSON.stringify(out);
  }

  // ---- What the engine calls ----

  var stack = [];
  function top() { return stack.length ? stack[stack.length - 1] : document; }
  return {
    begin: function (url) { documentURL = url; },
    // Parse steps: the parser's nodes join the document one by one, so a
    // script sees the document as far as it has been parsed.
    open: function (name, attrs) {
      var el = makeElement(name);
      for (var i = 0; i + 1 < attrs.length; i += 2) setAttr(el, attrs[i], attrs[i + 1]);
      if (el._name === 'script') hide(el, '__started', true);  // the parser runs it
      insert(top(), el, null);
      stack.push(el);
      if (el._name === 'script') registry[el._id] = el;
      return el._name === 'script' ? el._id : 0;
    },
    text: function (text, comment) { insert(top(), makeText(text, comment ? COMMENT : TEXT), null); },
    close: function () { stack.pop(); },
    setCurrentScript: function (id) { currentScript = id ? registry[id] || null : null; },
    // A load of a script, frame or image the page asked for has ended.
    loaded: function (id, ok, width, height) {
      var el = registry[id];
      if (!el) return;
      delete registry[id];
      if (el._name === 'img') {
        hide(el, '__imageDone', true);
        if (ok) hide(el, '__natural', [width, height]);
      }
      fire(el, ok ? 'load' : 'error', false, false);
    },
    forget: function (id) { delete registry[id]; },
    contentLoaded: function () {
      readyState = 'interactive';
      fire(document, 'readystatechange', false, false);
      fire(document, 'DOMContentLoaded', true, false);
    },
    windowLoaded: function () {
      readyState = 'complete';
      fire(document, 'readystatechange', false, false);
      var event = new Event('load', {});
      dispatch(global, event);
      // The window's load event reports the document as its target.
      event.target = document;
    },
    fireTimer: function (id) {
      var t = timers[id];
      if (!t) return;
      if (!t.repeat) delete timers[id];
      var outer = timerNesting;
      timerNesting = t.nesting;
      try {
        if (typeof t.fn === 'function') t.fn.apply(global, t.args);
        else native.runScript(String(t.fn), documentURL);
      } finally {
        timerNesting = outer;
      }
    },
    visibleContent: visibleContent
  };
})
