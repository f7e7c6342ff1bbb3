// Layout of the gallery page and its summary.
#include "page.hpp"

#include <algorithm>
#include <fstream>

namespace gallery {

Page draw_page(const Progress &progress) {
  auto &makers = registry();
  std::stable_sort(makers.begin(), makers.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
  Page page;
  for (size_t i = 0; i < makers.size(); ++i) {
    for (auto &p : makers[i].second()) page.panels.push_back(std::move(p));
    if (progress) progress(i + 1, makers.size());
  }

  const int columns = 2;
  const double cell = 440.0;
  const int rows = static_cast<int>((page.panels.size() + columns - 1) / columns);
  page.svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(int(columns * cell)) +
             "\" height=\"" + std::to_string(int(rows * cell)) + "\">\n";
  for (size_t i = 0; i < page.panels.size(); ++i)
    page.svg += page.panels[i].svg(cell * static_cast<double>(i % columns),
                                   cell * static_cast<double>(i / columns), cell);
  page.svg += "</svg>\n";
  return page;
}

bool write_page(const Page &page, const std::string &path) {
  std::ofstream out(path, std::ios::binary);
  out << page.svg;
  return static_cast<bool>(out.flush());
}

void print_summary(std::FILE *out, const Page &page, const std::string &path) {
  std::fprintf(out, "gallery written to %s (%zu panels)\n", path.c_str(), page.panels.size());
  for (const auto &panel : page.panels)
    for (const auto &s : panel.summaries())
      std::fprintf(out, "  %-40s %6ld vertices, polyline length %.6f\n", s.name.c_str(), s.vertices, s.length);
}

}  // namespace gallery
