// The gallery: draws every curve family of the library into one SVG page
// and prints a one-line summary per curve (the same job as `zvcurve gallery`).
#include <cstdio>
#include <cstring>
#include <string>

#include "page.hpp"

int main(int argc, char **argv) {
  if (argc > 1 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
    std::printf("usage: %s [OUTPUT.svg]\nDraws every curve family into one SVG page (default gallery.svg).\n",
                argv[0]);
    return 0;
  }
  const std::string path = argc > 1 ? argv[1] : "gallery.svg";
  const gallery::Page page = gallery::draw_page();
  if (!gallery::write_page(page, path)) {
    std::fprintf(stderr, "gallery: cannot write %s\n", path.c_str());
    return 1;
  }
  gallery::print_summary(stdout, page, path);
  return 0;
}
