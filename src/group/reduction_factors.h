// p-multipliers of closely spaced piles. Every pile of the foundation (each
// of the NO_OF_PILE piles of a 2D row, each 3D pile) is placed in plan in
// pile widths; every pile's factor is the product of its pair factors with
// all the others (side by side, in line leading or trailing, or skewed, by
// the distance and the sense of the movement), and a group's p-multiplier is
// the mean over its piles. The y-multiplier of an estimated group is 1.0.
//
// REDUCTION_FACTORS_Y serves movement along Y (2D and 3D): it sets the
// plane's pair P_FACTOR / Y_FACTOR, and in 3D the Y pair P_FACTOR_Y /
// Y_FACTOR_Y as well. REDUCTION_FACTORS_Z serves movement along Z and sets
// P_FACTOR_Z / Y_FACTOR_Z. sigma is the sense of the movement (a negative
// value: towards -Y or -Z; otherwise +1).
//
// The pile width D is the diameter of the cross section of the first pile
// section of the first group's property; a width that is not positive (or a
// group whose property or section does not exist) fails with
// ST_BAD_PROPERTY, since every distance is measured in widths.
//
// Two piles at the same position (|du| and |dw| below 1.0E-5 widths) have no
// defined pair factor: the pair is taken as two piles side by side one width
// apart (0.64), the closest piles can stand, rather than a factor of zero
// that would remove all lateral resistance of both groups. The number of such
// pairs is returned in COINCIDENT; with 'warn' set, a warning naming the
// first pair goes to the report and the runtime file.
//
// In 2D the working list of piles is sized by the actual number of piles (a
// row may stand for many piles, beyond the 2000-group limit), at most 20000
// (ST_DECK_LIMIT beyond). In 3D each group is one pile read in place and
// nothing is allocated: the short forms REDUCTION_FACTORS_Y(run, sigma) and
// REDUCTION_FACTORS_Z(run, sigma) serve the update inside the 3D cap
// iteration and write no warning (the echo's estimate gave it once).
#pragma once

#include <vector>

#include "engine/run.h"

namespace kestra {

struct REDUCTION_WORK {
  std::vector<double> U;      // 2D: each pile's coordinate along the movement
  std::vector<double> W;      // 2D: across it
  std::vector<int> GROUP;     // 2D: the row of each pile
  int COINCIDENT = 0;         // coincident pairs found by the last call
  double WIDTH = 0.0;         // D of the last call
};

int REDUCTION_FACTORS_Y(RUN& run, int sigma, REDUCTION_WORK& work, bool warn = true);
int REDUCTION_FACTORS_Z(RUN& run, int sigma, REDUCTION_WORK& work, bool warn = true);
int REDUCTION_FACTORS_Y(RUN& run, int sigma);
int REDUCTION_FACTORS_Z(RUN& run, int sigma);

// The pair factor of pile i relative to pile j, du = u_i - u_j and
// dw = w_i - w_j in widths, for movement of sense sigma. Coincident piles
// give the side-by-side factor at one width.
double PAIR_FACTOR(double du, double dw, int sigma);

// The pile width D used for the estimate (0 when it cannot be found).
double REDUCTION_PILE_WIDTH(const STORE& s);

}  // namespace kestra
