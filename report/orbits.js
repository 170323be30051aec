// The orbits in space: the Earth as it stood at liftoff and each vessel's
// path round it in a frame that does not turn with it, drawn on a canvas in
// an orthographic view that the mouse turns (drag) and zooms (wheel), a
// double-click bringing back the first view. A vessel still flying at the
// end has the rest of its orbit dashed; release points are white discs,
// where things came down red crosses. Its own drawing is a few hundred lines
// against a 3D library's hundreds of kilobytes, and a sphere with lines on it
// needs no more.

const GM = 3.986004418e14;  // the host's Earth [m^3/s^2]
const ORBIT_VIEW = { background: '#0f1a2b', sea: '#2a5d8f', land: '#c9c2a6', coast: '#efe9d2', grid: 'rgba(255,255,255,0.14)' };

// A vessel's samples as points in space [m], null where it has none.
function pathInSpace(v, from) {
  return v.col.t_s.map((t, r) => v.col.latitude_deg[r] === null || v.col.altitude_m[r] === null ? null
    : inSpace(v.col.latitude_deg[r], v.col.longitude_deg[r], v.col.altitude_m[r], t, from));
}

// The orbit a vessel flying at the end is on, from its last samples: points
// round the whole ellipse, or null when it would meet the ground or is not bound.
function orbitAtEnd(v, path) {
  const n = path.length, h = Math.min(10, Math.floor((n - 1) / 2));
  if (h < 1 || v.col.status[n - 1] !== 'flight' || !path[n - 1] || !path[n - 1 - h] || !path[n - 1 - 2 * h]) return null;
  const ts = v.col.t_s, dt = ts[n - 1] - ts[n - 1 - 2 * h];
  const r = path[n - 1 - h], vel = path[n - 1].map((x, k) => (x - path[n - 1 - 2 * h][k]) / dt);
  const dot = (a, b) => a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  const cross = (a, b) => [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]];
  const rl = Math.hypot(...r), a = 1 / (2 / rl - dot(vel, vel) / GM);
  const ev = r.map((x, k) => x * (dot(vel, vel) / GM - 1 / rl) - vel[k] * dot(r, vel) / GM);
  const e = Math.hypot(...ev), hv = cross(r, vel), hl = Math.hypot(...hv);
  if (!(a > 0) || e >= 1 || a * (1 - e) < EARTH_RADIUS) return null;
  // P towards periapsis (or anywhere in the plane for a circle), Q ahead of it.
  const p = e > 1e-9 ? ev.map(x => x / e) : r.map(x => x / rl), w = hv.map(x => x / hl), q = cross(w, p);
  const points = [];
  for (let i = 0; i <= 360; i++) {
    const nu = i * RAD, d = a * (1 - e * e) / (1 + e * Math.cos(nu));
    points.push(p.map((x, k) => d * (Math.cos(nu) * x + Math.sin(nu) * q[k])));
  }
  return points;
}

// The view: from which way the Earth is seen (az round its axis, el above
// its equator [rad]) and how many pixels a metre is.
function viewBasis(view) {
  const ca = Math.cos(view.az), sa = Math.sin(view.az), ce = Math.cos(view.el), se = Math.sin(view.el);
  return { toward: [ce * ca, ce * sa, se], right: [-sa, ca, 0], up: [-se * ca, -se * sa, ce] };
}

function makeOrbitView(canvas) {
  const from = flight.liftoff !== null ? flight.liftoff : times[0];
  const paths = flight.vessels.filter(v => v.col.latitude_deg).map(v => {
    const path = pathInSpace(v, from);
    return { name: v.name, colour: v.colour, path: path, rest: orbitAtEnd(v, path) };
  });
  const spot = (lat, lng, t) => inSpace(lat, lng, 0, t, from);
  const released = releases().filter(r => r.lat !== null && r.lat !== undefined)
    .map(r => ({ name: r.name, at: inSpace(r.lat, r.lng, r.alt, r.t, from) }));
  const fallen = impacts().map(f => ({ name: f.name, at: spot(f.lat, f.lng, f.t) }));
  const rings = land();
  let farthest = EARTH_RADIUS;
  paths.forEach(p => p.path.concat(p.rest || []).forEach(x => { if (x) farthest = Math.max(farthest, Math.hypot(...x)); }));

  // The first view: from 55 deg north of the first release into orbit (or the end of the launcher's path), all of it in sight.
  const first = releases().find(r => r.orbital) || null;
  const main = paths.find(p => p.name === mainVessel()) || paths[0];
  const aim = first ? inSpace(first.lat, first.lng, first.alt, first.t, from) : main && main.path.filter(Boolean).pop();
  const home = { az: aim ? Math.atan2(aim[1], aim[0]) : 0, el: 55 * RAD, zoom: 1 };
  const view = Object.assign({}, home);
  const dpr = devicePixelRatio || 1;
  let only = null, pending = false;

  function draw() {
    pending = false;
    const ctx = canvas.getContext('2d'), W = canvas.width, H = canvas.height, cx = W / 2, cy = H / 2;
    const k = view.zoom * (Math.min(W, H) / 2 - 12 * dpr) / farthest, R = EARTH_RADIUS * k;
    const b = viewBasis(view);
    const project = p => {
      const x = p[0] * b.right[0] + p[1] * b.right[1] + p[2] * b.right[2];
      const y = p[0] * b.up[0] + p[1] * b.up[1] + p[2] * b.up[2];
      const z = p[0] * b.toward[0] + p[1] * b.toward[1] + p[2] * b.toward[2];
      return { x: cx + x * k, y: cy - y * k, front: z >= 0 || x * x + y * y > EARTH_RADIUS * EARTH_RADIUS };
    };
    ctx.fillStyle = ORBIT_VIEW.background;
    ctx.fillRect(0, 0, W, H);
    // Behind the Earth: the far side of each path, faint.
    const stroke = (points, colour, width, dash, side) => {
      ctx.strokeStyle = colour;
      ctx.lineWidth = width * dpr;
      ctx.setLineDash(dash.map(d => d * dpr));
      ctx.beginPath();
      let pen = false;
      for (const p of points) {
        const s = p && project(p);
        if (!s || s.front !== side) {
          pen = false;
          continue;
        }
        pen ? ctx.lineTo(s.x, s.y) : ctx.moveTo(s.x, s.y);
        pen = true;
      }
      ctx.stroke();
      ctx.setLineDash([]);
    };
    const shown = paths.filter(p => only === null || p.name === only);
    ctx.globalAlpha = 0.35;
    shown.forEach(p => {
      if (p.rest) stroke(p.rest, p.colour, 1, [4, 4], false);
      stroke(p.path, p.colour, 2, [], false);
    });
    ctx.globalAlpha = 1;
    drawGlobe(ctx, cx, cy, R, k, project, rings, b);
    shown.forEach(p => {
      if (p.rest) stroke(p.rest, p.colour, 1, [4, 4], true);
      stroke(p.path, p.colour, 2.5, [], true);
    });
    const mark = (list, drawOne) => list.filter(m => only === null || m.name === only).forEach(m => {
      const s = project(m.at);
      if (s.front) drawOne(s);
    });
    mark(released, s => {
      ctx.fillStyle = '#fff';
      ctx.strokeStyle = '#111';
      ctx.lineWidth = 1.5 * dpr;
      ctx.beginPath();
      ctx.arc(s.x, s.y, 4 * dpr, 0, 2 * Math.PI);
      ctx.fill();
      ctx.stroke();
    });
    mark(fallen, s => {
      const r = 4 * dpr;
      ctx.strokeStyle = '#ff5a4a';
      ctx.lineWidth = 2.5 * dpr;
      ctx.beginPath();
      ctx.moveTo(s.x - r, s.y - r); ctx.lineTo(s.x + r, s.y + r);
      ctx.moveTo(s.x - r, s.y + r); ctx.lineTo(s.x + r, s.y - r);
      ctx.stroke();
    });
  }
  function redraw() {
    if (!pending) requestAnimationFrame(draw);
    pending = true;
  }

  // Dragging turns the view: across, round the Earth's axis; up and down, over its poles.
  let drag = null;
  canvas.addEventListener('pointerdown', e => {
    drag = { x: e.clientX, y: e.clientY };
    canvas.setPointerCapture(e.pointerId);
  });
  canvas.addEventListener('pointermove', e => {
    if (!drag) return;
    view.az -= (e.clientX - drag.x) * 0.008 / view.zoom;
    view.el = Math.max(-89 * RAD, Math.min(89 * RAD, view.el + (e.clientY - drag.y) * 0.008 / view.zoom));
    drag = { x: e.clientX, y: e.clientY };
    redraw();
  });
  const release = () => { drag = null; };
  canvas.addEventListener('pointerup', release);
  canvas.addEventListener('pointercancel', release);
  canvas.addEventListener('wheel', e => {
    e.preventDefault();
    view.zoom = Math.max(0.5, Math.min(20, view.zoom * Math.exp(-e.deltaY * 0.0015)));
    redraw();
  }, { passive: false });
  canvas.addEventListener('dblclick', () => {
    Object.assign(view, home);
    redraw();
  });
  draw();
  return {
    canvas: canvas,
    colours: ORBIT_VIEW,
    view: view,
    from: from,
    // Only this vessel's path and marks, or every vessel's for null.
    show: name => { only = name; redraw(); },
    // Look from above a point in space, zoomed; drawn at once.
    lookAt: (p, zoom) => {
      Object.assign(view, { az: Math.atan2(p[1], p[0]), el: Math.atan2(p[2], Math.hypot(p[0], p[1])), zoom: zoom || 1 });
      draw();
    },
    draw: draw,
  };
}

// The Earth: the sea's disc, the land on its near side, a grid every 30 deg.
// A ring's points beyond the horizon go onto it, so that land reaching
// round fills up to the edge; its coast is drawn on the near side alone.
function drawGlobe(ctx, cx, cy, R, k, project, rings, b) {
  const dpr = devicePixelRatio || 1;
  ctx.fillStyle = ORBIT_VIEW.sea;
  ctx.beginPath();
  ctx.arc(cx, cy, R, 0, 2 * Math.PI);
  ctx.fill();
  const onEdge = s => {
    const d = Math.hypot(s.x - cx, s.y - cy) || 1;
    return { x: cx + (s.x - cx) * R / d, y: cy + (s.y - cy) * R / d };
  };
  const fill = new Path2D(), coast = new Path2D();
  for (const ring of rings) {
    let pen = false;
    ring.forEach(([lng, lat], i) => {
      const p = inSpace(lat, lng, 0, 0, 0), s = project(p);
      const near = p[0] * b.toward[0] + p[1] * b.toward[1] + p[2] * b.toward[2] >= 0;
      const f = near ? s : onEdge(s);
      i ? fill.lineTo(f.x, f.y) : fill.moveTo(f.x, f.y);
      if (near) {
        pen ? coast.lineTo(s.x, s.y) : coast.moveTo(s.x, s.y);
        pen = true;
      } else {
        pen = false;
      }
    });
    fill.closePath();
  }
  ctx.fillStyle = ORBIT_VIEW.land;
  ctx.fill(fill, 'evenodd');
  ctx.strokeStyle = ORBIT_VIEW.coast;
  ctx.lineWidth = dpr;
  ctx.stroke(coast);
  // The grid: parallels and meridians every 30 deg, on the near side.
  const grid = new Path2D();
  const line = points => {
    let pen = false;
    points.forEach(p => {
      const near = p[0] * b.toward[0] + p[1] * b.toward[1] + p[2] * b.toward[2] >= 0, s = project(p);
      if (near) {
        pen ? grid.lineTo(s.x, s.y) : grid.moveTo(s.x, s.y);
      }
      pen = near;
    });
  };
  const steps = Array.from({ length: 73 }, (_, i) => i * 5 - 180);
  for (let lat = -60; lat <= 60; lat += 30) line(steps.map(lng => inSpace(lat, lng, 0, 0, 0)));
  for (let lng = -180; lng < 180; lng += 30) line(steps.filter(l => Math.abs(l) <= 90).map(lat => inSpace(lat, lng, 0, 0, 0)));
  ctx.strokeStyle = ORBIT_VIEW.grid;
  ctx.stroke(grid);
  ctx.strokeStyle = 'rgba(255,255,255,0.35)';
  ctx.beginPath();
  ctx.arc(cx, cy, R, 0, 2 * Math.PI);
  ctx.stroke();
}

function drawOrbitView() {
  const box = document.getElementById('orbit-view');
  const size = Math.min(document.getElementById('charts').clientWidth, 640), dpr = devicePixelRatio || 1;
  const canvas = el('canvas', { width: Math.round(size * dpr), height: Math.round(size * dpr),
    style: 'width:' + size + 'px;height:' + size + 'px', 'aria-label': 'the orbits in space' });
  const key = el('span', { class: 'key' }, [el('span', { class: 'release-mark', text: 'release points' }),
    el('span', { class: 'impact-mark', text: 'came down' }), el('span', { class: 'dash dash1', text: 'the rest of the orbit' })]);
  const fig = figure('Orbits', '', key);
  fig.appendChild(canvas);
  box.appendChild(fig);
  orbitView = makeOrbitView(canvas);
}
