// One call of the engine over an explicit run handle (IKESTRA wraps it).
#pragma once

#include <ctime>
#include <string>

#include "engine/run.h"

namespace kestra {

// Runs one analysis in the current working directory: Names.dat, the files,
// the banners, the input, the echo and analysis, the closing message, the
// summary completion. 'clock' fixes the date and time (tests); nullptr takes
// the local clock. Returns the status code; every file is closed on return.
int RUN_IKESTRA(RUN& run, int analysis_option, const std::tm* clock = nullptr);

// The runtime-file lines of the closing message of a status code (each
// written as one blank followed by the line).
int CLOSING_LINES(int status, const char* (&lines)[3], char (&unknown)[48]);

// Splits a file name into drive, directory, base name and extension.
struct PATH_PARTS {
  std::string drive, dir, base, ext;
};
PATH_PARTS SPLIT_PATH(const std::string& name);

// Closes every open file of the run.
void CLOSE_ALL(RUN& run);

}  // namespace kestra
