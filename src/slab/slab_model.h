// The plate model of a flexible pile cap: control values, the model arrays
// read from the slab deck, and the files of the plate analysis. One
// SLAB_MODEL lives for one plate analysis (one load case or combination);
// every procedure of the plate program takes it explicitly.
//
// Plate axes: x, y in the plate's plane, z normal to it. Six degrees of
// freedom per node, in this order: UX, UY (membrane), UZ (deflection), ROTX,
// ROTY (section rotations: ROTX is the slope dw/dx carried by the normal,
// ROTY the slope dw/dy) and ROTZ (drilling rotation about the normal).
#pragma once

#include <array>
#include <cstdio>
#include <vector>

namespace kestra {

// Hard bounds on the deck's counts before anything is allocated; a deck that
// asks for more is refused with a message instead of exhausting memory.
inline constexpr int SLAB_MAX_NODES = 200000;
inline constexpr int SLAB_MAX_LIST = 200000;
// Widest front the solver holds: its upper triangle is FRONT_SIZE (FRONT_SIZE
// + 1) / 2 numbers (about 36 MB at this width). A mesh numbered so that more
// equations are active at once is refused by the mesh check (error 21).
inline constexpr int SLAB_MAX_FRONT = 3000;

// A list entry of six values on a node or an element.
struct SLAB_ITEM_VALUES {
  int ID = 0;                          // node or element number
  std::array<double, 6> V{};
};

// A point datum: a concentrated load or stiffness, or a pile point.
struct SLAB_POINT {
  double X = 0.0, Y = 0.0;             // plane coordinates as read
  int ELEM = 0;                        // containing element, 0 while not found
  double XI = 0.0, ETA = 0.0;          // natural coordinates in ELEM
  std::array<double, 6> V{};           // six values (unused for pile points)
};

// An edge load or stiffness: the side's start, middle and end values of one
// degree of freedom, per unit length of the side.
struct SLAB_EDGE {
  int ELEM = 0, SIDE = 0, DOF = 0;
  std::array<double, 3> V{};
};

// A restrained node.
struct SLAB_FIX {
  int NODE = 0;
  std::array<int, 6> CODE{};           // 1: prescribed degree of freedom
  std::array<double, 6> VALUE{};       // prescribed values
};

struct SLAB_MODEL {
  char TITLE[73] = {};                 // 72 characters, blank-padded
  // Control record.
  int NPOIN = 0, NELEM = 0, NMATS = 0, NNODE = 0, NGAUS = 0, NVFIX = 0;
  int NNLOD = 0, NNSTI = 0, NDLOD = 0, NDSTI = 0, NCLOD = 0, NCSTI = 0;
  int NELOD = 0, NESTI = 0, NCTSTI = 0, KPILE = 0;
  // Time-stepping record.
  double DT = 0.0, TINI = 0.0, TEND = 0.0, DTMIN = 0.0;
  int MAXITER = 0;
  double TOLER = 0.0;
  // Fixed by the plate program.
  int NDOFN = 6, NDIME = 2, NPROP = 3, NSTRE = 8, NTYPE = 0, NCASE = 1;
  int NEVAB = 0;                       // 6 * NNODE
  int FRONT_SIZE = 60;                 // equations the front holds

  // Model arrays (1-based: entry 0 unused).
  std::vector<std::array<double, 2>> COORD;   // node coordinates
  std::vector<int> NODE_LABEL;
  std::vector<int> LNODS;                     // NNODE per element: LNODS[(e-1)*NNODE + a-1]
  std::vector<int> ELEM_LABEL;
  std::vector<int> MATNO;
  std::vector<SLAB_FIX> FIX;                  // NVFIX records, 0-based
  std::vector<std::array<double, 3>> PROPS;   // E, nu, t per material
  std::vector<SLAB_ITEM_VALUES> NODAL_LOAD, NODAL_STIFF, DIST_LOAD, DIST_STIFF;  // 0-based
  std::vector<SLAB_POINT> CONC_LOAD, CONC_STIFF, PILE_POINT;                    // 0-based
  std::vector<SLAB_EDGE> EDGE_LOAD, EDGE_STIFF;                                  // 0-based
  // Node appearances (set by CHECK2): first and last element of every node.
  std::vector<int> NODE_FIRST, NODE_LAST;
  // Gauss rule of NGAUS.
  std::array<double, 3> POSGP{}, WEIGP{};

  int node(int e, int a) const { return LNODS[static_cast<size_t>(e - 1) * NNODE + (a - 1)]; }
};

// The files of the plate analysis (none owned; any may be null, then its
// output is skipped).
struct SLAB_FILES {
  FILE* LISTING = nullptr;             // echo, step results, stresses, fatal messages
  FILE* STEP_DATA = nullptr;           // step records
  FILE* HISTORY = nullptr;             // step and iteration lines, diagnoses
  FILE* TRACE = nullptr;               // iteration details and coupling trace
  FILE* CONSOLE = nullptr;             // short step lines and diagnoses
  FILE* ELEMENTS = nullptr;            // scratch: element records (binary)
  FILE* EQUATIONS = nullptr;           // scratch: eliminated equations (binary)
};

// Stop code of the plate program (deck diagnoses, zero area, zero pivot).
inline constexpr int SLAB_STOP_CODE = 999;

}  // namespace kestra
