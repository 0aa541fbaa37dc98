// Section readers and echo of the loads input (placeholders until the readers land).
#include "input/sections.h"

namespace kestra {

int READ_LOAD_CASES(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_LOAD_CASES"); }
int READ_LOAD_COMBS(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_LOAD_COMBS"); }
int READ_DLOAD_SETS(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_DLOAD_SETS"); }
int ECHO_TABLE_C(RUN& run) { return run.status; }

}  // namespace kestra
