// Internal pieces shared by the p-y layer walk (generate_py.cpp) and the
// soil models (py_clay.cpp, py_sand.cpp, py_rock.cpp): the node record the
// walk hands to a model, the curve constants a model prepares, the property
// lookups and the helpers of the layer integral and the equivalent depth.
#pragma once

#include <cmath>

#include "engine/run.h"
#include "pile/pile_work.h"

namespace kestra {

// Single-precision constant widened to double.
constexpr double F32(float v) { return double(v); }

// Soil model codes.
enum PY_MODEL_CODE : int {
  PY_SOFT_CLAY = 1,
  PY_STIFF_CLAY_FREE_WATER = 2,
  PY_STIFF_CLAY_NO_WATER = 3,
  PY_SAND = 4,
  PY_USER_CURVES = 5,
  PY_VUGGY_LIMESTONE = 6,
  PY_SILT = 7,
  PY_API_SAND = 8,
  PY_WEAK_ROCK = 9,
  PY_STIFF_CLAY_INITIAL_K = 10,
  PY_LIQUEFIED_SAND = 11,
};

// The model a layer code selects: 1 to 11, any other code soft clay.
inline int PY_MODEL_OF(int code) { return (code >= 1 && code <= 11) ? code : PY_SOFT_CLAY; }

// One node of a layer as the walk sees it.
struct PY_NODE {
  int k = 1;             // layer
  int j = 1;             // node number, 1 at the head
  bool first = false;    // j is NFIRST (k)
  bool last = false;     // j is NLAST (k)
  bool cap = false;      // the embedded-cap pass (cap width, p to CAP_P)
  double x = 0.0;        // node coordinate
  double zt = 0.0;       // true depth below the ground surface, x - g - v
  double b = 0.0;        // pile width (or cap width)
  double h = 0.0;        // node spacing
  double g = 0.0;        // the group's ground value
  double v = 0.0;        // the group's head value
  double top = 0.0;      // layer top and bottom coordinates
  double bottom = 0.0;
};

// How a curve turns p into the secant modulus.
enum PY_CONVERSION : int {
  CONV_STANDARD = 0,   // below the threshold E0, otherwise p P / y / Y
  CONV_ROCK = 1,       // below yA the initial modulus Kir, no factor
  CONV_VUGGY = 2,      // p already carries the P-FACTOR on its first branches
  CONV_LIQUEFIED = 3,  // no small-deflection branch; y = 0 takes the first tabulated deflection
};

// Curve constants of one node, prepared by its model.
struct PY_CURVE {
  int model = PY_SOFT_CLAY;
  int conv = CONV_STANDARD;
  bool cyclic = false;
  double E0 = 0.0;       // initial modulus (below the threshold)
  double b = 0.0;        // width
  double z = 0.0;        // model depth
  double zt = 0.0;       // true depth
  double pu = 0.0;       // ultimate resistance (pu, pc, pur, Pu)
  double y50 = 0.0;      // reference deflection (y50, yrm, y2 ...)
  // Soft clay.
  double zr = 0.0;
  // Stiff clays.
  double c = 0.0, ca = 0.0, gamma = 0.0, e50 = 0.0, esi = 0.0;
  double as = 0.0, ac = 0.0, yp = 0.0, ncyc = 1.0;
  bool initial_k = false;
  // Sands and silt.
  double phi = 0.0, A = 0.0, B = 0.0, pst = 0.0, psd = 0.0, pm = 0.0, ym = 0.0, yu = 0.0;
  double yk = 0.0, slope = 0.0, cpar = 0.0, inv_n = 0.0, pc = 0.0, kz = 0.0;
  // Liquefied sand.
  double la = 0.0, lb = 0.0, lc = 0.0, pd = 0.0, yscale = 0.0, mult = 0.0, pcap = 0.0;
  double yfirst = 0.0, units1 = 0.0;
  // Weak rock.
  double qr = 0.0, kir = 0.0, ya = 0.0, krm = 0.0;
  // Vuggy limestone (p1 and y1 of the first branch; P and P_d folded in).
  double y1 = 0.0, p1 = 0.0, y2 = 0.0, pres = 0.0, pfac = 1.0;
};

// The multipliers of a node.
struct PY_FACTORS {
  double P = 1.0, Y = 1.0, PD = 1.0, YD = 1.0;
};

// --- Property lookups (py_lookup.cpp).
double PROFILE_VALUE(const STORE& s, int property, double x);
double SUBGRADE_MODULUS(const STORE& s, double x);
double COHESION_LOOKUP(RUN& run, double x, int& status);   // warning and 23 beyond the profile
double PHI_LOOKUP(RUN& run, double x, int& status);        // warning and 24 beyond the profile
double AVG_UNIT_WEIGHT(RUN& run, double x, int& status);   // warning and 22 beyond the profile
double AVG_COHESION(RUN& run, double x);                   // warning only
// The value of a property at the top point of layer k.
double LAYER_TOP_VALUE(const STORE& s, int property, int k);
// The depth factors of a node of group g (1 when none are given or found).
void DEPTH_FACTORS_AT(const STORE& s, int group, double x, double& pd, double& yd);

// --- Helpers of the models (generate_py.cpp).
// Stops with this engine's own status for a property that would divide by
// zero: writes a message naming the layer and the property.
int BAD_PROPERTY(RUN& run, int layer, const char* what);
// The depth a model uses in layered soil: the true depth in layer
// 1, (x - layer top) + HEQ below, less the ground-surface coordinate when
// layer 1 ends above the coordinate origin.
double EQUIVALENT_MODEL_DEPTH(RUN& run, const PILE_WORK& w, const PY_NODE& n);
// True when the equivalent depth of the node's layer must be computed now,
// and S, the layer integrals of the layers above.
bool HEQ_NEEDED(const RUN& run, const PILE_WORK& w, const PY_NODE& n, double& S);
void HEQ_STORE(RUN& run, const PILE_WORK& w, const PY_NODE& n, double h);
// The usual layer-integral term: h * pu_N for every node but the first of a
// lower layer, with the part between the ground surface and the head first
// in layer 1 (pu_init).
void PUSUM_STANDARD(const RUN& run, PILE_WORK& w, const PY_NODE& n, double pu_n, double pu_init);
// Running trapezoid average of a value over the nodes of a layer.
double LAYER_AVERAGE(RUN& run, const PY_NODE& n, double value);

// Equivalent depth for a piecewise-linear ultimate resistance: shallow
// integral I(zt), deep resistance, and the quadratic a h^2 + B h = S.
double HEQ_CLOSED(double S, double zt, double I_zt, double pu_deep, double a, double B);
// Stepped equivalent depth: nsteps of zt / nsteps, integrand pu(z) at the
// step end, extrapolated beyond zt with pu_deep.
template <class PU>
double HEQ_STEPPED(double S, double zt, int nsteps, PU pu, double pu_deep) {
  if (!(zt > 0.0)) zt = 0.0;
  const double dz = zt / nsteps;
  double integral = 0.0;
  if (dz > 0.0) {
    for (int i = 1; i <= nsteps; ++i) {
      const double z = dz * i;
      const double inc = pu(z) * dz;
      if (integral + inc > S) return (z - dz) + (S - integral) / inc * dz;
      integral += inc;
    }
  }
  if (!(pu_deep > 0.0)) return zt;  // no deeper resistance to match: stop at zt
  return zt + (S - integral) / pu_deep;
}

// --- The models. PREPARE_* look up the properties, compute the curve
// constants and add the node's layer-integral term; a nonzero return ends
// the layer walk. P_* give p at a deflection (without the group factors
// except where the model folds them in). Defined in py_clay.cpp,
// py_sand.cpp and py_rock.cpp.
int PREPARE_SOFT_CLAY(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c);
int PREPARE_STIFF_CLAY_FREE_WATER(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c);
int PREPARE_STIFF_CLAY_NO_WATER(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c);
int PREPARE_SAND(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c);
int PREPARE_API_SAND(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c);
int PREPARE_LIQUEFIED_SAND(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c,
                           const PY_FACTORS& f);
int PREPARE_WEAK_ROCK(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c);
int PREPARE_VUGGY_LIMESTONE(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c,
                            const PY_FACTORS& f);
int PREPARE_SILT(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c);

double P_SOFT_CLAY(const PY_CURVE& c, double y);
double P_STIFF_CLAY_FREE_WATER(const PY_CURVE& c, double y);
double P_STIFF_CLAY_NO_WATER(const PY_CURVE& c, double y);
double P_SAND_SHAPE(const PY_CURVE& c, double y);  // sand and silt
double P_API_SAND(const PY_CURVE& c, double y);
double P_LIQUEFIED_SAND(const PY_CURVE& c, double y);
double P_WEAK_ROCK(const PY_CURVE& c, double y);
double P_VUGGY_LIMESTONE(const PY_CURVE& c, double y);

// p of a prepared curve at deflection y >= 0.
double PY_CURVE_P(const PY_CURVE& c, double y);
// The 17 default deflections of a prepared curve; returns 17.
int PY_DEFAULT_DEFLECTIONS(const RUN& run, const PY_CURVE& c, double* y);
// Report header (and plot-file depth record) of a tabulated curve.
void PY_CURVE_HEADER(RUN& run, const PY_NODE& n, const PY_CURVE& c, const PY_FACTORS& f);
// One tabulated point to the report and the plot file.
void PY_CURVE_ROW(RUN& run, const PY_CURVE& c, double y, double p);

// The sand wedge quantities at friction angle phi with the run's pi.
struct PY_WEDGE {
  double phi, tanphi, alpha, beta, tana, tanb, sinb, cosa, K0, Ka, Kp;
  double C1, C2, C3;
};
PY_WEDGE WEDGE_OF(double phi, double pi);
double SAND_PST(const PY_WEDGE& q, double gamma, double b, double z);
double SAND_PSD(const PY_WEDGE& q, double gamma, double b, double zf);
double SAND_TABLE_A(bool cyclic, double zb);
double SAND_TABLE_B(bool cyclic, double zb);
// The constants of the four-segment sand curve from pu, pm and Esi.
void SAND_SHAPE(PY_CURVE& c, double pu, double pm, double esi, double z);
// Soft-clay ultimate resistance min(3 + gamma z / c + 0.5 z / b, 9) c b (0 for c <= 0).
double CLAY_PU(double c, double gamma, double b, double z);

// User curves of the group's set (layer model 5): fills ESOIL, PSOIL, PMOVE
// and CAP_P of the layer's nodes.
int USER_CURVE_LAYER(RUN& run, PILE_WORK& w, int k);

}  // namespace kestra
