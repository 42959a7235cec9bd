// The web remote in a real browser: the virtual unit, the remote host serving the page against
// it, headless Chromium on a 360 px phone screen. Drags the marker of band 3 on the curve with a
// finger and waits for the band's frame with the dropped frequency and gain in the unit's log;
// then saves a screenshot of the page.
//
// Environment (CTest sets it): MXRF_UNIT_PROGRAM, MXRF_REMOTE_HOST, MXRF_CHROMIUM,
// MXRF_TEST_DATA (the hand-written tables), MXRF_SCREENSHOT (the PNG to write) and, when set,
// MXRF_GALLERY_DIR (a copy of the PNG goes there as remote-page.png).
// Exit 0 passed, 1 failed, 77 skipped (no Chromium or no puppeteer-core: run `npm ci` here).

import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';

const SKIP = 77;
const WAIT_MS = 15000;
const BAND = 3;
const env = process.env;

function skip(reason) {
  console.log(`skipped: ${reason}`);
  process.exit(SKIP);
}

/// A table of tests/data: one value a line after its comment line.
function readTable(name) {
  return fs
    .readFileSync(path.join(env.MXRF_TEST_DATA, name), 'utf8')
    .split('\n')
    .filter((line) => line && !line.startsWith('#'))
    .map(Number);
}

/// Starts a program and answers its first stdout line that starts with `prefix`, without it.
function startProgram(program, args, prefix, extraEnv) {
  const child = spawn(program, args, {
    env: { ...env, ...extraEnv },
    stdio: ['ignore', 'pipe', 'inherit'],
  });
  const line = new Promise((resolve, reject) => {
    readline.createInterface({ input: child.stdout }).on('line', (text) => {
      if (text.startsWith(prefix)) resolve(text.slice(prefix.length).trim());
    });
    child.on('exit', (code) => reject(new Error(`${program} ended (${code}) before "${prefix}"`)));
  });
  return { child, line };
}

function stopProgram(child) {
  if (child.exitCode !== null || child.signalCode !== null) return Promise.resolve();
  const ended = new Promise((resolve) => child.on('exit', resolve));
  child.kill('SIGTERM');
  return ended;
}

async function waitFor(condition, what) {
  const deadline = Date.now() + WAIT_MS;
  while (!condition()) {
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what()}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

const hex = (bytes) =>
  bytes.map((byte) => byte.toString(16).toUpperCase().padStart(2, '0')).join(' ');

/// The requests the unit logged for command `command`, as hex lines.
function loggedRequests(logPath, command) {
  if (!fs.existsSync(logPath)) return [];
  const prefix = hex([0xf0, 0x10, command]);
  return fs
    .readFileSync(logPath, 'utf8')
    .split('\n')
    .map((line) => line.split(' -> ')[0])
    .filter((request) => request.startsWith(prefix));
}

/// "63 Hz", "1.6 kHz", "+4.5 dB", "2.2" as the page shows them, to numbers.
function shownNumber(text) {
  const number = parseFloat(text.replace('+', ''));
  return text.includes('kHz') ? number * 1000 : number;
}

/// The page's graph: 20 Hz .. 20 kHz on a log axis across, +18 .. -18 dB down.
function graphPoint(box, hz, db) {
  return {
    x: box.x + (Math.log10(hz / 20) / 3) * box.width,
    y: box.y + ((18 - db) / 36) * box.height,
  };
}

async function dragWithFinger(page, from, to, steps = 12) {
  await page.touchscreen.touchStart(from.x, from.y);
  for (let step = 1; step <= steps; ++step) {
    const share = step / steps;
    await page.touchscreen.touchMove(
      from.x + (to.x - from.x) * share,
      from.y + (to.y - from.y) * share,
    );
  }
  await page.touchscreen.touchEnd();
}

async function bandShown(page) {
  const texts = await page.$$eval('#band-controls output', (outputs) =>
    outputs.map((output) => output.textContent),
  );
  const [gainDb, frequencyHz, q] = texts.map(shownNumber);
  return { gainDb, frequencyHz, q };
}

function launchBrowser(puppeteer, folder) {
  return puppeteer.launch({
    executablePath: env.MXRF_CHROMIUM,
    headless: true,
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      `--user-data-dir=${path.join(folder, 'chromium')}`,
    ],
  });
}

/// The page on a phone screen, once it writes and shows the setting. Answers the page, the
/// page's errors so far and on, and the last curves message the page received.
async function openPage(browser, url) {
  const page = await browser.newPage();
  const seen = { problems: [], curves: null };
  page.on('pageerror', (error) => seen.problems.push(error.message));
  page.on('console', (message) => message.type() === 'error' && seen.problems.push(message.text()));
  const network = await page.createCDPSession();
  await network.send('Network.enable');
  network.on('Network.webSocketFrameReceived', ({ response }) => {
    const message = JSON.parse(response.payloadData);
    if (message.type === 'curves') seen.curves = message;
  });
  await page.setViewport({ width: 360, height: 740, hasTouch: true, isMobile: true });
  await page.goto(url);
  await page
    .waitForFunction(
      () =>
        document.querySelector('#role').textContent === 'writer' &&
        document.querySelector('#band-controls output')?.textContent !== '',
      { timeout: WAIT_MS },
    )
    .catch(async () => {
      const status = await page.$eval('#status', (line) => line.textContent);
      throw new Error(`the page did not come up as the writer; its status: "${status}"`);
    });
  return { page, seen };
}

/// The band frame 0x05 for channel A: band, frequency code, Q code, gain code.
function bandFrame(band, { frequencyHz, q, gainDb }) {
  const frequencyCode = readTable('freq_table.txt').indexOf(frequencyHz);
  const qCode = readTable('q_table.txt').indexOf(q);
  return hex([0xf0, 0x10, 0x05, 0, band - 1, 0, frequencyCode, qCode, (gainDb + 15) * 2, 0xf7]);
}

/// The curve of channel A at the point nearest a frequency.
function curveAt(curves, hz) {
  let nearest = 0;
  curves.hz.forEach((pointHz, i) => {
    if (Math.abs(Math.log(pointHz / hz)) < Math.abs(Math.log(curves.hz[nearest] / hz))) nearest = i;
  });
  return curves.A[nearest];
}

async function saveScreenshot(page) {
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(resolve)));
  fs.mkdirSync(path.dirname(env.MXRF_SCREENSHOT), { recursive: true });
  await page.screenshot({ path: env.MXRF_SCREENSHOT });
  if (env.MXRF_GALLERY_DIR) {
    fs.copyFileSync(env.MXRF_SCREENSHOT, path.join(env.MXRF_GALLERY_DIR, 'remote-page.png'));
  }
}

/// Drags band 3 of channel A, on the fresh unit's flat setting, to a new frequency and a gain of
/// 6 dB the other way.
async function dragBand(url, logPath, browser) {
  const { page, seen } = await openPage(browser, url);
  await page.tap(`#bands button:nth-child(${BAND})`);
  const start = await bandShown(page);
  const target = {
    frequencyHz: start.frequencyHz < 1000 ? 2000 : 200,
    gainDb: start.gainDb < 0 ? 6 : -6,
    q: start.q,
  };
  const box = await (await page.$('#curve')).boundingBox();
  await dragWithFinger(
    page,
    graphPoint(box, start.frequencyHz, start.gainDb),
    graphPoint(box, target.frequencyHz, target.gainDb),
  );

  const frame = bandFrame(BAND, target);
  await waitFor(
    () => loggedRequests(logPath, 0x05).at(-1) === frame,
    () => `${frame} last in the log; band frames: ${loggedRequests(logPath, 0x05).join(', ')}`,
  );
  assert.deepEqual(await bandShown(page), target);
  await waitFor(
    () => seen.curves && Math.abs(curveAt(seen.curves, target.frequencyHz) - target.gainDb) < 0.5,
    () => 'the curves with the band moved',
  );
  assert.deepEqual(seen.problems, []);
  await saveScreenshot(page);
  return frame;
}

async function run(puppeteer, folder) {
  const logPath = path.join(folder, 'unit.log');
  const configEnv = { XDG_CONFIG_HOME: folder, MXRF418_NO_DEFAULT_PORTS: '1' };
  const unit = startProgram(env.MXRF_UNIT_PROGRAM, ['--log', logPath], 'PTY ', configEnv);
  const children = [unit.child];
  let browser = null;
  try {
    const host = startProgram(env.MXRF_REMOTE_HOST, [await unit.line], 'URL ', configEnv);
    children.push(host.child);
    const url = await host.line;
    browser = await launchBrowser(puppeteer, folder);
    const frame = await dragBand(url, logPath, browser);
    console.log(`passed: ${frame}; screenshot ${env.MXRF_SCREENSHOT}`);
  } finally {
    if (browser) await browser.close();
    await Promise.all(children.reverse().map(stopProgram));
  }
}

async function main() {
  if (!env.MXRF_CHROMIUM || !fs.existsSync(env.MXRF_CHROMIUM)) skip('no Chromium');
  let puppeteer;
  try {
    puppeteer = (await import('puppeteer-core')).default;
  } catch {
    skip('puppeteer-core is not installed (npm ci in tests/browser)');
  }
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'mxrf-browser-'));
  try {
    await run(puppeteer, folder);
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(`failed: ${error.stack ?? error}`);
  process.exit(1);
});
