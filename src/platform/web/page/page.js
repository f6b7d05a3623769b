// SPDX-License-Identifier: MIT
// The page's side of the web platform: canvases, buttons, events, storage, pointers and sound for the
// game compiled to WebAssembly (kanuvo.js), which calls in here through Kanuvo.
'use strict';

const Kanuvo = (() => {
  const game = document.getElementById('game');
  const themeColour = document.querySelector('meta[name="theme-color"]');
  // A finger is the screen's pointer: the game speaks of taps, and the page lays itself out for fingers.
  const touchScreen = matchMedia('(pointer: coarse)').matches;
  const params = new URLSearchParams(location.search);
  let data = { english: {}, cursors: {}, sounds: [] };  // data.json, made at build time
  let english = false;
  let scale = 1;  // CSS pixels per game pixel
  let ratio = 1;  // canvas pixels per game pixel
  let windowWidth = 650, windowHeight = 650;
  let running = false;  // the program has started and takes events

  // ---- The controls for the keys show the state of what they switch. Whatever the game does may
  // change it: every call of the game into the page has them looked at once the frame is drawn.
  const control = (name) => document.getElementById(`${name}-control`);
  let refreshing = false;
  function refreshSoon() {
    if (refreshing || !running) return;
    refreshing = true;
    requestAnimationFrame(() => {
      refreshing = false;
      const bits = Module._KanuvoControls();
      const [soundOff, assist, paused, playing, help, fast] = [1, 2, 4, 8, 16, 32].map((bit) => (bits & bit) !== 0);
      control('sound').classList.toggle('off', soundOff);
      control('sound').setAttribute('aria-pressed', String(!soundOff));
      control('assist').classList.toggle('on', assist);
      control('assist').setAttribute('aria-pressed', String(assist));
      control('help').classList.toggle('on', help);
      control('help').setAttribute('aria-pressed', String(help));
      // The help page holds the game: there the pause's place is the language's, as L works only there.
      control('pause').style.display = help ? 'none' : '';
      control('language').style.display = help ? '' : 'none';
      control('pause').classList.toggle('paused', paused);
      control('pause').classList.toggle('idle', !playing);
      control('pause').setAttribute('aria-pressed', String(paused));
      // Fast-forward shows only while it would act, in a place of its own: the others never move.
      control('fast').style.visibility = fast && !help ? '' : 'hidden';
    });
  }
  const watched = (calls) => {
    for (const [name, call] of Object.entries(calls)) {
      calls[name] = (...a) => {
        refreshSoon();
        return call(...a);
      };
    }
    return calls;
  };

  const colour = (c) => '#' + (c & 0xffffff).toString(16).padStart(6, '0');
  const mix = (from, to, share) => {
    let out = 0;
    for (const shift of [16, 8, 0]) {
      const a = (from >> shift) & 255, b = (to >> shift) & 255;
      out |= Math.round(a + (b - a) * share) << shift;
    }
    return out;
  };
  const pixelRatioFor = (cssScale) => Math.min(4, Math.max(1, Math.ceil(devicePixelRatio * cssScale - 1e-6)));

  // ---- Pictures: loaded from pictures/, the sharp drawing beside each for dense screens.
  const pictures = new Map();
  function loadImage(url) {
    return new Promise((resolve) => {
      const image = new Image();
      image.onload = () => resolve(image);
      image.onerror = () => resolve(null);
      image.src = url;
    });
  }
  function entry(file) {
    let p = pictures.get(file);
    if (!p) {
      p = { plain: null, sharp: null, white: new Map(), loading: null, sharpLoading: null };
      pictures.set(file, p);
    }
    return p;
  }
  function picture(file) {
    const p = entry(file);
    if (!p.loading) p.loading = loadImage(`pictures/${pictureFolder(file)}.png`).then((i) => (p.plain = i));
    return p;
  }
  // The drawing at twice the size, or the plain one where it cannot be had.
  function sharpPicture(file) {
    const p = entry(file);
    if (!p.sharpLoading) {
      p.sharpLoading = loadImage(`pictures/${pictureFolder(file)}@2x.png`).then((i) => (i ? (p.sharp = i) : picture(file).loading));
    }
    return p;
  }
  // The title as a touch screen shows it says "tap" where the desktop's says "click".
  const pictureFolder = (file) => (touchScreen && /(^|\/)109$/.test(file) ? `touch/${file}` : file);
  // Destination OR NOT source, for a mask of black shapes on white: white where the mask is dark.
  function whiteWhereDark(image) {
    const c = document.createElement('canvas');
    c.width = image.width;
    c.height = image.height;
    const x = c.getContext('2d');
    x.drawImage(image, 0, 0);
    const pixels = x.getImageData(0, 0, c.width, c.height);
    const d = pixels.data;
    for (let i = 0; i < d.length; i += 4) {
      const dark = 255 - Math.min(d[i], d[i + 1], d[i + 2]);
      d[i] = d[i + 1] = d[i + 2] = 255;
      d[i + 3] = dark;
    }
    x.putImageData(pixels, 0, 0);
    return c;
  }

  // ---- Surfaces: a canvas each, drawn in the game's pixels at the page's pixel ratio.
  const surfaces = new Map();
  let nextHandle = 1;
  const fontMetrics = new Map();
  const measurer = document.createElement('canvas').getContext('2d');
  const fontOf = (px, bold) => `${bold ? 'bold ' : ''}${px}px KanuvoGothic`;
  function metrics(px, bold) {
    const key = fontOf(px, bold);
    let m = fontMetrics.get(key);
    if (!m) {
      measurer.font = key;
      const t = measurer.measureText('あMg');
      const ascent = t.fontBoundingBoxAscent, descent = t.fontBoundingBoxDescent;
      m = { ascent: Math.round(ascent), height: Math.round(ascent) + Math.round(descent), exact: ascent + descent };
      fontMetrics.set(key, m);
    }
    return m;
  }
  function prepare(s) {
    s.ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
    s.ctx.imageSmoothingEnabled = false;
    s.ctx.globalCompositeOperation = 'source-over';
  }
  // Gives the canvas the surface's size at the present ratio, keeping what is drawn, scaled.
  function allocate(s, w, h, back) {
    const old = s.w > 0 && s.h > 0 && s.canvas.width > 0 ? s.canvas : null;
    let keep = null;
    if (old) {
      keep = document.createElement('canvas');
      keep.width = old.width;
      keep.height = old.height;
      keep.getContext('2d').drawImage(old, 0, 0);
    }
    const oldW = s.w, oldH = s.h;
    s.w = w;
    s.h = h;
    s.canvas.width = Math.max(1, w * ratio);
    s.canvas.height = Math.max(1, h * ratio);
    s.canvas.style.width = `${w}px`;
    s.canvas.style.height = `${h}px`;
    prepare(s);
    s.ctx.fillStyle = colour(back);
    s.ctx.fillRect(0, 0, w, h);
    if (keep) {
      s.ctx.imageSmoothingEnabled = true;
      s.ctx.drawImage(keep, 0, 0, oldW, oldH);
      s.ctx.imageSmoothingEnabled = false;
    }
  }

  const draw = watched({
    newSurface(role) {
      const canvas = document.createElement('canvas');
      const s = { canvas, ctx: canvas.getContext('2d', { alpha: false }), w: 0, h: 0, back: 0xf0f0f0, role };
      const handle = nextHandle++;
      s.handle = handle;
      if (role) {
        canvas.id = role;
        canvas.dataset.surface = handle;
        game.appendChild(canvas);
      }
      surfaces.set(handle, s);
      return handle;
    },
    freeSurface(handle) {
      const s = surfaces.get(handle);
      if (s && s.canvas.parentNode) s.canvas.remove();
      surfaces.delete(handle);
    },
    resize(handle, w, h, back) { allocate(surfaces.get(handle), w, h, back); },
    clear(handle, c) {
      const s = surfaces.get(handle);
      s.back = c;
      // Around the window, scaled to fit, the page shows the board's colour, and so does the browser's
      // own frame where it takes the page's.
      if (s.role === 'board') {
        document.body.style.background = colour(c);
        themeColour.content = colour(c);
      }
      s.ctx.fillStyle = colour(c);
      s.ctx.fillRect(0, 0, s.w, s.h);
    },
    fill(handle, x, y, w, h, c) {
      const s = surfaces.get(handle);
      s.ctx.fillStyle = colour(c);
      s.ctx.fillRect(x, y, w, h);
    },
    roundRect(handle, x, y, w, h, rx, ry, pen, fill) {
      const ctx = surfaces.get(handle).ctx;
      if (rx < 1 || ry < 1) {
        if (fill >= 0) {
          ctx.fillStyle = colour(fill);
          ctx.fillRect(x, y, w, h);
        }
        ctx.strokeStyle = colour(pen);
        ctx.lineWidth = 1;
        ctx.strokeRect(x + 0.5, y + 0.5, w - 1, h - 1);
        return;
      }
      // The outline runs through the middle of the edge pixels, as a one-pixel pen's does.
      const l = x + 0.5, t = y + 0.5, r = x + w - 0.5, b = y + h - 0.5;
      rx = Math.min(rx, (r - l) / 2);
      ry = Math.min(ry, (b - t) / 2);
      ctx.beginPath();
      ctx.moveTo(l + rx, t);
      ctx.lineTo(r - rx, t);
      ctx.ellipse(r - rx, t + ry, rx, ry, 0, -Math.PI / 2, 0);
      ctx.lineTo(r, b - ry);
      ctx.ellipse(r - rx, b - ry, rx, ry, 0, 0, Math.PI / 2);
      ctx.lineTo(l + rx, b);
      ctx.ellipse(l + rx, b - ry, rx, ry, 0, Math.PI / 2, Math.PI);
      ctx.lineTo(l, t + ry);
      ctx.ellipse(l + rx, t + ry, rx, ry, 0, Math.PI, Math.PI * 1.5);
      ctx.closePath();
      if (fill >= 0) {
        ctx.fillStyle = colour(fill);
        ctx.fill();
      }
      ctx.strokeStyle = colour(pen);
      ctx.lineWidth = 1;
      ctx.stroke();
    },
    // Writes the text with its top-left corner at (x, y); returns the height of its line.
    text(handle, x, y, text, px, bold, c) {
      const ctx = surfaces.get(handle).ctx;
      const m = metrics(px, bold);
      ctx.font = fontOf(px, bold);
      ctx.textBaseline = 'alphabetic';
      ctx.fillStyle = colour(c);
      ctx.fillText(text, x, y + m.ascent);
      return m.height;
    },
    textWidth(text, px, bold) {
      measurer.font = fontOf(px, bold);
      return measurer.measureText(text).width;
    },
    textHeight(px, bold) { return metrics(px, bold).exact; },
    picture(handle, file, x, y, w, h, op) {
      const s = surfaces.get(handle);
      const p = ratio > 1 ? sharpPicture(file) : picture(file);
      const image = (ratio > 1 && p.sharp) || p.plain;
      if (!image) return;
      const ctx = s.ctx;
      if (op === 1) {
        let white = p.white.get(image);
        if (!white) p.white.set(image, (white = whiteWhereDark(image)));
        ctx.drawImage(white, x, y, w, h);
      } else {
        // AND with a picture on white: where the mask has made the ground white, multiplying gives
        // the picture's colours, and its white leaves the ground as it is.
        if (op === 2) ctx.globalCompositeOperation = 'multiply';
        ctx.drawImage(image, x, y, w, h);
        ctx.globalCompositeOperation = 'source-over';
      }
    },
    blit(handle, x, y, w, h, from, sx, sy, sw, sh) {
      const s = surfaces.get(handle), f = surfaces.get(from);
      if (!s || !f || f.w === 0 || f.h === 0) return;
      // Only what lies inside the source is copied, to the place it would go.
      const ax = Math.max(sx, 0), ay = Math.max(sy, 0);
      const bx = Math.min(sx + sw, f.w), by = Math.min(sy + sh, f.h);
      if (bx <= ax || by <= ay) return;
      const kx = w / sw, ky = h / sh;
      const r = f.canvas.width / f.w;
      s.ctx.drawImage(f.canvas, ax * r, ay * r, (bx - ax) * r, (by - ay) * r,
                      x + (ax - sx) * kx, y + (ay - sy) * ky, (bx - ax) * kx, (by - ay) * ky);
    },
  });

  // ---- The window: its size, its buttons and where its canvases sit. With a fine pointer and room
  // enough, the designed window, scaled to fit. For a finger, or a viewport too small to read the
  // window in, the finger's layout: the same surfaces as large as the screen allows, the game's buttons
  // moved out of the window into a row of touch targets below it (a column beside it, on a screen
  // lying on its side), and controls that stand for the keys a finger has not got.
  const buttons = new Map();
  let nextButton = 1000;
  const commands = document.getElementById('commands');
  const controls = document.getElementById('controls');
  // Below this the window's 12-pixel captions are too small to read.
  const kReadableScale = 0.75;
  let finger = false;
  let helpSize = [0, 0];  // what the game was last told the help page's size is, in its pixels

  // The buttons a click acts on (スタート, 新ゲーム, 終了), top to bottom as the window stacks them.
  const commandButtons = () => [...buttons.values()].filter((b) => b.command).sort((a, b) => a.y - b.y);
  const surfaceOf = (role) => [...surfaces.values()].find((s) => s.role === role);
  const shown = (s) => !!s && s.canvas.style.display === 'block';

  function fitCaption(b) {
    // A translated caption too long for its button is made smaller, half a point at a time.
    const el = b.el;
    el.style.fontSize = `${b.px}px`;
    if (!english || !el.offsetParent) return;
    let px = b.px;
    const room = b.w - 6;
    measurer.font = fontOf(px, false);
    while (px > 4 / 3 && measurer.measureText(el.textContent).width > room) {
      px -= 2 / 3;
      measurer.font = fontOf(px, false);
    }
    el.style.fontSize = `${px}px`;
  }

  // A button where the layout has it: placed in the window as the game placed it, or, in the finger's
  // layout, one of the row's touch targets, holding its place while hidden.
  function layButton(b) {
    const inRow = finger && b.command;
    if (!inRow && b.el.parentNode !== game) game.appendChild(b.el);
    if (inRow) {
      Object.assign(b.el.style, { left: '', top: '', width: '', height: '', fontSize: '', display: '',
                                  visibility: b.visible ? '' : 'hidden' });
      return;
    }
    Object.assign(b.el.style, { left: `${b.x}px`, top: `${b.y}px`, width: `${b.w}px`, height: `${b.h}px`,
                                display: b.visible ? 'block' : 'none', visibility: '' });
    fitCaption(b);
  }

  // Where the finger's layout has room for the window, upright (controls above, buttons below) or
  // lying (both in columns at the right), whichever shows the window larger.
  function fingerArea(w, h, shownWidth) {
    const arrange = (way) => {
      document.body.classList.toggle('upright', way === 'upright');
      document.body.classList.toggle('lying', way === 'lying');
      commands.style.right = way === 'lying' ? `${controls.offsetWidth}px` : '';
    };
    arrange('upright');
    const upright = { way: 'upright', x: 0, y: controls.offsetHeight, w, h: h - controls.offsetHeight - commands.offsetHeight };
    arrange('lying');
    const lying = { way: 'lying', x: 0, y: 0, w: w - controls.offsetWidth - commands.offsetWidth, h };
    for (const a of [upright, lying]) a.scale = Math.max(0.05, Math.min(a.w / shownWidth, a.h / windowHeight));
    const best = upright.scale >= lying.scale ? upright : lying;
    arrange(best.way);
    return best;
  }

  function layout() {
    const w = innerWidth, h = innerHeight;
    finger = touchScreen || Math.min(w / windowWidth, h / windowHeight) < kReadableScale;
    document.body.classList.toggle('finger', finger);
    if (finger) for (const b of commandButtons()) commands.appendChild(b.el);
    for (const b of buttons.values()) layButton(b);
    let shownWidth = windowWidth, shownHeight = windowHeight, left, top, reshaped = false;
    if (!finger) {
      document.body.classList.remove('upright', 'lying');
      scale = Math.min(w / windowWidth, h / windowHeight);
      left = (w - windowWidth * scale) / 2;
      top = (h - windowHeight * scale) / 2;
      reshaped = tellHelpSize(0, 0) && shown(surfaceOf('help'));
    } else {
      // On the board the window's column of buttons has gone to the row: the rest of it stands alone.
      const placed = commandButtons().filter((b) => b.w > 0);
      if (shown(surfaceOf('board')) && placed.length) shownWidth = Math.min(windowWidth, ...placed.map((b) => b.x));
      const area = fingerArea(w, h, shownWidth);
      scale = area.scale;
      left = area.x + (area.w - shownWidth * scale) / 2;
      top = area.y + (area.h - windowHeight * scale) / 2;
      // The help page fills the whole area, in the window's pixels at this scale.
      const page = [Math.floor(area.w / scale), Math.floor(area.h / scale)];
      reshaped = tellHelpSize(...page) && shown(surfaceOf('help'));
      if (shown(surfaceOf('help'))) [left, top, shownWidth, shownHeight] = [area.x, area.y, ...page];
    }
    game.style.width = `${shownWidth}px`;
    game.style.height = `${shownHeight}px`;
    // On whole device pixels, so that no edge is smoothed into what lies beside it.
    const snap = (v) => Math.round(v * devicePixelRatio) / devicePixelRatio;
    game.style.transform = `translate(${snap(left)}px, ${snap(top)}px) scale(${scale})`;
    // Under the board the window's own surface is blank: hidden, it cannot show at the board's edges.
    const windowSurface = surfaceOf('window');
    if (windowSurface) windowSurface.canvas.style.visibility = shown(surfaceOf('board')) ? 'hidden' : '';
    const wanted = pixelRatioFor(scale);
    if (wanted !== ratio || reshaped) {
      ratio = wanted;
      rescaled();
    }
  }
  // True when the game takes a new size; before the program runs there is no game to tell yet.
  function tellHelpSize(w, h) {
    if (w === helpSize[0] && h === helpSize[1] || !running || !Module._KanuvoHelpPage(w, h)) return false;
    helpSize = [w, h];
    return true;
  }
  // The pixel ratio changed (a resize, a rotation, a zoom), or the help page's shape on screen: each
  // surface takes the ratio, and the game draws everything on it again from its state, the help page
  // in its new shape, once the program is back from the call it may be in.
  function rescaled() {
    for (const s of surfaces.values()) if (s.w > 0) allocate(s, s.w, s.h, s.back);
    queueMicrotask(() => post(6));
  }
  // A zoom changes the pixel ratio, and not always the viewport's size.
  (function watchPixelRatio() {
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => {
      layout();
      watchPixelRatio();
    }, { once: true });
  })();

  // ---- The controls for the keys: each presses its key.
  for (const b of controls.querySelectorAll('button')) b.addEventListener('click', () => post(1, Number(b.dataset.key)));

  const form = watched({
    newButton(caption, back, enabled) {
      const el = document.createElement('button');
      el.textContent = caption;
      el.disabled = !enabled;
      el.tabIndex = -1;
      el.style.setProperty('--back', colour(back));
      el.style.setProperty('--lit', colour(mix(back, 0xffffff, 0.35)));
      el.style.setProperty('--pressed', colour(mix(back, 0, 0.2)));
      el.style.setProperty('--faded', colour(mix(back, 0xaaaaaa, 0.6)));
      const handle = nextButton++;
      el.addEventListener('click', () => post(4, handle));
      el.addEventListener('pointermove', () => post(5, handle));
      game.appendChild(el);
      buttons.set(handle, { el, px: 12, command: !!enabled, x: 0, y: 0, w: 0, h: 0, visible: false });
      return handle;
    },
    placeButton(handle, x, y, w, h) {
      const b = buttons.get(handle);
      const moved = b.command && finger && x !== b.x;
      Object.assign(b, { x, y, w, h });
      // A button that leaves the column changes what of the window the finger's layout shows.
      if (moved) layout();
      else layButton(b);
    },
    showButton(handle, visible) {
      const b = buttons.get(handle);
      b.visible = !!visible;
      layButton(b);
    },
    buttonCaption(handle, caption) {
      const b = buttons.get(handle);
      b.el.textContent = caption;
      if (!finger || !b.command) fitCaption(b);
    },
    buttonFont(handle, px) {
      const b = buttons.get(handle);
      b.px = px;
      if (!finger || !b.command) fitCaption(b);
    },
    buttonDimmed(handle, dimmed) { buttons.get(handle).el.classList.toggle('dimmed', !!dimmed); },
    buttonHint(handle, hint) { buttons.get(handle).el.title = hint; },
    placeSurface(handle, x, y) {
      const s = surfaces.get(handle);
      s.canvas.style.left = `${x}px`;
      s.canvas.style.top = `${y}px`;
    },
    showSurface(handle, visible) {
      const s = surfaces.get(handle);
      s.canvas.style.display = visible ? 'block' : 'none';
      // The board takes the window's place after the title; the help page takes the whole area.
      if (s.role === 'help' || s.role === 'board') layout();
    },
    sizeWindow(w, h) {
      windowWidth = w;
      windowHeight = h;
      layout();
    },
    closeWindow() {
      running = false;
      for (const part of [game, commands, controls]) part.style.display = 'none';
      document.getElementById('ended').style.display = 'flex';
    },
    // The program's one timer: it wakes the game in ms milliseconds, in place of the wake set before;
    // a negative ms sets none.
    wakeIn(ms) {
      clearTimeout(wakeTimer);
      wakeTimer = ms >= 0 ? setTimeout(() => { if (running) Module._KanuvoWake(); }, ms) : 0;
    },
  });
  let wakeTimer = 0;
  let messageShown = Promise.resolve();

  function post(kind, a = 0, b = 0, c = 0, d = 0) {
    if (!running) return;
    if (!boardReady) {
      held.push([kind, a, b, c, d]);
      return;
    }
    Module._KanuvoPost(kind, a, b, c, d);
    refreshSoon();
  }

  // ---- Input: keys, and the mouse and touch as one pointer.
  // Every gesture may be the one that lets the audio start: its handler runs before the game hears it.
  for (const type of ['keydown', 'pointerdown', 'pointerup', 'click']) addEventListener(type, allowSound, true);
  // No button of the page ever takes the focus: a focused button would take Enter and Space from the
  // game's one key handler (Enter would stop a run), and wear a focus ring.
  addEventListener('mousedown', (e) => { if (e.target.closest && e.target.closest('button')) e.preventDefault(); }, true);
  const keysOfTheBrowser = new Set([9, 13, 32, 33, 34, 35, 36, 37, 38, 39, 40, 112, 113, 114, 116, 117, 118, 119, 120, 121, 122]);
  addEventListener('keydown', (e) => {
    if (e.ctrlKey || e.metaKey || e.altKey || !e.keyCode) return;
    if (document.getElementById('message').style.display === 'block') {
      if (e.key === 'Enter' || e.key === ' ' || e.key === 'Escape') document.getElementById('message-ok').click();
      e.preventDefault();
      return;
    }
    // F11 puts the page full screen and back, as it does the desktop's window.
    if (e.keyCode === 122) {
      e.preventDefault();
      if (document.fullscreenElement) document.exitFullscreen();
      else if (document.documentElement.requestFullscreen) document.documentElement.requestFullscreen().catch(() => {});
      return;
    }
    // Keys the game reads are its own, not the page's (scrolling, the browser's help or search).
    if (keysOfTheBrowser.has(e.keyCode) || e.keyCode === 27 || (e.keyCode >= 96 && e.keyCode <= 105)) e.preventDefault();
    post(1, e.keyCode);
  });
  const buttonCode = (b) => (b === 0 ? 1 : b === 2 ? 2 : b === 1 ? 4 : 0);
  game.addEventListener('pointerdown', (e) => {
    const el = e.target;
    if (el.tagName === 'BUTTON') return;  // a button's press is its click, never the window's
    e.preventDefault();
    if (el.tagName === 'CANVAS' && el.id !== 'window') {
      const s = surfaces.get(Number(el.dataset.surface));
      const r = el.getBoundingClientRect();
      const x = Math.floor(((e.clientX - r.left) * s.w) / r.width);
      const y = Math.floor(((e.clientY - r.top) * s.h) / r.height);
      post(2, s.handle, x, y, buttonCode(e.button));
      return;
    }
    post(2, 0, 0, 0, buttonCode(e.button));
  });
  game.addEventListener('pointermove', (e) => {
    if (e.target.id === 'board' && e.pointerType === 'mouse') post(3, Number(e.target.dataset.surface));
  });
  game.addEventListener('contextmenu', (e) => e.preventDefault());
  addEventListener('resize', layout);
  // A zoom or a rotation resizes the page; a move to a screen of another density may only change the ratio.
  (function watchDensity() {
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => {
      layout();
      watchDensity();
    }, { once: true });
  })();

  // ---- Sound: decoded once the title shows; heard once the first click, tap or key allows it. The
  // audio is resumed inside that gesture's own handler, the only place a browser lets it start, and
  // a tune asked for before the audio runs, or before it is decoded, starts from its first sample as
  // soon as both are done. The page's audio rests while nothing sounds, as an audio device left
  // running costs CPU all the time.
  const Audio = window.AudioContext || window.webkitAudioContext;
  let audio = null, asked = false, resting = 0;
  const buffers = new Map();
  let music = null, musicName = null, musicWanted = false, musicEnded = false, effectEnds = 0;
  function audioContext() {
    if (!audio && Audio) audio = new Audio();
    return audio;
  }
  // Called in the handler of every click, tap and key: the first one the browser counts as the
  // player's starts the audio.
  function allowSound() {
    const a = audioContext();
    if (!a || asked) return;
    // A finger's press counts only once it is lifted; its click or lift comes here again.
    if (navigator.userActivation && !navigator.userActivation.isActive) return;
    asked = true;
    a.resume().then(rest, () => {});
    startWantedMusic();
  }
  function rest() {
    clearTimeout(resting);
    resting = setTimeout(() => {
      if (!music && audio.currentTime >= effectEnds && audio.state === 'running') audio.suspend();
    }, 500);
  }
  // Started on audio that is not running yet, a sound waits for it at its first sample.
  function sounding(buffer, ended) {
    clearTimeout(resting);
    if (audio.state === 'suspended') audio.resume().catch(() => {});
    const source = audio.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.destination);
    source.onended = () => { ended(source); rest(); };
    source.start();
    return source;
  }
  function startWantedMusic() {
    const buffer = buffers.get(musicName);
    if (!musicWanted || music || !asked || !buffer) return;
    music = sounding(buffer, (source) => {
      if (music !== source) return;
      music = null;
      musicWanted = false;
      musicEnded = true;
    });
  }
  const soundType = (() => {
    const probe = document.createElement('audio');
    return probe.canPlayType && probe.canPlayType('audio/ogg; codecs=opus') ? 'ogg' : 'mp3';
  })();
  function loadSound(name) {
    const a = audioContext();
    if (!a || buffers.has(name)) return;
    buffers.set(name, null);
    const file = `sound/${name}.${soundType}`;
    fetch(file)
      .then((r) => (r.ok ? r.arrayBuffer() : Promise.reject(new Error(r.status))))
      .then((bytes) => new Promise((ok, fail) => a.decodeAudioData(bytes, ok, fail)))
      .then((buffer) => {
        buffers.set(name, buffer);
        if (name === musicName) startWantedMusic();
      })
      .catch((e) => console.warn(`${file}: not used (${e})`));
  }
  const sound = {
    openMusic(name) { musicName = name; },
    playMusic() {
      sound.stopMusic();
      musicEnded = false;
      musicWanted = true;
      startWantedMusic();
    },
    stopMusic() {
      musicWanted = false;
      if (!music) return;
      const source = music;
      music = null;
      source.onended = null;
      source.stop();
      rest();
    },
    closeMusic() { sound.stopMusic(); musicName = null; },
    musicEnded() { return musicEnded; },
    // One effect at a time: one asked for while another sounds is dropped, as is one asked for
    // before the first gesture or before it is decoded.
    playEffect(name) {
      const buffer = asked && buffers.get(name);
      if (!buffer || audio.currentTime < effectEnds) return;
      sounding(buffer, () => {});
      effectEnds = audio.currentTime + buffer.duration;
    },
  };

  // ---- The player's data in the browser's storage: best times and settings, each a JSON object. What
  // this visit chose is kept in memory too, and read back where the storage refuses to keep it.
  const memory = { times: {}, settings: {} };
  // The stored text, '' for none; null where the storage is blocked.
  function storedText(key) {
    try {
      return localStorage.getItem(key) || '';
    } catch (e) {
      return null;
    }
  }
  // The stages' times in the text, read as the desktop reads its file: whole seconds from 0 to 180
  // without sign or fraction, as a run writes them (JSON.parse would take -0 and 30.0 for numbers).
  function readTimes(text) {
    const times = {};
    for (const [, stage, value] of text.matchAll(/"([^"]*)"\s*:\s*([^,}]*)/g)) {
      const seconds = value.trim();
      if (/^[1-9]$/.test(stage) && /^(0|[1-9][0-9]{0,2})$/.test(seconds) && Number(seconds) <= 180) {
        times[stage] = Math.min(times[stage] ?? 180, Number(seconds));  // of two for a stage, the better
      }
    }
    return times;
  }
  // The better of two tables of times, stage by stage.
  function better(a, b) {
    const out = { ...a };
    for (const [stage, seconds] of Object.entries(b)) out[stage] = Math.min(out[stage] ?? seconds, seconds);
    return out;
  }
  // Read again for every save: another tab (where no lock keeps it out) may have kept a better time.
  function bestTimes() {
    const text = storedText('kanuvo.bestTimes');
    return text === null ? null : better(readTimes(text), memory.times);
  }
  function settings() {
    const text = storedText('kanuvo.settings');
    if (text === null) return null;
    let kept = {};
    try {
      const parsed = JSON.parse(text);
      if (parsed && typeof parsed === 'object' && !Array.isArray(parsed)) kept = parsed;
    } catch (e) { /* garbage holds nothing */ }
    return Object.assign(kept, memory.settings);
  }
  // 0 when the storage took the value, 1 when it did not.
  function keep(key, value) {
    try {
      if (!value) return 1;
      localStorage.setItem(key, JSON.stringify(value));
      return 0;
    } catch (e) {
      return 1;
    }
  }
  const store = {
    bestTime(stage) {
      const times = bestTimes();
      return times ? times[stage] ?? -1 : -2;
    },
    saveBestTime(stage, seconds) {
      memory.times = better(memory.times, { [stage]: seconds });
      return keep('kanuvo.bestTimes', bestTimes());
    },
    setting(name) {
      const kept = settings();
      if (!kept) return -2;
      return typeof kept[name] === 'boolean' ? (kept[name] ? 1 : 0) : -1;
    },
    saveSetting(name, value) {
      memory.settings[name] = !!value;
      return keep('kanuvo.settings', settings());
    },
  };

  // ---- What the page says and shows around the game.
  const pointers = [null, 'default'];
  const page = {
    anotherCopy: false,
    // A message over the page, which the game does not wait for: the only messages it shows end it.
    message(text) {
      const box = document.getElementById('message');
      document.getElementById('message-text').textContent = text;
      box.style.display = 'block';
      messageShown = new Promise((resolve) => {
        document.getElementById('message-ok').onclick = () => {
          box.style.display = 'none';
          resolve();
        };
      });
    },
    // The game stops at once; the window goes once the player has read the message it showed.
    end() {
      running = false;
      form.wakeIn(-1);
      messageShown.then(() => form.closeWindow());
    },
    note(text) {
      const note = document.getElementById('note');
      note.textContent = text;
      note.style.display = 'block';
      setTimeout(() => (note.style.display = 'none'), 8000);
    },
    english(context, source) {
      const said = data.english[`${context}\u0004${source}`];
      return typeof said === 'string' ? said : null;
    },
    loadPointer(name) {
      const c = data.cursors[name];
      if (!c) return 0;
      pointers.push(`url(cursors/${name}.png) ${c[0]} ${c[1]}, default`);
      return pointers.length - 1;
    },
    setPointer(handle) { game.style.cursor = pointers[handle] || 'default'; },
    speak(isEnglish) {
      english = !!isEnglish;
      document.documentElement.lang = english ? 'en' : 'ja';
      for (const b of buttons.values()) fitCaption(b);
    },
    askedEnglish() {
      const lang = params.get('lang');
      return lang === 'en' ? 1 : lang === 'ja' ? 0 : -1;
    },
    browserEnglish() { return /^en\b/i.test((navigator.languages && navigator.languages[0]) || navigator.language || '') ? 1 : 0; },
    touchScreen() { return touchScreen; },
    controlNames(help, pause, sound, assist, language, fast) {
      for (const [name, said] of Object.entries({ help, pause, sound, assist, language, fast })) {
        control(name).setAttribute('aria-label', said);
        control(name).title = said;
      }
      control('language').textContent = language;
    },
    // The title is on screen: what it did not need comes now.
    firstFrame() {
      requestAnimationFrame(() => {
        performance.mark('kanuvo-title');
        setTimeout(afterTitle, 0);
      });
    },
  };
  document.getElementById('again').addEventListener('click', () => location.reload());

  function afterTitle() {
    for (const name of data.sounds) loadSound(name);
    if (ratio > 1) for (const file of pictureFiles(english)) sharpPicture(file);
    for (const file of pictureFiles(!english)) picture(file);  // for a switch of language
    if ('serviceWorker' in navigator && params.get('offline') !== 'no') {
      navigator.serviceWorker.register(`sw.js?sound=${soundType}`).catch((e) => console.warn(`No offline copy: ${e}`));
    }
  }
  const worded = ['109', '110', '111'];
  const pictureFiles = (inEnglish) =>
    ['101', '102', '103', '104', '105', '106', '107', '108', ...worded].map((f) => (inEnglish && worded.includes(f) ? `en/${f}` : f));

  // Before the program starts: its data, its font, the pictures of the title and the board, and
  // whether another copy of the game runs in this browser.
  function settingsEnglish() {
    const asked = page.askedEnglish();
    if (asked >= 0) return asked === 1;
    const kept = settings();
    return kept && typeof kept.english === 'boolean' ? kept.english : page.browserEnglish() === 1;
  }
  // Whether another copy of the game runs in this browser. The Web Locks API is there only in a secure
  // context (https, localhost); elsewhere a claim in the storage stands in for it: a newcomer writes
  // its own, a live copy hears of it (the storage event) and writes its own back at once, and the
  // newcomer holds the game if its claim still stands a moment later. A copy that is gone answers
  // nothing, so it never keeps the player out.
  const kClaimAnsweredMs = 300;
  function anotherCopyRuns() {
    if (navigator.locks) {
      return new Promise((resolve) => {
        navigator.locks.request('kanuvo', { ifAvailable: true }, (lock) => {
          resolve(lock === null);
          return lock === null ? null : new Promise(() => {});  // held while the page lives
        });
      });
    }
    const key = 'kanuvo.copy', claim = `${Date.now()} ${Math.random()}`;
    try {
      localStorage.setItem(key, claim);
    } catch (e) {
      return Promise.resolve(false);  // a storage that keeps nothing has nothing two copies could spoil
    }
    return new Promise((resolve) => setTimeout(() => {
      if (storedText(key) !== claim) {
        resolve(true);
        return;
      }
      addEventListener('storage', (e) => {
        if ((e.key !== key && e.key !== null) || storedText(key) === claim) return;
        try {
          localStorage.setItem(key, claim);
        } catch (failed) { /* a storage that refuses now keeps no newcomer's claim either */ }
      });
      resolve(false);
    }, kClaimAnsweredMs));
  }
  // The title needs only its picture; the board's pictures and the face its words are written in come
  // meanwhile, and the page holds the player's input until they are there, so that the board is never
  // drawn without them.
  let boardReady = false;
  const held = [];
  function preparePage() {
    layout();
    const sharp = pixelRatioFor(scale) > 1;
    const load = (f) => (sharp ? sharpPicture(f).sharpLoading : picture(f).loading);
    const files = pictureFiles(settingsEnglish());
    const title = files.find((f) => f.endsWith('109'));
    const font = new FontFace('KanuvoGothic', 'url(fonts/kanuvo.woff2)');
    Promise.all([font.load().then((f) => document.fonts.add(f)).catch(() => {}),
                 ...files.filter((f) => f !== title).map(load)]).then(() => {
      boardReady = true;
      for (const event of held.splice(0)) post(...event);
    });
    return Promise.all([
      fetch('data.json').then((r) => r.json()).then((d) => (data = d)).catch(() => {}),
      anotherCopyRuns().then((another) => (page.anotherCopy = another)),
      load(title),
    ]);
  }

  return { draw, form, page, store, sound, prepare: preparePage, start: () => (running = true) };
})();

// Everything the program needs before it starts is fetched at once, beside the program itself.
const pageReady = Kanuvo.prepare();
var Module = {
  preRun: [() => {
    Module.addRunDependency('page');
    pageReady.then(() => {
      Kanuvo.start();
      Module.removeRunDependency('page');
    });
  }],
};
