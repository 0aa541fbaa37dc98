// p-multipliers of closely spaced piles (see group/reduction_factors.h), and
// the estimate that the echo of Table K asks for.
#include "group/reduction_factors.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/report.h"
#include "group/loads.h"
#include "input/soils_hooks.h"

namespace kestra {

namespace {

// Below this offset along the movement two piles stand side by side; below
// the second, across it, they stand in line.
constexpr double SIDE_BY_SIDE_TOL = 1.0E-5;
constexpr double IN_LINE_TOL = 1.0E-6;
// Piles closer than this in both directions stand at the same position.
constexpr double COINCIDENT_TOL = 1.0E-5;
// Beyond these distances (widths) piles do not shadow one another.
constexpr double SIDE_BY_SIDE_REACH = 5.0;
constexpr double REACH = 8.0;
// The pair factors are evaluated for every pair of piles: a foundation of
// 20000 piles (rows standing for many piles each) is some 2E8 pairs, about a
// second. A deck beyond it is refused rather than left to run for hours.
constexpr int MAX_ESTIMATE_PILES = 20000;

double side_by_side(double s) { return std::min(0.64 * std::pow(s, 0.34), 1.0); }
double leading(double s) { return std::min(0.70 * std::pow(s, 0.26), 1.0); }
double trailing(double s) { return std::min(0.48 * std::pow(s, 0.38), 1.0); }

// Across-plane offset of pile k (1-based) of a 2D row of n piles at spacing
// S: spread symmetrically about the plane.
double row_offset(int n, int k, double S) {
  if (n % 2 == 1) {
    if (k == 1) return 0.0;
    return (k % 2 == 0) ? S * k / 2.0 : -S * (k - 1) / 2.0;
  }
  return (k % 2 == 1) ? S * k / 2.0 : -S * (k / 2.0 - 0.5);
}

int piles_of_group(const STORE& s, int g) {
  if (s.ctl.ANALYSIS_TYPE == 3) return 1;
  return std::max(s.piles.NO_OF_PILE[g], 0);
}

int width_fault(RUN& run) {
  return FATAL(run, ST_BAD_PROPERTY,
               "INPUT DATA ERROR: REDUCTION FACTORS FOR CLOSELY-SPACED PILES: the width of the first pile section "
               "of group 1 (its cross-section diameter) is not positive; distances are measured in pile widths");
}

// 2D: every pile of every row, spread across the plane, into the working
// list (u and w not yet in widths).
int place_row_piles(RUN& run, bool along_z, REDUCTION_WORK& w) {
  const STORE& s = run.store;
  const PILE_DATA& p = s.piles;
  long long total = 0;
  for (int g = 1; g <= p.NPILES; ++g) total += piles_of_group(s, g);
  if (total > MAX_ESTIMATE_PILES)
    return FATAL(run, ST_DECK_LIMIT,
                 "INPUT DATA ERROR: REDUCTION FACTORS FOR CLOSELY-SPACED PILES: the groups of the arrangement stand "
                 "for " + std::to_string(total) + " piles (sum of NO_OF_PILE), above the limit of " +
                     std::to_string(MAX_ESTIMATE_PILES) + " for the estimate");
  const auto n = static_cast<std::size_t>(total);
  w.U.resize(n);
  w.W.resize(n);
  w.GROUP.resize(n);
  std::size_t i = 0;
  for (int g = 1; g <= p.NPILES; ++g) {
    const int ng = piles_of_group(s, g);
    for (int k = 1; k <= ng; ++k, ++i) {
      const double horizontal = p.PILE_Y[g];
      const double across = row_offset(ng, k, p.ROW_SPACING[g]);
      w.U[i] = along_z ? across : horizontal;
      w.W[i] = along_z ? horizontal : across;
      w.GROUP[i] = g;
    }
  }
  return ST_OK;
}

struct PLACE {
  double u, w;  // raw coordinates along and across the movement
  int group;
};

// Pile factors of the n piles that 'at' places, and their means per group
// into p_out / y_out (and, when given, into a second pair).
template <class AT>
void pile_factors(RUN& run, std::size_t n, AT at, int sigma, REDUCTION_WORK& w, bool warn,
                  PILE_ARRAY<double>& p_out, PILE_ARRAY<double>& y_out, PILE_ARRAY<double>* p_also,
                  PILE_ARRAY<double>* y_also) {
  const PILE_DATA& p = run.store.piles;
  const double D = w.WIDTH;
  const double u1 = n > 0 ? at(0).u : 0.0;
  w.COINCIDENT = 0;
  std::size_t first_i = 0, first_j = 0;
  int first_gi = 0, first_gj = 0;
  for (int g = 1; g <= p.NPILES; ++g) p_out[g] = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const PLACE pi = at(i);
    const double ui = (pi.u - u1) / D, wi = pi.w / D;
    double F = 1.0;
    for (std::size_t j = 0; j < n; ++j) {
      if (j == i) continue;
      const PLACE pj = at(j);
      const double du = ui - (pj.u - u1) / D;
      const double dw = wi - pj.w / D;
      if (std::fabs(du) > REACH || std::fabs(dw) > REACH) continue;  // factor 1
      if (j > i && std::fabs(du) < COINCIDENT_TOL && std::fabs(dw) < COINCIDENT_TOL) {
        if (w.COINCIDENT == 0) first_i = i, first_j = j, first_gi = pi.group, first_gj = pj.group;
        ++w.COINCIDENT;
      }
      F *= PAIR_FACTOR(du, dw, sigma);
    }
    p_out[pi.group] += F;
  }
  for (int g = 1; g <= p.NPILES; ++g) {
    const int ng = piles_of_group(run.store, g);
    p_out[g] = ng > 0 ? p_out[g] / ng : 1.0;
    y_out[g] = 1.0;
    if (p_also) (*p_also)[g] = p_out[g];
    if (y_also) (*y_also)[g] = 1.0;
  }
  if (warn && w.COINCIDENT > 0)
    WARN_BOTH(run, "PILES " + std::to_string(first_i + 1) + " AND " + std::to_string(first_j + 1) + " (GROUPS " +
                       std::to_string(first_gi) + " AND " + std::to_string(first_gj) +
                       ") STAND AT THE SAME POSITION; " + std::to_string(w.COINCIDENT) +
                       " SUCH PAIR(S) TAKEN AS SIDE BY SIDE ONE WIDTH APART");
}

// The estimate for one direction. In 3D every group is one pile at its own
// coordinates and nothing is allocated; in 2D the rows are spread into the
// working list first.
int estimate(RUN& run, bool along_z, int sigma, REDUCTION_WORK& w, bool warn, PILE_ARRAY<double>& p_out,
             PILE_ARRAY<double>& y_out, PILE_ARRAY<double>* p_also, PILE_ARRAY<double>* y_also) {
  const STORE& s = run.store;
  const PILE_DATA& p = s.piles;
  w.WIDTH = REDUCTION_PILE_WIDTH(s);
  if (!(w.WIDTH > 0.0)) return width_fault(run);
  if (s.ctl.ANALYSIS_TYPE == 3) {
    auto at = [&p, along_z](std::size_t i) {
      const int g = static_cast<int>(i) + 1;
      return along_z ? PLACE{p.PILE_Z[g], p.PILE_Y[g], g} : PLACE{p.PILE_Y[g], p.PILE_Z[g], g};
    };
    pile_factors(run, static_cast<std::size_t>(std::max(p.NPILES, 0)), at, sigma, w, warn, p_out, y_out, p_also,
                 y_also);
    return ST_OK;
  }
  if (const int st = place_row_piles(run, along_z, w)) return st;
  auto at = [&w](std::size_t i) { return PLACE{w.U[i], w.W[i], w.GROUP[i]}; };
  pile_factors(run, w.U.size(), at, sigma, w, warn, p_out, y_out, p_also, y_also);
  return ST_OK;
}

}  // namespace

double PAIR_FACTOR(double du, double dw, int sigma) {
  const double adu = std::fabs(du), adw = std::fabs(dw);
  if (adu < SIDE_BY_SIDE_TOL) {
    if (adw < COINCIDENT_TOL) return side_by_side(1.0);
    return adw > SIDE_BY_SIDE_REACH ? 1.0 : side_by_side(adw);
  }
  const double sense = sigma < 0 ? -1.0 : 1.0;
  if (adw < IN_LINE_TOL) {
    if (adu > REACH) return 1.0;
    return du * sense > 0.0 ? leading(adu) : trailing(adu);
  }
  const double s = std::sqrt(du * du + dw * dw);
  if (s > REACH) return 1.0;
  const double phi = std::atan(adw / adu);
  const double beta_s = side_by_side(s);
  const double beta_l = du * sense < 0.0 ? trailing(s) : leading(s);
  const double a = beta_l * std::cos(phi), b = beta_s * std::sin(phi);
  return std::min(std::sqrt(a * a + b * b), 1.0);
}

double REDUCTION_PILE_WIDTH(const STORE& s) {
  const PILE_DATA& p = s.piles;
  if (p.NPILES < 1) return 0.0;
  const int prop = p.PILE_PROP[1];
  if (prop < 1 || prop > p.NPROP || prop > MAX_PROPERTIES) return 0.0;
  const PILE_PROPERTY& pr = p.PROP[prop];
  if (pr.NSECT < 1) return 0.0;
  const int x = pr.SECT[1].CROSS_SECT;
  if (x < 1 || x > p.NXSEC || x > MAX_XSECTIONS) return 0.0;
  return p.XSEC[x].TOP[XS_DIAMETER];
}

int REDUCTION_FACTORS_Y(RUN& run, int sigma, REDUCTION_WORK& work, bool warn) {
  PILE_DATA& p = run.store.piles;
  if (run.store.ctl.ANALYSIS_TYPE == 3)
    return estimate(run, false, sigma, work, warn, p.P_FACTOR_Y, p.Y_FACTOR_Y, &p.P_FACTOR, &p.Y_FACTOR);
  return estimate(run, false, sigma, work, warn, p.P_FACTOR, p.Y_FACTOR, nullptr, nullptr);
}

int REDUCTION_FACTORS_Z(RUN& run, int sigma, REDUCTION_WORK& work, bool warn) {
  PILE_DATA& p = run.store.piles;
  return estimate(run, true, sigma, work, warn, p.P_FACTOR_Z, p.Y_FACTOR_Z, nullptr, nullptr);
}

// The updates inside the cap iteration: no warning (the echo gave it), and
// in 3D nothing allocated.
int REDUCTION_FACTORS_Y(RUN& run, int sigma) {
  REDUCTION_WORK work;
  return REDUCTION_FACTORS_Y(run, sigma, work, false);
}

int REDUCTION_FACTORS_Z(RUN& run, int sigma) {
  REDUCTION_WORK work;
  return REDUCTION_FACTORS_Z(run, sigma, work, false);
}

// Table K, options 1 and 3: the sense of the movement from the first load
// case's lateral resultant (option 1; +1 without load cases) or from the
// defined movements (option 3), then the estimate for each direction.
int ECHO_HOOK_SPACING_FACTORS(RUN& run, SPACING_ESTIMATE& est) {
  est = SPACING_ESTIMATE{};
  STORE& s = run.store;
  if (s.piles.NPILES < 1) return ST_OK;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  int sigma_y = 1, sigma_z = 1;
  if (s.ctl.SPACING_REDUCTION == 1) {
    if (s.loads.NLC >= 1) {
      CASE_RESULTANT(s, 1);
      sigma_y = s.loads.EQ_LOAD[2] < 0.0 ? -1 : 1;
      sigma_z = s.loads.EQ_LOAD[3] < 0.0 ? -1 : 1;
      s.loads.EQ_LOAD.fill(0.0);
    }
  } else {
    sigma_y = s.ctl.GROUP_MOVE_Y < 0.0 ? -1 : 1;
    sigma_z = s.ctl.GROUP_MOVE_Z < 0.0 ? -1 : 1;
  }
  REDUCTION_WORK work;
  int st = REDUCTION_FACTORS_Y(run, sigma_y, work, true);
  // The same piles stand at the same places for Z: warned once.
  if (st == ST_OK && three_d) st = REDUCTION_FACTORS_Z(run, sigma_z, work, false);
  est.PILE_DIAMETER = work.WIDTH;
  return st;
}

}  // namespace kestra
