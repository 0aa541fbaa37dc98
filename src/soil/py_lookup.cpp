// Soil-profile lookups of the p-y models (values at a coordinate, averages
// from the ground surface down), the depth factors of a group and the soil
// movement along a pile.
#include <cmath>

#include "engine/format.h"
#include "engine/report.h"
#include "soil/generate_py.h"
#include "soil/py_models.h"

namespace kestra {

namespace {

// Linear interpolation between (xa, va) and (xb, vb) at x (xa < xb).
double lerp(double xa, double va, double xb, double vb, double x) {
  if (!(xb > xa)) return vb;
  return va + (vb - va) * (x - xa) / (xb - xa);
}

// The two-line warning of the cohesion and friction-angle lookups.
void beyond_warning(RUN& run, double x, const char* curve) {
  for (FILE* f : {run.files[F_REPORT], run.files[F_RUNTIME]}) {
    if (!f) continue;
    WRITE_F(f, "(/,29X,'**** WARNING ****')");
    WRITE_F(f, "(5X,'THE VALUE OF X =',E9.1,' IS BEYOND THE EXTENT OF')", x);
    WRITE_F(f, "(5X,A)", curve);
  }
}

// Trapezoid integral of property p over the profile from X_1 to x (x within
// the profile); segments shorter than 1e-6 are skipped.
double profile_integral(const SOIL_DATA& s, int p, double x) {
  const auto& X = s.PROFILE_X;
  const auto& V = s.PROFILE[p];
  double sum = 0.0;
  for (int i = 2; i <= s.NPROFILE; ++i) {
    const double a = X[i - 1];
    if (a >= x) break;
    const double e = X[i] < x ? X[i] : x;
    if (e - a >= 1.0e-6) {
      const double ve = X[i] <= x ? V[i] : lerp(a, V[i - 1], X[i], V[i], x);
      sum += 0.5 * (V[i - 1] + ve) * (e - a);
    }
    if (X[i] >= x) break;
  }
  return sum;
}

}  // namespace

double PROFILE_VALUE(const STORE& st, int p, double x) {
  const SOIL_DATA& s = st.soil;
  const int n = s.NPROFILE;
  const auto& X = s.PROFILE_X;
  const auto& V = s.PROFILE[p];
  if (n <= 0) return 0.0;
  if (n == 1 || x <= X[1]) return V[1];
  int i = 2;
  while (i <= n && x > X[i]) ++i;
  if (i > n) return V[n];  // beyond the profile: its last value
  if (i == n && x == X[n]) return V[n];
  if (x == X[i]) {
    if (i < n && X[i + 1] == X[i]) {
      // A layer boundary: both sides count when both are given.
      if (V[i + 1] >= 1.0e-20) return V[i] >= 1.0e-20 ? 0.5 * (V[i] + V[i + 1]) : V[i + 1];
      return V[i];
    }
    return V[i];
  }
  return lerp(X[i - 1], V[i - 1], X[i], V[i], x);
}

double SUBGRADE_MODULUS(const STORE& st, double x) {
  const SOIL_DATA& s = st.soil;
  if (s.NPROFILE <= 0 || x < s.PROFILE_X[1]) return 0.0;
  const double k = PROFILE_VALUE(st, SP_K, x);
  if (std::fabs(k) <= 1.0e-4) return st.ctl.UNITS_SYSTEM == 1 ? 50.0 : 13575.0;
  return k;
}

double COHESION_LOOKUP(RUN& run, double x, int& status) {
  const SOIL_DATA& s = run.store.soil;
  if (s.NPROFILE <= 0 || x > s.PROFILE_X[s.NPROFILE]) {
    beyond_warning(run, x, "THE INPUT STRENGTH CURVE");
    status = ST_BEYOND_COHESION;
    return 0.0;
  }
  return PROFILE_VALUE(run.store, SP_COHESION, x);
}

double PHI_LOOKUP(RUN& run, double x, int& status) {
  const SOIL_DATA& s = run.store.soil;
  if (s.NPROFILE <= 0 || x > s.PROFILE_X[s.NPROFILE]) {
    beyond_warning(run, x, "THE INPUT PHI CURVE");
    status = ST_BEYOND_FRICTION;
    return 0.0;
  }
  return PROFILE_VALUE(run.store, SP_PHI, x);
}

double AVG_UNIT_WEIGHT(RUN& run, double x, int& status) {
  const SOIL_DATA& s = run.store.soil;
  const int n = s.NPROFILE;
  if (n <= 0) return 0.0;
  const double x1 = s.PROFILE_X[1];
  if (x < x1) return 0.0;
  if (x > s.PROFILE_X[n]) {
    for (FILE* f : {run.files[F_REPORT], run.files[F_RUNTIME]}) {
      if (!f) continue;
      WRITE_F(f, "(/,29X,'**** WARNING ****')");
      WRITE_F(f, "(5X,'THE VALUE OF X =',E9.2,'IS BEYOND THE EXTENT OF/',5X,'THE INPUT CURVE FOR UNIT WEIGHT')", x);
    }
    status = ST_BEYOND_UNIT_WEIGHT;
    return 0.0;
  }
  if (x - x1 < 1.0e-6) {
    for (int i = 1; i <= n; ++i)
      if (s.PROFILE[SP_UNIT_WEIGHT][i] > 0.0) return s.PROFILE[SP_UNIT_WEIGHT][i];
    return 0.0;
  }
  return profile_integral(s, SP_UNIT_WEIGHT, x) / (x - x1);
}

double AVG_COHESION(RUN& run, double x) {
  const SOIL_DATA& s = run.store.soil;
  const int n = s.NPROFILE;
  if (n <= 0) return 0.0;
  const double x1 = s.PROFILE_X[1];
  if (x - x1 < 1.0e-6) {
    int ignored = ST_OK;
    return COHESION_LOOKUP(run, x, ignored);
  }
  if (x > s.PROFILE_X[n]) {
    if (FILE* f = run.files[F_REPORT]) {
      WRITE_F(f, "(/,29X,'**** WARNING ****')");
      WRITE_F(f, "(5X,'THE VALUE OF X =',E9.2,'IS BEYOND THE EXTENT OF THE/',5X,'INPUT CURVE FOR STRENGTH')", x);
    }
    const double xe = s.PROFILE_X[n];
    if (!(xe - x1 >= 1.0e-6)) return s.PROFILE[SP_COHESION][1];
    return profile_integral(s, SP_COHESION, xe) / (xe - x1);
  }
  return profile_integral(s, SP_COHESION, x) / (x - x1);
}

double LAYER_TOP_VALUE(const STORE& s, int p, int k) { return s.soil.PROFILE[p][2 * k - 1]; }

void DEPTH_FACTORS_AT(const STORE& s, int group, double x, double& pd, double& yd) {
  pd = 1.0;
  yd = 1.0;
  if (s.ctl.DEPTH_FACTORS != 1 || group < 1 || group > MAX_PILE_ENTRIES) return;
  const int set = s.piles.RFL_SET[group];
  if (set < 1 || set > s.soil.NRFSETS || set > MAX_RF_SETS) return;
  const RF_SET& r = s.soil.RF_SETS[set];
  const int n = r.NPOINTS < MAX_RF_POINTS ? r.NPOINTS : MAX_RF_POINTS;
  if (n <= 0 || x < r.DEPTH[1] || x > r.DEPTH[n]) return;
  if (n == 1) {
    pd = r.P_FACTOR[1];
    yd = r.Y_FACTOR[1];
    return;
  }
  for (int i = 2; i <= n; ++i) {
    if (x > r.DEPTH[i]) continue;
    const double a = r.DEPTH[i - 1], b = r.DEPTH[i];
    if (b - a < 1.0e-5) {
      pd = 0.5 * (r.P_FACTOR[i - 1] + r.P_FACTOR[i]);
      yd = 0.5 * (r.Y_FACTOR[i - 1] + r.Y_FACTOR[i]);
    } else {
      pd = lerp(a, r.P_FACTOR[i - 1], b, r.P_FACTOR[i], x);
      yd = lerp(a, r.Y_FACTOR[i - 1], b, r.Y_FACTOR[i], x);
    }
    return;
  }
}

namespace {

// Movement of the soil at coordinate x from one direction of Table J2.
double movement_at(const SOIL_DATA& s, const std::array<double, MAX_SM_POINTS + 1>& move, double x) {
  const int n = s.NSMPTS < MAX_SM_POINTS ? s.NSMPTS : MAX_SM_POINTS;
  if (n <= 0 || x < s.SM_DEPTH[1] || x > s.SM_DEPTH[n]) return 0.0;
  if (n == 1) return move[1];
  for (int i = 2; i <= n; ++i) {
    if (x > s.SM_DEPTH[i]) continue;
    const double a = s.SM_DEPTH[i - 1], b = s.SM_DEPTH[i];
    if (b - a < 1.0e-5) return 0.5 * (move[i - 1] + move[i]);
    return lerp(a, move[i - 1], b, move[i], x);
  }
  return 0.0;
}

}  // namespace

// In a 3D analysis the movement is resolved onto the pile's axes by the
// biaxial solution, so no angle factor is applied here (a further factor
// would null the second direction of a vertical pile). In 2D the plane
// components carry the cosine of the second angle (1 for the plane rows).
void SOIL_MOVEMENT_Y(const RUN& run, PILE_WORK& w) {
  const STORE& s = run.store;
  w.SOIL_MOVE_Y.fill(0.0);
  double factor = s.py.SOIL_MOVE_FACTOR;
  if (s.ctl.ANALYSIS_TYPE != 3 && w.group >= 1 && w.group <= MAX_PILE_ENTRIES)
    factor *= std::cos(s.piles.BETA[w.group]);
  for (int m = 0; m <= w.N && m <= MAX_INCREMENTS; ++m)
    w.SOIL_MOVE_Y[NODE(m)] = movement_at(s.soil, s.soil.SM_MOVE_Y, w.X[NODE(m)]) * factor;
}

void SOIL_MOVEMENT_Z(const RUN& run, PILE_WORK& w) {
  const STORE& s = run.store;
  w.SOIL_MOVE_Z.fill(0.0);
  double factor = s.py.SOIL_MOVE_FACTOR;
  if (s.ctl.ANALYSIS_TYPE != 3 && w.group >= 1 && w.group <= MAX_PILE_ENTRIES)
    factor *= std::cos(std::fabs(std::sin(s.piles.BETA[w.group])) *
                       std::fabs(s.piles.ALPHA[w.group] - 1.5708));
  for (int m = 0; m <= w.N && m <= MAX_INCREMENTS; ++m)
    w.SOIL_MOVE_Z[NODE(m)] = movement_at(s.soil, s.soil.SM_MOVE_Z, w.X[NODE(m)]) * factor;
}

}  // namespace kestra
