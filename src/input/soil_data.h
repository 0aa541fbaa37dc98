// Model-store tables of the soil input sections: the soil layers as read and
// the soil profile derived from them, the p-y curves to print, the user p-y,
// load-settlement and torque-rotation curves, the reduction factors along
// depth and the soil movement points. Filled by the input reader
// (input/read_soils.cpp); the profile is built by the echo of the layers.
// Every table is 1-based (entry 0 unused).
#pragma once

#include <array>

#include "engine/limits.h"

namespace kestra {

// Positions of the nine soil properties, in the order of the layer records
// and of the profile arrays.
enum SOIL_PROPERTY : int {
  SP_UNIT_WEIGHT = 0,     // effective unit weight
  SP_COHESION = 1,        // undrained cohesion (models 6, 9: uniaxial compressive strength)
  SP_PHI = 2,             // friction angle (degrees as read, radians in the profile)
  SP_K = 3,               // p-y subgrade modulus k
  SP_E_ROCK = 4,          // Young's modulus of the rock Er
  SP_E50 = 5,             // strain at 50 % stress (model 9: the constant KRM)
  SP_RQD = 6,             // RQD in per cent
  SP_SIDE_FRICTION = 7,   // ultimate unit side friction
  SP_TIP_RESISTANCE = 8,  // ultimate unit tip resistance
};

// One soil layer as read (section 10). Row 0 holds the properties at the
// top of the layer, row 1 at the bottom; the friction angle is in degrees.
struct SOIL_LAYER {
  int UNUSED = 0;                 // first value of the layer record, not used
  int SOIL_MODEL = 0;             // 1 .. 11
  double LAYER_TOP = 0.0;         // X coordinate of the top
  double LAYER_BOTTOM = 0.0;      // X coordinate of the bottom
  int NROWS = 0;                  // property rows given (2)
  int NPROPS = 0;                 // properties per row (9)
  double PROPS[2][SOIL_PROPERTIES] = {};
};

// One p-y curve to print (section 11).
struct PY_REQUEST {
  int GROUP = 0;                  // pile group
  double DEPTH = 0.0;             // X coordinate of the curve
  int NYU = 0;                    // user deflections; 0: the default deflections
  std::array<double, MAX_PY_DEFLECTIONS + 1> DEFL{};  // 1-based
};

// One curve of a user p-y set (section 12). Points are stored as read.
struct USER_PY_CURVE {
  double DEPTH = 0.0;             // X coordinate ("DISTANCE FROM ORIGIN")
  int NPOINTS = 0;
  std::array<double, MAX_PY_POINTS + 1> P{};  // 1-based
  std::array<double, MAX_PY_POINTS + 1> Y{};  // 1-based
};

struct USER_PY_SET {
  int SET_VALUE = 0;              // first value of the set record, kept with the set
  int NPYCURVES = 0;
  std::array<USER_PY_CURVE, MAX_PY_CURVES + 1> CURVE{};  // 1-based
};

// One user axial load-displacement curve (section 13).
struct USER_LS_CURVE {
  int UNUSED = 0;
  int NPOINTS = 0;
  std::array<double, MAX_LS_POINTS + 1> LOAD{};  // 1-based
  std::array<double, MAX_LS_POINTS + 1> DISP{};  // 1-based
};

// One user torque-rotation curve (section 14); rotations in radians.
struct USER_TR_CURVE {
  int UNUSED = 0;
  int NPOINTS = 0;
  std::array<double, MAX_TR_POINTS + 1> MOMENT{};    // 1-based
  std::array<double, MAX_TR_POINTS + 1> ROTATION{};  // 1-based
};

// One set of reduction factors along depth (section 16).
struct RF_SET {
  int UNUSED = 0;
  int NPOINTS = 0;
  std::array<double, MAX_RF_POINTS + 1> DEPTH{};     // X coordinates, 1-based
  std::array<double, MAX_RF_POINTS + 1> P_FACTOR{};
  std::array<double, MAX_RF_POINTS + 1> Y_FACTOR{};
};

struct SOIL_DATA {
  // --- Section 10, as read.
  int NLAYERS = 0;
  std::array<SOIL_LAYER, LAYER_TABLE + 1> LAYER{};   // 1-based

  // --- The soil profile, built by the echo of the layers (BUILD_SOIL_PROFILE).
  // NL is the working layer count of the p-y framework; NLAYERS above is
  // the count of the input, from which NL is restored.
  int NL = 0;
  double GROUND_SURFACE = 0.0;                       // top of layer 1
  std::array<int, LAYER_TABLE + 1> SOIL_MODEL{};     // per layer, 1-based
  std::array<double, LAYER_TABLE + 1> LAYER_TOP{};
  std::array<double, LAYER_TABLE + 1> LAYER_BOTTOM{};
  // 2 * NL points: top of layer 1, bottom of layer 1, top of layer 2 ...
  int NPROFILE = 0;
  std::array<double, MAX_PROFILE_POINTS + 1> PROFILE_X{};  // 1-based
  // PROFILE[SP_...][i]: the nine properties at profile point i (friction
  // angle in radians; the properties a layer's model does not use are 0).
  std::array<std::array<double, MAX_PROFILE_POINTS + 1>, SOIL_PROPERTIES> PROFILE{};

  // --- Section 11, p-y curves to print.
  int NPYPRINT = 0;
  std::array<PY_REQUEST, MAX_PY_PRINT + 1> PY_PRINT{};  // 1-based

  // --- Section 12, user p-y curve sets (Table G).
  int NPYSETS = 0;
  std::array<USER_PY_SET, MAX_PY_SETS + 1> PY_SETS{};  // 1-based

  // --- Section 13, user axial load-displacement curves (Table H).
  int NLSCURVES = 0;
  std::array<USER_LS_CURVE, MAX_LS_CURVES + 1> LS_CURVES{};  // 1-based

  // --- Section 14, user torque-rotation curves (Table I).
  int NTRCURVES = 0;
  std::array<USER_TR_CURVE, MAX_TR_CURVES + 1> TR_CURVES{};  // 1-based

  // --- Section 16, reduction factors along depth (Table J1).
  int NRFSETS = 0;
  std::array<RF_SET, MAX_RF_SETS + 1> RF_SETS{};  // 1-based

  // --- Section 17, soil movement (Table J2); 0 points unless the section is read.
  int NSMPTS = 0;
  std::array<double, MAX_SM_POINTS + 1> SM_DEPTH{};   // X coordinates, 1-based
  std::array<double, MAX_SM_POINTS + 1> SM_MOVE_Y{};
  std::array<double, MAX_SM_POINTS + 1> SM_MOVE_Z{};  // ignored in 2D
};

}  // namespace kestra
