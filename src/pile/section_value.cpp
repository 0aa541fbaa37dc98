#include "pile/section_value.h"

namespace kestra {

namespace {

// The section that holds position t (1-based), and where t lies in it:
// -1 before the first, +1 after the last, 0 inside.
struct SECTION_AT {
  int e = 0;
  int where = 0;
};

SECTION_AT find_section(const PILE_PROPERTY& p, double t) {
  SECTION_AT at;
  const int n = p.NSECT;
  if (n <= 0) return at;
  if (t < p.SECT[1].SECT_FROM) {
    at.e = 1;
    at.where = -1;
    return at;
  }
  for (int e = 1; e <= n; ++e)
    if (p.SECT[e].SECT_TO >= t) {
      at.e = e;
      return at;
    }
  at.e = n;
  at.where = 1;
  return at;
}

// Linear interpolation of a quantity with end values a (at FROM) and b (at TO).
double interpolate(const PILE_SECTION& sec, double t, double a, double b) {
  const double len = sec.SECT_TO - sec.SECT_FROM;
  if (len <= 0.0) return a;  // a zero-length section holds its start value
  return a + (b - a) * (t - sec.SECT_FROM) / len;
}

const PILE_PROPERTY* property_of(const STORE& s, int property) {
  if (property < 1 || property > MAX_PROPERTIES) return nullptr;
  return &s.piles.PROP[property];
}

}  // namespace

double SECTION_VALUE(const STORE& s, int property, double v, double x, int value) {
  const PILE_PROPERTY* p = property_of(s, property);
  if (!p || value < 0 || value >= XSEC_VALUES) return 0.0;
  const double t = x - v;
  const SECTION_AT at = find_section(*p, t);
  if (at.e == 0) return 0.0;
  const PILE_SECTION& sec = p->SECT[at.e];
  if (at.where < 0) return sec.TOP[value];
  if (at.where > 0) return sec.BOT[value];
  return interpolate(sec, t, sec.TOP[value], sec.BOT[value]);
}

double SECTION_WIDTH(const STORE& s, int property, double v, double x) {
  const double b = SECTION_VALUE(s, property, v, x, XS_DIAMETER);
  if (b >= 1e-5) return b;
  const PILE_PROPERTY* p = property_of(s, property);
  if (!p || p->NSECT <= 0) return b;
  return p->SECT[p->NSECT].TOP[XS_DIAMETER];
}

double SECTION_E(const STORE& s, int property, double v, double x) {
  const PILE_PROPERTY* p = property_of(s, property);
  if (!p) return 0.0;
  const SECTION_AT at = find_section(*p, x - v);
  return at.e == 0 ? 0.0 : p->SECT[at.e].E_MOD;
}

double SECTION_EI(const STORE& s, int property, double v, double x, int axis) {
  const int which = axis == 0 ? XS_IZ : XS_IY;
  return SECTION_E(s, property, v, x) * SECTION_VALUE(s, property, v, x, which);
}

int SECTION_TYPE(const STORE& s, int property, double v, double x) {
  const PILE_PROPERTY* p = property_of(s, property);
  if (!p) return 0;
  const SECTION_AT at = find_section(*p, x - v);
  return at.e == 0 ? 0 : p->SECT[at.e].XSEC_TYPE;
}

}  // namespace kestra
