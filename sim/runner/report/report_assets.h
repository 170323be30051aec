// The report page's own files, its chart library (uPlot, MIT licence) and its
// map (Natural Earth's coastlines, public domain, as the npm package
// world-atlas has them, read by topojson-client; both ISC licence), compiled
// into the program from report/ and the npm packages by the build
// (cmake/report_assets.cmake), so that varnell needs nothing at run time.
#pragma once

namespace sim {
namespace runner {
namespace assets {

extern const char kPage[];         // report/page.html: the page, with a marker where each part goes
extern const char kScript[];       // report/*.js, one after the other: they share one scope
extern const char kStyle[];        // report/report.css
extern const char kChartScript[];  // uPlot's script
extern const char kChartStyle[];   // uPlot's style sheet
extern const char kMapScript[];    // topojson-client's script
extern const char kLand[];         // world-atlas's land-110m.json: the land at 1:110 million, as TopoJSON
extern const char kNotices[];      // the libraries' and the map's licences

}  // namespace assets
}  // namespace runner
}  // namespace sim
