// The ground track over a map: land and coastlines (Natural Earth at
// 1:110 million, through world-atlas, held in the page as TopoJSON and read
// with topojson-client), every vessel's track, the pad, the release points
// and where what fell came down, each labelled. uPlot's scatter mode draws
// it, x longitude and y latitude [deg], degrees of longitude shortened by
// the cosine of the middle latitude so that the land keeps its shape.

const MAP = { sea: '#e4eef6', land: '#f2eee3', coast: '#8c7b5e' };

// The land's rings, [[lng, lat], ...], read once.
let landRings = null;
function land() {
  if (landRings) return landRings;
  const topology = JSON.parse(document.getElementById('land').textContent);
  const features = topojson.feature(topology, topology.objects.land).features;
  landRings = [];
  for (const f of features) {
    const g = f.geometry;
    (g.type === 'Polygon' ? [g.coordinates] : g.coordinates).forEach(polygon => polygon.forEach(r => landRings.push(r)));
  }
  return landRings;
}

// Sea, land and coast under the grid and the tracks.
function drawLand(u) {
  const ctx = u.ctx, { left, top, width, height } = u.bbox, dpr = devicePixelRatio || 1;
  const path = new Path2D();
  for (const ring of land()) {
    ring.forEach(([lng, lat], i) => {
      const x = u.valToPos(lng, 'x', true), y = u.valToPos(lat, 'y', true);
      i ? path.lineTo(x, y) : path.moveTo(x, y);
    });
    path.closePath();
  }
  ctx.save();
  ctx.beginPath();
  ctx.rect(left, top, width, height);
  ctx.clip();
  ctx.fillStyle = MAP.sea;
  ctx.fillRect(left, top, width, height);
  ctx.fillStyle = MAP.land;
  ctx.fill(path, 'evenodd');
  ctx.strokeStyle = MAP.coast;
  ctx.lineWidth = 1.5 * dpr;
  ctx.stroke(path);
  ctx.restore();
}

// uPlot's scatter mode: lines break where a track crosses the antimeridian.
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
// Marks of a shape at each point: 'o' a disc, 'x' a cross.
function pointPaths(radius, shape) {
  return (u, k) => {
    const [xs, ys] = u.data[k], p = new Path2D(), r = radius * (devicePixelRatio || 1);
    for (let i = 0; i < xs.length; i++) {
      const x = u.valToPos(xs[i], 'x', true), y = u.valToPos(ys[i], 'y', true);
      if (shape === 'x') {
        p.moveTo(x - r, y - r); p.lineTo(x + r, y + r);
        p.moveTo(x - r, y + r); p.lineTo(x + r, y - r);
      } else {
        p.moveTo(x + r, y);
        p.arc(x, y, r, 0, 2 * Math.PI);
      }
    }
    return { stroke: p, fill: shape === 'x' ? null : p, clip: null, band: null, gaps: null, flags: 0 };
  };
}

// The places marked, each with its label: vessels marked at one place (the
// fairing's halves, the satellites) share it.
function mapPlaces() {
  const places = [];
  const add = (kind, name, lat, lng, note) => {
    if (lat === null || lat === undefined || lng === null || lng === undefined) return;
    const near = places.find(p => p.kind === kind && Math.abs(p.lat - lat) < 0.05 && Math.abs(p.lng - lng) < 0.05);
    if (near) near.names.push(name);
    else places.push({ kind: kind, names: [name], lat: lat, lng: lng, note: note });
  };
  pads().forEach(p => add('pad', p.name, p.lat, p.lng, 'pad'));
  releases().forEach(r => add('release', r.name, r.lat, r.lng, 'free'));
  impacts().forEach(f => add('impact', f.name, f.lat, f.lng, f.crashed ? 'crashed' : 'down'));
  places.forEach(p => { p.label = p.names.join(', ') + ' ' + p.note; });
  return places;
}

function groundTrackData(places) {
  const data = [null], series = [{}];
  for (const v of flight.vessels) {
    if (!v.col.longitude_deg || !v.col.latitude_deg) continue;
    series.push({ label: v.name, stroke: v.colour, width: 1.5, vessel: v.name, paths: trackPaths,
                  points: { show: false } });
    data.push([v.col.longitude_deg, v.col.latitude_deg]);
  }
  const marked = [['pad', 'pad', '#f5c400', 6, 'o'], ['release', 'release points', '#ffffff', 4, 'o'],
    ['impact', 'where they came down', null, 5, 'x']];
  for (const [kind, label, fill, radius, shape] of marked) {
    const at = places.filter(p => p.kind === kind);
    series.push({ label: label, stroke: kind === 'impact' ? '#c21d1d' : '#111', fill: fill, width: shape === 'x' ? 2.5 : 1.5,
                  paths: pointPaths(radius, shape), points: { show: false } });
    data.push([at.map(p => p.lng), at.map(p => p.lat)]);
  }
  return { series: series, data: data };
}

// Each place's label beside it: the first spot round it, nearest first,
// that stays on the map and covers no other label or mark; a label set
// further off has a line to its place.
function drawPlaceLabels(u, places) {
  const ctx = u.ctx, dpr = devicePixelRatio || 1, { left, top, width, height } = u.bbox;
  const at = places.map(p => ({ x: u.valToPos(p.lng, 'x', true), y: u.valToPos(p.lat, 'y', true) }));
  const mark = 7 * dpr, taken = at.map(a => [a.x - mark, a.y - mark, 2 * mark, 2 * mark]);
  ctx.save();
  ctx.font = (11 * dpr) + 'px sans-serif';
  ctx.textAlign = 'left';
  ctx.textBaseline = 'middle';
  places.forEach((p, i) => {
    const { x, y } = at[i], w = ctx.measureText(p.label).width + 6 * dpr, h = 15 * dpr;
    const spots = [];
    for (const d of [8, 20, 34, 50].map(d => d * dpr)) {
      spots.push([x + d, y - d - h], [x + d, y + d], [x - d - w, y - d - h], [x - d - w, y + d],
        [x - w / 2, y - d - h], [x - w / 2, y + d], [x + d, y - h / 2], [x - d - w, y - h / 2]);
    }
    const inside = ([bx, by]) => bx >= left && by >= top && bx + w <= left + width && by + h <= top + height;
    const free = ([bx, by]) => !taken.some(t => bx < t[0] + t[2] && t[0] < bx + w && by < t[1] + t[3] && t[1] < by + h);
    const [bx, by] = spots.find(b => inside(b) && free(b)) || spots.find(inside) || spots[0];
    taken.push([bx, by, w, h]);
    const ex = Math.max(bx, Math.min(x, bx + w)), ey = Math.max(by, Math.min(y, by + h));
    if (Math.hypot(ex - x, ey - y) > 14 * dpr) {
      ctx.strokeStyle = 'rgba(40, 40, 40, 0.6)';
      ctx.lineWidth = dpr;
      ctx.beginPath();
      ctx.moveTo(x, y);
      ctx.lineTo(ex, ey);
      ctx.stroke();
    }
    ctx.fillStyle = 'rgba(255, 255, 255, 0.85)';
    ctx.fillRect(bx, by, w, h);
    ctx.fillStyle = p.kind === 'impact' ? '#a01818' : '#222';
    ctx.fillText(p.label, bx + 3 * dpr, by + h / 2);
  });
  ctx.restore();
}

// The view: every track and place with a margin, widened to the page's
// proportions, no narrower than 30 deg of longitude.
function mapView(data, plotWidth) {
  const lat = trackRange(data, 1, 90, 10);
  let lng = trackRange(data, 0, 180, 30);
  const squeeze = Math.cos((lat[0] + lat[1]) / 2 * RAD);
  let perDeg = plotWidth / ((lng[1] - lng[0]) * squeeze);  // [px per degree of latitude]
  if ((lat[1] - lat[0]) * perDeg > 560) {
    perDeg = 560 / (lat[1] - lat[0]);
    lng = around((lng[0] + lng[1]) / 2, plotWidth / (perDeg * squeeze), 180);
  }
  const height = Math.max(300, (lat[1] - lat[0]) * perDeg);
  return { lng: lng, lat: around((lat[0] + lat[1]) / 2, height / perDeg, 90), height: height };
}
// A span about a middle, kept within +-limit.
function around(middle, span, limit) {
  const low = Math.max(-limit, Math.min(limit - span, middle - span / 2));
  return [low, Math.min(limit, low + span)];
}
function trackRange(data, index, limit, least) {
  let low = Infinity, high = -Infinity;
  data.slice(1).forEach(d => d[index].forEach(x => {
    if (x !== null) {
      low = Math.min(low, x);
      high = Math.max(high, x);
    }
  }));
  if (!isFinite(low)) return [-limit, limit];
  const pad = Math.max(4, (high - low) * 0.12, (least - (high - low)) / 2);
  return [Math.max(-limit, low - pad), Math.min(limit, high + pad)];
}

function drawGroundTrack() {
  const box = document.getElementById('ground-track'), places = mapPlaces();
  const { series, data } = groundTrackData(places);
  const key = el('span', { class: 'key' }, [el('span', { class: 'pad-mark', text: 'pad' }),
    el('span', { class: 'release-mark', text: 'release points' }), el('span', { class: 'impact-mark', text: 'came down' })]);
  const fig = figure('Ground track', 'deg', key);
  box.appendChild(fig);
  const width = Math.min(document.getElementById('charts').clientWidth, 1200);
  const axisLeft = 78, axisBottom = 54, padTop = 10, padRight = 16;  // [CSS pixels]
  const view = mapView(data, width - axisLeft - padRight);
  groundTrack = new uPlot({
    mode: 2,
    width: width,
    height: view.height + axisBottom + padTop,
    padding: [padTop, padRight, 0, 0],
    legend: { show: false },
    cursor: { show: false },
    scales: { x: { time: false, auto: false, range: view.lng }, y: { auto: false, range: view.lat } },
    axes: [{ label: 'longitude [deg], east positive', labelSize: 18, size: 36, grid: { stroke: 'rgba(0,0,0,0.09)' } },
           { label: 'latitude [deg]', labelSize: 18, size: 60, grid: { stroke: 'rgba(0,0,0,0.09)' } }],
    series: series,
    hooks: { drawClear: [drawLand], draw: [u => drawPlaceLabels(u, places)] },
  }, data, fig);
  groundTrack.varnellTitle = 'Ground track';
  groundTrack.varnellPlaces = places;
  groundTrack.varnellColours = MAP;
}
