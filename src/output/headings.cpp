// Result column headings.
#include "output/headings.h"

#include <cstring>
#include <string>

#include "engine/format.h"
#include "engine/writers.h"

namespace kestra {

namespace {

// text after 'lead' blanks in a 10-character field.
void put(char (&field)[11], int lead, const char* text) {
  std::memset(field, ' ', 10);
  field[10] = 0;
  const std::size_t n = std::strlen(text);
  for (std::size_t k = 0; k < n && lead + static_cast<int>(k) < 10; ++k) field[lead + k] = text[k];
}

// Leading blanks of each heading text.
int lead_of(const char* t) {
  static const char* const none[] = {"SOIL REACT", "FLEX. RIG.", "DIST. LOAD", "DISTRIBUT."};
  static const char* const one[] = {"AXIAL F.", "DEM./CAP.", "FLEXURAL", "REACTION", "RIGIDITY"};
  static const char* const two[] = {"DISPL.", "MOMENT", "STRESS", "BENDING", "y-z-DIR", "Y-Z-DIR"};
  for (const char* s : none)
    if (!std::strcmp(s, t)) return 0;
  for (const char* s : one)
    if (!std::strcmp(s, t)) return 1;
  for (const char* s : two)
    if (!std::strcmp(s, t)) return 2;
  return 3;
}

void heading(RESULT_HEADINGS& h, int k, const char* l1, const char* l2) {
  put(h.LINE1[k], lead_of(l1), l1);
  put(h.LINE2[k], lead_of(l2), l2);
}

void unit(RESULT_HEADINGS& h, int k, const std::string& text) { put(h.UNITS[k], 0, text.c_str()); }

}  // namespace

void SET_RESULT_HEADINGS(RUN& run) {
  STORE& s = run.store;
  RESULT_HEADINGS& h = s.an.headings;
  for (int k = 0; k <= RESULT_COLUMNS; ++k) {
    put(h.LINE1[k], 0, "");
    put(h.LINE2[k], 0, "");
    put(h.UNITS[k], 0, "");
  }
  const std::string L(s.labels.LENGTH_LABEL, 2), F(s.labels.FORCE_LABEL, 3);
  const std::string length = "    " + L, force = "    " + F, moment = "  " + F + "-" + L,
                    per_length = "  " + F + "/" + L, stress = " " + F + "/" + L + "**2",
                    rigidity = " " + F + "-" + L + "**2";
  if (s.ctl.ANALYSIS_TYPE == 3) {
    static const char* const disp[] = {"x-DIR", "y-DIR", "z-DIR", "y-z-DIR", "X-DIR", "Y-DIR", "Z-DIR", "Y-Z-DIR"};
    for (int k = 1; k <= 8; ++k) {
      heading(h, k, "DISPL.", disp[k - 1]);
      unit(h, k, length);
    }
    heading(h, 9, "MOMENT", "z-DIR");
    heading(h, 10, "MOMENT", "y-DIR");
    heading(h, 11, "MOMENT", "y-z-DIR");
    heading(h, 12, "SHEAR", "y-DIR");
    heading(h, 13, "SHEAR", "z-DIR");
    heading(h, 14, "SHEAR", "y-z-DIR");
    heading(h, 15, "SOIL REACT", "y-DIR");
    heading(h, 16, "SOIL REACT", "z-DIR");
    heading(h, 17, "SOIL REACT", "y-z-DIR");
    heading(h, 18, "AXIAL F.", "x-DIR");
    heading(h, 19, "TOTAL", "STRESS");
    heading(h, 20, "FLEX. RIG.", "z-DIR");
    heading(h, 21, "FLEX. RIG.", "y-DIR");
    heading(h, 22, "DIST. LOAD", "y-DIR");
    heading(h, 23, "DIST. LOAD", "z-DIR");
    heading(h, 24, "DEM./CAP.", "MOMENT");
    heading(h, 25, "DEM./CAP.", "SHEAR");
    for (int k = 9; k <= 11; ++k) unit(h, k, moment);
    for (int k : {12, 13, 14, 18}) unit(h, k, force);
    for (int k : {15, 16, 17, 22, 23}) unit(h, k, per_length);
    unit(h, 19, stress);
    unit(h, 20, rigidity);
    unit(h, 21, rigidity);
  } else {
    heading(h, 1, "DISPL.", "x-DIR");
    heading(h, 2, "DISPL.", "y-DIR");
    heading(h, 5, "DISPL.", "X-DIR");
    heading(h, 6, "DISPL.", "Y-DIR");
    heading(h, 9, "BENDING", "MOMENT");
    heading(h, 12, "SHEAR", "FORCE");
    heading(h, 15, "SOIL", "REACTION");
    heading(h, 18, "AXIAL", "FORCE");
    heading(h, 19, "TOTAL", "STRESS");
    heading(h, 20, "FLEXURAL", "RIGIDITY");
    heading(h, 22, "DISTRIBUT.", "LOAD");
    heading(h, 24, "DEM./CAP.", "MOMENT");
    heading(h, 25, "DEM./CAP.", "SHEAR");
    for (int k : {1, 2, 5, 6}) unit(h, k, length);
    unit(h, 9, moment);
    unit(h, 12, force);
    unit(h, 18, force);
    unit(h, 15, per_length);
    unit(h, 22, per_length);
    unit(h, 19, stress);
    unit(h, 20, rigidity);
  }
  put(h.FIRST_REPORT[0], 5, "x");
  put(h.FIRST_REPORT[1], 0, "");
  put(h.FIRST_REPORT[2], 4, L.c_str());
  put(h.FIRST_REPORT[3], 0, "**********");
  auto put6 = [](char (&f)[7], const std::string& t) {
    std::memset(f, ' ', 6);
    f[6] = 0;
    for (std::size_t k = 0; k < t.size() && k < 6; ++k) f[k] = t[k];
  };
  put6(h.FIRST_SUMMARY[0], " PILE ");
  put6(h.FIRST_SUMMARY[1], "");
  put6(h.FIRST_SUMMARY[2], " x(" + L + ")");
  put6(h.FIRST_SUMMARY[3], "******");
}

void WRITE_HEADING_BLOCK(const RUN& run, FILE* f, bool summary, const int* select) {
  if (!f) return;
  const RESULT_HEADINGS& h = run.store.an.headings;
  END_LINE(f);
  for (int line = 0; line < 4; ++line) {
    WRITE_BLANKS(f, summary ? 3 : 2);
    std::fputs(summary ? h.FIRST_SUMMARY[line] : h.FIRST_REPORT[line], f);
    // Each column field as blank, 10 characters, blank: the pitch of the
    // width-12 numbers below it.
    for (int k = 1; k <= RESULT_COLUMNS; ++k) {
      if (select[k] <= 0) continue;
      WRITE_TEXT10(f, line == 0 ? h.LINE1[k] : line == 1 ? h.LINE2[k] : line == 2 ? h.UNITS[k] : "**********");
    }
    END_LINE(f);
  }
}

}  // namespace kestra
