// Steps of the soil echo whose numbers come from the analysis subsystems:
// the estimated unit capacities of Table F, the internally generated curves
// of Tables H and I and the estimated multipliers of Table K. The echo
// (input/read_soils.cpp) calls each at its place in the report; until the
// subsystems provide them, input/soils_hooks.cpp holds neutral versions
// (no estimate, nothing generated), which the subsystems replace.
#pragma once

#include "engine/run.h"

namespace kestra {

// Table F: the estimated ultimate unit side friction and tip resistance at
// coordinate x of a layer of model soil_model, for a driven pile and for a
// drilled shaft. A flag is 1 when the input value there is zero and the
// value was estimated; the echo then prints the estimate for every pile
// type present in the arrangement. Returns the status (nonzero ends the echo).
struct UNIT_RESISTANCE_ESTIMATE {
  int SIDE_FLAG = 0;
  double SIDE_DRIVEN = 0.0;
  double SIDE_DRILLED = 0.0;
  int TIP_FLAG = 0;
  double TIP_DRIVEN = 0.0;
  double TIP_DRILLED = 0.0;
};
int ECHO_HOOK_UNIT_RESISTANCE(RUN& run, int soil_model, double x, UNIT_RESISTANCE_ESTIMATE& est);

// Table H without user curves (there are soil layers and groups): generate
// the load-settlement curve of every pile property in use, write the
// "AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY" part of the table
// (WRITE_LS_CURVE_TABLE gives the per-curve table) and the curve file copy.
// Called just after the Table H heading. Returns the status.
int ECHO_HOOK_GENERATED_LS_CURVES(RUN& run);

// Table I of a 3D analysis without user curves: the same for the
// torque-rotation curves (WRITE_TR_CURVE_TABLE). Called just after the
// Table I heading. Returns the status.
int ECHO_HOOK_GENERATED_TR_CURVES(RUN& run);

// Table K, SPACING_REDUCTION 1 or 3: estimate the group multipliers of
// closely spaced piles into the group multiplier arrays (2D: the plane's
// pair; 3D: the Y and Z pairs) and give the pile diameter that the 2D table
// prints. Called before the Table K heading. Returns the status.
struct SPACING_ESTIMATE {
  double PILE_DIAMETER = 0.0;
};
int ECHO_HOOK_SPACING_FACTORS(RUN& run, SPACING_ESTIMATE& est);

// Per-curve tables shared by the user and the generated curves of Tables H
// and I: "CURVE", "NUM OF POINTS", the heading with units and one row per
// point (displacement and load; rotation and moment).
void WRITE_LS_CURVE_TABLE(RUN& run, int curve, int npoints, const double* disp, const double* load);
void WRITE_TR_CURVE_TABLE(RUN& run, int curve, int npoints, const double* rotation, const double* moment);

}  // namespace kestra
