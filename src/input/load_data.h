// Model-store tables of the load input sections (filled by the input reader,
// input/read_loads.cpp) and the applied load of the analysis in progress
// (formed by group/loads.cpp).
//
// Load cases, combinations, concentrated and distributed loads, combination
// entries and distributed-load sets are numbered from 1 in input order;
// entry 0 of each table is unused.
#pragma once

#include <array>

#include "engine/limits.h"

namespace kestra {

// Characters of a case or combination name (text record, blank-padded).
inline constexpr int LOAD_NAME_CHARS = 80;
// Selection flags of the quantities reported along the piles (one per column
// of the pile-response table).
inline constexpr int OUTPUT_FLAGS = MAX_ENVELOPE_FLAGS;
// Foundation stiffness values beyond which the list holds levels followed by
// the twelve parameters of the target-deflection form.
inline constexpr int STIFF_PARAMETERS = 12;
inline constexpr int STIFF_PARAMETER_FORM = STIFF_PARAMETERS + 1;  // 13 values or more
// The ten load levels used when a case asks for stiffness data and gives none.
inline constexpr int DEFAULT_STIFF_LEVELS = 10;

// One concentrated load, in the order of its input record: force along X
// (vertical), force along Y, moment about Z, force along Z, moment about Y,
// moment about X, and the point of application. A 2D analysis uses
// FORCE_X, FORCE_Y, MOMENT_Z, COORD_X and COORD_Y only.
struct CONC_LOAD {
  double FORCE_X = 0.0;
  double FORCE_Y = 0.0;
  double MOMENT_Z = 0.0;
  double FORCE_Z = 0.0;
  double MOMENT_Y = 0.0;
  double MOMENT_X = 0.0;
  double COORD_X = 0.0;
  double COORD_Y = 0.0;
  double COORD_Z = 0.0;
};

// One distributed load: the piles INI_PILE, INI_PILE + INC_PILE, ... up to
// END_PILE carry the distributed-load set SET_Y times FACTOR_Y in the first
// lateral direction and (3D) SET_Z times FACTOR_Z in the second. AXIS 1: the
// sets act in global Y and Z ("GLOBAL"); any other value: in the pile's
// local y and z ("LOCAL"). A set number of 0 or less means no load.
struct DIST_LOAD {
  int RESERVED = 0;
  int AXIS = 0;
  int INI_PILE = 0;
  int END_PILE = 0;
  int INC_PILE = 0;
  int SET_Y = 0;
  double FACTOR_Y = 0.0;
  int SET_Z = 0;
  double FACTOR_Z = 0.0;
};

// The control parameters that a load case and a load combination share; the
// driver copies them into the current analysis controls.
struct LOAD_CONTROLS {
  // Record 1.
  std::array<int, 3> RESERVED_1{};
  int LOADING = 0;              // 1 static, 0 cyclic
  int NCYCLES = 0;              // number of cycles of cyclic loading (at least 1 after input)
  int MAXIT_CAP = 0;            // iterations of the foundation analysis
  int MAXIT_PILE = 0;           // iterations of each pile analysis
  // Record 2.
  double TOL_CAP = 0.0;         // relative tolerance on the cap movement
  double TOL_PILE = 0.0;        // tolerance on the pile deflections (a length)
  double LOAD_INCREMENT = 0.0;  // first load fraction and increment, in (0,1] after input
  double MIN_INCREMENT = 0.0;   // smallest increment before a step is abandoned, > 0 after input
  // Record 3.
  char NAME[LOAD_NAME_CHARS + 1] = {};  // blank-padded, NUL-terminated
  // Record 5.
  int PRINT_OPTION = 0;         // 0 cap, 1 cap and heads, 2 (or more) also along the piles
  int PRINT_EVERY = 0;          // node step of the tables along the piles (at least 1 after input)
  int USE_ALT_TOL = 0;          // nonzero: the alternative cap tolerances below
  double ALT_TOL_DISP = 0.0;    // a length
  double ALT_TOL_ROT = 0.0;
  int AXIAL_VARIATION = 0;      // > 0: the axial load varies along the piles
  int NOT_ANALYZED = 0;         // 1: echoed but skipped by the driver
  // Record 6.
  int RESERVED_6 = 0;
  // Record 7, 1-based.
  std::array<int, OUTPUT_FLAGS + 1> OUTPUT_SELECT{};
};

struct LOAD_CASE : LOAD_CONTROLS {
  // Record 4.
  int LOAD_TYPE = 0;            // code of the load-type name (LOAD_TYPE_NAME)
  int STIFFNESS_DATA = 0;       // > 0: foundation stiffness data for this case
  int STIFF_TABLES = 0;         // 1: print the stiffness matrices
  int STIFF_DIAGONAL = 0;       // 1: keep the diagonal of each flexibility column only
  std::array<int, 2> RESERVED_4{};
  int AXIAL_AS_HEAD_LOAD = 0;   // 1: axial part of global distributed loads acts at the heads
  // Record 5 (the other values are in LOAD_CONTROLS).
  double SCALE_FACTOR = 0.0;    // factor on every load of the case
  // Records 8 to 10, 1-based.
  int NCONC = 0;
  std::array<CONC_LOAD, MAX_CONC_LOADS + 1> CONC{};
  int NDIST = 0;
  std::array<DIST_LOAD, MAX_DIST_LOADS + 1> DIST{};
  // Foundation stiffness values: up to 10 load levels, or (13 or more)
  // NLEVELS - 12 levels followed by the twelve parameters. The echo puts
  // the ten default levels here when STIFFNESS_DATA > 0 and NLEVELS is 0.
  int NLEVELS = 0;
  std::array<double, MAX_STIFF_LEVELS + 1> LEVELS{};
};

// One entry of a combination: a load case and its factor.
struct COMB_ENTRY {
  int CASE = 0;
  double FACTOR = 0.0;
};

struct LOAD_COMB : LOAD_CONTROLS {
  // Record 4.
  double BENDING_RF = 0.0;      // bending resistance factor
  double SHEAR_RF = 0.0;        // shear resistance factor
  // Record 8 (the count of record 4 is replaced by this one), 1-based.
  int NCOMB_CASES = 0;
  std::array<COMB_ENTRY, MAX_COMB_CASES + 1> ENTRY{};
};

// A distributed-load set: points (distance along the pile from the head,
// load per unit length), distances increasing, 1-based.
struct DLOAD_SET {
  int NPOINTS = 0;
  std::array<double, MAX_DLOAD_POINTS + 1> DEPTH{};
  std::array<double, MAX_DLOAD_POINTS + 1> LOAD{};
};

// The printed name of a load type: 32 characters, blank-padded (A32).
inline const char* LOAD_TYPE_NAME(int code) {
  static constexpr const char* NAMES[] = {
      "Dead, DL                        ",
      "Live, LL                        ",
      "Seismic, EQ                     ",
      "Impact, IM                      ",
      "Wind, WN                        ",
      "Water, WT                       ",
      "Ice, IC                         ",
      "Soils, Hsl                      ",
      "Roof Live, Lr                   ",
      "Rain, Rn                        ",
      "Snow, Sn                        ",
      "Temperature, Tm                 ",
  };
  static constexpr const char* SPECIAL = "Special, Sp                     ";
  return (code >= 0 && code <= 11) ? NAMES[code] : SPECIAL;
}

struct LOAD_DATA {
  // Section 4: load cases.
  int NLC = 0;
  int CASE_ENVELOPE = 0;        // > 0: envelopes over the load cases
  int CASE_ENV_PRINT = 0;       // print option of the envelopes (codes of PRINT_OPTION)
  int CASE_ENV_EVERY = 0;       // node step of the envelopes (at least 1 after input)
  int CASE_LIST_UNUSED = 0;     // fifth value of the case-list record, not used
  std::array<int, OUTPUT_FLAGS + 1> CASE_ENV_SELECT{};  // 1-based
  std::array<LOAD_CASE, MAX_LOAD_CASES + 1> CASE{};

  // Section 5: load combinations.
  int NCOMB = 0;
  int COMB_ENVELOPE = 0;
  int COMB_ENV_PRINT = 0;
  int COMB_ENV_EVERY = 0;
  int COMB_LIST_UNUSED = 0;
  std::array<int, OUTPUT_FLAGS + 1> COMB_ENV_SELECT{};  // 1-based
  std::array<LOAD_COMB, MAX_LOAD_COMBS + 1> COMB{};

  // Section 6: distributed-load sets.
  int NDSETS = 0;
  std::array<DLOAD_SET, MAX_DLOAD_SETS + 1> DSET{};

  // --- Applied load of the case or combination being analysed ---
  // EQ_LOAD: the resultant at the origin, slots 1..6 = force X, Y, Z,
  // moment about X, Y, Z (entry 0 unused; 2D uses slots 1, 2 and 6).
  std::array<double, 7> EQ_LOAD{};
  // Distributed loads per pile (1..NPILES) and per node: entry k holds node
  // k - 1 (k = 1 is the pile head, k = DLOAD_NODES the tip); entry 0 unused.
  // DLOAD_NODES is 0 for a pile without distributed load. DLOAD_Y/DLOAD_Z are
  // loads per unit length in the pile's local y and z; DLOAD_DIST the node's
  // distance from the head. AXIAL_HEAD_LOAD is the axial force at the head
  // collected from global distributed loads; HEAD_AXIAL_FLAG is 1 when some
  // pile received one.
  int HEAD_AXIAL_FLAG = 0;
  std::array<int, MAX_PILES + 1> DLOAD_NODES{};
  std::array<double, MAX_PILES + 1> AXIAL_HEAD_LOAD{};
  std::array<std::array<double, MAX_NODES + 1>, MAX_PILES + 1> DLOAD_DIST{};
  std::array<std::array<double, MAX_NODES + 1>, MAX_PILES + 1> DLOAD_Y{};
  std::array<std::array<double, MAX_NODES + 1>, MAX_PILES + 1> DLOAD_Z{};
};

}  // namespace kestra
