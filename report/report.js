// The flight report's page: reads the flight held in the page (the element
// #flight-data, written by varnell), then draws the header, the time charts
// and the ground track with uPlot, and the tables. The telemetry's columns
// come packed; sim/runner/report_columns.h describes how.
(function () {
  'use strict';

  // ---- Reading the flight -------------------------------------------------

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
    const vessels = data.telemetry.vessels.map((v, i) => {
      const col = {};
      columns.forEach((c, k) => { col[c.name] = decodeColumn(v.columns[k], v.rows, c); });
      return { name: v.name, rows: v.rows, col: col, colour: COLOURS[i % COLOURS.length] };
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

  // ---- Formatting ---------------------------------------------------------

  const COLOURS = ['#1f6fd1', '#d1401f', '#1e9e4a', '#9b30c9', '#e08a00', '#00a3a3', '#c8237a', '#6a8f00',
                   '#3d3dc8', '#b35a00'];
  const DASHES = [[], [7, 4], [2, 3], [10, 3, 2, 3]];

  function fixed(x, digits) {
    return x === null || x === undefined || !isFinite(x) ? '–' : x.toFixed(digits);
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

  // ---- Events worth a marker ----------------------------------------------

  // Engines lighting and going out (a group's level leaving or reaching 0),
  // liftoff, vessels coming free, tanks running dry, crashes and landings.
  function markedEvents() {
    const level = {};
    const marks = [];
    for (const e of flight.events) {
      let label = null;
      if (e.kind === 'group-level') {
        const cut = e.detail.lastIndexOf(' ');
        const group = e.detail.slice(0, cut), now = Number(e.detail.slice(cut + 1));
        const key = e.vessel + '\n' + group, was = level[key] || 0;
        level[key] = now;
        if (was === 0 && now > 0) label = group + ' on';
        else if (was > 0 && now === 0) label = group + ' off';
      } else if (e.kind === 'vessel-created') {
        label = 'free';
      } else if (['liftoff', 'tank-dry', 'crashed', 'touchdown', 'landed', 'diverged'].includes(e.kind)) {
        label = e.kind === 'tank-dry' ? 'tank dry' : e.kind;
      }
      if (!label) continue;
      // Things of a kind that happen together share a marker: "Sat2, Sat1 free".
      const last = marks[marks.length - 1];
      if (last && last.what === label && e.t - last.t < 0.5) {
        last.vessels.push(e.vessel);
        last.creators.push(creatorOf(e));
      } else {
        marks.push({ t: e.t, what: label, vessels: [e.vessel], creators: [creatorOf(e)] });
      }
    }
    marks.forEach(m => { m.label = m.vessels.join(', ') + ' ' + m.what; });
    return marks;
  }
  function creatorOf(e) {
    const by = e.kind === 'vessel-created' ? e.detail.lastIndexOf(' by ') : -1;
    return by < 0 ? null : e.detail.slice(by + 4);
  }

  // ---- Time charts --------------------------------------------------------

  // Each chart: its title, unit and quantities; a quantity is a telemetry
  // column scaled into the chart's unit, drawn in the vessel's colour with
  // its own dash.
  const CHARTS = [
    { title: 'Altitude, apoapsis and periapsis', unit: 'km', clipBelow: 'altitude_m', quantities: [
      { column: 'altitude_m', label: 'altitude', scale: 1e-3 },
      { column: 'apoapsis_alt_m', label: 'apoapsis', scale: 1e-3 },
      { column: 'periapsis_alt_m', label: 'periapsis', scale: 1e-3 }] },
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
      { column: 'main_level', label: 'main' },
      { column: 'hover_level', label: 'hover' },
      { column: 'retro_level', label: 'retro' }] },
    { title: 'Attitude', unit: 'deg', quantities: [
      { column: 'pitch_deg', label: 'pitch' },
      { column: 'heading_deg', label: 'heading', wraps: true },
      { column: 'bank_deg', label: 'bank', wraps: true }] },
    { title: 'Orbit: inclination', unit: 'deg', quantities: [
      { column: 'inclination_deg', label: 'inclination' }] },
    { title: 'Orbit: eccentricity', unit: '', quantities: [
      { column: 'eccentricity', label: 'eccentricity' }] },
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

  // A vessel's values on the common time axis. An angle that wraps round
  // from +180 to -180 deg leaves a gap rather than a line across the chart.
  function spread(v, values, scale, wraps) {
    const out = new Array(times.length).fill(null);
    values.forEach((x, r) => {
      const jump = wraps && r > 0 && x !== null && values[r - 1] !== null && Math.abs(x - values[r - 1]) > 180;
      out[v.at[r]] = x === null || jump ? null : x * scale;
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

  function lineSeries(v, label, dash) {
    return { label: v.name + ' ' + label, stroke: v.colour, width: 1.5, dash: DASHES[dash % DASHES.length],
             vessel: v.name, points: { show: false }, spanGaps: false };
  }

  // A line that stays at zero (the levels of engines a satellite does not
  // have) is left out: it shows nothing and costs drawing.
  function chartData(def) {
    const series = [{}], data = [times];
    const add = (v, label, dash, values, scale, wraps) => {
      if (values.every(x => !x)) return;
      series.push(lineSeries(v, label, dash));
      data.push(spread(v, values, scale, wraps));
    };
    for (const v of flight.vessels) {
      def.quantities.forEach((q, i) => {
        const scale = q.scale || 1;
        if (q.tanks) tankSeries(v).forEach((s, k) => add(v, s.name, i + k, s.values, scale));
        else if (v.col[q.column]) add(v, q.label, i, v.col[q.column], scale, q.wraps);
      });
    }
    return { series: series, data: data };
  }

  // The dashed grey lines of the events, labelled above the plot, the labels
  // set in rows so that they do not overlap.
  const MARK_ROWS = 4, MARK_ROW_HEIGHT = 12;  // [CSS pixels]
  function markerPlugin() {
    return {
      hooks: {
        draw: [u => {
          const ctx = u.ctx, dpr = devicePixelRatio || 1, { left, top, width, height } = u.bbox;
          const rowHeight = MARK_ROW_HEIGHT * dpr, rowsEnd = [];
          ctx.save();
          ctx.font = (10 * dpr) + 'px sans-serif';
          ctx.textAlign = 'left';
          ctx.textBaseline = 'top';
          for (const m of marks) {
            if (!shows(m)) continue;
            const x = Math.round(u.valToPos(m.t, 'x', true));
            if (x < left || x > left + width) continue;
            ctx.strokeStyle = 'rgba(90, 90, 90, 0.55)';
            ctx.setLineDash([3 * dpr, 3 * dpr]);
            ctx.lineWidth = dpr;
            ctx.beginPath();
            ctx.moveTo(x, top);
            ctx.lineTo(x, top + height);
            ctx.stroke();
            // A label that would run off the chart's right edge ends at its line instead.
            const w = ctx.measureText(m.label).width + 6 * dpr;
            const from = x + w > u.ctx.canvas.width ? x - w : x;
            let row = 0;
            while (row < rowsEnd.length && rowsEnd[row] > from) row++;
            if (row >= MARK_ROWS) continue;
            rowsEnd[row] = from + w;
            const y = top - (MARK_ROWS - row) * rowHeight;
            ctx.fillStyle = '#444';
            ctx.fillText(m.label, from + 2 * dpr, y + dpr);
            ctx.beginPath();
            ctx.moveTo(x, y + rowHeight / 2);
            ctx.lineTo(x, top);
            ctx.stroke();
          }
          ctx.restore();
        }],
      },
    };
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
  // sets its scale as it starts, which must not redraw the others).
  let syncing = true;
  function zoomAll(u) {
    if (syncing) return;
    syncing = true;
    const { min, max } = u.scales.x;
    charts.forEach(c => {
      if (c !== u && (c.scales.x.min !== min || c.scales.x.max !== max)) c.setScale('x', { min: min, max: max });
    });
    syncing = false;
  }

  function chartWidth() {
    const box = document.getElementById('charts');
    const columns = box.clientWidth > 1000 ? 2 : 1;
    return Math.floor((box.clientWidth - (columns - 1) * 16) / columns);
  }

  function drawCharts() {
    const box = document.getElementById('charts'), width = chartWidth();  // read once: each read lays the page out
    for (const def of CHARTS) {
      const { series, data } = chartData(def);
      if (series.length === 1) continue;
      const figure = el('figure', { class: 'chart' });
      const key = el('span', { class: 'key' }, def.quantities.map((q, i) =>
        el('span', { class: 'dash dash' + (i % DASHES.length), text: q.label })));
      figure.appendChild(el('figcaption', {}, [el('strong', { text: def.title }),
        def.unit ? ' [' + def.unit + ']  ' : '  ', key]));
      const readout = el('div', { class: 'readout' });
      box.appendChild(figure);
      const opts = {
        width: width,
        height: 280,
        padding: [MARK_ROWS * MARK_ROW_HEIGHT + 6, 12, null, null],
        legend: { show: false },
        cursor: { sync: { key: 'flight' }, drag: { x: true, y: false } },
        scales: { x: { time: false } },
        axes: [{ label: 'simulation time [s]', labelSize: 18, size: 36 }, { size: 60 }],
        series: series,
        plugins: [markerPlugin(), readoutPlugin(readout, def.unit)],
        hooks: { setScale: [(u, key) => { if (key === 'x') zoomAll(u); }] },
      };
      if (def.clipBelow) opts.scales.y = { range: clipRange(def, data, series) };
      const chart = new uPlot(opts, data, figure);
      chart.varnellTitle = def.title;
      charts.push(chart);
      figure.appendChild(readout);
    }
  }

  // A periapsis deep inside the planet would squash the chart: the scale
  // goes no lower than the altitude does.
  function clipRange(def, data) {
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

  // ---- Ground track ---------------------------------------------------------

  // uPlot's scatter mode: x is longitude, y latitude [deg]. Lines break where
  // a track crosses the antimeridian.
  function trackPaths(u, k) {
    const [xs, ys] = u.data[k], p = new Path2D();
    let pen = false, lastX = 0;
    for (let i = 0; i < xs.length; i++) {
      if (xs[i] === null || ys[i] === null) {
        pen = false;
        continue;
      }
      if (pen && Math.abs(xs[i] - lastX) > 180) pen = false;
      const x = u.valToPos(xs[i], 'x', true), y = u.valToPos(ys[i], 'y', true);
      pen ? p.lineTo(x, y) : p.moveTo(x, y);
      pen = true;
      lastX = xs[i];
    }
    return { stroke: p, fill: null, clip: null, band: null, gaps: null, flags: 0 };
  }
  function pointPaths(radius) {
    return (u, k) => {
      const [xs, ys] = u.data[k], p = new Path2D(), r = radius * (devicePixelRatio || 1);
      for (let i = 0; i < xs.length; i++) {
        const x = u.valToPos(xs[i], 'x', true), y = u.valToPos(ys[i], 'y', true);
        p.moveTo(x + r, y);
        p.arc(x, y, r, 0, 2 * Math.PI);
      }
      return { stroke: p, fill: p, clip: null, band: null, gaps: null, flags: 0 };
    };
  }

  function groundTrackData() {
    const data = [null], series = [{}];
    for (const v of flight.vessels) {
      if (!v.col.longitude_deg || !v.col.latitude_deg) continue;
      series.push({ label: v.name, stroke: v.colour, width: 1.5, vessel: v.name, paths: trackPaths,
                    points: { show: false } });
      data.push([v.col.longitude_deg, v.col.latitude_deg]);
    }
    // The pad: where each scenario vessel stood at the start; the release
    // points: where each vessel made in flight came free.
    const pads = [[], []], releases = [[], []];
    for (const s of flight.summary.vessels || []) {
      const v = flight.vessels.find(x => x.name === s.name && x.col.longitude_deg && x.col.latitude_deg);
      if (s.created_t === null && v && v.col.status && v.col.status[0] === 'landed') {
        pads[0].push(v.col.longitude_deg[0]);
        pads[1].push(v.col.latitude_deg[0]);
      } else if (s.created_lng_deg !== null && s.created_lng_deg !== undefined) {
        releases[0].push(s.created_lng_deg);
        releases[1].push(s.created_lat_deg);
      }
    }
    series.push({ label: 'pad', stroke: '#111', fill: '#f5c400', width: 1.5, paths: pointPaths(6),
                  points: { show: false } });
    data.push(pads);
    series.push({ label: 'release points', stroke: '#111', fill: '#ffffff', width: 1.5, paths: pointPaths(4),
                  points: { show: false } });
    data.push(releases);
    return { series: series, data: data };
  }

  function trackRange(data, index, limit) {
    let low = Infinity, high = -Infinity;
    data.slice(1).forEach(d => d[index].forEach(x => {
      if (x !== null) {
        low = Math.min(low, x);
        high = Math.max(high, x);
      }
    }));
    if (!isFinite(low)) return [-limit, limit];
    const pad = Math.max(5, (high - low) * 0.1);
    return [Math.max(-limit, low - pad), Math.min(limit, high + pad)];
  }

  function drawGroundTrack() {
    const box = document.getElementById('ground-track');
    const { series, data } = groundTrackData();
    const key = el('span', { class: 'key' }, [el('span', { class: 'pad-mark', text: 'pad' }),
      el('span', { class: 'release-mark', text: 'release points' })]);
    const figure = el('figure', { class: 'chart' }, [el('figcaption', {}, [
      el('strong', { text: 'Ground track' }), ' [deg]  ', key])]);
    box.appendChild(figure);
    const lng = trackRange(data, 0, 180), lat = trackRange(data, 1, 90);
    const width = Math.min(document.getElementById('charts').clientWidth, 1200);
    const height = Math.max(240, Math.min(560, width * (lat[1] - lat[0]) / (lng[1] - lng[0])));
    groundTrack = new uPlot({
      mode: 2,
      width: width,
      height: height,
      legend: { show: false },
      cursor: { show: false },
      scales: { x: { time: false, range: () => lng }, y: { range: () => lat } },
      axes: [{ label: 'longitude [deg], east positive', labelSize: 18, size: 36 },
             { label: 'latitude [deg]', labelSize: 18, size: 60 }],
      series: series,
    }, data, figure);
    groundTrack.varnellTitle = 'Ground track';
  }

  // ---- Choosing vessels ---------------------------------------------------

  let shown = null;  // the one vessel shown, or null for all
  function shows(m) {
    return shown === null || m.vessels.includes(shown) || m.creators.includes(shown);
  }
  function showVessel(name) {
    shown = name;
    charts.concat([groundTrack]).forEach(c => {
      c.batch(() => c.series.forEach((s, k) => {
        const show = !s.vessel || name === null || s.vessel === name;
        if (k > 0 && s.show !== show) c.setSeries(k, { show: show });
      }));
      c.redraw(false);  // the markers follow the choice too
    });
    document.querySelectorAll('#vessel-picker button').forEach(b => {
      b.classList.toggle('on', b.dataset.vessel === (name === null ? '' : name));
    });
  }
  function drawPicker() {
    const nav = document.getElementById('vessel-picker');
    const button = (name, label, colour) => {
      const b = el('button', { type: 'button', 'data-vessel': name === null ? '' : name },
                   colour ? [swatch(colour), label] : [label]);
      b.addEventListener('click', () => showVessel(name));
      return b;
    };
    nav.appendChild(el('span', { class: 'hint', text: 'Show: ' }));
    nav.appendChild(button(null, 'every vessel'));
    flight.vessels.forEach(v => nav.appendChild(button(v.name, v.name, v.colour)));
  }

  // ---- Header and tables --------------------------------------------------

  function drawHeader() {
    const s = flight.summary, ex = s.expectations || [];
    const met = ex.filter(e => e.met).length, unreached = ex.filter(e => e.reached === false).length;
    const failed = ex.length - met - unreached;
    const verdict = ex.length === 0 ? el('span', { class: 'verdict none', text: 'no expectations' })
      : el('span', { class: 'verdict ' + (failed ? 'failed' : unreached ? 'none' : 'met'),
                     text: failed ? 'expectations NOT met: ' + failed + ' of ' + ex.length + ' failed'
                       : unreached ? 'stopped before its end: ' + met + ' of ' + ex.length + ' met, ' + unreached + ' not reached'
                       : 'every expectation met (' + met + ' of ' + ex.length + ')' });
    document.title = 'Varnell flight: ' + s.scenario;
    const facts = [
      ['pilot', s.pilot || 'none'],
      ['flown', s.date ? s.date.replace('T', ' ').replace('Z', ' UTC') : '–'],
      ['simulated', fixed(s.sim_time_s, 2) + ' s' + (flight.liftoff !== null ? ' (liftoff at ' + fixed(flight.liftoff, 2) + ' s)' : '')],
      ['wall time', fixed(s.wall_time_s, 2) + ' s, ' + s.steps + ' steps'],
      ['ended by', s.ended_by || '–'],
    ];
    const header = document.getElementById('header');
    header.appendChild(el('h1', {}, ['Flight of ', el('code', { text: s.scenario })]));
    header.appendChild(el('dl', {}, facts.flatMap(f => [el('dt', { text: f[0] }), el('dd', { text: f[1] })])));
    header.appendChild(verdict);
  }

  function drawVesselTable() {
    const colourOf = name => (flight.vessels.find(v => v.name === name) || {}).colour || '#888';
    const rows = (flight.summary.vessels || []).map(v => {
      const created = v.created_t === null ? 'in the scenario'
        : fixed(v.created_t, 2) + ' s ' + met(v.created_t) + ' by ' + v.created_by + ' at ' +
          fixed(v.created_lat_deg, 3) + '°, ' + fixed(v.created_lng_deg, 3) + '°, ' +
          fixed(v.created_alt_m / 1000, 1) + ' km';
      const cells = [v.class, v.status, fixed(v.mass_kg, 1), fixed(v.semi_major_axis_m / 1000, 3),
        fixed(v.eccentricity, 5), fixed(v.inclination_deg, 3), fixed(v.periapsis_alt_m / 1000, 3),
        v.apoapsis_alt_m === null ? 'unbound' : fixed(v.apoapsis_alt_m / 1000, 3),
        v.period_s === null ? '–' : fixed(v.period_s / 60, 2), created];
      return el('tr', { 'data-vessel': v.name, class: 'status-' + v.status },
        [el('td', {}, [swatch(colourOf(v.name)), v.name])].concat(cells.map(c => el('td', { text: c }))));
    });
    table('vessel-table', ['vessel', 'class', 'status', 'mass [kg]', 'semi-major axis [km]', 'eccentricity',
      'inclination [deg]', 'periapsis [km]', 'apoapsis [km]', 'period [min]', 'created'], rows);
  }

  function drawExpectations() {
    const rows = (flight.summary.expectations || []).map(e => {
      const [row, said] = e.met ? ['met', 'met'] : e.reached === false ? ['unreached', 'not reached'] : ['failed', 'NOT MET'];
      return el('tr', { class: row }, [el('td', { text: String(e.line) }), el('td', {}, [el('code', { text: e.text })]),
        el('td', { class: 'verdict-cell', text: said }), el('td', { text: e.found })]);
    });
    table('expectations', ['line', 'expect', '', 'found'], rows);
  }

  // Every event; of a ramp of engine levels only its start and end unless asked.
  function drawEvents(everyLevel) {
    const rows = [], level = {};
    flight.events.forEach((e, i) => {
      if (e.kind === 'group-level') {
        const group = e.detail.slice(0, e.detail.lastIndexOf(' ')), key = e.vessel + '\n' + group;
        const starts = !level[key];
        level[key] = Number(e.detail.slice(group.length + 1));
        const next = flight.events.slice(i + 1).find(n => n.kind === 'group-level' && n.vessel === e.vessel &&
          n.detail.startsWith(group + ' '));
        if (!everyLevel && !starts && next && next.t - e.t < 1.5) return;
      }
      rows.push(el('tr', { class: 'kind-' + e.kind }, [fixed(e.t, 2), met(e.t), e.vessel || '–', e.kind, e.detail]
        .map(c => el('td', { text: c }))));
    });
    table('events', ['time [s]', 'mission time [s]', 'vessel', 'kind', 'detail'], rows);
  }

  // ---- Start --------------------------------------------------------------

  const flight = readFlight(JSON.parse(document.getElementById('flight-data').textContent));
  const times = timeAxis();
  const marks = markedEvents();
  const charts = [];
  let groundTrack = null;

  drawHeader();
  drawPicker();
  drawCharts();
  drawGroundTrack();
  drawVesselTable();
  drawExpectations();
  drawEvents(false);
  syncing = false;
  document.querySelector('#vessel-picker button').classList.add('on');
  document.getElementById('every-level').addEventListener('change', e => drawEvents(e.target.checked));
  window.addEventListener('resize', () => {
    const w = chartWidth();
    charts.forEach(c => c.setSize({ width: w, height: 280 }));
  });

  // What the page holds, for whoever looks from outside (the report's test).
  window.varnellReport = { flight: flight, times: times, charts: charts, groundTrack: groundTrack, marks: marks };
  requestAnimationFrame(() => requestAnimationFrame(() => { window.varnellReport.drawnAt = performance.now(); }));
})();
