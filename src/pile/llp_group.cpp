// One-plane lateral solution of a pile group: the beam-column on secant soil
// springs, iterated until the deflections stop changing.
#include <cmath>

#include "pile/ei_update.h"
#include "pile/llp_core.h"
#include "pile/pile_solvers.h"
#include "pile/section_value.h"
#include "soil/generate_py.h"
#include "soil/input_py.h"

namespace kestra {

int LLP_GROUP(RUN& run, PILE_WORK& w, int g, double yt, double theta, double P, double& V_out) {
  const STORE& s = run.store;
  V_out = 0.0;
  if (!llp::BEGIN_SOLUTION(run, w, g)) return ST_BAD_PROPERTY;
  const int N = w.N;
  const double h = w.h;
  LLP_PLANE& p = w.PLANE_Y;
  const bool input_py = USES_INPUT_PY(s, g);
  const bool moving = s.soil.NSMPTS > 0;
  const bool nlei = s.ctl.NLEI_OPTION == 1;

  // Set-up.
  w.Y.fill(0.0);
  w.Z.fill(0.0);
  w.ESOIL.fill(0.0);
  llp::CLEAR_PLANE(p);
  w.SOIL_MOVE_Y.fill(0.0);
  w.SOIL_MOVE_Z.fill(0.0);
  if (moving) SOIL_MOVEMENT_Y(run, w);
  llp::DIST_LOADS(s, g, N, p.DLOAD, w.PLANE_Z.DLOAD);
  w.PLANE_Z.DLOAD.fill(0.0);
  p.WLOAD = p.DLOAD;

  // Initial secant moduli.
  if (input_py) {
    for (int m = 0; m <= N; ++m) w.ESOIL[NODE(m)] = m * h;
  } else {
    w.DEFL.fill(0.0);
    for (int m = 0; m <= N; ++m) w.DEFL[NODE(m)] = yt * (1.0 - double(m) / N);
    const int st = GENERATE_PY(run, w);
    if (st != ST_OK) return st;
  }

  llp::AXIAL_FORCES(s, w, g, P, p.PX);
  llp::SECTION_RIGIDITIES(s, w, p, 0);
  llp::HEAD_ROWS(p, s.piles.CONNECTY[g], yt, theta, s.piles.SPY[g], h, +1.0);

  const int limit = w.CONTROL.MAXIT_PILE;
  const double tol = w.CONTROL.TOL_PILE;
  int it = 1;
  for (;;) {
    llp::ELIMINATE(p, w.ESOIL, N, h);
    llp::SOLVE_BACK(p, w.Y, N, h);
    if (nlei && EI_UPDATE_Y(run, w, P) != ST_OK) return llp::NLEI_FAILURE(run, g);
    if (it != 1 && llp::CLOSED(p, w.Y, N, tol)) break;
    ++it;
    if (it > limit) {
      w.NO_CLOSURE = 1;
      w.LLP_ITERATIONS = it - 1;
      llp::NO_CLOSURE_WARNING(run, limit, g);
      return ST_OK;
    }
    w.DEFL = w.Y;
    const int st = input_py ? INPUT_PY_EVALUATE(run, w) : GENERATE_PY(run, w);
    if (st != ST_OK) return st;
    // Moving soil pushes the pile through its springs, input curves or
    // generated ones alike (without this load the springs would only hold
    // the pile back from a movement they are measured against).
    if (moving) llp::MOVING_SOIL_LOADS(p, w.ESOIL, w.SOIL_MOVE_Y, N);
  }
  w.LLP_ITERATIONS = it;

  // Results along the pile.
  const double force = llp::RESULTS(p, w.Y, w.ESOIL, N, h);
  const bool combination = w.CONTROL.COMBINATION != 0;
  for (int m = 0; m <= N; ++m) {
    const int e = NODE(m);
    const double x = w.X[e];
    const double I = SECTION_VALUE(s, w.property, w.vert, x, XS_IZ);
    const double A = SECTION_VALUE(s, w.property, w.vert, x, XS_AREA);
    const double c = llp::FIBRE_DEPTH(s, w, x, 0);
    const double bending = I > 0.0 ? std::fabs(p.BMOM[e]) * c / (2.0 * I) : 0.0;
    const double axial = A > 0.0 ? std::fabs(p.PX[e]) / A : 0.0;
    p.STRESS[e] = bending + axial;
    if (moving) p.SOILR[e] = w.PSOIL[e];

    w.RES_DEFL[e] = std::fabs(w.Y[e]);
    w.RES_BMOM[e] = std::fabs(p.BMOM[e]);
    w.RES_SHEAR[e] = std::fabs(p.SHEAR[e]);
    w.RES_SOILR[e] = std::fabs(p.SOILR[e]);
    double mr = 0.0, vr = 0.0;
    if (combination) llp::CAPACITY_RATIOS(s, w, x, p.BMOM[e], p.SHEAR[e], mr, vr);
    w.MOMENT_RATIO[e] = mr;
    w.SHEAR_RATIO[e] = vr;
  }
  llp::PRINT_PASS_MESSAGES(run, w, g, true);
  V_out = force;
  return ST_OK;
}

}  // namespace kestra
