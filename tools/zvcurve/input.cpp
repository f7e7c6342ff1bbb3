// Reading zvcurve's inputs.
#include "input.hpp"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace zvcurve {

std::string display_name(const std::string &path) { return path == "-" ? "<stdin>" : path; }

std::string read_input(const std::string &path) {
  if (path == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError(path + ": cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw InputError(path + ": cannot read the file");
  return text.str();
}

namespace {

// Line and column (both from 1) of the character at offset in text.
std::pair<size_t, size_t> line_and_column(const std::string &text, size_t offset) {
  size_t line = 1, column = 1;
  for (size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return {line, column};
}

std::string at(const std::string &name, size_t line, size_t column) {
  return name + ":" + std::to_string(line) + ":" + std::to_string(column);
}

// The message of a nlohmann error without its "[json.exception...]" prefix
// and its own position, which we give as line and column instead.
std::string plain_message(const std::string &what) {
  std::string m = what;
  if (const size_t close = m.find("] "); m.rfind("[json.exception", 0) == 0 && close != std::string::npos)
    m = m.substr(close + 2);
  if (const size_t colon = m.find(": "); m.rfind("parse error at", 0) == 0 && colon != std::string::npos)
    m = "parse error: " + m.substr(colon + 2);
  return m;
}

}  // namespace

nlohmann::json parse_json(const std::string &text, const std::string &name) {
  try {
    return nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error &e) {
    // byte is the 1-based position of the character that broke the parse.
    const auto [line, column] = line_and_column(text, e.byte > 0 ? e.byte - 1 : 0);
    throw InputError(at(name, line, column) + ": " + plain_message(e.what()));
  }
}

std::vector<zv_pnt_3d> parse_points_csv(const std::string &text, const std::string &name) {
  std::vector<zv_pnt_3d> points;
  std::istringstream lines(text);
  std::string line;
  bool first_row = true;
  for (size_t number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    // A first row that starts with a letter names the columns.
    if (first_row && std::isalpha(static_cast<unsigned char>(line[start]))) {
      first_row = false;
      continue;
    }
    first_row = false;
    double xyz[3] = {0.0, 0.0, 0.0};
    size_t fields = 0, pos = 0;
    while (true) {
      const size_t end = std::min(line.find(',', pos), line.size());
      const size_t column = pos + 1;
      if (fields == 3) throw InputError(at(name, number, column) + ": more than three values in the row");
      std::string field = line.substr(pos, end - pos);
      const size_t lead = field.find_first_not_of(" \t");
      const size_t trail = field.find_last_not_of(" \t");
      field = lead == std::string::npos ? "" : field.substr(lead, trail - lead + 1);
      char *stop = nullptr;
      errno = 0;
      const double value = std::strtod(field.c_str(), &stop);
      if (field.empty() || *stop != '\0' || !std::isfinite(value))
        throw InputError(at(name, number, column + (lead == std::string::npos ? 0 : lead)) +
                         ": expected a finite number, found '" + field + "'");
      xyz[fields++] = value;
      if (end == line.size()) break;
      pos = end + 1;
    }
    if (fields < 2) throw InputError(at(name, number, 1) + ": expected x,y or x,y,z");
    points.push_back({xyz[0], xyz[1], xyz[2]});
  }
  return points;
}

}  // namespace zvcurve
