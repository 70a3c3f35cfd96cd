// The keyboard as a source of the console's keys: keydown and keyup by physical key
// (KeyboardEvent.code), so W A S D stay in place on every layout, with the character each key
// types for the settings dialogue; the page losing the focus lets every key go.
// Depends on: Module.consolePage (console_page.js, run before this).
(() => {
  const page = Module.consolePage;
  const modifierBits = (e) => (e.shiftKey ? 1 : 0) | (e.altKey ? 2 : 0) | (e.ctrlKey ? 4 : 0) |
                              (e.metaKey ? 8 : 0);
  addEventListener('keydown', (e) => {
    const text = e.key && e.key.length === 1 ? e.key.charCodeAt(0) : 0;
    page.keyDown('keyboard', e.code, text, modifierBits(e));
    // Browser shortcuts stay; every other key belongs to the game (Tab, Space, arrows).
    if (!e.ctrlKey && !e.metaKey && !/^F\d/.test(e.code)) e.preventDefault();
  });
  addEventListener('keyup', (e) => page.keyUp('keyboard', e.code, modifierBits(e)));
  addEventListener('blur', () => page.focusLost());
})();
