// Frontal solution of the assembled plate equations. Only the front (the
// equations of the degrees of freedom active at one time, as the upper
// triangle of a symmetric matrix) is held in memory; the element records
// stream from the element scratch file and every eliminated equation is
// written to the equation scratch file, to be read back in reverse order by
// the back-substitution.
#include <cmath>
#include <vector>

#include "engine/format.h"
#include "engine/status.h"
#include "slab/plate_elements.h"

namespace kestra {

namespace {

// One eliminated equation: its degree of freedom, its front position, the
// fixed flag and value, its right-hand side, and the front row with the
// degree of freedom held at every position (-1 for a free position).
struct EQUATION_IO {
  FILE* fp;
  int front;
  std::vector<double> row;
  std::vector<int> dof;
  size_t record_bytes() const { return 2 * sizeof(int) + 2 * sizeof(double) + front * (sizeof(double) + sizeof(int)); }
};

bool WRITE_EQUATION(EQUATION_IO& io, int g, int pos, int fixed, double value, double rhs) {
  const int head[2] = {g, pos * 2 + fixed};
  const double vals[2] = {value, rhs};
  return std::fwrite(head, sizeof(int), 2, io.fp) == 2 && std::fwrite(vals, sizeof(double), 2, io.fp) == 2 &&
         std::fwrite(io.row.data(), sizeof(double), io.front, io.fp) == static_cast<size_t>(io.front) &&
         std::fwrite(io.dof.data(), sizeof(int), io.front, io.fp) == static_cast<size_t>(io.front);
}

bool READ_EQUATION(EQUATION_IO& io, long index, int& g, int& pos, int& fixed, double& value, double& rhs) {
  if (std::fseek(io.fp, index * static_cast<long>(io.record_bytes()), SEEK_SET) != 0) return false;
  int head[2];
  double vals[2];
  if (std::fread(head, sizeof(int), 2, io.fp) != 2 || std::fread(vals, sizeof(double), 2, io.fp) != 2 ||
      std::fread(io.row.data(), sizeof(double), io.front, io.fp) != static_cast<size_t>(io.front) ||
      std::fread(io.dof.data(), sizeof(int), io.front, io.fp) != static_cast<size_t>(io.front))
    return false;
  g = head[0];
  pos = head[1] / 2;
  fixed = head[1] % 2;
  value = vals[0];
  rhs = vals[1];
  return true;
}

}  // namespace

int FRONTAL_SOLVE(const SLAB_MODEL& m, const SLAB_FILES& f, const std::vector<double>& fixed_du,
                  std::vector<double>& du, std::vector<double>& reactions) {
  const int nn = m.NNODE, nev = m.NEVAB, F = m.FRONT_SIZE;
  const size_t ndof = static_cast<size_t>(m.NPOIN) * 6;
  if (!f.ELEMENTS || !f.EQUATIONS) return ST_OUTPUT_FILE;
  du.assign(ndof, 0.0);
  reactions.assign(ndof, 0.0);

  std::vector<char> fixed(ndof, 0);
  for (const auto& fx : m.FIX)
    for (int k = 0; k < 6; ++k)
      if (fx.CODE[k] == 1) fixed[static_cast<size_t>(fx.NODE - 1) * 6 + k] = 1;

  // Front: upper triangle, position i <= j at i * F - i (i - 1) / 2 + (j - i).
  std::vector<double> A(static_cast<size_t>(F) * (F + 1) / 2, 0.0), rhs(F, 0.0);
  auto at = [&](int i, int j) -> double& {
    if (i > j) std::swap(i, j);
    return A[static_cast<size_t>(i) * F - static_cast<size_t>(i) * (i - 1) / 2 + (j - i)];
  };
  std::vector<int> front_dof(F, -1);
  std::vector<int> pos_of(ndof, -1);

  EQUATION_IO io{f.EQUATIONS, F, std::vector<double>(F), std::vector<int>(F)};
  std::rewind(f.ELEMENTS);
  std::rewind(f.EQUATIONS);
  std::vector<double> K(static_cast<size_t>(nev) * nev), r(nev);
  std::vector<int> local_pos(nev);
  long written = 0;

  for (int e = 1; e <= m.NELEM; ++e) {
    if (std::fread(K.data(), sizeof(double), K.size(), f.ELEMENTS) != K.size() ||
        std::fread(r.data(), sizeof(double), r.size(), f.ELEMENTS) != r.size())
      return ST_OUTPUT_FILE;
    // Positions of the element's degrees of freedom in the front.
    for (int a = 0; a < nn; ++a)
      for (int k = 0; k < 6; ++k) {
        const size_t g = static_cast<size_t>(m.node(e, a + 1) - 1) * 6 + k;
        if (pos_of[g] < 0) {
          int p = 0;
          while (p < F && front_dof[p] >= 0) ++p;
          if (p == F) return ST_SLAB_STOP;  // front width beyond FRONT_SIZE: prevented by the mesh check
          pos_of[g] = p;
          front_dof[p] = static_cast<int>(g);
        }
        local_pos[6 * a + k] = pos_of[g];
      }
    // Assembly (upper triangle of the front).
    for (int i = 0; i < nev; ++i) {
      const int pi = local_pos[i];
      rhs[pi] += r[i];
      for (int j = 0; j < nev; ++j)
        if (local_pos[j] >= pi) at(pi, local_pos[j]) += K[static_cast<size_t>(i) * nev + j];
    }
    // Eliminate the degrees of freedom of the nodes last seen here.
    for (int a = 0; a < nn; ++a) {
      const int node = m.node(e, a + 1);
      if (m.NODE_LAST[node] != e) continue;
      for (int k = 0; k < 6; ++k) {
        const size_t g = static_cast<size_t>(node - 1) * 6 + k;
        const int p = pos_of[g];
        for (int q = 0; q < F; ++q) {
          io.dof[q] = front_dof[q];
          io.row[q] = front_dof[q] >= 0 ? at(p, q) : 0.0;
        }
        const double pivot = at(p, p);
        if (fixed[g]) {
          const double v = fixed_du[g];
          if (!WRITE_EQUATION(io, static_cast<int>(g), p, 1, v, rhs[p])) return ST_OUTPUT_FILE;
          for (int q = 0; q < F; ++q)
            if (q != p && front_dof[q] >= 0) rhs[q] -= at(q, p) * v;
        } else {
          if (pivot == 0.0) {
            if (f.LISTING)
              WRITE_F(f.LISTING, "(' ',3X,'NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO. ',I4,' OF VALUE ',E17.6)",
                      static_cast<long long>(g + 1), pivot);
            return ST_SLAB_STOP;
          }
          if (!WRITE_EQUATION(io, static_cast<int>(g), p, 0, 0.0, rhs[p])) return ST_OUTPUT_FILE;
          for (int q = 0; q < F; ++q) {
            if (q == p || front_dof[q] < 0) continue;
            const double factor = at(q, p) / pivot;
            if (std::fabs(factor) < 1.0E-30) continue;
            for (int c = q; c < F; ++c)
              if (c != p && front_dof[c] >= 0) at(q, c) -= factor * io.row[c];
            rhs[q] -= factor * rhs[p];
          }
        }
        for (int q = 0; q < F; ++q) at(p, q) = 0.0;
        rhs[p] = 0.0;
        front_dof[p] = -1;
        ++written;
      }
    }
  }
  std::fflush(f.EQUATIONS);

  // Back-substitution, last equation first.
  for (long i = written - 1; i >= 0; --i) {
    int g, p, fx;
    double v, b;
    if (!READ_EQUATION(io, i, g, p, fx, v, b)) return ST_OUTPUT_FILE;
    double s = 0.0;
    for (int q = 0; q < F; ++q)
      if (q != p && io.dof[q] >= 0) s += io.row[q] * du[io.dof[q]];
    if (fx) {
      du[g] = v;
      reactions[g] = s + io.row[p] * v - b;
    } else {
      du[g] = (b - s) / io.row[p];
    }
  }
  return 0;
}

}  // namespace kestra
