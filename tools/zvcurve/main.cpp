// zvcurve: the library's command-line tool. Draws the gallery, tessellates
// curves described in JSON, fits curves through points and intersects curves.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "curve_description.hpp"
#include "input.hpp"
#include "page.hpp"
#include "vertex_output.hpp"

namespace {

using zvcurve::Format;
using zvcurve::InputError;

Format format_named(const std::string &name) {
  return name == "json" ? Format::json : name == "obj" ? Format::obj : name == "svg" ? Format::svg : Format::csv;
}

// The --format and --output options of a command that writes vertices.
void add_output_options(CLI::App *command, std::string &format, std::string &output) {
  command->add_option("-f,--format", format, "csv, json, obj or svg")
      ->check(CLI::IsMember({"csv", "json", "obj", "svg"}, CLI::ignore_case))
      ->capture_default_str();
  command->add_option("-o,--output", output, "file to write, - for standard output")->capture_default_str();
}

// Writes text to the file, or to standard output for "-".
void emit(const std::string &text, const std::string &path) {
  if (path == "-") {
    std::cout << text << std::flush;
    if (!std::cout) throw InputError("<stdout>: cannot write");
    return;
  }
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw InputError(path + ": cannot write the file");
}

zvcurve::CurveDescription read_description(const std::string &path) {
  const std::string name = zvcurve::display_name(path);
  return zvcurve::description_from_json(zvcurve::parse_json(zvcurve::read_input(path), name), name);
}

std::vector<zv_poly_3d> vertices_of(const rivezi3z::Curve &curve) {
  std::vector<zv_poly_3d> out;
  for (const zv_poly_3d &v : curve.vertices()) out.push_back(v);
  return out;
}

// The gallery, with a progress line on standard error when it is a terminal.
int run_gallery(const std::string &path) {
  const bool terminal = isatty(STDERR_FILENO);
  const gallery::Page page = gallery::draw_page([terminal](size_t done, size_t all) {
    if (terminal) std::fprintf(stderr, "\rdrawing families %zu/%zu", done, all);
  });
  if (terminal) std::fprintf(stderr, "\r\033[K");
  if (!gallery::write_page(page, path)) throw InputError(path + ": cannot write the file");
  gallery::print_summary(stdout, page, path);
  return 0;
}

int run_tessellate(const std::string &input, Format format, const std::string &output) {
  const zvcurve::CurveDescription desc = read_description(input);
  const rivezi3z::Curve curve = zvcurve::tessellated(desc, zvcurve::display_name(input));
  std::ostringstream text;
  zvcurve::write_vertices(text, format, vertices_of(curve), {desc.kind, desc.points, {}, true});
  emit(text.str(), output);
  return 0;
}

int run_fit(const std::string &input, int degree, int steps, const std::string &mode, const std::string &output) {
  const std::string name = zvcurve::display_name(input);
  const std::vector<zv_pnt_3d> points = zvcurve::parse_points_csv(zvcurve::read_input(input), name);
  if (points.size() < static_cast<size_t>(degree) + 1)
    throw InputError(name + ": a fit of degree " + std::to_string(degree) + " needs at least " +
                     std::to_string(degree + 1) + " points, found " + std::to_string(points.size()));
  const int16_t mode_code = mode == "planar" ? 0 : mode == "spatial" ? 1 : 2;
  auto [record, status] = rivezi3z::fit(points, static_cast<int16_t>(degree), mode_code);
  if (!status)
    throw InputError(name + ": zv_curve_thru_npoints_3d returned " + std::to_string(status.code()) +
                     (status.code() == 2 ? " (the points have no length or the system is singular)" : ""));
  emit(zvcurve::description_to_json(*record.get(), steps).dump(2) + "\n", output);
  return 0;
}

// The crossings of two curves, each tessellated from its description.
int run_intersect(const std::string &path_a, const std::string &path_b, Format format, const std::string &output) {
  const zvcurve::CurveDescription a = read_description(path_a), b = read_description(path_b);
  const rivezi3z::Curve curve_a = zvcurve::tessellated(a, zvcurve::display_name(path_a));
  const rivezi3z::Curve curve_b = zvcurve::tessellated(b, zvcurve::display_name(path_b));
  rivezi3z::List<zv_poly_3d> crossings;
  if (!crossings) throw InputError("memory refused for the crossings");
  rivezi3z::intersect(curve_a, curve_b, crossings);
  zvcurve::Drawing drawing{"crossings of " + a.kind + " and " + b.kind, {}, {vertices_of(curve_a), vertices_of(curve_b)},
                           false};
  std::ostringstream text;
  zvcurve::write_vertices(text, format, crossings.to_vector(), drawing);
  emit(text.str(), output);
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  CLI::App app{"zvcurve: curves of the RIVEZI3Z library from the command line"};
  app.require_subcommand(1);
  app.failure_message([](const CLI::App *, const CLI::Error &e) { return std::string("zvcurve: ") + e.what() + "\n"; });

  std::string gallery_path = "gallery.svg";
  CLI::App *gallery_cmd = app.add_subcommand("gallery", "Draw every curve family into one SVG page (the main job)");
  gallery_cmd->add_option("output", gallery_path, "SVG file to write")->capture_default_str();

  std::string input, output = "-";
  std::string format = "csv";
  CLI::App *tess = app.add_subcommand("tessellate", "Tessellate a curve described in JSON and write its vertices");
  tess->add_option("file", input, "JSON curve description, or - for standard input")->required();
  add_output_options(tess, format, output);

  int degree = 3, steps = 10;
  std::string mode = "auto";
  CLI::App *fit = app.add_subcommand("fit", "Fit a B-spline through points (CSV x,y[,z]) and write it as JSON");
  fit->add_option("file", input, "points CSV, or - for standard input")->required();
  fit->add_option("-d,--degree", degree, "degree of the curve")->check(CLI::Range(1, 7))->capture_default_str();
  fit->add_option("-s,--steps", steps, "samples per span the JSON asks for")
      ->check(CLI::Range(1, 10000))
      ->capture_default_str();
  fit->add_option("-m,--mode", mode, "auto (planar when every z is 0), planar or spatial")
      ->check(CLI::IsMember({"auto", "planar", "spatial"}))
      ->capture_default_str();
  fit->add_option("-o,--output", output, "file to write, - for standard output")->capture_default_str();

  std::string second;
  CLI::App *intersect = app.add_subcommand("intersect", "Write the points where two curves (JSON) cross");
  intersect->add_option("a", input, "first JSON curve description, or - for standard input")->required();
  intersect->add_option("b", second, "second JSON curve description")->required();
  add_output_options(intersect, format, output);

  CLI11_PARSE(app, argc, argv);
  try {
    if (*gallery_cmd) return run_gallery(gallery_path);
    if (*tess) return run_tessellate(input, format_named(format), output);
    if (*fit) return run_fit(input, degree, steps, mode, output);
    if (*intersect) return run_intersect(input, second, format_named(format), output);
  } catch (const InputError &e) {
    std::fprintf(stderr, "zvcurve: %s\n", e.what());
    return 1;
  } catch (const std::exception &e) {
    std::fprintf(stderr, "zvcurve: %s\n", e.what());
    return 1;
  }
  return 0;
}
