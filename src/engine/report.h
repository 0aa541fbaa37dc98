// Report conventions: unit labels, banner, date-and-time block, headings,
// notes and warnings, and the runtime-file log.
#pragma once

#include <cstdio>
#include <string_view>

#include "engine/run.h"

namespace kestra {

// Program title shown in the banners.
inline constexpr const char* PROGRAM_TITLE = "KESTRA - Analysis of Pile Groups";
inline constexpr const char* PROGRAM_SUBTITLE = "Pile-group foundation engine";

// Unit labels and the units-system name from UNITS_SYSTEM (1 English,
// 2 SI, other neutral).
void SET_UNIT_LABELS(STORE& s);

// Banner of the report and summary files (framed title with the version).
void WRITE_BANNER(FILE* f, std::string_view version);
// Banner of the runtime file (title line indented 10 columns).
void WRITE_RUNTIME_BANNER(FILE* f, std::string_view version);
// Date-and-time block from the clock taken once for the run.
void WRITE_DATE_BLOCK(FILE* f, const std::tm& clock);
// Full English month name (1..12), or nullptr.
const char* MONTH_NAME(int month);

// Main heading: 'empty' empty lines, 'indent' blanks, "*****", five blanks,
// the title, five blanks, "*****".
void MAIN_HEADING(FILE* f, int empty, int indent, std::string_view title);
// Table heading: three empty lines, then "     * TABLE " letter " *" title,
// e.g. TABLE_HEADING(f, "B", "  PILE CAP OPTIONS").
void TABLE_HEADING(FILE* f, std::string_view letter, std::string_view title);
// "     NOTE: " + text.
void NOTE_LINE(FILE* f, std::string_view text);
// "     ** WARNING **  " + text.
void WARNING_LINE(FILE* f, std::string_view text);
// The centred "**** WARNING ****" line (29 blanks before it).
void WARNING_CENTRED(FILE* f);

// Runtime file: one log line, and forcing what was written to disk.
void LOG_RUNTIME(RUN& run, std::string_view line);
void COMMIT_RUNTIME(RUN& run);
// A warning to both the report and the runtime file ("** WARNING **  " form).
void WARN_BOTH(RUN& run, std::string_view text);
// A fatal message to the report, the runtime file and standard error; stores
// the status and returns it.
int FATAL(RUN& run, int status, std::string_view text);

// Progress file: rewritten whole with one message (silently skipped when
// it cannot be opened).
void PROGRESS(RUN& run, std::string_view message);
// Stop-request file: opened, one free-form integer read, closed. True when
// the integer is 1 (then status 4 is stored).
bool STOP_REQUESTED(RUN& run);

}  // namespace kestra
