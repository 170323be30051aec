// The player's manual, Doc/Varnell.html, opened in headless Chromium as a
// person opens it from the simulator's folder, offline: no script error and no
// console message of level warning or above, nothing asked for beyond the file
// itself, every link inside it leading to a place in it, a title and sections.
//
//   node manual_check.js MANUAL
//
// Exit status 77 (ctest's skip) when there is no Chromium to open it with.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawn } = require('child_process');

const manual = path.resolve(process.argv[2]);
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
if (!fs.existsSync(chromium)) {
  console.log(`SKIPPED: no Chromium at ${chromium} (scripts/setup.sh report installs it)`);
  process.exit(77);
}
const CDP = require('chrome-remote-interface');

// Chromium on a port of its own choosing, which it names on standard error.
function openBrowser(profile) {
  const proc = spawn(chromium, ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
    '--user-data-dir=' + profile, '--remote-debugging-port=0', 'about:blank'],
  { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
  let said = '';
  const port = new Promise((resolve, reject) => {
    proc.stderr.on('data', d => {
      const found = /DevTools listening on ws:\/\/[^\s]+:(\d+)\//.exec(said += d);
      if (found) resolve(Number(found[1]));
    });
    proc.on('exit', code => reject(new Error(`Chromium ended (${code}): ${said}`)));
  });
  return { proc, port, ended: new Promise(done => proc.on('exit', done)) };
}

async function main() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'varnell-manual-'));
  const browser = openBrowser(profile);
  // A page that never finishes loading fails here, with no Chromium left behind.
  setTimeout(() => {
    console.log('FAILED: the manual did not load within 60 s');
    process.kill(-browser.proc.pid, 'SIGKILL');
    process.exit(1);
  }, 60000).unref();
  const client = await CDP({ port: await browser.port });
  const problems = [];
  try {
    const { Page, Runtime, Log, Network } = client;
    Runtime.exceptionThrown(({ exceptionDetails: e }) =>
      problems.push('script error: ' + (e.exception ? e.exception.description : e.text)));
    Runtime.consoleAPICalled(e => {
      if (['error', 'warning', 'assert'].includes(e.type)) problems.push(`console ${e.type}: ${e.args.map(a => a.value).join(' ')}`);
    });
    Log.entryAdded(({ entry }) => {
      if (entry.level !== 'info' && entry.level !== 'verbose') problems.push(`${entry.level}: ${entry.text} ${entry.url || ''}`);
    });
    const own = 'file://' + manual;
    Network.requestWillBeSent(({ request }) => {
      if (request.url !== own && !request.url.startsWith('data:')) problems.push('asks for ' + request.url);
    });
    await Promise.all([Page.enable(), Runtime.enable(), Log.enable(), Network.enable()]);
    const loaded = Page.loadEventFired();
    const { errorText } = await Page.navigate({ url: own });
    if (errorText) problems.push(`opens with ${errorText}`);
    await loaded;
    const { result } = await Runtime.evaluate({ returnByValue: true, expression: `({
      title: document.title,
      sections: document.querySelectorAll('h2[id]').length,
      deadLinks: [...document.querySelectorAll('a[href^="#"]')]
        .filter(a => !document.getElementById(decodeURIComponent(a.hash.slice(1)))).map(a => a.getAttribute('href')),
    })` });
    const page = result.value;
    if (!page.title) problems.push('no title');
    if (!page.sections) problems.push('no section headings with an id to link to');
    for (const link of page.deadLinks) problems.push('a link to nowhere: ' + link);
    console.log(`${manual}: "${page.title}", ${page.sections} sections`);
  } finally {
    await client.close();
    process.kill(-browser.proc.pid, 'SIGTERM');
    await browser.ended;
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
  }
  for (const problem of problems) console.log('FAILED: ' + problem);
  process.exit(problems.length ? 1 : 0);
}

main().catch(e => { console.log('FAILED: ' + (e.stack || e)); process.exit(1); });
