// Debian's Chromium for the web checks: headless, with a profile of its own that is removed
// however the run ends, and no background networking, which a closed network would refuse.
// Depends on: puppeteer-core (passed in), Chromium at /usr/bin/chromium.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

export function launchChromium(puppeteer) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'web-check-'));
  process.on('exit', () => fs.rmSync(profile, {recursive: true, force: true}));
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox', '--disable-gpu',
      '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', `--user-data-dir=${profile}`]});
}
