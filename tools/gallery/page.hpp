// The gallery page: every registered panel laid out on one SVG page, shared
// by the zv_gallery program and `zvcurve gallery`.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "panel.hpp"

namespace gallery {

struct Page {
  std::vector<Panel> panels;
  std::string svg;
};

// Called after each family's panels are drawn: (families done, families in all).
using Progress = std::function<void(size_t, size_t)>;

// Draws the panels of every registered family in their order and lays them
// out two to a row.
Page draw_page(const Progress &progress = {});

// Writes the page to path; false when the file cannot be written.
bool write_page(const Page &page, const std::string &path);

// Prints where the page went and one line per curve drawn.
void print_summary(std::FILE *out, const Page &page, const std::string &path);

}  // namespace gallery
