// The gallery: draws every curve family of the library into one SVG page
// and prints a one-line summary per curve.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "panel.hpp"

int main(int argc, char **argv) {
  if (argc > 1 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
    std::printf("usage: %s [OUTPUT.svg]\nDraws every curve family into one SVG page (default gallery.svg).\n",
                argv[0]);
    return 0;
  }
  const std::string path = argc > 1 ? argv[1] : "gallery.svg";

  auto &makers = gallery::registry();
  std::stable_sort(makers.begin(), makers.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
  std::vector<gallery::Panel> panels;
  for (const auto &entry : makers)
    for (auto &p : entry.second()) panels.push_back(std::move(p));

  const int columns = 2;
  const double cell = 440.0;
  const int rows = static_cast<int>((panels.size() + columns - 1) / columns);
  std::string page = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(int(columns * cell)) +
                     "\" height=\"" + std::to_string(int(rows * cell)) + "\">\n";
  for (size_t i = 0; i < panels.size(); ++i)
    page += panels[i].svg(cell * static_cast<double>(i % columns), cell * static_cast<double>(i / columns), cell);
  page += "</svg>\n";

  std::ofstream out(path, std::ios::binary);
  out << page;
  if (!out.flush()) {
    std::fprintf(stderr, "gallery: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("gallery written to %s (%zu panels)\n", path.c_str(), panels.size());
  for (const auto &panel : panels)
    for (const auto &s : panel.summaries())
      std::printf("  %-40s %6ld vertices, polyline length %.6f\n", s.name.c_str(), s.vertices, s.length);
  return 0;
}
