// The page side of the web console, run before the program starts: draws the console grid into
// the canvas "console" (scaled to the window, cells twice as tall as wide), queues the key, focus
// and Pointer Lock events for the program to poll, and pauses the program. Depends on: the page
// holding the canvas (and optionally the line "help" under it); web.cpp calls Module.consolePage.
Module.consolePage = (() => {
  // The console's 16 colours: attribute nibbles 0 to 15.
  const palette = ['#000000', '#000080', '#008000', '#008080', '#800000', '#800080', '#808000',
                   '#c0c0c0', '#808080', '#0000ff', '#00ff00', '#00ffff', '#ff0000', '#ff00ff',
                   '#ffff00', '#ffffff'];
  const fullBlock = 0xdb;  // drawn as a filled cell, exact whatever the font
  // Event kinds, key actions and modifier bits as web.cpp and the terminal's decoder number them.
  const keyEvent = 1, focusLost = 2, pointerMoved = 3;
  const press = 0, repeat = 1, release = 2;
  const modifierBits = (e) => (e.shiftKey ? 1 : 0) | (e.altKey ? 2 : 0) | (e.ctrlKey ? 4 : 0) |
                              (e.metaKey ? 8 : 0);
  const canvas = document.getElementById('console');
  const context = canvas.getContext('2d', {alpha: false});
  const queue = [];
  let glyphs = [];
  let chars = new Uint8Array(0);  // the grid as drawn
  let attrs = new Uint8Array(0);
  let columns = 0, rows = 0, cellWidth = 8, cellHeight = 16;
  let wake = null, resumedAt = performance.now();
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

  // Whole cells of whole device pixels, as large as the window allows under the help line.
  function fit() {
    if (!columns) return;
    const help = document.getElementById('help');
    const height = innerHeight - (help ? help.offsetHeight : 0);
    const scale = Math.max(Math.min(innerWidth / (columns * 8), height / (rows * 16)), 0.05);
    cellWidth = Math.max(1, Math.floor(8 * scale * devicePixelRatio));
    cellHeight = 2 * cellWidth;
    canvas.width = columns * cellWidth;
    canvas.height = rows * cellHeight;
    canvas.style.width = `${columns * 8 * scale}px`;
    canvas.style.height = `${rows * 16 * scale}px`;
    context.font = `${Math.round(cellHeight * 0.8)}px monospace`;
    context.textBaseline = 'middle';
    style = '';
    for (let y = 0; y < rows; ++y) drawCells(y, 0, columns);
  }

  addEventListener('resize', fit);
  addEventListener('keydown', (e) => {
    const text = e.key.length === 1 ? e.key.charCodeAt(0) : 0;
    const action = e.repeat ? repeat : press;
    push({kind: keyEvent, code: e.code, fields: [action, text, modifierBits(e)]});
    // Browser shortcuts stay; every other key belongs to the game (Tab, Space, arrows).
    if (!e.ctrlKey && !e.metaKey && !/^F\d/.test(e.code)) e.preventDefault();
  });
  addEventListener('keyup', (e) => {
    push({kind: keyEvent, code: e.code, fields: [release, 0, modifierBits(e)]});
  });
  addEventListener('blur', () => push({kind: focusLost, fields: [0, 0, 0]}));
  canvas.addEventListener('click', () => canvas.requestPointerLock());
  document.addEventListener('mousemove', (e) => {
    if (document.pointerLockElement === canvas) {
      push({kind: pointerMoved, fields: [e.movementX, 0, 0]});
    }
  });

  return {
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
