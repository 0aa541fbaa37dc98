// Section properties along a pile. A pile property set is a list of pile
// sections, each running from SECT_FROM to SECT_TO (distances from the pile
// head) with its cross-section values at both ends; a value between the ends
// is interpolated linearly.
//
// Lookups take the node coordinate x and the pile-head coordinate v of the
// group; the position along the pile is s = x - v:
//   s before the first section's start: the first section's start value;
//   s after the last section's end:      the last section's end value;
//   otherwise the first section whose end is >= s, interpolated.
#pragma once

#include "engine/store.h"

namespace kestra {

// One of the 18 cross-section values (XS_... of input/pile_data.h).
double SECTION_VALUE(const STORE& s, int property, double v, double x, int value);

// The pile width (equivalent diameter). When the lookup gives less than
// 1e-5 the last section's start value is used instead.
double SECTION_WIDTH(const STORE& s, int property, double v, double x);

// Flexural rigidity E*I with I = IZ (axis 0, the plane of a 2D analysis) or
// IY (axis 1), both E and I interpolated within the section.
double SECTION_EI(const STORE& s, int property, double v, double x, int axis);

// Elastic modulus E of the section at the position.
double SECTION_E(const STORE& s, int property, double v, double x);

// Cross-section type code of the section at the position (XT_...).
int SECTION_TYPE(const STORE& s, int property, double v, double x);

}  // namespace kestra
