// How sticks, triggers and drags become the game's keys and turns: pure functions of positions
// and pad readings, shared by the touch and pad sources. Keys are named as KeyboardEvent.code
// names them, so every source feeds the same virtual keys the keyboard does.
// Depends on: nothing (run before the program as part of its page script).
Module.inputMapping = (() => {
  // A stick's share of its reach that counts as resting: a thumb or a worn pad never walks.
  const deadZone = 0.25;
  // The touch stick pushed this far out (of its radius) runs, as Shift does.
  const rim = 0.9;
  // The pad's right stick at full deflection turns this many pointer pixels a frame (6 degrees;
  // the arrow keys turn 3).
  const padTurnMost = 60;
  // A drag of one CSS pixel turns as this many pointer pixels do: half a phone's width turns
  // about 90 degrees.
  const touchTurnGain = 4;
  // Pads report a pressed trigger from this pull on.
  const triggerPull = 0.5;

  // The eight directions of a stick, each 45 degrees wide, clockwise from straight up.
  const directions = [['KeyW'], ['KeyW', 'KeyD'], ['KeyD'], ['KeyS', 'KeyD'], ['KeyS'],
                      ['KeyS', 'KeyA'], ['KeyA'], ['KeyW', 'KeyA']];

  // The walking keys for a stick at (x, y), right and down, as shares of its reach.
  function stickKeys(x, y) {
    if (Math.hypot(x, y) < deadZone) return [];
    const sector = Math.round(Math.atan2(x, -y) / (Math.PI / 4));
    return directions[(sector + 8) % 8];
  }

  // The touch stick: a thumb (dx, dy) CSS pixels from where it landed, on a stick of `radius`.
  function touchStickKeys(dx, dy, radius) {
    const keys = stickKeys(dx / radius, dy / radius);
    return Math.hypot(dx, dy) >= rim * radius ? keys.concat('ShiftLeft') : keys;
  }

  // Pointer pixels a frame for the right stick's horizontal axis: none in the dead zone, then
  // growing with the square of the deflection past it, so small turns stay fine.
  function padTurn(x) {
    const past = (Math.abs(x) - deadZone) / (1 - deadZone);
    return past <= 0 ? 0 : Math.sign(x) * padTurnMost * Math.pow(Math.min(past, 1), 2);
  }

  const pulled = (button) => !!button && (button.pressed || button.value >= triggerPull);

  // The Gamepad API's standard mapping: button and axis numbers.
  const buttonKeys = [[0, ['Enter']], [7, ['Space']], [6, ['ShiftLeft']], [10, ['ShiftLeft']],
                      [8, ['Tab']], [12, ['KeyW', 'ArrowUp']], [13, ['KeyS', 'ArrowDown']],
                      [14, ['KeyA']], [15, ['KeyD']]];

  // Every key a pad holds now.
  function padKeys(pad) {
    const keys = new Set(stickKeys(pad.axes[0] || 0, pad.axes[1] || 0));
    buttonKeys.forEach(([button, codes]) => {
      if (pulled(pad.buttons[button])) codes.forEach((code) => keys.add(code));
    });
    return keys;
  }

  return {stickKeys, touchStickKeys, padTurn, padKeys, touchTurnGain};
})();
