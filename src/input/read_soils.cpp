// Section readers and echo of the soils input (placeholders until the readers land).
#include "input/sections.h"

namespace kestra {

int READ_SOIL_LAYERS(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_SOIL_LAYERS"); }
int READ_PY_REQUESTS(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_PY_REQUESTS"); }
int READ_USER_PY(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_USER_PY"); }
int READ_USER_LS(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_USER_LS"); }
int READ_USER_TR(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_USER_TR"); }
int READ_DEPTH_FACTORS(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_DEPTH_FACTORS"); }
int READ_SOIL_MOVEMENT(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_SOIL_MOVEMENT"); }
int ECHO_TABLE_F(RUN& run) { return run.status; }
int ECHO_PY_REQUESTS(RUN& run) { return run.status; }
int ECHO_TABLES_GHI(RUN& run) { return run.status; }
int ECHO_TABLES_J1_J2_K(RUN& run) { return run.status; }

}  // namespace kestra
