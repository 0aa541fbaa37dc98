// The input side of the plate program: reading the slab deck into the plate
// model, echoing it to the plate listing, checking the control data and the
// mesh, and placing every point datum (concentrated loads and stiffnesses,
// pile points) inside an element.
//
// Every function returns 0 or a nonzero status:
//   ST_SLAB_STOP   a check failed: the diagnoses and the listing of the rest
//                  of the deck ("post-disaster" cards) have been written;
//   ST_DECK_END, ST_DECK_KIND, ST_DECK_RANGE, ST_DECK_LIMIT
//                  the deck ended early, held a value of the wrong kind, or a
//                  reference or count out of range; one line saying where is
//                  written to the plate listing (and is left in DECK::message).
#pragma once

#include "input/reader.h"
#include "slab/slab_model.h"

namespace kestra {

// Reads deck records 1 to 3 (title, control record, time-stepping record)
// into m, fixes the values the deck does not carry (NDOFN ... NEVAB) and
// writes the title to the listing.
int READ_SLAB_HEAD(DECK& d, SLAB_MODEL& m, const SLAB_FILES& f);

// Sizes the model arrays from the control values (entries zeroed).
int SLAB_ALLOCATE(SLAB_MODEL& m, const SLAB_FILES& f);

// Reads deck records 4 to 16 with the echo, CHECK1 before the elements and
// CHECK2 after the last record, locating the point data and setting up the
// Gauss rule.
int READ_SLAB_DECK(DECK& d, SLAB_MODEL& m, const SLAB_FILES& f);

// The control-value checks; returns true when an error was found (the
// diagnoses are written).
bool CHECK1(const SLAB_MODEL& m, const SLAB_FILES& f);

// The mesh checks; sets NODE_FIRST, NODE_LAST and raises FRONT_SIZE to the
// front width plus one when the width exceeds it. Returns true when an error
// was found (the diagnoses are written).
bool CHECK2(SLAB_MODEL& m, const SLAB_FILES& f);

// Largest number of degrees of freedom active at one time with the elements
// taken in storage order (NODE_FIRST / NODE_LAST must be set).
int FRONT_WIDTH(const SLAB_MODEL& m);

// Writes the post-disaster header and echoes every remaining line of the
// deck (80 characters each).
void POST_DISASTER_LISTING(DECK& d, const SLAB_FILES& f);

// Places point (x, y) in element e: true with its natural coordinates when
// the point lies in the element (bounds included).
bool LOCATE_IN_ELEMENT(const SLAB_MODEL& m, int e, double x, double y, double& xi, double& eta);

// Searches the points of one list element by element in storage order.
void LOCATE_POINTS(const SLAB_MODEL& m, std::vector<SLAB_POINT>& points);

// Reads a whole slab deck from a file: head, allocation and records 4 to 16.
int READ_SLAB_FILE(FILE* fp, const char* label, SLAB_MODEL& m, const SLAB_FILES& f);

}  // namespace kestra
