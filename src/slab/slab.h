// The flexible pile cap: entry points called by the 3D cap solution for a
// load case or combination when FLEX_CAP > 0.
//
//   FLEX_CAP = 2        SLAB_GENERATE: writes the run list, the slab deck and
//                       the keyword model file for the current load; the
//                       case ends there (no cap solution, no results).
//   FLEX_CAP = 1, >= 3  FLEX_CAP_SOLVE: the result headings, the run list and
//                       the plate analysis coupled to the piles.
//
// Files. The run list "gslab.dat" (working directory) names, on five lines
// of 75 characters: the runtime file, the slab deck, the report, the summary
// and the plot file. The slab deck is never the run's input data file: its
// name is the input data file's name with the extension replaced by ".slb"
// (SLAB_DECK_NAME); the keyword model file is the runtime file's name with
// the extension ".slk" (SLAB_KEYWORD_NAME). A FLEX_CAP = 2 run thus leaves
// the deck that a later plate analysis of the same input data file reads.
#pragma once

#include <string>
#include <vector>

#include "engine/run.h"
#include "slab/plate_elements.h"
#include "slab/slab_model.h"

namespace kestra {

// Name of the slab deck that belongs to an input data file, and of the
// keyword model file that belongs to a runtime file.
std::string SLAB_DECK_NAME(const std::string& input_name);
std::string SLAB_KEYWORD_NAME(const std::string& runtime_name);

// Writes "gslab.dat" in the working directory from the run's file names.
// Returns 0, or ST_OUTPUT_FILE (with a fatal message) when it cannot be
// written.
int SLAB_RUN_LIST(RUN& run);

// Writes the run list, then the slab deck and the keyword model file of the
// cap's plate for the applied load EQ_LOAD, with the load-stepping values of
// the load case or combination in progress (STORE::an.cur: LOAD_INCREMENT,
// MIN_INCREMENT, MAXIT_CAP, TOL_CAP). Returns 0; ST_DECK_RANGE (fatal message) when the
// flexible-cap data cannot form a plate (no elements, a cap dimension or the
// modulus not positive, Poisson's ratio outside (-1, 1)); ST_OUTPUT_FILE when
// a file cannot be written.
int SLAB_GENERATE(RUN& run);

// What one plate analysis leaves for its caller and its tests.
struct PLATE_OUTCOME {
  int STEPS = 0;                 // increments converged
  double LAST_TIME = 0.0;        // load factor of the last converged increment
  bool REACHED_END = false;      // the last converged increment ended at TEND
  std::vector<double> U_TOTAL;   // final plate displacement, six per node
  std::vector<int> ITERATIONS;   // iterations of every converged increment
  std::vector<double> STEP_TIMES;  // load factor of every converged increment
  std::vector<double> TRIED;     // load factor of every increment tried
};

// The plate analysis of one slab deck: reads it (with the echo and the
// checks), applies its loads in increments from TINI to TEND with a Newton
// iteration in each, the piles coupled at the pile points through piles
// (may be null: no coupling), halving an increment that does not converge
// down to DTMIN, and prints the results of every converged increment; after
// the last increment every located pile is evaluated once more in the
// printing pass. f names the listing, step-data, history, trace and console
// streams; the scratch files are created here when f has none.
// Returns 0 (also when the increments stopped above TEND), ST_SLAB_STOP
// (deck diagnoses, zero area, zero pivot), a deck read status, or
// ST_OUTPUT_FILE.
int PLATE_ANALYSIS_DECK(FILE* deck, const char* deck_label, const SLAB_FILES& f, SLAB_PILE_LINK* piles,
                        PLATE_OUTCOME& out);

// The plate analysis of the run: the deck named on line 2 of "gslab.dat",
// the plate listing appended to the report, the step records to the
// summary file, the history to the plot file, the trace to the cap trace
// file (when open) and the short console lines to the runtime file.
int PLATE_ANALYSIS(RUN& run, SLAB_PILE_LINK* piles);

// The piles of the run as the plate analysis sees them: the pile-head
// response and stiffness of the 3D group (group/pile_head.h) at pile point
// i = pile i, and the printing-pass flag STORE::an.PASS_FLAG. A pile point
// numbered beyond NPILES couples nothing (status ST_DECK_REFERENCE, counted
// as a pile failure).
SLAB_PILE_LINK SLAB_PILES_OF(RUN& run);

// The flexible cap of FLEX_CAP = 1 or >= 3 for the current load case or
// combination: two plot-file records (plot_stage; then NPILES, plot_count + 1
// and the units code), the computation-results headings of the report and
// the summary file, the run list, then the plate analysis. The printing pass
// of the piles is switched off again before it returns. A stop of the plate
// analysis is fatal (message, status returned).
int FLEX_CAP_SOLVE(RUN& run, SLAB_PILE_LINK& piles, int plot_stage, int plot_count);

// The width the plate spans along Z: the cap width as given in the
// input (CAP_WIDTH holds the plan diagonal during a 3D analysis).
double SLAB_WIDTH(const STORE& s);

}  // namespace kestra
