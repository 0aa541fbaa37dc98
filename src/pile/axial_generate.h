// The axial and torsional curves of a pile property as the rest of the
// engine uses them: generated from the model store for a pile group, printed
// to the curve files during the input echo, stored as the property's
// 19-point pile-head curves (HEAD_CURVES of engine/store.h), and regenerated
// before every runtime axial solution (AXIAL_SOLVE of pile/pile_solvers.h).
//
// Every function returns the status and stores a nonzero one in run.status
// after writing its warning to the report and the runtime file.
#pragma once

#include "engine/run.h"
#include "pile/axial_march.h"
#include "soil/tz_curves.h"

namespace kestra {

// The soil profile of the store as the load-transfer curves read it.
void TZ_PROFILE_OF(const STORE& s, TZ_PROFILE& out);
// Pile property p for a pile whose head is at coordinate v: type, length,
// increments, the first-section width, the width and area at the tip and
// the EA and GJ of every section end (EA = E times the area at that end).
void AXIAL_PILE_OF(const STORE& s, int p, double v, AXIAL_PILE& out);
// Ground value g and head value v of pile group g.
AXIAL_GROUP AXIAL_GROUP_OF(const STORE& s, int g);

// Writes the warning of a failed generation or march (statuses 22 to 27,
// 32 to 35, ST_BAD_PROPERTY) to the report and the runtime file, stores the
// status in run.status and returns it. property names the pile property in
// the text of ST_BAD_PROPERTY.
int REPORT_AXIAL_MESSAGE(RUN& run, const AXIAL_MESSAGE& msg, int property);

// One echo pass of the axial curves of property p with pile group g
// (direction 1 pull-out, 2 compression): the t-z curves (direction 1) or the
// q-w curve (direction 2) to the axial-torsion curve file, the nine marches
// to the t-z curve file and their table to the axial-torsion curve file,
// and the branch's half of the property's load-displacement curve (with the
// origin at point 10) in run.store.head. The "FMAX 1" trace records go to
// the runtime file.
int GENERATE_AXIAL_CURVES(RUN& run, int p, int direction, int g);

// The same for the torque-rotation curve of a 3D analysis: side curves
// ("FMAX 4" trace), the GJ check, the tip (statuses 34 and 35), the T-q
// curves (direction 1), the nine torsional marches and their table, and the
// branch's half of the property's torque-rotation curve.
int GENERATE_TORSION_CURVES(RUN& run, int p, int direction, int g);

// The curve file unit labels (3 characters): length, force, stress.
struct CURVE_LABELS {
  const char* LENGTH;
  const char* FORCE;
  const char* STRESS;
};
CURVE_LABELS CURVE_FILE_LABELS(int units);

}  // namespace kestra
