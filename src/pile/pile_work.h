// The working arrays of the pile being solved: node coordinates, deflections,
// soil springs, rigidities, loads and the results along the pile. One
// PILE_WORK is handed explicitly to the p-y evaluation (soil/) and to the
// beam-column solutions (pile/); nothing of it lives in hidden statics, so a
// caller can record and print it, and piles could be solved independently.
//
// Node arrays have NODE_ARRAY (107) entries: node m (0 at the head, N = INC
// at the tip) is entry m + NODE_OFFSET (m + 4); entries 1..3 and N+5..N+7
// hold the imaginary nodes of the difference equations and spares. NODE(m)
// gives the entry of node m.
#pragma once

#include <array>

#include "engine/limits.h"

namespace kestra {

using NODE_VALUES = std::array<double, NODE_ARRAY + 1>;  // 1-based entries 1..107

constexpr int NODE(int m) { return m + NODE_OFFSET; }

// Results of a lateral solution in one plane, node arrays as above. The
// one-plane solution (2D) fills PLANE_Y only; the biaxial solution both.
struct LLP_PLANE {
  NODE_VALUES EI{};          // flexural rigidity
  NODE_VALUES PX{};          // axial force used in the difference equation
  NODE_VALUES WLOAD{};       // lateral load per length: distributed load + soil movement
  NODE_VALUES SLOPE{};       // dy/dx
  NODE_VALUES BMOM{};        // bending moment -EI*y''
  NODE_VALUES SHEAR{};       // shear force
  NODE_VALUES SOILR{};       // soil reaction per length
  NODE_VALUES STRESS{};      // total stress, axial plus bending
                             // (biaxial: the one total stress of the node, in both planes)

  // Working arrays of the elimination: every deflection of the plane is
  // y(m) = REC_C(m) + REC_B(m)*y(m+1) + REC_D(m)*y(m+2).
  NODE_VALUES REC_B{};
  NODE_VALUES REC_C{};
  NODE_VALUES REC_D{};
  NODE_VALUES YPREV{};       // deflections of the previous iteration, nodes 0..N
  NODE_VALUES DLOAD{};       // distributed load alone (WLOAD without soil movement)
  NODE_VALUES CURVATURE{};   // |y''| of the last rigidity update (nonlinear EI)
};

// Controls of the current load case or combination that the lateral
// solutions read; the caller (the group analysis) fills them before a solve.
struct LLP_CONTROL {
  double TOL_PILE = 0.0;     // tolerance on the pile deflections (a length)
  int MAXIT_PILE = 0;        // iteration limit of one pile solution
  int AXIAL_VARIATION = 0;   // > 0: the axial force varies along the pile
  int PRINT_PASS = 0;        // 0 solve only, 1 printing pass, 2 equivalent-stiffness pass
  int COMBINATION = 0;       // 1 while load combinations are analysed (capacity ratios recorded)
  double BENDING_RF = 0.0;   // bending resistance factor of the combination
  double SHEAR_RF = 0.0;     // shear resistance factor of the combination
};

struct PILE_WORK {
  // The current pile group and its discretisation.
  int group = 0;             // pile group number (1-based)
  int property = 0;          // pile property set of the group
  int N = 0;                 // number of increments (nodes 0..N)
  double h = 0.0;            // increment length
  double ground = 0.0;       // the group's ground value g
  double vert = 0.0;         // the group's head value v (head coordinate)

  NODE_VALUES X{};           // node coordinates (global X, downward)

  // Lateral response, plane y (the plane of a 2D analysis) and plane z.
  NODE_VALUES Y{};           // lateral deflection, plane y
  NODE_VALUES Z{};           // lateral deflection, plane z (biaxial solution)
  NODE_VALUES DEFL{};        // deflection handed to the p-y evaluation (Y, or the
                             // resultant of Y and Z in the biaxial solution)
  NODE_VALUES SOIL_MOVE_Y{}; // soil movement at the node, direction y
  NODE_VALUES SOIL_MOVE_Z{}; // soil movement at the node, direction z

  // Soil springs from the p-y evaluation.
  NODE_VALUES ESOIL{};       // secant modulus p/y
  NODE_VALUES PSOIL{};       // soil reaction with sign and multipliers
  NODE_VALUES PMOVE{};       // ESOIL times the soil-movement magnitude

  // Per layer of the current pile (1-based layers): first and last node in
  // the layer (node numbers 1..N+1 counted from the head; 0 when the layer
  // holds no node), and the integral of the ultimate resistance.
  std::array<int, LAYER_TABLE + 2> NFIRST{};
  std::array<int, LAYER_TABLE + 2> NLAST{};
  std::array<double, LAYER_TABLE + 2> PUSUM{};

  // Axial response along the pile from the last axial solution of this pile.
  NODE_VALUES AXDISP{};      // axial movement
  NODE_VALUES AXFORCE{};     // axial force

  LLP_PLANE PLANE_Y;         // plane x-y (the plane of a 2D analysis)
  LLP_PLANE PLANE_Z;         // plane x-z (biaxial solution)

  // Resultants of the two planes (biaxial solution; the one-plane solution
  // leaves |y|, |M|, |V| and |p| of its plane), for recording.
  NODE_VALUES RES_DEFL{};    // sqrt(y^2 + z^2)
  NODE_VALUES RES_BMOM{};
  NODE_VALUES RES_SHEAR{};
  NODE_VALUES RES_SOILR{};
  // Demand-to-capacity ratios (recorded while combinations are analysed, else 0).
  NODE_VALUES MOMENT_RATIO{};
  NODE_VALUES SHEAR_RATIO{};
  // Head forces in pile axes of the last biaxial solution, 1-based: axial,
  // lateral y, lateral z, torque, moment about y, moment about z.
  std::array<double, 7> HEAD_FORCE{};

  LLP_CONTROL CONTROL;       // set by the caller before a lateral solution

  // Shared with the callers of the lateral solutions.
  int LLP_ITERATIONS = 0;    // linear solutions of the last call ("NUMBER OF ITERATIONS IN LLP")
  int NO_CLOSURE = 0;        // 1 when the last call passed its iteration limit
  int PLASTIC_HINGE = 0;     // 1 when the last rigidity update found a curvature beyond
                             // the last point of its moment-curvature curve
  int NLEI_ERROR = 0;        // 1 when the last rigidity update had no usable curve
  int PY_BEYOND_CURVES = 0;  // 1 when the input p-y curves ended above a node of this solve

  double CAP_P = 0.0;        // soil resistance of an embedded cap at its deflection
};

}  // namespace kestra
