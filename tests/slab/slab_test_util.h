// Helpers of the plate tests: slab decks as text, files in memory.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <cmath>
#include <memory>

#include "slab/plate_shape.h"
#include "slab/slab_deck.h"
#include "slab/slab_mesh.h"
#include "slab/slab_model.h"

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

enum EDGES { SIMPLY_SUPPORTED, CLAMPED };

// Square plate of side a, n x n eight-node elements of the generated mesh
// (plane coordinates: x = Z, y = Y), centred on the origin, 2 x 2 Gauss
// points, edges simply supported (hard: deflection and the slope along the
// edge) or clamped; membrane displacements held on the edges.
inline std::unique_ptr<kestra::SLAB_MODEL> square_plate(int n, double a, double t, EDGES edges, double E = 1.0e7, double nu = 0.3) {
  using namespace kestra;
  auto m = std::make_unique<SLAB_MODEL>();
  SLAB_MESH mesh;
  SLAB_BUILD_MESH(n, n, 0.0, a, a / 2, a, mesh);
  m->NPOIN = static_cast<int>(mesh.YZ.size()) - 1;
  m->NELEM = n * n;
  m->NMATS = 1;
  m->NNODE = 8;
  m->NGAUS = 2;
  m->NEVAB = 48;
  m->COORD.assign(m->NPOIN + 1, {0, 0});
  m->NODE_LABEL.assign(m->NPOIN + 1, 0);
  for (int i = 1; i <= m->NPOIN; ++i) {
    m->COORD[i] = {mesh.YZ[i][1], mesh.YZ[i][0]};
    m->NODE_LABEL[i] = i;
  }
  m->MATNO.assign(m->NELEM + 1, 1);
  m->ELEM_LABEL.assign(m->NELEM + 1, 0);
  for (int e = 1; e <= m->NELEM; ++e)
    for (int k : mesh.ELEMENT[e]) m->LNODS.push_back(k);
  m->PROPS = {{0, 0, 0}, {E, nu, t}};
  const double h = a / 2 * (1 - 1e-9);
  for (int i = 1; i <= m->NPOIN; ++i) {
    const double x = m->COORD[i][0], y = m->COORD[i][1];
    const bool on_x = std::fabs(x) > h, on_y = std::fabs(y) > h;  // on an edge x = const / y = const
    if (!on_x && !on_y) continue;
    SLAB_FIX fx;
    fx.NODE = i;
    fx.CODE = {1, 1, 1, 0, 0, 0};
    if (edges == CLAMPED || on_x) fx.CODE[4] = 1;  // slope dw/dy along an edge x = const
    if (edges == CLAMPED || on_y) fx.CODE[3] = 1;  // slope dw/dx along an edge y = const
    m->FIX.push_back(fx);
  }
  m->NVFIX = static_cast<int>(m->FIX.size());
  m->NODE_FIRST.assign(m->NPOIN + 1, 0);
  m->NODE_LAST.assign(m->NPOIN + 1, 0);
  GAUSS_RULE(m->NGAUS, m->POSGP, m->WEIGP);
  SLAB_FILES quiet;
  CHECK2(*m, quiet);
  return m;
}

inline void uniform_load(kestra::SLAB_MODEL& m, double q) {
  using namespace kestra;
  for (int e = 1; e <= m.NELEM; ++e) {
    SLAB_ITEM_VALUES it;
    it.ID = e;
    it.V[2] = q;
    m.DIST_LOAD.push_back(it);
  }
  m.NDLOD = m.NELEM;
}

// The node at the origin of the plane (0 when there is none).
inline int centre(const kestra::SLAB_MODEL& m) {
  for (int i = 1; i <= m.NPOIN; ++i)
    if (std::fabs(m.COORD[i][0]) < 1e-9 && std::fabs(m.COORD[i][1]) < 1e-9) return i;
  return 0;
}

// The whole deck of a model: every record from the model's values.
inline std::string model_deck(const kestra::SLAB_MODEL& m) {
  std::string s = "PLATE\n";
  char line[512];
  std::snprintf(line, sizeof line, "%d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d\n", m.NPOIN, m.NELEM, m.NMATS,
                m.NNODE, m.NGAUS, static_cast<int>(m.FIX.size()), static_cast<int>(m.NODAL_LOAD.size()),
                static_cast<int>(m.NODAL_STIFF.size()), static_cast<int>(m.DIST_LOAD.size()),
                static_cast<int>(m.DIST_STIFF.size()), static_cast<int>(m.CONC_LOAD.size()),
                static_cast<int>(m.CONC_STIFF.size()), static_cast<int>(m.EDGE_LOAD.size()),
                static_cast<int>(m.EDGE_STIFF.size()), static_cast<int>(m.PILE_POINT.size()), m.KPILE);
  s += line;
  std::snprintf(line, sizeof line, "%.17g %.17g %.17g %.17g %d %.17g\n", m.DT, m.TINI, m.TEND, m.DTMIN, m.MAXITER, m.TOLER);
  s += line;
  for (int e = 1; e <= m.NELEM; ++e) {
    std::snprintf(line, sizeof line, "%d %d %d", e, e, m.MATNO[e]);
    s += line;
    for (int a = 1; a <= m.NNODE; ++a) s.append(" ").append(std::to_string(m.node(e, a)));
    s += "\n";
  }
  for (int n = 1; n <= m.NPOIN; ++n) {
    std::snprintf(line, sizeof line, "%d %d %.17g %.17g\n", n, n, m.COORD[n][0], m.COORD[n][1]);
    s += line;
  }
  for (const auto& fx : m.FIX) {
    std::snprintf(line, sizeof line, "%d %d %d %d %d %d %d", fx.NODE, fx.CODE[0], fx.CODE[1], fx.CODE[2], fx.CODE[3],
                  fx.CODE[4], fx.CODE[5]);
    s += line;
    for (double v : fx.VALUE) {
      std::snprintf(line, sizeof line, " %.17g", v);
      s += line;
    }
    s += "\n";
  }
  for (int i = 1; i <= m.NMATS; ++i) {
    std::snprintf(line, sizeof line, "%d %.17g %.17g %.17g\n", i, m.PROPS[i][0], m.PROPS[i][1], m.PROPS[i][2]);
    s += line;
  }
  auto values = [&](const std::array<double, 6>& v) {
    for (double x : v) {
      std::snprintf(line, sizeof line, " %.17g", x);
      s += line;
    }
    s += "\n";
  };
  for (const auto* list : {&m.NODAL_LOAD, &m.NODAL_STIFF, &m.DIST_LOAD, &m.DIST_STIFF})
    for (const auto& it : *list) {
      s += std::to_string(it.ID);
      values(it.V);
    }
  for (const auto* list : {&m.CONC_LOAD, &m.CONC_STIFF})
    for (const auto& p : *list) {
      std::snprintf(line, sizeof line, "%.17g %.17g", p.X, p.Y);
      s += line;
      values(p.V);
    }
  for (const auto* list : {&m.EDGE_LOAD, &m.EDGE_STIFF})
    for (const auto& e : *list) {
      std::snprintf(line, sizeof line, "%d %d %d %.17g %.17g %.17g\n", e.ELEM, e.SIDE, e.DOF, e.V[0], e.V[1], e.V[2]);
      s += line;
    }
  for (const auto& p : m.PILE_POINT) {
    std::snprintf(line, sizeof line, "%.17g %.17g\n", p.X, p.Y);
    s += line;
  }
  return s;
}

}  // namespace slab_test
