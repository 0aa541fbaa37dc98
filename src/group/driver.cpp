#include "group/driver.h"

#include "soil/py_print.h"

namespace kestra {

// The cap solutions are not in the engine yet: after the input echo the
// driver prints the requested p-y curves (Table N) and ends the run.
int RUN_DRIVER(RUN& run) {
  return PY_REQUEST_OUTPUT(run);
}

}  // namespace kestra
