// Readers and echo writers of the sections of the input data file. READ_INPUT
// (input/read_input.cpp) calls the readers in file order, each present or
// absent as the control record says; ECHO_INPUT (input/echo_input.cpp) calls
// the echo writers in report order and finally the load case driver.
//
// Every reader starts by calling READ_HEADER for its section's header line.
// Every function returns the status (also stored in run.status): 0, or a
// nonzero code after writing its message (DECK_FAIL for deck faults).
#pragma once

#include "engine/run.h"
#include "input/reader.h"

namespace kestra {

// Reads a section header (80 characters), logs "     READING " + header to
// the runtime file and names the section in the deck's messages.
int READ_HEADER(RUN& run, DECK& deck, const char* section_name);

// A deck fault: writes deck.message (or the given text) to the runtime file,
// the report file and standard error as a fatal input message, stores the
// status in run.status and returns it.
int DECK_FAIL(RUN& run, DECK& deck, int status);
int DECK_FAIL(RUN& run, DECK& deck, int status, const std::string& message);

// Checks a count read from the deck against its table limit. A count above
// the limit (or below zero where 'negative_ok' is false) fails with
// ST_DECK_LIMIT and a message naming the section, the item, the count and the
// limit. Returns 0 when the count is acceptable.
int CHECK_COUNT(RUN& run, DECK& deck, const char* item, int count, int limit, bool negative_ok = true);

// Defaults set on entry to every run: the six group multiplier arrays to
// 1.0 (input/read_piles.cpp).
void PILE_DATA_DEFAULTS(PILE_DATA& piles);
// The soil-movement count is 0 unless section 17 sets it
// (input/read_soils.cpp).
void SOIL_MOVEMENT_RESET(RUN& run);

// --- piles and cap (input/read_piles.cpp) ---
int READ_PILE_CAP(RUN& run, DECK& deck);          // section 3
int READ_ARRANGEMENT(RUN& run, DECK& deck);       // section 7
int READ_PILE_PROPERTIES(RUN& run, DECK& deck);   // section 8
int READ_CROSS_SECTIONS(RUN& run, DECK& deck);    // section 9
int READ_MC_SETS(RUN& run, DECK& deck);           // section 15
int ECHO_TABLE_B(RUN& run);                       // pile cap
int ECHO_TABLE_D(RUN& run);                       // arrangement (and its derived arrays)
int ECHO_TABLE_E(RUN& run);                       // pile properties and sections
int ECHO_TABLE_J(RUN& run);                       // moment-curvature sets

// --- loads (input/read_loads.cpp) ---
int READ_LOAD_CASES(RUN& run, DECK& deck);        // section 4
int READ_LOAD_COMBS(RUN& run, DECK& deck);        // section 5
int READ_DLOAD_SETS(RUN& run, DECK& deck);        // section 6
int ECHO_TABLE_C(RUN& run);                       // loads and control parameters

// --- soils and curves (input/read_soils.cpp) ---
int READ_SOIL_LAYERS(RUN& run, DECK& deck);       // section 10
int READ_PY_REQUESTS(RUN& run, DECK& deck);       // section 11
int READ_USER_PY(RUN& run, DECK& deck);           // section 12
int READ_USER_LS(RUN& run, DECK& deck);           // section 13
int READ_USER_TR(RUN& run, DECK& deck);           // section 14
int READ_DEPTH_FACTORS(RUN& run, DECK& deck);     // section 16
int READ_SOIL_MOVEMENT(RUN& run, DECK& deck);     // section 17
int ECHO_TABLE_F(RUN& run);                       // soil layers and profile
int ECHO_PY_REQUESTS(RUN& run);                   // "DATA TO PRINT GENERATED P-Y CURVES"
int ECHO_TABLES_GHI(RUN& run);                    // user p-y, load-settlement, torque-rotation
int ECHO_TABLES_J1_J2_K(RUN& run);                // depth factors, soil movement, multipliers

}  // namespace kestra
