// The coupled plate-pile analysis of a flexible cap: load increments with a
// Newton iteration in each, the pile springs and pile forces entering the
// plate's element matrices at the pile points, halving of an increment that
// does not converge, the printed results of every converged increment and a
// final printing pass of the piles.
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/status.h"
#include "input/reader.h"
#include "slab/plate_elements.h"
#include "slab/plate_shape.h"
#include "slab/slab.h"
#include "slab/slab_deck.h"

namespace kestra {

namespace {

template <class... A>
void WRITE_TO(std::initializer_list<FILE*> files, std::string_view fmt, const A&... a) {
  for (FILE* f : files)
    if (f) WRITE_F(f, fmt, a...);
}

void NODE_BLOCK(FILE* fp, const char* title, const SLAB_MODEL& m, const std::vector<double>& v) {
  if (!fp) return;
  WRITE_F(fp, "(A)", title);
  for (int n = 1; n <= m.NPOIN; ++n) {
    const double* x = &v[static_cast<size_t>(n - 1) * 6];
    WRITE_F(fp, "(I5,7E13.5)", n, x[0], x[1], x[2], x[3], x[4], x[5]);
  }
}

// Translation and rotation norms of a vector over all nodes.
void NORMS(const std::vector<double>& v, double& trans, double& rot) {
  double t = 0.0, r = 0.0;
  for (size_t i = 0; i < v.size(); i += 6) {
    t += v[i] * v[i] + v[i + 1] * v[i + 1] + v[i + 2] * v[i + 2];
    r += v[i + 3] * v[i + 3] + v[i + 4] * v[i + 4] + v[i + 5] * v[i + 5];
  }
  trans = std::sqrt(t);
  rot = std::sqrt(r);
}

// Plate displacement at a located point.
SLAB_VEC6 POINT_DISPLACEMENT(const SLAB_MODEL& m, const SLAB_POINT& p, const std::vector<double>& u) {
  SHAPE s;
  SHAPE_FUNCTIONS(m.NNODE, p.XI, p.ETA, s);
  SLAB_VEC6 us{};
  for (int a = 0; a < m.NNODE; ++a)
    for (int k = 0; k < 6; ++k) us[k] += s.N[a] * u[static_cast<size_t>(m.node(p.ELEM, a + 1) - 1) * 6 + k];
  return us;
}

// Scratch files owned for one analysis.
struct SCRATCH {
  FILE* elements = nullptr;
  FILE* equations = nullptr;
  ~SCRATCH() {
    if (elements) std::fclose(elements);
    if (equations) std::fclose(equations);
  }
};

}  // namespace

int PLATE_ANALYSIS_DECK(FILE* deck, const char* deck_label, const SLAB_FILES& files, SLAB_PILE_LINK* piles,
                        PLATE_OUTCOME& out) {
  out = PLATE_OUTCOME{};
  SLAB_FILES f = files;
  SCRATCH scratch;
  if (!f.ELEMENTS) f.ELEMENTS = scratch.elements = std::tmpfile();
  if (!f.EQUATIONS) f.EQUATIONS = scratch.equations = std::tmpfile();
  if (!f.ELEMENTS || !f.EQUATIONS) return ST_OUTPUT_FILE;

  auto m = std::make_unique<SLAB_MODEL>();
  int st = READ_SLAB_FILE(deck, deck_label, *m, f);
  if (st) return st;
  // Increments that could never pass TEND, or halving without end.
  if (!(m->DT > 0.0) || !(m->DTMIN > 0.0) || !std::isfinite(m->TEND) || !std::isfinite(m->TINI)) {
    WRITE_TO({f.LISTING, f.HISTORY, f.CONSOLE}, "(/,' *** SLAB DECK ERROR: DT AND DTMIN MUST BE POSITIVE')");
    return ST_DECK_RANGE;
  }

  // A deck whose first increment lies beyond TEND would analyse nothing.
  if (!(m->TEND > m->TINI)) {
    WRITE_TO({f.LISTING, f.HISTORY, f.CONSOLE}, "(/,' *** SLAB DECK ERROR: TEND MUST EXCEED TINI')");
    return ST_DECK_RANGE;
  }

  const size_t ndof = static_cast<size_t>(m->NPOIN) * 6;
  std::vector<double> u_total(ndof, 0.0), u_step(ndof, 0.0), du(ndof, 0.0), u(ndof), r, reactions, fixed(ndof, 0.0);
  SLAB_PILE_LINK* link = (m->KPILE > 0 && m->NCTSTI > 0) ? piles : nullptr;

  double tcur = m->TINI + m->DT, dtcur = m->DT;
  if (tcur > m->TEND) tcur = m->TEND;  // one increment shorter than DT
  int step = 1;
  while (tcur <= m->TEND) {
    int iter = 0, outcome = 0;
    out.TRIED.push_back(tcur);
    WRITE_TO({f.CONSOLE, f.HISTORY, f.TRACE}, "(/,'STEP ',I5,'   TCUR   =',F10.4,'  DT = ',F10.4)", step, tcur, dtcur);
    std::fill(u_step.begin(), u_step.end(), 0.0);
    while (outcome == 0) {
      std::fill(du.begin(), du.end(), 0.0);
      for (size_t i = 0; i < ndof; ++i) u[i] = u_total[i] + u_step[i];
      st = ELEMENT_MATRICES(*m, f, u, SLAB_LOAD_FACTOR(*m, tcur), link, &r);
      if (st) return st;
      if (f.TRACE) WRITE_LIST(f.TRACE, "ITER = ", iter, step);
      double rhs, rrhs;
      NORMS(r, rhs, rrhs);
      // Restrained degrees of freedom move to their prescribed values.
      for (const auto& fx : m->FIX)
        for (int k = 0; k < 6; ++k)
          if (fx.CODE[k] == 1) {
            const size_t g = static_cast<size_t>(fx.NODE - 1) * 6 + k;
            fixed[g] = fx.VALUE[k] - u[g];
          }
      st = FRONTAL_SOLVE(*m, f, fixed, du, reactions);
      if (st) return st;
      NODE_BLOCK(f.TRACE, "DSDIS", *m, du);
      for (size_t i = 0; i < ndof; ++i) u_step[i] += du[i];
      NODE_BLOCK(f.TRACE, "TSDIS", *m, u_step);
      if (f.TRACE) {
        for (size_t i = 0; i < ndof; ++i) u[i] = u_total[i] + u_step[i];
        NODE_BLOCK(f.TRACE, "ASDIS + TSDIS", *m, u);
      }
      double D, R, U, RU;
      NORMS(du, D, R);
      NORMS(u_step, U, RU);
      ++iter;
      const double err1 = U != 0.0 ? D / U : D;
      const double err2 = RU != 0.0 ? R / RU : R;
      if (f.CONSOLE) WRITE_F(f.CONSOLE, "('ITER =',I5,' ERR1 =',E11.4,' ERR2 = ',E11.4)", iter, err1, err2);
      WRITE_TO({f.HISTORY, f.TRACE},
               "('ITER =',I5,' ERR1 =',E11.4,' D = ',E11.4,' U =',E11.4,' RHS = ',E11.4,/,'      ',5X,' ERR2 =',"
               "E11.4,' R = ',E11.4,' RU=',E11.4,' RRHS= ',E11.4)",
               iter, err1, D, U, rhs, err2, R, RU, rrhs);
      // The first iteration is never accepted.
      if (iter >= 2) {
        const bool trans = err1 <= m->TOLER || rhs <= 1.0E-10 || D <= 1.0E-10 || U <= 1.0E-10;
        const bool rot = err2 <= m->TOLER || rrhs <= 1.0E-10 || R <= 1.0E-10 || RU <= 1.0E-10;
        if (trans && rot)
          outcome = 1;
        else if (iter > m->MAXITER)
          outcome = -1;
      }
    }
    if (outcome == 1) {
      for (size_t i = 0; i < ndof; ++i) u_total[i] += u_step[i];
      PRINT_STEP_RESULTS(*m, f, step, tcur, u_total, reactions);
      st = PLATE_STRESSES(*m, f, step, u_total);
      if (st) return st;
      out.STEPS = step;
      out.LAST_TIME = tcur;
      out.REACHED_END = tcur == m->TEND;
      out.ITERATIONS.push_back(iter);
      out.STEP_TIMES.push_back(tcur);
      const double previous = tcur;
      tcur += dtcur;
      // A last, shorter increment ends exactly at TEND.
      if (tcur > m->TEND && previous < m->TEND) tcur = m->TEND;
      ++step;
    } else {
      dtcur *= 0.5;
      if (dtcur >= m->DTMIN) {
        tcur -= dtcur;
      } else {
        WRITE_TO({f.CONSOLE, f.HISTORY}, "('error, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED')");
        break;
      }
    }
  }

  // Final printing pass of the piles at the final plate displacement; a
  // pile point outside the plate has no displacement to take and is skipped.
  if (step > 1 && link) {
    if (link->SET_PRINT_PASS) link->SET_PRINT_PASS(link->CTX, 1);
    for (int ip = 0; ip < m->NCTSTI; ++ip) {
      const auto& p = m->PILE_POINT[ip];
      if (p.ELEM == 0) continue;
      const SLAB_VEC6 us = POINT_DISPLACEMENT(*m, p, u_total);
      const SLAB_VEC6 ug = SLAB_TO_GLOBAL(us);
      if (f.TRACE) {
        WRITE_LIST(f.TRACE, ip + 1);
        WRITE_F(f.TRACE, "('DDD  ',7E13.5)", us[0], us[1], us[2], us[3], us[4], us[5]);
        WRITE_F(f.TRACE, "('DD2  ',7E13.5)", ug[0], ug[1], ug[2], ug[3], ug[4], ug[5]);
      }
      SLAB_VEC6 F{};
      if (link->RESPONSE) {
        const int s = link->RESPONSE(link->CTX, ip + 1, ug, F);
        if (s != 0 && link->FAILURES++ == 0) link->FIRST_FAILURE = s;
      }
    }
  }
  if (f.STEP_DATA) WRITE_F(f.STEP_DATA, "('END_STEP_DATA')");
  out.U_TOTAL = u_total;
  return 0;
}

int PLATE_ANALYSIS(RUN& run, SLAB_PILE_LINK* piles) {
  // The run list: five names of up to 128 characters; line 2 names the deck.
  std::string names[5];
  {
    FILE* g = std::fopen("gslab.dat", "r");
    if (!g) return FATAL(run, ST_INPUT_FILE, "CANNOT READ THE SLAB RUN LIST gslab.dat");
    DECK d;
    DECK_OPEN(d, g, "slab run list \"gslab.dat\"");
    for (auto& n : names) {
      char buf[129];
      if (READ_TEXT(d, buf, 128, "FILE NAME") != 0) {
        std::fclose(g);
        return FATAL(run, ST_INPUT_FILE, "THE SLAB RUN LIST gslab.dat HAS FEWER THAN FIVE LINES");
      }
      n.assign(buf, 128);
      n.erase(n.find_last_not_of(' ') + 1);
    }
    std::fclose(g);
  }
  FILE* deck = std::fopen(names[1].c_str(), "r");
  if (!deck) return FATAL(run, ST_INPUT_FILE, "CANNOT OPEN THE SLAB DECK " + names[1]);
  // The plate program writes next to the engine's own output in the files
  // the engine has open (lines 3 to 5 of the run list name them).
  SLAB_FILES f;
  f.LISTING = run.files[F_REPORT];
  f.STEP_DATA = run.files[F_SUMMARY];
  f.HISTORY = run.files[F_PLOT];
  f.TRACE = run.files[F_CAP_TRACE];
  f.CONSOLE = run.files[F_RUNTIME];
  PLATE_OUTCOME out;
  int st = 0;
  try {
    st = PLATE_ANALYSIS_DECK(deck, names[1].c_str(), f, piles, out);
  } catch (const std::bad_alloc&) {
    std::fclose(deck);
    return FATAL(run, ST_SLAB_STOP, "NOT ENOUGH MEMORY FOR THE PLATE ANALYSIS OF THE FLEXIBLE CAP");
  }
  std::fclose(deck);
  if (run.files[F_RUNTIME]) COMMIT_RUNTIME(run);
  if (st == ST_SLAB_STOP)
    return FATAL(run, st, "THE PLATE ANALYSIS OF THE FLEXIBLE CAP STOPPED (CODE 999): SEE THE PLATE LISTING IN THE REPORT");
  if (st == ST_OUTPUT_FILE) return FATAL(run, st, "CANNOT WRITE THE SCRATCH FILES OF THE PLATE ANALYSIS");
  if (st) return FATAL(run, st, "THE SLAB DECK " + names[1] + " CANNOT BE READ: SEE THE PLATE LISTING IN THE REPORT");
  if (piles && piles->FAILURES > 0) {
    char text[160];
    std::snprintf(text, sizeof text, "THE PILE-HEAD RESPONSE FAILED %d TIMES DURING THE PLATE ANALYSIS (FIRST STATUS %d)",
                  piles->FAILURES, piles->FIRST_FAILURE);
    WARN_BOTH(run, text);
  }
  return 0;
}

int FLEX_CAP_SOLVE(RUN& run, SLAB_PILE_LINK& piles, int plot_stage, int plot_count) {
  if (FILE* plot = run.files[F_PLOT]) {
    WRITE_LIST(plot, plot_stage);
    WRITE_LIST(plot, run.store.piles.NPILES, plot_count + 1, run.store.ctl.UNITS_SYSTEM);
  }
  for (int role : {F_REPORT, F_SUMMARY})
    if (FILE* fp = run.files[role]) {
      WRITE_F(fp, "(/,/,/,17X,'*****',5X,'COMPUTATION RESULTS',5X,'*****',/)");
      WRITE_F(fp, "(/,/,/,5X,'* TABLE I *   COMPUTATION ON INDIVIDUAL PILE')");
    }
  int st = SLAB_RUN_LIST(run);
  if (st == 0) {
    piles.FAILURES = 0;
    piles.FIRST_FAILURE = 0;
    st = PLATE_ANALYSIS(run, &piles);
  }
  if (piles.SET_PRINT_PASS) piles.SET_PRINT_PASS(piles.CTX, 0);
  return st;
}

}  // namespace kestra
