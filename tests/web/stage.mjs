// The browser stage: drives headless Chromium through the page's contract (window.vernalis),
// with the site served whole, without a model and with a damaged pack (browser.mjs).
// node stage.mjs SITE_DIR WORK_DIR [--stills P...] [--pcm FILE]
//   --stills: the page's still at each position against WORK_DIR/native-P.png (the capture
//             tool's still), PSNR and mean absolute difference printed;
//   --pcm:    the soundtrack as libmpg123 decodes it (16-bit mono), against the browser's
//             decode and against what an AudioWorklet tap hears while the demo plays.
import fs from 'fs';
import path from 'path';
import {startBrowser} from './browser.mjs';

const [site, work, ...rest] = process.argv.slice(2);
const stills = [], options = {};
for (let i = 0; i < rest.length; i++) {
  if (rest[i] === '--stills') while (rest[i + 1] && !rest[i + 1].startsWith('--')) stills.push(Number(rest[++i]));
  else if (rest[i] === '--pcm') options.pcm = rest[++i];
}
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures++;
}

const {open, stop} = await startBrowser(site, work);
const settled = state => `['${state}', 'ended', 'failed'].includes(window.vernalis.state)`;
const report = page => page.evaluate(() => ({state: vernalis.state, exitCode: vernalis.exitCode,
                                             messages: vernalis.messages}));

// Plays: the pack is found, the position advances on the audio clock and never goes back, and
// Escape ends with exit code 27.
async function playing() {
  const page = await open('/full/index.html?autostart=1&answer=yes');
  await page.waitForFunction(`${settled('playing')} && vernalis.position() > 0`, {timeout: 60000});
  const samples = await page.evaluate(() => new Promise(resolve => {
    const got = [], start = performance.now();
    (function sample() {
      got.push([performance.now() - start, vernalis.position()]);
      if (performance.now() - start < 3000) setTimeout(sample, 4);
      else resolve(got);
    })();
  }));
  const { messages } = await report(page);
  check(!messages.some(m => /TPACK|Unpacker|Pack ID|package ID|EXE/.test(m)),
        `the pack is found in vernalis.wasm (messages: ${JSON.stringify(messages)})`);
  const back = samples.filter((s, i) => i > 0 && s[1] < samples[i - 1][1]).length;
  check(back === 0, `the position never goes back (${samples.length} readings over 3 s)`);
  const rate = (samples.at(-1)[1] - samples[0][1]) / (samples.at(-1)[0] - samples[0][0]) * 1000;
  check(rate > 88200 * 0.8 && rate < 88200 * 1.2, `the position advances ${Math.round(rate)} bytes/s (88200 expected)`);
  await page.keyboard.press('Escape', {delay: 100});  // the demo reads keys once a frame
  await page.waitForFunction(settled('ended'), {timeout: 20000});
  const end = await report(page);
  check(end.state === 'ended' && end.exitCode === 27, `Escape ends it: state ${end.state}, exit code ${end.exitCode}`);
  await page.close();
}

// Unanswered by the address, the windowed fall-back question waits for the page's Yes: no
// frame is drawn until it is clicked, and then the show plays.
async function question() {
  const page = await open('/full/index.html?autostart=1');
  await page.waitForSelector('#boxes button', {timeout: 60000});
  await new Promise(resolve => setTimeout(resolve, 500));
  const before = await page.evaluate(() => ({frames: vernalis.frames, messages: vernalis.messages.length}));
  const [yes] = await page.$$('#boxes button');
  await yes.click();
  await page.waitForFunction(`${settled('playing')} && vernalis.frames > 0 && vernalis.position() > 0`,
                             {timeout: 60000});
  const after = await report(page);
  check(before.frames === 0 && before.messages === 1 && after.state === 'playing',
        `the full-screen question waits for the page's Yes (${before.frames} frames before it, state ${after.state} after)`);
  await page.close();
}

// A broken site says what broke, as the other builds do, and ends with exit code 0.
async function broken(variant, text) {
  const page = await open(`/${variant}/index.html?autostart=1&answer=yes`);
  await page.waitForFunction(settled('ended'), {timeout: 60000});
  const end = await report(page);
  check(end.state === 'ended' && end.exitCode === 0 && end.messages.some(m => m.endsWith(': ' + text)),
        `${variant}: "${text}" reported, exit code ${end.exitCode} (messages: ${JSON.stringify(end.messages)})`);
  await page.close();
}

// A still against the native capture tool's, compared in the page: PSNR and mean absolute
// difference over the RGB channels.
async function still(position) {
  const page = await open(`/full/index.html?still=${position}&answer=yes`);
  await page.waitForFunction(settled('still'), {timeout: 120000});
  const figures = await page.evaluate(async (position) => {
    if (vernalis.state !== 'still') return null;
    const image = new Image();
    image.src = `../work/native-${position}.png`;
    await image.decode();
    const pixels = source => {
      const c = document.createElement('canvas');
      c.width = 640;
      c.height = 480;
      const g = c.getContext('2d');
      g.drawImage(source, 0, 0);
      return g.getImageData(0, 0, 640, 480).data;
    };
    const a = pixels(document.getElementById('canvas')), b = pixels(image);
    let squares = 0, absolute = 0, count = 0;
    for (let i = 0; i < a.length; i += 4)
      for (let c = 0; c < 3; c++, count++) {
        const d = a[i + c] - b[i + c];
        squares += d * d;
        absolute += Math.abs(d);
      }
    const mse = squares / count;
    return {psnr: mse ? 10 * Math.log10(255 * 255 / mse) : Infinity, mad: absolute / count,
            shot: document.getElementById('canvas').toDataURL('image/png')};
  }, position);
  if (!figures) {
    check(false, `still at ${position}: ${JSON.stringify(await report(page))}`);
  } else {
    fs.writeFileSync(path.join(work, `web-${position}.png`), Buffer.from(figures.shot.split(',')[1], 'base64'));
    check(figures.psnr >= 30, `still ${position}: PSNR ${figures.psnr.toFixed(2)} dB, mean abs difference ` +
          `${figures.mad.toFixed(3)} (30 dB at least)`);
  }
  await page.close();
}

// What plays, recorded by an AudioWorklet tap put between the stream and the speakers: set up
// before the page loads (window.vernalisHooks), it keeps the first seconds of its input with
// the context frame of each block, and pairs every block with the position the page reports
// when the block's message arrives. Under load the worklet's currentFrame now and then still
// names the block before (the samples are right): a block starts at least one block after the
// last.
function tapHooks(seconds) {
  const tap = window.vernalisTap = {blocks: [], pairs: [], start: 0, rate: 0, ready: false};
  window.vernalisHooks = {
    audio(context) {
      const code = `registerProcessor('tap', class extends AudioWorkletProcessor {
        process(inputs, outputs) {
          const input = inputs[0][0], output = outputs[0][0];
          if (input) output.set(input);
          this.frame = Math.max(currentFrame, this.frame === undefined ? 0 : this.frame + output.length);
          this.port.postMessage({frame: this.frame, samples: input ? input.slice(0) : null});
          return true;
        }
      });`;
      const url = URL.createObjectURL(new Blob([code], {type: 'text/javascript'}));
      context.audioWorklet.addModule(url).then(() => { tap.ready = true; });
    },
    output(context, buffer, start) {
      if (!tap.ready) return null;
      tap.buffer = buffer;
      tap.rate = buffer.sampleRate;
      tap.start = Math.round(start * tap.rate);
      const node = new AudioWorkletNode(context, 'tap', {outputChannelCount: [1]});
      node.port.onmessage = (event) => {
        const {frame, samples} = event.data;
        if (!samples || frame < tap.start) return;
        const position = window.vernalis.position() / 2;
        tap.pairs.push([Math.round(context.currentTime * tap.rate) - tap.start, position]);
        tap.latency = (context.baseLatency || 0) + (context.outputLatency || 0);
        if (frame - tap.start < seconds * tap.rate) tap.blocks.push([frame - tap.start, samples]);
      };
      node.connect(context.destination);
      return node;
    },
  };
}

// The browser's decode against libmpg123's (16-bit mono from the Linux build), the tap's
// recording against both, and the position against what the context has played (through
// the tap) at the moment it is read: never ahead, behind by about the output's latency.
async function audio() {
  const page = await open('/full/index.html?autostart=1&answer=yes', `(${tapHooks})(4)`);
  await page.waitForFunction(`${settled('playing')} && vernalis.position() > 5 * 88200`, {timeout: 60000});
  const f = await page.evaluate(async () => {
    await new Promise(resolve => setTimeout(resolve, 1000));
    const tap = window.vernalisTap;
    if (!tap.buffer) return null;
    const pcm = new Int16Array(await (await fetch('../work/pcm.raw')).arrayBuffer());
    const decoded = tap.buffer.getChannelData(0);
    let decodeDiff = 0, tapped = 0;
    for (let i = 0; i < Math.min(pcm.length, decoded.length); i++)
      decodeDiff = Math.max(decodeDiff, Math.abs(decoded[i] - pcm[i] / 32768));
    // The stream's start is scheduled at a context time that need not fall on a whole frame,
    // and the browser starts it on the frame next to it: the recording is matched at the
    // scheduled frame or one either side, whichever fits.
    const tapDiffAt = shift => {
      let diff = 0;
      for (const [at, samples] of tap.blocks)
        for (let i = 0; i < samples.length; i++)
          diff = Math.max(diff, Math.abs(samples[i] - (pcm[at + i - shift] || 0) / 32768));
      return diff;
    };
    const tapDiff = Math.min(tapDiffAt(-1), tapDiffAt(0), tapDiffAt(1));
    for (const [, samples] of tap.blocks) tapped += samples.length;
    const ms = frames => frames / tap.rate * 1000;
    const sorted = values => values.sort((x, y) => x - y);
    // Heard: what has been played, less the output's latency (nothing before the start).
    const played = sorted(tap.pairs.map(([rendered, position]) => ms(rendered - position)));
    const heard = sorted(tap.pairs.map(([rendered, position]) =>
        ms(Math.max(0, rendered - tap.latency * tap.rate) - position)));
    return {browser: decoded.length, native: pcm.length, decodeDiff, tapped, tapDiff,
            playedMin: played[0], heardMin: heard[0], heardMedian: heard[heard.length >> 1],
            heardMax: heard[heard.length - 1], pairs: heard.length, latency: tap.latency * 1000};
  });
  await page.close();
  if (!f) return check(false, 'the tap saw the stream start');
  check(f.browser === f.native, `decodeAudioData gives ${f.browser} samples, libmpg123 ${f.native}`);
  check(f.decodeDiff <= 2 / 32768, `the decodes differ by at most ${f.decodeDiff.toExponential(2)}`);
  check(f.tapped >= 3 * 44100 && f.tapDiff <= 2 / 32768,
        `the tap heard ${(f.tapped / 44100).toFixed(2)} s equal to libmpg123's decode (largest difference ${f.tapDiff.toExponential(2)})`);
  console.log(`position against what is heard (played through the tap, less the output's ` +
              `latency of ${f.latency.toFixed(1)} ms): median ${f.heardMedian.toFixed(1)} ms, ` +
              `${f.heardMin.toFixed(1)} to ${f.heardMax.toFixed(1)} ms over ${f.pairs} readings`);
  check(f.playedMin >= 0, 'the position never runs ahead of what has been played');
  const frame = 1000 / 60;
  check(f.heardMin >= -frame && f.heardMax <= frame,
        'the position stays within one frame (60 fps) of what is heard');
}

try {
  await playing();
  await question();
  if (options.pcm) await audio();
  await broken('no-tubo', 'Data\\Tubo.3ds not found!');
  await broken('damaged', 'Pack ID invalid!');
  for (const position of stills) await still(position);
} catch (error) {
  check(false, `the stage ran to its end: ${error.message}`);
}
console.log(failures ? `browser stage: ${failures} check(s) failed` : 'browser stage: all checks passed');
await stop(failures ? 1 : 0);
