// Evaluation of the input p-y curves of a pile group (the user curve sets,
// Table G) in place of the generated curves: a group with a p-y curve set
// >= 1 when the run asks for input curves.
//
// A set holds curves in depth order, each at an X coordinate, its points
// (p, y) with y increasing. A node takes the curve at its exact coordinate,
// or interpolates the secant moduli of the two curves around it by
// coordinate; above the first curve it takes the first curve, below the last
// the last one (PILE_WORK::PY_BEYOND_CURVES is then set, for the solver's
// warning).
#pragma once

#include "engine/run.h"
#include "pile/pile_work.h"

namespace kestra {

// True when group g's lateral springs come from its input p-y curve set.
bool USES_INPUT_PY(const STORE& s, int g);

// Fills ESOIL, PSOIL (and PMOVE with soil movement) of nodes 0..N of the pile
// in w (group w.group, coordinates w.X) from the deflections w.DEFL.
//   deflection used: |y| (|y - s| with soil movement), at least 1e-14;
//   p on a curve: linear between its points, from the origin to the first
//     point, the last point's p beyond the last point;
//   ESOIL = p*P/(y*Y) times Pd/Yd where depth factors apply (P, Y the
//     group's multipliers, Pd, Yd the depth factors at the node);
//   PSOIL = p*P*Pd of the deeper curve, negative when y > s.
// Returns ST_OK; ST_DECK_REFERENCE when the group's set does not exist or
// holds no curve; ST_BAD_PROPERTY (with a fatal message) when the group's
// y-multiplier or a depth y-factor is not positive, which would divide by zero.
int INPUT_PY_EVALUATE(RUN& run, PILE_WORK& w);

}  // namespace kestra
