// The deployment: what came free of what, where and on which orbit, where
// what fell came down, and how far apart the objects released into orbit
// drifted.

// Every vessel made in flight by another's module, in the order made, with
// where and on which orbit it started (summary.json's created_* fields).
function releases() {
  return flight.events.filter(e => e.kind === 'vessel-created' && creatorOf(e) !== null).map(e => {
    const s = (flight.vessels.find(v => v.name === e.vessel) || {}).summary ||
      (flight.summary.vessels || []).find(x => x.name === e.vessel) || {};
    return { name: e.vessel, cls: s.class, by: creatorOf(e), t: e.t, lat: s.created_lat_deg, lng: s.created_lng_deg,
             alt: s.created_alt_m, periapsis: s.created_periapsis_alt_m, apoapsis: s.created_apoapsis_alt_m,
             inclination: s.created_inclination_deg, period: s.created_period_s,
             orbital: s.created_periapsis_alt_m > 0 };
  });
}

// Where each scenario vessel that began on the ground stood: the pad.
function pads() {
  return flight.vessels.filter(v => v.summary.created_t === null && v.col.status && v.col.status[0] === 'landed' &&
    v.col.latitude_deg && v.col.latitude_deg[0] !== null)
    .map(v => ({ name: v.name, lat: v.col.latitude_deg[0], lng: v.col.longitude_deg[0] }));
}

// Each vessel's first reach of the ground after it flew, with the speed
// against the ground the record gives ("at 58.18 m/s"), whether it crashed,
// where (its samples either side, met at the moment) and when it lay at rest.
function impacts() {
  const found = [], pad = pads()[0];
  flight.events.forEach((e, i) => {
    if ((e.kind !== 'touchdown' && e.kind !== 'crashed') || found.some(f => f.name === e.vessel)) return;
    const v = flight.vessels.find(x => x.name === e.vessel);
    if (!v || !v.col.latitude_deg) return;
    const later = flight.events.slice(i);
    const crash = later.find(n => n.kind === 'crashed' && n.vessel === e.vessel && n.t === e.t);
    const rest = later.find(n => n.kind === 'landed' && n.vessel === e.vessel);
    const speed = /at ([-0-9.e+]+) m\/s/.exec(e.detail);
    const at = placeAt(v, e.t);
    found.push({ name: e.vessel, t: e.t, lat: at.lat, lng: at.lng, speed: speed ? Number(speed[1]) : null,
                 crashed: !!crash, rest: rest ? rest.t : null,
                 downrange: pad ? groundDistance(pad.lat, pad.lng, at.lat, at.lng) : null });
  });
  return found;
}

// The pairs whose distance is charted: each object released into orbit
// with what released it, and with each other such object.
function releasedPairs(list) {
  const pairs = [], has = (a, b) => pairs.some(p => (p[0] === a && p[1] === b) || (p[0] === b && p[1] === a));
  const inOrbit = list.filter(r => r.orbital);
  inOrbit.forEach((r, i) => {
    if (!has(r.name, r.by)) pairs.push([r.name, r.by]);
    inOrbit.slice(i + 1).forEach(o => { if (!has(o.name, r.name)) pairs.push([o.name, r.name]); });
  });
  return pairs;
}

// ---- Tables -------------------------------------------------------------------

function drawReleases(list) {
  const rows = list.map(r => el('tr', { 'data-vessel': r.name, class: r.orbital ? 'orbital' : 'suborbital' },
    [named(r.name)].concat(cells([r.cls || '–', r.by, met(r.t) || fixed(r.t, 2), fixed(r.alt / 1000, 1),
      fixed(r.lat, 3), fixed(r.lng, 3), r.orbital || !Number.isFinite(r.periapsis) ? fixed(r.periapsis / 1000, 1) : 'suborbital',
      r.apoapsis === null && Number.isFinite(r.periapsis) ? 'unbound' : fixed(r.apoapsis / 1000, 1),
      fixed(r.inclination, 3), r.orbital ? fixed(r.period / 60, 2) : '–']))));
  table('releases', ['released', 'class', 'by', 'mission time [s]', 'altitude [km]', 'latitude [deg]',
    'longitude [deg]', 'periapsis [km]', 'apoapsis [km]', 'inclination [deg]', 'period [min]'], rows);
  document.getElementById('no-releases').hidden = list.length > 0;
  document.getElementById('releases').hidden = list.length === 0;
}

function drawImpacts(list) {
  const rows = list.map(f => el('tr', { 'data-vessel': f.name, class: f.crashed ? 'crashed' : 'landed' },
    [named(f.name)].concat(cells([met(f.t) || fixed(f.t, 2), fixed(f.lat, 3), fixed(f.lng, 3),
      fixed(f.downrange / 1000, 1), fixed(f.speed, 2), f.crashed ? 'crashed' : 'touched down',
      f.rest === null ? '–' : met(f.rest) || fixed(f.rest, 2)]))));
  table('impacts', ['came down', 'mission time [s]', 'latitude [deg]', 'longitude [deg]', 'from the pad [km]',
    'speed [m/s]', '', 'at rest at [s]'], rows);
  document.getElementById('no-impacts').hidden = list.length > 0;
  document.getElementById('impacts').hidden = list.length === 0;
}

// ---- Distances ------------------------------------------------------------------

// Each pair's distance [m] on the common time axis, where both have a sample.
// Their places over the turning planet at the same moment are as far apart
// as in space.
function pairDistance(a, b) {
  const place = v => {
    const out = new Array(times.length).fill(null);
    v.col.t_s.forEach((t, r) => {
      if (v.col.latitude_deg[r] === null || v.col.altitude_m[r] === null) return;
      out[v.at[r]] = inSpace(v.col.latitude_deg[r], v.col.longitude_deg[r], v.col.altitude_m[r], 0, 0);
    });
    return out;
  };
  const pa = place(a), pb = place(b);
  return pa.map((p, i) => {
    const q = pb[i], d = p && q ? Math.hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]) : 0;
    return d > 0 ? d : null;
  });
}

function drawDistances(list) {
  const pairs = releasedPairs(list).map(p => p.map(n => flight.vessels.find(v => v.name === n)))
    .filter(p => p[0] && p[1] && p[0].col.latitude_deg && p[1].col.latitude_deg);
  const box = document.getElementById('distances');
  if (pairs.length === 0) {
    box.appendChild(el('p', { class: 'hint', text: 'Nothing was released into orbit.' }));
    return;
  }
  const series = [{}], data = [times];
  pairs.forEach((p, i) => {
    const s = lineSeries(p[0].name + ' – ' + p[1].name, p[0].colour, i, undefined);
    s.pair = [p[0].name, p[1].name];
    series.push(s);
    data.push(pairDistance(p[0], p[1]));
  });
  const key = el('span', { class: 'key' }, pairs.map((p, i) => el('span', { class: 'dash dash' + (i % DASHES.length) },
    [swatch(p[0].colour), p[0].name + ' – ' + p[1].name])));
  // From a little before the first release into orbit: the ascent has nothing to show here.
  const from = Math.min(...list.filter(r => r.orbital).map(r => r.t)) - 20;
  const chart = timeChart(box, 'Distance between the objects released into orbit', 'm, log scale', key,
    box.clientWidth, series, data, { x: { time: false, range: (u, min, max) => [Math.max(min, from), max] }, y: logScale() });
  chart.varnellPairs = pairs.map(p => [p[0].name, p[1].name]);
  chart.varnellOwnTime = true;
  chart.varnellWidth = () => box.clientWidth;
}

function drawDeployment() {
  const list = releases();
  drawReleases(list);
  drawImpacts(impacts());
  drawDistances(list);
}
