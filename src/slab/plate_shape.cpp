#include "slab/plate_shape.h"

#include "engine/format.h"

namespace kestra {

void SHAPE_FUNCTIONS(int nnode, double xi, double eta, SHAPE& s) {
  s = SHAPE{};
  static constexpr double XC[4] = {-1.0, 1.0, 1.0, -1.0};
  static constexpr double EC[4] = {-1.0, -1.0, 1.0, 1.0};
  if (nnode == 4) {
    for (int a = 0; a < 4; ++a) {
      s.N[a] = 0.25 * (1.0 + XC[a] * xi) * (1.0 + EC[a] * eta);
      s.DXI[a] = 0.25 * XC[a] * (1.0 + EC[a] * eta);
      s.DETA[a] = 0.25 * EC[a] * (1.0 + XC[a] * xi);
    }
    return;
  }
  if (nnode == 8) {
    for (int a = 0; a < 4; ++a) {
      const double xa = XC[a], ea = EC[a];
      const double p = 1.0 + xa * xi, q = 1.0 + ea * eta, r = xa * xi + ea * eta - 1.0;
      s.N[a] = 0.25 * p * q * r;
      s.DXI[a] = 0.25 * xa * q * (r + p);
      s.DETA[a] = 0.25 * ea * p * (r + q);
    }
    // Mid-sides (0,-1), (1,0), (0,1), (-1,0).
    s.N[4] = 0.5 * (1.0 - xi * xi) * (1.0 - eta);
    s.DXI[4] = -xi * (1.0 - eta);
    s.DETA[4] = -0.5 * (1.0 - xi * xi);
    s.N[5] = 0.5 * (1.0 + xi) * (1.0 - eta * eta);
    s.DXI[5] = 0.5 * (1.0 - eta * eta);
    s.DETA[5] = -(1.0 + xi) * eta;
    s.N[6] = 0.5 * (1.0 - xi * xi) * (1.0 + eta);
    s.DXI[6] = -xi * (1.0 + eta);
    s.DETA[6] = 0.5 * (1.0 - xi * xi);
    s.N[7] = 0.5 * (1.0 - xi) * (1.0 - eta * eta);
    s.DXI[7] = -0.5 * (1.0 - eta * eta);
    s.DETA[7] = -(1.0 - xi) * eta;
    return;
  }
  // 9 nodes: products of the one-dimensional quadratic Lagrange functions
  // l(-1) = t(t-1)/2, l(0) = 1 - t^2, l(1) = t(t+1)/2.
  auto l = [](int k, double t) { return k < 0 ? 0.5 * t * (t - 1.0) : (k == 0 ? 1.0 - t * t : 0.5 * t * (t + 1.0)); };
  auto dl = [](int k, double t) { return k < 0 ? t - 0.5 : (k == 0 ? -2.0 * t : t + 0.5); };
  static constexpr int KX[9] = {-1, 1, 1, -1, 0, 1, 0, -1, 0};
  static constexpr int KE[9] = {-1, -1, 1, 1, -1, 0, 1, 0, 0};
  for (int a = 0; a < 9; ++a) {
    s.N[a] = l(KX[a], xi) * l(KE[a], eta);
    s.DXI[a] = dl(KX[a], xi) * l(KE[a], eta);
    s.DETA[a] = l(KX[a], xi) * dl(KE[a], eta);
  }
}

void GAUSS_RULE(int ngaus, std::array<double, 3>& pos, std::array<double, 3>& weight) {
  pos = {0.0, 0.0, 0.0};
  weight = {0.0, 0.0, 0.0};
  if (ngaus == 1) {
    pos[0] = 0.0;
    weight[0] = 2.0;
  } else if (ngaus == 2) {
    pos[0] = -double(0.577350269f);
    pos[1] = double(0.577350269f);
    weight[0] = weight[1] = 1.0;
  } else if (ngaus == 3) {
    pos[0] = -double(0.774596669f);
    pos[1] = 0.0;
    pos[2] = double(0.774596669f);
    weight[0] = weight[2] = double(0.555555556f);
    weight[1] = double(0.888888889f);
  }
}

bool JACOB2(const SLAB_MODEL& m, int e, double xi, double eta, ELEMENT_POINT& p) {
  SHAPE_FUNCTIONS(m.NNODE, xi, eta, p.s);
  double j11 = 0.0, j12 = 0.0, j21 = 0.0, j22 = 0.0, x = 0.0, y = 0.0;
  for (int a = 1; a <= m.NNODE; ++a) {
    const auto& c = m.COORD[m.node(e, a)];
    const int k = a - 1;
    x += p.s.N[k] * c[0];
    y += p.s.N[k] * c[1];
    // Row 1: d/dxi of (x, y); row 2: d/deta.
    j11 += p.s.DXI[k] * c[0];
    j12 += p.s.DXI[k] * c[1];
    j21 += p.s.DETA[k] * c[0];
    j22 += p.s.DETA[k] * c[1];
  }
  p.X = x;
  p.Y = y;
  p.DET_J = j11 * j22 - j12 * j21;
  if (!(p.DET_J > 0.0)) return false;
  const double inv = 1.0 / p.DET_J;
  for (int k = 0; k < m.NNODE; ++k) {
    // [dN/dx, dN/dy] = J^-1 [dN/dxi, dN/deta]
    p.DX[k] = inv * (j22 * p.s.DXI[k] - j12 * p.s.DETA[k]);
    p.DY[k] = inv * (-j21 * p.s.DXI[k] + j11 * p.s.DETA[k]);
  }
  return true;
}

void WRITE_AREA_FAILURE(FILE* listing, int e) {
  if (!listing) return;
  WRITE_F(listing, "(/,/,' PROGRAM HALTED IN SUBROUTINE JACOB2',/,11X,' ZERO OR NEGATIVE AREA',/,10X,' ELEMENT NUMBER ',I5)",
          e);
}

}  // namespace kestra
