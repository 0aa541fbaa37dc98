// Table N: the p-y curves requested by the input, each tabulated for a
// one-node pile at the requested coordinate of the requested pile group.
#include "soil/py_print.h"

#include <memory>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "pile/pile_work.h"
#include "soil/generate_py.h"

namespace kestra {

namespace {

const char* const CURVE_LINE = "/,/,9X,'CURVE NUMBER              =',I5,";
const char* const GROUP_LINE = "/,/,9X,'PILE GROUP NUMBER         =',I5,";
const char* const NOT_GENERATED = "/,/,9X,'CURVE NOT GENERATED SINCE REQUIRED DEPTH,  ',F10.2,1X,A2,',',/,9X,";
const char* const NOT_GENERATED_WIDE = "/,/,9X,'CURVE NOT GENERATED SINCE REQUIRED DEPTH,     ',F10.2,1X,A2,',',/,9X,";

std::string fmt(std::initializer_list<const char*> parts) {
  std::string s = "(";
  for (const char* p : parts) s += p;
  s += ")";
  return s;
}

bool group_ok(const STORE& s, int g) {
  if (g < 1 || g > s.piles.NPILES || g > MAX_PILES) return false;
  const int p = s.piles.PILE_PROP[g];
  return p >= 1 && p <= s.piles.NPROP && p <= MAX_PROPERTIES;
}

}  // namespace

void PY_REQUEST_STATUSES(const RUN& run, int* status) {
  const STORE& s = run.store;
  const int n = s.soil.NPYPRINT < MAX_PY_PRINT ? s.soil.NPYPRINT : MAX_PY_PRINT;
  const bool embedded = s.ctl.CAP_OPTION >= 1;
  const double T = s.piles.CAP_THICKNESS;
  for (int i = 1; i <= n; ++i) {
    const PY_REQUEST& r = s.soil.PY_PRINT[i];
    const int g = r.GROUP;
    status[i] = PYR_GENERATE;
    if (!group_ok(s, g)) {
      status[i] = PYR_BELOW_TIP;
      continue;
    }
    const double v = s.piles.PILE_X[g];
    const double g0 = s.piles.GROUND[g];
    const double L = s.piles.PROP[s.piles.PILE_PROP[g]].LENGTH;
    const double x = r.DEPTH;
    if (x - g0 - v <= 1.0e-6) status[i] = PYR_ABOVE_GROUND;
    if (x > v + L) status[i] = PYR_BELOW_TIP;
    if (!embedded && x <= v) status[i] = PYR_ABOVE_HEAD;
    if (embedded && x <= v - T) status[i] = PYR_ABOVE_CAP;
  }
  if (!embedded) return;
  bool first = true;
  for (int i = 1; i <= n; ++i) {
    const PY_REQUEST& r = s.soil.PY_PRINT[i];
    if (status[i] != PYR_GENERATE) continue;
    const double v = s.piles.PILE_X[r.GROUP];
    if (r.DEPTH >= v - T && r.DEPTH <= v) {
      status[i] = first ? PYR_CAP_LEVEL : PYR_CAP_AGAIN;
      first = false;
    }
  }
}

int PRINT_PY_REQUESTS(RUN& run) {
  STORE& s = run.store;
  PY_STATE& py = s.py;
  FILE* rep = run.files[F_REPORT];
  FILE* plot = run.files[F_PLOT];
  py.PY_TABULATE = true;
  s.soil.NL = s.soil.NLAYERS;
  const int n = s.soil.NPYPRINT < MAX_PY_PRINT ? s.soil.NPYPRINT : MAX_PY_PRINT;
  int status[MAX_PY_PRINT + 1] = {};
  PY_REQUEST_STATUSES(run, status);

  WRITE_F(rep, "(/,/,5X,'* GENERATED P-Y CURVES *',/,/,5X,'NUMBER OF CURVES  :',I5)", n);
  WRITE_F(plot, "(5X,'* GENERATED P-Y CURVES *',/,5X,I5)", n);

  const std::string_view L(s.labels.LENGTH_LABEL, 2);
  const int nl = s.soil.NL;
  auto w = std::make_unique<PILE_WORK>();
  for (int i = 1; i <= n; ++i) {
    const PY_REQUEST& r = s.soil.PY_PRINT[i];
    const int g = r.GROUP;
    const double x = r.DEPTH;
    const int nyu = r.NYU < 0 ? 0 : (r.NYU > MAX_PY_DEFLECTIONS ? MAX_PY_DEFLECTIONS : r.NYU);
    py.NYPTS = nyu;
    for (int q = 1; q <= nyu; ++q) py.YLIST[q] = r.DEFL[q];
    const int npts = nyu > 0 ? nyu : 17;
    int layer = 0;
    for (int k = 1; k <= nl && layer == 0; ++k)
      if (s.soil.LAYER_TOP[k] <= x && x <= s.soil.LAYER_BOTTOM[k]) layer = k;
    const bool user_layer = layer > 0 && s.soil.SOIL_MODEL[layer] == 5;
    const bool ok = group_ok(s, g);
    const double v = ok ? s.piles.PILE_X[g] : 0.0;
    const double g0 = ok ? s.piles.GROUND[g] : 0.0;
    const double Lp = ok ? s.piles.PROP[s.piles.PILE_PROP[g]].LENGTH : 0.0;
    const double T = s.piles.CAP_THICKNESS;

    auto not_generated = [&]() { WRITE_F(plot, "(I5,I5,I5)", i, g, 0); };
    switch (status[i]) {
      case PYR_CAP_AGAIN:
        WRITE_F(rep,
                fmt({CURVE_LINE, "/,/,9X,'AT PILE CAP LEVEL, DEPTH  =',F10.2,1X,A2,",
                     "/,/,9X,'CURVE NOT GENERATED SINCE ONLY ONE CURVE ',/,9X,'AT PILE CAP LEVEL CAN BE PRINTED '"}),
                i, x, L);
        not_generated();
        continue;
      case PYR_ABOVE_GROUND:
        WRITE_F(rep,
                fmt({CURVE_LINE, GROUP_LINE, NOT_GENERATED,
                     "'IS ABOVE OR EQUAL TO THE SOIL GROUND ','FOR REQUIRED PILE, ',F10.2,1X,A2"}),
                i, g, x, L, g0 + v, L);
        not_generated();
        continue;
      case PYR_BELOW_TIP:
        WRITE_F(rep, fmt({CURVE_LINE, GROUP_LINE, NOT_GENERATED, "'IS BELOW TIP OF REQUIRED PILE, ',F10.2,1X,A2"}),
                i, g, x, L, v + Lp, L);
        not_generated();
        continue;
      case PYR_ABOVE_CAP:
        WRITE_F(rep, fmt({CURVE_LINE, GROUP_LINE, NOT_GENERATED, "'IS ABOVE TOP OF PILE CAP, ',F10.2,1X,A2"}), i, g,
                x, L, v - T, L);
        not_generated();
        continue;
      case PYR_ABOVE_HEAD:
        WRITE_F(rep,
                fmt({CURVE_LINE, GROUP_LINE, NOT_GENERATED, "'IS ABOVE TOP OF REQUIRED PILE, ',F10.2,1X,A2"}), i,
                g, x, L, v, L);
        not_generated();
        continue;
      default: break;
    }
    if (nl <= 0 || x <= s.soil.LAYER_TOP[1]) {
      WRITE_F(rep,
              fmt({CURVE_LINE, GROUP_LINE, NOT_GENERATED, "'IS ABOVE OR EQUAL TO THE DEFINED SOIL TOP, ',F10.2,1X,A2"}),
              i, g, x, L, nl > 0 ? s.soil.LAYER_TOP[1] : 0.0, L);
      not_generated();
      continue;
    }
    if (x >= s.soil.LAYER_BOTTOM[nl]) {
      WRITE_F(rep,
              fmt({CURVE_LINE, GROUP_LINE, NOT_GENERATED_WIDE,
                   "'IS BELOW OR EQUAL TO THE DEFINED SOIL BOTTOM, ',F10.2,1X,A2"}),
              i, g, x, L, s.soil.LAYER_BOTTOM[nl], L);
      not_generated();
      continue;
    }
    if (user_layer) {
      WRITE_F(rep,
              fmt({CURVE_LINE, GROUP_LINE, NOT_GENERATED_WIDE,
                   "'IS WITHIN LAYER ',I3,', WHICH IS SET AS USER DEFINED P-Y CURVES'"}),
              i, g, x, L, layer);
      not_generated();
      continue;
    }
    if (status[i] == PYR_CAP_LEVEL)
      WRITE_F(rep,
              fmt({CURVE_LINE, "/,/,9X,'AT PILE CAP LEVEL, DEPTH  =',F10.2,1X,A2,",
                   "/,/,9X,'NUMBER OF POINTS ON CURVE =',I5"}),
              i, x, L, npts);
    else
      WRITE_F(rep,
              fmt({CURVE_LINE, GROUP_LINE, "/,/,9X,'DEPTH                     =',F10.2,1X,A2,",
                   "/,/,9X,'NUMBER OF POINTS ON CURVE =',I5"}),
              i, g, x, L, npts);
    WRITE_F(plot, "(I5,I5,I5)", i, g, npts);
    SET_ONE_NODE_PILE(run, *w, g, x);
    const int st = GENERATE_PY(run, *w);
    if (st != ST_OK) return st;
  }
  return ST_OK;
}

int PY_REQUEST_OUTPUT(RUN& run) {
  STORE& s = run.store;
  if (run.status != ST_OK) return run.status;
  s.py.PY_PHASE = s.ctl.KPYOP;
  if (s.ctl.KPYOP == 0) return run.status;
  // The loading of the last case or combination analysed stays in effect.
  const LOAD_CONTROLS* last = nullptr;
  if (s.loads.NCOMB > 0 && s.loads.NCOMB <= MAX_LOAD_COMBS)
    last = &s.loads.COMB[s.loads.NCOMB];
  else if (s.loads.NLC > 0 && s.loads.NLC <= MAX_LOAD_CASES)
    last = &s.loads.CASE[s.loads.NLC];
  if (last) {
    s.py.LOADING = last->LOADING;
    s.py.NCYCLES = last->NCYCLES < 1 ? 1 : last->NCYCLES;
  }
  WRITE_F(run.files[F_REPORT], "(/,/,/,/,/,5X,'* TABLE N *   PRINTED P-Y CURVES')");
  s.py.PY_BUFFER = false;
  const int st = PRINT_PY_REQUESTS(run);
  if (st != ST_OK) run.status = st;
  return run.status;
}

}  // namespace kestra
