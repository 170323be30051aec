# The flight report's page, its script files and its libraries (the charts'
# uPlot, the map's land and topojson-client), compiled into the runner's
# library: the build installs the pinned npm packages of report/ with `npm ci`
# (into the build folder, never the sources) and writes their files, with the
# page's own, into a C++ source as raw string literals. A cross build does the
# same on the build machine. Sets VARNELL_REPORT_ASSETS (the source) and
# VARNELL_REPORT_NODE_MODULES (the installed packages, for the report's test).
find_program(VARNELL_NPM npm)
if(NOT VARNELL_NPM)
  message(FATAL_ERROR "npm is needed: the flight report's chart library comes from the npm registry. "
                      "scripts/setup.sh installs Node.js and npm.")
endif()

set(report_src ${CMAKE_SOURCE_DIR}/report)
set(npm_dir ${CMAKE_BINARY_DIR}/report-npm)
set(VARNELL_REPORT_NODE_MODULES ${npm_dir}/node_modules)
file(MAKE_DIRECTORY ${npm_dir})
# npm gives the files it unpacks an old fixed date, so a stamp of its own tells make it has run.
add_custom_command(
  OUTPUT ${npm_dir}/npm-ci.stamp
  COMMAND ${CMAKE_COMMAND} -E copy ${report_src}/package.json ${report_src}/package-lock.json ${npm_dir}
  COMMAND ${VARNELL_NPM} ci --no-audit --no-fund --prefer-offline --loglevel=error
  COMMAND ${CMAKE_COMMAND} -E touch ${npm_dir}/npm-ci.stamp
  WORKING_DIRECTORY ${npm_dir}
  DEPENDS ${report_src}/package.json ${report_src}/package-lock.json
  COMMENT "Installing the report's chart library (npm ci)"
  VERBATIM)

set(VARNELL_REPORT_ASSETS ${CMAKE_BINARY_DIR}/generated/report_assets.cpp)
# The page's script, by concern, in the order the page runs them as one.
set(report_scripts data.js charts.js deployment.js map.js orbits.js tables.js main.js)
list(TRANSFORM report_scripts PREPEND ${report_src}/)
string(REPLACE ";" "+" report_script "${report_scripts}")
set(npm_modules ${VARNELL_REPORT_NODE_MODULES})
set(report_parts "kPage=${report_src}/page.html|kScript=${report_script}|kStyle=${report_src}/report.css|\
kChartScript=${npm_modules}/uplot/dist/uPlot.iife.min.js|kChartStyle=${npm_modules}/uplot/dist/uPlot.min.css|\
kMapScript=${npm_modules}/topojson-client/dist/topojson-client.min.js|kLand=${npm_modules}/world-atlas/land-110m.json|\
kNotices=${npm_modules}/uplot/LICENSE+${npm_modules}/topojson-client/LICENSE+${npm_modules}/world-atlas/LICENSE")
add_custom_command(
  OUTPUT ${VARNELL_REPORT_ASSETS}
  COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${VARNELL_REPORT_ASSETS}" "-DPARTS=${report_parts}"
          -P ${CMAKE_SOURCE_DIR}/cmake/embed_report.cmake
  DEPENDS ${npm_dir}/npm-ci.stamp ${report_src}/page.html ${report_scripts} ${report_src}/report.css
          ${CMAKE_SOURCE_DIR}/cmake/embed_report.cmake
  COMMENT "Embedding the report's page, its script and its libraries"
  VERBATIM)
