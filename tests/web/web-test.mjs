// The browser build in a real browser: Debian's Chromium driven through puppeteer-core, the site served from
// 127.0.0.1 by a small static server here. It checks, with real mouse and key events, the way from the logo to the
// main menu; that the profile made there is still in the browser's storage after a reload; a day played by the
// built-in player to its JSON line; a result panel drawn by name; and that the console shows no error. It prints
// the figures of a first visit (bytes, time to the first logo frame, drawing and presenting per frame, the
// WebAssembly heap after a store) without judging them: timings belong to benchmarks, not to tests.
//
//   node tests/web/web-test.mjs SITE_DIR OUT_DIR
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const site = path.resolve(process.argv[2] || 'build-web/site');
const out = path.resolve(process.argv[3] || 'build-web/web-test');
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
fs.mkdirSync(out, {recursive: true});

const kTypes = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.data': 'application/octet-stream'};
let servedBytes = 0;
const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '') || 'index.html';
    const file = path.join(site, name);
    if (!file.startsWith(site) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
        response.writeHead(404);
        response.end();
        return;
    }
    const body = fs.readFileSync(file);
    servedBytes += body.length;
    response.writeHead(200, {'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
                             'Content-Length': body.length, 'Cache-Control': 'no-cache'});
    response.end(body);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}/`;

const profileDir = fs.mkdtempSync(path.join(os.tmpdir(), 'velmora-chromium-'));
const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profileDir,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--autoplay-policy=no-user-gesture-required',
           '--window-size=800,600'],
    defaultViewport: {width: 800, height: 600},
});

let passed = 0, failed = 0;
const errors = [];
function check(ok, what) {
    if (ok) {
        passed++;
        console.log(`ok: ${what}`);
    } else {
        failed++;
        console.log(`FAILED: ${what}`);
    }
}

// One page with its console lines gathered; waitLine resolves with the first line (seen or yet to come) that
// matches.
async function openPage(query) {
    const page = await browser.newPage();
    const lines = [];
    const waiters = [];
    page.on('console', (message) => {
        const text = message.text();
        if (message.type() === 'error')
            errors.push(text);
        for (const line of text.split('\n')) {
            lines.push(line);
            for (const w of waiters.slice())
                if (w.pattern.test(line)) {
                    waiters.splice(waiters.indexOf(w), 1);
                    w.resolve(line);
                }
        }
    });
    page.on('pageerror', (error) => errors.push(String(error)));
    page.on('requestfailed', (request) => errors.push(`request failed: ${request.url()}`));
    page.waitLine = (pattern, ms) => new Promise((resolve, reject) => {
        const seen = lines.find((line) => pattern.test(line));
        if (seen !== undefined)
            return resolve(seen);
        const w = {pattern, resolve};
        waiters.push(w);
        setTimeout(() => {
            const at = waiters.indexOf(w);
            if (at >= 0) {
                waiters.splice(at, 1);
                reject(new Error(`no line ${pattern} within ${ms} ms`));
            }
        }, ms);
    });
    page.lines = lines;
    await page.goto(base + 'index.html' + query, {waitUntil: 'load'});
    return page;
}

async function firstFrame(page, ms) {
    await page.waitForFunction(() => window.Module && Module.firstFrameMs, {timeout: ms, polling: 50});
    return page.evaluate(() => Module.firstFrameMs);
}

async function shot(page, name) {
    await page.screenshot({path: path.join(out, name)});
    console.log(`screenshot: ${path.join(out, name)}`);
}

// The built-in player's pointer lines ("down X Y" in screen pixels) carried out as real mouse events over the
// canvas, which the page scales to its box. A press or release where the pointer already is moves nothing first.
let pointerAt = null;
async function pointer(page, line) {
    const [verb, x, y] = line.trim().split(/\s+/);
    const box = await page.evaluate(() => {
        const r = Module.canvas.getBoundingClientRect();
        return {left: r.left, top: r.top, sx: r.width / Module.canvas.width, sy: r.height / Module.canvas.height};
    });
    const px = box.left + (Number(x) + 0.5) * box.sx, py = box.top + (Number(y) + 0.5) * box.sy;
    const key = `${px},${py}`;
    if (verb === 'move' || pointerAt !== key)
        await page.mouse.move(px, py);
    pointerAt = key;
    if (verb === 'down')
        await page.mouse.down();
    else if (verb === 'up')
        await page.mouse.up();
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

const kProfileName = 'Ada';
const figures = {};
try {
    // ---- 1. The way in, by real clicks and keys ----
    {
        const start = Date.now();
        const page = await openPage('?autoplay&drive=-&seed=1');
        figures.firstVisitBytes = servedBytes;
        figures.firstLogoFrameMs = Math.round(await firstFrame(page, 120000));
        check(true, 'the logo is drawn');
        let presses = 0; // presses away from (1, 1), where the player clicks to skip the logo and the splashes
        let handled = 0;
        // Generous bounds: on a busy machine loading alone can take minutes.
        while (presses < 3 && Date.now() - start < 600000) {
            const driveLines = page.lines.filter((l) => /^(move|down|up) -?\d+ -?\d+$/.test(l.trim()));
            if (handled >= driveLines.length) {
                await sleep(20);
                continue;
            }
            const line = driveLines[handled++];
            if (line.startsWith('down') && line.trim() !== 'down 1 1') {
                presses++;
                if (presses === 1)
                    await shot(page, 'title.png');
                if (presses === 2) {
                    // The name entry: typed with real keys, replacing the offered name.
                    await shot(page, 'name-entry.png');
                    await page.keyboard.type(kProfileName, {delay: 60});
                    await sleep(300);
                }
                if (presses === 3) {
                    await shot(page, 'main-menu.png');
                    break;
                }
            }
            await pointer(page, line);
        }
        check(presses >= 1, 'the title answers a real click on Play');
        check(presses >= 2, 'the name entry takes typed keys and its OK');
        check(presses >= 3, 'the main menu appears');
        // The profile file must be in the browser's storage, not only in the page's memory.
        await page.waitForFunction(() => Module.persistedCount > 0, {timeout: 10000, polling: 50}).catch(() => {});
        await page.close();
    }

    // ---- 2. A reload keeps the profile ----
    {
        const page = await openPage('');
        await firstFrame(page, 120000);
        const profiles = await page.evaluate(() => {
            const file = '/persist/data/profiles.xml';
            return FS.analyzePath(file).exists ? FS.readFile(file, {encoding: 'utf8'}) : '';
        });
        check(profiles.includes(`"${kProfileName}"`), `after a reload the profile "${kProfileName}" is still there`);
        await page.close();
    }

    // ---- 3. A day by the built-in player ----
    {
        const page = await openPage('?autoplay&level=1:0&seed=1&quit-after-level');
        await firstFrame(page, 120000);
        const started = Date.now();
        // The floor as it was at the last half minute before the day ended.
        let shooting = Promise.resolve();
        const floor = setInterval(() => { shooting = shooting.then(() => shot(page, 'floor.png')).catch(() => {}); },
                                  30000);
        const line = await page.waitLine(/^\{"store":1,"level":0,/, 900000).catch((e) => String(e));
        clearInterval(floor);
        await shooting;
        check(line.startsWith('{"store":1'), `a whole day plays to its line: ${line}`);
        figures.dayWallSeconds = Math.round((Date.now() - started) / 1000);
        figures.wasmHeapAfterStoreMB = await page.evaluate(() => Module.HEAPU8.length / 1048576);
        const shares = await page.waitLine(/^time shares:/, 10000).catch(() => '');
        const frames = await page.evaluate(() => Module.presentCount || 0);
        const m = /update ([\d.]+)%, draw ([\d.]+)%, present ([\d.]+)% of ([\d.]+) s/.exec(shares);
        if (m && frames > 0)
            figures.drawAndPresentMsPerFrame = ((Number(m[2]) + Number(m[3])) / 100 * Number(m[4]) * 1000 / frames)
                .toFixed(2);
        figures.framesPresented = frames;
        await page.close();
    }

    // ---- 4. A result panel by name ----
    {
        const page = await openPage('?screen=result-pass&seed=1');
        await firstFrame(page, 120000);
        await page.waitForFunction(() => Module.presentCount > 20, {timeout: 300000, polling: 100}).catch(() => {});
        await new Promise((r) => setTimeout(r, 4000));
        await shot(page, 'result.png');
        await page.close();
    }
} catch (error) {
    check(false, String(error && error.stack || error));
} finally {
    await browser.close();
    server.close();
    fs.rmSync(profileDir, {recursive: true, force: true});
}

check(errors.length === 0, `no console errors${errors.length ? ': ' + errors.slice(0, 5).join(' | ') : ''}`);
console.log(`figures: first visit ${figures.firstVisitBytes} bytes, first logo frame ${figures.firstLogoFrameMs} ms` +
            ` after navigation, drawing and presenting ${figures.drawAndPresentMsPerFrame} ms per frame` +
            ` (${figures.framesPresented} frames in ${figures.dayWallSeconds} s), WebAssembly heap after a store` +
            ` ${figures.wasmHeapAfterStoreMB} MB`);
console.log(`web-test: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
