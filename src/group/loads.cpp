// Applied loads: resultants at the origin and distributed loads along the piles.
#include "group/loads.h"

#include <cmath>
#include <utility>

namespace kestra {

namespace {

// ---- Pile arrays used here (the angles in radians, as the arrangement echo
// leaves them). A property number outside the table gives no increments.
int pile_count(const STORE& s) { return s.piles.NPILES; }
int pile_property(const STORE& s, int i) { return s.piles.PILE_PROP[i]; }
int property_increments(const STORE& s, int p) {
  return (p >= 1 && p <= MAX_PROPERTIES) ? s.piles.PROP[p].INC : 0;
}
double property_length(const STORE& s, int p) {
  return (p >= 1 && p <= MAX_PROPERTIES) ? s.piles.PROP[p].LENGTH : 0.0;
}
double head_x(const STORE& s, int i) { return s.piles.PILE_X[i]; }
double head_y(const STORE& s, int i) { return s.piles.PILE_Y[i]; }
double head_z(const STORE& s, int i) { return s.piles.PILE_Z[i]; }
double first_angle(const STORE& s, int i) { return s.piles.ALPHA[i]; }   // 2D batter b, 3D alpha
double second_angle(const STORE& s, int i) { return s.piles.BETA[i]; }   // 3D beta, 0 in 2D

bool is_3d(const STORE& s) { return s.ctl.ANALYSIS_TYPE == 3; }

// Distance tolerance at which a node takes the first or last point's load.
constexpr double END_POINT_TOLERANCE = 1.0E-8;

}  // namespace

void CASE_RESULTANT(STORE& s, int c) {
  auto& eq = s.loads.EQ_LOAD;
  eq.fill(0.0);
  if (c < 1 || c > s.loads.NLC) return;
  const LOAD_CASE& lc = s.loads.CASE[c];
  const bool three_d = is_3d(s);
  for (int n = 1; n <= lc.NCONC; ++n) {
    const CONC_LOAD& p = lc.CONC[n];
    if (three_d) {
      eq[1] += p.FORCE_X;
      eq[2] += p.FORCE_Y;
      eq[3] += p.FORCE_Z;
      eq[4] += p.MOMENT_X + p.FORCE_Z * p.COORD_Y - p.FORCE_Y * p.COORD_Z;
      eq[5] += p.MOMENT_Y + p.FORCE_X * p.COORD_Z - p.FORCE_Z * p.COORD_X;
      eq[6] += p.MOMENT_Z + p.FORCE_Y * p.COORD_X - p.FORCE_X * p.COORD_Y;
    } else {
      eq[1] += p.FORCE_X;
      eq[2] += p.FORCE_Y;
      eq[6] += p.MOMENT_Z + p.FORCE_Y * p.COORD_X - p.FORCE_X * p.COORD_Y;
    }
  }
  for (int i = 1; i <= 6; ++i) eq[i] *= lc.SCALE_FACTOR;
}

void COMB_RESULTANT(STORE& s, int k) {
  std::array<double, 7> sum{};
  if (k >= 1 && k <= s.loads.NCOMB) {
    const LOAD_COMB& lk = s.loads.COMB[k];
    for (int e = 1; e <= lk.NCOMB_CASES; ++e) {
      CASE_RESULTANT(s, lk.ENTRY[e].CASE);
      for (int i = 1; i <= 6; ++i) sum[i] += lk.ENTRY[e].FACTOR * s.loads.EQ_LOAD[i];
    }
  }
  s.loads.EQ_LOAD = sum;
}

void CLEAR_DIST_LOADS(STORE& s) {
  LOAD_DATA& L = s.loads;
  L.AXIAL_HEAD_LOAD.fill(0.0);
  L.DLOAD_NODES.fill(0);
  for (auto& row : L.DLOAD_Y) row.fill(0.0);
  for (auto& row : L.DLOAD_Z) row.fill(0.0);
}

void APPLY_DIST_LOADS(STORE& s, int c, double f) {
  LOAD_DATA& L = s.loads;
  if (c < 1 || c > L.NLC) return;
  const LOAD_CASE& lc = L.CASE[c];
  const bool three_d = is_3d(s);
  const bool head_axial = lc.AXIAL_AS_HEAD_LOAD == 1;
  // Piles beyond the arrangement (or beyond the table) carry nothing.
  int npiles = pile_count(s);
  if (npiles > MAX_PILES) npiles = MAX_PILES;

  for (int n = 1; n <= lc.NDIST; ++n) {
    const DIST_LOAD& dl = lc.DIST[n];
    const double fy = dl.FACTOR_Y * f;
    const double fz = three_d ? dl.FACTOR_Z * f : 0.0;
    const bool global = dl.AXIS == 1;

    // Pile range: END_PILE 0 is INI_PILE alone; a reversed range is turned
    // round; INC_PILE 0 steps from one end straight to the other.
    int ini = dl.INI_PILE;
    int end = dl.END_PILE == 0 ? ini : dl.END_PILE;
    if (end < ini) std::swap(ini, end);
    int inc = dl.INC_PILE;
    if (inc == 0) inc = (end == ini) ? 1 : end - ini;

    for (long long pile = ini; pile >= 1 && pile <= end; pile += inc) {
      const int i = static_cast<int>(pile);
      if (i > npiles) {
        if (inc > 0) break;  // every later pile is beyond the arrangement too
        continue;
      }
      const int p = pile_property(s, i);
      const int nin = property_increments(s, p);
      if (nin < 1 || nin > MAX_INCREMENTS) continue;  // no nodes to load
      const double h = property_length(s, p) / nin;
      L.DLOAD_NODES[i] = nin + 1;

      const double a = first_angle(s, i);
      const double b = second_angle(s, i);
      double qy_prev = 0.0, qz_prev = 0.0;
      for (int k = 1; k <= nin + 1; ++k) {
        const double d = (k - 1) * h;
        const double qy = fy * DLOAD_AT_DEPTH(s, dl.SET_Y, d);
        const double qz = three_d ? fz * DLOAD_AT_DEPTH(s, dl.SET_Z, d) : 0.0;
        L.DLOAD_DIST[i][k] = d;
        if (!global) {
          L.DLOAD_Y[i][k] += qy;
          if (three_d) L.DLOAD_Z[i][k] += qz;
        } else if (!three_d) {
          // 2D: pile axis (cos b, sin b) in the X-Y plane.
          L.DLOAD_Y[i][k] += qy * std::cos(a);
          if (head_axial && k >= 2) {
            L.AXIAL_HEAD_LOAD[i] += std::sin(a) * 0.5 * (qy_prev + qy) * h;
            L.HEAD_AXIAL_FLAG = 1;
          }
        } else {
          // 3D: the global load (0, qy, qz) resolved on the pile's axes.
          L.DLOAD_Y[i][k] += (qy * std::cos(a) + qz * std::sin(a)) * std::sin(b);
          L.DLOAD_Z[i][k] += -qy * std::sin(a) + qz * std::cos(a);
          if (head_axial && k >= 2) {
            L.AXIAL_HEAD_LOAD[i] +=
                0.5 * ((qy_prev + qy) * std::cos(a) + (qz_prev + qz) * std::sin(a)) * std::cos(b) * h;
            L.HEAD_AXIAL_FLAG = 1;
          }
        }
        qy_prev = qy;
        qz_prev = qz;
      }
    }
  }
}

void CASE_DIST_LOADS(STORE& s, int c) {
  s.loads.HEAD_AXIAL_FLAG = 0;
  CLEAR_DIST_LOADS(s);
  if (c < 1 || c > s.loads.NLC) return;
  APPLY_DIST_LOADS(s, c, s.loads.CASE[c].SCALE_FACTOR);
}

void COMB_DIST_LOADS(STORE& s, int k) {
  s.loads.HEAD_AXIAL_FLAG = 0;
  CLEAR_DIST_LOADS(s);
  if (k < 1 || k > s.loads.NCOMB) return;
  const LOAD_COMB& lk = s.loads.COMB[k];
  for (int e = 1; e <= lk.NCOMB_CASES; ++e) {
    const int c = lk.ENTRY[e].CASE;
    if (c < 1 || c > s.loads.NLC) continue;
    APPLY_DIST_LOADS(s, c, s.loads.CASE[c].SCALE_FACTOR * lk.ENTRY[e].FACTOR);
  }
}

void ADD_AXIAL_HEAD_LOADS(STORE& s) {
  LOAD_DATA& L = s.loads;
  if (L.HEAD_AXIAL_FLAG == 0) return;
  const bool three_d = is_3d(s);
  int npiles = pile_count(s);
  if (npiles > MAX_PILES) npiles = MAX_PILES;
  auto& eq = L.EQ_LOAD;
  for (int i = 1; i <= npiles; ++i) {
    const double P = L.AXIAL_HEAD_LOAD[i];
    const double a = first_angle(s, i);
    const double xi = head_x(s, i), yi = head_y(s, i);
    if (!three_d) {
      const double fx = P * std::cos(a), fy = P * std::sin(a);
      eq[1] += fx;
      eq[2] += fy;
      eq[6] += fy * xi - fx * yi;
    } else {
      const double b = second_angle(s, i);
      const double zi = head_z(s, i);
      const double fx = P * std::sin(b);
      const double fy = P * std::cos(a) * std::cos(b);
      const double fz = P * std::sin(a) * std::cos(b);
      eq[1] += fx;
      eq[2] += fy;
      eq[3] += fz;
      eq[4] += fz * yi - fy * zi;
      eq[5] += fx * zi - fz * xi;
      eq[6] += fy * xi - fx * yi;
    }
  }
}

double DLOAD_AT_DEPTH(const STORE& s, int set, double d) {
  if (set <= 0 || set > s.loads.NDSETS || set > MAX_DLOAD_SETS) return 0.0;
  const DLOAD_SET& ds = s.loads.DSET[set];
  const int n = ds.NPOINTS;
  if (n < 2) return 0.0;
  const double z1 = ds.DEPTH[1], zn = ds.DEPTH[n];
  if (std::fabs(d - z1) < END_POINT_TOLERANCE) return ds.LOAD[1];
  if (std::fabs(d - zn) < END_POINT_TOLERANCE) return ds.LOAD[n];
  if (d < z1 || d > zn) return 0.0;
  for (int j = 2; j <= n; ++j) {
    // z(j-1) <= d < z(j) here, so the interval is never empty.
    if (d < ds.DEPTH[j]) {
      return ds.LOAD[j - 1] +
             (ds.LOAD[j] - ds.LOAD[j - 1]) * (d - ds.DEPTH[j - 1]) / (ds.DEPTH[j] - ds.DEPTH[j - 1]);
    }
  }
  return 0.0;
}

}  // namespace kestra
