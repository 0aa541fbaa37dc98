// Node layout of a pile and the check of its length against the soil profile.
#include <cmath>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "pile/llp_core.h"
#include "pile/pile_solvers.h"
#include "soil/input_py.h"

namespace kestra {

namespace {

int layout_and_check(RUN& run, PILE_WORK& w, int g, int status_below) {
  const STORE& s = run.store;
  if (!llp::LAYOUT_NODES(run, w, g))
    return FATAL(run, ST_BAD_PROPERTY,
                 "PILE GROUP " + std::to_string(g) +
                     " HAS NO PILE PROPERTY WITH A POSITIVE LENGTH AND 1 TO 100 INCREMENTS");
  if (USES_INPUT_PY(s, g)) return ST_OK;
  const int nl = s.soil.NL;
  const double bottom = (nl >= 1 && nl <= LAYER_TABLE) ? s.soil.LAYER_BOTTOM[nl] : 0.0;
  // A tip at the bottom of the profile to within rounding is inside it.
  const double slack = 1e-12 * (std::fabs(bottom) + s.piles.PROP[w.property].LENGTH);
  for (int m = 1; m <= w.N; ++m) {
    if (w.X[NODE(m)] > bottom + slack) {
      static constexpr const char* FMT =
          "(/,/,/,5X,'**** FATAL ERROR ****',/,5X,'THE PILE LENGTH, ',E10.2,'(',A3,')',"
          "', EXTENDS BELOW THE',/,5X,'BOTTOM OF THE DEEPEST LAYER.')";
      const double length = s.piles.PROP[w.property].LENGTH;
      WRITE_F(run.files[F_REPORT], FMT, length, s.labels.LENGTH_LABEL3);
      WRITE_F(run.files[F_RUNTIME], FMT, length, s.labels.LENGTH_LABEL3);
      COMMIT_RUNTIME(run);
      run.status = status_below;
      return status_below;
    }
  }
  return ST_OK;
}

}  // namespace

int GENERATE_NODES(RUN& run, PILE_WORK& w, int g) {
  return layout_and_check(run, w, g, ST_TIP_BELOW_LAYERS_2D);
}

int GENERATE_NODES_3D(RUN& run, PILE_WORK& w, int g) {
  return layout_and_check(run, w, g, ST_TIP_BELOW_LAYERS_3D);
}

}  // namespace kestra
