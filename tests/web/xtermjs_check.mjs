// marbek in xterm.js (the terminal of VS Code and of many web IDEs) in headless Chromium, with the
// kitty keyboard protocol on, win32-input-mode on, and both off. The page's terminal talks to a
// shell on a pseudo-terminal; real key events (the DevTools protocol, into xterm.js's focused
// textarea) launch the program from the shell with a held Enter and play it, with the keyboard's
// auto-repeat (660 ms, 25/s) emulated; the screen is read from xterm.js's buffer. Prints what it
// measured per mode and fails on a limit broken.
// Usage: node xtermjs_check.mjs MARBEK. Depends on: node, Chromium, puppeteer-core and
// @xterm/xterm (npm ci in this folder), script (util-linux), bash.
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

import {launchChromium} from './browsers.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
const xterm = path.join(here, 'node_modules/@xterm/xterm');
const marbek = path.resolve(process.argv[2]);
const missing = ['/usr/bin/chromium', xterm, path.join(here, 'node_modules/puppeteer-core')]
    .filter((needed) => !fs.existsSync(needed));
if (missing.length) {
  console.log(`xterm.js check skipped: no ${missing.join(', ')} (Chromium; npm ci in tests/web)`);
  process.exit(77);
}
const {default: puppeteer} = await import('puppeteer-core');
const LIMITS = {'tap degrees': 15, 'stop after release ms': 100, 'W+D short of the walls': 0.01};
const MODES = {kitty: {kittyKeyboard: true, win32InputMode: false},
  win32: {kittyKeyboard: false, win32InputMode: true},
  'both off': {kittyKeyboard: false, win32InputMode: false}};
const shellCommand = 'unset DISPLAY WAYLAND_DISPLAY WINDOWID TMUX TERMINAL_KEYS; ' +
    'stty rows 41 cols 120; PS1="ready> " exec bash --norc';
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, Math.max(ms, 0)));

const browser = await launchChromium(puppeteer);

// A page whose terminal is a shell's on a pseudo-terminal (util-linux's script relays it over
// pipes), with no X display: bytes both ways; each screen update's status line and whether the
// shell's clean prompt is at the cursor, and each key release, logged with the page's clock.
let page;
async function open(vtExtensions) {
  page = await browser.newPage();
  await page.setRequestInterception(true);
  page.on('request', (r) => r.abort());  // everything the page needs is put in below
  const shell = spawn('script', ['-qfec', shellCommand, '/dev/null'], {cwd: path.dirname(marbek),
    env: {...process.env, TERM: 'xterm-256color'}, detached: true, stdio: ['pipe', 'pipe', 2]});
  shell.ended = new Promise((resolve) => shell.on('exit', () => resolve(true)));
  await page.exposeFunction('toPty', (data) => shell.stdin.write(data));
  await page.setContent('<!DOCTYPE html><body></body>');
  await page.addScriptTag({path: path.join(xterm, 'lib/xterm.js')});
  await page.evaluate((vtExtensions) => {
    window.term = new Terminal({cols: 120, rows: 41, vtExtensions});
    term.open(document.body);
    term.onData((data) => window.reply ? window.reply(data) : toPty(data));
    window.row = (y) => term.buffer.active.getLine(y).translateToString();
    window.screens = [];
    window.atPrompt = () => term.buffer.active.cursorY > 0 &&
        row(term.buffer.active.cursorY).trimEnd() === 'ready>';
    term.onWriteParsed(() => screens.push([performance.now(), row(0), atPrompt()]));
    window.releases = [];
    addEventListener('keyup', (e) => releases.push([e.timeStamp]), true);
    term.focus();
  }, vtExtensions);
  shell.stdout.on('data', (chunk) => page.evaluate((bytes) => term.write(
      Uint8Array.from(bytes, (c) => c.charCodeAt(0))), chunk.toString('latin1')).catch(() => {}));
  return shell;
}

const shows = (what, test, timeout = 5000) => page.waitForFunction(test, {timeout, polling: 10})
    .catch(() => { throw new Error(`timed out waiting for ${what}`); });
const status = (line) => line.match(/^X:([-\d.]+) Y:([-\d.]+) A:([-\d.]+) /)?.slice(1).map(Number);
const position = async () => status(await page.evaluate(() => row(0)));
const turn = (from, to) => Math.abs((to - from + 540) % 360 - 180);
// Held keys as a keyboard sends them: the last one pressed repeats after 660 ms, 25 times a
// second, until they are let go.
async function hold(keys, ms) {
  const start = Date.now();
  for (const key of keys) await page.keyboard.down(key);
  for (let next = 660; next < ms; next += 40) {
    await sleep(start + next - Date.now());
    await page.keyboard.down(keys.at(-1));
  }
  await sleep(start + ms - Date.now());
  for (const key of keys) await page.keyboard.up(key);
}

// Launched as a person does, with Enter held a moment: the menu shows and stays.
async function launch(figures) {
  await shows('the prompt', () => row(0).startsWith('ready> '));
  await page.keyboard.type('./marbek');
  await hold(['Enter'], 150);
  await shows('the menu', () => row(2).startsWith('Run DEMO  <--') || /^X:/.test(row(0)));
  await sleep(1000);
  figures['launch kept the menu'] = await page.evaluate(() => row(2).startsWith('Run DEMO  <--'));
  if (figures['launch kept the menu']) await hold(['Enter'], 50);
  await shows('the first frame', () => row(0).startsWith('X:15.000000 Y:3.500000 A:180.000000'));
}

async function walkAndTurn(figures) {
  await hold(['KeyW', 'KeyD'], 1000);
  await sleep(300);
  // Both axes walk until a wall stops each: x at row 1's wall, y at the level's top.
  const [x, y] = await position();
  figures['W+D short of the walls'] = Math.round((Math.abs(x - 13.25) + y - 1) * 1000) / 1000;
  figures['tap degrees'] = 360;
  for (let tap = 0; tap < 2; tap++) {
    const before = (await position())[2];
    await hold(['ArrowRight'], 50);
    await sleep(1200);
    figures['tap degrees'] = Math.min(figures['tap degrees'], turn(before, (await position())[2]));
  }
  // A frame can be late on a loaded machine; a key that stays down shows every time.
  figures['stop after release ms'] = 1000;
  for (let held = 0; held < 2; held++) {
    const start = await page.evaluate(() => performance.now());
    await hold(['ArrowRight'], 1200);
    await sleep(400);
    const [shown, [[up]]] = await page.evaluate((t) => [screens, releases].map(
        (log) => log.filter(([at]) => at >= t)), start);
    const headings = shown.map(([at, line]) => [at, status(line)?.[2]]).filter(([, a]) => a);
    const turned = headings.filter(([, a], i) => i > 0 && a !== headings[i - 1][1]);
    figures['stop after release ms'] = Math.round(
        Math.min(figures['stop after release ms'], (turned.at(-1)?.[0] ?? 1000) - up));
  }
}

// Ctrl+C, pressed as a person does, ends the program at once, and the shell gets the terminal
// back as it was, with nothing typed at its prompt.
async function quit(figures) {
  const start = await page.evaluate(() => performance.now());
  await page.keyboard.down('Control');
  await hold(['KeyC'], 80);
  await page.keyboard.up('Control');
  await shows('a clean prompt after Ctrl+C', () => atPrompt());
  figures['Ctrl+C ms'] = Math.round(await page.evaluate(
      (t) => screens.find(([at, , clean]) => at >= t && clean)[0] - t, start));
  figures['Ctrl+C left on'] = await page.evaluate(async () => {
    // The kitty flags of both screens, which xterm.js keeps apart (it answers where it has them).
    let replies = '';
    window.reply = (data) => { replies += data; };
    await new Promise((resolve) => term.write('\x1b[?u\x1b[?1049h\x1b[?u\x1b[?1049l', resolve));
    window.reply = null;
    const modes = term.modes, left = {'alternate screen': term.buffer.active.type !== 'normal',
      mouse: modes.mouseTrackingMode !== 'none', 'focus reports': modes.sendFocusMode,
      win32: modes.win32InputMode, kitty: /\[\?[1-9]/.test(replies), cursor: !modes.showCursor};
    return Object.keys(left).filter((name) => left[name]).join(', ') || 'nothing';
  });
}

// Lingers (both off) cannot tell a tap from a hold or see a release: there they are measured only.
function judge(mode, figures) {
  console.log(mode, JSON.stringify(figures));
  return [...Object.entries(mode === 'both off' ? {} : LIMITS)
    .filter(([name, limit]) => figures[name] > limit)
    .map(([name, limit]) => `${name} ${figures[name]} (at most ${limit})`),
  ...figures['launch kept the menu'] ? [] : ['the launching Enter started the game'],
  ...figures['Ctrl+C left on'] === 'nothing' ? [] : [`Ctrl+C left ${figures['Ctrl+C left on']} on`]]
    .map((failure) => `${mode}: ${failure}`);
}

const failures = [];
for (const [mode, vtExtensions] of Object.entries(MODES)) {
  const shell = await open(vtExtensions), figures = {};
  try {
    for (const step of [launch, walkAndTurn, quit]) await step(figures);
    failures.push(...judge(mode, figures));
  } catch (error) {
    console.log(mode, JSON.stringify(figures));
    const shown = await page.evaluate(() => [0, 1, 2, term.buffer.active.cursorY].map(
        (y) => row(y).trimEnd()).join(' | '));
    failures.push(`${mode}: ${error.message}; rows 0, 1, 2 and the cursor's: ${shown}`);
  }
  // The shell ends at the end of its input; a program left running, at the hang-up after that.
  shell.stdin.end();
  if (!await Promise.race([shell.ended, sleep(2000)])) process.kill(-shell.pid, 'SIGKILL');
  await page.close();
}
await browser.close();
console.log(failures.join('\n') || 'all checks passed');
process.exit(failures.length ? 1 : 0);
