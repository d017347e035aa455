// The page's half of the web backend: the elements the windows are made
// of, their events handed to the program, timers and delayed work, and
// the voice box's file fetched and handed to the program. The
// C++ half (webwindow.cpp, webbackend.cpp) decides what is shown; this
// file only does it. Linked into velk-simulator.js with --js-library.
mergeInto(LibraryManager.library, {
  $velk__deps: ['malloc'],
  $velk: {
    windows: {},   // by id: {outer, client, controls: {row: element}, timers: {row: interval}, ring}
    posts: {},     // pending delayed work by id: a timeout, true for the queue, or {frame}
    queue: [],     // work due now, run one item a task, after what the page has to do
    channel: null,
    ended: false,
    // A call into the program that ends with the program: nothing runs after it.
    call: function(f) {
      if (!velk.ended) f();
    },
    colour: function(c) {
      return c < 0 ? '' : '#' + (0x1000000 + c).toString(16).slice(1);
    },
    str: function(p) {
      return p ? UTF8ToString(p) : '';
    },
    // A string for the program, which frees it.
    alloc: function(s) {
      var n = lengthBytesUTF8(s) + 1, p = _malloc(n);
      stringToUTF8(s, p, n);
      return p;
    },
    runQueue: function() {
      var id = velk.queue.shift();
      if (velk.queue.length) velk.channel.port2.postMessage(0);
      if (id in velk.posts) {
        delete velk.posts[id];
        velk.call(function() { Module['_velk_run'](id); });
      }
    },
    drop: function(id) {
      var p = velk.posts[id];
      if (p && p.frame) cancelAnimationFrame(p.frame);
      else if (p !== true) clearTimeout(p);
      delete velk.posts[id];
    },
    // The page's copy of the first window (prerender.js) goes as the
    // program's own shows, in the same task, so the page paints no frame
    // between the two; the button clicked on the copy, if any, is clicked
    // on the program's, as its next task (not inside the program's show).
    takeOver: function(outer) {
      var early = document.querySelector('#desktop > .early'), kept = window.velkKept, path = [];
      if (!early) return;
      for (var e = kept; e && e != early; e = e.parentNode) path.unshift(Array.prototype.indexOf.call(e.parentNode.children, e));
      early.remove();
      if (!kept) return;
      for (var i = 0, to = outer; to && i < path.length; i++) to = to.children[path[i]];
      if (to) setTimeout(function() { to.click(); });
    },
    // The view's frames are drawn by a worker, into the view's canvas handed
    // over to it: a frame then reaches the screen without the page's own
    // rendering (style, layout, paint) running for it. Only in the browsers
    // where a canvas so handed over has been seen to show every frame, the
    // Chromium family's, told by its name ("Chrome/") as no feature tells
    // it: Firefox 153 on Linux without a GPU shows its first frame and no
    // other. Elsewhere the page draws the frames itself, in the same way.
    worker: null,
    painters: 0,
    // What the painter does with a message for one canvas: {w, h, slot,
    // image} draws a frame (the image, else the one kept in its slot),
    // {forget} lets the kept frames go.
    draw: function(held, m) {
      var c = held.canvas;
      if (m.forget) held.frames = [];
      if (m.forget || m.gone) return;
      if (c.width != m.w || c.height != m.h) { c.width = m.w; c.height = m.h; }
      var image = m.image || held.frames[m.slot];
      if (m.image && m.slot >= 0) held.frames[m.slot] = m.image;
      if (m.w && image) (held.g = held.g || c.getContext('2d', {alpha: false})).putImageData(image, 0, 0);
    },
    // The worker's own script: the canvases handed to it, by key.
    painterMain: function() {
      var held = {};
      onmessage = function(e) {
        var m = e.data;
        if (m.canvas) held[m.key] = {canvas: m.canvas, frames: []};
        else if (m.gone) delete held[m.key];
        else draw(held[m.key], m);
      };
    },
    painterOf: function(canvas) {
      if (canvas.painter) return canvas.painter;
      var p = canvas.painter = {sent: []}, held = {canvas: canvas, frames: []};
      try {
        if (!/Chrome\//.test(navigator.userAgent)) throw 0;
        if (!velk.worker) {
          velk.worker = new Worker(URL.createObjectURL(new Blob(
            ['var draw = ' + velk.draw + ';\n(' + velk.painterMain + ')();'])));
          velk.worker.onerror = function(e) { velk.failed('The voice box painter: ' + (e.message || 'failed')); };
        }
        var key = ++velk.painters, off = canvas.transferControlToOffscreen();
        velk.worker.postMessage({key: key, canvas: off}, [off]);
        p.post = function(m) { m.key = key; velk.worker.postMessage(m); };
      } catch (e) {
        p.post = function(m) { velk.draw(held, m); };
      }
      return p;
    },
    // The keys the core answers, as door.h numbers them: Tab (Shift+Tab is
    // 1), the arrows, Enter and Space.
    keys: ['Tab', '', 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Enter', ' '],
    // A key on a window goes to the core, and does nothing more if the core
    // took it. A text field keeps its own keys but Tab; a button its Space,
    // and no button answers Enter, as none does on the program's windows.
    // WebKitGTK names Shift+Tab "Unidentified" (X's ISO_Left_Tab): its key
    // is still the Tab key.
    key: function(e, win) {
      var k = velk.keys.indexOf(e.code == 'Tab' ? e.code : e.key), t = e.target;
      if (!k && e.shiftKey) k = 1;
      else if (e.shiftKey) return;
      if (k < 0 || e.ctrlKey || e.altKey || e.metaKey || e.isComposing || k > 1 && 'selectionStart' in t) return;
      velk.call(function() {
        if (Module['_velk_key'](win, k) || k == 6 && t.tagName == 'BUTTON') e.preventDefault();
      });
    },
    // The one line of errors and notices, under the windows.
    line: function(text, cls) {
      var p = document.createElement('p');
      p.className = cls;
      p.textContent = text;
      return document.getElementById('lines').appendChild(p);
    },
    // Names from the page's address that no file can have, as handed to
    // the program (velk_query), and why they are not fetched (velk_fetch).
    refused: {},
    // An error of the page's own, said once, as the program says its own.
    said: {},
    failed: function(text) {
      if (!velk.said[text]) velk.line(text, 'error');
      velk.said[text] = true;
    },
  },

  velk_window__deps: ['$velk'],
  velk_window: function(id, caption, icon, w, h, framed, back, label) {
    var outer = document.createElement('div'), client = document.createElement('div');
    outer.className = 'window' + (framed ? ' framed' : '');
    outer.setAttribute('role', framed ? 'dialog' : 'region');
    outer.setAttribute('aria-label', velk.str(label || caption));
    client.className = 'client';
    client.style.width = w + 'px';
    client.style.height = h + 'px';
    client.style.background = velk.colour(back) || '#f0f0f0';
    // Centred in the page, never off its top or left edge, in whole pixels,
    // by its own size (a framed window's border and title bar as the
    // .framed and .title rules have them) at the scale that fits it to the
    // page (--s, index.html): showing it measures nothing, so the page lays
    // it out once, as it paints.
    var place = function(side, size) {
      outer.setAttribute('data-' + (side == 'left' ? 'width' : 'height'), size);
      outer.style[side] = 'max(0px, calc((100% - ' + size + 'px * var(--s, 1)) / 2))';
      outer.style[side] = 'max(0px, round(down, (100% - ' + size + 'px * var(--s, 1)) / 2, 1px))';
    };
    place('left', w + (framed ? 2 : 0));
    place('top', h + (framed ? 26 : 0));
    if (framed) {
      // A title bar: the icon, the caption, and the close button, the
      // page's Alt+F4.
      var bar = document.createElement('div'), img = document.createElement('img'),
          title = document.createElement('span'), close = document.createElement('button');
      bar.className = 'title';
      if (icon) { img.src = velk.str(icon); img.alt = ''; bar.appendChild(img); }
      title.textContent = velk.str(caption);
      close.className = 'close';
      close.textContent = '\u2715';
      close.setAttribute('aria-label', 'Close');
      close.tabIndex = -1;
      close.onclick = function() { velk.call(function() { Module['_velk_close'](id); }); };
      bar.appendChild(title);
      bar.appendChild(close);
      outer.appendChild(bar);
    }
    outer.appendChild(client);
    document.getElementById('desktop').appendChild(outer);
    if (window.velkFit) velkFit(outer);  // not in the build's own run (prerender.js)
    // Its keys go to the core. A click on what takes no focus of its own
    // leaves the focus in the window (on the window itself), so that keys
    // after it still come here.
    outer.tabIndex = -1;
    outer.onkeydown = function(e) { velk.key(e, id); };
    // The page's focus moved by itself (a click into a field, a screen
    // reader): the core's follows. A press of the pointer anywhere on the
    // window puts the ring away, before the click it may become.
    outer.addEventListener('focusin', function(e) {
      if ('velkRow' in e.target) velk.call(function() { Module['_velk_focused'](id, e.target.velkRow); });
    });
    outer.addEventListener('pointerdown', function() { velk.call(function() { Module['_velk_pointed'](id); }); });
    velk.windows[id] = {outer: outer, client: client, controls: {}, timers: {}};
  },

  // One control. kind: the element's kind (controls.cpp); flags: 1 hidden,
  // 2 read-only, 4 multi-line, 8 transparent, 16 clicked, 32 line; tab:
  // its place in the core's focus order, -1 for none.
  velk_control__deps: ['$velk'],
  velk_control: function(win, row, parent, kind, x, y, w, h, text, picture, back, fore, font, px, weight,
                         align, border, flags, z, tab) {
    var W = velk.windows[win], k = velk.str(kind), e;
    if (k == 'text') {
      e = document.createElement(flags & 4 ? 'textarea' : 'input');
      e.value = velk.str(text);
      e.readOnly = !!(flags & 2);
      // A read-only field is a display: no caret blinks in it (WebKit's would).
      if (e.readOnly) e.style.caretColor = 'transparent';
      e.spellcheck = false;
      e.oninput = function() {
        velk.call(function() { Module['_velk_typed'](win, row, velk.alloc(e.value)); });
      };
    } else if (k == 'button') {
      e = document.createElement('button');
      e.textContent = velk.str(text);
    } else {
      e = document.createElement(k == 'view' ? 'canvas' : 'div');
      if (k == 'label') e.textContent = velk.str(text);
    }
    e.className = 'c ' + k + (border ? ' b' + border : '');
    e.style.left = x + 'px'; e.style.top = y + 'px';
    if (flags & 32) {  // a line's end points; the browser draws it from one to the other
      var dx = w - x, dy = h - y;
      w = Math.sqrt(dx * dx + dy * dy) + 1; h = 1;
      e.style.transform = 'rotate(' + Math.atan2(dy, dx) + 'rad)';
    }
    e.style.width = w + 'px'; e.style.height = h + 'px';
    if (k == 'view') { e.width = 0; e.height = 0; }  // the frame's size once there is one (velk_paint)
    if (back >= 0 && !(flags & 8)) e.style.backgroundColor = velk.colour(back);
    if (fore >= 0) e.style[flags & 32 ? 'backgroundColor' : 'color'] = velk.colour(fore);
    if (picture) e.style.backgroundImage = 'url("' + velk.str(picture) + '")';
    if (font) {
      e.style.fontFamily = velk.str(font);
      e.style.fontSize = px + 'px';
      e.style.fontWeight = weight;
    }
    if (k != 'button') e.style.textAlign = ['left', 'center', 'right'][align];
    e.style.zIndex = z;
    if (tab >= 0) e.tabIndex = tab + 1;
    if (flags & 16)
      e.addEventListener('click', function() { velk.call(function() { Module['_velk_event'](win, row, 0); }); });
    if (flags & 1) e.classList.add('gone');
    (parent < 0 ? W.client : W.controls[parent]).appendChild(e);
    W.controls[row] = e;
    e.velkRow = row;
  },

  // Puts the row's element last in its container: called in the order of
  // the table's tab indexes, in which a screen reader reads the page (the
  // keyboard goes the core's way, by each element's tabindex).
  velk_order__deps: ['$velk'],
  velk_order: function(win, row) {
    var e = velk.windows[win].controls[row];
    if (e) e.parentNode.appendChild(e);
  },

  velk_set_text__deps: ['$velk'],
  velk_set_text: function(win, row, text) {
    var e = velk.windows[win].controls[row], t = velk.str(text);
    if ('value' in e && e.tagName != 'BUTTON') e.value = t;
    else e.textContent = t;
  },

  // mode: 0 not shown, 1 shown, 2 not shown but still there for a screen
  // reader (a dark lamp is still a lamp).
  velk_set_shown__deps: ['$velk'],
  velk_set_shown: function(win, row, mode) {
    var e = velk.windows[win].controls[row];
    if (!e) return;
    e.classList.toggle('gone', mode == 0);
    e.classList.toggle('ghost', mode == 2);
  },

  // What a screen reader hears of a row, as the core's accessible tree
  // says it (webwindow.cpp puts it in ARIA's words); empty: none.
  velk_tell__deps: ['$velk'],
  velk_tell: function(win, row, role, name, description, hidden) {
    var e = velk.windows[win].controls[row];
    if (!e) return;
    [['role', role], ['aria-label', name], ['aria-description', description]].forEach(function(a) {
      var v = velk.str(a[1]);
      if (v) e.setAttribute(a[0], v); else e.removeAttribute(a[0]);
    });
    if (hidden) e.setAttribute('aria-hidden', 'true'); else e.removeAttribute('aria-hidden');
  },

  velk_show__deps: ['$velk'],
  velk_show: function(win, shown, focus) {
    var W = velk.windows[win];
    W.outer.classList.toggle('shown', !!shown);
    if (shown) velk.takeOver(W.outer);
    var f = W.controls[focus];
    if (shown && f) {
      // At the start of its text, as a window's first focus puts it; as
      // the page lays the window out for its next paint, not laid out now
      // for the focus alone.
      requestAnimationFrame(function() {
        if (f.setSelectionRange) f.setSelectionRange(0, 0);
        f.focus({preventScroll: true});
        f.scrollTop = 0;
      });
    }
  },

  // The keyboard's focus, where the core has put it: the row's element
  // takes the page's own, which a screen reader follows. The ring is one
  // element a window, in the row's container above all it holds, deaf to
  // the pointer, and off the page while the core shows none.
  velk_focus__deps: ['$velk'],
  velk_focus: function(win, row, parent, x, y, w, h, outer, inner) {
    var W = velk.windows[win], e = W.controls[row], r = W.ring = W.ring || document.createElement('div');
    if (e && e != document.activeElement) e.focus({preventScroll: true});
    r.remove();
    if (w <= 0) return;
    r.className = 'ring';
    r.style.cssText = 'left:' + x + 'px;top:' + y + 'px;width:' + w + 'px;height:' + h + 'px;border-color:' +
        velk.colour(outer) + ';box-shadow:inset 0 0 0 1px ' + velk.colour(inner);
    (parent < 0 ? W.client : W.controls[parent]).appendChild(r);
  },

  velk_timer__deps: ['$velk'],
  velk_timer: function(win, row, ms) {
    var W = velk.windows[win];
    clearInterval(W.timers[row]);
    delete W.timers[row];
    if (ms > 0)
      W.timers[row] = setInterval(function() { velk.call(function() { Module['_velk_event'](win, row, 1); }); }, ms);
  },

  velk_drop_window__deps: ['$velk'],
  velk_drop_window: function(win) {
    var W = velk.windows[win];
    for (var r in W.timers) clearInterval(W.timers[r]);
    for (var r in W.controls) if (W.controls[r].painter) W.controls[r].painter.post({gone: true});
    W.outer.remove();
    delete velk.windows[win];
  },

  // Work for later: after ms, or (0) as the next task once the page has
  // done what it has to (a message, not a timeout, which the browser
  // would hold back by 4 ms after a few in a row), or (-2) once the
  // current task is done, still inside it; while the page is hidden, as it
  // next paints, which it does once it is seen again.
  velk_post__deps: ['$velk'],
  velk_post: function(id, ms) {
    if (velk.ended) return;
    if (ms == -2 && !document.hidden) {
      velk.posts[id] = true;
      queueMicrotask(function() {
        if (!(id in velk.posts)) return;
        delete velk.posts[id];
        velk.call(function() { Module['_velk_run'](id); });
      });
      return;
    }
    if (ms == -2) {
      velk.posts[id] = {frame: requestAnimationFrame(function() {
        delete velk.posts[id];
        velk.call(function() { Module['_velk_run'](id); });
      })};
      return;
    }
    if (ms > 0) {
      velk.posts[id] = setTimeout(function() {
        delete velk.posts[id];
        velk.call(function() { Module['_velk_run'](id); });
      }, ms);
      return;
    }
    if (!velk.channel) {
      velk.channel = new MessageChannel();
      velk.channel.port1.onmessage = velk.runQueue;
    }
    velk.posts[id] = true;
    velk.queue.push(id);
    if (velk.queue.length == 1) velk.channel.port2.postMessage(0);
  },
  velk_cancel__deps: ['$velk'],
  velk_cancel: function(id) {
    velk.drop(id);
  },

  // The file a view shows, fetched from the page's own site, at most max
  // bytes of it, and handed to the program whole: velk_fetched(id, bytes,
  // size, status) when done, bytes 0 when nothing came, and then status the
  // server's answer, 0 when none came (no connection), or below 0 why it
  // was not asked for (fetchedfiles.cpp words it): -1 a name no file can
  // have, -2 another site's file, -3 a folder, -4 an empty name. A
  // server's redirect to another site is not followed either.
  velk_fetch__deps: ['$velk'],
  velk_fetch: function(id, address, max) {
    var a = velk.str(address), done = function(parts, got, status) {
      var p = 0;
      if (parts) {
        p = _malloc(got || 1);
        for (var i = 0, at = 0; i < parts.length && at < got; at += parts[i++].length)
          HEAPU8.set(parts[i].subarray(0, got - at), p + at);
      }
      velk.call(function() { Module['_velk_fetched'](id, p, got || 0, status || 0); });
    };
    var url, folder = function(u) { return /\/$/.test(new URL(u).pathname); };
    if (velk.refused.hasOwnProperty(a)) return done(0, 0, velk.refused[a]);
    // A path, not an address: what an address would read as a query or a
    // fragment is part of the file's name.
    try { url = new URL(a.replace(/[%#?]/g, encodeURIComponent), document.baseURI); } catch (e) { return done(0, 0, -1); }
    if (url.origin != location.origin) return done(0, 0, -2);
    if (folder(url)) return done(0, 0, -3);
    fetch(url, {mode: 'same-origin'}).then(function(response) {
      if (response.redirected && folder(response.url)) return done(0, 0, -3);  // a folder's name without its "/"
      if (!response.ok || !response.body) return done(0, 0, response.status);
      var reader = response.body.getReader(), parts = [], got = 0;
      var step = function(r) {
        if (!r.done && got < max) {
          parts.push(r.value);
          got += r.value.length;
          return reader.read().then(step);
        }
        if (!r.done) reader.cancel();
        done(parts, Math.min(got, max), response.status);
      };
      return reader.read().then(step);
    }).catch(function() { done(); });
  },

  // A frame of 0xAARRGGBB pixels at (x, y) on the view's black, and the
  // note, if any, in its rectangle. The view's black is its element's
  // own; its canvas holds the frame alone, placed where it lies (as an
  // object-position): each frame covers the last, and nothing else of the
  // view is drawn, copied or composited again. A frame in a slot is
  // converted for the canvas once, and handed to the painter once.
  velk_paint__deps: ['$velk'],
  velk_paint: function(win, row, pixels, w, h, x, y, slot, note, nx, ny, nw, nh) {
    var canvas = velk.windows[win].controls[row], p = velk.painterOf(canvas), image = null;
    if (!pixels || w <= 0 || h <= 0) w = h = 0;
    if (w && !(slot >= 0 && p.sent[slot])) {
      var from = HEAPU8.subarray(pixels, pixels + w * h * 4), to;
      image = new ImageData(w, h);
      to = image.data;
      for (var i = 0; i < to.length; i += 4) {
        to[i] = from[i + 2]; to[i + 1] = from[i + 1]; to[i + 2] = from[i]; to[i + 3] = 255;
      }
      if (slot >= 0) p.sent[slot] = true;
    }
    p.post({w: w, h: h, slot: slot, image: image});
    var at = x + 'px ' + y + 'px';
    if (w && canvas.at != at) canvas.style.objectPosition = canvas.at = at;
    var n = canvas.nextSibling && canvas.nextSibling.className == 'note' ? canvas.nextSibling : null;
    if (note && !n) {
      n = document.createElement('div');
      n.className = 'note';
      canvas.after(n);
    }
    if (n) {
      n.textContent = velk.str(note);
      n.style.left = parseInt(canvas.style.left) + nx + 'px'; n.style.top = parseInt(canvas.style.top) + ny + 'px';
      n.style.width = Math.max(0, nw) + 'px'; n.style.height = Math.max(0, nh) + 'px';
    }
  },

  // The frames converted for the view's canvas go: their slots are free.
  velk_forget_frames__deps: ['$velk'],
  velk_forget_frames: function(win, row) {
    var p = velk.windows[win].controls[row].painter;  // none before its first frame
    if (p) {
      p.sent = [];
      p.post({forget: true});
    }
  },

  // An option of the page's address: a file's name (the program's one
  // option is). A name no file can have, which the program's string could
  // not carry, is handed over as the address wrote it, an empty one as "",
  // and refused when asked for rather than taken for no name at all.
  velk_query__deps: ['$velk'],
  velk_query: function(name) {
    var v = new URLSearchParams(location.search).get(UTF8ToString(name));
    if (v === '') velk.refused[v = '""'] = -4;
    else if (v && v.indexOf('\0') >= 0) velk.refused[v = v.replace(/\0/g, '%00')] = -1;
    return v === null ? 0 : velk.alloc(v);
  },

  velk_report__deps: ['$velk'],
  velk_report: function(text) {
    velk.line(UTF8ToString(text), 'error');
  },

  // The end: every window and control goes, every timer and piece of
  // work with them, and one line says so, with the button that starts the
  // program again (the page afresh), the keyboard's focus on it.
  velk_end__deps: ['$velk'],
  velk_end: function() {
    velk.ended = true;
    if (velk.worker) velk.worker.terminate();
    for (var id in velk.posts) velk.drop(id);
    velk.queue = [];
    for (var w in velk.windows) for (var r in velk.windows[w].timers) clearInterval(velk.windows[w].timers[r]);
    velk.windows = {};
    document.getElementById('desktop').replaceChildren();
    var again = document.createElement('button');
    again.textContent = 'Start again';
    again.onclick = function() { location.reload(); };
    velk.line('VELK-Simulator has ended.', 'ended').appendChild(again);
    again.focus();
  },
});
