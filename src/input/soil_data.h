// Model-store tables of the soil input sections (filled by the input reader).
#pragma once

#include <array>

#include "engine/limits.h"

namespace kestra {

struct SOIL_DATA {
  int placeholder = 0;  // replaced by the tables of the section readers
};

}  // namespace kestra
