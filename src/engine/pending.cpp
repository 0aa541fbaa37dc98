// Weak defaults for procedures whose owners are landing; a strong
// definition elsewhere replaces each.
#include "input/sections.h"

namespace kestra {

__attribute__((weak)) void PILE_DATA_DEFAULTS(PILE_DATA&) {}
__attribute__((weak)) void SOIL_MOVEMENT_RESET(RUN&) {}

}  // namespace kestra
