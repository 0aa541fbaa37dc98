// The model store: every table of the model, the generated curves, the run
// options and the run-wide values, in one plain struct. The entry point owns
// the only production instance (inside RUN) and hands it explicitly to every
// procedure; tests build their own. Tables are sized by engine/limits.h and
// items are numbered from 1 in input order (entry 0 of a 1-based table is
// unused unless a comment says otherwise).
#pragma once

#include <array>

#include "engine/limits.h"
#include "group/analysis.h"
#include "input/load_data.h"
#include "input/pile_data.h"
#include "input/soil_data.h"
#include "soil/py_state.h"

namespace kestra {

// The 16 values of the control record, and what the reader derives from it.
struct CONTROL {
  int UNITS_SYSTEM = 0;         // 1 English, 2 SI, 3 any consistent units
  int ANALYSIS_TYPE = 0;        // 2 or 3
  int CAP_OPTION = 0;           // >= 1 embedded cap, >= 2 with the model record
  int FLEX_CAP = 0;             // > 0 flexible (plate) cap
  int USER_PY = 0;
  int USER_LS = 0;
  int USER_TR = 0;
  int SPACING_REDUCTION = 0;    // 0 none, 1 estimated, 2 user, 3 estimated for given movements
  int NLEI_OPTION = 0;
  int AXIAL_FACTOR_COLUMN = 0;
  int KPYOP = 0;                // 1 p-y yes, 0 no, -1 p-y only
  int UNUSED_12 = 0;            // read and not used
  int DEPTH_FACTORS = 0;
  int SOIL_MOVEMENT = 0;
  int CURVE_FILE = 0;
  int CURVE_FILE_BINARY = 0;
  // Group-reduction movements (SPACING_REDUCTION 3).
  double GROUP_MOVE_Y = 0.0;
  double GROUP_MOVE_Z = 0.0;
  // Derived right after the control record.
  bool USER_LS_PRESENT = false;  // USER_LS == 1
  bool USER_PY_PRESENT = false;  // USER_PY >= 1
  // Curve data file options (section 18).
  int CURVE_FILE_MODE = 0;
  int CURVE_DEFL_OPTION = 0;
  int CURVE_LIST2_OPTION = 0;
  int NYPTS = 0;
  std::array<double, MAX_CURVE_DEFL + 1> CURVE_DEFL{};   // 1-based
  int NLIST2 = 0;
  std::array<double, MAX_CURVE_DEFL + 1> CURVE_LIST2{};  // 1-based, stored only
};

// Unit labels of the units system (blank-padded, NUL-terminated).
struct LABELS {
  char LENGTH_LABEL[3] = "  ";
  char FORCE_LABEL[4] = "   ";
  char LENGTH_LABEL3[4] = "   ";
  char FORCE_LABEL4[5] = "    ";
  char UNITS_NAME[5] = "    ";  // "ENGL", "METR", "OPEN"
};

// Run-wide values set on entry and changed by the procedures that own them.
struct RUNWIDE {
  double PI = 0.0;              // 3.14159 as single precision on entry
  double SMALL_14 = 0.0;        // 1.0E-14
  double SMALL_6 = 0.0;         // 1.0E-6
  double SMALL_5 = 0.0;         // 1.0E-5
  char END_MARKER[5] = "END ";
  int SWITCH_1 = 1;             // tested by the pile-head response and stiffness
  int SWITCH_2 = 2;             // tested by the cap solutions
  int CURVE_CODE_A = 0;         // 33, set before the curve data file is opened
  int CURVE_CODE_B = 0;         // 19
};

// Generated pile-head curves of every pile property (1-based): the 19-point
// axial load-displacement curve (pull-out points 1..9, the origin at point
// 10, compression points 11..19) and, in 3D, the 19-point torque-rotation
// curve. Filled by the axial and torsional generation of the input echo;
// read by the pile-head response. A user curve (LS_SET / TR_SET >= 1) is
// taken from the soil data instead.
struct HEAD_CURVES {
  std::array<std::array<double, HEAD_CURVE_POINTS + 1>, MAX_PROPERTIES + 1> LS_DISP{};
  std::array<std::array<double, HEAD_CURVE_POINTS + 1>, MAX_PROPERTIES + 1> LS_LOAD{};
  // Tip movement and tip force of the same 19 points: the runtime axial
  // solution starts its iteration on the tip movement from them.
  std::array<std::array<double, HEAD_CURVE_POINTS + 1>, MAX_PROPERTIES + 1> LS_TIP_DISP{};
  std::array<std::array<double, HEAD_CURVE_POINTS + 1>, MAX_PROPERTIES + 1> LS_TIP_LOAD{};
  std::array<std::array<double, HEAD_CURVE_POINTS + 1>, MAX_PROPERTIES + 1> TR_ROT{};
  std::array<std::array<double, HEAD_CURVE_POINTS + 1>, MAX_PROPERTIES + 1> TR_MOM{};
  std::array<int, MAX_PROPERTIES + 1> LS_DONE{};  // 1 once the property's curve is generated
  std::array<int, MAX_PROPERTIES + 1> TR_DONE{};
};

struct STORE {
  char TITLE[81] = {};          // 80 characters, blank-padded
  CONTROL ctl;
  LABELS labels;
  RUNWIDE rw;
  PILE_DATA piles;              // cross sections, properties, arrangement, cap
  SOIL_DATA soil;               // layers, profile, user curves, factor sets
  LOAD_DATA loads;              // load cases, combinations, distributed loads
  HEAD_CURVES head;             // generated pile-head curves per property
  PY_STATE py;                  // p-y evaluation flags, buffer, HEQ and run-wide values
  ANALYSIS an;                  // the analysis in progress (group/analysis.h)
};

}  // namespace kestra
