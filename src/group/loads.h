// Applied loads of a load case or combination: the equivalent concentrated
// load at the origin (EQ_LOAD) and the distributed loads along every pile
// (DLOAD_NODES, DLOAD_DIST, DLOAD_Y, DLOAD_Z, AXIAL_HEAD_LOAD,
// HEAD_AXIAL_FLAG), all kept in STORE::loads (input/load_data.h).
//
// Order for a load case c:   CASE_RESULTANT(c), CASE_DIST_LOADS(c), ADD_AXIAL_HEAD_LOADS().
// Order for a combination k: COMB_RESULTANT(k), COMB_DIST_LOADS(k), ADD_AXIAL_HEAD_LOADS().
// ADD_AXIAL_HEAD_LOADS reads what the distributed loads of the same case or
// combination left, so it must come after them.
//
// The distributed loads need the pile arrays that the arrangement and
// property echo derives (head coordinates, angles in radians, increments,
// lengths); the resultants need only the load tables.
//
// None of these can fail: a case, combination or set number outside its
// table contributes nothing.
#pragma once

#include "engine/store.h"

namespace kestra {

// EQ_LOAD = the resultant at the origin of the concentrated loads of load
// case c, times its SCALE_FACTOR. 2D uses slots 1, 2 and 6 only.
void CASE_RESULTANT(STORE& s, int c);

// EQ_LOAD = the sum over the entries (c, f) of combination k of f times
// CASE_RESULTANT(c).
void COMB_RESULTANT(STORE& s, int k);

// Zeroes AXIAL_HEAD_LOAD, DLOAD_NODES, DLOAD_Y and DLOAD_Z of every pile
// (DLOAD_DIST is rewritten for every pile that receives a load).
void CLEAR_DIST_LOADS(STORE& s);

// Adds the distributed loads of load case c, times f, to the per-pile arrays
// (and, for global loads with the case's head-axial option, their axial
// component to AXIAL_HEAD_LOAD, setting HEAD_AXIAL_FLAG).
void APPLY_DIST_LOADS(STORE& s, int c, double f);

// The distributed loads of load case c (factor SCALE_FACTOR) or of
// combination k (factor SCALE_FACTOR of each case times the entry's factor),
// from cleared arrays and HEAD_AXIAL_FLAG = 0.
void CASE_DIST_LOADS(STORE& s, int c);
void COMB_DIST_LOADS(STORE& s, int k);

// Adds the pile-head axial loads (when HEAD_AXIAL_FLAG is set), and their
// moments about the origin, to EQ_LOAD.
void ADD_AXIAL_HEAD_LOADS(STORE& s);

// The load per unit length of distributed-load set 'set' at distance d from
// the pile head: linear between the points, 0 outside them, 0 for a set
// number of 0 or less (or beyond the table) and for a set of fewer than two
// points.
double DLOAD_AT_DEPTH(const STORE& s, int set, double d);

}  // namespace kestra
