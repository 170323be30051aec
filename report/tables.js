// The header and the tables of the vessels at the end, the expectations and
// the events.

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

// A vessel on the ground at the end has no orbit: its elements are left out.
function drawVesselTable() {
  const rows = (flight.summary.vessels || []).map(v => {
    const created = v.created_t === null ? 'in the scenario'
      : fixed(v.created_t, 2) + ' s ' + met(v.created_t) + ' by ' + v.created_by + ' at ' +
        fixed(v.created_lat_deg, 3) + '°, ' + fixed(v.created_lng_deg, 3) + '°, ' +
        fixed(v.created_alt_m / 1000, 1) + ' km';
    const orbit = v.status === 'flight' ? [fixed(v.semi_major_axis_m / 1000, 3), fixed(v.eccentricity, 5),
      fixed(v.inclination_deg, 3), fixed(v.periapsis_alt_m / 1000, 3),
      v.apoapsis_alt_m === null ? 'unbound' : fixed(v.apoapsis_alt_m / 1000, 3),
      v.period_s === null ? '–' : fixed(v.period_s / 60, 2)] : new Array(6).fill('–');
    return el('tr', { 'data-vessel': v.name, class: 'status-' + v.status },
      [named(v.name)].concat(cells([v.class, v.status, fixed(v.mass_kg, 1)].concat(orbit, [created]))));
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

