// What the browser stage and the browser benchmark share: the site served on 127.0.0.1 and
// headless Chromium driven by puppeteer-core, both stopped (and the browser's profile removed)
// however the run ends.
import fs from 'fs';
import http from 'http';
import os from 'os';
import path from 'path';
import puppeteer from 'puppeteer-core';
import {fileURLToPath} from 'url';

// /usr/bin/chromium, without root's right to raise thread priorities (see the script).
const CHROMIUM = path.join(path.dirname(fileURLToPath(import.meta.url)), 'chromium-as-user.sh');

// How Chromium draws WebGL headless: SwiftShader, or ANGLE on the system's GL (Mesa's llvmpipe
// here, the rasteriser of the native tests).
export const RENDERERS = {
  swiftshader: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
  llvmpipe: ['--ignore-gpu-blocklist', '--use-angle=gl-egl', '--enable-gpu'],
};

// The server: /full/ is the site, /no-tubo/ lacks Data/Tubo.3ds, /damaged/ has the pack's
// signature broken (the wasm stays valid: the pack is its last custom section), /work/ is the
// run's own folder.
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
               '.wasm': 'application/wasm', '.png': 'image/png'};
function damaged(bytes) {
  const copy = Buffer.from(bytes);
  const at = copy.lastIndexOf(Buffer.from('Tarn Packer'));
  copy[at] ^= 0x20;
  return copy;
}

function serve(site, work) {
  return http.createServer((request, response) => {
    const parts = decodeURIComponent(new URL(request.url, 'http://x').pathname).split('/').slice(1);
    const variant = parts.shift(), file = parts.join('/') || 'index.html';
    const root = variant === 'work' ? work : site;
    const known = ['full', 'no-tubo', 'damaged', 'work'].includes(variant);
    const full = path.join(root, file);
    if (!known || file.split('/').includes('..') || !fs.existsSync(full) ||
        (variant === 'no-tubo' && file === 'Data/Tubo.3ds')) {
      response.writeHead(404);
      return response.end();
    }
    let bytes = fs.readFileSync(full);
    if (variant === 'damaged' && file === 'vernalis.wasm') bytes = damaged(bytes);
    response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
                             'Content-Length': bytes.length});
    response.end(bytes);
  });
}

// Returns {open(address, hooks), stop(exitCode)}: open loads a page of the server, with `hooks`
// (a script) run before the page's own.
export async function startBrowser(site, work, renderer = 'swiftshader') {
  const server = serve(site, work);
  await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
  const base = `http://127.0.0.1:${server.address().port}`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vernalis-chromium-'));
  const args = ['--headless=new', ...RENDERERS[renderer], '--autoplay-policy=no-user-gesture-required',
                '--mute-audio'];
  if (process.getuid && process.getuid() === 0)
    args.push('--no-sandbox', '--disable-background-networking', '--disable-component-update',
              '--disable-sync', '--no-first-run');
  let browser = null;
  async function stop(code) {
    if (browser) await browser.close().catch(() => {});
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
    process.exit(code);
  }
  for (const signal of ['SIGINT', 'SIGTERM']) process.on(signal, () => stop(1));
  try {
    browser = await puppeteer.launch({executablePath: CHROMIUM, userDataDir: profile,
                                      args, protocolTimeout: 300000});
  } catch (error) {
    console.error(`the browser did not start: ${error.message}`);
    await stop(1);
  }
  async function open(address, hooks) {
    const page = await browser.newPage();
    page.on('pageerror', e => console.log(`  page error: ${e.message}`));
    if (hooks) await page.evaluateOnNewDocument(hooks);
    await page.goto(base + address);
    return page;
  }
  return {open, stop};
}
