// Torsional marches and the echo pass of the torque-rotation curve.
#include "pile/torsion_curves.h"

#include <cmath>

#include "engine/format.h"
#include "engine/report.h"
#include "pile/axial_generate.h"

namespace kestra {

namespace {
constexpr double SP(float f) { return static_cast<double>(f); }
}  // namespace

void TORSION_IMPOSED_ROTATIONS(int units, double width, std::array<double, LS_MOVEMENTS + 1>& r) {
  static constexpr float BASE[LS_MOVEMENTS] = {0.0001f, 0.001f, 0.005f, 0.01f, 0.05f,
                                               0.1f,    0.5f,   1.0f,   2.0f};
  const double arm = 0.5 * width;
  const double scale = units == 2 ? SP(0.0254f) : 1.0;
  r[0] = 0.0;
  for (int j = 1; j <= LS_MOVEMENTS; ++j) r[j] = arm > 0.0 ? SP(BASE[j - 1]) / arm * scale : 0.0;
}

int TORSION_LOAD_ROTATION(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, int units,
                          int direction, TORSION_PASS& pass, TORSION_CURVE& curve,
                          AXIAL_MESSAGE& msg) {
  msg = AXIAL_MESSAGE{};
  if (CHECK_MARCH_PILE(pile, 1, msg)) return msg.status;
  pass.DIRECTION = direction;
  pass.SIGN = direction == DIR_PULL_OUT ? -1.0 : 1.0;
  pass.PASS_LIMITED = 0;
  TORSION_IMPOSED_ROTATIONS(units, pile.WIDTH, pass.IMPOSED);
  const double arm = 0.5 * pile.WIDTH;
  for (int j = 1; j <= LS_MOVEMENTS; ++j) {
    // The tip carries no torque.
    if (MARCH_FROM_TIP(pile, curves, 1, arm, 0.0, pass.IMPOSED[j], pass.RUN[j], msg))
      return msg.status;
    pass.PASS_LIMITED += pass.RUN[j].PASS_LIMITED;
  }
  for (int j = 1; j <= LS_MOVEMENTS; ++j) {
    const int i = direction == DIR_PULL_OUT ? LS_MOVEMENTS + 1 - j : LS_MOVEMENTS + 1 + j;
    curve.ROT[i] = pass.SIGN * pass.RUN[j].TOP_MOVE();
    curve.MOM[i] = pass.SIGN * pass.RUN[j].TOP_LOAD();
  }
  curve.ROT[LS_MOVEMENTS + 1] = curve.MOM[LS_MOVEMENTS + 1] = 0.0;
  curve.NPTS = HEAD_CURVE_POINTS;
  return ST_OK;
}

int GENERATE_TORSION_CURVES(RUN& run, int p, int direction, int g) {
  STORE& s = run.store;
  const int units = s.ctl.UNITS_SYSTEM;
  const AXIAL_GROUP group = AXIAL_GROUP_OF(s, g);
  TZ_PROFILE soil;
  TZ_PROFILE_OF(s, soil);
  AXIAL_PILE pile;
  AXIAL_PILE_OF(s, p, group.VERT, pile);
  AXIAL_CURVES curves;
  AXIAL_MESSAGE msg;
  if (GENERATE_SIDE_CURVES(soil, pile, group, units, TZ_TORSION, curves, msg, run.files[F_RUNTIME]))
    return REPORT_AXIAL_MESSAGE(run, msg, p);

  // GJ check: reported for every section without torsional rigidity.
  for (int e = 1; e <= pile.NSEC; ++e) {
    if (pile.GJ_START[e] > 1e-6) continue;
    for (int role : {F_REPORT, F_RUNTIME})
      WRITE_F(run.files[role], "(/,/,'       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO',/,/)");
  }
  // A rigidity that is not positive would divide the march by zero: the run
  // stops here with the section named.
  if (CHECK_MARCH_PILE(pile, 1, msg)) return REPORT_AXIAL_MESSAGE(run, msg, p);

  if (GENERATE_TIP_CURVE(soil, pile, group, units, direction, TZ_TORSION, curves, msg))
    return REPORT_AXIAL_MESSAGE(run, msg, p);

  FILE* at = run.files[F_AXIAL_CURVES];
  const CURVE_LABELS lb = CURVE_FILE_LABELS(units);
  const double arm = 0.5 * pile.WIDTH;
  if (direction == DIR_PULL_OUT) {
    WRITE_F(at, "(/,/,5X,'T-q CURVES, PILE PROPERTY:',I3,/)", p);
    WRITE_F(at, "(10X,'CURVE',3X,'N. POINTS',5X,'DEPTH',11X,'T Value',9X,'q Value')");
    WRITE_F(at, "(10X,5X,3X,9X,5X,'(',A3,')',10X,'(',A3,'/',A3,')',9X,'(','RAD',')')", lb.LENGTH,
            lb.FORCE, lb.LENGTH);
    for (int i = 1; i <= curves.NP; ++i) {
      WRITE_F(at, "(8X,I5,I11,E16.4)", i, TZ_POINTS, curves.X[i]);
      for (int j = 1; j <= TZ_POINTS; ++j)
        WRITE_F(at, "(40X,E17.4,E16.4)", arm * curves.TZ[i].T[j], curves.TZ[i].Z[j] / arm);
    }
  }

  TORSION_PASS pass;
  TORSION_CURVE curve;
  if (TORSION_LOAD_ROTATION(pile, curves, units, direction, pass, curve, msg))
    return REPORT_AXIAL_MESSAGE(run, msg, p);

  const double sg = pass.SIGN;
  WRITE_F(at, "(/,/,/,8X,'TOP  MOM.     TOP MOVEMENT     TIP MOVEMENT',5X,'TIP  MOM.')");
  WRITE_F(at, "(9X,A3,'-',A3,11X,'RAD',14X,'RAD',9X,A3,'-',A3)", lb.FORCE, lb.LENGTH, lb.FORCE,
          lb.LENGTH);
  for (int j = 1; j <= LS_MOVEMENTS; ++j) {
    const AXIAL_MARCH& m = pass.RUN[j];
    WRITE_F(at, "(E17.4,3E16.4)", sg * m.TOP_LOAD(), sg * m.TOP_MOVE(), sg * m.TIP_MOVE(),
            sg * m.TIP_FORCE());
  }
  PASS_LIMIT_NOTE(run.files[F_RUNTIME], pass.PASS_LIMITED, p, "TORQUE-ROTATION");

  HEAD_CURVES& h = s.head;
  for (int j = 1; j <= LS_MOVEMENTS; ++j) {
    const int i = direction == DIR_PULL_OUT ? LS_MOVEMENTS + 1 - j : LS_MOVEMENTS + 1 + j;
    h.TR_ROT[p][i] = curve.ROT[i];
    h.TR_MOM[p][i] = curve.MOM[i];
  }
  h.TR_ROT[p][LS_MOVEMENTS + 1] = h.TR_MOM[p][LS_MOVEMENTS + 1] = 0.0;
  return ST_OK;
}

}  // namespace kestra
