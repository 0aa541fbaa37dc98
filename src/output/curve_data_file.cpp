// The curve data file of the front end's graphs: pile geometry and the
// lumped station curves (p-y, axial, torsional) of every pile group.
#include "output/curve_data_file.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/report.h"
#include "pile/axial_generate.h"
#include "pile/section_value.h"
#include "soil/generate_py.h"

namespace kestra {

namespace {

constexpr const char* INTS = "(3I10)";
constexpr const char* REALS = "(1P,10X,6(1X,G15.8))";
constexpr const char* STATION = "(I10,F10.4)";
constexpr const char* POINT = "(1P,I10,2(1X,G15.8))";

// Points of an axial or torsional half-segment curve, and of their station
// records (mirrored, the origin once).
constexpr int TZ_STATION_POINTS = 2 * TZ_POINTS - 1;

template <class... A>
void record(const CURVE_FILE_WORK& w, std::string_view fmt, const A&... a) {
  CURVE_RECORD_V(w.out, fmt, {FARG(a)...});
}

// The station curve mirrored: (-y, -p) for points n down to 2, then (y, p)
// for points 1 to n.
void write_points(const CURVE_FILE_WORK& w, const STATION_CURVE& a, int n) {
  int no = 0;
  for (int i = n; i >= 2; --i) record(w, POINT, ++no, -a.Y[i], -a.P[i]);
  for (int i = 1; i <= n; ++i) record(w, POINT, ++no, a.Y[i], a.P[i]);
}

void clear(STATION_CURVE& c) { c = STATION_CURVE{}; }

// Linear interpolation of the force of curve c at movement u.
double force_at(const STATION_CURVE& c, int n, double u) {
  if (n <= 1) return c.P[1];
  int j = 2;
  while (j < n && c.Y[j] < u) ++j;
  const double y0 = c.Y[j - 1], y1 = c.Y[j];
  if (y1 == y0) return c.P[j];
  return c.P[j - 1] + (c.P[j] - c.P[j - 1]) * (u - y0) / (y1 - y0);
}

// The property of group g, or 0 when the group refers to none.
int property_of(const STORE& s, int g) {
  if (g < 1 || g > s.piles.NPILES || g > MAX_PILES) return 0;
  const int p = s.piles.PILE_PROP[g];
  return (p >= 1 && p <= s.piles.NPROP && p <= MAX_PROPERTIES) ? p : 0;
}

int bad_group(RUN& run, int g) {
  return FATAL(run, ST_INTERNAL,
               "CURVE DATA FILE: PILE GROUP " + std::to_string(g) + " HAS NO PILE PROPERTY");
}

// The loading of the last case or combination that the driver analysed
// (one not flagged NOT_ANALYZED); unchanged when there is none.
void loading_in_effect(STORE& s) {
  const LOAD_CONTROLS* last = nullptr;
  const int ncomb = s.loads.NCOMB < MAX_LOAD_COMBS ? s.loads.NCOMB : MAX_LOAD_COMBS;
  const int nlc = s.loads.NLC < MAX_LOAD_CASES ? s.loads.NLC : MAX_LOAD_CASES;
  for (int j = ncomb; j >= 1 && !last; --j)
    if (s.loads.COMB[j].NOT_ANALYZED != 1) last = &s.loads.COMB[j];
  for (int m = nlc; m >= 1 && !last; --m)
    if (s.loads.CASE[m].NOT_ANALYZED != 1) last = &s.loads.CASE[m];
  if (!last) return;
  s.py.LOADING = last->LOADING;
  s.py.NCYCLES = last->NCYCLES < 1 ? 1 : last->NCYCLES;
}

// The axial (kind 2) or torsional (kind 3) station records of group g.
int write_tz_stations(RUN& run, CURVE_FILE_WORK& w, int g, int kind) {
  STORE& s = run.store;
  const int p = property_of(s, g);
  if (p == 0) return bad_group(run, g);
  const bool torsion = kind == 3;
  const int use = torsion ? TZ_CURVE_FILE_TORSION : TZ_CURVE_FILE_AXIAL;
  const int units = s.ctl.UNITS_SYSTEM;
  // The single-precision pi of these curves becomes the run-wide value.
  s.rw.PI = double(3.1415927f);
  const double pi = s.rw.PI;
  const PILE_PROPERTY& prop = s.piles.PROP[p];
  const int S = s.ctl.CURVE_FILE_MODE;
  const double v = s.piles.PILE_X[g];
  const double g0 = s.piles.GROUND[g];
  const double dL = prop.LENGTH / S;
  const AXIAL_GROUP group = AXIAL_GROUP_OF(s, g);
  s.soil.NL = s.soil.NLAYERS;
  TZ_PROFILE_OF(s, w.profile);
  const SOIL_DATA& soil = s.soil;
  const int nl = soil.NLAYERS < LAYER_TABLE ? soil.NLAYERS : LAYER_TABLE;

  record(w, INTS, g, S + 1, kind);
  clear(w.A);
  clear(w.B);
  int flag = 0;
  double tip_force[TZ_POINTS + 1] = {};  // q-w force at the tip station's movements
  for (int k = 1; k <= S + 1; ++k) {
    const double ck = v + (k - 1) * dL;
    const int prev = flag;
    flag = 0;
    w.A = w.B;
    clear(w.B);
    clear(w.C);
    record(w, STATION, k, ck);
    if (k <= S) {
      const double xm = ck + 0.5 * dL;
      flag = xm - g0 - v < 1.0e-6 ? 0 : 1;
      if (flag) {
        // The layer holding the midpoint: the first whose bottom lies
        // below it (the deepest layer below them all).
        int layer = 1;
        while (layer < nl && !(soil.LAYER_BOTTOM[layer] > xm)) ++layer;
        const int model = nl >= 1 ? soil.SOIL_MODEL[layer] : 0;
        const double b = SECTION_WIDTH(s, p, v, xm);
        if (torsion && !(b > 0.0))
          return FATAL(run, ST_BAD_PROPERTY,
                       "PILE PROPERTY " + std::to_string(p) + ": THE PILE WIDTH IS ZERO AT " + std::to_string(xm) +
                           ": NO TORQUE ARM FOR THE TORSIONAL CURVE");
        double fmax = 0.0, bphi = 0.0;
        TZ_CURVE tz;
        AXIAL_MESSAGE msg;
        if (TZ_SIDE_CURVE_AT(w.profile, prop.PILE_TYPE, model, xm, b, group, units, use, k, fmax, bphi, tz, msg,
                             run.files[F_RUNTIME]) != ST_OK)
          return REPORT_AXIAL_MESSAGE(run, msg, p);
        // Forces of the half segment: unit friction times perimeter times
        // half the segment; torsion: times the arm r, movement / r.
        const double r = 0.5 * b;
        w.C.N = TZ_POINTS;
        for (int j = 1; j <= TZ_POINTS; ++j) {
          const double F = tz.T[j] * pi * b * dL * 0.5;
          w.C.Y[j] = torsion ? tz.Z[j] / r : tz.Z[j];
          w.C.P[j] = torsion ? F * r : F;
        }
        w.B = w.C;
        if (prev)
          ADD_HALF_CURVES(w.A, w.C, TZ_POINTS, w.A);
        else
          w.A = w.C;
      } else {
        w.A = w.C;
      }
    } else {
      // The tip: the lower half of the last segment; below the ground
      // unless the whole pile stands above it.
      flag = ck - g0 - v < 1.0e-6 ? 0 : 1;
      if (flag && !torsion) {
        AXIAL_PILE pile;
        AXIAL_PILE_OF(s, p, v, pile);
        AXIAL_MESSAGE msg;
        if (GENERATE_TZ_CURVES(w.profile, pile, group, units, DIR_COMPRESSION, use, w.axial, msg) != ST_OK)
          return REPORT_AXIAL_MESSAGE(run, msg, p);
        for (int j = 1; j <= TZ_POINTS; ++j) tip_force[j] = QW_TIP_FORCE(w.axial.QW, w.A.Y[j]);
      }
    }
    record(w, INTS, flag, flag ? TZ_STATION_POINTS : 0);
    if (!flag) continue;
    int no = 0;
    for (int j = TZ_POINTS; j >= 2; --j) record(w, POINT, ++no, -w.A.Y[j], -w.A.P[j]);
    // The tip force (axial records, last station) acts on the positive side
    // only; it is zero everywhere else.
    for (int j = 1; j <= TZ_POINTS; ++j) record(w, POINT, ++no, w.A.Y[j], w.A.P[j] + tip_force[j]);
  }
  return ST_OK;
}

}  // namespace

void CURVE_RECORD_V(const CURVE_FILE_OUT& out, std::string_view fmt, std::initializer_list<FARG> items) {
  if (!out.f) return;
  if (!out.binary) {
    WRITE_FV(out.f, fmt, std::span<const FARG>(items.begin(), items.size()));
    return;
  }
  // At most six reals or three integers and two reals in a record.
  unsigned char buf[16 * 8];
  std::uint32_t len = 0;
  for (const FARG& a : items) {
    if (a.kind == FARG::INT) {
      const std::int32_t v = static_cast<std::int32_t>(a.i);
      if (len + sizeof v > sizeof buf) break;
      std::memcpy(buf + len, &v, sizeof v);
      len += sizeof v;
    } else if (a.kind == FARG::REAL) {
      if (len + sizeof a.r > sizeof buf) break;
      std::memcpy(buf + len, &a.r, sizeof a.r);
      len += sizeof a.r;
    }
  }
  std::fwrite(&len, sizeof len, 1, out.f);
  std::fwrite(buf, 1, len, out.f);
  std::fwrite(&len, sizeof len, 1, out.f);
}

void ADD_HALF_CURVES(const STATION_CURVE& a, const STATION_CURVE& c, int n, STATION_CURVE& sum) {
  STATION_CURVE r;
  r.N = n;
  const bool c_points = c.Y[n] <= a.Y[n];
  const STATION_CURVE& keep = c_points ? c : a;
  const STATION_CURVE& other = c_points ? a : c;
  for (int i = 1; i <= n; ++i) {
    r.Y[i] = keep.Y[i];
    r.P[i] = keep.P[i] + force_at(other, n, keep.Y[i]);
  }
  sum = r;
}

int WRITE_PILE_GEOMETRY(RUN& run, CURVE_FILE_WORK& w, int g) {
  const STORE& s = run.store;
  const int p = property_of(s, g);
  if (p == 0) return bad_group(run, g);
  // (The curve files' unit labels follow from the units system where they
  // are printed; nothing of them is kept here.)
  const PILE_DATA& pd = s.piles;
  const int S = s.ctl.CURVE_FILE_MODE;
  const double L = pd.PROP[p].LENGTH;
  const double dL = L / S;
  const double v = pd.PILE_X[g];
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  record(w, INTS, g, S, 0);
  record(w, REALS, L);
  if (three_d) {
    record(w, REALS, pd.PILE_X[g], pd.PILE_Y[g], pd.PILE_Z[g]);
    const double a = pd.ALPHA[g], b = pd.BETA[g];
    record(w, REALS, std::sin(b), std::cos(a) * std::cos(b), std::sin(a) * std::cos(b));
    record(w, REALS, -std::cos(b), std::cos(a) * std::sin(b), std::sin(a) * std::sin(b));
    record(w, REALS, 0.0, -std::sin(a), std::cos(a));
  } else {
    record(w, REALS, pd.PILE_X[g], pd.PILE_Y[g]);
    const double t = 0.5 * s.rw.PI - pd.ALPHA[g];
    record(w, REALS, std::cos(t), std::sin(t));
    record(w, REALS, -std::sin(t), std::cos(t));
  }
  for (int seg = 1; seg <= S; ++seg) {
    const double x = v - 0.5 * dL + seg * dL;
    record(w, STATION, seg, x);
    const double width = SECTION_WIDTH(s, p, v, x);
    const double area = SECTION_VALUE(s, p, v, x, XS_AREA);
    const double iz = SECTION_VALUE(s, p, v, x, XS_IZ);
    const double e = SECTION_E(s, p, v, x);
    if (three_d)
      record(w, REALS, width, area, iz, SECTION_VALUE(s, p, v, x, XS_IY), e, SECTION_VALUE(s, p, v, x, XS_GJ));
    else
      record(w, REALS, width, area, iz, e);
  }
  return ST_OK;
}

int WRITE_PY_STATIONS(RUN& run, CURVE_FILE_WORK& w, int g) {
  STORE& s = run.store;
  PY_STATE& py = s.py;
  const int p = property_of(s, g);
  if (p == 0) return bad_group(run, g);
  py.PY_TABULATE = true;
  s.soil.NL = s.soil.NLAYERS;
  // The deflections: the file's own list, or the models' 17 defaults.
  int n = s.ctl.CURVE_DEFL_OPTION == 1 ? s.ctl.NYPTS : 0;
  if (n < 0) n = 0;
  if (n > CURVE_BUFFER_POINTS) n = CURVE_BUFFER_POINTS;
  py.NYPTS = n;
  for (int i = 1; i <= n; ++i) py.YLIST[i] = s.ctl.CURVE_DEFL[i];
  if (n == 0) n = 17;

  const int S = s.ctl.CURVE_FILE_MODE;
  const double v = s.piles.PILE_X[g];
  const double g0 = s.piles.GROUND[g];
  const double dL = s.piles.PROP[p].LENGTH / S;
  record(w, INTS, g, S + 1, 1);
  clear(w.A);
  clear(w.B);
  int below = 0;
  for (int k = 1; k <= S + 1; ++k) {
    const double ck = v + (k - 1) * dL;
    const int prev = below;
    below = 0;
    clear(w.C);
    w.A = w.B;
    clear(w.B);
    record(w, STATION, k, ck);
    double depth = 0.0;
    if (k <= S) {
      const double xm = ck + 0.5 * dL;
      SET_ONE_NODE_PILE(run, w.pile, g, xm);
      // What a model leaves when it runs; when none does (a user-curve
      // layer, or below the deepest layer) the midpoint's depth stands and
      // no curve is added.
      py.NCURVE = 0;
      py.STATION_DEPTH = xm - g0 - v;
      py.STATION_BELOW = 0;
      const int st = GENERATE_PY(run, w.pile);
      if (st != ST_OK) return st;
      depth = py.STATION_DEPTH;
      below = py.STATION_BELOW;
      const int got = py.NCURVE < n ? py.NCURVE : n;
      if (got > 0) {
        w.C.N = n;
        for (int i = 1; i <= got; ++i) {
          w.C.Y[i] = py.CURVE_Y[i];
          w.C.P[i] = py.CURVE_P[i] * dL * 0.5;  // the force of half a segment
        }
        w.B = w.C;
        if (prev)
          ADD_HALF_CURVES(w.A, w.C, n, w.A);
        else
          w.A = w.C;
      }
    } else {
      // The tip: the lower half of the last segment.
      depth = ck - g0 - v;
    }
    const int flag = depth >= 1.0e-6 ? 1 : 0;
    record(w, INTS, flag, flag ? 2 * n - 1 : 0, py.STATION_MODEL);
    if (flag) write_points(w, w.A, n);
  }
  return ST_OK;
}

int WRITE_AXIAL_STATIONS(RUN& run, CURVE_FILE_WORK& w, int g) { return write_tz_stations(run, w, g, 2); }

int WRITE_TORSION_STATIONS(RUN& run, CURVE_FILE_WORK& w, int g) { return write_tz_stations(run, w, g, 3); }

int CURVE_DATA_FILE(RUN& run) {
  if (run.status != ST_OK) return run.status;
  STORE& s = run.store;
  if (s.ctl.CURVE_FILE != 1) return ST_OK;  // the options are read only for CURVE_FILE 1
  FILE* f = run.files[F_CURVE_DATA];
  if (!f) return ST_OK;  // no curve data file named
  if (s.ctl.CURVE_FILE_MODE < 1)
    return FATAL(run, ST_DECK_RANGE,
                 "CURVE DATA FILE: CURVE_FILE_MODE = " + std::to_string(s.ctl.CURVE_FILE_MODE) +
                     ", EXPECTED AT LEAST 1 SEGMENT PER PILE; NO CURVES WRITTEN");
  auto w = std::make_unique<CURVE_FILE_WORK>();
  w->out.f = f;
  w->out.binary = run.files.curve_binary;
  loading_in_effect(s);

  record(*w, INTS, s.piles.NPILES, s.ctl.ANALYSIS_TYPE, s.ctl.UNITS_SYSTEM);
  PY_STATE& py = s.py;
  const bool buffer_before = py.PY_BUFFER;
  py.PY_PHASE = 1;
  py.PY_BUFFER = true;
  int st = ST_OK;
  const int npiles = s.piles.NPILES < MAX_PILES ? s.piles.NPILES : MAX_PILES;
  for (int g = 1; g <= npiles && st == ST_OK; ++g) {
    st = WRITE_PILE_GEOMETRY(run, *w, g);
    if (st == ST_OK) st = WRITE_PY_STATIONS(run, *w, g);
    if (st == ST_OK) st = WRITE_AXIAL_STATIONS(run, *w, g);
    if (st == ST_OK && s.ctl.ANALYSIS_TYPE == 3) st = WRITE_TORSION_STATIONS(run, *w, g);
  }
  py.PY_PHASE = 0;
  py.PY_BUFFER = buffer_before;
  if (st != ST_OK) {
    if (run.status == ST_OK) run.status = st;
    return st;
  }
  if (std::fflush(f) != 0 || std::ferror(f))
    return FATAL(run, ST_OUTPUT_FILE,
                 "CURVE DATA FILE \"" + run.files.name[F_CURVE_DATA] + "\" COULD NOT BE WRITTEN COMPLETELY");
  return ST_OK;
}

}  // namespace kestra
