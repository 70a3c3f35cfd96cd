// The page side of the web console, run before the program starts: draws the console grid into
// the canvas "console" in whole device pixels (cells twice as tall as wide), lays the page out
// for a desktop or a touchscreen, and queues what the input sources report (keys held by any
// source, pointer movement, focus loss) for the program to poll; it also pauses the program.
// Depends on: the page holding the canvas (and optionally the line "help"); web.cpp calls
// Module.consolePage; the sources (keyboard, pointer, touch and pad scripts) feed it.
Module.consolePage = (() => {
  // The console's 16 colours: attribute nibbles 0 to 15.
  const palette = ['#000000', '#000080', '#008000', '#008080', '#800000', '#800080', '#808000',
                   '#c0c0c0', '#808080', '#0000ff', '#00ff00', '#00ffff', '#ff0000', '#ff00ff',
                   '#ffff00', '#ffffff'];
  const fullBlock = 0xdb;  // drawn as a filled cell, exact whatever the font
  // Event kinds and key actions as web.cpp and the terminal's decoder number them.
  const keyEvent = 1, focusLost = 2, pointerMoved = 3;
  const press = 0, repeat = 1, release = 2;
  // In portrait a touchscreen keeps this share of the height below the picture for the thumbs.
  const portraitPictureShare = 0.6;
  const helpAsideWidth = 136;  // CSS pixels the help takes beside the picture (index.html)
  const root = document.documentElement;
  const canvas = document.getElementById('console');
  const context = canvas.getContext('2d', {alpha: false});
  const queue = [];
  const holders = new Map();  // key code -> the sources holding it
  const afterPauses = [];
  let glyphs = [];
  let chars = new Uint8Array(0);  // the grid as drawn
  let attrs = new Uint8Array(0);
  let columns = 0, rows = 0, cellWidth = 8, cellHeight = 16;
  let wake = null, resumedAt = performance.now(), turnLeft = 0;
  let style = '';  // the context's fill style: setting it parses a colour, so only on a change

  function paint(colour) {
    if (colour !== style) context.fillStyle = style = colour;
  }

  function push(event) {
    const last = queue[queue.length - 1];
    if (event.kind === pointerMoved && last && last.kind === pointerMoved) {
      last.fields[0] += event.fields[0];
    } else {
      queue.push(event);
    }
    if (wake) wake();
  }
  const pushKey = (code, action, text = 0, modifiers = 0) =>
      push({kind: keyEvent, code, fields: [action, text, modifiers]});

  // A source's key going down: a press when no source held it, otherwise a repeat, so that a key
  // held by two sources at once is pressed once and let go when the last of them lets go.
  function keyDown(source, code, text = 0, modifiers = 0) {
    const sources = holders.get(code) || new Set();
    pushKey(code, sources.size ? repeat : press, text, modifiers);
    holders.set(code, sources.add(source));
  }
  function keyUp(source, code, modifiers = 0) {
    const sources = holders.get(code);
    if (!sources || !sources.delete(source) || sources.size) return;
    holders.delete(code);
    pushKey(code, release, 0, modifiers);
  }
  // A source that knows its whole set of held keys at once (a stick, a pad) hands it over.
  function hold(source, codes) {
    holders.forEach((sources, code) => {
      if (sources.has(source) && !codes.has(code)) keyUp(source, code);
    });
    for (const code of codes) {
      if (!(holders.get(code) || new Set()).has(source)) keyDown(source, code);
    }
  }

  // Cells `from` to `to` (excluded) of row y, from the grid as drawn.
  function drawCells(y, from, to) {
    const top = y * cellHeight, start = y * columns;
    for (let x = from; x < to;) {  // backgrounds, a run of one colour at a time
      let end = x + 1;
      while (end < to && attrs[start + end] >> 4 === attrs[start + x] >> 4) ++end;
      paint(palette[attrs[start + x] >> 4]);
      context.fillRect(x * cellWidth, top, (end - x) * cellWidth, cellHeight);
      x = end;
    }
    for (let x = from; x < to; ++x) {
      const byte = chars[start + x], colour = palette[attrs[start + x] & 15];
      if (byte === fullBlock) {
        let end = x + 1;
        while (end < to && chars[start + end] === fullBlock &&
               (attrs[start + end] & 15) === (attrs[start + x] & 15)) ++end;
        paint(colour);
        context.fillRect(x * cellWidth, top, (end - x) * cellWidth, cellHeight);
        x = end - 1;
      } else if (glyphs[byte] !== ' ' && glyphs[byte] !== '\u00a0') {
        paint(colour);
        context.fillText(glyphs[byte], x * cellWidth, top + cellHeight / 2, cellWidth);
      }
    }
  }

  // Whole cells of whole device pixels, as large as the window allows: above the help line on
  // a desktop, across the width in portrait on a touchscreen, over the full height in landscape
  // (with the help beside the picture where it fits there). The canvas's CSS size and place
  // follow the rounded cells, so nothing is resampled.
  function fit() {
    const landscape = innerWidth > innerHeight, touch = root.classList.contains('touch');
    root.classList.toggle('landscape', landscape);
    root.classList.remove('help-aside');
    if (!columns) return;
    const help = document.getElementById('help');
    const room = (touch && !landscape ? portraitPictureShare : 1) * innerHeight;
    const scaleFor = (height) =>
        Math.max(Math.min(innerWidth / (columns * 8), height / (rows * 16)), 0.05);
    let scale = scaleFor(room - (help ? help.offsetHeight : 0));
    if (touch && landscape && innerWidth - columns * 8 * scaleFor(room) >= 2 * helpAsideWidth) {
      root.classList.add('help-aside');
      scale = scaleFor(room);
    }
    const ratio = devicePixelRatio;
    cellWidth = Math.max(1, Math.floor(8 * scale * ratio));
    cellHeight = 2 * cellWidth;
    canvas.width = columns * cellWidth;
    canvas.height = rows * cellHeight;
    canvas.style.width = `${canvas.width / ratio}px`;
    canvas.style.height = `${canvas.height / ratio}px`;
    canvas.style.left = `${Math.max(0, Math.floor((innerWidth * ratio - canvas.width) / 2)) / ratio}px`;
    root.style.setProperty('--picture-bottom', `${canvas.height / ratio}px`);
    context.font = `${Math.round(cellHeight * 0.8)}px monospace`;
    context.textBaseline = 'middle';
    style = '';
    for (let y = 0; y < rows; ++y) drawCells(y, 0, columns);
  }

  addEventListener('resize', fit);
  fit();

  return {
    keyDown,
    keyUp,
    hold,
    // A key pressed and let go at once (a tap on a menu entry, a typed digit).
    tap(source, code, text = 0) {
      keyDown(source, code, text);
      keyUp(source, code);
    },
    // Horizontal pointer movement in pointer pixels; fractions add up across calls.
    turn(dx) {
      turnLeft += dx;
      const whole = Math.trunc(turnLeft);
      turnLeft -= whole;
      if (whole) push({kind: pointerMoved, fields: [whole, 0, 0]});
    },
    // The page lost the focus: no source's key is held any more.
    focusLost() {
      holders.clear();
      push({kind: focusLost, fields: [0, 0, 0]});
    },
    // `callback` runs as each pause ends, before the program goes on: once a frame in play.
    afterEachPause(callback) {
      afterPauses.push(callback);
    },
    // The grid cell under a point of the page (CSS pixels), or null outside the picture.
    cellAt(clientX, clientY) {
      const box = canvas.getBoundingClientRect();
      const column = Math.floor((clientX - box.left) / box.width * columns);
      const row = Math.floor((clientY - box.top) / box.height * rows);
      return column >= 0 && column < columns && row >= 0 && row < rows ? {column, row} : null;
    },
    refit: fit,
    start(glyphText) {
      glyphs = Array.from(glyphText);
    },
    draw(newChars, newAttrs, width, height) {
      if (width !== columns || height !== rows) {
        columns = width;
        rows = height;
        chars = new Uint8Array(newChars);
        attrs = new Uint8Array(newAttrs);
        fit();
        return;
      }
      // Only the span of each row from its first to its last changed cell is drawn again.
      for (let y = 0; y < rows; ++y) {
        const start = y * columns;
        let from = 0, to = columns;
        while (from < to && chars[start + from] === newChars[start + from] &&
               attrs[start + from] === newAttrs[start + from]) ++from;
        if (from === to) continue;
        while (chars[start + to - 1] === newChars[start + to - 1] &&
               attrs[start + to - 1] === newAttrs[start + to - 1]) --to;
        chars.set(newChars.subarray(start + from, start + to), start + from);
        attrs.set(newAttrs.subarray(start + from, start + to), start + from);
        drawCells(y, from, to);
      }
    },
    // The program reads a typed line (on) or has its answer (off): a touchscreen offers a field.
    askLine(on) {
      root.classList.toggle('asking', on);
      dispatchEvent(new CustomEvent('consoleasks', {detail: on}));
    },
    nextEvent() {
      return queue.shift();
    },
    // A pause of `milliseconds` (< 0: none), ended early by input when `untilInput` is set.
    // Module.onPause, when a test or benchmark sets it, learns each pause and the work before it.
    pause(milliseconds, untilInput) {
      const now = performance.now();
      if (Module.onPause) Module.onPause(milliseconds, now - resumedAt);
      return new Promise((resolve) => {
        if (untilInput && queue.length) return resolve();
        if (untilInput) wake = resolve;
        if (milliseconds >= 0) setTimeout(resolve, milliseconds);
      }).then(() => {
        wake = null;
        afterPauses.forEach((callback) => callback());
        resumedAt = performance.now();
      });
    },
    // The grid as drawn, one string per row, each byte one character.
    text() {
      const lines = [];
      for (let y = 0; y < rows; ++y) {
        lines.push(String.fromCharCode(...chars.subarray(y * columns, (y + 1) * columns)));
      }
      return lines;
    },
  };
})();
