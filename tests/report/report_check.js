// The default mission's report.html opened in headless Chromium, as a person
// would open it: no script errors, every chart drawn and its event labels
// clear of each other, the data it holds the same as the flight record's
// files, its satellites' inclinations and its ground track's start as a
// calculation of this script's own finds them from the record; the
// deployment's releases, impacts and distances as the record has them; the
// map's coast where Florida's is; the orbit view's Earth, and each vessel
// where this script puts it in space. Prints the page's size and how long
// it took to open and draw, and keeps a screenshot of the whole page beside
// the record (report.png).
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

// The host's Earth (README: the headless host's world).
const EARTH_RADIUS = 6371010, GM = 3.986004418e14, SIDEREAL_DAY = 86164.10132;

// Periapsis and apoapsis altitude [m] and period [s] of a state, by the
// energy and the angular momentum's size, which no frame's handedness changes.
function orbitOf(r, v) {
  const len = a => Math.hypot(...a);
  const h = len([r[1] * v[2] - r[2] * v[1], r[2] * v[0] - r[0] * v[2], r[0] * v[1] - r[1] * v[0]]);
  const a = 1 / (2 / len(r) - len(v) ** 2 / GM), e = Math.sqrt(Math.max(0, 1 - h * h / (GM * a)));
  return { periapsis: a * (1 - e) - EARTH_RADIUS, apoapsis: a * (1 + e) - EARTH_RADIUS,
           period: 2 * Math.PI * Math.sqrt(a ** 3 / GM) };
}

// A table of the page as rows of {heading: text}, with the row's vessel.
const tableRows = id => `(() => {
  const t = document.getElementById('${id}'), head = Array.from(t.querySelectorAll('thead th')).map(th => th.textContent);
  return Array.from(t.querySelectorAll('tbody tr')).map(tr => Object.assign({ vessel: tr.dataset.vessel },
    Object.fromEntries(Array.from(tr.children).map((td, i) => [head[i] || 'outcome', td.textContent]))));
})()`;

// How many pixels of a canvas, in a square of side 2 * reach + 1 about
// (x, y) [canvas pixels], are within 40 of colour (#rrggbb).
const pixelsNear = `(canvas, x, y, reach, colour) => {
  const d = canvas.getContext('2d').getImageData(Math.round(x) - reach, Math.round(y) - reach, 2 * reach + 1, 2 * reach + 1).data;
  const c = [1, 3, 5].map(i => parseInt(colour.slice(i, i + 2), 16));
  let n = 0;
  for (let i = 0; i < d.length; i += 4) if (Math.hypot(d[i] - c[0], d[i + 1] - c[1], d[i + 2] - c[2]) < 40) n++;
  return n;
}`;

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
  console.log(`report.html: ${(bytes / 1000).toFixed(1)} kB (under 1500 kB wanted)`);
  check(bytes < 1.5e6, `the report is ${bytes} bytes, 1.5 MB or more`);

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
    for (const wanted of ['L1 liftoff', 'L1 booster (HOVER) on', 'L1 booster (HOVER) off', 'L1-SEP free',
      'L1 upper stage (MAIN) on', 'Varnellplf1 free', 'D1 free', 'Sat1 free', 'Sat2 free', 'L1 upper stage (MAIN) off',
      'L1-SEP crashed'])
      check(marks.includes(wanted), `no event marker "${wanted}" among ${marks.join(', ')}`);
    // Each chart labels every marker it draws, no label over another.
    const labels = await page(`varnellReport.charts.map(c => ({ title: c.varnellTitle, boxes: c.varnellLabels,
      marks: varnellReport.marks.filter(m => m.t >= c.scales.x.min && m.t <= c.scales.x.max &&
        (!c.varnellVessel || m.vessels.includes(c.varnellVessel) || m.creators.includes(c.varnellVessel))).length }))`);
    for (const c of labels) {
      const labelled = c.boxes.reduce((n, b) => n + b.marks, 0);
      check(labelled === c.marks, `${c.title}: ${labelled} of its ${c.marks} event markers labelled`);
      const over = c.boxes.filter((a, i) => c.boxes.slice(i + 1).some(b =>
        a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h));
      check(over.length === 0, `${c.title}: labels over others: ${over.map(b => b.text).join(' | ')}`);
    }

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

    // The deployment: each vessel made in flight by another's module released
    // where and on the orbit summary.json says, those released into orbit
    // on the orbit final.scn has them on (they coast: the thin air at 200 km
    // takes off metres); each first touch of the ground where the vessel's
    // samples either side put it, at the speed the event gives.
    const summary = JSON.parse(fs.readFileSync(path.join(dir, 'summary.json'), 'utf8'));
    const released = summary.vessels.filter(v => v.created_by), shownReleases = await page(tableRows('releases'));
    for (const name of ['D1', 'Sat1', 'Sat2'])
      check(released.some(v => v.name === name && v.created_periapsis_alt_m > 0), `summary.json has no ${name} released into orbit`);
    const near = (text, value, step) => Math.abs(Number(text) - value) <= step / 2 + 1e-9;
    for (const v of released) {
      const row = shownReleases.find(r => r.vessel === v.name);
      if (!row) { check(false, `no release row for ${v.name}`); continue; }
      const orbital = v.created_periapsis_alt_m > 0;
      const same = row.by === v.created_by && near(row['altitude [km]'], v.created_alt_m / 1000, 0.1) &&
        near(row['latitude [deg]'], v.created_lat_deg, 0.001) && near(row['longitude [deg]'], v.created_lng_deg, 0.001) &&
        near(row['apoapsis [km]'], v.created_apoapsis_alt_m / 1000, 0.1) &&
        near(row['inclination [deg]'], v.created_inclination_deg, 0.001) &&
        (orbital ? near(row['periapsis [km]'], v.created_periapsis_alt_m / 1000, 0.1) &&
          near(row['period [min]'], v.created_period_s / 60, 0.01) : row['periapsis [km]'] === 'suborbital');
      check(same, `${v.name}'s release shows ${JSON.stringify(row)}, summary.json has ${JSON.stringify(v)}`);
      // What falls climbs no higher than the apoapsis it was released on, and to nearly that above the air.
      const highest = Math.max(...rows.filter(r => r[vesselAt] === v.name).map(r => Number(r[header.indexOf('altitude_m')])));
      check(orbital || Math.abs(highest - v.created_apoapsis_alt_m) < 3000,
        `${v.name} was released on a path up to ${v.created_apoapsis_alt_m} m and climbed to ${highest} m`);
      const lines = orbital && fs.readFileSync(finalScn, 'utf8').includes(`\n${v.name}:`) && scenarioLines(finalScn, v.name);
      if (!lines || !lines.some(l => l.startsWith('RPOS '))) continue;
      const end = orbitOf(numbersAfter(lines, 'RPOS'), numbersAfter(lines, 'RVEL'));
      const iEnd = inclination(numbersAfter(lines, 'RPOS'), numbersAfter(lines, 'RVEL'), axis);
      check(Math.abs(end.periapsis - v.created_periapsis_alt_m) < 2000 && Math.abs(end.apoapsis - v.created_apoapsis_alt_m) < 2000 &&
        Math.abs(iEnd - v.created_inclination_deg) < 0.01 && Math.abs(end.period - v.created_period_s) < 5,
        `${v.name} released on ${[v.created_periapsis_alt_m, v.created_apoapsis_alt_m, v.created_inclination_deg,
          v.created_period_s]}, ends on ${[end.periapsis, end.apoapsis, iEnd, end.period]}`);
    }
    const shownImpacts = await page(tableRows('impacts')), firstTouch = new Map();
    for (const e of events) if ((e[2] === 'touchdown' || e[2] === 'crashed') && !firstTouch.has(e[1])) firstTouch.set(e[1], e);
    for (const name of ['L1-SEP', 'Varnellplf1', 'Varnellplf2']) check(firstTouch.has(name), `${name} never came down`);
    check(shownImpacts.length === firstTouch.size, `${shownImpacts.length} impacts shown, ${firstTouch.size} vessels came down`);
    for (const [name, e] of firstTouch) {
      const row = shownImpacts.find(r => r.vessel === name), t = Number(e[0]);
      const own = rows.filter(r => r[vesselAt] === name), column = c => header.indexOf(c);
      const before = own.filter(r => Number(r[0]) <= t).pop(), after = own.find(r => Number(r[0]) >= t) || before;
      const within = (text, c) => Math.min(before[column(c)], after[column(c)]) - 1e-3 <= Number(text) &&
        Number(text) <= Math.max(before[column(c)], after[column(c)]) + 1e-3;
      check(row && within(row['latitude [deg]'], 'latitude_deg') && within(row['longitude [deg]'], 'longitude_deg') &&
        Number(row['speed [m/s]']) === Number(/at ([0-9.]+) m\/s/.exec(e[3])[1]) && row.outcome === (
          events.some(x => x[1] === name && x[2] === 'crashed' && x[0] === e[0]) ? 'crashed' : 'touched down'),
        `${name} came down at ${e[0]} s (${e[3]}) between samples at ${before[0]} and ${after[0]} s; shown ${JSON.stringify(row)}`);
    }
    // The distances: a line for each object released into orbit and what
    // released it, and for each two of them; at the end as far apart as final.scn has them.
    const inOrbit = released.filter(v => v.created_periapsis_alt_m > 0).map(v => v.name), pairs = new Set();
    const pairKey = (a, b) => [a, b].sort().join(' – ');
    released.filter(v => inOrbit.includes(v.name)).forEach(v => pairs.add(pairKey(v.name, v.created_by)));
    inOrbit.forEach((a, i) => inOrbit.slice(i + 1).forEach(b => pairs.add(pairKey(a, b))));
    const distances = await page(`(() => { const c = varnellReport.charts.find(c => c.varnellPairs);
      return c.varnellPairs.map((p, k) => { const d = c.data[k + 1]; let i = d.length - 1; while (i > 0 && d[i] === null) i--;
        return { pair: p, last: d[i] }; }); })()`);
    const drawnPairs = distances.map(d => pairKey(...d.pair));
    check(drawnPairs.length === pairs.size && drawnPairs.every(p => pairs.has(p)),
      `the distances drawn are ${drawnPairs.join(', ')}; the pairs released are ${Array.from(pairs).join(', ')}`);
    for (const d of distances) {
      const at = d.pair.map(n => scenarioLines(finalScn, n).find(l => l.startsWith('RPOS ')));
      if (!at[0] || !at[1]) continue;
      const [a, b] = d.pair.map(n => numbersAfter(scenarioLines(finalScn, n), 'RPOS'));
      const apart = Math.hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
      check(Math.abs(d.last - apart) < 5, `${d.pair.join(' – ')}: ${d.last} m apart at the end in the chart, ${apart} m in final.scn`);
    }
    console.log(`deployment: ${released.length} releases, ${firstTouch.size} impacts, ${distances.length} distances ` +
      `(${distances.map(d => d.pair.join('–') + ' ' + d.last.toFixed(0) + ' m').join(', ')})`);

    // The charts read: no orbit for a vessel on the ground (the launcher on
    // the pad, the booster from its crash); an eccentricity of 0.008 well
    // clear of twice that; the attitude of one vessel, the launcher first.
    const crash = Number(events.find(e => e[1] === 'L1-SEP' && e[2] === 'crashed')[0]);
    const liftoff = Number(events.find(e => e[2] === 'liftoff')[0]);
    const orbitDrawn = await page(`(() => { const c = varnellReport.charts.find(c => c.varnellTitle.startsWith('Altitude'));
      const of = label => c.data[c.series.findIndex(s => s.label === label)].map((x, i) => [c.data[0][i], x]).filter(p => p[1] !== null);
      return { booster: of('L1-SEP apoapsis'), launcher: of('L1 apoapsis') }; })()`);
    check(orbitDrawn.booster.length > 100 && orbitDrawn.booster.every(p => p[0] < crash),
      `the booster's apoapsis drawn from ${orbitDrawn.booster[0]} to ${orbitDrawn.booster.slice(-1)}, crashed at ${crash} s`);
    check(orbitDrawn.launcher.length > 100 && orbitDrawn.launcher.every(p => p[0] > liftoff - 1),
      `the launcher's apoapsis drawn from ${orbitDrawn.launcher[0]}, liftoff at ${liftoff} s`);
    const grounded = (await page(tableRows('vessel-table'))).filter(r => r.status !== 'flight');
    check(grounded.length === 3 && grounded.every(r => r['periapsis [km]'] === '–' && r['period [min]'] === '–'),
      `vessels on the ground with orbits: ${JSON.stringify(grounded)}`);
    const ecc = summary.vessels.find(v => v.name === 'L1').eccentricity;
    const apart = await page(`(() => { const c = varnellReport.charts.find(c => c.varnellTitle.startsWith('Orbit: ecc'));
      return c.valToPos(${ecc}, 'y') - c.valToPos(${2 * ecc}, 'y'); })()`);
    check(apart > 15, `an eccentricity of ${ecc} and twice that are ${apart} px apart`);
    const attitude = async pick => page(`(() => { const c = varnellReport.charts.find(c => c.varnellTitle === 'Attitude');
      const select = c.root.parentNode.querySelector('select');
      if (${JSON.stringify(pick)}) { select.value = ${JSON.stringify(pick)}; select.dispatchEvent(new Event('change')); }
      return Array.from(new Set(c.series.slice(1).filter(s => s.show).map(s => s.vessel))); })()`);
    const first = await attitude(null), picked = await attitude('Sat1');
    check(first.join() === 'L1' && picked.join() === 'Sat1', `the attitude chart shows ${first}, then ${picked} for Sat1`);

    // The map: coast where Florida's is, north and south of the pad (whose
    // mark covers the cape), none out at sea or inland: places of the
    // world, not of the map. The pad, each release point and each impact
    // marked where the record has them, and named.
    const mapPixels = async (places, colour) => page(`(() => { const u = varnellReport.groundTrack, near = ${pixelsNear};
      return ${JSON.stringify(places)}.map(([lat, lng]) => near(u.ctx.canvas, u.valToPos(lng, 'x', true), u.valToPos(lat, 'y', true),
        4, ${colour ? JSON.stringify(colour) : 'u.varnellColours.coast'})); })()`);
    const coast = await mapPixels([[29.9, -81.3], [29.21, -81.0], [27.64, -80.36], [26.7, -80.03]]);
    const clear = await mapPixels([[31.0, -75.0], [28.3, -81.6], [20.0, -60.0]]);
    check(coast.every(n => n > 0) && clear.every(n => n === 0),
      `coast pixels along Florida's coast ${coast}, at sea and inland ${clear}`);
    const fell = Array.from(firstTouch.values()).map(e => rows.filter(r => r[vesselAt] === e[1] && Number(r[0]) <= Number(e[0])).pop());
    const marked = { pad: await mapPixels([[padLat, padLng]], '#f5c400'),
      releases: await mapPixels(released.map(v => [v.created_lat_deg, v.created_lng_deg]), '#111111'),
      impacts: await mapPixels(fell.map(r => [r[header.indexOf('latitude_deg')], r[header.indexOf('longitude_deg')]]), '#c21d1d') };
    const named = await page('varnellReport.groundTrack.varnellPlaces.map(p => p.label).join(" | ")');
    check(Object.values(marked).every(list => list.every(n => n > 0)) &&
      ['L1 pad'].concat(released.map(v => v.name), Array.from(firstTouch.keys())).every(n => named.includes(n)),
      `the map's marks of the pad, releases and impacts: ${JSON.stringify(marked)} pixels; its labels: ${named}`);

    // The orbit view: the Earth at the middle of the first view, space in a
    // corner; then each vessel flying at the end, picked alone and looked
    // at from above where this script puts its last sample in space (its
    // latitude, longitude and altitude, turned on by the Earth's turn since
    // liftoff), drawn in its colour there; a drag turns it.
    const globe = await page(`(() => { const v = varnellReport.orbitView, w = v.canvas.width, near = ${pixelsNear};
      return { centre: near(v.canvas, w / 2, w / 2, 2, v.colours.sea) + near(v.canvas, w / 2, w / 2, 2, v.colours.land),
               corner: near(v.canvas, 3, 3, 2, v.colours.background) }; })()`);
    check(globe.centre > 12 && globe.corner === 25, `of 25 pixels, ${globe.centre} at the orbit view's centre are the ` +
      `Earth's, ${globe.corner} in its corner space's`);
    for (const v of summary.vessels.filter(x => x.status === 'flight')) {
      const last = rows.filter(r => r[vesselAt] === v.name).pop(), num = c => Number(last[header.indexOf(c)]);
      const lat = num('latitude_deg') * Math.PI / 180, r = EARTH_RADIUS + num('altitude_m');
      const lng = num('longitude_deg') * Math.PI / 180 + 2 * Math.PI / SIDEREAL_DAY * (num('t_s') - liftoff);
      const p = [r * Math.cos(lat) * Math.cos(lng), r * Math.cos(lat) * Math.sin(lng), r * Math.sin(lat)];
      const seen = await page(`(() => { document.querySelector('#vessel-picker button[data-vessel="${v.name}"]').click();
        const o = varnellReport.orbitView, w = o.canvas.width, near = ${pixelsNear};
        o.lookAt(${JSON.stringify(p)}, 6);
        return near(o.canvas, w / 2, w / 2, 3, varnellReport.flight.vessels.find(x => x.name === '${v.name}').colour); })()`);
      check(seen > 0, `${v.name}'s path is not at its last place in the orbit view`);
    }
    const firstView = `(() => { document.querySelector('#vessel-picker button[data-vessel=""]').click();
      const c = varnellReport.orbitView.canvas; c.dispatchEvent(new MouseEvent('dblclick')); varnellReport.orbitView.draw(); })()`;
    await page(firstView);
    const box = await page(`(() => { const c = varnellReport.orbitView.canvas; c.scrollIntoView();
      const r = c.getBoundingClientRect(); return { x: r.left + r.width / 2, y: r.top + r.height / 2, az: varnellReport.orbitView.view.az }; })()`);
    const mouse = (type, x, buttons) => client.Input.dispatchMouseEvent({ type, x, y: box.y, button: 'left', buttons, clickCount: 1 });
    await mouse('mousePressed', box.x, 1);
    await mouse('mouseMoved', box.x + 100, 1);
    await mouse('mouseReleased', box.x + 100, 0);
    const turned = await page('varnellReport.orbitView.view.az');
    check(Math.abs(turned - box.az) > 0.3, `dragging 100 px across the orbit view turned it from ${box.az} to ${turned} rad`);
    await page(firstView);
    await attitude('L1');
    await page('window.scrollTo(0, 0)');

    // Every event is in the table, with every step of the ramps asked for.
    const listed = await page(`(() => { const box = document.getElementById('every-level'); box.click();
      const n = document.querySelectorAll('#events tbody tr').length; box.click(); return n; })()`);
    check(listed === events.length, `the table lists ${listed} events, events.csv ${events.length}`);
    check(errors.length === 0, 'script errors on the console: ' + errors.join(' | '));

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
