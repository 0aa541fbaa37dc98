// Torque-rotation curve of a pile property by the load-transfer method: the
// side curves turned into torsional curves (torque arm r = D/2 times the
// unit side friction against the rotation z / r), and a march from the tip,
// where the pile carries no torque, up to the head with the torsional
// rigidity GJ in place of EA. Nine imposed tip rotations per branch give the
// branch's half of the 19-point torque-rotation curve (origin at point 10).
#pragma once

#include <array>

#include "pile/axial_march.h"

namespace kestra {

// Nine imposed tip rotations: 0.0001, 0.001, 0.005, 0.01, 0.05, 0.1, 0.5,
// 1.0, 2.0 (inches of movement at the pile surface in units system 1 and 3,
// times 0.0254 in units system 2) divided by the torque arm D / 2.
void TORSION_IMPOSED_ROTATIONS(int units, double width, std::array<double, LS_MOVEMENTS + 1>& r);

// One branch: the nine marches (raw, positive) and the branch's half of the
// torque-rotation curve, every value times -1 in the pull-out branch
// (direction 1), which fills points 9 down to 1.
struct TORSION_PASS {
  int DIRECTION = 0;
  double SIGN = 1.0;
  std::array<double, LS_MOVEMENTS + 1> IMPOSED{};
  std::array<AXIAL_MARCH, LS_MOVEMENTS + 1> RUN{};   // P torque, W rotation
  int PASS_LIMITED = 0;
};
struct TORSION_CURVE {
  int NPTS = 0;
  std::array<double, HEAD_CURVE_POINTS + 1> ROT{};
  std::array<double, HEAD_CURVE_POINTS + 1> MOM{};
};
// Status ST_BAD_PROPERTY (GJ not positive, no width ...) from the march.
int TORSION_LOAD_ROTATION(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, int units,
                          int direction, TORSION_PASS& pass, TORSION_CURVE& curve,
                          AXIAL_MESSAGE& msg);

}  // namespace kestra
