// The axial load-transfer curves of a pile property from the model store:
// the echo passes (curve files, load-settlement branches, the property's
// load-displacement curve) and the warnings of a failed generation.
#include "pile/axial_generate.h"

#include <cstdio>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "pile/section_value.h"

namespace kestra {

void TZ_PROFILE_OF(const STORE& st, TZ_PROFILE& out) {
  const SOIL_DATA& s = st.soil;
  out.NL = s.NL < 0 ? 0 : (s.NL > LAYER_TABLE ? LAYER_TABLE : s.NL);
  for (int k = 1; k <= out.NL; ++k) {
    out.MODEL[k] = s.SOIL_MODEL[k];
    out.TOP[k] = s.LAYER_TOP[k];
    out.BOTTOM[k] = s.LAYER_BOTTOM[k];
  }
  out.NP = s.NPROFILE < 0 ? 0 : (s.NPROFILE > MAX_PROFILE_POINTS ? MAX_PROFILE_POINTS : s.NPROFILE);
  for (int i = 1; i <= out.NP; ++i) {
    out.X[i] = s.PROFILE_X[i];
    out.UNIT_WEIGHT[i] = s.PROFILE[SP_UNIT_WEIGHT][i];
    out.COHESION[i] = s.PROFILE[SP_COHESION][i];
    out.PHI[i] = s.PROFILE[SP_PHI][i];
    out.E50[i] = s.PROFILE[SP_E50][i];
    out.SIDE_FRICTION[i] = s.PROFILE[SP_SIDE_FRICTION][i];
    out.TIP_RESISTANCE[i] = s.PROFILE[SP_TIP_RESISTANCE][i];
  }
}

void AXIAL_PILE_OF(const STORE& st, int p, double v, AXIAL_PILE& out) {
  out = AXIAL_PILE{};
  if (p < 1 || p > MAX_PROPERTIES) return;
  const PILE_PROPERTY& pr = st.piles.PROP[p];
  out.PILE_TYPE = pr.PILE_TYPE;
  out.LENGTH = pr.LENGTH;
  out.INC = pr.INC;
  out.NSEC = pr.NSECT < 0 ? 0 : (pr.NSECT > MAX_SECTIONS ? MAX_SECTIONS : pr.NSECT);
  if (out.NSEC >= 1) out.WIDTH = pr.SECT[1].TOP[XS_DIAMETER];
  const double tip = v + pr.LENGTH;
  out.TIP_WIDTH = SECTION_WIDTH(st, p, v, tip);
  out.TIP_AREA = SECTION_VALUE(st, p, v, tip, XS_AREA);
  for (int e = 1; e <= out.NSEC; ++e) {
    const PILE_SECTION& sec = pr.SECT[e];
    out.SEC_START[e] = sec.SECT_FROM;
    out.SEC_END[e] = sec.SECT_TO;
    out.EA_START[e] = sec.E_MOD * sec.TOP[XS_AREA];
    out.EA_END[e] = sec.E_MOD * sec.BOT[XS_AREA];
    out.GJ_START[e] = sec.TOP[XS_GJ];
    out.GJ_END[e] = sec.BOT[XS_GJ];
  }
}

AXIAL_GROUP AXIAL_GROUP_OF(const STORE& st, int g) {
  AXIAL_GROUP out;
  if (g < 1 || g > MAX_PILE_ENTRIES) return out;
  out.GROUND = st.piles.GROUND[g];
  out.VERT = st.piles.PILE_X[g];
  return out;
}

CURVE_LABELS CURVE_FILE_LABELS(int units) {
  if (units == 1) return {"IN.", "LBS", "PSI"};
  return {" M.", "KN.", "KPA"};
}

int REPORT_AXIAL_MESSAGE(RUN& run, const AXIAL_MESSAGE& msg, int property) {
  const int st = msg.status;
  if (st == ST_OK) return ST_OK;
  if (st == ST_BAD_PROPERTY) {
    const std::string text = "PILE PROPERTY " + std::to_string(property) + ": " + msg.TEXT;
    return FATAL(run, st, text);
  }
  if (st == ST_BEYOND_SIDE_FRICTION)
    WRITE_LIST(run.files[F_REPORT], msg.X, msg.NPROFILE, msg.XLAST);
  for (int role : {F_REPORT, F_RUNTIME}) {
    FILE* f = run.files[role];
    if (!f) continue;
    WRITE_F(f, "(/,29X,'**** WARNING ****')");
    switch (st) {
      case ST_BEYOND_UNIT_WEIGHT:
        WRITE_F(f, "(5X,'THE VALUE OF X =',E9.2,'IS BEYOND THE EXTENT OF/',5X,"
                   "'THE INPUT CURVE FOR UNIT WEIGHT')", msg.X);
        break;
      case ST_BEYOND_COHESION:
        WRITE_F(f, "(5X,'THE VALUE OF X =',E9.1,' IS BEYOND THE EXTENT OF',/,5X,"
                   "'THE INPUT STRENGTH CURVE')", msg.X);
        break;
      case ST_BEYOND_FRICTION:
        WRITE_F(f, "(5X,'THE VALUE OF X =',E9.1,' IS BEYOND THE EXTENT OF',/,5X,"
                   "'THE INPUT PHI CURVE')", msg.X);
        break;
      case ST_BEYOND_SIDE_FRICTION:
        WRITE_F(f, "(5X,'THE VALUE OF X =',E9.2,' IS BEYOND THE EXTENT OF',/,5X,A)", msg.X,
                AXIAL_WARNING_TEXT(st));
        break;
      case ST_BEYOND_SIDE_RESISTANCE:
      case ST_BEYOND_TIP_FRICTION:
        WRITE_F(f, "(5X,'THE VALUE OF X =',E9.2,'IS BEYOND THE EXTENT OF/',5X,A)", msg.X,
                AXIAL_WARNING_TEXT(st));
        break;
      default: {
        const char* text = AXIAL_WARNING_TEXT(st);
        WRITE_F(f, "(5X,A)", text ? text : "THE AXIAL CURVES CANNOT BE GENERATED");
        break;
      }
    }
  }
  COMMIT_RUNTIME(run);
  run.status = st;
  return st;
}

int GENERATE_AXIAL_CURVES(RUN& run, int p, int direction, int g) {
  STORE& s = run.store;
  const int units = s.ctl.UNITS_SYSTEM;
  const AXIAL_GROUP group = AXIAL_GROUP_OF(s, g);
  TZ_PROFILE soil;
  TZ_PROFILE_OF(s, soil);
  AXIAL_PILE pile;
  AXIAL_PILE_OF(s, p, group.VERT, pile);
  AXIAL_CURVES curves;
  AXIAL_MESSAGE msg;
  FILE* at = run.files[F_AXIAL_CURVES];
  const CURVE_LABELS lb = CURVE_FILE_LABELS(units);

  if (GENERATE_SIDE_CURVES(soil, pile, group, units, TZ_ECHO, curves, msg, run.files[F_RUNTIME]))
    return REPORT_AXIAL_MESSAGE(run, msg, p);
  if (direction == DIR_PULL_OUT) {
    WRITE_F(at, "(/,/,5X,'T-Z CURVES, PILE PROPERTY:',I3,/)", p);
    WRITE_F(at, "(10X,'CURVE',3X,'N. POINTS',5X,'DEPTH',11X,'T Value',9X,'Z Value')");
    WRITE_F(at, "(10X,5X,3X,9X,5X,'(',A3,')',12X,'(',A3,')',11X,'(',A3,')')", lb.LENGTH,
            lb.STRESS, lb.LENGTH);
    for (int i = 1; i <= curves.NP; ++i) {
      WRITE_F(at, "(8X,I5,I11,E16.4)", i, TZ_POINTS, curves.X[i]);
      for (int j = 1; j <= TZ_POINTS; ++j)
        WRITE_F(at, "(40X,E17.4,E16.4)", curves.TZ[i].T[j], curves.TZ[i].Z[j]);
    }
  }
  if (GENERATE_TIP_CURVE(soil, pile, group, units, direction, TZ_ECHO, curves, msg))
    return REPORT_AXIAL_MESSAGE(run, msg, p);
  if (direction == DIR_COMPRESSION) {
    WRITE_F(at, "(/,5X,'Q-W CURVE, PILE PROPERTY:',I3,/)", p);
    WRITE_F(at, "(9X,'Q Value',12X,'W Value')");
    WRITE_F(at, "(10X,'(',A3,')',14X,'(',A3,')')", lb.FORCE, lb.LENGTH);
    for (int j = 1; j <= TZ_POINTS; ++j) WRITE_F(at, "(E18.4,E19.4)", curves.QW.T[j], curves.QW.Z[j]);
  }

  AXIAL_LS_PASS pass;
  HEAD_CURVE head;
  if (AXIAL_LOAD_SETTLEMENT(pile, curves, units, direction, pass, head, msg))
    return REPORT_AXIAL_MESSAGE(run, msg, p);

  // The nine marches along the pile, tip first.
  const double sg = pass.SIGN;
  FILE* tz = run.files[F_TZ_CURVES];
  const int n = pile.INC;
  const double dl = pile.LENGTH / n;
  if (direction == DIR_PULL_OUT) {
    WRITE_F(tz, "(/,5X,'T-Z CURVES, PILE PROPERTY:',I5,/)", p);
    WRITE_LIST(tz, LS_MOVEMENTS, 1, LS_MOVEMENTS, n, dl);
  }
  for (int j = 1; j <= LS_MOVEMENTS; ++j) {
    const AXIAL_MARCH& m = pass.RUN[j];
    WRITE_F(tz, "(/,5X,'  N  ','  DEPTH ',5X,'AXIAL LOAD',11X,'MOVEMENT')");
    WRITE_F(tz, "(13X,A3,12X,A3,16X,A3)", lb.LENGTH, lb.FORCE, lb.LENGTH);
    for (int k = 1; k <= n + 1; ++k)
      WRITE_F(tz, "(3X,I5,F10.3,2X,E15.7,5X,E15.7)", k, pile.LENGTH - (k - 1) * dl, sg * m.P[k],
              sg * m.W[k]);
  }
  WRITE_F(at, "(/,/,/,8X,'TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT',5X,'TIP  LOAD')");
  WRITE_F(at, "(11X,A3,13X,A3,14X,A3,12X,A3)", lb.FORCE, lb.LENGTH, lb.LENGTH, lb.FORCE);
  for (int j = 1; j <= LS_MOVEMENTS; ++j) {
    const AXIAL_MARCH& m = pass.RUN[j];
    WRITE_F(at, "(5X,E15.7,3E15.7)", sg * m.TOP_LOAD(), sg * m.TOP_MOVE(), sg * m.TIP_MOVE(),
            sg * m.TIP_FORCE());
  }
  PASS_LIMIT_NOTE(run.files[F_RUNTIME], pass.PASS_LIMITED, p, "LOAD-SETTLEMENT");

  // The branch's half of the property's curves, and the origin.
  HEAD_CURVES& h = s.head;
  for (int j = 1; j <= LS_MOVEMENTS; ++j) {
    const int i = direction == DIR_PULL_OUT ? LS_MOVEMENTS + 1 - j : LS_MOVEMENTS + 1 + j;
    h.LS_DISP[p][i] = head.TOP_MOVE[i];
    h.LS_LOAD[p][i] = head.TOP_LOAD[i];
    h.LS_TIP_DISP[p][i] = head.TIP_MOVE[i];
    h.LS_TIP_LOAD[p][i] = head.TIP_FORCE[i];
  }
  const int o = LS_MOVEMENTS + 1;
  h.LS_DISP[p][o] = h.LS_LOAD[p][o] = h.LS_TIP_DISP[p][o] = h.LS_TIP_LOAD[p][o] = 0.0;
  return ST_OK;
}

}  // namespace kestra
