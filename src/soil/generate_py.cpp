// Placeholder of the p-y evaluation until the soil models land: no soil
// resistance anywhere.
#include "soil/generate_py.h"

namespace kestra {

int GENERATE_PY(RUN&, PILE_WORK& w) {
  for (int m = 0; m <= w.N; ++m) {
    w.ESOIL[NODE(m)] = 0.0;
    w.PSOIL[NODE(m)] = 0.0;
    w.PMOVE[NODE(m)] = 0.0;
  }
  w.CAP_P = 0.0;
  return ST_OK;
}

void ASSIGN_LAYER_NODES(const RUN&, PILE_WORK& w) {
  w.NFIRST.fill(0);
  w.NLAST.fill(0);
}

void SOIL_MOVEMENT_Y(const RUN&, PILE_WORK& w) { w.SOIL_MOVE_Y.fill(0.0); }
void SOIL_MOVEMENT_Z(const RUN&, PILE_WORK& w) { w.SOIL_MOVE_Z.fill(0.0); }

}  // namespace kestra
