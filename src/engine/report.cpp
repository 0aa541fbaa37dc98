#include "engine/report.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/format.h"
#include "input/reader.h"

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace kestra {

namespace {
void copy_label(char* dst, const char* src, std::size_t n) {
  std::memcpy(dst, src, n);
  dst[n] = 0;
}
}  // namespace

void SET_UNIT_LABELS(STORE& s) {
  LABELS& l = s.labels;
  switch (s.ctl.UNITS_SYSTEM) {
    case 1:
      copy_label(l.LENGTH_LABEL, "IN", 2);
      copy_label(l.FORCE_LABEL, "LBS", 3);
      copy_label(l.LENGTH_LABEL3, " IN", 3);
      copy_label(l.FORCE_LABEL4, " LBS", 4);
      break;
    case 2:
      copy_label(l.LENGTH_LABEL, " M", 2);
      copy_label(l.FORCE_LABEL, " KN", 3);
      copy_label(l.LENGTH_LABEL3, "  M", 3);
      copy_label(l.FORCE_LABEL4, "  KN", 4);
      break;
    default:
      copy_label(l.LENGTH_LABEL, " L", 2);
      copy_label(l.FORCE_LABEL, "  F", 3);
      copy_label(l.LENGTH_LABEL3, "  L", 3);
      copy_label(l.FORCE_LABEL4, "   F", 4);
      break;
  }
  const char* name = s.ctl.UNITS_SYSTEM == 1 ? "ENGL" : s.ctl.UNITS_SYSTEM == 2 ? "METR"
                     : s.ctl.UNITS_SYSTEM == 3 ? "OPEN" : "    ";
  copy_label(l.UNITS_NAME, name, 4);
}

void WRITE_BANNER(FILE* f, std::string_view version) {
  if (!f) return;
  const std::string rule(73, '=');
  WRITE_F(f, "(5X,A)", rule);
  WRITE_F(f, "()");
  WRITE_F(f, "(20X,A,A12)", std::string(PROGRAM_TITLE) + ", Version ", version);
  WRITE_F(f, "(20X,A)", PROGRAM_SUBTITLE);
  WRITE_F(f, "()");
  WRITE_F(f, "(5X,A)", rule);
  WRITE_F(f, "(/)");
}

void WRITE_RUNTIME_BANNER(FILE* f, std::string_view version) {
  if (!f) return;
  WRITE_F(f, "()");
  WRITE_F(f, "(10X,A,A12)", std::string(PROGRAM_TITLE) + ", Version ", version);
  WRITE_F(f, "()");
}

const char* MONTH_NAME(int month) {
  static const char* const names[12] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
  return month >= 1 && month <= 12 ? names[month - 1] : nullptr;
}

void WRITE_DATE_BLOCK(FILE* f, const std::tm& clock) {
  if (!f) return;
  const std::string rule(73, '-');
  WRITE_F(f, "(5X,A)", rule);
  WRITE_F(f, "(26X,A)", "Time and Date of Analysis");
  WRITE_F(f, "(5X,A)", rule);
  WRITE_F(f, "()");
  const char* month = MONTH_NAME(clock.tm_mon + 1);
  if (!month) return;
  WRITE_F(f, "(15X,'Date:  ',A,1X,I2.2,', ',I4,5X,'Time:  ',I2.2,':',I2.2,':',I2.2)", month, clock.tm_mday,
          clock.tm_year + 1900, clock.tm_hour, clock.tm_min, clock.tm_sec);
}

void MAIN_HEADING(FILE* f, int empty, int indent, std::string_view title) {
  if (!f) return;
  for (int i = 0; i < empty; ++i) std::fputc('\n', f);
  WRITE_F(f, "(A,'*****',5X,A,5X,'*****')", std::string(indent > 0 ? indent : 0, ' '), title);
}

void TABLE_HEADING(FILE* f, std::string_view letter, std::string_view title) {
  if (!f) return;
  WRITE_F(f, "(//)");
  WRITE_F(f, "(5X,'* TABLE ',A,' *',A)", letter, title);
}

void NOTE_LINE(FILE* f, std::string_view text) {
  if (f) WRITE_F(f, "(5X,'NOTE: ',A)", text);
}

void WARNING_LINE(FILE* f, std::string_view text) {
  if (f) WRITE_F(f, "(5X,'** WARNING **  ',A)", text);
}

void WARNING_CENTRED(FILE* f) {
  if (f) WRITE_F(f, "(29X,'**** WARNING ****')");
}

void LOG_RUNTIME(RUN& run, std::string_view line) {
  FILE* f = run.files[F_RUNTIME];
  if (!f) return;
  std::fwrite(line.data(), 1, line.size(), f);
  std::fputc('\n', f);
}

void COMMIT_RUNTIME(RUN& run) {
  FILE* f = run.files[F_RUNTIME];
  if (!f) return;
  std::fflush(f);
#if defined(__unix__) || defined(__APPLE__)
  ::fsync(fileno(f));
#endif
}

void WARN_BOTH(RUN& run, std::string_view text) {
  WARNING_LINE(run.files[F_REPORT], text);
  WARNING_LINE(run.files[F_RUNTIME], text);
}

int FATAL(RUN& run, int status, std::string_view text) {
  FILE* rep = run.files[F_REPORT];
  if (rep) WRITE_F(rep, "(/,5X,'*** ERROR: ',A)", text);
  if (run.files[F_RUNTIME]) {
    WRITE_F(run.files[F_RUNTIME], "(5X,'*** ERROR: ',A)", text);
    COMMIT_RUNTIME(run);
  }
  std::fprintf(stderr, "kestra: %.*s\n", static_cast<int>(text.size()), text.data());
  run.status = status;
  return status;
}

void PROGRESS(RUN& run, std::string_view message) {
  const std::string& name = run.files.name[F_PROGRESS];
  if (name.empty()) return;
  FILE* f = std::fopen(name.c_str(), "w");
  if (!f) return;
  std::fwrite(message.data(), 1, message.size(), f);
  std::fputc('\n', f);
  std::fclose(f);
}

bool STOP_REQUESTED(RUN& run) {
  const std::string& name = run.files.name[F_STOP_REQUEST];
  if (name.empty()) return false;
  FILE* f = std::fopen(name.c_str(), "r");
  if (!f) return false;
  int value = 0;
  const bool ok = READ_FIRST_INT(f, value);
  std::fclose(f);
  if (ok && value == 1) {
    run.status = ST_STOPPED;
    return true;
  }
  return false;
}

}  // namespace kestra
