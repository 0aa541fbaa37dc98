// Per-pile summary tables of the summary file, written after the printing
// pass of an analysis or an envelope from the extreme-values scratch file:
// the pile-top displacements and reactions in global and pile axes, the
// head stress, and the minima and maxima along the piles with their
// coordinates; one row per pile and, under each table, the minimum and the
// maximum over the piles with the number of the pile where each occurs.
#pragma once

#include <string>

#include "engine/run.h"

namespace kestra {

// The records of one pile in the extreme-values scratch file: the head
// values (slots 1..6, 2D 1..3) and the column extremes (1..25).
struct PILE_EXTREMES {
  int PILE = 0;
  double GLOBAL_DISP[7] = {}, GLOBAL_FORCE[7] = {}, LOCAL_DISP[7] = {}, LOCAL_FORCE[7] = {};
  double STRESS = 0.0;
  double MIN[RESULT_COLUMNS + 1] = {}, MIN_AT[RESULT_COLUMNS + 1] = {};
  double MAX[RESULT_COLUMNS + 1] = {}, MAX_AT[RESULT_COLUMNS + 1] = {};
};

// Reads the next pile's eight records (n head values per record: 6 in 3D,
// 3 in 2D). Returns false at the end of the file or on a short record.
bool READ_PILE_EXTREMES(FILE* f, int n, PILE_EXTREMES& out);

// A number of the scratch file: fixed, exponent, or the exponent form
// without its letter that a three-digit exponent takes; a field of
// asterisks (too wide for its format) or blanks reads as 0.
double SCRATCH_NUMBER(const std::string& field);

// The columns of the tables along the piles shown for the selection flags
// select[1..25]: those selected that apply to some pile of the analysis.
void SUMMARY_COLUMNS(const RUN& run, const int* select, int (&columns)[RESULT_COLUMNS + 1]);

// The summary tables for the selection flags select[1..25] (the analysis'
// OUTPUT_SELECT or an envelope's selection).
void WRITE_SUMMARY_TABLES(RUN& run, const int* select);

}  // namespace kestra
