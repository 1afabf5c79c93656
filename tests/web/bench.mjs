// The browser's speed, printed (never checked): the page's frame-time benchmark (the capture
// tool's, per scene), page load to the first frame drawn, and the download's size.
// node bench.mjs SITE_DIR WORK_DIR RENDERER (swiftshader or llvmpipe)
import fs from 'fs';
import path from 'path';
import {startBrowser} from './browser.mjs';

const [site, work, renderer] = process.argv.slice(2);
const {open, stop} = await startBrowser(site, work, renderer);
const ended = "['ended', 'failed'].includes(vernalis.state)";

function siteBytes(folder) {
  return fs.readdirSync(folder, {withFileTypes: true}).reduce((sum, entry) => {
    const full = path.join(folder, entry.name);
    return sum + (entry.isDirectory() ? siteBytes(full) : fs.statSync(full).size);
  }, 0);
}

try {
  const loads = [];
  for (let run = 0; run < 3; run++) {
    const page = await open('/full/index.html?autostart=1&answer=yes');
    await page.waitForFunction('vernalis.frames > 0 || vernalis.state === "failed"', {timeout: 60000});
    loads.push(await page.evaluate(() => vernalis.firstFrameMs));
    await page.close();
  }
  loads.sort((a, b) => a - b);
  console.log(`${renderer}: page load to the first frame ${Math.round(loads[1])} ms (median of 3: ` +
              `${loads.map(Math.round).join(', ')}), download ${(siteBytes(site) / 1e6).toFixed(2)} MB`);
  const page = await open('/full/index.html?bench=1&answer=yes');
  await page.waitForFunction(ended, {timeout: 300000, polling: 1000});
  const {bench, exitCode} = await page.evaluate(() => ({bench: vernalis.bench, exitCode: vernalis.exitCode}));
  for (const line of bench) console.log(`${renderer}: ${line}`);
  await stop(exitCode === 0 ? 0 : 1);
} catch (error) {
  console.error(`${renderer}: the benchmark did not finish: ${error.message}`);
  await stop(1);
}
