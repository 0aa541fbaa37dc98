// Section readers and echo of the piles input (placeholders until the readers land).
#include "input/sections.h"

namespace kestra {

int READ_PILE_CAP(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_PILE_CAP"); }
int READ_ARRANGEMENT(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_ARRANGEMENT"); }
int READ_PILE_PROPERTIES(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_PILE_PROPERTIES"); }
int READ_CROSS_SECTIONS(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_CROSS_SECTIONS"); }
int READ_MC_SETS(RUN& run, DECK& deck) { return READ_HEADER(run, deck, "READ_MC_SETS"); }
int ECHO_TABLE_B(RUN& run) { return run.status; }
int ECHO_TABLE_D(RUN& run) { return run.status; }
int ECHO_TABLE_E(RUN& run) { return run.status; }
int ECHO_TABLE_J(RUN& run) { return run.status; }

}  // namespace kestra
