// Status codes. Every operation that can fail stores its code in
// RUN::status and returns; every caller returns in turn. IKESTRA returns the
// code. The codes of the analysis (0, 3, 4, 13, 14, 21 ... 36) keep their
// fixed meaning and runtime-file texts (engine/closing.cpp). Codes from 100
// up are this engine's own, for faults of the run files and of the deck that
// would otherwise crash or silently produce wrong numbers; each of them
// writes a message naming the file, the record and what was expected.
#pragma once

namespace kestra {

enum STATUS_CODE : int {
  ST_OK = 0,
  ST_BAD_OPTION = 1,          // IKESTRA called with an option other than 20
  ST_TIP_BELOW_LAYERS_3D = 3,
  ST_STOPPED = 4,             // stop request from the front end
  ST_2D_SWITCH = 12,
  ST_TIP_BELOW_LAYERS_2D = 13,
  ST_ZERO_DETERMINANT = 14,
  ST_WEAK_ROCK_ZERO_C = 21,
  ST_BEYOND_UNIT_WEIGHT = 22,
  ST_BEYOND_COHESION = 23,
  ST_BEYOND_FRICTION = 24,
  ST_BEYOND_SIDE_FRICTION = 25,
  ST_BEYOND_SIDE_RESISTANCE = 26,
  ST_BEYOND_TIP_FRICTION = 27,
  ST_SILT_ZERO_PHI = 28,
  ST_SILT_SLOPE = 29,
  ST_SAND_ZERO_PHI = 30,
  ST_SAND_SLOPE = 31,
  ST_LS_ZERO_E50 = 32,
  ST_LS_ZERO_C = 33,
  ST_TQ_ZERO_E50 = 34,
  ST_TQ_ZERO_C = 35,
  ST_AXIAL_CONVERGENCE = 36,

  // This engine's own codes (not in the front end's table).
  ST_NAMES_FILE = 101,        // Names.dat missing, short or unreadable
  ST_INPUT_FILE = 102,        // input data file missing or unreadable
  ST_OUTPUT_FILE = 103,       // an output or scratch file cannot be created
  ST_DECK_END = 110,          // the deck ends inside a record or section
  ST_DECK_KIND = 111,         // a value of the wrong kind (text for a number ...)
  ST_DECK_RANGE = 112,        // a non-finite or out-of-range number
  ST_DECK_LIMIT = 113,        // a count above its table limit, or negative where a list follows
  ST_DECK_REFERENCE = 114,    // a reference to a set, section or case that does not exist
  ST_BAD_PROPERTY = 120,      // a property that would divide by zero (layer, section ...)
  ST_SLAB_STOP = 130,         // the plate analysis stopped: slab deck diagnoses, zero element area, zero pivot
  ST_INTERNAL = 199,          // an unexpected failure inside the engine (caught at IKESTRA)
};

}  // namespace kestra
