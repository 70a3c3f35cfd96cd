// Plays the web page in headless Chromium: menus, keys, the mouse under Pointer Lock, the
// settings dialogue, and frames compared cell for cell with the Linux replay's; then the page as
// an installed app: its manifest and icons, and played offline from the service worker's cache.
// Nothing may be fetched from another host. Usage: node page_check.mjs PAGE_DIR LINUX_REPLAY
// SCREENSHOT_DIR (each program's first frame is saved there as NAME.png).
import path from 'node:path';
import puppeteer from 'puppeteer-core';

import {check, finish, launchChromium, linuxReplay, problems, servePage, shows, watchErrors}
    from './browsers.mjs';

const [pageDir, replay, screenshots] = process.argv.slice(2);
const server = await servePage(pageDir), origin = server.origin;
const replayFrame = linuxReplay(replay);
const browser = await launchChromium(puppeteer);

async function open(program) {
  const page = await browser.newPage();
  await page.setViewport({width: 960, height: 540});
  page.on('request', (r) => r.url().startsWith(origin) || problems.push(`elsewhere: ${r.url()}`));
  page.on('requestfailed', (r) => problems.push(`request failed: ${r.url()}`));
  watchErrors(page);
  await page.goto(`${origin}/index.html?program=${program}`);
  await page.waitForFunction(() => Module.consolePage?.text()[2]?.includes('<--'));
  return page;
}
const grid = (page) => page.evaluate(() => Module.consolePage.text());

// The part of the page's grid that a frame of that size covers.
function cut(rows, size) {
  const [width, height] = size.split('x').map(Number);
  return rows.slice(0, height).map((row) => row.slice(0, width).replaceAll('\u00db', '#'));
}
// Holds a key from a real key press (sent through the DevTools protocol) for exactly `frames`
// frames: the page releases it during the pause after the last of them, and answers that frame.
async function holdForFrames(page, code, frames) {
  await page.evaluate((code, frames) => {
    window.held = new Promise((resolve) => {
      let seen = -1;
      // Captured before the page's own listener, whose wake-up may run frames at once.
      addEventListener('keydown', (e) => { if (e.code === code && seen < 0) seen = 0; }, true);
      Module.onPause = (milliseconds) => {
        if (milliseconds !== 16 || seen < 0 || ++seen < frames) return;
        Module.onPause = null;
        dispatchEvent(new KeyboardEvent('keyup', {code}));
        resolve(Module.consolePage.text());
      };
    });
  }, code, frames);
  await page.keyboard.down(code);
  const shown = await page.evaluate(() => window.held);
  await page.keyboard.up(code);
  return shown;
}
const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
// The canvas shows the grid: at the middle of every cell of a game's picture, white where a
// block is and aqua where a space is.
const drawn = (page) => page.evaluate(() => {
  const canvas = document.getElementById('console'), rows = Module.consolePage.text();
  const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  const width = canvas.width / rows[0].length, height = canvas.height / rows.length;
  return rows.every((row, y) => [...row].every((c, x) => {
    const at = 4 * (Math.floor((y + 0.5) * height) * canvas.width + Math.floor((x + 0.5) * width));
    const colour = pixels.slice(at, at + 3).join();
    return c === '\u00db' ? colour === '255,255,255' : c !== ' ' || colour === '0,128,128';
  }));
});

const titles = {marbek: '=== Brumvoke ===', tolvan: '=== Skarnfell ===',
                ziravo: '=== Zorvel\'s Map ==='};
for (const [program, title] of Object.entries(titles)) {
  const page = await open(program), rows = await grid(page);
  check(rows[0].startsWith(title) && rows[2].startsWith('Run DEMO  <--'), `${program} menu`);
  check(same(cut(await holdForFrames(page, 'Enter', 1), '120x40'),
             replayFrame(program, '120x40', 1, '')), `${program} first frame`);
  await page.screenshot({path: path.join(screenshots, `${program}.png`)});
  await page.close();
}

let page = await open('marbek');
await page.keyboard.press('Enter');
await shows(page, 0, 'X:15.000000');
await holdForFrames(page, 'KeyW', 20);
const walked = replayFrame('marbek', '120x40', 24, '20 W')[0];
await shows(page, 0, walked.slice(0, 24));
check((await grid(page))[0].startsWith(walked.trimEnd()), `20 steps: ${(await grid(page))[0]}`);
check(await drawn(page), 'frames drawn after walking');

// Pointer Lock: a click locks the pointer; a real move of 100 pixels turns 10 degrees. A lock the
// browser refuses (as it does a click too soon after Esc) is no uncaught error, and the next
// click asks again.
await page.evaluate(() => {
  const lock = HTMLCanvasElement.prototype.requestPointerLock;
  HTMLCanvasElement.prototype.requestPointerLock = function refuseOnce() {
    HTMLCanvasElement.prototype.requestPointerLock = lock;
    return Promise.reject(new DOMException('too soon after Esc', 'SecurityError'));
  };
});
await page.mouse.click(400, 200);
await page.mouse.click(400, 200);
await page.waitForFunction(() => document.pointerLockElement !== null, {timeout: 5000});
await page.mouse.move(500, 200);
await shows(page, 0, 'A:190.000000');

await page.close();
page = await open('marbek');
await page.keyboard.press('ArrowDown');
await shows(page, 4, 'Settings  <--');
await page.keyboard.press('Enter');
await shows(page, 2, 'Width? ');
await page.keyboard.type('80 25');
await page.keyboard.press('Enter');
check((await grid(page))[2].startsWith('Width? 80 25'), 'typed line echoed');
await shows(page, 4, 'Set resolution: 80x25');
await shows(page, 4, 'Settings  <--');
await page.keyboard.press('ArrowUp');
await page.keyboard.press('Enter');
await shows(page, 0, 'X:15.0');
check(same(cut(await grid(page), '80x25'), replayFrame('marbek', '80x25', 1, '')), '80x25');

// Installed: Chromium parses the manifest and finds the page installable, and its icons load.
// Once the service worker controls the page, the page reloads and plays with the network off.
// A worker taking over deletes the caches of other builds: here one left by an "older build".
await page.close();
page = await open('tolvan');
const controlled = () => page.waitForFunction(() => navigator.serviceWorker.controller !== null,
                                              {timeout: 30000});
await controlled();
await page.evaluate(async () => {
  await caches.open('tolmarzi-older');
  await (await navigator.serviceWorker.getRegistration()).unregister();
});
await page.goto('about:blank');  // the last page it controls gone, the worker goes too
await page.goto(`${origin}/index.html?program=tolvan`);
await controlled();
const devTools = await page.createCDPSession();
const manifest = await devTools.send('Page.getAppManifest');
check(!manifest.errors.length, `manifest: ${JSON.stringify(manifest.errors)}`);
const installable = await devTools.send('Page.getInstallabilityErrors');
check(!installable.installabilityErrors.length, `not installable: ${JSON.stringify(installable)}`);
const icons = JSON.parse(manifest.data).icons;
const loaded = await page.evaluate((icons) => Promise.all(icons.map(({src}) => new Promise((ok) => {
  const image = new Image();
  image.onload = () => ok(`${image.naturalWidth}x${image.naturalHeight}`);
  image.onerror = () => ok('failed');
  image.src = src;
}))), icons);
check(icons.every(({sizes}, i) => loaded[i] === sizes || (sizes === 'any' && loaded[i] !== 'failed')),
      `icons: ${loaded}`);
const cached = await page.evaluate(async () => {
  const names = await caches.keys();
  return [names, (await (await caches.open(names[0])).keys()).map((r) => r.url)];
});
check(cached[0].length === 1 && /^tolmarzi-[0-9a-f]{16}$/.test(cached[0][0]) &&
      ['marbek', 'tolvan', 'ziravo'].every((p) => cached[1].includes(`${origin}/${p}.wasm`)),
      `cache: ${cached}`);
// Off in both ways: the DevTools emulation covers the page, the server's end its service worker.
await page.setOfflineMode(true);
server.close();
server.closeAllConnections();
await page.reload();
await page.waitForFunction(() => Module.consolePage?.text()[2]?.includes('<--'));
await page.keyboard.press('Enter');
await shows(page, 0, 'X:3.000000 Y:3.000000');
await holdForFrames(page, 'KeyW', 10);
check(!(await grid(page))[0].startsWith('X:3.000000 Y:3'), 'offline: W walks');

await browser.close();
finish('web page: menus, keys, Pointer Lock, settings and frames as on Linux; installable, and ' +
       'played offline');
