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

#include "engine/run.h"
#include "input/load_data.h"

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
// the current load case or combination k (LOAD_INCREMENT, MIN_INCREMENT,
// MAXIT_CAP, TOL_CAP). Returns 0; ST_DECK_RANGE (fatal message) when the
// flexible-cap data cannot form a plate (no elements, a cap dimension or the
// modulus not positive, Poisson's ratio outside (-1, 1)); ST_OUTPUT_FILE when
// a file cannot be written.
int SLAB_GENERATE(RUN& run, const LOAD_CONTROLS& k);

// The width the plate spans along Z: the cap width as given in the
// input (CAP_WIDTH holds the plan diagonal during a 3D analysis).
double SLAB_WIDTH(const STORE& s);

}  // namespace kestra
