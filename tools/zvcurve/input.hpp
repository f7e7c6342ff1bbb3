// Reading zvcurve's inputs: whole files or standard input, JSON documents
// and point tables, with errors that name the file and the place.
#pragma once

#include <rivezi3z/rivezi3z.h>

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

namespace zvcurve {

// A bad input: the message already names the file and the line and column
// or the field, ready to print on one line.
struct InputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The name errors use for a path ("-" reads standard input).
std::string display_name(const std::string &path);

// The whole file, or all of standard input for "-".
std::string read_input(const std::string &path);

// Parses a JSON document; a syntax error names "name:line:column".
nlohmann::json parse_json(const std::string &text, const std::string &name);

// Parses a table of points, one "x,y" or "x,y,z" per line; blank lines and
// lines starting with '#' are skipped, as is a first line of column names.
std::vector<zv_pnt_3d> parse_points_csv(const std::string &text, const std::string &name);

}  // namespace zvcurve
