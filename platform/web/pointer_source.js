// The mouse as a source of the console's pointer: a click on the picture takes the pointer
// (Pointer Lock), and its horizontal movement then turns the view; Esc gives it back. A lock the
// browser refuses (a click too soon after Esc) is simply asked for again on the next click.
// Touches never ask for the lock: they have the touch source.
// Depends on: Module.consolePage (console_page.js, run before this).
(() => {
  const page = Module.consolePage;
  const canvas = document.getElementById('console');
  let mouseDown = false;
  canvas.addEventListener('pointerdown', (e) => { mouseDown = e.pointerType === 'mouse'; });
  canvas.addEventListener('click', () => {
    if (!mouseDown || document.pointerLockElement === canvas) return;
    try {
      // Newer browsers answer with a promise, older ones with an event; both may refuse, and
      // the next click asks again.
      const asked = canvas.requestPointerLock();
      if (asked && asked.catch) asked.catch(() => {});
    } catch (refusedAtOnce) {
      // as above: the next click asks again
    }
  });
  document.addEventListener('mousemove', (e) => {
    if (document.pointerLockElement === canvas) page.turn(e.movementX);
  });
})();
