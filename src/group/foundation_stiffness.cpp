// Equivalent stiffness of the foundation at the origin.
#include "group/foundation_stiffness.h"

namespace kestra {

int FOUNDATION_SETUP(RUN&, int) { return 0; }
int FOUNDATION_POINT(RUN&, int, int) { return ST_OK; }
int TARGET_MODE_END(RUN&, const char*, const VEC6&, const VEC6&, const MAT6&, int) { return ST_OK; }
double NEXT_FACTOR(double*, double*, int, double) { return 0.0; }
void CONDENSED_HEAD_STIFFNESS(bool, int, double, const double*, const double*, const double*, double, bool, MAT6& K) {
  K = MAT6{};
}

}  // namespace kestra
