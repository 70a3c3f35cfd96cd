// What the web checks share: the page served on 127.0.0.1, the Linux replay's frames to compare
// it with, and the browser engines to play it in, each behind the same few calls: headless
// Chromium and headless Firefox ESR (over WebDriver BiDi) through puppeteer-core, and WebKitGTK's
// MiniBrowser on a virtual X display through WebKitWebDriver (W3C WebDriver over HTTP). Profiles,
// browsers, the driver and the display are gone however the run ends. Depends on: puppeteer-core
// (npm ci here), and for the engine asked for Chromium, Firefox ESR, or webkit2gtk-driver and Xvfb.
import {execFileSync, spawn} from 'node:child_process';
import {once} from 'node:events';
import fs from 'node:fs';
import http from 'node:http';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';

// Each in a process group of its own, with the processes it starts; all killed before the
// profiles they write to are removed.
const started = [];
process.on('exit', () => started.forEach((child) => {
  try { process.kill(-child.pid, 'SIGKILL'); } catch { /* already gone */ }
}));
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) process.on(signal, () => process.exit(130));

function temporaryProfile() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'web-check-'));
  process.on('exit', () => fs.rmSync(profile, {recursive: true, force: true}));
  return profile;
}

// Debian's Chromium, with no background networking, which a closed network would refuse. Its
// temporary files go in its profile too, as it leaves them when killed.
export function launchChromium(puppeteer) {
  const profile = temporaryProfile();
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, env: {...process.env, TMPDIR: profile},
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`]});
}

// What a check found wrong: its own checks, and each watched page's errors. finish() ends the
// check, failing with them, or saying `passed`.
export const problems = [];
export const check = (ok, what) => ok || problems.push(what);
export function watchErrors(page) {
  page.on('console', (m) => m.type() === 'error' && problems.push(`console: ${m.text()}`));
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
}
export function finish(passed) {
  console.log(problems.length ? problems.join('\n') : passed);
  process.exit(problems.length ? 1 : 0);
}
// Waits for `text` on `row` of the page's console grid.
export const shows = (page, row, text, timeout = 30000) => page.waitForFunction(
    (r, t) => Module.consolePage.text()[r]?.includes(t), {timeout}, row, text);

// The files of `pageDir` on a port of 127.0.0.1, at server.origin.
export async function servePage(pageDir) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                 '.png': 'image/png', '.svg': 'image/svg+xml',
                 '.webmanifest': 'application/manifest+json'};
  const server = http.createServer((request, response) => {
    const name = path.basename(new URL(request.url, 'http://localhost').pathname) || 'index.html';
    fs.readFile(path.join(pageDir, name), (error, data) => {
      const type = types[path.extname(name)] ?? 'text/plain';
      response.writeHead(error ? 404 : 200, {'content-type': type});
      response.end(error ? '' : data);
    });
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  server.origin = `http://127.0.0.1:${server.address().port}`;
  return server;
}

// Frames of the Linux replay program `replay`: (variant, size, frame, script) gives frame `frame`
// of that script's run (script lines, see the replay tool) as text rows.
export const linuxReplay = (replay) => (variant, size, frame, script) => {
  const out = execFileSync(replay, [variant, '--size', size, '--frames', String(frame),
    '--print', 'last', '--script', '-'], {input: script, encoding: 'latin1'});
  return out.split('\n').slice(1, 1 + Number(size.split('x')[1]));
};

// One page in `name`'s engine: open(url), run(fn, ...args) in the page (a promise awaited),
// down(key) and up(key) as the engine's own key input (puppeteer's key names), and the engine's
// version. The engine ends with this process. Throws the reason when it cannot start here.
export async function startEngine(name) {
  if (name === 'webkit') return startWebKit();
  const {default: puppeteer} = await import('puppeteer-core');
  const executable = name === 'chromium' ? '/usr/bin/chromium' : '/usr/bin/firefox-esr';
  const browser = await (name === 'chromium' ? launchChromium(puppeteer) : puppeteer.launch({
    browser: 'firefox', executablePath: executable, headless: true,
    userDataDir: temporaryProfile()}));
  started.push(browser.process());
  const page = await browser.newPage();
  // The program's own words for its version, as a user would read them.
  const version = execFileSync(executable, ['--version'], {encoding: 'utf8', stdio: 'pipe'})
      .replace(/^Mozilla |\s*built on.*/gs, '').trim();
  // Over WebDriver BiDi "Enter" would be the keypad's.
  const key = (k) => (name === 'firefox' ? webDriverKeys[k] : null) ?? k;
  return {version, open: (url) => page.goto(url), run: (fn, ...args) => page.evaluate(fn, ...args),
          down: (k) => page.keyboard.down(key(k)), up: (k) => page.keyboard.up(key(k))};
}
const webDriverKeys = {Enter: '\uE006', Tab: '\uE004'};

// The display that Xvfb picked, once it accepts clients.
async function startXvfb() {
  const xvfb = spawn('/usr/bin/Xvfb', ['-displayfd', '3', '-nolisten', 'tcp'],
                     {detached: true, stdio: ['ignore', 'ignore', 'ignore', 'pipe']});
  started.push(xvfb);
  let display = '';  // read to its end: Xvfb ends if it cannot write all of it
  for await (const part of xvfb.stdio[3]) display += part;
  if (!display.trim()) throw new Error('Xvfb did not start');
  return `:${display.trim()}`;
}

async function startWebKit() {
  const missing = ['/usr/bin/WebKitWebDriver', '/usr/bin/Xvfb'].find((f) => !fs.existsSync(f));
  if (missing) throw new Error(`no ${missing}`);
  const home = temporaryProfile(), probe = net.createServer().listen(0, '127.0.0.1');
  await once(probe, 'listening');
  const {port} = probe.address();
  probe.close();
  // A bus of its own that is never there: nothing is started on one that outlives the check.
  const env = {...process.env, DISPLAY: await startXvfb(), XDG_CACHE_HOME: home,
               XDG_DATA_HOME: home, DBUS_SESSION_BUS_ADDRESS: `unix:path=${home}/no-bus`};
  started.push(spawn('/usr/bin/WebKitWebDriver', [`--port=${port}`],
                     {detached: true, stdio: 'ignore', env}));
  const call = async (method, url, body) => {
    const response = await fetch(`http://127.0.0.1:${port}${url}`, {method,
      body: body && JSON.stringify(body), signal: AbortSignal.timeout(60000)});
    const {value} = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${url}: ${value.message}`);
    return value;
  };
  for (let tries = 0; !(await call('GET', '/status').catch(() => null))?.ready; ++tries) {
    if (tries === 200) throw new Error('WebKitWebDriver did not answer');
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  const {sessionId, capabilities} = await call('POST', '/session', {capabilities: {}});
  const session = (method, url, body) => call(method, `/session/${sessionId}${url}`, body);
  const key = (type, k) => session('POST', '/actions', {actions: [
    {type: 'key', id: 'keyboard', actions: [{type, value: webDriverKeys[k] ?? k}]}]});
  return {version: `WebKitGTK ${capabilities.browserVersion}`,
          open: (url) => session('POST', '/url', {url}),
          run: (fn, ...args) => session('POST', '/execute/sync',
                                        {script: `return (${fn})(...arguments)`, args}),
          down: (k) => key('keyDown', k), up: (k) => key('keyUp', k)};
}
