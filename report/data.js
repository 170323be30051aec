// The flight report's page, in files by concern that the build runs as one
// script, in one scope (cmake/report_assets.cmake gives their order): this one
// reads the flight held in the page (the element #flight-data, written by
// varnell) and gives what the others share: formatting, the vessels' names
// for their engines, the events worth a marker, and places in space. The
// telemetry's columns come packed; sim/runner/report/report_columns.h
// describes how.

// ---- Reading the flight -----------------------------------------------------

const DIGITS = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_';
const DIGIT = new Int8Array(128).fill(-1);
for (let i = 0; i < DIGITS.length; i++) DIGIT[DIGITS.charCodeAt(i)] = i;

// One column of one vessel: numbers rounded to step, or words, null where empty.
function decodeColumn(text, rows, column) {
  const out = new Array(rows);
  const order = text.charCodeAt(0) - 48;
  // Dividing by a whole number keeps 0.3 from coming out as 0.30000000000000004.
  const per = column.step < 1 ? Math.round(1 / column.step) : 0;
  let at = 1, last = 0, before = 0, seen = 0;
  for (let r = 0; r < rows; r++) {
    let v = 0, scale = 1, d;
    do {
      d = DIGIT[text.charCodeAt(at++)];
      if (d < 0 || d === undefined) throw new Error('column ' + column.name + ' is damaged at ' + (at - 1));
      v += (d & 31) * scale;
      scale *= 32;
    } while (d & 32);
    if (v === 0) {
      out[r] = null;
      continue;
    }
    v -= 1;
    const q = (order === 2 && seen >= 2 ? 2 * last - before : last) + (v % 2 ? -(v + 1) / 2 : v / 2);
    before = last;
    last = q;
    seen++;
    out[r] = column.words ? column.words[q] : per ? q / per : q * column.step;
  }
  if (at !== text.length) throw new Error('column ' + column.name + ' holds more than its ' + rows + ' rows');
  return out;
}

function readFlight(data) {
  const columns = data.telemetry.columns;
  const summaryOf = name => (data.summary.vessels || []).find(s => s.name === name) || {};
  const vessels = data.telemetry.vessels.map((v, i) => {
    const col = {};
    columns.forEach((c, k) => { col[c.name] = decodeColumn(v.columns[k], v.rows, c); });
    return { name: v.name, rows: v.rows, col: col, colour: COLOURS[i % COLOURS.length], summary: summaryOf(v.name) };
  });
  const events = data.events.map(e => ({ t: e[0], vessel: e[1], kind: e[2], detail: e[3] }));
  const liftoff = events.find(e => e.kind === 'liftoff');
  return {
    summary: data.summary,
    columns: columns,
    vessels: vessels,
    events: events,
    liftoff: liftoff ? liftoff.t : null,
  };
}

// The vessel the flight is about: the first of the scenario's own that made
// others in flight (the launcher), else the first.
function mainVessel() {
  const makers = new Set(flight.vessels.map(v => v.summary.created_by));
  return (flight.vessels.find(v => v.summary.created_t === null && makers.has(v.name)) || flight.vessels[0]).name;
}

// ---- Formatting -------------------------------------------------------------

const COLOURS = ['#1f6fd1', '#d1401f', '#1e9e4a', '#9b30c9', '#e08a00', '#00a3a3', '#c8237a', '#6a8f00',
                 '#3d3dc8', '#b35a00'];
const DASHES = [[], [7, 4], [2, 3], [10, 3, 2, 3]];

// A number to so many decimals; a dash for none, and no sign on a zero ("-0.000").
function fixed(x, digits) {
  if (x === null || x === undefined || !isFinite(x)) return '–';
  const text = x.toFixed(digits);
  return /^-[0.]*$/.test(text) ? text.slice(1) : text;
}
function met(t) {
  if (flight.liftoff === null) return '';
  const s = t - flight.liftoff;
  return (s < 0 ? 'T−' : 'T+') + Math.abs(s).toFixed(2);
}
function el(tag, attrs, children) {
  const e = document.createElement(tag);
  for (const k in attrs || {}) {
    if (k === 'text') e.textContent = attrs[k];
    else if (k === 'style') e.style.cssText = attrs[k];
    else e.setAttribute(k, attrs[k]);
  }
  (children || []).forEach(c => e.appendChild(typeof c === 'string' ? document.createTextNode(c) : c));
  return e;
}
function table(id, head, rows) {
  const t = document.getElementById(id);
  t.textContent = '';
  t.appendChild(el('thead', {}, [el('tr', {}, head.map(h => el('th', { text: h })))]));
  const body = el('tbody');
  rows.forEach(r => body.appendChild(r));
  t.appendChild(body);
}
function swatch(colour) {
  return el('span', { class: 'swatch', style: 'background:' + colour });
}
function colourOf(name) {
  return (flight.vessels.find(v => v.name === name) || {}).colour || '#888';
}
// Table cells: a vessel's name with its colour; texts.
function named(name) {
  return el('td', {}, [swatch(colourOf(name)), name]);
}
function cells(values) {
  return values.map(c => el('td', { text: c }));
}
// A figure with its caption: a title in bold, a unit and a key.
function figure(title, unit, key) {
  return el('figure', { class: 'chart' }, [el('figcaption', {}, [el('strong', { text: title }),
    unit ? ' [' + unit + ']  ' : '  '].concat(key ? [key] : []))]);
}

// ---- Engines ------------------------------------------------------------------

// What each thruster group is in the vessels of this launcher: its booster
// burns in the HOVER group, its upper stage in MAIN.
const ENGINE_GROUPS = { Varnell: { HOVER: 'booster', MAIN: 'upper stage' } };
function engineName(vessel, group) {
  const v = flight.vessels.find(x => x.name === vessel), what = v && (ENGINE_GROUPS[v.summary.class] || {})[group];
  return what ? what + ' (' + group + ')' : group;
}

// ---- Events worth a marker --------------------------------------------------

// Engines lighting and going out (a group's level leaving or reaching 0),
// liftoff, vessels coming free, tanks running dry, each vessel's first
// touchdown (its bounces are in the table), a landing that was no crash.
function markedEvents() {
  const level = {}, reached = new Set(), crashed = new Set();
  const marks = [];
  flight.events.forEach((e, i) => {
    let label = null;
    if (e.kind === 'group-level') {
      const cut = e.detail.lastIndexOf(' ');
      const group = e.detail.slice(0, cut), now = Number(e.detail.slice(cut + 1));
      const key = e.vessel + '\n' + group, was = level[key] || 0;
      level[key] = now;
      if (was === 0 && now > 0) label = engineName(e.vessel, group) + ' on';
      else if (was > 0 && now === 0) label = engineName(e.vessel, group) + ' off';
    } else if (e.kind === 'vessel-created') {
      label = 'free';
    } else if (e.kind === 'touchdown' || e.kind === 'crashed') {
      if (reached.has(e.vessel)) return;
      reached.add(e.vessel);
      const crash = flight.events.slice(i, i + 3).find(n => n.kind === 'crashed' && n.vessel === e.vessel && n.t === e.t);
      if (crash) crashed.add(e.vessel);
      label = crash ? 'crashed' : 'touchdown';
    } else if (e.kind === 'landed') {
      if (!crashed.has(e.vessel)) label = 'landed';
    } else if (['liftoff', 'tank-dry', 'diverged'].includes(e.kind)) {
      label = e.kind === 'tank-dry' ? 'tank dry' : e.kind;
    }
    if (!label) return;
    // Things of a kind that happen together share a marker: "Sat2, Sat1 free".
    const last = marks[marks.length - 1];
    if (last && last.what === label && e.t - last.t < 0.5) {
      last.vessels.push(e.vessel);
      last.creators.push(creatorOf(e));
    } else {
      marks.push({ t: e.t, what: label, vessels: [e.vessel], creators: [creatorOf(e)] });
    }
  });
  marks.forEach(m => { m.label = m.vessels.join(', ') + ' ' + m.what; });
  return marks;
}
function creatorOf(e) {
  const by = e.kind === 'vessel-created' ? e.detail.lastIndexOf(' by ') : -1;
  return by < 0 ? null : e.detail.slice(by + 4);
}

// ---- Places -------------------------------------------------------------------

const EARTH_RADIUS = 6371010;                    // the host's mean radius [m]
const EARTH_TURN = 2 * Math.PI / 86164.10132;   // its rate, once round in a sidereal day [rad/s]
const RAD = Math.PI / 180;

// A point over the planet as x y z [m] in a frame that does not turn with it:
// z to the north pole, x to longitude 0 as it was at time from [s].
function inSpace(lat, lng, alt, t, from) {
  const r = EARTH_RADIUS + alt, phi = lat * RAD, lambda = lng * RAD + EARTH_TURN * (t - from);
  return [r * Math.cos(phi) * Math.cos(lambda), r * Math.cos(phi) * Math.sin(lambda), r * Math.sin(phi)];
}

// A vessel's latitude, longitude and altitude at time t, between its samples.
function placeAt(v, t) {
  const ts = v.col.t_s;
  let i = 0;
  while (i < ts.length - 1 && ts[i + 1] < t) i++;
  const j = Math.min(i + 1, ts.length - 1), f = ts[j] > ts[i] ? Math.min(1, Math.max(0, (t - ts[i]) / (ts[j] - ts[i]))) : 0;
  const at = name => v.col[name][i] + f * (v.col[name][j] - v.col[name][i]);
  let dLng = v.col.longitude_deg[j] - v.col.longitude_deg[i];
  dLng -= 360 * Math.round(dLng / 360);  // across the antimeridian
  const lng = v.col.longitude_deg[i] + f * dLng;
  return { lat: at('latitude_deg'), lng: lng - 360 * Math.round(lng / 360), alt: at('altitude_m') };
}

// Distance over the ground between two points [m].
function groundDistance(lat1, lng1, lat2, lng2) {
  const h = Math.sin((lat2 - lat1) * RAD / 2) ** 2 +
    Math.cos(lat1 * RAD) * Math.cos(lat2 * RAD) * Math.sin((lng2 - lng1) * RAD / 2) ** 2;
  return 2 * EARTH_RADIUS * Math.asin(Math.min(1, Math.sqrt(h)));
}
