// Small text helpers shared by the readers of class files, scenarios and meshes.
#pragma once

#include <string>
#include <vector>

namespace sim {

std::string trim(const std::string &s);
std::string lower(std::string s);
std::string withoutComment(const std::string &s);  // cut at the first ';'
std::vector<std::string> words(const std::string &s);
// Parses the whole of s as a finite number (surrounding blanks allowed); a
// number too small to hold reads as the nearest that can be held.
bool toNumber(const std::string &s, double &out);
bool toInt(const std::string &s, long &out);
// Shortest text that reads back as exactly x.
std::string exactNumber(double x);
// A class or mesh name such as "Varnell\Varnellstg0" as a relative path.
std::string namePath(const std::string &name);

}  // namespace sim
