// PLACEHOLDERS, to be deleted when the real single-pile solutions and the
// closely-spaced reduction factors are merged: linear springs that let the
// group analysis be built and tested on its own.
//
//   GENERATE_NODES_3D: INC equal increments over the property's length.
//   AXIAL_SOLVE:       head force = secant of the head curve's first
//                      compression segment times the displacement.
//   LLP_BIAXIAL:       each plane a semi-infinite elastic beam on a Winkler
//                      foundation (Hetenyi): EI from the property's first
//                      section, subgrade modulus k = the slope of the first
//                      segment of user p-y curve 1 of set 1 (1000 when none).
//                      V = 4 EI b^3 y + 2 EI b^2 s, M = 2 EI b^2 y + 2 EI b s,
//                      b = (k / 4EI)^(1/4), s = dy/dx at the head.
//   LLP_GROUP:         the same in one plane.
//   REDUCTION_FACTORS_Y/Z: leave the factors as they are (delete these two
//                      as soon as the closely-spaced estimate is merged, even
//                      if the pile solutions are not yet).
#include <cmath>

#include "group/reduction_factors.h"
#include "pile/pile_solvers.h"

namespace kestra {

namespace {

double placeholder_k(const RUN& run) {
  const SOIL_DATA& s = run.store.soil;
  if (s.NPYSETS >= 1 && s.PY_SETS[1].NPYCURVES >= 1) {
    const USER_PY_CURVE& c = s.PY_SETS[1].CURVE[1];
    if (c.NPOINTS >= 2 && c.Y[2] != c.Y[1]) return (c.P[2] - c.P[1]) / (c.Y[2] - c.Y[1]);
  }
  return 1000.0;
}

double placeholder_ei(const RUN& run, int g, int axis) {
  const PILE_DATA& p = run.store.piles;
  const int prop = p.PILE_PROP[g];
  if (prop < 1 || prop > MAX_PROPERTIES || p.PROP[prop].NSECT < 1) return 1.0E6;
  const PILE_SECTION& sec = p.PROP[prop].SECT[1];
  const double I = axis == 0 ? sec.TOP[XS_IZ] : sec.TOP[XS_IY];
  const double ei = sec.E_MOD * I;
  return ei > 0.0 ? ei : 1.0E6;
}

// Head shear and moment of a semi-infinite beam on springs.
void hetenyi(double ei, double k, double y, double s, double& V, double& M) {
  const double b = std::pow(k / (4.0 * ei), 0.25);
  V = 4.0 * ei * b * b * b * y + 2.0 * ei * b * b * s;
  M = 2.0 * ei * b * b * y + 2.0 * ei * b * s;
}

}  // namespace

int GENERATE_NODES_3D(RUN& run, PILE_WORK& w, int g) {
  const PILE_DATA& p = run.store.piles;
  const int prop = p.PILE_PROP[g];
  w.group = g;
  w.property = prop;
  const bool ok = prop >= 1 && prop <= MAX_PROPERTIES;
  w.N = ok && p.PROP[prop].INC >= 1 ? std::min(p.PROP[prop].INC, MAX_INCREMENTS) : 10;
  const double L = ok && p.PROP[prop].LENGTH > 0.0 ? p.PROP[prop].LENGTH : 10.0;
  w.h = L / w.N;
  w.vert = p.PILE_X[g];
  w.ground = p.GROUND[g];
  for (int m = 0; m <= w.N; ++m) w.X[NODE(m)] = w.vert + m * w.h;
  return ST_OK;
}

int AXIAL_SOLVE(RUN& run, PILE_WORK& w, int, int p, double a, double& head_force) {
  const HEAD_CURVES& h = run.store.head;
  double k = 0.0;
  if (p >= 1 && p <= MAX_PROPERTIES && h.LS_DISP[p][11] != h.LS_DISP[p][10])
    k = (h.LS_LOAD[p][11] - h.LS_LOAD[p][10]) / (h.LS_DISP[p][11] - h.LS_DISP[p][10]);
  head_force = k * a;
  for (int m = 0; m <= w.N; ++m) {
    w.AXDISP[NODE(m)] = a;
    w.AXFORCE[NODE(m)] = head_force;
  }
  return ST_OK;
}

int LLP_BIAXIAL(RUN& run, PILE_WORK& w, int g, double yt, double theta_y, double zt, double theta_z, double, double,
                double& Vy, double& Vz, double& My0, double& Mz0) {
  const double k = placeholder_k(run);
  hetenyi(placeholder_ei(run, g, 0), k, yt, -theta_y, Vy, My0);
  hetenyi(placeholder_ei(run, g, 1), k, zt, -theta_z, Vz, Mz0);
  w.NO_CLOSURE = 0;
  w.LLP_ITERATIONS = 1;
  for (int m = 0; m <= w.N; ++m) {
    w.Y[NODE(m)] = yt;
    w.Z[NODE(m)] = zt;
  }
  w.PLANE_Y.BMOM[NODE(0)] = My0;
  w.PLANE_Z.BMOM[NODE(0)] = Mz0;
  return ST_OK;
}

int LLP_GROUP(RUN& run, PILE_WORK& w, int g, double yt, double theta, double, double& V_out) {
  double M = 0.0;
  hetenyi(placeholder_ei(run, g, 0), placeholder_k(run), yt, theta, V_out, M);
  w.NO_CLOSURE = 0;
  w.LLP_ITERATIONS = 1;
  w.PLANE_Y.BMOM[NODE(0)] = M;
  return ST_OK;
}

void REDUCTION_FACTORS_Y(RUN&, int) {}
void REDUCTION_FACTORS_Z(RUN&, int) {}

}  // namespace kestra
