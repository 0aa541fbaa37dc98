// Equivalent stiffness of the whole foundation at the origin (load cases with
// STIFFNESS_DATA >= 11), at load levels or at target deflections.
//
// For every point the foundation is solved at the scaled load (or at the
// load factor that gives the target displacement, found by secant steps on
// the displacement-factor history); the piles then write their secant
// stiffnesses to the pile stiffness file; every pile is rebuilt from them as
// a linear beam on springs, its head stiffness is condensed from the tip and
// carried to the origin, and the sum is printed.
#pragma once

#include "engine/run.h"

namespace kestra {

// Case set-up (the levels are in STORE::an): the pile node results heading.
// Returns the number of points (levels less the twelve parameters).
int FOUNDATION_SETUP(RUN& run, int m);

// Point p of load case m. Returns the run status.
int FOUNDATION_POINT(RUN& run, int m, int p);

// Called by the cap solutions at their end in the target-deflection mode.
// failure: the case results line of a failed solution, or nullptr. Returns
// the run status of the equivalent-stiffness pass over the piles.
int TARGET_MODE_END(RUN& run, const char* failure, const VEC6& load, const VEC6& disp, const MAT6& K, int ndof);

// The next load factor of the target iteration from the history of
// (displacement, factor) pairs, n pairs, kept sorted by displacement (the
// newest pair, the last one, is inserted first). T is the target.
double NEXT_FACTOR(double* D, double* F, int n, double T);

// Head stiffness of a pile modelled as beam elements of length h on node
// springs s[1..N] (node 1 at the head), bending rigidities ei1[1..N],
// ei2[1..N] (3D), axial head force P (geometric stiffness when geometric).
// Output K (1-based, 6x6 in 3D over axial, lateral y, lateral z, twist,
// rotation about y, rotation about z; 3x3 in 2D over axial, lateral,
// rotation) before the head connection and the axial and twist terms.
void CONDENSED_HEAD_STIFFNESS(bool three_d, int N, double h, const double* s, const double* ei1, const double* ei2,
                              double P, bool geometric, MAT6& K);

// The connection of the pile head in one plane applied to the head stiffness
// S (n slots): rotation slot r, lateral slot l, connection code (1 pinned,
// 2 fixed, 3 rotational restraint k; 3 with k = 0 is pinned).
void HEAD_CONNECTION(MAT6& S, int n, int code, double k, int r, int l);

}  // namespace kestra
