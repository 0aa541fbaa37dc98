#include "slab/plate_elements.h"

#include <cmath>

#include "engine/format.h"
#include "engine/status.h"
#include "slab/plate_shape.h"

namespace kestra {

// The plate's ROTX and ROTY are the slopes dw/dx and dw/dy of its bending
// theory, not rotation-vector components: a rotation theta about the plate's
// y axis (global Y) tilts the plate by dw/dx = -theta, one about its x axis
// (global Z) by dw/dy = +theta. ROTZ is the rotation about the plate's
// normal, global -X.
SLAB_VEC6 SLAB_TO_GLOBAL(const SLAB_VEC6& s) { return {-s[2], s[1], s[0], -s[5], -s[3], s[4]}; }
SLAB_VEC6 GLOBAL_TO_SLAB(const SLAB_VEC6& g) { return {g[2], g[1], -g[0], -g[4], g[5], -g[3]}; }

PLATE_RIGIDITY MATERIAL_RIGIDITY(double E, double nu, double t) {
  PLATE_RIGIDITY r;
  const double c = E / (1.0 - nu * nu);
  const double cm = t != 0.0 ? c * t : c;
  const double cb = E * t * t * t / ((1.0 - nu * nu) * 12.0);
  const double iso[3][3] = {{1.0, nu, 0.0}, {nu, 1.0, 0.0}, {0.0, 0.0, (1.0 - nu) * 0.5}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      r.DM[i][j] = cm * iso[i][j];
      r.DB[i][j] = cb * iso[i][j];
    }
  r.DS = E * t / ((1.0 + nu) * double(2.4f));
  return r;
}

double SLAB_LOAD_FACTOR(const SLAB_MODEL& m, double tcur) {
  if (m.TEND == m.TINI) return 1.0;
  return (tcur - m.TINI) / (m.TEND - m.TINI);
}

namespace {

// Column of node a, degree of freedom k (0-based) in an element matrix.
inline int COL(int a, int k) { return 6 * a + k; }

// The element's side s (1..4): its local nodes (corner, mid-side or -1,
// corner) and the natural coordinates along it at parameter t in [-1, 1].
void SIDE_POINT(int nnode, int side, double t, double& xi, double& eta, int nodes[3]) {
  switch (side) {
    case 1: xi = t; eta = -1.0; break;
    case 2: xi = 1.0; eta = t; break;
    case 3: xi = -t; eta = 1.0; break;
    default: xi = -1.0; eta = -t; break;
  }
  nodes[0] = side - 1;
  nodes[1] = nnode >= 8 ? 3 + side : -1;
  nodes[2] = side % 4;
}

// Integrates along a side: calls fn(N, ds_weight, value) at each point of
// the three-point rule, with the value interpolated from the side's start,
// middle and end values.
template <class F>
void SIDE_INTEGRAL(const SLAB_MODEL& m, int e, int side, const std::array<double, 3>& v, F&& fn) {
  std::array<double, 3> pos, w;
  GAUSS_RULE(3, pos, w);
  for (int g = 0; g < 3; ++g) {
    const double t = pos[g];
    double xi, eta;
    int nodes[3];
    SIDE_POINT(m.NNODE, side, t, xi, eta, nodes);
    SHAPE s;
    SHAPE_FUNCTIONS(m.NNODE, xi, eta, s);
    // Tangent of the side: d(x, y)/dt through the element mapping.
    const double dxi = side == 1 ? 1.0 : (side == 3 ? -1.0 : 0.0);
    const double deta = side == 2 ? 1.0 : (side == 4 ? -1.0 : 0.0);
    double tx = 0.0, ty = 0.0;
    for (int a = 0; a < m.NNODE; ++a) {
      const auto& c = m.COORD[m.node(e, a + 1)];
      tx += (s.DXI[a] * dxi + s.DETA[a] * deta) * c[0];
      ty += (s.DXI[a] * dxi + s.DETA[a] * deta) * c[1];
    }
    const double ds = std::sqrt(tx * tx + ty * ty) * w[g];
    const double value = v[0] * 0.5 * t * (t - 1.0) + v[1] * (1.0 - t * t) + v[2] * 0.5 * t * (t + 1.0);
    fn(s, ds, value);
  }
}

void WRITE_ROW7(FILE* fp, std::string_view fmt, int i, const double* v) {
  if (!fp) return;
  WRITE_F(fp, fmt, i, v[0], v[1], v[2], v[3], v[4], v[5]);
}

}  // namespace

int PLATE_ELEMENT_STIFFNESS(const SLAB_MODEL& m, const SLAB_FILES& f, int e, std::vector<double>& K) {
  const int nn = m.NNODE, nev = m.NEVAB;
  K.assign(static_cast<size_t>(nev) * nev, 0.0);
  const auto& pr = m.PROPS[m.MATNO[e]];
  const double E = pr[0], nu = pr[1], t = pr[2];
  const PLATE_RIGIDITY D = MATERIAL_RIGIDITY(E, nu, t);

  // Element centre.
  SHAPE sc;
  SHAPE_FUNCTIONS(nn, 0.0, 0.0, sc);
  double xc = 0.0, yc = 0.0;
  for (int a = 0; a < nn; ++a) {
    xc += sc.N[a] * m.COORD[m.node(e, a + 1)][0];
    yc += sc.N[a] * m.COORD[m.node(e, a + 1)][1];
  }

  double polar = 0.0;                            // integral of the squared distance from the centre
  std::array<double, PLATE_MAX_NODES> nsq{};     // integrals of N_a^2 (drilling weights)
  ELEMENT_POINT p;
  for (int i = 0; i < m.NGAUS; ++i)
    for (int j = 0; j < m.NGAUS; ++j) {
      if (!JACOB2(m, e, m.POSGP[i], m.POSGP[j], p)) {
        WRITE_AREA_FAILURE(f.LISTING, e);
        return ST_SLAB_STOP;
      }
      const double w = p.DET_J * m.WEIGP[i] * m.WEIGP[j];
      // Bending-shear strains (kx, ky, kxy, gxz, gyz) of node a's UZ, ROTX, ROTY.
      for (int a = 0; a < nn; ++a) {
        const double Bb_a[3][5] = {{0, 0, 0, p.DX[a], p.DY[a]},
                                   {-p.DX[a], 0, -p.DY[a], -p.s.N[a], 0},
                                   {0, -p.DY[a], -p.DX[a], 0, -p.s.N[a]}};
        const double Bm_a[2][3] = {{p.DX[a], 0, p.DY[a]}, {0, p.DY[a], p.DX[a]}};
        for (int b = 0; b < nn; ++b) {
          const double Bb_b[3][5] = {{0, 0, 0, p.DX[b], p.DY[b]},
                                     {-p.DX[b], 0, -p.DY[b], -p.s.N[b], 0},
                                     {0, -p.DY[b], -p.DX[b], 0, -p.s.N[b]}};
          const double Bm_b[2][3] = {{p.DX[b], 0, p.DY[b]}, {0, p.DY[b], p.DX[b]}};
          for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) {
              // curvatures with DB, shear strains with DS
              double s = 0.0;
              for (int k = 0; k < 3; ++k) {
                double db = 0.0;
                for (int l = 0; l < 3; ++l) db += D.DB[k][l] * Bb_b[c][l];
                s += Bb_a[r][k] * db;
              }
              s += D.DS * (Bb_a[r][3] * Bb_b[c][3] + Bb_a[r][4] * Bb_b[c][4]);
              K[static_cast<size_t>(COL(a, 2 + r)) * nev + COL(b, 2 + c)] += s * w;
            }
          for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c) {
              double s = 0.0;
              for (int k = 0; k < 3; ++k) {
                double dm = 0.0;
                for (int l = 0; l < 3; ++l) dm += D.DM[k][l] * Bm_b[c][l];
                s += Bm_a[r][k] * dm;
              }
              K[static_cast<size_t>(COL(a, r)) * nev + COL(b, c)] += s * w;
            }
        }
        nsq[a] += p.s.N[a] * p.s.N[a] * w;
      }
      const double dx = p.X - xc, dy = p.Y - yc;
      polar += (dx * dx + dy * dy) * w;
    }

  // Drilling stiffness on ROTZ: G S / t shared among the nodes in
  // proportion to the integrals of N_a^2 (positive for every element type,
  // unlike the values of the quadratic corner functions).
  if (t > 0.0) {
    const double kd = (E * 0.5 / (nu + 1.0)) * polar / t;
    double sum = 0.0;
    for (int a = 0; a < nn; ++a) sum += nsq[a];
    if (sum > 0.0)
      for (int a = 0; a < nn; ++a) K[static_cast<size_t>(COL(a, 5)) * nev + COL(a, 5)] += kd * nsq[a] / sum;
  }
  return 0;
}

namespace {

void NOTE_FAILURE(SLAB_PILE_LINK& link, int status) {
  if (status == 0) return;
  if (link.FAILURES++ == 0) link.FIRST_FAILURE = status;
}

}  // namespace

int ELEMENT_MATRICES(const SLAB_MODEL& m, const SLAB_FILES& f, const std::vector<double>& u, double lambda,
                     SLAB_PILE_LINK* piles, std::vector<double>* residual) {
  const int nn = m.NNODE, nev = m.NEVAB;
  if (!f.ELEMENTS) return ST_OUTPUT_FILE;
  std::rewind(f.ELEMENTS);
  std::vector<double> K, r(nev), ue(nev);
  const bool coupled = piles && m.KPILE > 0 && m.NCTSTI > 0;
  auto kij = [&](int i, int j) -> double& { return K[static_cast<size_t>(i) * nev + j]; };
  if (residual) residual->assign(static_cast<size_t>(m.NPOIN) * 6, 0.0);
  auto skip = [](double v) { return std::fabs(v) < 1.0E-30; };
  ELEMENT_POINT p;

  for (int e = 1; e <= m.NELEM; ++e) {
    int st = PLATE_ELEMENT_STIFFNESS(m, f, e, K);
    if (st) return st;
    std::fill(r.begin(), r.end(), 0.0);
    for (int a = 0; a < nn; ++a)
      for (int k = 0; k < 6; ++k) ue[COL(a, k)] = u[static_cast<size_t>(m.node(e, a + 1) - 1) * 6 + k];

    // Nodal loads and stiffnesses: once, in the first element of the node.
    for (const auto& it : m.NODAL_STIFF)
      if (m.NODE_FIRST[it.ID] == e)
        for (int a = 0; a < nn; ++a)
          if (m.node(e, a + 1) == it.ID)
            for (int k = 0; k < 6; ++k) kij(COL(a, k), COL(a, k)) += it.V[k];
    for (const auto& it : m.NODAL_LOAD)
      if (m.NODE_FIRST[it.ID] == e)
        for (int a = 0; a < nn; ++a)
          if (m.node(e, a + 1) == it.ID)
            for (int k = 0; k < 6; ++k)
              if (!skip(it.V[k] * lambda)) r[COL(a, k)] += it.V[k] * lambda;

    // Distributed loads and stiffnesses, per unit area.
    for (int pass = 0; pass < 2; ++pass) {
      const auto& list = pass == 0 ? m.DIST_LOAD : m.DIST_STIFF;
      for (const auto& it : list) {
        if (it.ID != e) continue;
        for (int i = 0; i < m.NGAUS; ++i)
          for (int j = 0; j < m.NGAUS; ++j) {
            if (!JACOB2(m, e, m.POSGP[i], m.POSGP[j], p)) {
              WRITE_AREA_FAILURE(f.LISTING, e);
              return ST_SLAB_STOP;
            }
            const double w = p.DET_J * m.WEIGP[i] * m.WEIGP[j];
            for (int a = 0; a < nn; ++a)
              for (int k = 0; k < 6; ++k) {
                if (pass == 0) {
                  if (!skip(it.V[k] * lambda)) r[COL(a, k)] += w * p.s.N[a] * lambda * it.V[k];
                } else {
                  for (int b = 0; b < nn; ++b) kij(COL(a, k), COL(b, k)) += w * p.s.N[a] * p.s.N[b] * it.V[k];
                }
              }
          }
      }
    }

    // Concentrated loads and stiffnesses at their points.
    SHAPE s;
    for (const auto& pt : m.CONC_LOAD) {
      if (pt.ELEM != e) continue;
      SHAPE_FUNCTIONS(nn, pt.XI, pt.ETA, s);
      for (int k = 0; k < 6; ++k)
        if (!skip(pt.V[k] * lambda))
          for (int a = 0; a < nn; ++a) r[COL(a, k)] += s.N[a] * pt.V[k] * lambda;
    }
    for (const auto& pt : m.CONC_STIFF) {
      if (pt.ELEM != e) continue;
      SHAPE_FUNCTIONS(nn, pt.XI, pt.ETA, s);
      for (int k = 0; k < 6; ++k)
        for (int a = 0; a < nn; ++a)
          for (int b = 0; b < nn; ++b) kij(COL(a, k), COL(b, k)) += s.N[a] * s.N[b] * pt.V[k];
    }

    // Edge loads and stiffnesses, per unit length of the side.
    for (const auto& ed : m.EDGE_LOAD) {
      if (ed.ELEM != e) continue;
      const int k = ed.DOF - 1;
      SIDE_INTEGRAL(m, e, ed.SIDE, ed.V, [&](const SHAPE& sh, double ds, double v) {
        for (int a = 0; a < nn; ++a)
          if (!skip(v * lambda)) r[COL(a, k)] += sh.N[a] * v * lambda * ds;
      });
    }
    for (const auto& ed : m.EDGE_STIFF) {
      if (ed.ELEM != e) continue;
      const int k = ed.DOF - 1;
      SIDE_INTEGRAL(m, e, ed.SIDE, ed.V, [&](const SHAPE& sh, double ds, double v) {
        for (int a = 0; a < nn; ++a)
          for (int b = 0; b < nn; ++b) kij(COL(a, k), COL(b, k)) += sh.N[a] * sh.N[b] * v * ds;
      });
    }

    // Internal forces of the plate and the springs at u.
    for (int i = 0; i < nev; ++i) {
      double s = 0.0;
      for (int j = 0; j < nev; ++j) s += kij(i, j) * ue[j];
      r[i] -= s;
    }

    // Piles: the tangent spring on each node's diagonal block and the pile
    // force, shared in proportion to the shape functions at the pile point.
    if (coupled) {
      for (int ip = 0; ip < m.NCTSTI; ++ip) {
        const auto& pt = m.PILE_POINT[ip];
        if (pt.ELEM != e) continue;
        const int pile = ip + 1;
        SHAPE_FUNCTIONS(nn, pt.XI, pt.ETA, s);
        SLAB_VEC6 us{};
        for (int k = 0; k < 6; ++k)
          for (int a = 0; a < nn; ++a) us[k] += s.N[a] * ue[COL(a, k)];
        if (f.TRACE) WRITE_F(f.TRACE, "('DDD  ',7E13.5)", us[0], us[1], us[2], us[3], us[4], us[5]);
        const SLAB_VEC6 ug = SLAB_TO_GLOBAL(us);
        if (f.TRACE) WRITE_F(f.TRACE, "('DD2  ',7E13.5)", ug[0], ug[1], ug[2], ug[3], ug[4], ug[5]);
        SLAB_MAT6 Kg{};
        if (piles->STIFFNESS) NOTE_FAILURE(*piles, piles->STIFFNESS(piles->CTX, pile, ug, Kg));
        // Ks = T^t Kg T: T^t applied to the rows, then to the columns.
        SLAB_MAT6 TtK{}, Ks{};
        for (int c = 0; c < 6; ++c) {
          SLAB_VEC6 col{};
          for (int rr = 0; rr < 6; ++rr) col[rr] = Kg[rr][c];
          const SLAB_VEC6 tc = GLOBAL_TO_SLAB(col);
          for (int rr = 0; rr < 6; ++rr) TtK[rr][c] = tc[rr];
        }
        for (int rr = 0; rr < 6; ++rr) {
          // row rr of TtK times T: (x T)_j = sum_i x_i T_ij = (T^t x)_j
          const SLAB_VEC6 row = GLOBAL_TO_SLAB(TtK[rr]);
          Ks[rr] = row;
        }
        if (f.TRACE) {
          for (int rr = 0; rr < 6; ++rr) WRITE_ROW7(f.TRACE, "('SS2  ',I5,7E13.5)", rr + 1, TtK[rr].data());
          for (int rr = 0; rr < 6; ++rr) WRITE_ROW7(f.TRACE, "('SS   ',I5,7E13.5)", rr + 1, Ks[rr].data());
        }
        for (int a = 0; a < nn; ++a)
          for (int j = 0; j < 6; ++j)
            for (int k = 0; k < 6; ++k)
              if (!skip(Ks[j][k])) kij(COL(a, j), COL(a, k)) -= Ks[j][k] * s.N[a];
        SLAB_VEC6 Fg{};
        if (piles->RESPONSE) NOTE_FAILURE(*piles, piles->RESPONSE(piles->CTX, pile, ug, Fg));
        const SLAB_VEC6 Fs = GLOBAL_TO_SLAB(Fg);
        for (int a = 0; a < nn; ++a)
          for (int k = 0; k < 6; ++k)
            if (!skip(Fs[k])) r[COL(a, k)] += Fs[k] * s.N[a];
      }
    }

    if (residual)
      for (int a = 0; a < nn; ++a)
        for (int k = 0; k < 6; ++k) (*residual)[static_cast<size_t>(m.node(e, a + 1) - 1) * 6 + k] += r[COL(a, k)];
    if (std::fwrite(K.data(), sizeof(double), K.size(), f.ELEMENTS) != K.size() ||
        std::fwrite(r.data(), sizeof(double), r.size(), f.ELEMENTS) != r.size())
      return ST_OUTPUT_FILE;
  }
  std::fflush(f.ELEMENTS);
  return 0;
}

}  // namespace kestra
