// Plays marbek's page in one browser engine with that engine's own key input: the menu; Enter
// starts the game; Space held fires, Tab held shows the level map, each frame as the Linux replay
// draws it, and each gone again on the key's release; W held walks, and stops on its release.
// Prints what passed and the engine's version; exit status 77 when the engine cannot start here.
// Usage: node play_check.mjs chromium|firefox|webkit PAGE_DIR LINUX_REPLAY
// Depends on: browsers.mjs (and what it needs for the engine), the page built by the web preset.
import {linuxReplay, servePage, startEngine} from './browsers.mjs';

const [engineName, pageDir, replay] = process.argv.slice(2);
const frame = (script) => linuxReplay(replay)('marbek', '120x40', 1, script);
const engine = await startEngine(engineName).catch((error) => {
  console.log(`${engineName} play check skipped: ${error.message}`);
  process.exit(77);
});
const fail = (problem) => {
  console.error(`${engine.version}: ${problem}`);
  process.exit(1);
};
// A browser that stops answering fails the check well within the test's time, naming the step.
let step = 'opening the page';
setTimeout(() => fail(`${step}: timed out`), 60000).unref();

// In the page: window.found, the first frame from now whose top rows begin with `rows` (with
// `differ`, one whose do not; with no rows, one whose top row is the last frame's), blocks written
// '#'; null when `frames` frames pass without one. Frames are watched as the page pauses after
// drawing them, so none goes by unseen.
function watchFrames(rows, differ, frames) {
  let last;
  window.found = new Promise((resolve) => {
    Module.onPause = () => {
      const grid = Module.consolePage.text().map((row) => row.replaceAll('\u00db', '#'));
      const match = (rows ? rows.every((row, y) => grid[y].startsWith(row)) !== differ
                          : grid[0] === last);
      last = grid[0];
      if (!match && --frames > 0) return;
      Module.onPause = null;
      resolve(match ? grid : null);
    };
  });
}
// Watches the frames for `rows` (see watchFrames), with `key` held meanwhile when one is given.
async function expect(what, rows, {key, differ = false, frames = 1000} = {}) {
  step = what;
  await engine.run(watchFrames, rows, differ, frames);
  if (key) await engine.down(key);
  const found = await engine.run(() => window.found);
  if (key) await engine.up(key);
  if (!found) fail(`${what}: not seen`);
}

await engine.open(`${(await servePage(pageDir)).origin}/index.html?program=marbek`);
step = 'the menu';
await engine.run(() => new Promise(function poll(resolve) {
  if (window.Module?.consolePage?.text()[2]?.startsWith('Run DEMO  <--')) resolve();
  else setTimeout(poll, 20, resolve);
}));
const start = 'X:15.000000 Y:3.500000';
await expect('Enter starts the game', [start], {key: 'Enter'});
await expect('Space fires', frame('1 SPACE'), {key: ' '});
await expect('the gun at rest after Space', frame(''));
await expect('Tab shows the map', frame('1 TAB'), {key: 'Tab'});
await expect('the map gone after Tab', frame(''));
await expect('W walks', [start], {key: 'w', differ: true});
await expect('W let go: standing still within 10 frames', null, {frames: 10});
console.log(`${engine.version}: menu, Enter, Space fires, Tab shows the map, W walks and stops`);
process.exit(0);
