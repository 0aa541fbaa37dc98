#include "pile/ei_update.h"

#include <cmath>

namespace kestra {

namespace {

// Curvatures below this (1.0E-15 in single precision) count as zero.
const double ZERO_CURVATURE = double(1.0e-15f);

// Secant rigidity on one curve at curvature phi.
bool curve_ei(const MC_CURVE& c, double phi, double& ei, bool& beyond) {
  const int n = c.NPOINTS;
  if (n < 2 || n > MAX_MC_POINTS) return false;
  if (!(c.CURVATURE[2] > 0.0)) return false;
  if (phi <= c.CURVATURE[1] || phi <= 0.0) {
    ei = c.MOMENT[2] / c.CURVATURE[2];
    return true;
  }
  for (int i = 2; i <= n; ++i) {
    if (phi <= c.CURVATURE[i]) {
      const double f0 = c.CURVATURE[i - 1], m0 = c.MOMENT[i - 1];
      const double m = m0 + (phi - f0) * (c.MOMENT[i] - m0) / (c.CURVATURE[i] - f0);
      ei = m / phi;
      return true;
    }
  }
  ei = c.MOMENT[n] / phi;
  beyond = true;
  return true;
}

// The pile section holding position t along the pile (the rule of the
// section lookups): before the first, the first; after the last, the last.
const PILE_SECTION* section_at(const PILE_PROPERTY& p, double t) {
  const int n = p.NSECT;
  if (n <= 0 || n > MAX_SECTIONS) return nullptr;
  if (t < p.SECT[1].SECT_FROM) return &p.SECT[1];
  for (int e = 1; e <= n; ++e)
    if (p.SECT[e].SECT_TO >= t) return &p.SECT[e];
  return &p.SECT[n];
}

int update(const RUN& run, PILE_WORK& w, double P, const NODE_VALUES& y, LLP_PLANE& plane,
           bool plane_y) {
  const STORE& s = run.store;
  w.PLASTIC_HINGE = 0;
  w.NLEI_ERROR = 0;
  if (w.property < 1 || w.property > MAX_PROPERTIES) {
    w.NLEI_ERROR = 1;
    return ST_BAD_PROPERTY;
  }
  const PILE_PROPERTY& prop = s.piles.PROP[w.property];
  const double h2 = w.h * w.h;
  for (int m = 0; m <= w.N; ++m) {
    const int e = NODE(m);
    double phi = std::fabs((y[e + 1] - 2.0 * y[e] + y[e - 1]) / h2);
    if (phi < ZERO_CURVATURE) phi = 0.0;
    plane.CURVATURE[e] = phi;
    const PILE_SECTION* sec = section_at(prop, w.X[e] - w.vert);
    if (!sec) continue;
    const int k = plane_y ? sec->SET_NLEI_Y : sec->SET_NLEI_Z;
    if (k == 0) continue;  // an elastic section: its rigidity stays
    if (k < 0 || k > s.piles.NMCSETS || k > MAX_MC_SETS) {
      w.NLEI_ERROR = 1;
      return ST_BAD_PROPERTY;
    }
    double ei = plane.EI[e];
    bool beyond = false;
    if (!SECANT_EI(s.piles.MC[k], P, phi, ei, beyond)) {
      w.NLEI_ERROR = 1;
      return ST_BAD_PROPERTY;
    }
    if (beyond) w.PLASTIC_HINGE = 1;
    plane.EI[e] = ei;
  }
  return ST_OK;
}

}  // namespace

bool SECANT_EI(const MC_SET& set, double P, double phi, double& ei, bool& beyond) {
  const int n = set.NMCURVES;
  if (n < 1 || n > MAX_MC_CURVES) return false;
  int j = 1;
  if (P >= set.CURVE[n].AXIAL_LOAD) {
    j = n;
  } else if (P <= set.CURVE[1].AXIAL_LOAD) {
    j = 1;
  } else {
    for (j = 1; j < n; ++j)
      if (set.CURVE[j].AXIAL_LOAD <= P && P < set.CURVE[j + 1].AXIAL_LOAD) break;
  }
  bool over = false;
  double e1 = 0.0;
  if (!curve_ei(set.CURVE[j], phi, e1, over)) return false;
  if (j < n && P > set.CURVE[1].AXIAL_LOAD) {
    double e2 = 0.0;
    if (!curve_ei(set.CURVE[j + 1], phi, e2, over)) return false;
    const double a1 = set.CURVE[j].AXIAL_LOAD, a2 = set.CURVE[j + 1].AXIAL_LOAD;
    e1 = e2 - (e2 - e1) * (a2 - P) / (a2 - a1);
  }
  ei = e1;
  if (over) beyond = true;
  return true;
}

int EI_UPDATE_Y(const RUN& run, PILE_WORK& w, double P) {
  return update(run, w, P, w.Y, w.PLANE_Y, true);
}

int EI_UPDATE_Z(const RUN& run, PILE_WORK& w, double P) {
  return update(run, w, P, w.Z, w.PLANE_Z, false);
}

}  // namespace kestra
