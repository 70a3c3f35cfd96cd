// The pure input mappings: a stick's eight directions and dead zone, the touch stick's rim, and
// the pad's turn growing with the deflection. Usage: node --test input_mapping_test.mjs.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import test from 'node:test';
import vm from 'node:vm';

const Module = {};
vm.runInNewContext(fs.readFileSync(new URL('input_mapping.js', import.meta.url), 'utf8'), {Module});
const {stickKeys, touchStickKeys, padTurn} = Module.inputMapping;

test('a stick holds one key or two by its direction, and nothing while it rests', () => {
  const keys = (x, y) => stickKeys(x, y).join(' ');
  for (const [x, y, expected] of [[0, -1, 'KeyW'], [0.7, -0.7, 'KeyW KeyD'], [1, 0, 'KeyD'],
    [0.7, 0.7, 'KeyS KeyD'], [0, 1, 'KeyS'], [-0.7, 0.7, 'KeyS KeyA'], [-1, 0, 'KeyA'],
    [-0.7, -0.7, 'KeyW KeyA'], [0.37, -0.93, 'KeyW'], [0.4, -0.92, 'KeyW KeyD'],
    [-0.93, 0.37, 'KeyA'], [-0.92, 0.4, 'KeyS KeyA'], [0, 0, ''], [0.24, 0, ''], [0.26, 0, 'KeyD'],
    [-0.15, -0.15, '']]) {
    assert.equal(keys(x, y), expected, `${x}, ${y}`);
  }
});

test('the touch stick runs from nine tenths of its radius out', () => {
  assert.equal(touchStickKeys(0, -53, 60).join(' '), 'KeyW');
  assert.equal(touchStickKeys(0, -54, 60).join(' '), 'KeyW ShiftLeft');
  assert.equal(touchStickKeys(-200, 0, 60).join(' '), 'KeyA ShiftLeft');
});

test('the right stick turns nothing at rest, then with the square of the deflection', () => {
  for (const [x, pixels] of [[0, 0], [0.25, 0], [-0.2, 0], [0.625, 15], [-0.625, -15], [1, 60],
    [-1, -60], [1.2, 60]]) {
    assert.equal(padTurn(x), pixels, `${x}`);
  }
});
