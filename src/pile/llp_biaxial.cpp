// Two-plane lateral solution of a pile: beam-columns in x-y and x-z advanced
// in lock step, coupled through one secant modulus per node taken at the
// resultant deflection sqrt(y^2 + z^2).
#include <algorithm>
#include <cmath>

#include "pile/ei_update.h"
#include "pile/llp_core.h"
#include "pile/pile_solvers.h"
#include "pile/section_value.h"
#include "soil/generate_py.h"
#include "soil/input_py.h"

namespace kestra {

namespace {

// Subgrade modulus k of the soil profile at coordinate x: linear between the
// profile points, 0 above the first point and the last value below the last;
// where the profile gives no modulus (|k| <= 1e-4) the default of the units
// (50 in English units, 13575 otherwise). It only seeds the first iteration
// of the generated curves.
double subgrade_modulus(const STORE& s, double x) {
  const SOIL_DATA& d = s.soil;
  const int n = std::min(d.NPROFILE, MAX_PROFILE_POINTS);
  if (n < 1 || x < d.PROFILE_X[1]) return 0.0;
  const auto& k = d.PROFILE[SP_K];
  double value = k[n];
  for (int i = 2; i <= n; ++i) {
    if (x > d.PROFILE_X[i]) continue;
    const double span = d.PROFILE_X[i] - d.PROFILE_X[i - 1];
    value = span <= 0.0 ? k[i] : k[i - 1] + (k[i] - k[i - 1]) * (x - d.PROFILE_X[i - 1]) / span;
    break;
  }
  if (std::fabs(value) <= 1.0e-4) return s.ctl.UNITS_SYSTEM == 1 ? 50.0 : 13575.0;
  return value;
}

}  // namespace

int LLP_BIAXIAL(RUN& run, PILE_WORK& w, int g, double yt, double theta_y, double zt,
                double theta_z, double P, double T, double& Vy, double& Vz, double& My0,
                double& Mz0) {
  const STORE& s = run.store;
  Vy = Vz = My0 = Mz0 = 0.0;
  w.HEAD_FORCE.fill(0.0);
  if (!llp::BEGIN_SOLUTION(run, w, g)) return ST_BAD_PROPERTY;
  const int N = w.N;
  const double h = w.h;
  LLP_PLANE& py = w.PLANE_Y;
  LLP_PLANE& pz = w.PLANE_Z;
  const bool input_py = USES_INPUT_PY(s, g);
  const bool moving = s.soil.NSMPTS > 0;
  const bool nlei = s.ctl.NLEI_OPTION == 1;

  // Set-up.
  w.Y.fill(0.0);
  w.Z.fill(0.0);
  w.ESOIL.fill(0.0);
  llp::CLEAR_PLANE(py);
  llp::CLEAR_PLANE(pz);
  w.SOIL_MOVE_Y.fill(0.0);
  w.SOIL_MOVE_Z.fill(0.0);
  if (moving) {
    SOIL_MOVEMENT_Y(run, w);
    SOIL_MOVEMENT_Z(run, w);
    llp::RESOLVE_SOIL_MOVEMENT(w, s.piles.ALPHA[g], s.piles.BETA[g]);
  }
  llp::DIST_LOADS(s, g, N, py.DLOAD, pz.DLOAD);
  py.WLOAD = py.DLOAD;
  pz.WLOAD = pz.DLOAD;

  // Initial secant moduli.
  if (input_py) {
    for (int m = 0; m <= N; ++m) w.ESOIL[NODE(m)] = m * h;
    w.DEFL.fill(0.0);
    const int st = INPUT_PY_EVALUATE(run, w);
    if (st != ST_OK) return st;
  } else {
    const int nl = std::min(s.soil.NL, LAYER_TABLE);
    int k = 1;
    for (int m = 0; m <= N; ++m) {
      const double x = w.X[NODE(m)];
      if (k <= nl && x >= s.soil.LAYER_TOP[k]) ++k;
      w.ESOIL[NODE(m)] = k == 1 ? 0.0 : subgrade_modulus(s, x) * (x - w.ground);
    }
  }

  llp::AXIAL_FORCES(s, w, g, P, py.PX);
  pz.PX = py.PX;
  llp::SECTION_RIGIDITIES(s, w, py, 0);
  llp::SECTION_RIGIDITIES(s, w, pz, 1);
  llp::HEAD_ROWS(py, s.piles.CONNECTY[g], yt, theta_y, s.piles.SPY[g], h, -1.0);
  llp::HEAD_ROWS(pz, s.piles.CONNECTZ[g], zt, theta_z, s.piles.SPZ[g], h, -1.0);

  const int limit = w.CONTROL.MAXIT_PILE;
  const double tol = w.CONTROL.TOL_PILE;
  int it = 1;
  for (;;) {
    llp::ELIMINATE(py, w.ESOIL, N, h);
    llp::ELIMINATE(pz, w.ESOIL, N, h);
    llp::SOLVE_BACK(py, w.Y, N, h);
    llp::SOLVE_BACK(pz, w.Z, N, h);
    if (nlei) {
      if (EI_UPDATE_Y(run, w, P) != ST_OK) return llp::NLEI_FAILURE(run, g);
      const int hinge_y = w.PLASTIC_HINGE;
      if (EI_UPDATE_Z(run, w, P) != ST_OK) return llp::NLEI_FAILURE(run, g);
      w.PLASTIC_HINGE |= hinge_y;
    }
    if (it != 1 && llp::CLOSED(py, w.Y, N, tol) && llp::CLOSED(pz, w.Z, N, tol)) break;
    ++it;
    if (it > limit) {
      w.NO_CLOSURE = 1;
      w.LLP_ITERATIONS = it - 1;
      llp::NO_CLOSURE_WARNING(run, limit, g);
      return ST_OK;
    }
    w.DEFL.fill(0.0);
    for (int m = 0; m <= N; ++m) w.DEFL[NODE(m)] = std::hypot(w.Y[NODE(m)], w.Z[NODE(m)]);
    const int st = input_py ? INPUT_PY_EVALUATE(run, w) : GENERATE_PY(run, w);
    if (st != ST_OK) return st;
    // Moving soil pushes the pile through its springs, input curves or
    // generated ones alike.
    if (moving) {
      llp::MOVING_SOIL_LOADS(py, w.ESOIL, w.SOIL_MOVE_Y, N);
      llp::MOVING_SOIL_LOADS(pz, w.ESOIL, w.SOIL_MOVE_Z, N);
    }
  }
  w.LLP_ITERATIONS = it;

  // Results along the pile, per plane, then the stresses and ratios.
  Vy = llp::RESULTS(py, w.Y, w.ESOIL, N, h);
  Vz = llp::RESULTS(pz, w.Z, w.ESOIL, N, h);
  const bool combination = w.CONTROL.COMBINATION != 0;
  for (int m = 0; m <= N; ++m) {
    const int e = NODE(m);
    const double x = w.X[e];
    const double Iz = SECTION_VALUE(s, w.property, w.vert, x, XS_IZ);
    const double Iy = SECTION_VALUE(s, w.property, w.vert, x, XS_IY);
    const double A = SECTION_VALUE(s, w.property, w.vert, x, XS_AREA);
    const double fy = Iz > 0.0 ? py.BMOM[e] * llp::FIBRE_DEPTH(s, w, x, 0) / (2.0 * Iz) : 0.0;
    const double fz = Iy > 0.0 ? pz.BMOM[e] * llp::FIBRE_DEPTH(s, w, x, 1) / (2.0 * Iy) : 0.0;
    const bool round = SECTION_TYPE(s, w.property, w.vert, x) < 2;
    const double bending = round ? std::hypot(fy, fz) : std::fabs(fy) + std::fabs(fz);
    const double stress = (A > 0.0 ? std::fabs(py.PX[e]) / A : 0.0) + bending;
    py.STRESS[e] = pz.STRESS[e] = stress;

    w.RES_DEFL[e] = std::hypot(w.Y[e], w.Z[e]);
    w.RES_BMOM[e] = std::hypot(py.BMOM[e], pz.BMOM[e]);
    w.RES_SHEAR[e] = std::hypot(py.SHEAR[e], pz.SHEAR[e]);
    w.RES_SOILR[e] = std::hypot(py.SOILR[e], pz.SOILR[e]);
    double mr = 0.0, vr = 0.0;
    if (combination) llp::CAPACITY_RATIOS(s, w, x, w.RES_BMOM[e], w.RES_SHEAR[e], mr, vr);
    w.MOMENT_RATIO[e] = mr;
    w.SHEAR_RATIO[e] = vr;
  }
  My0 = py.BMOM[NODE(0)];
  Mz0 = pz.BMOM[NODE(0)];
  w.HEAD_FORCE = {0.0, P, Vy, Vz, T, -Mz0, My0};
  llp::PRINT_PASS_MESSAGES(run, w, g, false);
  return ST_OK;
}

}  // namespace kestra
