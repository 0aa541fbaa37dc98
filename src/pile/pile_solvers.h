// The single-pile solutions the group analysis calls for every pile at every
// trial cap displacement: the axial solution (load-transfer method), the
// lateral solutions in one plane and in two planes, and the node layout with
// the pile-length check. All work on an explicit PILE_WORK; the generated
// pile-head curves of every pile property live in the store (HEAD_CURVES).
//
// Every function returns the status (0 or a code of engine/status.h); the
// lateral solutions also leave PILE_WORK::NO_CLOSURE and LLP_ITERATIONS.
#pragma once

#include "engine/run.h"
#include "pile/pile_work.h"

namespace kestra {

// Node layout of group g: h, X(0) = head coordinate, X(m) = X(m-1) + h, and
// (generated p-y curves) the layer assignment and the check against the
// deepest layer. Part of both the 2D path (status 13 on a pile longer than
// the soil profile) and the 3D pile-head response (status 3 there).
int GENERATE_NODES(RUN& run, PILE_WORK& w, int g);
int GENERATE_NODES_3D(RUN& run, PILE_WORK& w, int g);

// One-plane solution of group g: head deflection yt and rotation theta
// (dy/dx = +theta at the head), axial force P (already times the group's
// axial-load factor). V_out receives the lateral head force.
int LLP_GROUP(RUN& run, PILE_WORK& w, int g, double yt, double theta, double P, double& V_out);

// Two-plane solution of pile g: head deflections yt, zt, rotations imposed
// as dy/dx = -theta_y and dz/dx = -theta_z, axial force P, torque T.
// Receives the lateral head forces and the head moments of both planes.
int LLP_BIAXIAL(RUN& run, PILE_WORK& w, int g, double yt, double theta_y, double zt, double theta_z,
                double P, double T, double& Vy, double& Vz, double& My0, double& Mz0);

// Runtime axial solution of group g with pile property p at the head
// displacement a: regenerates the property's t-z and q-w curves for the
// group (no printing; tip area factor 1e-4 when a < 0), solves, fills
// w.AXDISP and w.AXFORCE and gives the head force.
int AXIAL_SOLVE(RUN& run, PILE_WORK& w, int g, int p, double a, double& head_force);

}  // namespace kestra
