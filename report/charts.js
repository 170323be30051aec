// The time charts, drawn with uPlot: every vessel's quantities against the
// simulation time, the events marked on them, zoomed together.

// Each chart: its title, unit and quantities; a quantity is a telemetry
// column scaled into the chart's unit, drawn in the vessel's colour with its
// own dash. An orbit's elements are drawn only while the vessel flies (a
// vessel on the ground has none worth the name); a chart of one vessel at a
// time has a picker of its own; a logarithmic one shows small values
// (an eccentricity of 0.008) beside large ones.
const CHARTS = [
  { title: 'Altitude, apoapsis and periapsis', unit: 'km', clipBelow: 'altitude_m', quantities: [
    { column: 'altitude_m', label: 'altitude', scale: 1e-3 },
    { column: 'apoapsis_alt_m', label: 'apoapsis', scale: 1e-3, orbit: true },
    { column: 'periapsis_alt_m', label: 'periapsis', scale: 1e-3, orbit: true }] },
  { title: 'Speed', unit: 'm/s', quantities: [
    { column: 'speed_m_s', label: 'inertial' },
    { column: 'airspeed_m_s', label: 'air' },
    { column: 'vertical_speed_m_s', label: 'vertical' }] },
  { title: 'Dynamic pressure', unit: 'kPa', quantities: [
    { column: 'dynamic_pressure_pa', label: 'q', scale: 1e-3 }] },
  { title: 'Axial acceleration', unit: 'g', quantities: [
    { column: 'axial_accel_g', label: 'axial' }] },
  { title: 'Thrust', unit: 'kN', quantities: [
    { column: 'thrust_n', label: 'thrust', scale: 1e-3 }] },
  { title: 'Mass and propellant per tank', unit: 't', quantities: [
    { column: 'mass_kg', label: 'mass', scale: 1e-3 },
    { tanks: true, label: 'tank', scale: 1e-3 }] },
  { title: 'Engine group levels', unit: '0..1', quantities: [
    { column: 'main_level', group: 'MAIN' },
    { column: 'hover_level', group: 'HOVER' },
    { column: 'retro_level', group: 'RETRO' }] },
  { title: 'Attitude', unit: 'deg', oneVessel: true, quantities: [
    { column: 'pitch_deg', label: 'pitch' },
    { column: 'heading_deg', label: 'heading', wraps: true },
    { column: 'bank_deg', label: 'bank', wraps: true }] },
  { title: 'Orbit: inclination', unit: 'deg', quantities: [
    { column: 'inclination_deg', label: 'inclination', orbit: true }] },
  { title: 'Orbit: eccentricity', unit: 'log scale', log: true, quantities: [
    { column: 'eccentricity', label: 'eccentricity', orbit: true }] },
];

// Every sample time of any vessel, and where each vessel's rows fall among them.
function timeAxis() {
  const all = new Set();
  flight.vessels.forEach(v => v.col.t_s.forEach(t => all.add(t)));
  const times = Array.from(all).sort((a, b) => a - b);
  const index = new Map(times.map((t, i) => [t, i]));
  flight.vessels.forEach(v => { v.at = v.col.t_s.map(t => index.get(t)); });
  return times;
}

// A vessel's values on the common time axis. An angle that wraps round from
// +180 to -180 deg leaves a gap rather than a line across the chart; an
// orbit's element leaves one while the vessel is on the ground (landed or
// crashed, or on the pad until its liftoff, though it stirs on its legs
// before); a logarithmic chart leaves one where the value is not above zero.
function spread(v, values, scale, q, log) {
  const out = new Array(times.length).fill(null);
  const liftoff = flight.events.find(e => e.vessel === v.name && e.kind === 'liftoff'), from = liftoff ? liftoff.t : -Infinity;
  values.forEach((x, r) => {
    const jump = q.wraps && r > 0 && x !== null && values[r - 1] !== null && Math.abs(x - values[r - 1]) > 180;
    const grounded = q.orbit && (v.col.status[r] !== 'flight' || v.col.t_s[r] < from);
    out[v.at[r]] = x === null || jump || grounded || (log && !(x > 0)) ? null : x * scale;
  });
  return out;
}

// A vessel's tanks as it had them, followed through deletions: a tank
// deleted moves the later ones up in the telemetry's columns, but its line
// in the chart stays the same tank's. Tanks are named by their number at
// the vessel's first sample; a tank made later gets the next number.
function tankSeries(v) {
  const deletions = flight.events.filter(e => e.vessel === v.name && e.kind === 'tank-deleted');
  const columns = [];
  for (let k = 0; v.col['tank' + k + '_kg']; k++) columns.push(v.col['tank' + k + '_kg']);
  let names = [], next = 0, d = 0;
  const series = {};
  for (let r = 0; r < v.rows; r++) {
    for (; d < deletions.length && deletions[d].t <= v.col.t_s[r]; d++) {
      names.splice(Number(deletions[d].detail.replace(/^tank /, '')), 1);
    }
    columns.forEach((c, k) => {
      if (c[r] === null) return;
      while (names.length <= k) names.push(next++);
      (series[names[k]] = series[names[k]] || new Array(v.rows).fill(null))[r] = c[r];
    });
  }
  return Object.keys(series).map(n => ({ name: 'tank ' + n, values: series[n] }));
}

function lineSeries(label, colour, dash, vessel) {
  return { label: label, stroke: colour, width: 1.5, dash: DASHES[dash % DASHES.length], vessel: vessel,
           points: { show: false }, spanGaps: false };
}

// A line that stays at zero (the levels of engines a satellite does not
// have) is left out: it shows nothing and costs drawing. The key names each
// quantity as the lines drawn call it.
function chartData(def) {
  const series = [{}], data = [times], keys = def.quantities.map(() => new Set());
  const add = (v, i, label, values, scale, q) => {
    if (values.every(x => !x)) return;
    series.push(lineSeries(v.name + ' ' + label, v.colour, i, v.name));
    data.push(spread(v, values, scale, q, def.log));
    keys[Math.min(i, keys.length - 1)].add(q.tanks ? q.label : label);
  };
  for (const v of flight.vessels) {
    def.quantities.forEach((q, i) => {
      const scale = q.scale || 1;
      if (q.tanks) tankSeries(v).forEach((s, k) => add(v, i + k, s.name, s.values, scale, q));
      else if (v.col[q.column]) add(v, i, q.group ? engineName(v.name, q.group) : q.label, v.col[q.column], scale, q);
    });
  }
  return { series: series, data: data, keys: keys.map(k => Array.from(k).join(' / ')) };
}

// ---- Event markers ------------------------------------------------------------

// The dashed grey lines of the events, labelled above the plot. Lines closer
// than a label's gap share one label ("L1 booster (HOVER) off · L1-SEP
// free"); labels are set in rows, and one that finds no row free at its
// line moves right along a leader, so that none overlaps another; what still
// does not fit before the edge ends in an ellipsis (every event is in the
// table of events).
const MARK_ROWS = 4, MARK_ROW_HEIGHT = 12;  // [CSS pixels]
function markerPlugin(marksOf) {
  return { hooks: { draw: [u => drawMarks(u, marksOf(u))] } };
}
function drawMarks(u, shownMarks) {
  const ctx = u.ctx, dpr = devicePixelRatio || 1, { left, top, width, height } = u.bbox;
  const rowHeight = MARK_ROW_HEIGHT * dpr, gap = 8 * dpr, right = left + width;
  const lines = [];
  for (const m of shownMarks) {
    const x = Math.round(u.valToPos(m.t, 'x', true));
    if (x < left || x > right) continue;
    const last = lines[lines.length - 1];
    if (last && x - last.x1 < gap) {
      last.x1 = x;
      last.labels.push(m.label);
      last.xs.push(x);
    } else {
      lines.push({ x: x, x1: x, xs: [x], labels: [m.label] });
    }
  }
  ctx.save();
  ctx.font = (10 * dpr) + 'px sans-serif';
  ctx.textAlign = 'left';
  ctx.textBaseline = 'top';
  ctx.strokeStyle = 'rgba(90, 90, 90, 0.55)';
  ctx.fillStyle = '#444';
  ctx.lineWidth = dpr;
  const rowsEnd = new Array(MARK_ROWS).fill(-Infinity), placed = [];
  for (const l of lines) {
    ctx.setLineDash([3 * dpr, 3 * dpr]);
    ctx.beginPath();
    l.xs.forEach(x => { ctx.moveTo(x, top); ctx.lineTo(x, top + height); });
    ctx.stroke();
    let text = l.labels.join(' · ');
    const w = ctx.measureText(text).width + 4 * dpr;
    // Where the label would begin in each row: at its line, or as far left as the edge needs, but
    // after the row's last label. The first row where it fits whole at its line, else whole
    // further right, else the row with the most room.
    const starts = rowsEnd.map(end => Math.max(end + gap, Math.min(l.x, right - w)));
    const whole = r => starts[r] + w <= right;
    let row = starts.findIndex((x, r) => whole(r) && x <= l.x);
    if (row < 0) row = starts.findIndex((x, r) => whole(r));
    if (row < 0) row = starts.indexOf(Math.min(...starts));
    const from = starts[row];
    text = clipped(ctx, text, right - from - 4 * dpr);
    if (!text) continue;
    rowsEnd[row] = from + ctx.measureText(text).width + 4 * dpr;
    placed.push({ x: from, y: top - (MARK_ROWS - row) * rowHeight, w: rowsEnd[row] - from, h: rowHeight, row: row,
                  text: text, line: l.x, marks: l.labels.length });
  }
  // Each label, and its leader: up from its line to the label's row, passing
  // behind the labels of the rows between, then along beneath it to where it begins.
  ctx.setLineDash([]);
  for (const p of placed) {
    ctx.fillText(p.text, p.x + 2 * dpr, p.y + dpr);
    ctx.beginPath();
    for (let row = p.row; row < MARK_ROWS; row++) {
      const y = top - (MARK_ROWS - row) * rowHeight;
      if (row > p.row && placed.some(o => o.row === row && o.x - dpr <= p.line && p.line <= o.x + o.w + dpr)) continue;
      ctx.moveTo(p.line, Math.min(top, y + rowHeight));
      ctx.lineTo(p.line, row === p.row ? y + rowHeight - dpr / 2 : y);
    }
    if (p.x > p.line) {
      ctx.moveTo(p.line, p.y + rowHeight - dpr / 2);
      ctx.lineTo(p.x + 2 * dpr, p.y + rowHeight - dpr / 2);
    }
    ctx.stroke();
  }
  u.varnellLabels = placed;  // where each label went, for whoever looks from outside
  ctx.restore();
}
// The text cut to fit a width, with an ellipsis; empty when not even a letter fits.
function clipped(ctx, text, room) {
  if (ctx.measureText(text).width <= room) return text;
  let n = text.length;
  while (n > 0 && ctx.measureText(text.slice(0, n) + '…').width > room) n--;
  return n > 0 ? text.slice(0, n) + '…' : '';
}

// The values under the cursor, below the chart.
function readoutPlugin(readout, unit) {
  return {
    hooks: {
      setCursor: [u => {
        const i = u.cursor.idx;
        if (i === null || i === undefined) {
          readout.textContent = '';
          return;
        }
        const parts = [];
        u.series.forEach((s, k) => {
          if (k === 0 || !s.show || u.data[k][i] === null) return;
          parts.push(s.label + ' ' + u.data[k][i].toPrecision(5));
        });
        readout.textContent = 't ' + fixed(times[i], 2) + ' s ' + met(times[i]) + (unit ? '   [' + unit + ']   ' : '   ') +
          parts.join(' · ');
      }],
    },
  };
}

// Zooming one chart's time zooms them all, once they are all drawn (each
// sets its scale as it starts, which must not redraw the others), but for
// one with a span of time of its own.
let syncing = true;
function zoomAll(u) {
  if (syncing || u.varnellOwnTime) return;
  syncing = true;
  const { min, max } = u.scales.x;
  charts.forEach(c => {
    if (c !== u && !c.varnellOwnTime && (c.scales.x.min !== min || c.scales.x.max !== max)) c.setScale('x', { min: min, max: max });
  });
  syncing = false;
}

function chartWidth() {
  const box = document.getElementById('charts');
  const columns = box.clientWidth > 1000 ? 2 : 1;
  return Math.floor((box.clientWidth - (columns - 1) * 16) / columns);
}

// A time chart in a figure of box; series carry the vessel they show.
function timeChart(box, title, unit, key, width, series, data, scales) {
  const fig = figure(title, unit, key);
  const readout = el('div', { class: 'readout' });
  box.appendChild(fig);
  const chart = new uPlot({
    width: width,
    height: 280,
    padding: [MARK_ROWS * MARK_ROW_HEIGHT + 6, 12, null, null],
    legend: { show: false },
    cursor: { sync: { key: 'flight' }, drag: { x: true, y: false } },
    scales: Object.assign({ x: { time: false } }, scales),
    axes: [{ label: 'simulation time [s]', labelSize: 18, size: 36 }, { size: 60 }],
    series: series,
    plugins: [markerPlugin(u => marks.filter(m => shows(m, u.varnellVessel))), readoutPlugin(readout, unit)],
    hooks: { setScale: [(u, key) => { if (key === 'x') zoomAll(u); }] },
  }, data, fig);
  chart.varnellTitle = title;
  charts.push(chart);
  fig.appendChild(readout);
  return chart;
}

function drawCharts() {
  const box = document.getElementById('charts'), width = chartWidth();  // read once: each read lays the page out
  for (const def of CHARTS) {
    const { series, data, keys } = chartData(def);
    if (series.length === 1) continue;
    const key = el('span', { class: 'key' }, keys.map((k, i) => k && el('span', { class: 'dash dash' + (i % DASHES.length), text: k }))
      .filter(Boolean));
    const scales = def.log ? { y: logScale() } : def.clipBelow ? { y: { range: clipRange() } } : {};
    const drawn = new Set(series.slice(1).map(s => s.vessel));
    const picker = def.oneVessel ? vesselSelect(flight.vessels.filter(v => drawn.has(v.name))) : null;
    const chart = timeChart(box, def.title, def.unit, picker ? el('span', {}, [key, ' ', picker]) : key, width,
      series, data, scales);
    if (picker) {
      oneVesselCharts.push({ chart: chart, picker: picker });
      showOnly(chart, picker.value);
      picker.addEventListener('change', () => showOnly(chart, picker.value));
    }
  }
}

// A chart of one vessel at a time: its own choice, the launcher at first.
const oneVesselCharts = [];
function vesselSelect(vessels) {
  const first = mainVessel();
  return el('select', { 'aria-label': 'vessel shown' }, vessels.map(v => {
    const o = el('option', { value: v.name, text: v.name });
    if (v.name === first) o.selected = true;
    return o;
  }));
}
function showOnly(chart, name) {
  chart.varnellVessel = name;
  chart.batch(() => chart.series.forEach((s, k) => {
    if (k > 0 && s.show !== (s.vessel === name)) chart.setSeries(k, { show: s.vessel === name });
  }));
  chart.redraw(false);
}

// A logarithmic scale with room below and above the lines, so that none runs along an edge.
function logScale() {
  return { distr: 3, range: (u, min, max) => [min / 1.5, max * 1.5] };
}

// A periapsis deep inside the planet would squash the chart: the scale
// goes no lower than the altitude does.
function clipRange() {
  return (u, min, max) => {
    let low = Infinity;
    u.series.forEach((s, k) => {
      if (k === 0 || !s.show || !s.label.endsWith(' altitude')) return;
      for (const x of u.data[k]) if (x !== null && x < low) low = x;
    });
    if (!isFinite(low)) low = min;
    low = Math.min(0, low);
    const pad = (max - low) * 0.05;
    return [low - pad, max + pad];
  };
}
