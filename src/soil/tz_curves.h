// Axial load-transfer curves of a pile property: the side curves (unit side
// friction t against pile movement z) at the depth points of the soil
// profile, the tip curve (tip force Q against tip movement W), the ultimate
// unit side friction FMAX and the ultimate tip force QMAX where the soil data
// give zero, and the unit estimates of the soil table.
//
// Everything here is plain computation over small records of its own: the
// caller copies the soil profile into TZ_PROFILE, the pile property into
// AXIAL_PILE and the group's ground and head values into AXIAL_GROUP, and
// prints or stores what comes back in AXIAL_CURVES. Nothing is allocated and
// nothing is kept between calls; the only output is the optional trace
// record of an estimated sand friction. Items numbered in the engine (layers,
// profile points, depth points, curve points, sections) are 1-based: entry 0
// of every table is unused.
//
// The curve constants are single-precision literals widened to double (0.55
// is 0.550000011920929); the arithmetic is double precision.
#pragma once

#include <array>
#include <cstdio>

#include "engine/limits.h"
#include "engine/status.h"

namespace kestra {

// Points of one t-z or q-w curve; point 1 is the origin.
inline constexpr int TZ_POINTS = 10;
// Depth points of a profile: the ground surface point, the point at the
// coordinate origin and three points per layer.
inline constexpr int MAX_DEPTH_POINTS = 3 * LAYER_TABLE + 2;
static_assert(MAX_DEPTH_POINTS == 89, "three points per layer and two at the top");

enum PILE_TYPE : int { DRIVEN_PILE = 1, DRILLED_SHAFT = 2 };

// Branch of a generation: pull-out (the tip carries practically nothing,
// results are reported negative) or compression.
enum AXIAL_DIRECTION : int { DIR_PULL_OUT = 1, DIR_COMPRESSION = 2 };

// Who generates: the echo of the axial curves, the runtime regeneration of
// the axial solution, or the torque-rotation generation. The number is the
// one of the side-friction trace text ("FMAX 1", "FMAX 2", "FMAX 4"); the
// torsional use reports a zero tip e50 or capacity with 34 and 35 in place of
// 32 and 33.
// The curve data file generates single side curves along a pile with the
// texts "FMAX 3" (axial) and "FMAX 5" (torsional).
enum TZ_USE : int {
  TZ_ECHO = 1,
  TZ_RUNTIME = 2,
  TZ_CURVE_FILE_AXIAL = 3,
  TZ_TORSION = 4,
  TZ_CURVE_FILE_TORSION = 5,
};

// Side-curve families.
enum TZ_FAMILY : int {
  TZ_FAMILY_SAND_HYPERBOLIC = 1,  // driven pile in sand or silt
  TZ_FAMILY_CLAY_TABLE = 2,       // driven pile in clay or rock
  TZ_FAMILY_CLAY_API = 3,         // driven pile in a user-curve layer
  TZ_FAMILY_SHAFT_SAND = 4,       // drilled shaft in sand or silt
  TZ_FAMILY_SHAFT_CLAY = 5,       // drilled shaft in clay or rock
};

// Tip-curve families.
enum QW_FAMILY : int {
  QW_FAMILY_SAND_DRIVEN = 1,      // power law of the tip movement
  QW_FAMILY_SAND_SHAFT = 2,
  QW_FAMILY_CLAY_DRIVEN = 3,      // square-root law up to 4 w50
  QW_FAMILY_USER_DRIVEN = 4,      // driven pile, user-curve layer at the tip
  QW_FAMILY_CLAY_SHAFT = 5,
};

// One curve of ten points. Side curves: T unit side friction (stress), Z
// movement (length). Tip curve: T tip force, Z tip movement.
struct TZ_CURVE {
  std::array<double, TZ_POINTS + 1> T{};
  std::array<double, TZ_POINTS + 1> Z{};
};

// The soil profile as the curves read it: the layers and the 2 NL profile
// points (top and bottom of each layer, in layer order) with the properties
// used here. Friction angles in radians.
struct TZ_PROFILE {
  int NL = 0;                                              // layers
  std::array<int, LAYER_TABLE + 1> MODEL{};                // SOIL_MODEL of each layer
  std::array<double, LAYER_TABLE + 1> TOP{};               // X of the layer top
  std::array<double, LAYER_TABLE + 1> BOTTOM{};            // X of the layer bottom
  int NP = 0;                                              // profile points, 2 NL
  std::array<double, MAX_PROFILE_POINTS + 1> X{};          // coordinates
  std::array<double, MAX_PROFILE_POINTS + 1> UNIT_WEIGHT{};// effective unit weight
  std::array<double, MAX_PROFILE_POINTS + 1> COHESION{};   // c (weak rock and limestone: qu)
  std::array<double, MAX_PROFILE_POINTS + 1> PHI{};        // friction angle, radians
  std::array<double, MAX_PROFILE_POINTS + 1> E50{};        // strain at 50 % stress (weak rock: krm)
  std::array<double, MAX_PROFILE_POINTS + 1> SIDE_FRICTION{};  // ultimate unit side friction (0: estimate)
  std::array<double, MAX_PROFILE_POINTS + 1> TIP_RESISTANCE{}; // ultimate unit tip resistance (0: estimate)
};

// A pile property as the axial and torsional computations need it. Positions
// along the pile run from 0 at the head to LENGTH at the tip. Each section has
// a start and an end position with the axial rigidity EA (modulus times area)
// and the torsional rigidity GJ at each end.
struct AXIAL_PILE {
  int PILE_TYPE = DRIVEN_PILE;   // 1 driven pile, 2 drilled shaft
  double LENGTH = 0.0;           // pile length L
  int INC = 0;                   // increments N (1..MAX_INCREMENTS)
  double WIDTH = 0.0;            // D, width of the first section
  double TIP_WIDTH = 0.0;        // D_t, width of the section at the tip
  double TIP_AREA = 0.0;         // cross-sectional area of the section at the tip
  int NSEC = 0;                  // sections (1..MAX_SECTIONS)
  std::array<double, MAX_SECTIONS + 1> SEC_START{};
  std::array<double, MAX_SECTIONS + 1> SEC_END{};
  std::array<double, MAX_SECTIONS + 1> EA_START{};
  std::array<double, MAX_SECTIONS + 1> EA_END{};
  std::array<double, MAX_SECTIONS + 1> GJ_START{};
  std::array<double, MAX_SECTIONS + 1> GJ_END{};
};

// The pile group the curves are generated for: its ground value g and head
// value v. A point at coordinate x lies x - g - v below the ground surface;
// its position along the pile is x - v.
struct AXIAL_GROUP {
  double GROUND = 0.0;   // g
  double VERT = 0.0;     // v, the head coordinate
};

// The generated curves of one pile property for one branch.
struct AXIAL_CURVES {
  int NP = 0;                                               // depth points, 3 NL + 2
  std::array<double, MAX_DEPTH_POINTS + 1> X{};             // coordinate of each point
  std::array<double, MAX_DEPTH_POINTS + 1> POS{};           // position along the pile, X - v
  std::array<int, MAX_DEPTH_POINTS + 1> MODEL{};            // SOIL_MODEL at the point
  std::array<double, MAX_DEPTH_POINTS + 1> FMAX{};          // ultimate unit side friction
  std::array<double, MAX_DEPTH_POINTS + 1> BPHI{};          // friction angle, degrees
  std::array<bool, MAX_DEPTH_POINTS + 1> FMAX_TRACED{};     // estimated from the friction angle
                                                            // (driven pile, sand): the point of
                                                            // an "FMAX n" trace record
  std::array<TZ_CURVE, MAX_DEPTH_POINTS + 1> TZ{};          // side curve of each point
  double WIDTH = 0.0;                                       // D the curves were made with
  int DIRECTION = 0;                                        // branch
  int TIP_MODEL = 0;                                        // soil model at the tip (after the clay check)
  double TIP_AREA = 0.0;                                    // tip area factor used (1e-4 pulling)
  double QMAX = 0.0;                                        // ultimate tip force
  TZ_CURVE QW;                                              // tip curve: T = Q, Z = W
};

// What went wrong, for the caller's warning: the status, the coordinate of a
// lookup beyond its profile (22 to 27) with, for the side-friction lookup (25),
// the number of profile points and the last coordinate that the report line
// before the warning shows; for ST_BAD_PROPERTY the section (0: the pile
// itself) and a ready one-line text.
struct AXIAL_MESSAGE {
  int status = ST_OK;
  double X = 0.0;
  int NPROFILE = 0;
  double XLAST = 0.0;
  int SECTION = 0;
  char TEXT[120] = {};
};

// Fixed texts of the warnings (after the "**** WARNING ****" line and five
// blanks). For 25, 26 and 27 the text that follows "THE VALUE OF X =" x and
// the words "IS BEYOND THE EXTENT OF". Null for other statuses.
const char* AXIAL_WARNING_TEXT(int status);

// The side-friction trace text of a use ("FMAX 1", "FMAX 2", "FMAX 4").
const char* TZ_TRACE_TEXT(int use);

// ---------------------------------------------------------------------------
// Pieces, each usable alone.

// Depth points: x_1 at the coordinate origin (at the ground surface when
// the ground lies above the origin, so that the points start in order),
// x_2 at the ground surface, then top + 0.1, the middle of (top + 0.1,
// bottom) and bottom - 1.0 of every layer. Fills NP, X and MODEL.
// Status ST_BAD_PROPERTY when the profile has no layer or too many.
int TZ_DEPTH_POINTS(const TZ_PROFILE& soil, AXIAL_CURVES& out, AXIAL_MESSAGE& msg);

// Ultimate unit side friction of a driven pile (the alpha method for
// cohesion, an effective-stress estimate for sand). units 1, 2, 3; model the
// SOIL_MODEL; c cohesion, gamma average effective unit weight from the ground
// surface, phi friction angle (radians), z depth below the ground surface.
// traced: set when the value comes from the friction angle alone (sand).
// Returns 0 for a user-curve layer (model 5).
double SIDE_FRICTION_DRIVEN(int units, int model, double c, double gamma, double phi, double z,
                            bool& traced);
// The adhesion factor alpha of a driven pile, from c / (gamma z).
double ADHESION_FACTOR(int units, double c, double gamma, double z);
// Ultimate unit side friction of a drilled shaft (0.55 c in clay, the beta
// method in sand). z depth below the ground surface (the effective stress
// gamma z); zb the length from which the beta factor is taken (the point's
// coordinate in the generation, the depth in the soil-table estimate).
double SIDE_FRICTION_SHAFT(int units, int model, double c, double gamma, double z, double zb);
// The beta factor of a drilled shaft in sand at length zb (length unit of
// the run, turned into feet), limited to 0.25 .. 1.2.
double SHAFT_BETA(int units, double zb);

// Side-curve family of a pile type, soil model and friction angle (degrees).
int TZ_FAMILY_OF(int pile_type, int model, double bphi);
// Fills the side curve of a family from FMAX, the friction angle in degrees
// (hyperbolic sand) and the width D (families scaled by D).
void TZ_CURVE_OF(int family, int units, double fmax, double bphi, double width, TZ_CURVE& c);
// Initial stiffness of the hyperbolic sand curve from the friction angle in
// degrees (before the English conversion by 144).
double SAND_TZ_STIFFNESS(double bphi);

// Bearing capacity factor N_q of a driven pile from the friction angle in
// degrees.
double BEARING_FACTOR_NQ(double phi_deg);
// Unit tip resistance of a drilled shaft in sand from the friction angle in
// radians: 0.1, then 222.2 or 555.56 (English), 1530 or 3830 (SI and units
// system 3).
double SHAFT_TIP_UNIT(int units, double phi);

// Tip-curve family of a pile type and tip soil model.
int QW_FAMILY_OF(int pile_type, int tip_model);
// Fills the tip curve. bphi_last: friction angle in degrees of the last depth
// point (exponent of the driven sand law); e50 at the tip. A driven pile in
// clay with e50 or QMAX zero returns 32 or 33 (34 or 35 for TZ_TORSION).
int QW_CURVE_OF(int family, int units, double qmax, double width, double tip_width, double e50,
                double bphi_last, int use, TZ_CURVE& c, AXIAL_MESSAGE& msg);

// ---------------------------------------------------------------------------
// Generation for one property, group and branch.

// Depth points, FMAX, BPHI and the side curves of every point, and the
// positions along the pile. Statuses: 22 to 25 and 27 from the lookups,
// ST_BAD_PROPERTY for a pile without width. trace (may be null) receives the
// side-friction trace record (TZ_TRACE_TEXT(use), point, FMAX) of every
// point whose friction comes from the friction angle alone (driven pile in
// sand), at the moment it is estimated.
int GENERATE_SIDE_CURVES(const TZ_PROFILE& soil, const AXIAL_PILE& pile, const AXIAL_GROUP& group,
                         int units, int use, AXIAL_CURVES& out, AXIAL_MESSAGE& msg,
                         FILE* trace = nullptr);
// The tip model, QMAX and the tip curve of a branch (direction 1 with the
// area factor 1e-4). Needs the side curves of out (the last point's BPHI).
// Statuses: 22 to 24 and 26 from the lookups, 32/33 (34/35) for a driven pile
// in clay without e50 or capacity.
int GENERATE_TIP_CURVE(const TZ_PROFILE& soil, const AXIAL_PILE& pile, const AXIAL_GROUP& group,
                       int units, int direction, int use, AXIAL_CURVES& out, AXIAL_MESSAGE& msg);
// One side curve at coordinate x of a layer of the given model, exactly as
// a depth point of GENERATE_SIDE_CURVES (input or estimated FMAX, BPHI, the
// family by pile type and model) but without the override of the two points
// at the ground: the curves of the curve data file. point is the number
// written in the trace record. Statuses as GENERATE_SIDE_CURVES.
int TZ_SIDE_CURVE_AT(const TZ_PROFILE& soil, int pile_type, int model, double x, double width,
                     const AXIAL_GROUP& group, int units, int use, int point, double& fmax,
                     double& bphi, TZ_CURVE& curve, AXIAL_MESSAGE& msg, FILE* trace = nullptr);

// Both of the above: the curves of the echo passes and of the runtime
// regeneration (direction 1 for a negative head displacement).
int GENERATE_TZ_CURVES(const TZ_PROFILE& soil, const AXIAL_PILE& pile, const AXIAL_GROUP& group,
                       int units, int direction, int use, AXIAL_CURVES& out, AXIAL_MESSAGE& msg,
                       FILE* trace = nullptr);

// ---------------------------------------------------------------------------
// Unit estimates of the soil table at coordinate x of a layer of the given
// model, for driven piles and drilled shafts. A flag is 1 when the input
// value is zero and an estimate was made (values start at 0).
struct UNIT_ESTIMATE {
  int SIDE_FLAG = 0;
  double SIDE_DRIVEN = 0.0;
  double SIDE_SHAFT = 0.0;
  int TIP_FLAG = 0;
  double TIP_DRIVEN = 0.0;
  double TIP_SHAFT = 0.0;
};
// Statuses 22 to 26 from the lookups.
int ESTIMATE_UNIT_RESISTANCE(const TZ_PROFILE& soil, int units, int model, double x,
                             UNIT_ESTIMATE& est, AXIAL_MESSAGE& msg);

// Side friction t of the curves at a position along the pile and a movement
// (interpolated on each curve by movement, then between the two depth points
// that bracket the position). Shared by the axial and torsional marches.
double TZ_SIDE_FRICTION(const AXIAL_CURVES& curves, double pos, double move);
// Tip force of the tip curve at a tip movement (0 at or below the first
// point, the last segment extended beyond the last point).
double QW_TIP_FORCE(const TZ_CURVE& qw, double move);

}  // namespace kestra
