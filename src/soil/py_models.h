// Lateral soil resistance curves (p-y) of the eleven soil models.
//
// The models are pure numerical functions: they read the soil and pile
// properties of one node (PY_NODE_INPUT), the run-wide values the models
// share (PY_RUNWIDE), and produce a prepared curve (PY_CURVE) that holds
// everything the curve needs (ultimate resistance, reference deflection,
// segment constants). Evaluating a prepared curve at a deflection is cheap,
// allocation-free and does not touch any shared state, so the beam-column
// iteration can evaluate every node in every iteration.
//
// Who computes what:
//   caller (layer walk)  depths, property lookups, averages, factors, signs,
//                        which node is the layer's first/last node
//   PY_PREPARE           ultimate resistance and curve constants of a node;
//                        changes the run-wide values as the model requires
//   PY_P                 p at a deflection (the raw curve, no factors)
//   PY_EVALUATE          secant modulus ESOIL and factored reaction of a node
//   PY_TABLE_POINT       a tabulated (y, p) point with the factors
//   PY_DEFAULT_DEFLECTIONS  the 17 default deflections of a tabulated curve
//   PY_PUSUM_ADD         the node's contribution to the layer integral of pu
//   PY_EQUIVALENT_DEPTH  the equivalent depth of a lower layer
//   PY_USER_EVALUATE     user-specified curves (model 5, input p-y curves)
//
// Depths: every length is in the units of the run (feet/inches or metres),
// every angle in radians. No function returns NaN or infinity: a property
// that would divide by zero or take the root of a negative number gives a
// nonzero status and PY_CURVE::MESSAGE names it.
#pragma once

namespace kestra {

// Soil model codes (SOIL_MODEL of a layer).
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

// The model a SOIL_MODEL code selects: 1 to 11, any other code soft clay.
int PY_MODEL_OF(int soil_model);

// Values shared by all models of a run. Some models change them and the
// models that run after them use the changed values, so the caller must
// prepare nodes in layer order (layer 1 to NL, nodes top to bottom) and call
// PY_ENTER_LAYER before the nodes of every layer it processes.
struct PY_RUNWIDE {
  // Value of pi used by the wedge formulas of the sands and the silt:
  // single-precision 3.14159 at the start of a run, 4*atan(1) once an API
  // sand or silt layer has been entered.
  double PI = double(3.14159f);
  // Small-deflection threshold: below it the clays and sands use their
  // initial modulus E0. Weak rock and liquefied sand set it to 2e-5*b at
  // every node, vuggy limestone to single-precision 1e-14, API sand and silt
  // back to 1e-14. The beam-column printing pass resets it to 1e-14.
  double SMALL_DEFLECTION = 1e-14;
  // Ultimate resistance of the node each model prepared last (the PUSUM
  // terms of these models use it). Never reset during a run.
  double PC_PREV_STIFF_CLAY = 0.0;   // model 2: pc
  double PU_PREV_SILT = 0.0;         // model 7: pu
  double PU_PREV_LIQUEFIED = 0.0;    // model 11: Pu
};

// Restores the values of the start of a run.
void PY_RUNWIDE_START(PY_RUNWIDE& rw);

// Entry of a model for one layer (before its first node, even when no node
// of the layer lies below the ground): API sand and silt set pi to 4*atan(1)
// and the threshold to 1e-14; vuggy limestone sets the threshold to
// single-precision 1e-14.
void PY_ENTER_LAYER(int soil_model, PY_RUNWIDE& rw);

// Properties of one node, as the layer walk finds them.
struct PY_NODE_INPUT {
  int MODEL = PY_SOFT_CLAY;   // SOIL_MODEL of the layer
  bool CYCLIC = false;        // loading type: false static, true cyclic
  int N_CYCLES = 1;           // number of cycles (cyclic loading; < 1 taken as 1)
  int UNITS_SYSTEM = 2;       // 1 English (in, lb), anything else SI (m, kN)
  bool FIRST_NODE = false;    // the node is the layer's first node (NFIRST)
  // Depths below the ground surface.
  double Z = 0.0;        // model depth: true depth in layer 1, (x - layer top) + HEQ
                         // below (models 1, 2 for As/Ac, 3, 4, 7, 8, 10)
  double Z_TRUE = 0.0;   // x - g - v (model 2 pc and Esi, model 4 flow term,
                         // model 6; the first-node depth z1 of the sand HEQ)
  double Z_LAYER = 0.0;  // x - top of the node's layer (models 9 and 11)
  double B = 0.0;        // pile width (or cap width)
  double GAMMA = 0.0;    // average effective unit weight, ground surface to node
  double C = 0.0;        // cohesion; uniaxial compressive strength (models 6, 9)
  double CA = 0.0;       // average of C as the model defines it (models 2, 3, 9, 10)
  double PHI = 0.0;      // friction angle, radians (models 4, 7, 8)
  double K = 0.0;        // p-y subgrade modulus k (models 2, 4, 7, 8, 10)
  double ER = 0.0;       // rock modulus Er (model 9)
  double E50 = 0.0;      // strain at 50 % stress; krm for weak rock
  double RQD = 0.0;      // rock quality designation, per cent (model 9)
};

// Warnings a prepared curve can carry (the caller prints them once per layer).
enum PY_WARNING_CODE : int {
  PY_WARN_NONE = 0,
  PY_WARN_PD_FLOORED = 1,  // liquefied sand: width factor Pd negative, taken as 0
};
const char* PY_WARNING_MESSAGE(int warning);

// A prepared curve. The named groups are filled by the models that use them;
// the rest stays 0.
struct PY_CURVE {
  int MODEL = PY_SOFT_CLAY;
  bool CYCLIC = false;
  int WARNING = PY_WARN_NONE;
  const char* MESSAGE = nullptr;  // text of a nonzero status of PY_PREPARE
  double B = 0.0;            // width
  double Z = 0.0;            // depth the curve was built at
  double THRESHOLD = 1e-14;  // small-deflection threshold when prepared
  double E0 = 0.0;           // initial modulus (below the threshold)
  double Y50 = 0.0;          // reference deflection (y50, ym for sands, yrm, y2)
  double PU = 0.0;           // ultimate resistance (pu, pc, pur, Pu)
  double PU_PREV = 0.0;      // previous node's ultimate resistance (models 2, 7, 11)
  double PU_LAYER1 = 0.0;    // resistance of the layer-1 term above the head
  double PU_SUM = 0.0;       // PUSUM factor: pu_N of models 1, 3, 4, 8, 10; F of model 2
  double ESI = 0.0;          // initial straight line k*z (2, 4, 7, 10), 2000c (6), Kir (9)
  // Soft clay.
  double ZR = 0.0;
  // Stiff clay with free water.
  double AS = 0.0, AC = 0.0, F = 0.0, YP = 0.0;
  // Stiff clay without free water: y50 scaled by the cycles.
  double Y50_CYCLIC = 0.0;
  // Sand, API sand, silt.
  double A = 0.0, BCOEF = 0.0;    // coefficients A and B
  double PST = 0.0, PSD = 0.0;    // wedge and flow resistances (report)
  double PM = 0.0, YM = 0.0, YU = 0.0, YK = 0.0, SLOPE = 0.0, CPAR = 0.0, INV_N = 0.0;
  double PC = 0.0;                // silt: clay part; times 3 c b in PC3
  double PC3 = 0.0;
  bool NO_RESISTANCE = false;     // the sand or silt resistance is zero
  // API sand: A*pu and k*z.
  double APU = 0.0, KZ = 0.0;
  // Liquefied sand: p = LA*(LB*y*Y_SCALE)^LC*PD*MULT, capped at CAP and PU.
  double LA = 0.0, LB = 0.0, LC = 0.0, PD = 0.0, Y_SCALE = 0.0, MULT = 0.0, CAP = 0.0;
  double Y_FIRST = 0.0;           // first tabulated deflection (used for y = 0)
  // Weak rock.
  double QR = 0.0, QA = 0.0, YRM = 0.0, YA = 0.0;
  // Vuggy limestone.
  double Y1 = 0.0, P1 = 0.0, Y2 = 0.0, PRES = 0.0;
};

// Prepares the curve of one node. Returns 0 or a status code of
// engine/status.h (21, 28, 29, 30, ST_BAD_PROPERTY); on a nonzero status
// curve.MESSAGE names the property and the curve must not be used.
// Model 5 (user curves) prepares an empty curve: use PY_USER_EVALUATE.
int PY_PREPARE(const PY_NODE_INPUT& in, PY_RUNWIDE& rw, PY_CURVE& curve);

// p of the curve at deflection y >= 0, without any factor.
double PY_P(const PY_CURVE& curve, double y);

// Group and depth factors: P-FACTOR, Y-FACTOR, and the depth factors of the
// node (1 when none apply). Y and YD must be positive.
struct PY_FACTORS {
  double P = 1.0;
  double Y = 1.0;
  double PD = 1.0;
  double YD = 1.0;
};

struct PY_SPRING {
  double ESOIL = 0.0;  // secant modulus handed to the beam-column solver
  double P = 0.0;      // soil reaction magnitude with the factors (caller applies the sign)
  double P_RAW = 0.0;  // unfactored p (cap pass: CAP_P)
};

// The spring of a node at deflection y >= 0 (|y_j|, or |y_j - s_j| with soil
// movement).
PY_SPRING PY_EVALUATE(const PY_CURVE& curve, double y, const PY_FACTORS& f);

// A tabulated point at deflection y: (y*Y*YD, p*P*PD). (The cap pass shows
// the unfactored (y, PY_P).)
struct PY_POINT {
  double Y = 0.0;
  double P = 0.0;
};
PY_POINT PY_TABLE_POINT(const PY_CURVE& curve, double y, const PY_FACTORS& f);

// The default deflections of a tabulated curve. Writes PY_DEFAULT_POINTS
// values and returns their count (0 for user curves).
inline constexpr int PY_DEFAULT_POINTS = 17;
int PY_DEFAULT_DEFLECTIONS(const PY_CURVE& curve, double y[PY_DEFAULT_POINTS]);

// The layer integral of the ultimate resistance. The caller sets PUSUM (k)
// to 0 at the layer's first node (NFIRST, also when that node lies above the
// ground) and calls PY_PUSUM_ADD for every node of the layer it prepares.
struct PY_PUSUM_NODE {
  int LAYER = 1;            // layer number k
  bool FIRST_NODE = false;  // node is NFIRST (k)
  bool LAST_NODE = false;   // node is NLAST (k)
  double H = 0.0;           // node spacing
  double BOTTOM_GAP = 0.0;  // bottom coordinate of the layer - x of the node
  double GROUND = 0.0;      // current ground value g
  double LAYER1_SPAN = 0.0; // bottom of layer 1 - ground surface coordinate
  double PILE_STEP = 0.0;   // pile length / increments of the pile property (weak rock)
};
void PY_PUSUM_ADD(const PY_CURVE& curve, const PY_PUSUM_NODE& node, double& pusum);

// Equivalent depth of a lower layer: the depth h at which the integral of
// the layer's ultimate resistance from 0 to h, built with the properties of
// the layer's first node (`first`, with Z_TRUE the true depth z1 of that
// node), equals S, the PUSUM total of the layers above. h is 0 for the
// models that do not use an equivalent depth and for S <= 0. Returns a
// status and sets *message when the layer has no resistance to match S.
int PY_EQUIVALENT_DEPTH(const PY_NODE_INPUT& first, double S, const PY_RUNWIDE& rw,
                        double& h, const char** message);

// Running trapezoid average of a property over the nodes of a layer (the
// layer average of cohesion of models 2, 3, 10 and of the rock strength of
// model 9 in lower layers). START at the layer's first node returns v; ADD
// at every later node returns the average from the first node down.
struct PY_LAYER_AVERAGE {
  double X_FIRST = 0.0;
  double X_PREV = 0.0;
  double V_PREV = 0.0;
  double INTEGRAL = 0.0;
};
double PY_AVERAGE_START(PY_LAYER_AVERAGE& a, double x, double v);
double PY_AVERAGE_ADD(PY_LAYER_AVERAGE& a, double x, double v);

// The report block of the warnings that come with statuses 21, 28, 29 and
// 30 (lines without their leading blanks: 7 blanks precede each, an empty
// line precedes the block, and for 29 follows it too). Null for other codes.
struct PY_STATUS_TEXT {
  int COUNT;
  const char* LINES[4];
};
const PY_STATUS_TEXT* PY_STATUS_LINES(int status);

// User-specified p-y curves of one set, in depth order: curve i has NPTS
// points (Y[0..NPTS-1] increasing, P[...]) at coordinate DEPTH.
struct PY_USER_CURVE {
  double DEPTH = 0.0;
  int NPTS = 0;
  const double* Y = nullptr;
  const double* P = nullptr;
};

struct PY_USER_SPRING {
  double ESOIL = 0.0;
  double P = 0.0;       // factored reaction magnitude
  double P_RAW = 0.0;   // unfactored p interpolated by depth (CAP_P)
  bool BEYOND = false;  // the node lies below the deepest curve
};

// Spring of a node at coordinate x and deflection y from the curve set.
// y is raised to the threshold; curves bracketing x are interpolated by
// depth; above the first curve the first curve is used, below the last the
// last (BEYOND set: the caller writes the "DO NOT EXTEND" line).
PY_USER_SPRING PY_USER_EVALUATE(const PY_USER_CURVE* curves, int ncurves, double x, double y,
                                double threshold, const PY_FACTORS& f);

}  // namespace kestra
