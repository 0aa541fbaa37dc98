// The p-y evaluation the lateral pile solutions call every iteration, and
// the node-to-layer assignment and soil-movement lookups they call when the
// nodes of a pile are laid out.
//
// Nodes: the pile of PILE_WORK has nodes m = 0 (head) .. N (tip), node m in
// entry NODE(m) of the node arrays. The layer walk counts nodes j = 1 .. N+1
// from the head (j = m + 1); NFIRST and NLAST hold those numbers.
//
// Evaluation: GENERATE_PY reads the deflection of every node from
// PILE_WORK::DEFL (the plane deflection in a one-plane solution, the
// resultant of the two planes in the biaxial solution) and fills ESOIL,
// PSOIL, PMOVE and CAP_P. It allocates nothing and writes no file unless a
// warning or a tabulation asks for it.
#pragma once

#include "engine/run.h"
#include "pile/pile_work.h"

namespace kestra {

// Evaluates (or, with tabulation on, tabulates) the generated p-y curves of
// the pile in w, group w.group and property w.property. Returns the status:
// 0, or one of 21 to 24 and 28 to 31; a nonzero status leaves the remaining
// layers unprocessed.
int GENERATE_PY(RUN& run, PILE_WORK& w);

// The pile rule: fills w.NFIRST and w.NLAST of every layer from the node
// coordinates w.X of nodes 0..w.N.
void ASSIGN_LAYER_NODES(const RUN& run, PILE_WORK& w);

// Soil movement of the current load at every node, directions y and z,
// into w.SOIL_MOVE_Y and w.SOIL_MOVE_Z.
void SOIL_MOVEMENT_Y(const RUN& run, PILE_WORK& w);
void SOIL_MOVEMENT_Z(const RUN& run, PILE_WORK& w);

// The request rule: a one-node pile at coordinate x (node 1) is given to
// the layer whose bottom lies below x; a coordinate exactly at a layer
// bottom goes to the layer below, one at or below the deepest bottom to no
// layer. Fills w.NFIRST and w.NLAST.
void ASSIGN_REQUEST_NODES(const RUN& run, PILE_WORK& w, double x);

// Lays out the one-node pile of a tabulated curve at coordinate x for group
// g: node 0 at x, node 1 one spacing further, the layer by the request rule.
void SET_ONE_NODE_PILE(const RUN& run, PILE_WORK& w, int group, double x);

}  // namespace kestra
