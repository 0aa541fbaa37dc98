// Runtime axial solution of one pile group: the property's curves are
// regenerated for the group (no printing) and the tip movement is iterated
// until the head moves by the given displacement.
#include <cstdio>

#include "engine/format.h"
#include "engine/report.h"
#include "pile/axial_generate.h"
#include "pile/pile_solvers.h"

namespace kestra {

int AXIAL_SOLVE(RUN& run, PILE_WORK& w, int g, int p, double a, double& head_force) {
  STORE& s = run.store;
  head_force = 0.0;
  AXIAL_MESSAGE msg;
  if (p < 1 || p > MAX_PROPERTIES || s.head.LS_DONE[p] == 0) {
    msg.status = ST_BAD_PROPERTY;
    std::snprintf(msg.TEXT, sizeof msg.TEXT, "%s",
                  "NO GENERATED LOAD-SETTLEMENT CURVE FOR THE AXIAL SOLUTION");
    return REPORT_AXIAL_MESSAGE(run, msg, p);
  }
  const int units = s.ctl.UNITS_SYSTEM;
  const AXIAL_GROUP group = AXIAL_GROUP_OF(s, g);
  TZ_PROFILE soil;
  TZ_PROFILE_OF(s, soil);
  AXIAL_PILE pile;
  AXIAL_PILE_OF(s, p, group.VERT, pile);
  AXIAL_CURVES curves;
  if (GENERATE_TZ_CURVES(soil, pile, group, units, AXIAL_RUNTIME_DIRECTION(a), TZ_RUNTIME, curves,
                         msg, run.files[F_RUNTIME]))
    return REPORT_AXIAL_MESSAGE(run, msg, p);

  HEAD_CURVE head;
  head.NPTS = HEAD_CURVE_POINTS;
  for (int i = 1; i <= HEAD_CURVE_POINTS; ++i) {
    head.TOP_MOVE[i] = s.head.LS_DISP[p][i];
    head.TOP_LOAD[i] = s.head.LS_LOAD[p][i];
    head.TIP_MOVE[i] = s.head.LS_TIP_DISP[p][i];
    head.TIP_FORCE[i] = s.head.LS_TIP_LOAD[p][i];
  }
  AXIAL_NODES nodes;
  AXIAL_SOLUTION sol;
  if (AXIAL_SOLVE_CURVES(pile, curves, head, a, nodes, sol, msg))
    return REPORT_AXIAL_MESSAGE(run, msg, p);

  w.AXDISP.fill(0.0);
  w.AXFORCE.fill(0.0);
  for (int m = 0; m <= pile.INC; ++m) {
    w.AXDISP[NODE(m)] = nodes.MOVE[NODE(m)];
    w.AXFORCE[NODE(m)] = nodes.FORCE[NODE(m)];
  }
  head_force = sol.HEAD_FORCE;

  FILE* rt = run.files[F_RUNTIME];
  if (sol.PASS_LIMITED > 0)
    WRITE_F(rt, "(5X,'AXIAL SOLUTION OF PILE GROUP',I5,': THE SEGMENT ITERATION STOPPED AT',I4,"
                "' PASSES IN',I5,' SEGMENT(S)')",
            g, MARCH_MAX_PASSES, sol.PASS_LIMITED);
  if (sol.RANGE_FLAG == 0 && !sol.CONVERGED)
    WRITE_F(rt, "(5X,'AXIAL SOLUTION OF PILE GROUP',I5,' NOT CONVERGED AFTER',I3,' ITERATIONS')", g,
            AXIAL_MAX_ITERATIONS);
  return ST_OK;
}

}  // namespace kestra
