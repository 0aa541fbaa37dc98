// Helpers of the plate tests: slab decks as text, files in memory.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "slab/slab_mesh.h"

namespace slab_test {

// A temporary file holding text, rewound.
inline FILE* text_file(const std::string& text) {
  FILE* f = std::tmpfile();
  std::fputs(text.c_str(), f);
  std::rewind(f);
  return f;
}

// Everything written to a temporary file.
inline std::string file_text(FILE* f) {
  std::string s;
  std::fflush(f);
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  return s;
}

// The lines of a text, without their line ends.
inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

struct DECK_COUNTS {
  int nvfix = 0, nclod = 0, nctsti = 0, kpile = 0;
};

// Deck text of the generated mesh: title, control and time-stepping
// records, elements, nodes (plane coordinates Z, Y); the caller appends the
// restraint, material and list records.
inline std::string mesh_deck_head(const kestra::SLAB_MESH& mesh, const DECK_COUNTS& c) {
  const int npoin = static_cast<int>(mesh.YZ.size()) - 1;
  const int nelem = static_cast<int>(mesh.ELEMENT.size()) - 1;
  char line[256];
  std::string s = "TEST DECK\n";
  std::snprintf(line, sizeof line, "%d %d 1 8 2 %d 0 0 0 0 %d 0 0 0 %d %d\n", npoin, nelem, c.nvfix, c.nclod, c.nctsti,
                c.kpile);
  s += line;
  s += "1.0 0.0 1.0 0.1 10 1.0E-4\n";
  for (int e = 1; e <= nelem; ++e) {
    std::snprintf(line, sizeof line, "%d %d 1", e, e);
    s += line;
    for (int n : mesh.ELEMENT[e]) s.append(" ").append(std::to_string(n));
    s += "\n";
  }
  for (int n = 1; n <= npoin; ++n) {
    std::snprintf(line, sizeof line, "%d %d %.10g %.10g\n", n, n, mesh.YZ[n][1], mesh.YZ[n][0]);
    s += line;
  }
  return s;
}

}  // namespace slab_test
