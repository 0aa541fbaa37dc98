// Model-store tables of the pile input sections: the pile cap, the
// arrangement of pile groups with the per-pile arrays the analysis reads,
// the pile property sets with their pile sections, the cross sections and
// the moment-curvature sets. Filled by the input reader
// (input/read_piles.cpp); the derived values are completed by the echo of
// the arrangement (Table D) and of the properties (Table E).
// Every table is 1-based (entry 0 unused).
#pragma once

#include <array>

#include "engine/limits.h"

namespace kestra {

// Positions of the 18 values of a cross section (top or bottom), in the order
// of its records: eight dimensions, then the structural properties.
enum XSEC_VALUE : int {
  XS_DIAMETER = 0,        // equivalent diameter (circular pipe: external diameter)
  XS_INT_DIAMETER = 1,    // internal diameter (circular pipe)
  XS_EXT_WIDTH = 2,       // external width
  XS_EXT_DEPTH = 3,       // external depth
  XS_INT_WIDTH = 4,       // internal width (rectangular pipe)
  XS_INT_DEPTH = 5,       // internal depth (rectangular pipe)
  XS_FLANGE = 6,          // flange thickness (I and H sections)
  XS_WEB = 7,             // web thickness (I and H sections)
  XS_SHEAR_MODULUS = 8,   // shear modulus G
  XS_AREA = 9,            // cross-sectional area
  XS_IZ = 10,             // moment of inertia about local z (the bending inertia in 2D)
  XS_IY = 11,             // moment of inertia about local y
  XS_UNUSED_13 = 12,      // stored, not used
  XS_GJ = 13,             // torsional stiffness GJ
  XS_MN = 14,             // nominal moment capacity
  XS_VN = 15,             // nominal shear capacity
  XS_UNUSED_17 = 16,      // stored, not used
  XS_EXTRA_18 = 17,       // top: the tapered flag as read; bottom: one more stored value
};
static_assert(XS_EXTRA_18 + 1 == XSEC_VALUES, "a cross section holds 18 values at each end");

// Cross-section types (XSEC_TYPE); any value other than 0..3 is an H section.
enum XSEC_KIND : int { XT_GENERAL = 0, XT_CIRCULAR_PIPE = 1, XT_RECTANGULAR_PIPE = 2, XT_I_SECTION = 3 };

// One cross section (section 9). A section that is not tapered has its top
// values copied as its bottom values.
struct CROSS_SECTION {
  int XSEC_ID = 0;                            // identifier as given (the second of the two values)
  int XSEC_TYPE = 0;                          // 0 general, 1 circular pipe, 2 rectangular pipe, 3 I, other H
  int TAPERED = 0;                            // >= 1: tapered, bottom values given
  char NAME[81] = {};                         // 80 characters, blank-padded
  std::array<double, XSEC_VALUES> TOP{};      // XS_... positions
  std::array<double, XSEC_VALUES> BOT{};
};

// One pile section (segment) of a property set. FROM .. E_MOD and the set
// numbers are read (section 8); XSEC_TYPE, TOP and BOT are the cross
// section's values copied by the echo of Table E, for the section-property
// lookup along the pile (values at SECT_FROM and at SECT_TO).
struct PILE_SECTION {
  double SECT_FROM = 0.0;                     // start, distance along the pile from the head
  double SECT_TO = 0.0;                       // end
  int CROSS_SECT = 0;                         // cross-section number (1 .. NXSEC)
  double E_MOD = 0.0;                         // elastic modulus
  int SET_NLEI_Y = 0;                         // moment-curvature set: bending about local y (2D: the plane)
  int SET_NLEI_Z = 0;                         // moment-curvature set: bending about local z (3D)
  int XSEC_TYPE = 0;                          // derived
  std::array<double, XSEC_VALUES> TOP{};      // derived, XS_... positions
  std::array<double, XSEC_VALUES> BOT{};      // derived
};

// One pile property set (section 8).
struct PILE_PROPERTY {
  int UNUSED = 0;                             // first value of the property record, not used
  int NSECT = 0;                              // pile sections, 0 .. MAX_SECTIONS
  int INC = 0;                                // increments along the pile (INC + 1 nodes), 1 .. MAX_INCREMENTS
  double LENGTH = 0.0;                        // pile length
  int PILE_TYPE = 0;                          // 1 driven pile, 2 drilled shaft
  std::array<PILE_SECTION, MAX_SECTIONS + 1> SECT{};  // 1-based
};

// One moment-curvature curve: the points (curvature, moment) for one axial load.
struct MC_CURVE {
  double AXIAL_LOAD = 0.0;
  int NPOINTS = 0;                            // the second of the two counts given
  std::array<double, MAX_MC_POINTS + 1> MOMENT{};     // 1-based
  std::array<double, MAX_MC_POINTS + 1> CURVATURE{};  // 1-based
};

// One moment-curvature set (section 15): curves in increasing axial load.
struct MC_SET {
  int UNUSED = 0;                             // first value of the set record, not used
  int NMCURVES = 0;
  std::array<MC_CURVE, MAX_MC_CURVES + 1> CURVE{};  // 1-based
};

// Per-pile arrays: entry g (1 .. NPILES) for pile group g, entry NPILES + 1
// for the pile cap (set by the echo of Table D).
template <class T>
using PILE_ARRAY = std::array<T, MAX_PILE_ENTRIES + 1>;

struct PILE_DATA {
  // --- Section 3, the pile cap.
  double CAP_LENGTH = 0.0;                    // along Y
  double CAP_WIDTH = 0.0;                     // along Z; in 3D the plan diagonal once Table D is echoed
  double CAP_THICKNESS = 0.0;                 // along X
  double CAP_WIDTH_GIVEN = 0.0;               // CAP_WIDTH as read
  // Embedded-cap model record (CAP_OPTION >= 2; all 0 when it is absent).
  int CAP_SPRINGS = 0;                        // 0 equivalent lateral load, other equivalent lateral springs
  int CAP_MODEL = 0;                          // 0 soil model of the soil data, 1 FHD model on the soil data, other FHD with K50 ..
  int CAP_INCREMENTS = 0;                     // increments of the equivalent springs
  double K50 = 0.0;                           // force / length / length
  double F_ULT = 0.0;                         // force / length
  double Y_MAX = 0.0;                         // length
  // Flexible-cap record (FLEX_CAP > 0; all 0 when it is absent).
  double SLAB_YC = 0.0;                       // Y of the middle of the plate
  double SLAB_ZREF = 0.0;                     // Z reference of the plate
  int SLAB_NY = 0;                            // plate elements along Y
  int SLAB_NZ = 0;                            // plate elements along Z
  double SLAB_E = 0.0;                        // Young's modulus of the plate
  double SLAB_NU = 0.0;                       // Poisson's ratio of the plate

  // --- Section 7, the arrangement of pile groups, and the per-pile arrays.
  // 2D groups are rows of NO_OF_PILE identical piles; 3D groups are single
  // piles. The 2D names of the input map onto these arrays as noted.
  int NPILES = 0;
  PILE_ARRAY<int> CONNECTY{};                 // connection about local y (2D CONNECT): 1 PIN, 2 FIX, 3 RES
  PILE_ARRAY<int> CONNECTZ{};                 // connection about local z (3D; 0 in 2D)
  PILE_ARRAY<int> NO_OF_PILE{};               // 2D: piles of the row; 3D: 1
  PILE_ARRAY<int> PILE_PROP{};                // pile property set (1 .. NPROP)
  PILE_ARRAY<int> PY_SET{};                   // user p-y curve set (>= 1 with user p-y curves)
  PILE_ARRAY<int> LS_SET{};                   // user load-settlement curve (>= 1), 0 or less: generated
  PILE_ARRAY<int> TR_SET{};                   // user torque-rotation curve (3D; 0 in 2D)
  PILE_ARRAY<int> RFL_SET{};                  // reduction-factor set along depth
  PILE_ARRAY<double> SPY{};                   // rotational restraint about y (2D SPRING)
  PILE_ARRAY<double> SPZ{};                   // rotational restraint about z (3D; 0 in 2D)
  PILE_ARRAY<double> ROW_SPACING{};           // 2D: spacing of the row's piles across the plane; 0 in 3D
  PILE_ARRAY<double> AXIAL_FACTOR{};          // factor on the axial load of the group
  PILE_ARRAY<double> PILE_X{};                // pile-head X (2D VERT, 3D CorX)
  PILE_ARRAY<double> PILE_Y{};                // pile-head Y (2D HOR, 3D CorY)
  PILE_ARRAY<double> PILE_Z{};                // pile-head Z (3D CorZ; 0 in 2D)
  PILE_ARRAY<double> ALPHA_DEG{};             // first batter angle as read, degrees (2D BATTER)
  PILE_ARRAY<double> BETA_DEG{};              // second batter angle as read, degrees (3D; 0 in 2D)
  PILE_ARRAY<double> GROUND{};                // ground value: ground-surface X minus the head X
  // Derived by the echo of Table D.
  PILE_ARRAY<double> ALPHA{};                 // first batter angle, radians (2D: the batter)
  PILE_ARRAY<double> BETA{};                  // second batter angle, radians (2D: 0)
  PILE_ARRAY<double> MULTIPLICITY{};          // 2D NO_OF_PILE as a real, 3D 1.0
  // The group multipliers (Table K), 1.0 on entry (PILE_DATA_DEFAULTS): the
  // user factors are read into them; the closely-spaced estimates replace them.
  PILE_ARRAY<double> P_FACTOR{};              // p-multiplier in the plane (2D; 3D: copy of P_FACTOR_Y)
  PILE_ARRAY<double> Y_FACTOR{};              // y-multiplier in the plane
  PILE_ARRAY<double> P_FACTOR_Y{};            // p-multiplier for lateral movement along Y (3D)
  PILE_ARRAY<double> Y_FACTOR_Y{};
  PILE_ARRAY<double> P_FACTOR_Z{};            // p-multiplier for lateral movement along Z (3D)
  PILE_ARRAY<double> Y_FACTOR_Z{};

  // --- Section 8, pile property sets.
  int NPROP = 0;
  std::array<PILE_PROPERTY, MAX_PROPERTIES + 1> PROP{};  // 1-based
  int INC_MIN = 0;                            // smallest INC over the property sets (echo of Table E)

  // --- Section 9, cross sections.
  int NXSEC = 0;
  std::array<CROSS_SECTION, MAX_XSECTIONS + 1> XSEC{};  // 1-based

  // --- Section 15, moment-curvature sets (NLEI_OPTION 1).
  int NMCSETS = 0;
  std::array<MC_SET, MAX_MC_SETS + 1> MC{};  // 1-based
};

// Fills the six group multiplier arrays with 1.0 (every entry, the cap's too).
void PILE_DATA_DEFAULTS(PILE_DATA& p);

}  // namespace kestra
