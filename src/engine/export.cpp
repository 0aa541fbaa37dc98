// The exported entry point. It owns the only production run handle and lets
// no exception cross into the caller.
#include <memory>
#include <new>

#include "engine/ikestra.h"
#include "kestra.h"

extern "C" KESTRA_EXPORT int32_t IKESTRA(int32_t ANALYSIS_OPTION) {
  if (ANALYSIS_OPTION != 20) return 1;  // nothing else happens
  std::unique_ptr<kestra::RUN> run;
  try {
    run.reset(new kestra::RUN());
    return kestra::RUN_IKESTRA(*run, ANALYSIS_OPTION);
  } catch (...) {
    if (run) kestra::CLOSE_ALL(*run);
    return kestra::ST_INTERNAL;
  }
}
