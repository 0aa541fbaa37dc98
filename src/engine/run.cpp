#include "engine/run.h"

#include <new>

namespace kestra {

void RUN_RESET(RUN& run) {
  // Rebuild in place: the store is several megabytes and must not pass
  // through the stack.
  run.~RUN();
  new (&run) RUN();
}

}  // namespace kestra
