// The report page's own files and its chart library (uPlot, MIT licence),
// compiled into the program from report/ and the npm package by the build
// (cmake/report_assets.cmake), so that varnell needs nothing at run time.
#pragma once

namespace sim {
namespace runner {
namespace assets {

extern const char kPage[];         // report/page.html: the page, with a marker where each part goes
extern const char kScript[];       // report/report.js
extern const char kStyle[];        // report/report.css
extern const char kChartScript[];  // uPlot's script
extern const char kChartStyle[];   // uPlot's style sheet

}  // namespace assets
}  // namespace runner
}  // namespace sim
