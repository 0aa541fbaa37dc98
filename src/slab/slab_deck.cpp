#include "slab/slab_deck.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/format.h"
#include "engine/status.h"
#include "slab/plate_shape.h"

namespace kestra {

namespace {

// One formatted write to every non-null file of the list.
template <class... A>
void WRITE_ALL(std::initializer_list<FILE*> files, std::string_view fmt, const A&... a) {
  for (FILE* f : files)
    if (f) WRITE_F(f, fmt, a...);
}

// A read failure: the reader's message goes to the listing.
int READ_FAILED(const DECK& d, const SLAB_FILES& f, int status) {
  if (f.LISTING) std::fprintf(f.LISTING, " *** SLAB DECK ERROR: %s\n", d.message.c_str());
  if (f.CONSOLE) std::fprintf(f.CONSOLE, " *** SLAB DECK ERROR: %s\n", d.message.c_str());
  return status;
}

// A reference or count out of range that the checks do not cover.
int RANGE_FAILED(DECK& d, const SLAB_FILES& f, const std::string& what) {
  d.message = d.file_label + ", line " + std::to_string(d.line_no) + ", section \"" + d.section + "\": " + what;
  return READ_FAILED(d, f, ST_DECK_RANGE);
}

void WRITE_VALUES_LINE(FILE* fp, std::string_view fmt, int id, const double* v, int n) {
  if (!fp) return;
  std::vector<FARG> args;
  args.emplace_back(id);
  for (int k = 0; k < n; ++k) args.emplace_back(v[k]);
  WRITE_FV(fp, fmt, args);
}

// Reads one list of node or element values (columns: the format of the column line).
int READ_ITEM_LIST(DECK& d, const SLAB_FILES& f, std::vector<SLAB_ITEM_VALUES>& list, int count, int limit,
                   const char* section, const char* heading, const char* columns, const char* id_kind) {
  d.section = section;
  if (count > 0 && f.LISTING) {
    WRITE_F(f.LISTING, "(/,/,1X,A)", heading);
    WRITE_F(f.LISTING, columns);
  }
  for (int i = 0; i < count; ++i) {
    double buf[7] = {};
    int st = READ_REALS(d, buf, 7, section);
    if (st) return READ_FAILED(d, f, st);
    const double id = buf[0];
    if (!(id >= 1.0 && id <= limit) || id != std::floor(id))
      return RANGE_FAILED(d, f, std::string(id_kind) + " number out of range 1 to " + std::to_string(limit));
    auto& item = list[i];
    item.ID = static_cast<int>(id);
    for (int k = 0; k < 6; ++k) item.V[k] = buf[k + 1];
    WRITE_VALUES_LINE(f.LISTING, "(1X,I7,2X,6E13.5)", item.ID, item.V.data(), 6);
  }
  return 0;
}

// Reads one list of point data (two plane coordinates and nv values).
int READ_POINT_LIST(DECK& d, const SLAB_FILES& f, std::vector<SLAB_POINT>& list, int count, int nv,
                    const char* section, const char* heading, const char* columns) {
  d.section = section;
  if (count > 0 && f.LISTING) {
    WRITE_F(f.LISTING, "(/,/,1X,A)", heading);
    WRITE_F(f.LISTING, columns);
  }
  for (int i = 0; i < count; ++i) {
    double buf[8] = {};
    int st = READ_REALS(d, buf, 2 + nv, section);
    if (st) return READ_FAILED(d, f, st);
    auto& p = list[i];
    p.X = buf[0];
    p.Y = buf[1];
    for (int k = 0; k < nv; ++k) p.V[k] = buf[k + 2];
    if (f.LISTING) {
      std::vector<FARG> args{FARG(p.X), FARG(p.Y)};
      for (int k = 0; k < nv; ++k) args.emplace_back(p.V[k]);
      WRITE_FV(f.LISTING, "(1X,2F10.4,2X,6E13.5)", args);
    }
  }
  return 0;
}

int READ_EDGE_LIST(DECK& d, const SLAB_FILES& f, const SLAB_MODEL& m, std::vector<SLAB_EDGE>& list, int count,
                   const char* section, const char* heading) {
  d.section = section;
  if (count > 0 && f.LISTING) {
    WRITE_F(f.LISTING, "(/,/,1X,A)", heading);
    WRITE_F(f.LISTING, "('   ELEM    SIDE    DOF  ',6X,'     VALUES')");
  }
  for (int i = 0; i < count; ++i) {
    auto& e = list[i];
    int st = READ_RECORD(d, {ITEM(e.ELEM, "ELEMENT"), ITEM(e.SIDE, "SIDE"), ITEM(e.DOF, "DOF"), ITEM(e.V[0], "VALUE(1)"),
                             ITEM(e.V[1], "VALUE(2)"), ITEM(e.V[2], "VALUE(3)")});
    if (st) return READ_FAILED(d, f, st);
    if (e.ELEM < 1 || e.ELEM > m.NELEM)
      return RANGE_FAILED(d, f, "element number out of range 1 to " + std::to_string(m.NELEM));
    if (e.SIDE < 1 || e.SIDE > 4) return RANGE_FAILED(d, f, "side number out of range 1 to 4");
    if (e.DOF < 1 || e.DOF > 6) return RANGE_FAILED(d, f, "degree of freedom out of range 1 to 6");
    if (f.LISTING) WRITE_F(f.LISTING, "(3I8,2X,6E13.5)", e.ELEM, e.SIDE, e.DOF, e.V[0], e.V[1], e.V[2]);
  }
  return 0;
}

}  // namespace

int READ_SLAB_HEAD(DECK& d, SLAB_MODEL& m, const SLAB_FILES& f) {
  d.section = "SLAB DECK TITLE";
  int st = READ_TEXT(d, m.TITLE, 72, "TITLE");
  if (st) return READ_FAILED(d, f, st);
  if (f.LISTING) WRITE_F(f.LISTING, "(A)", std::string_view(m.TITLE, 72));  // the 72 characters as read
  d.section = "SLAB DECK CONTROL";
  int v[16] = {};
  st = READ_INTS(d, v, 16, "CONTROL");
  if (st) return READ_FAILED(d, f, st);
  m.NPOIN = v[0];
  m.NELEM = v[1];
  m.NMATS = v[2];
  m.NNODE = v[3];
  m.NGAUS = v[4];
  m.NVFIX = v[5];
  m.NNLOD = v[6];
  m.NNSTI = v[7];
  m.NDLOD = v[8];
  m.NDSTI = v[9];
  m.NCLOD = v[10];
  m.NCSTI = v[11];
  m.NELOD = v[12];
  m.NESTI = v[13];
  m.NCTSTI = v[14];
  m.KPILE = v[15];
  d.section = "SLAB DECK TIME STEPPING";
  st = READ_RECORD(d, {ITEM(m.DT, "DT"), ITEM(m.TINI, "TINI"), ITEM(m.TEND, "TEND"), ITEM(m.DTMIN, "DTMIN"),
                       ITEM(m.MAXITER, "MAXITER"), ITEM(m.TOLER, "TOLER")});
  if (st) return READ_FAILED(d, f, st);
  m.NDOFN = 6;
  m.NDIME = 2;
  m.NPROP = 3;
  m.NSTRE = 8;
  m.NTYPE = 0;
  m.NCASE = 1;
  m.NEVAB = 6 * m.NNODE;
  m.FRONT_SIZE = 60;
  return 0;
}

int SLAB_ALLOCATE(SLAB_MODEL& m, const SLAB_FILES& f) {
  // Bounds before any allocation: a count the arrays cannot hold is refused
  // (a negative list count reads no records).
  const int counts[] = {m.NPOIN, m.NELEM, m.NMATS, m.NVFIX, m.NNLOD, m.NNSTI, m.NDLOD,
                        m.NDSTI, m.NCLOD, m.NCSTI, m.NELOD, m.NESTI, m.NCTSTI};
  for (int c : counts)
    if (c > SLAB_MAX_LIST || m.NPOIN > SLAB_MAX_NODES) {
      if (f.LISTING) WRITE_F(f.LISTING, "(/,' *** SLAB DECK ERROR: A COUNT OF THE CONTROL RECORD EXCEEDS',I8)", SLAB_MAX_LIST);
      return ST_DECK_LIMIT;
    }
  auto n = [](int c) { return static_cast<size_t>(std::max(c, 0)); };
  const size_t nnode = n(std::min(std::max(m.NNODE, 0), PLATE_MAX_NODES));
  m.COORD.assign(n(m.NPOIN) + 1, {0.0, 0.0});
  m.NODE_LABEL.assign(n(m.NPOIN) + 1, 0);
  m.LNODS.assign(n(m.NELEM) * nnode, 0);
  m.ELEM_LABEL.assign(n(m.NELEM) + 1, 0);
  m.MATNO.assign(n(m.NELEM) + 1, 0);
  m.FIX.assign(n(m.NVFIX), SLAB_FIX{});
  m.PROPS.assign(n(m.NMATS) + 1, {0.0, 0.0, 0.0});
  m.NODAL_LOAD.assign(n(m.NNLOD), {});
  m.NODAL_STIFF.assign(n(m.NNSTI), {});
  m.DIST_LOAD.assign(n(m.NDLOD), {});
  m.DIST_STIFF.assign(n(m.NDSTI), {});
  m.CONC_LOAD.assign(n(m.NCLOD), {});
  m.CONC_STIFF.assign(n(m.NCSTI), {});
  m.EDGE_LOAD.assign(n(m.NELOD), {});
  m.EDGE_STIFF.assign(n(m.NESTI), {});
  m.PILE_POINT.assign(n(m.NCTSTI), {});
  m.NODE_FIRST.assign(n(m.NPOIN) + 1, 0);
  m.NODE_LAST.assign(n(m.NPOIN) + 1, 0);
  return 0;
}

bool CHECK1(const SLAB_MODEL& m, const SLAB_FILES& f) {
  bool err[13] = {};
  err[1] = m.NPOIN < 1;
  err[2] = static_cast<long long>(m.NNODE) * m.NELEM < m.NPOIN;
  err[3] = m.NVFIX < 0 || m.NVFIX > m.NPOIN;
  err[4] = m.NCASE < 1;
  err[5] = m.NTYPE < 0 || m.NTYPE > 2;
  // Only the 4-, 8- and 9-node quadrilaterals have shape functions.
  err[6] = m.NNODE < 3 || m.NNODE > 9 || (m.NNODE != 4 && m.NNODE != 8 && m.NNODE != 9);
  err[7] = m.NDOFN < 2 || m.NDOFN > 6;
  err[8] = m.NMATS < 1 || m.NMATS > m.NELEM;
  err[9] = m.NPROP < 3 || m.NPROP > 5;
  err[10] = m.NGAUS < 1 || m.NGAUS > 3;
  err[11] = m.NDIME < 1 || m.NDIME > 3;
  err[12] = m.NSTRE < 2 || m.NSTRE > 8;
  bool any = false;
  for (int k = 1; k <= 12; ++k) {
    if (!err[k]) continue;
    any = true;
    WRITE_ALL({f.HISTORY, f.LISTING, f.CONSOLE}, "(/,/,' *** DIAGNOSIS BY CHECK1, ERROR',I3)", k);
  }
  return any;
}

int FRONT_WIDTH(const SLAB_MODEL& m) {
  int width = 0, widest = 0;
  for (int e = 1; e <= m.NELEM; ++e) {
    for (int a = 1; a <= m.NNODE; ++a) {
      const int n = m.node(e, a);
      if (n < 1 || n > m.NPOIN) continue;
      bool seen = false;  // a node repeated in the element enters once
      for (int b = 1; b < a; ++b) seen = seen || m.node(e, b) == n;
      if (!seen && m.NODE_FIRST[n] == e) width += 6;
    }
    widest = std::max(widest, width);
    for (int a = 1; a <= m.NNODE; ++a) {
      const int n = m.node(e, a);
      if (n < 1 || n > m.NPOIN) continue;
      bool seen = false;
      for (int b = 1; b < a; ++b) seen = seen || m.node(e, b) == n;
      if (!seen && m.NODE_LAST[n] == e) width -= 6;
    }
  }
  return widest;
}

bool CHECK2(SLAB_MODEL& m, const SLAB_FILES& f) {
  long long count[25] = {};
  // 13: pairs of nodes with identical coordinates.
  {
    std::vector<std::array<double, 2>> c(m.COORD.begin() + 1, m.COORD.end());
    std::sort(c.begin(), c.end());
    for (size_t i = 0; i < c.size();) {
      size_t j = i + 1;
      while (j < c.size() && c[j] == c[i]) ++j;
      const long long k = static_cast<long long>(j - i);
      count[13] += k * (k - 1) / 2;
      i = j;
    }
  }
  std::fill(m.NODE_FIRST.begin(), m.NODE_FIRST.end(), 0);
  std::fill(m.NODE_LAST.begin(), m.NODE_LAST.end(), 0);
  for (int e = 1; e <= m.NELEM; ++e) {
    if (m.MATNO[e] < 1 || m.MATNO[e] > m.NMATS) ++count[14];
    for (int a = 1; a <= m.NNODE; ++a) {
      const int n = m.node(e, a);
      if (n == 0) {
        ++count[15];
        continue;
      }
      if (n < 0 || n > m.NPOIN) {
        ++count[16];
        continue;
      }
      for (int b = 1; b < a; ++b)
        if (m.node(e, b) == n) {
          ++count[17];
          break;
        }
      if (m.NODE_FIRST[n] == 0) m.NODE_FIRST[n] = e;
      m.NODE_LAST[n] = e;
    }
  }
  for (int n = 1; n <= m.NPOIN; ++n) {
    if (m.NODE_FIRST[n] != 0) continue;
    ++count[18];
    WRITE_ALL({f.LISTING, f.HISTORY, f.CONSOLE}, "(/,' CHECK WHY NODE',I4,' NEVER APPEARS')", n);
    if (std::fabs(m.COORD[n][0]) + std::fabs(m.COORD[n][1]) > 1.0E-30) ++count[19];
    for (const auto& fx : m.FIX)
      if (fx.NODE == n) {
        ++count[20];
        break;
      }
  }
  const int width = FRONT_WIDTH(m);
  if (f.LISTING) WRITE_F(f.LISTING, "(/,/,' MAXIMUM FRONTWIDTH ENCOUNTERED =',I5)", width);
  if (width > m.FRONT_SIZE && width < SLAB_MAX_FRONT) m.FRONT_SIZE = width + 1;
  if (width > m.FRONT_SIZE) ++count[21];
  for (size_t i = 0; i < m.FIX.size(); ++i) {
    const auto& fx = m.FIX[i];
    if (fx.NODE < 1 || fx.NODE > m.NPOIN) ++count[22];
    bool any_code = false;
    for (int c : fx.CODE) any_code = any_code || c >= 1;
    if (!any_code) ++count[23];
    for (size_t j = 0; j < i; ++j)
      if (m.FIX[j].NODE == fx.NODE) {
        ++count[24];
        break;
      }
  }
  bool any = false;
  for (int k = 13; k <= 24; ++k) {
    if (count[k] == 0) continue;
    any = true;
    WRITE_ALL({f.HISTORY, f.LISTING, f.CONSOLE}, "(/,/,' *** DIAGNOSIS BY CHECK2, ERROR',I3,6X,' ASSOCIATED NUMBER',I5)", k,
              count[k]);
  }
  return any;
}

void POST_DISASTER_LISTING(DECK& d, const SLAB_FILES& f) {
  if (f.LISTING) WRITE_F(f.LISTING, "(/,/,' NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS',/)");
  char buf[81];
  while (READ_TEXT(d, buf, 80, "POST-DISASTER CARD") == 0)
    if (f.LISTING) WRITE_F(f.LISTING, "(5X,A)", std::string_view(buf, 80));
}

bool LOCATE_IN_ELEMENT(const SLAB_MODEL& m, int e, double X, double Y, double& xi_out, double& eta_out) {
  double xi = 0.0, eta = 0.0;
  SHAPE s;
  for (int iter = 1; iter <= 50; ++iter) {
    SHAPE_FUNCTIONS(m.NNODE, xi, eta, s);
    double x = 0.0, y = 0.0, j11 = 0.0, j12 = 0.0, j21 = 0.0, j22 = 0.0;
    for (int a = 1; a <= m.NNODE; ++a) {
      const auto& c = m.COORD[m.node(e, a)];
      const int k = a - 1;
      x += s.N[k] * c[0];
      y += s.N[k] * c[1];
      j11 += s.DXI[k] * c[0];
      j12 += s.DETA[k] * c[0];
      j21 += s.DXI[k] * c[1];
      j22 += s.DETA[k] * c[1];
    }
    // The full 2 x 2 solve: an element whose natural axes are turned a
    // quarter turn from the plane axes (dx/dxi = 0) is still searched.
    const double det = j22 * j11 - j21 * j12;
    if (det == 0.0) return false;
    const double deta = ((Y - y) * j11 - j21 * (X - x)) / det;
    const double dxi = ((X - x) * j22 - j12 * (Y - y)) / det;
    const double xi_old = xi, eta_old = eta;
    xi += dxi;
    eta += deta;
    if (!std::isfinite(xi) || !std::isfinite(eta)) return false;
    if (iter >= 2) {
      const double cx = xi_old != 0.0 ? std::fabs(dxi / xi_old) : std::fabs(dxi);
      const double ce = eta_old != 0.0 ? std::fabs(deta / eta_old) : std::fabs(deta);
      if (cx < 1.0E-10 && ce < 1.0E-10) {
        // Bounds included, with a margin for the rounding of a point that
        // lies on an edge.
        constexpr double B = 1.0 + 1.0E-10;
        if (xi >= -B && xi <= B && eta >= -B && eta <= B) {
          xi_out = std::clamp(xi, -1.0, 1.0);
          eta_out = std::clamp(eta, -1.0, 1.0);
          return true;
        }
        return false;
      }
    }
  }
  return false;
}

void LOCATE_POINTS(const SLAB_MODEL& m, std::vector<SLAB_POINT>& points) {
  size_t left = 0;
  for (auto& p : points)
    if (p.ELEM == 0) ++left;
  for (int e = 1; e <= m.NELEM && left > 0; ++e) {
    // An element with a node number outside the mesh cannot be mapped.
    bool valid = true;
    for (int a = 1; a <= m.NNODE; ++a) valid = valid && m.node(e, a) >= 1 && m.node(e, a) <= m.NPOIN;
    if (!valid) continue;
    for (auto& p : points) {
      if (p.ELEM != 0) continue;
      double xi = 0.0, eta = 0.0;
      if (LOCATE_IN_ELEMENT(m, e, p.X, p.Y, xi, eta)) {
        p.ELEM = e;
        p.XI = xi;
        p.ETA = eta;
        --left;
      }
    }
  }
}

int READ_SLAB_DECK(DECK& d, SLAB_MODEL& m, const SLAB_FILES& f) {
  FILE* L = f.LISTING;
  if (L) {
    WRITE_F(L,
            "(/,/,' NPOIN =',I4,4X,' NELEM =',I4,4X,' NVFIX =',I4,4X,' NCASE =',I4,4X,' NTYPE =',I4,4X,' NNODE =',I4,4X,"
            "' NDOFN =',I4,/,/,' NMATS =',I4,4X,' NPROP =',I4,4X,' NGAUS =',I4,4X,' NDIME =',I4,4X,' NSTRE =',I4,4X,"
            "' NEVAB =',I4)",
            m.NPOIN, m.NELEM, m.NVFIX, m.NCASE, m.NTYPE, m.NNODE, m.NDOFN, m.NMATS, m.NPROP, m.NGAUS, m.NDIME, m.NSTRE,
            m.NEVAB);
    WRITE_F(L,
            "(/,' NNLOD =',I4,4X,' NNSTI =',I4,4X,' NDLOD =',I4,4X,' NDSTI =',I4,4X,' NCLOD =',I4,4X,' NCSTI =',I4,"
            "' NCTSTI =',I4)",
            m.NNLOD, m.NNSTI, m.NDLOD, m.NDSTI, m.NCLOD, m.NCSTI, m.NCTSTI);
    WRITE_F(L, "(/,'    DT =',F10.4,4X,'  TINI =',F10.4,4X,' TEND  =',F10.4,4X,' DTMIN =',F10.4,4X,' MAXITER =',I5)", m.DT,
            m.TINI, m.TEND, m.DTMIN, m.MAXITER);
  }
  if (CHECK1(m, f)) {
    POST_DISASTER_LISTING(d, f);
    return ST_SLAB_STOP;
  }
  if (m.COORD.size() != static_cast<size_t>(m.NPOIN) + 1) {
    int st = SLAB_ALLOCATE(m, f);
    if (st) return st;
  }

  // Elements.
  d.section = "SLAB DECK ELEMENTS";
  if (L) WRITE_F(L, "(/,/,' ELEMENT',3X,'PROPERTY',6X,'NODE NUMBERS')");
  for (int i = 0; i < m.NELEM; ++i) {
    int v[3 + PLATE_MAX_NODES] = {};
    int st = READ_INTS(d, v, 3 + m.NNODE, "ELEMENT");
    if (st) return READ_FAILED(d, f, st);
    const int e = v[0];
    if (e < 1 || e > m.NELEM) return RANGE_FAILED(d, f, "element index out of range 1 to " + std::to_string(m.NELEM));
    m.ELEM_LABEL[e] = v[1];
    m.MATNO[e] = v[2];
    for (int a = 1; a <= m.NNODE; ++a) m.LNODS[static_cast<size_t>(e - 1) * m.NNODE + a - 1] = v[2 + a];
    if (L) {
      std::vector<FARG> args{FARG(v[1]), FARG(v[2])};
      for (int a = 1; a <= m.NNODE; ++a) args.emplace_back(v[2 + a]);
      WRITE_FV(L, "(12I8)", args);
    }
  }

  // Nodes, until the record whose index is NPOIN.
  d.section = "SLAB DECK NODES";
  if (L) {
    WRITE_F(L, "(/,/,'   NODAL POINT COORDINATES')");
    WRITE_F(L, "('     NODE',10X,'X',12X,'Y')");
  }
  for (;;) {
    int idx = 0, label = 0;
    double x = 0.0, y = 0.0;
    int st = READ_RECORD(d, {ITEM(idx, "NODE"), ITEM(label, "NODE LABEL"), ITEM(x, "X"), ITEM(y, "Y")});
    if (st) return READ_FAILED(d, f, st);
    if (idx < 1 || idx > m.NPOIN) return RANGE_FAILED(d, f, "node index out of range 1 to " + std::to_string(m.NPOIN));
    m.NODE_LABEL[idx] = label;
    m.COORD[idx] = {x, y};
    if (L) WRITE_F(L, "(1X,I8,3F13.4)", label, x, y);
    if (idx == m.NPOIN) break;
  }

  // Restrained nodes.
  d.section = "SLAB DECK RESTRAINED NODES";
  if (L) {
    WRITE_F(L, "(/,/,' RESTRAINED NODES')");
    WRITE_F(L, "('    NODF',1X,' CODF ',6X,'FIXED VALUES')");
  }
  for (int i = 0; i < m.NVFIX; ++i) {
    double buf[13] = {};
    int st = READ_REALS(d, buf, 13, "RESTRAINT");
    if (st) return READ_FAILED(d, f, st);
    auto& fx = m.FIX[i];
    for (int k = 0; k < 7; ++k)
      if (buf[k] != std::floor(buf[k]) || std::fabs(buf[k]) > 1.0E9)
        return RANGE_FAILED(d, f, "node number and fixity codes must be integers");
    fx.NODE = static_cast<int>(buf[0]);
    for (int k = 0; k < 6; ++k) {
      fx.CODE[k] = static_cast<int>(buf[1 + k]);
      fx.VALUE[k] = buf[7 + k];
    }
    if (L) {
      std::vector<FARG> args{FARG(fx.NODE)};
      for (int k = 0; k < 6; ++k) args.emplace_back(fx.CODE[k]);
      for (int k = 0; k < 6; ++k) args.emplace_back(fx.VALUE[k]);
      WRITE_FV(L, "(1X,I7,2X,6I1,6E13.5)", args);
    }
  }

  // Materials.
  d.section = "SLAB DECK MATERIALS";
  if (L) {
    WRITE_F(L, "(/,/,'  MATERIAL PROPERTIES')");
    WRITE_F(L, "('  NUMBER',7X,'YOUNG MODULUS POISSON RATIO','   THICKNESS   ')");
  }
  for (int i = 0; i < m.NMATS; ++i) {
    int num = 0;
    double e = 0.0, nu = 0.0, t = 0.0;
    int st = READ_RECORD(d, {ITEM(num, "MATERIAL"), ITEM(e, "E"), ITEM(nu, "NU"), ITEM(t, "THICKNESS")});
    if (st) return READ_FAILED(d, f, st);
    if (num < 1 || num > m.NMATS)
      return RANGE_FAILED(d, f, "material number out of range 1 to " + std::to_string(m.NMATS));
    // nu = -1 divides the shear and drilling rigidities, nu = 1 the others.
    if (nu <= -1.0 || nu >= 1.0) return RANGE_FAILED(d, f, "Poisson's ratio must lie between -1 and 1");
    m.PROPS[num] = {e, nu, t};
    if (L) WRITE_F(L, "(1X,I5,7X,5E14.6)", num, e, nu, t);
  }

  int st = READ_ITEM_LIST(d, f, m.NODAL_LOAD, m.NNLOD, m.NPOIN, "SLAB DECK NODAL LOADS", "NODAL LOADS",
                          "('    NODE,',6X,'     VALUES')", "node");
  if (!st)
    st = READ_ITEM_LIST(d, f, m.NODAL_STIFF, m.NNSTI, m.NPOIN, "SLAB DECK NODAL STIFFNESSES", "NODAL STIFFNESSES",
                        "('    NODE,',6X,'     VALUES')", "node");
  if (!st)
    st = READ_ITEM_LIST(d, f, m.DIST_LOAD, m.NDLOD, m.NELEM, "SLAB DECK DISTRIBUTED LOADS", "DISTRIBUTED LOADS",
                        "('  ELEMENT',6X,'     VALUES')", "element");
  if (!st)
    st = READ_ITEM_LIST(d, f, m.DIST_STIFF, m.NDSTI, m.NELEM, "SLAB DECK DISTRIBUTED STIFFNESSES",
                        "DISTRIBUTED STIFFNESSES", "('  ELEMENT',6X,'     VALUES')", "element");
  if (st) return st;
  st = READ_POINT_LIST(d, f, m.CONC_LOAD, m.NCLOD, 6, "SLAB DECK CONCENTRATED LOADS", "CONCENTRATED LOADS",
                       "('     X        Y ',6X,'     VALUES')");
  if (st) return st;
  LOCATE_POINTS(m, m.CONC_LOAD);
  st = READ_POINT_LIST(d, f, m.CONC_STIFF, m.NCSTI, 6, "SLAB DECK CONCENTRATED STIFFNESSES", "CONCENTRATED STIFFNESSES",
                       "('     X        Y ',6X,'     VALUES')");
  if (st) return st;
  LOCATE_POINTS(m, m.CONC_STIFF);
  st = READ_EDGE_LIST(d, f, m, m.EDGE_LOAD, m.NELOD, "SLAB DECK EDGE LOADS", "EDGE LOADS");
  if (!st) st = READ_EDGE_LIST(d, f, m, m.EDGE_STIFF, m.NESTI, "SLAB DECK EDGE STIFFNESSES", "EDGE STIFFNESS");
  if (st) return st;
  st = READ_POINT_LIST(d, f, m.PILE_POINT, m.NCTSTI, 0, "SLAB DECK PILE POINTS", "CONCENTRATED TOTAL STIFFNESSES",
                       "('       X          Y ')");
  if (st) return st;
  LOCATE_POINTS(m, m.PILE_POINT);

  GAUSS_RULE(m.NGAUS, m.POSGP, m.WEIGP);
  if (CHECK2(m, f)) {
    POST_DISASTER_LISTING(d, f);
    return ST_SLAB_STOP;
  }
  return 0;
}

int READ_SLAB_FILE(FILE* fp, const char* label, SLAB_MODEL& m, const SLAB_FILES& f) {
  DECK d;
  DECK_OPEN(d, fp, std::string("slab deck \"") + label + "\"");
  int st = READ_SLAB_HEAD(d, m, f);
  if (st) return st;
  // The arrays are sized only when the control data pass their checks.
  if (!CHECK1(m, SLAB_FILES{})) {
    st = SLAB_ALLOCATE(m, f);
    if (st) return st;
  }
  return READ_SLAB_DECK(d, m, f);
}

}  // namespace kestra
