// A touchscreen as a source of the console's keys and pointer, shown from the first touch (or at
// once where the main pointer is coarse): a tap on a menu entry chooses it as the arrow keys and
// Enter would; a thumb in the left half sets a walking stick where it lands (at its rim it runs);
// a drag in the right half turns; the Fire and Map buttons hold Space and Tab; and a numeric
// field answers the settings dialogue with typed digits and Enter. Several touches work at once.
// Depends on: Module.consolePage and Module.inputMapping (run before this); the page's buttons
// with a data-key, the "stick" and its "knob", and the form "answer-form" with its "answer".
(() => {
  const page = Module.consolePage, mapping = Module.inputMapping;
  const root = document.documentElement;
  const stick = document.getElementById('stick'), knob = document.getElementById('knob');
  const answerForm = document.getElementById('answer-form');
  const answer = document.getElementById('answer');
  if (!stick || !knob || !answerForm || !answer) return;  // a page without the touch controls
  // The menu's entries: the row each is written on and the arrow that selects it.
  const menuEntries = [{row: 2, text: 'Run DEMO', arrow: 'ArrowUp'},
                       {row: 4, text: 'Settings', arrow: 'ArrowDown'}];
  const menuReach = 2;  // rows above or below an entry that still choose it: the text is small
  const tapSlop = 16;   // CSS pixels a tap may slide and still be a tap
  const touches = new Map();  // pointerId -> what that touch does

  function showTouchControls() {
    if (root.classList.contains('touch')) return;
    root.classList.add('touch');
    page.refit();
  }
  if (matchMedia('(pointer: coarse)').matches) showTouchControls();

  // The menu entry nearest to a point of the picture while the menu is shown, or null.
  function menuEntryAt(x, y) {
    const cell = page.cellAt(x, y), rows = page.text();
    if (!cell || !menuEntries.every(({row, text}) => (rows[row] || '').startsWith(text))) return null;
    const distance = (entry) => Math.abs(cell.row - entry.row);
    const nearest = menuEntries.reduce((a, b) => (distance(b) < distance(a) ? b : a));
    return distance(nearest) <= menuReach ? nearest : null;
  }

  function stickRadius() {
    return Math.min(64, Math.max(40, 0.14 * Math.min(innerWidth, innerHeight)));
  }

  function drawStick(touch) {
    const radius = stickRadius(), dx = touch.x - touch.startX, dy = touch.y - touch.startY;
    const reach = Math.min(1, radius / Math.max(Math.hypot(dx, dy), 1e-9));
    Object.assign(stick.style, {display: 'block', left: `${touch.startX - radius}px`,
                                top: `${touch.startY - radius}px`, width: `${2 * radius}px`,
                                height: `${2 * radius}px`});
    knob.style.transform = `translate(${dx * reach}px, ${dy * reach}px)`;
  }

  // Every key the touches hold now: the stick's direction and the buttons under fingers.
  function holdKeys() {
    const codes = new Set();
    for (const touch of touches.values()) {
      if (touch.role === 'button') codes.add(touch.code);
      if (touch.role === 'stick') {
        mapping.touchStickKeys(touch.x - touch.startX, touch.y - touch.startY, stickRadius())
            .forEach((code) => codes.add(code));
      }
    }
    page.hold('touch', codes);
    if (![...touches.values()].some((touch) => touch.role === 'stick')) {
      stick.style.display = 'none';
    }
  }

  function roleOf(e, target) {
    const button = target.closest('button[data-key]');
    if (button) return {role: 'button', code: button.dataset.key};
    const entry = menuEntryAt(e.clientX, e.clientY);
    if (entry) return {role: 'menu', entry};
    return {role: e.clientX < innerWidth / 2 ? 'stick' : 'turn'};
  }

  document.addEventListener('pointerdown', (e) => {
    const target = e.target instanceof Element ? e.target : root;
    if (e.pointerType === 'mouse' || target.closest('form, a')) return;
    showTouchControls();
    e.preventDefault();
    const touch = Object.assign(roleOf(e, target), {startX: e.clientX, startY: e.clientY, x: e.clientX,
                                            y: e.clientY});
    touches.set(e.pointerId, touch);
    target.setPointerCapture(e.pointerId);
    if (touch.role === 'stick') drawStick(touch);
    holdKeys();
  });

  document.addEventListener('pointermove', (e) => {
    const touch = touches.get(e.pointerId);
    if (!touch) return;
    if (touch.role === 'turn') page.turn((e.clientX - touch.x) * mapping.touchTurnGain);
    touch.x = e.clientX;
    touch.y = e.clientY;
    if (touch.role === 'stick') {
      drawStick(touch);
      holdKeys();
    }
  });

  function lift(e) {
    const touch = touches.get(e.pointerId);
    if (!touch) return;
    touches.delete(e.pointerId);
    holdKeys();
    const slid = Math.hypot(e.clientX - touch.startX, e.clientY - touch.startY);
    if (e.type === 'pointerup' && touch.role === 'menu' && slid <= tapSlop) choose(touch.entry);
  }
  document.addEventListener('pointerup', lift);
  document.addEventListener('pointercancel', lift);

  function choose(entry) {
    page.tap('touch', entry.arrow);
    page.tap('touch', 'Enter');
    // Focused while the tap still counts as the user's own gesture, so that the phone shows its
    // keyboard for the first question (a focus from a script later would not).
    if (entry.text === 'Settings') {
      root.classList.add('asking');
      answer.focus();
    }
  }

  // Browsers that scroll, zoom or go back on a gesture before any CSS says otherwise.
  document.addEventListener('touchmove', (e) => e.preventDefault(), {passive: false});
  document.addEventListener('gesturestart', (e) => e.preventDefault());

  // The settings dialogue's answers: what the field gains is typed, what it loses is erased,
  // and sending the form is Enter. Its keys are its own, not the keyboard source's.
  let typed = '';
  answer.addEventListener('input', () => {
    let same = 0;
    while (same < typed.length && typed[same] === answer.value[same]) ++same;
    for (let i = typed.length; i > same; --i) page.tap('field', 'Backspace');
    for (const ch of answer.value.slice(same)) {
      page.tap('field', ch === ' ' ? 'Space' : `Digit${ch}`, ch.charCodeAt(0));
    }
    typed = answer.value;
  });
  answerForm.addEventListener('submit', (e) => {
    e.preventDefault();
    page.tap('field', 'Enter');
    answer.value = typed = '';
  });
  for (const type of ['keydown', 'keyup']) {
    answerForm.addEventListener(type, (e) => e.stopPropagation());
  }
  addEventListener('consoleasks', (e) => {
    if (e.detail && root.classList.contains('touch')) answer.focus();
    if (!e.detail) setTimeout(() => root.classList.contains('asking') || answer.blur());
  });
})();
