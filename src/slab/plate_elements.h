// Plate elements: membrane, Mindlin bending with transverse shear and a
// drilling stiffness on 4-, 8- and 9-node quadrilaterals with six degrees
// of freedom per node; the deck's springs and loads; the pile springs and
// pile forces at the pile points; and the frontal solution of the assembled
// equations.
//
// Global vectors hold six values per node: entry 6 (n - 1) + k - 1 for node
// n (1-based) and degree of freedom k (1 UX .. 6 ROTZ).
#pragma once

#include <array>
#include <vector>

#include "slab/slab_model.h"

namespace kestra {

using SLAB_VEC6 = std::array<double, 6>;
using SLAB_MAT6 = std::array<std::array<double, 6>, 6>;

// The piles under the plate, in global axes at the pile head: the pile's
// force on the cap and its tangent stiffness (the derivative of that force)
// at a head displacement. Pile numbers are those of the pile points
// (1 .. NCTSTI). The statuses are returned but the plate iteration does not
// stop on them. SET_PRINT_PASS switches the single-pile printing pass
// (1) on and off (0).
struct SLAB_PILE_LINK {
  void* CTX = nullptr;
  int (*STIFFNESS)(void* ctx, int pile, const SLAB_VEC6& u_global, SLAB_MAT6& K) = nullptr;
  int (*RESPONSE)(void* ctx, int pile, const SLAB_VEC6& u_global, SLAB_VEC6& F) = nullptr;
  void (*SET_PRINT_PASS)(void* ctx, int flag) = nullptr;
  // Failures reported by STIFFNESS or RESPONSE during the plate analysis:
  // their number and the first nonzero status.
  int FAILURES = 0;
  int FIRST_FAILURE = 0;
};

// Plate degrees of freedom to global axes, the plate's x, y, z being global
// Z, Y, -X: global (UX, UY, UZ, thX, thY, thZ) = (-UZ, UY, UX, -ROTZ, -ROTX,
// ROTY) of the plate (ROTX = dw/dx, ROTY = dw/dy); and back. Both are signed
// permutations, each the transpose of the other, so forces and moments
// transform like displacements and rotations.
SLAB_VEC6 SLAB_TO_GLOBAL(const SLAB_VEC6& s);
SLAB_VEC6 GLOBAL_TO_SLAB(const SLAB_VEC6& g);

// Rigidities of a material (E, nu, t).
struct PLATE_RIGIDITY {
  double DM[3][3] = {};   // membrane, times t when t is not zero
  double DB[3][3] = {};   // bending
  double DS = 0.0;        // transverse shear, both components
};
PLATE_RIGIDITY MATERIAL_RIGIDITY(double E, double nu, double t);

// The plate's own stiffness of element e (NEVAB x NEVAB, row-major).
// Returns 0, or ST_SLAB_STOP after the zero-area message.
int PLATE_ELEMENT_STIFFNESS(const SLAB_MODEL& m, const SLAB_FILES& f, int e, std::vector<double>& K);

// Forms, for every element in storage order, the element stiffness (plate,
// deck springs, then the pile springs) and the element vector (pile forces
// plus the deck loads at load factor lambda, minus the internal forces of the
// plate and the springs at u), and writes them to the element scratch file
// (rewound first). u is the total displacement of all nodes. piles may be
// null (no coupling); it is used only when KPILE > 0. When residual is
// given, it receives the element vectors assembled over all nodes.
// Returns 0, or ST_SLAB_STOP (zero or negative element area), or
// ST_OUTPUT_FILE when the scratch file cannot be written.
int ELEMENT_MATRICES(const SLAB_MODEL& m, const SLAB_FILES& f, const std::vector<double>& u, double lambda,
                     SLAB_PILE_LINK* piles, std::vector<double>* residual = nullptr);

// Solves K du = r from the element records, elements in storage order,
// eliminating every degree of freedom after the last element of its node.
// fixed_du holds, at the restrained degrees of freedom, the value du must
// take there; reactions receives K du - r at those degrees of freedom (0
// elsewhere). Returns 0, or ST_SLAB_STOP after the zero-pivot message, or
// ST_OUTPUT_FILE on a scratch-file failure.
int FRONTAL_SOLVE(const SLAB_MODEL& m, const SLAB_FILES& f, const std::vector<double>& fixed_du,
                  std::vector<double>& du, std::vector<double>& reactions);

// Load factor of the deck loads at the current load factor tcur.
double SLAB_LOAD_FACTOR(const SLAB_MODEL& m, double tcur);

}  // namespace kestra

namespace kestra {

// Displacements and reactions of a converged increment to the listing:
// u is the total displacement, reactions those of the last solution.
void PRINT_STEP_RESULTS(const SLAB_MODEL& m, const SLAB_FILES& f, int step, double tcur, const std::vector<double>& u,
                        const std::vector<double>& reactions);

// The eight stress resultants at one Gauss point: membrane forces per unit
// width (NX, NY, NXY), moments (MX, MY, MXY) and shear forces (QX, QY).
using PLATE_RESULTANTS = std::array<double, 8>;

// Stress resultants of element e at its Gauss point (i, j) from the total
// displacement u; false on a zero or negative area.
bool GAUSS_POINT_RESULTANTS(const SLAB_MODEL& m, int e, int i, int j, const std::vector<double>& u,
                            PLATE_RESULTANTS& s, double& x, double& y);

// Stress resultants at every Gauss point with their extremes to the listing,
// and the step record (displacements and node averages of the resultants)
// to the step-data file; the step-data header precedes the first step.
// Returns 0, or ST_SLAB_STOP on a zero or negative area.
int PLATE_STRESSES(const SLAB_MODEL& m, const SLAB_FILES& f, int step, const std::vector<double>& u);

}  // namespace kestra
