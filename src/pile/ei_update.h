// Nonlinear bending stiffness: after every solution of the beam-column
// equations the rigidity of each node is replaced by the secant rigidity M/phi
// of the moment-curvature relation of its section, at the node's curvature,
// chosen and interpolated by the pile's axial force.
#pragma once

#include "engine/run.h"
#include "pile/pile_work.h"

namespace kestra {

// Secant rigidity of moment-curvature set 'set' at curvature phi (>= 0) and
// axial force P.
//   curve choice: the last curve from its axial load up, the first curve
//     below its axial load, otherwise curve j with A(j) <= P < A(j+1) and a
//     linear interpolation of the rigidities of curves j and j+1 by P;
//   on a curve: M2/phi2 at and below the first point (phi = 0 included),
//     M/phi with M linear between the points, and Mp/phi beyond the last
//     point (the moment holds at the last moment of the curve).
// beyond is set when phi lies beyond the last point of a curve used.
// Returns false (and leaves ei unchanged) when the set cannot give a
// rigidity: no curve, a curve of fewer than two points, or a first segment
// without slope (phi2 <= 0).
bool SECANT_EI(const MC_SET& set, double P, double phi, double& ei, bool& beyond);

// Updates EI (plane y: deflections Y, rigidities PLANE_Y.EI, the sections'
// SET_NLEI_Y) or EI_Z (plane z: Z, PLANE_Z.EI, SET_NLEI_Z) of nodes 0..N from
// the curvatures |y''| of the current deflections (w.h, w.property, w.vert,
// w.X). A node whose section names no set (0) keeps its section rigidity;
// the imaginary nodes are not touched.
// Resets and sets w.PLASTIC_HINGE (a curvature beyond the last point of its
// curve) and w.NLEI_ERROR (a set that does not exist or cannot give a
// rigidity). Returns ST_OK, or ST_BAD_PROPERTY with w.NLEI_ERROR set; writes
// nothing.
int EI_UPDATE_Y(const RUN& run, PILE_WORK& w, double P);
int EI_UPDATE_Z(const RUN& run, PILE_WORK& w, double P);

}  // namespace kestra
