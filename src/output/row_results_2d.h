// Results of one pile row of a 2D analysis after its lateral solution, in a
// printing pass (PASS_FLAG 1: the head tables in global and pile axes, the
// extreme values, the head envelope, the results table along the pile in
// the results table file and, with print level 2, in the report) or an
// equivalent-stiffness pass (PASS_FLAG 2: the pile stiffness file).
//
// The global head forces are the row's local head forces (P, V, M) carried
// to the origin by the row's 3 x 3 transfer matrix: the moment printed is
// about the origin, not about the head.
#pragma once

#include <array>

#include "engine/run.h"

namespace kestra {

// Row g, local head displacement u (axial, lateral, rotation; 1-based) and
// local head forces f = (P, V, M) of one pile of the row, from the working
// arrays of STORE::an.work. Negates BMOM along the pile in place (the
// recorded moment is EI*y''); the caller takes its head moment first.
void RECORD_ROW_2D(RUN& run, int g, const std::array<double, 4>& u, const std::array<double, 4>& f);

}  // namespace kestra
