// The page on a phone and with a gamepad, in headless Chromium: touches through the DevTools
// protocol (several fingers at once) in portrait and landscape, a scripted gamepad connected after
// the page loaded, and the picture in whole device pixels at several window sizes and pixel
// ratios. Prints the time from a touch's release to the last movement, and saves the phone's
// pictures as phone-portrait.png and phone-landscape.png.
// Usage: node touch_check.mjs PAGE_DIR SCREENSHOT_DIR. Depends on: browsers.mjs, Chromium, the
// built page.
import path from 'node:path';
import puppeteer from 'puppeteer-core';

import {check, finish, launchChromium, servePage, shows, watchErrors} from './browsers.mjs';

const [pageDir, screenshots] = process.argv.slice(2);
const server = await servePage(pageDir);
const origin = server.origin;
const browser = await launchChromium(puppeteer);

// A page of `program` on a screen of that size, with a page to go back to; every key event the
// program takes is logged.
async function open(program, viewport, beforeLoad = () => {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  watchErrors(page);
  await page.evaluateOnNewDocument(beforeLoad);
  await page.goto(`${origin}/index.html?program=none`);
  await page.goto(`${origin}/index.html?program=${program}`);
  await page.waitForFunction(() => Module.consolePage?.text()[2]?.includes('<--'));
  await page.evaluate(() => {
    const next = Module.consolePage.nextEvent;
    window.taken = [];
    window.shown = [];  // each frame's status line, with its time
    Module.onPause = (ms) => ms === 16 && shown.push([performance.now(), Module.consolePage.text()[0]]);
    Module.consolePage.nextEvent = () => {
      const event = next();
      if (event?.code) window.taken.push(`${['+', '=', '-'][event.fields[0]]}${event.code}`);
      if (event?.kind === 2) window.taken.push('blur');
      return event;
    };
  });
  return page;
}
// X, Y and the heading from the status line.
const status = (page) => page.evaluate(() => Module.consolePage.text()[0].match(
    /X:(\S+) Y:(\S+) A:(\S+)/).slice(1).map(Number));
const taken = (page) => page.evaluate(() => window.taken.splice(0).join(' '));
const frames = async (page, count) => page.waitForFunction(
    (end) => shown.length >= end, {}, count + await page.evaluate(() => shown.length));

// Fingers on the glass: every touch event lists all the fingers down; lifting lifts them all.
function touchscreen(page) {
  const fingers = new Map();
  const send = async (type) => (await session).send('Input.dispatchTouchEvent',
                                                     {type, touchPoints: [...fingers.values()]});
  const session = page.createCDPSession();
  return [(finger, x, y) => {
    const type = fingers.has(finger) ? 'touchMove' : 'touchStart';
    fingers.set(finger, {id: finger, x, y});
    return send(type);
  }, () => {
    fingers.clear();
    return send('touchEnd');
  }];
}
// A point of an element: the middle of the menu entry on `row` of the picture, or of a button.
const pointOf = (page, id, row) => page.evaluate((id, row) => {
  const box = document.getElementById(id).getBoundingClientRect();
  return row === undefined ? [box.left + box.width / 2, box.top + box.height / 2]
                           : [box.left + 4 * box.width / 120, box.top + (row + 0.5) * box.height / 41];
}, id, row);

// Taps the menu entry on `row`.
async function tapEntry(page, row) {
  const [touch, lift] = touchscreen(page);
  await touch(1, ...await pointOf(page, 'console', row));
  await lift();
}

// Portrait: tap "Run DEMO"; the stick walks as W, then as W+D; walking, running, turning and
// firing at once, with Shift held on the keyboard too; nothing moves after the release; a swipe
// from the edge does not leave the page.
const phone = {width: 412, height: 915, deviceScaleFactor: 2.625, isMobile: true, hasTouch: true};
let page = await open('marbek', phone);
let [touch, lift] = touchscreen(page);
check(await page.$eval('#fire', (b) => getComputedStyle(b).display !== 'none'), 'Fire shown');
await tapEntry(page, 2);
await shows(page, 0, 'X:15.000000 Y:3.500000 A:180');
await taken(page);
for (const [dx, dy, keys, walked] of [[0, -40, 'KeyW', (x, y) => x < 0 && Math.abs(y) < 1e-3],
  [30, -30, 'KeyW KeyD', (x, y) => x < 0 && y < 0]]) {
  const before = await status(page);
  await touch(1, 190, 600);
  await touch(1, 190 + dx, 600 + dy);
  await frames(page, 3);
  if (dx === 0) await page.screenshot({path: path.join(screenshots, 'phone-portrait.png')});
  await lift();
  await frames(page, 1);
  const after = await status(page);
  check(walked(after[0] - before[0], after[1] - before[1]), `stick: ${before} to ${after}`);
  const got = await taken(page);
  check(got === `+${keys.replace(' ', ' +')} -${keys.replace(' ', ' -')}`, `stick: ${got}`);
}
const walked = await status(page);
await page.keyboard.down('ShiftLeft');
await touch(1, 190, 600);
await touch(2, 230, 150);
await touch(3, ...await pointOf(page, 'fire'));
await touch(1, 190, 670);
await touch(2, 280, 150);
await frames(page, 3);
const together = await status(page);
await page.evaluate(() => addEventListener('pointerup', () => {
  window.released ??= performance.now();
}, true));
await lift();
await frames(page, 10);
const [releasedAt, moves] = await page.evaluate(() => [window.released, window.shown]);
// A frame's status line shows where the frame before it left the player.
const stopMs = moves[moves.findLastIndex(([, line], i) => i && line !== moves[i - 1][1]) - 1][0] -
    releasedAt;
check(stopMs <= 16 && stopMs > -40, `last moved ${stopMs} ms after the release`);
check(together[2] === 200 && together[0] > walked[0], `walk and turn at once: ${together}`);
await page.keyboard.up('ShiftLeft');
await frames(page, 1);
const keys = await taken(page);
check(keys === '+ShiftLeft +Space +KeyS =ShiftLeft -KeyS -Space -ShiftLeft', `at once: ${keys}`);
for (let x = 2; x <= 400; x += 40) await touch(1, x, 700);
await lift();
await new Promise((resolve) => setTimeout(resolve, 1000));
check(page.url().includes('program=marbek'), `a swipe went to ${page.url()}`);
await page.close();

// Landscape: the settings dialogue answered in the numeric field, then "Run DEMO" from below it.
page = await open('marbek', {...phone, width: 915, height: 412});
[touch, lift] = touchscreen(page);
await tapEntry(page, 4);
await shows(page, 2, 'Width? ');
check(await page.evaluate(() => document.activeElement.inputMode) === 'numeric', 'no keypad');
await page.keyboard.sendCharacter('120');
await page.keyboard.press('Enter');
await shows(page, 3, 'Set width: 120');
await page.keyboard.sendCharacter('401');
await page.keyboard.press('Backspace');
await page.keyboard.press('Enter');
await shows(page, 5, 'Set resolution: 120x40');
await shows(page, 4, 'Settings  <--');
await tapEntry(page, 2);
await shows(page, 0, 'X:15.000000 Y:3.500000 A:180');
await touch(1, 100, 300);
await touch(1, 100, 260);
await frames(page, 3);
await page.screenshot({path: path.join(screenshots, 'phone-landscape.png')});
await lift();
await page.close();

// A gamepad plugged in after the page loaded: A chooses "Run DEMO"; each control holds its keys
// and lets them go when it rests; the right stick turns faster the further it is pushed; a pad
// unplugged mid-hold lets its keys go.
page = await open('marbek', {width: 960, height: 540}, () => {
  window.pads = [];
  navigator.getGamepads = () => window.pads;
});
const plug = (axes = [], pressed = []) => page.evaluate((axes, pressed) => {
  const buttons = Array.from({length: 17}, (_, i) => ({pressed: pressed.includes(i),
                                                       value: pressed.includes(i) ? 1 : 0}));
  window.pads = [{connected: true, mapping: 'standard', axes, buttons}];
}, axes, pressed);
await plug([], [0]);
await shows(page, 0, 'X:15.000000 Y:3.500000 A:180');
await plug();
await frames(page, 2);
await taken(page);
for (const [axes, buttons, keys] of [[[0, -1], [], 'KeyW'], [[0.7, 0.7], [], 'KeyS KeyD'],
  [[-1, 0.1], [], 'KeyA'], [[0.15, -0.15], [], ''], [[], [7], 'Space'], [[], [6], 'ShiftLeft'],
  [[], [10], 'ShiftLeft'], [[], [8], 'Tab'], [[], [12], 'KeyW ArrowUp'],
  [[], [13], 'KeyS ArrowDown'], [[], [14], 'KeyA'], [[], [15], 'KeyD']]) {
  await plug(axes, buttons);
  await frames(page, 2);
  await plug();
  await frames(page, 2);
  const expected = keys && `+${keys.replaceAll(' ', ' +')} -${keys.replaceAll(' ', ' -')}`;
  const got = await taken(page);
  check(got === expected, `pad ${axes} ${buttons}: ${got}`);
}
for (const [deflection, degrees] of [[1, 6], [-0.625, -1.5], [0.2, 0]]) {
  await plug([0, 0, deflection, 0]);
  await frames(page, 4);
  const [a, b] = (await status(page).then(() => page.evaluate(() => shown.slice(-2))))
      .map(([, line]) => Number(line.match(/A:(\S+)/)[1]));
  check(Math.abs((b - a - degrees + 540) % 360 - 180) < 1e-3, `right stick ${deflection}: ${b - a}`);
}
await plug([0, -1]);
await frames(page, 2);
await page.evaluate(() => { window.pads = []; });
await frames(page, 2);
check(await taken(page) === '+KeyW -KeyW', 'a pad unplugged mid-hold');
await page.keyboard.down('KeyW');
await frames(page, 1);
await page.evaluate(() => dispatchEvent(new Event('blur')));
await frames(page, 1);
await page.keyboard.up('KeyW');
await frames(page, 1);
check(await taken(page) === '+KeyW blur', 'the keyboard\'s keys held after the focus went');
await page.close();

// Whole device pixels at every size and ratio: the canvas's CSS size is its pixels' size.
page = await open('marbek', {width: 800, height: 600});
check(await page.$eval('#help', (help) => parseFloat(getComputedStyle(help).fontSize) >= 12 &&
                       help.scrollWidth <= help.clientWidth), 'help line unreadable at 800x600');
for (const [width, height, deviceScaleFactor] of [[1280, 800, 1], [800, 600, 1], [1366, 768, 1.25],
  [412, 915, 2.625], [915, 412, 3], [1920, 1080, 1.5], [333, 777, 1.75]]) {
  const resized = page.evaluate(() => new Promise((done) => addEventListener('resize', done)));
  await page.setViewport({width, height, deviceScaleFactor});
  await resized;  // after the page's own listener, which fits the picture
  const [css, pixels] = await page.$eval('#console', (canvas) =>
    [canvas.getBoundingClientRect().width * devicePixelRatio, canvas.width]);
  check(Math.abs(css - pixels) < 0.05, `${width}x${height}@${deviceScaleFactor}: ${pixels} ` +
        `pixels shown on ${css}`);
}
await page.close();

await browser.close();
server.close();
finish(`touch, gamepad and whole pixels: the last movement ${Math.abs(stopMs).toFixed(1)} ms ` +
       `${stopMs > 0 ? 'after' : 'before'} a touch's release`);
