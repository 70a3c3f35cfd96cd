// Opens the frame-time page in headless Chromium and prints what it logs.
// Usage: node run_web_frames.mjs URL   (the page served from this machine, for example by
// `python3 -m http.server --bind 127.0.0.1 -d build/web/page 8000`: URL
// http://127.0.0.1:8000/web_frames.html). Uses the puppeteer-core installed in tests/web.
import {createRequire} from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const require = createRequire(new URL('../../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'web-frames-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox', '--disable-gpu',
    '--no-first-run', '--disable-background-networking', `--user-data-dir=${profile}`]});
const page = await browser.newPage();
await page.setViewport({width: 1280, height: 720});
const done = new Promise((resolve) => page.on('console', (message) => {
  console.log(message.text());
  if (message.text().startsWith('frame interval')) resolve();
}));
await page.goto(process.argv[2]);
await done;
await browser.close();
fs.rmSync(profile, {recursive: true, force: true});
