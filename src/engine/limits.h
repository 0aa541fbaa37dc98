// Table sizes of the model store. Every table of the engine is sized by one
// of these; the front end writes decks within them, and the input reader
// refuses a count above any of them before it writes a single entry.
#pragma once

namespace kestra {

// Load cases: the front end numbers cases in a two-digit field of its own
// tables plus one, and the per-case control block is stored for each.
inline constexpr int MAX_LOAD_CASES = 100;
// Concentrated loads of one load case (9 reals each).
inline constexpr int MAX_CONC_LOADS = 100;
// Distributed loads of one load case (7 integers, 2 reals each).
inline constexpr int MAX_DIST_LOADS = 100;
// Foundation stiffness values of one case: up to 13 levels and the twelve
// parameters of the target-deflection form.
inline constexpr int MAX_STIFF_LEVELS = 25;
// Load combinations, and the (case, factor) entries of one combination.
inline constexpr int MAX_LOAD_COMBS = 100;
inline constexpr int MAX_COMB_CASES = 100;
// Envelope selection flags of a case or combination.
inline constexpr int MAX_ENVELOPE_FLAGS = 25;
// Distributed-load sets and the (distance, load) points of one set.
inline constexpr int MAX_DLOAD_SETS = 2000;
inline constexpr int MAX_DLOAD_POINTS = 101;
// Pile groups (2D rows or 3D piles); the per-pile arrays hold one more
// entry, used for the pile cap.
inline constexpr int MAX_PILES = 2000;
inline constexpr int MAX_PILE_ENTRIES = MAX_PILES + 1;
// Increments along a pile: nodes 0..INC, at most 100 increments.
inline constexpr int MAX_INCREMENTS = 100;
inline constexpr int MAX_NODES = MAX_INCREMENTS + 1;
// Node arrays carry four imaginary nodes above the head and two below the
// tip for the five-band difference equations: node m is entry m + 4.
inline constexpr int NODE_OFFSET = 4;
inline constexpr int NODE_ARRAY = MAX_INCREMENTS + 7;  // 107 entries
// Pile property sets and the sections of one property.
inline constexpr int MAX_PROPERTIES = 50;
inline constexpr int MAX_SECTIONS = 20;
// Cross sections (36 reals: 18 at the top, 18 at the bottom).
inline constexpr int MAX_XSECTIONS = 100;
inline constexpr int XSEC_VALUES = 18;
// Moment-curvature sets: up to 20 curves (by axial force) of 150 points.
// Two descriptions of the table disagree (20 and 50 sets); it is sized by
// the larger so that neither form of deck overflows.
inline constexpr int MAX_MC_SETS = 50;
inline constexpr int MAX_MC_CURVES = 20;
inline constexpr int MAX_MC_POINTS = 150;
// Soil layers. The profile holds a top and a bottom point per layer.
// Layer tables are sized 29 (the larger of the two counts in use) while the
// reader accepts at most 20 layers.
inline constexpr int MAX_LAYERS = 20;
inline constexpr int LAYER_TABLE = 29;
inline constexpr int MAX_PROFILE_POINTS = 2 * LAYER_TABLE;
inline constexpr int SOIL_PROPERTIES = 9;
// Requested p-y curves and their deflections.
inline constexpr int MAX_PY_PRINT = 50;
inline constexpr int MAX_PY_DEFLECTIONS = 25;
// User p-y curve sets (curves per set and points per curve: the same
// bounds as the other user curve tables).
inline constexpr int MAX_PY_SETS = 50;
inline constexpr int MAX_PY_CURVES = 50;
inline constexpr int MAX_PY_POINTS = 50;
// User axial load-displacement and torque-rotation curves.
inline constexpr int MAX_LS_CURVES = 50;
inline constexpr int MAX_LS_POINTS = 50;
inline constexpr int MAX_TR_CURVES = 50;
inline constexpr int MAX_TR_POINTS = 50;
// Depth reduction-factor sets and their points.
inline constexpr int MAX_RF_SETS = 100;
inline constexpr int MAX_RF_POINTS = 50;
// Soil movement points.
inline constexpr int MAX_SM_POINTS = 20;
// Deflections of the curve data file lists.
inline constexpr int MAX_CURVE_DEFL = 25;
// Generated pile-head curves: 19 points, the origin at point 10.
inline constexpr int HEAD_CURVE_POINTS = 19;

// Files of Names.dat and the longest name kept.
inline constexpr int NAMES_RECORDS = 25;
inline constexpr int NAME_LENGTH = 256;

static_assert(MAX_LAYERS <= LAYER_TABLE, "layer tables must hold every layer");
static_assert(NODE_ARRAY == MAX_NODES + NODE_OFFSET + 2, "two imaginary nodes below the tip");

}  // namespace kestra
