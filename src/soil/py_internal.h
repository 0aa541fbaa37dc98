// Shared pieces of the p-y model files (not part of the public interface).
#pragma once

#include "engine/status.h"
#include "soil/py_models.h"

namespace kestra::py_detail {

// Single-precision constant widened to double.
constexpr double F32(float v) { return double(v); }

// Status with a message stored in the curve.
inline int FAIL(PY_CURVE& c, int status, const char* message) {
  c.MESSAGE = message;
  return status;
}

// Per-model preparation and curve (the dispatch is in py_models.cpp).
int PREPARE_SOFT_CLAY(const PY_NODE_INPUT& in, const PY_RUNWIDE& rw, PY_CURVE& c);
double P_SOFT_CLAY(const PY_CURVE& c, double y);
int HEQ_SOFT_CLAY(const PY_NODE_INPUT& in, double S, double& h, const char** msg);

int PREPARE_STIFF_CLAY_FREE_WATER(const PY_NODE_INPUT& in, PY_RUNWIDE& rw, PY_CURVE& c);
double P_STIFF_CLAY_FREE_WATER(const PY_CURVE& c, double y);
int HEQ_STIFF_CLAY_FREE_WATER(const PY_NODE_INPUT& in, double S, double& h, const char** msg);

int PREPARE_STIFF_CLAY_NO_WATER(const PY_NODE_INPUT& in, const PY_RUNWIDE& rw, PY_CURVE& c);
double P_STIFF_CLAY_NO_WATER(const PY_CURVE& c, double y);
int HEQ_STIFF_CLAY_NO_WATER(const PY_NODE_INPUT& in, double S, double& h, const char** msg);
int DEFLECTIONS_STIFF_CLAY_NO_WATER(const PY_CURVE& c, double* y);

int PREPARE_SAND(const PY_NODE_INPUT& in, const PY_RUNWIDE& rw, PY_CURVE& c);
double P_SAND_SHAPE(const PY_CURVE& c, double y);  // sand and silt four-segment curve
int HEQ_SAND(const PY_NODE_INPUT& in, double S, const PY_RUNWIDE& rw, double& h,
             const char** msg);

int PREPARE_API_SAND(const PY_NODE_INPUT& in, PY_RUNWIDE& rw, PY_CURVE& c);
double P_API_SAND(const PY_CURVE& c, double y);

int PREPARE_LIQUEFIED_SAND(const PY_NODE_INPUT& in, PY_RUNWIDE& rw, PY_CURVE& c);
double P_LIQUEFIED_SAND(const PY_CURVE& c, double y);
double LIQUEFIED_DEFLECTION(int units_system, int i);  // i = 1..17

int PREPARE_WEAK_ROCK(const PY_NODE_INPUT& in, PY_RUNWIDE& rw, PY_CURVE& c);
double P_WEAK_ROCK(const PY_CURVE& c, double y);
extern const float WEAK_ROCK_DEFLECTIONS[PY_DEFAULT_POINTS];

int PREPARE_VUGGY_LIMESTONE(const PY_NODE_INPUT& in, PY_RUNWIDE& rw, PY_CURVE& c);
double P_VUGGY_LIMESTONE(const PY_CURVE& c, double y);

int PREPARE_SILT(const PY_NODE_INPUT& in, PY_RUNWIDE& rw, PY_CURVE& c);
int HEQ_SILT(const PY_NODE_INPUT& in, double S, const PY_RUNWIDE& rw, double& h,
             const char** msg);

// Wedge quantities of the sands and the silt at friction angle phi.
struct WEDGE {
  double TANPHI, ALPHA, BETA, TANA, TANB, SINB, COSA, K0, KA, KP;
  double C1, C2, C3;  // pus = (C1 z + C2 b) gamma z, pud = C3 b gamma z
};
WEDGE WEDGE_OF(double phi, double pi);
// Wedge resistance pst at depth z and flow resistance psd at depth zf of the
// sand model (the silt uses zf = z).
double SAND_PST(const WEDGE& w, double gamma, double b, double z);
double SAND_PSD(const WEDGE& w, double gamma, double b, double zf);
// Coefficients A and B of the sand tables at z/b.
double SAND_A(bool cyclic, double zb);
double SAND_B(bool cyclic, double zb);
// The segment constants of the four-segment sand curve from pu and pm.
void SAND_SHAPE(PY_CURVE& c, double pu, double pm, double z);
// The clay part of the silt: min(3 + gamma z / c + 0.5 z / b, 9) c b (0 for c <= 0).
double CLAY_PU(double c, double gamma, double b, double z);

// Stepped search of the equivalent depth: integrand pu(z) of the layer,
// nsteps steps of z_t / nsteps; beyond z_t the deep resistance pu_deep.
template <class PU>
int STEPPED_DEPTH(double zt, int nsteps, double S, PU pu, double& pu_deep_after, double& h) {
  if (!(zt > 0.0)) zt = 0.0;
  const double dz = zt / nsteps;
  double integral = 0.0;
  for (int i = 1; i <= nsteps && dz > 0.0; ++i) {
    const double z = dz * i;
    const double inc = pu(z) * dz;
    if (integral + inc > S) {
      h = (z - dz) + (S - integral) / inc * dz;
      return 0;
    }
    integral += inc;
  }
  if (!(pu_deep_after > 0.0)) return 1;  // no resistance to match S
  h = zt + (S - integral) / pu_deep_after;
  return 0;
}

// Common property checks.
inline bool BAD_WIDTH(double b) { return !(b > 0.0); }
inline bool NEGATIVE(double v) { return !(v >= 0.0); }  // also NaN

}  // namespace kestra::py_detail
