// Gamepads as a source of the console's keys and pointer, by the Gamepad API's standard mapping
// (input_mapping.js), read once a frame as the program's pauses end: a pad may be connected at
// any time, and one that goes away lets go of every key it held.
// Depends on: Module.consolePage and Module.inputMapping (run before this).
(() => {
  const page = Module.consolePage, mapping = Module.inputMapping;
  if (!navigator.getGamepads) return;
  page.afterEachPause(() => {
    const held = new Set();
    let turn = 0;
    for (const pad of navigator.getGamepads()) {
      if (!pad || !pad.connected || pad.mapping !== 'standard') continue;
      mapping.padKeys(pad).forEach((code) => held.add(code));
      turn += mapping.padTurn(pad.axes[2] || 0);
    }
    page.hold('pad', held);
    page.turn(turn);
  });
})();
