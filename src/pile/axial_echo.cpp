// The steps of the soil echo that come from the axial and torsional
// curves: the estimated unit capacities of the soil table, and the
// generated load-displacement and torque-rotation curves of every pile
// property in use, with their copies in the axial-torsion curve file.
#include "engine/format.h"
#include "engine/report.h"
#include "input/soils_hooks.h"
#include "pile/axial_generate.h"

namespace kestra {

int ECHO_HOOK_UNIT_RESISTANCE(RUN& run, int soil_model, double x, UNIT_RESISTANCE_ESTIMATE& est) {
  est = UNIT_RESISTANCE_ESTIMATE{};
  TZ_PROFILE soil;
  TZ_PROFILE_OF(run.store, soil);
  UNIT_ESTIMATE e;
  AXIAL_MESSAGE msg;
  if (ESTIMATE_UNIT_RESISTANCE(soil, run.store.ctl.UNITS_SYSTEM, soil_model, x, e, msg))
    return REPORT_AXIAL_MESSAGE(run, msg, 0);
  est.SIDE_FLAG = e.SIDE_FLAG;
  est.SIDE_DRIVEN = e.SIDE_DRIVEN;
  est.SIDE_DRILLED = e.SIDE_SHAFT;
  est.TIP_FLAG = e.TIP_FLAG;
  est.TIP_DRIVEN = e.TIP_DRIVEN;
  est.TIP_DRILLED = e.TIP_SHAFT;
  return ST_OK;
}

namespace {

// The first group that uses property p (0: none).
int first_group(const STORE& s, int p) {
  for (int g = 1; g <= s.piles.NPILES && g <= MAX_PILES; ++g)
    if (s.piles.PILE_PROP[g] == p) return g;
  return 0;
}

int properties_in_use(const STORE& s) {
  int n = 0;
  for (int p = 1; p <= s.piles.NPROP && p <= MAX_PROPERTIES; ++p)
    if (first_group(s, p)) ++n;
  return n;
}

// Nothing is generated without a soil profile.
bool can_generate(const STORE& s) { return s.soil.NL >= 1 && s.soil.NPROFILE >= 2 && s.piles.NPILES >= 1; }

void curve_file_section(FILE* f, const char* title, int count) {
  WRITE_F(f, "(5X,A,/,5X,I5)", title, count);
}

}  // namespace

int ECHO_HOOK_GENERATED_LS_CURVES(RUN& run) {
  STORE& s = run.store;
  if (!can_generate(s)) return ST_OK;
  for (int p = 1; p <= s.piles.NPROP && p <= MAX_PROPERTIES; ++p) {
    const int g = first_group(s, p);
    if (!g) continue;
    s.head.LS_DONE[p] = 0;
    for (int dir : {DIR_PULL_OUT, DIR_COMPRESSION})
      if (const int st = GENERATE_AXIAL_CURVES(run, p, dir, g)) return st;
    s.head.LS_DONE[p] = 1;
  }
  FILE* rep = run.files[F_REPORT];
  const int n = properties_in_use(s);
  WRITE_F(rep, "(/,5X,'AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY')");
  WRITE_F(rep, "(/,5X,'NUM OF CURVES',I3)", n);
  FILE* at = run.files[F_AXIAL_CURVES];
  curve_file_section(at, "* AXIAL LOAD-DISPLACEMENT CURVES *", n);
  for (int p = 1; p <= s.piles.NPROP && p <= MAX_PROPERTIES; ++p) {
    if (!first_group(s, p)) continue;
    WRITE_LS_CURVE_TABLE(run, p, HEAD_CURVE_POINTS, s.head.LS_DISP[p].data(), s.head.LS_LOAD[p].data());
    WRITE_F(at, "(2I5)", p, HEAD_CURVE_POINTS);
    for (int j = 1; j <= HEAD_CURVE_POINTS; ++j)
      WRITE_F(at, "(1P,2(2X,G15.8))", s.head.LS_DISP[p][j], s.head.LS_LOAD[p][j]);
  }
  return ST_OK;
}

int ECHO_HOOK_GENERATED_TR_CURVES(RUN& run) {
  STORE& s = run.store;
  if (!can_generate(s)) return ST_OK;
  for (int p = 1; p <= s.piles.NPROP && p <= MAX_PROPERTIES; ++p) {
    const int g = first_group(s, p);
    if (!g) continue;
    s.head.TR_DONE[p] = 0;
    for (int dir : {DIR_PULL_OUT, DIR_COMPRESSION})
      if (const int st = GENERATE_TORSION_CURVES(run, p, dir, g)) return st;
    s.head.TR_DONE[p] = 1;
  }
  FILE* rep = run.files[F_REPORT];
  const int n = properties_in_use(s);
  WRITE_F(rep, "(/,5X,'TORQUE-ROTATION CURVES GENERATED INTERNALLY')");
  WRITE_F(rep, "(/,5X,'NUM OF CURVES',I3)", n);
  FILE* at = run.files[F_AXIAL_CURVES];
  curve_file_section(at, "* TORQUE-ROTATION CURVES *", n);
  for (int p = 1; p <= s.piles.NPROP && p <= MAX_PROPERTIES; ++p) {
    if (!first_group(s, p)) continue;
    WRITE_TR_CURVE_TABLE(run, p, HEAD_CURVE_POINTS, s.head.TR_ROT[p].data(), s.head.TR_MOM[p].data());
    WRITE_F(at, "(2I5)", p, HEAD_CURVE_POINTS);
    for (int j = 1; j <= HEAD_CURVE_POINTS; ++j)
      WRITE_F(at, "(1P,2(2X,G15.8))", s.head.TR_ROT[p][j], s.head.TR_MOM[p][j]);
  }
  return ST_OK;
}

}  // namespace kestra
