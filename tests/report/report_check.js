// The default mission's report.html opened in headless Chromium, as a person
// would open it: no script errors, every chart drawn, the data it holds the
// same as the flight record's files, its satellites' inclinations and its
// ground track's start as a calculation of this script's own finds them from
// the record. Prints the page's size and how long it took to open and draw,
// and keeps a screenshot of the whole page beside the record (report.png).
//
//   node report_check.js FLIGHT_DIR SCENARIO_FILE
//
// Exit status 77 (ctest's skip) when there is no Chromium to open it with.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawn } = require('child_process');

const [dir, scenarioFile] = process.argv.slice(2);
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
if (!fs.existsSync(chromium)) {
  console.log(`SKIPPED: no Chromium at ${chromium} (scripts/setup.sh report installs it)`);
  process.exit(77);
}
const CDP = require('chrome-remote-interface');

let failures = 0;
function check(ok, what) {
  if (!ok) console.log('FAILED: ' + what);
  failures += ok ? 0 : 1;
}

// A CSV file as arrays of fields, the header first; quoted fields may hold
// commas, doubled quotes and line breaks.
function readCsv(file) {
  const text = fs.readFileSync(path.join(dir, file), 'utf8'), rows = [];
  let row = [], field = '', quoted = false;
  for (let i = 0; i < text.length; i++) {
    const c = text[i];
    if (quoted) {
      if (c === '"' && text[i + 1] === '"') field += text[++i];
      else if (c === '"') quoted = false;
      else field += c;
    } else if (c === '"') quoted = true;
    else if (c === ',') { row.push(field); field = ''; }
    else if (c === '\r' && text[i + 1] === '\n') continue;  // the Windows build writes CRLF
    else if (c === '\n') { row.push(field); rows.push(row); row = []; field = ''; }
    else field += c;
  }
  return rows;
}

// Earth's north pole in the simulator's global frame (ecliptic J2000,
// left-handed) at a modified Julian date: tilted by the obliquity from the
// ecliptic pole towards +z, and precessing about it, as its Config/Earth.cfg says.
function earthAxis(mjd) {
  const obliquity = 0.4090928023, precessionDays = -9413040.4;
  const L = 2 * Math.PI * (mjd - 51544.5) / precessionDays;
  return [-Math.sin(L) * Math.sin(obliquity), Math.cos(obliquity), Math.cos(L) * Math.sin(obliquity)];
}

// Inclination [deg] from position and velocity, by spherical trigonometry
// rather than the orbit's angular momentum: at latitude lat, a path heading
// at azimuth az (from north towards east, the way the planet turns) crosses
// the equator at i with cos i = cos lat sin az.
function inclination(r, v, axis) {
  const len = a => Math.hypot(...a), dot = (a, b) => a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  const cross = (a, b) => [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]];
  const up = r.map(x => x / len(r));
  const northRaw = axis.map((x, k) => x - up[k] * dot(axis, up)), north = northRaw.map(x => x / len(northRaw));
  const east = cross(up, north);
  const lat = Math.asin(dot(up, axis)), az = Math.atan2(dot(v, east), dot(v, north));
  return Math.acos(Math.cos(lat) * Math.sin(az)) * 180 / Math.PI;
}

// A vessel's NAME lines in a scenario file, from "NAME:CLASS" to its END.
function scenarioLines(file, name) {
  const lines = fs.readFileSync(file, 'utf8').split('\n').map(l => l.trim());
  const from = lines.findIndex(l => l.startsWith(name + ':'));
  return lines.slice(from + 1, lines.indexOf('END', from));
}
const numbersAfter = (lines, key) => lines.find(l => l.startsWith(key + ' ')).split(/\s+/).slice(1).map(Number);

async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'varnell-chromium-'));
  const proc = spawn(chromium, ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', '--user-data-dir=' + profile,
    '--remote-debugging-port=0', 'about:blank'], { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
  const port = await new Promise((resolve, reject) => {
    let said = '';
    proc.stderr.on('data', d => {
      const m = /DevTools listening on ws:\/\/[^\s]+:(\d+)\//.exec(said += d);
      if (m) resolve(Number(m[1]));
    });
    proc.on('exit', code => reject(new Error(`Chromium ended (${code}) before it listened: ${said}`)));
  });
  // Chromium's helper processes share its process group, and may write into
  // the profile a moment longer: end them all, then remove it, retrying.
  const ended = new Promise(done => proc.on('exit', done));
  return { port, close: async () => {
    process.kill(-proc.pid, 'SIGTERM');
    await ended;
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
  } };
}

async function main() {
  const report = path.resolve(dir, 'report.html');
  const bytes = fs.statSync(report).size;
  console.log(`report.html: ${(bytes / 1000).toFixed(1)} kB (under 1000 kB wanted)`);
  check(bytes < 1e6, `the report is ${bytes} bytes, 1 MB or more`);

  const browser = await launch();
  const client = await CDP({ port: browser.port });
  try {
    const { Page, Runtime, Log, Emulation } = client;
    const errors = [];
    Runtime.exceptionThrown(e => errors.push(e.exceptionDetails.exception
      ? e.exceptionDetails.exception.description : e.exceptionDetails.text));
    Runtime.consoleAPICalled(e => {
      if (e.type === 'error' || e.type === 'assert') errors.push(e.args.map(a => a.value || a.description).join(' '));
    });
    Log.entryAdded(e => { if (e.entry.level === 'error') errors.push(e.entry.text); });
    await Promise.all([Page.enable(), Runtime.enable(), Log.enable()]);
    await Emulation.setDeviceMetricsOverride({ width: 1280, height: 900, deviceScaleFactor: 1, mobile: false });
    const page = async expression => {
      const r = await Runtime.evaluate({ expression, awaitPromise: true, returnByValue: true });
      if (r.exceptionDetails) throw new Error(expression.slice(0, 60) + ': ' + r.exceptionDetails.text);
      return r.result.value;
    };

    const loaded = Page.loadEventFired();
    await Page.navigate({ url: 'file://' + report });
    await loaded;
    const drawnAt = await page(`new Promise((done, fail) => {
      const wait = n => window.varnellReport && window.varnellReport.drawnAt ? done(window.varnellReport.drawnAt)
        : n > 3000 ? fail(new Error('never drawn')) : setTimeout(() => wait(n + 1), 20);
      wait(0); })`).catch(() => { throw new Error('the page never finished drawing; its console: ' + errors.join(' | ')); });
    console.log(`opened and drawn in ${(drawnAt / 1000).toFixed(2)} s (from navigation to every chart drawn; under 2 s wanted)`);
    check(errors.length === 0, 'script errors on the console: ' + errors.join(' | '));

    // Every chart drew its lines: pixels in a colour, where grid, axes and
    // event markers are all grey.
    const charts = await page(`Array.from(document.querySelectorAll('figure.chart')).map(f => {
      const c = f.querySelector('canvas'), d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let coloured = 0;
      for (let i = 0; i < d.length; i += 4)
        if (d[i + 3] > 128 && Math.max(d[i], d[i + 1], d[i + 2]) - Math.min(d[i], d[i + 1], d[i + 2]) > 60) coloured++;
      return { title: f.querySelector('figcaption strong').textContent, coloured };
    })`);
    for (const wanted of ['Altitude', 'Speed', 'Dynamic pressure', 'Axial acceleration', 'Mass and propellant',
      'Engine group levels', 'Attitude', 'Ground track'])
      check(charts.some(c => c.title.startsWith(wanted)), `no chart of ${wanted}`);
    for (const c of charts) check(c.coloured > 200, `the chart ${c.title} drew ${c.coloured} coloured pixels`);
    const marks = await page('window.varnellReport.marks.flatMap(m => m.vessels.map(v => v + " " + m.what))');
    for (const wanted of ['L1 liftoff', 'L1 HOVER on', 'L1 HOVER off', 'L1-SEP free', 'L1 MAIN on', 'Varnellplf1 free',
      'D1 free', 'Sat1 free', 'Sat2 free', 'L1 MAIN off', 'L1-SEP crashed'])
      check(marks.includes(wanted), `no event marker "${wanted}" among ${marks.join(', ')}`);

    // The data the page holds, as it reads it, against the record's files.
    const held = JSON.parse(await page(`JSON.stringify({ columns: varnellReport.flight.columns,
      vessels: varnellReport.flight.vessels.map(v => ({ name: v.name, col: v.col })), events: varnellReport.flight.events })`));
    const [header, ...rows] = readCsv('telemetry.csv');
    const vesselAt = header.indexOf('vessel'), seen = {};
    let compared = 0, differing = [];
    for (const row of rows) {
      const v = held.vessels.find(x => x.name === row[vesselAt]), r = seen[row[vesselAt]] = (seen[row[vesselAt]] || 0) + 1;
      if (!v) { differing.push(`no vessel ${row[vesselAt]}`); continue; }
      header.forEach((name, k) => {
        if (k === vesselAt) return;
        const c = held.columns.find(x => x.name === name), got = v.col[name] ? v.col[name][r - 1] : undefined;
        const same = row[k] === '' ? got === null : c.words ? got === row[k]
          : got !== null && Math.abs(got - Number(row[k])) <= c.step / 2 + 1e-9 * Math.abs(Number(row[k]));
        compared++;
        if (!same) differing.push(`${row[vesselAt]} row ${r} ${name}: ${row[k]} in the file, ${got} in the page`);
      });
    }
    const heldRows = held.vessels.reduce((n, v) => n + v.col.t_s.length, 0);
    check(heldRows === rows.length, `the page holds ${heldRows} samples, telemetry.csv ${rows.length}`);
    check(differing.length === 0, `${differing.length} of ${compared} values differ: ${differing.slice(0, 5).join('; ')}`);
    const events = readCsv('events.csv').slice(1);
    check(JSON.stringify(held.events.map(e => [e.t, e.vessel, e.kind, e.detail])) ===
          JSON.stringify(events.map(e => [Number(e[0]), e[1], e[2], e[3]])), 'the events differ from events.csv');
    console.log(`the page holds the ${rows.length} samples (${compared} values) and ${events.length} events of the record`);

    // The satellites' inclinations, and where the ground track begins.
    const shown = await page(`Object.fromEntries(Array.from(document.querySelectorAll('#vessel-table tbody tr'))
      .map(tr => [tr.dataset.vessel, Number(tr.children[6].textContent)]))`);
    const finalScn = path.join(dir, 'final.scn');
    const date = fs.readFileSync(finalScn, 'utf8').match(/^\s*Date\s+MJD\s+(\S+)/m);
    check(date !== null, 'final.scn gives no Date MJD');
    const axis = earthAxis(date ? Number(date[1]) : NaN);
    for (const sat of ['Sat1', 'Sat2']) {
      const lines = scenarioLines(finalScn, sat);
      const own = inclination(numbersAfter(lines, 'RPOS'), numbersAfter(lines, 'RVEL'), axis);
      console.log(`${sat}: inclination ${shown[sat]} deg in the report, ${own.toFixed(3)} deg from final.scn`);
      check(Math.abs(shown[sat] - own) < 0.1, `${sat}'s inclination: ${shown[sat]} deg shown, ${own} deg worked out`);
    }
    const [padLng, padLat] = numbersAfter(scenarioLines(scenarioFile, 'L1'), 'POS');
    const start = await page('varnellReport.groundTrack.data[1].map(xs => xs[0])');
    check(Math.abs(start[0] - padLng) < 1e-4 && Math.abs(start[1] - padLat) < 1e-4,
      `the ground track starts at ${start}, the pad is at ${padLng} ${padLat}`);

    // The whole page, as tall as it is.
    const { cssContentSize } = await Page.getLayoutMetrics();
    await Emulation.setDeviceMetricsOverride({ width: 1280, height: Math.ceil(cssContentSize.height),
      deviceScaleFactor: 1, mobile: false });
    const shot = await Page.captureScreenshot({ format: 'png', captureBeyondViewport: true });
    fs.writeFileSync(path.join(dir, 'report.png'), Buffer.from(shot.data, 'base64'));
    console.log('screenshot: ' + path.join(dir, 'report.png'));
  } finally {
    await client.close();
    await browser.close();
  }
  console.log(failures ? `${failures} check(s) failed` : 'every check passed');
  process.exit(failures ? 1 : 0);
}

main().catch(e => {
  console.log('FAILED: ' + (e.stack || e));
  process.exit(1);
});
