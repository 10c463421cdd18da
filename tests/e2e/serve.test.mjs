// panelhost serve in a real browser: Debian's chromium, headless, driven the
// way a gauge author would use the page. Run by scripts/e2e after the build.
//   node tests/e2e/serve.test.mjs [--screenshot FILE.png]
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import { chromium } from 'playwright-core';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const panelhost = process.env.PANELHOST || path.join(root, 'build/native/bin/panelhost');
const screenshotIndex = process.argv.indexOf('--screenshot');
const screenshotPath = screenshotIndex > 0 ? process.argv[screenshotIndex + 1] : null;

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function waitFor(what, check, timeoutMs = 10000) {
  const until = Date.now() + timeoutMs;
  let last;
  while (Date.now() < until) {
    last = await check();
    if (last) return last;
    await sleep(50);
  }
  throw new Error(`timed out waiting for ${what}`);
}

// Starts the server on a free port and resolves with the address it prints.
function startServer() {
  const server = spawn(panelhost, ['serve', '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const address = new Promise((resolve, reject) => {
    let output = '';
    server.stdout.on('data', (chunk) => {
      output += chunk;
      const found = output.match(/open (http:\/\/127\.0\.0\.1:\d+\/)/);
      if (found) resolve(found[1]);
    });
    server.on('exit', (code) => reject(new Error(`panelhost serve exited (${code}) before listening: ${output}`)));
    server.on('error', reject);
    setTimeout(() => reject(new Error('panelhost serve printed no address in 30 s')), 30000).unref();
  });
  return { server, address };
}

async function main() {
  const { server, address: addressPromise } = startServer();
  let browser;
  const steps = [];
  try {
    const address = await addressPromise;
    browser = await chromium.launch({
      executablePath: '/usr/bin/chromium',
      args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-background-networking'],
    });
    const page = await browser.newPage({ viewport: { width: 1640, height: 880 } });
    const pageErrors = [];
    page.on('pageerror', (error) => pageErrors.push(error.message));
    await page.goto(address);
    await waitFor('the first picture', () => page.evaluate(() => Number(document.getElementById('panel').dataset.frame) > 0));

    const gauges = async () => (await (await fetch(`${address}api/layout`)).json()).gauges;
    const gauge = async (name) => {
      const found = (await gauges()).find((g) => g.name === name);
      if (!found) throw new Error(`${name} is not on the page`);
      return found;
    };
    // A point of a gauge, in the gauge's own pixels, where the page shows it now.
    const onPage = async (name, gx, gy) => {
      const g = await gauge(name);
      const box = await page.locator('#panel').boundingBox();
      const natural = await page.evaluate(() => document.getElementById('panel').naturalWidth);
      const zoom = box.width / natural;
      return {
        x: box.x + (g.x + (gx + 0.5) * g.width / g.native_width) * zoom,
        y: box.y + (g.y + (gy + 0.5) * g.height / g.native_height) * zoom,
      };
    };
    // The page's own pixels over a gauge: what the img element shows.
    const pixels = async (name) => {
      const g = await gauge(name);
      return page.evaluate(({ x, y, width, height }) => {
        const img = document.getElementById('panel');
        const canvas = document.createElement('canvas');
        canvas.width = Math.ceil(width);
        canvas.height = Math.ceil(height);
        const context = canvas.getContext('2d');
        context.drawImage(img, x, y, width, height, 0, 0, canvas.width, canvas.height);
        return Array.from(context.getImageData(0, 0, canvas.width, canvas.height).data);
      }, g);
    };
    const differing = (a, b) => {
      let n = 0;
      for (let i = 0; i < a.length; i += 4) n += a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2];
      return n;
    };
    const brightness = (p) => {
      let sum = 0;
      for (let i = 0; i < p.length; i += 4) sum += p[i] + p[i + 1] + p[i + 2];
      return sum / (p.length / 4);
    };
    const step = async (title, run) => {
      process.stdout.write(`  ${title} ... `);
      await run();
      steps.push(title);
      console.log('ok');
    };

    await step('the electrical panel window shows, and a click flips the battery switch', async () => {
      await page.getByLabel('Electrical Panel').check();
      await waitFor('the electrical panel in the picture', async () =>
        (await gauges()).some((g) => g.name === 'switchbank!battery') &&
        page.evaluate(() => document.getElementById('panel').naturalWidth > 1330));
      const before = await pixels('switchbank!battery');
      const lever = await onPage('switchbank!battery', 30, 45);
      await page.mouse.click(lever.x, lever.y);
      await waitFor('the battery lever to flip', async () => differing(before, await pixels('switchbank!battery')) > 100);
    });

    await step('hovering a fuel gauge shows its gallons', async () => {
      const middle = await onPage('tankgauges!Left Main', 151, 151);
      await page.mouse.move(middle.x, middle.y);
      const text = await waitFor('the fuel tooltip', async () => {
        const tip = page.locator('#tooltip');
        return (await tip.isVisible()) && /Gallons/.test(await tip.textContent()) && tip.textContent();
      });
      if (!/Left Main/i.test(text)) throw new Error(`the tooltip names another tank: ${text}`);
      if (screenshotPath) await page.screenshot({ path: screenshotPath });
    });

    await page.selectOption('#zoom', '1.5');  // the rest at another zoom: the pointer maps through it
    await page.setViewportSize({ width: 2600, height: 1400 });

    await step('magnetos on and the starter held turn engine 1 over', async () => {
      for (const x of [20, 60]) {  // left, then right magneto lever
        const lever = await onPage('ignitionkeys!engine1', x, 130);
        await page.mouse.click(lever.x, lever.y);
        await sleep(300);
      }
      const before = await pixels('tachometer!engine1');
      const starter = await onPage('ignitionkeys!engine1', 40, 40);
      await page.mouse.move(starter.x, starter.y);
      await page.mouse.down();
      await sleep(2500);
      await page.mouse.up();
      await waitFor('the engine 1 RPM needle to move', async () => differing(before, await pixels('tachometer!engine1')) > 200);
      const listed = await page.locator('#events li').allTextContents();
      if (!listed.some((line) => line.startsWith('66127 '))) throw new Error(`no starter event listed: ${listed.slice(0, 5)}`);
    });

    await step('at night, the lighting click on a lit gauge brightens the panel', async () => {
      const frameBefore = await page.evaluate(() => Number(document.getElementById('panel').dataset.frame));
      await page.getByLabel('Night').check();
      await waitFor('the night picture', () => page.evaluate((f) => Number(document.getElementById('panel').dataset.frame) > f, frameBefore));
      await sleep(300);
      const dark = brightness(await pixels('lubepress!oil_pressure'));
      const middle = await onPage('lubepress!oil_pressure', 150, 150);
      await page.mouse.click(middle.x, middle.y);
      await waitFor('the lit panel', async () => brightness(await pixels('lubepress!oil_pressure')) > dark * 1.5);
    });

    if (pageErrors.length) throw new Error(`the page threw: ${pageErrors.join('; ')}`);
    console.log(`serve e2e: all ${steps.length} checks passed`);
  } finally {
    if (browser) await browser.close();
    server.kill('SIGTERM');
  }
}

main().catch((error) => {
  console.log('FAILED');
  console.error(`serve e2e: ${error.message}`);
  process.exit(1);
});
