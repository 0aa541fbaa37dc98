// Shape functions of the 4-, 8- and 9-node quadrilaterals, the Gauss rules
// and the element geometry at an integration point.
//
// Node order: corners (-1,-1), (1,-1), (1,1), (-1,1); then the mid-sides
// (0,-1), (1,0), (0,1), (-1,0); then (9 nodes) the centre.
#pragma once

#include <array>

#include "slab/slab_model.h"

namespace kestra {

inline constexpr int PLATE_MAX_NODES = 9;

struct SHAPE {
  std::array<double, PLATE_MAX_NODES> N{};     // N_a
  std::array<double, PLATE_MAX_NODES> DXI{};   // dN_a / dxi
  std::array<double, PLATE_MAX_NODES> DETA{};  // dN_a / deta
};

// Shape functions and their natural derivatives of an nnode-node element
// (4, 8 or 9) at (xi, eta).
void SHAPE_FUNCTIONS(int nnode, double xi, double eta, SHAPE& s);

// Points and weights of the Gauss rule with ngaus points per direction
// (1 to 3), the values held in single precision.
void GAUSS_RULE(int ngaus, std::array<double, 3>& pos, std::array<double, 3>& weight);

// Geometry of element e at an integration point: the Jacobian determinant
// and the cartesian derivatives of the shape functions.
struct ELEMENT_POINT {
  SHAPE s;
  std::array<double, PLATE_MAX_NODES> DX{};    // dN_a / dx
  std::array<double, PLATE_MAX_NODES> DY{};    // dN_a / dy
  double DET_J = 0.0;
  double X = 0.0, Y = 0.0;                     // the point's coordinates
};

// Fills p for element e at (xi, eta). Returns false when the Jacobian
// determinant is zero or negative (the cartesian derivatives are then not
// formed).
bool JACOB2(const SLAB_MODEL& m, int e, double xi, double eta, ELEMENT_POINT& p);

// Writes the message of a zero or negative element area to the listing.
void WRITE_AREA_FAILURE(FILE* listing, int e);

}  // namespace kestra
