#include "sim/runner/report/report.h"

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "sim/formats/text.h"
#include "sim/runner/report/csv_table.h"
#include "sim/runner/report/report_assets.h"
#include "sim/runner/report/report_columns.h"

namespace sim {
namespace runner {
namespace {

using nlohmann::json;

json readSummary(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  try {
    json s = json::parse(in);
    if (!s.is_object()) throw std::runtime_error(path + ": not a JSON object");
    s.erase("events");  // the page takes them from events.csv, the record as it was written
    return s;
  } catch (const json::exception &e) {
    throw std::runtime_error(path + ": " + e.what());
  }
}

// [[t, vessel, kind, detail], ...]
json eventsJson(const CsvTable &t) {
  const size_t time = t.column("t_s"), vessel = t.column("vessel"), kind = t.column("kind"),
               detail = t.column("detail");
  json events = json::array();
  for (size_t r = 0; r < t.rows.size(); ++r) {
    double at;
    if (!toNumber(t.rows[r][time], at) || !std::isfinite(at))
      throw std::runtime_error(t.file + ":" + std::to_string(t.lines[r]) + ": the time \"" + t.rows[r][time] +
                               "\" is not a number");
    events.push_back({at, t.rows[r][vessel], t.rows[r][kind], t.rows[r][detail]});
  }
  return events;
}

// JSON inside a script element: no "</script>" or "<!--" may appear, and a
// '<' can only be inside a string, where \u003c stands for it.
std::string scriptSafe(const std::string &jsonText) {
  std::string out;
  out.reserve(jsonText.size());
  for (char c : jsonText) c == '<' ? out += "\\u003c" : out += c;
  return out;
}

void replaceMarker(std::string &page, const std::string &marker, const std::string &with) {
  const size_t at = page.find(marker);
  if (at == std::string::npos) throw std::logic_error("the report page lacks " + marker);
  page.replace(at, marker.size(), with);
}

}  // namespace

std::string reportHtml(const std::string &dir) {
  const json data = {{"summary", readSummary(dir + "/summary.json")},
                     {"events", eventsJson(readCsv(dir + "/events.csv", dir + "/events.csv"))},
                     {"telemetry", telemetryJson(readCsv(dir + "/telemetry.csv", dir + "/telemetry.csv"))}};
  std::string page = assets::kPage;
  replaceMarker(page, "<!--varnell:notices-->",
                std::string("<!-- Charts by uPlot; the map is Natural Earth's, through world-atlas and "
                            "topojson-client. Their licences:\n\n") +
                    assets::kNotices + "-->");
  replaceMarker(page, "<!--varnell:style-->",
                std::string("<style>\n") + assets::kChartStyle + "\n" + assets::kStyle + "</style>");
  replaceMarker(page, "<!--varnell:data-->",
                "<script type=\"application/json\" id=\"flight-data\">" +
                    scriptSafe(data.dump(-1, ' ', false, json::error_handler_t::replace)) + "</script>\n" +
                    "<script type=\"application/json\" id=\"land\">" + assets::kLand + "</script>");
  // The page's own script files run as one, in a scope of their own.
  replaceMarker(page, "<!--varnell:script-->",
                std::string("<script>\n") + assets::kChartScript + "\n</script>\n<script>\n" + assets::kMapScript +
                    "\n</script>\n<script>\n(function () {\n'use strict';\n" + assets::kScript + "})();\n</script>");
  return page;
}

size_t writeReport(const std::string &dir) {
  const std::string page = reportHtml(dir), path = dir + "/report.html";
  std::ofstream out(path, std::ios::binary);
  if (!out || !(out << page)) throw std::runtime_error("cannot write " + path);
  return page.size();
}

}  // namespace runner
}  // namespace sim
