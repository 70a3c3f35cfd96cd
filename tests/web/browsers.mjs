// What the web checks share: the page served on 127.0.0.1, the Linux replay's frames to compare
// it with, and Debian's Chromium, headless, with a profile of its own that is removed however the
// run ends. Depends on: puppeteer-core (passed in), Chromium at /usr/bin/chromium.
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

function temporaryProfile() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'web-check-'));
  process.on('exit', () => fs.rmSync(profile, {recursive: true, force: true}));
  return profile;
}

// Debian's Chromium, with no background networking, which a closed network would refuse.
export function launchChromium(puppeteer) {
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox', '--disable-gpu',
      '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', `--user-data-dir=${temporaryProfile()}`]});
}

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
