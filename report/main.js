// The page's start: the vessel picker, then everything drawn in the order of
// the page; what it holds is left in window.varnellReport for whoever looks
// from outside (the report's test).

// ---- Choosing vessels -----------------------------------------------------------

let shown = null;  // the one vessel shown, or null for all
// Whether a marker concerns the vessel shown (or, of a chart of one vessel, that one).
function shows(m, only) {
  const name = only || shown;
  return name === null || m.vessels.includes(name) || m.creators.includes(name);
}
function showVessel(name) {
  shown = name;
  charts.concat([groundTrack]).forEach(c => {
    if (oneVesselCharts.some(o => o.chart === c)) return;
    c.batch(() => c.series.forEach((s, k) => {
      const show = (!s.vessel && !s.pair) || name === null || s.vessel === name || (s.pair || []).includes(name);
      if (k > 0 && s.show !== show) c.setSeries(k, { show: show });
    }));
    c.redraw(false);  // the markers follow the choice too
  });
  // A chart of one vessel takes the one chosen, if it draws it.
  oneVesselCharts.forEach(o => {
    if (name !== null && Array.from(o.picker.options).some(x => x.value === name)) {
      o.picker.value = name;
      showOnly(o.chart, name);
    }
  });
  orbitView.show(name);
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

// ---- Start ------------------------------------------------------------------------

const flight = readFlight(JSON.parse(document.getElementById('flight-data').textContent));
const times = timeAxis();
const marks = markedEvents();
const charts = [];
let groundTrack = null, orbitView = null;

drawHeader();
drawPicker();
drawDeployment();
drawGroundTrack();
drawOrbitView();
drawCharts();
drawVesselTable();
drawExpectations();
drawEvents(false);
syncing = false;
document.querySelector('#vessel-picker button').classList.add('on');
document.getElementById('every-level').addEventListener('change', e => drawEvents(e.target.checked));
window.addEventListener('resize', () => {
  const w = chartWidth();
  charts.forEach(c => c.setSize({ width: c.varnellWidth ? c.varnellWidth() : w, height: 280 }));
});

window.varnellReport = { flight: flight, times: times, charts: charts, groundTrack: groundTrack, orbitView: orbitView,
                         marks: marks };
requestAnimationFrame(() => requestAnimationFrame(() => { window.varnellReport.drawnAt = performance.now(); }));
