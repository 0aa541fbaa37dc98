// The piles under the plate of a run: the plate's pile points talk to the
// pile-head response of the 3D group (forces on the cap and their tangent
// stiffness in global axes) and to the printing-pass flag of the pile
// solutions.
#include "engine/status.h"
#include "group/pile_head.h"
#include "slab/slab.h"

namespace kestra {

namespace {

bool VALID_PILE(const RUN& run, int pile) { return pile >= 1 && pile <= run.store.piles.NPILES; }

int LINK_STIFFNESS(void* ctx, int pile, const SLAB_VEC6& u, SLAB_MAT6& K) {
  RUN& run = *static_cast<RUN*>(ctx);
  K = {};
  // A pile point beyond the piles of the model has no pile to couple.
  if (!VALID_PILE(run, pile)) return ST_DECK_REFERENCE;
  VEC6 u1{};
  for (int k = 0; k < 6; ++k) u1[k + 1] = u[k];
  MAT6 K1{};
  const int st = PILE_HEAD_STIFFNESS(run, pile, u1, K1);
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) K[i][j] = K1[i + 1][j + 1];
  return st;
}

int LINK_RESPONSE(void* ctx, int pile, const SLAB_VEC6& u, SLAB_VEC6& F) {
  RUN& run = *static_cast<RUN*>(ctx);
  F = {};
  if (!VALID_PILE(run, pile)) return ST_DECK_REFERENCE;
  VEC6 u1{};
  for (int k = 0; k < 6; ++k) u1[k + 1] = u[k];
  VEC6 F1{};
  const int st = PILE_HEAD_RESPONSE(run, pile, u1, F1);
  for (int k = 0; k < 6; ++k) F[k] = F1[k + 1];
  return st;
}

void LINK_PRINT_PASS(void* ctx, int flag) { static_cast<RUN*>(ctx)->store.an.PASS_FLAG = flag; }

}  // namespace

SLAB_PILE_LINK SLAB_PILES_OF(RUN& run) {
  SLAB_PILE_LINK link;
  link.CTX = &run;
  link.STIFFNESS = LINK_STIFFNESS;
  link.RESPONSE = LINK_RESPONSE;
  link.SET_PRINT_PASS = LINK_PRINT_PASS;
  return link;
}

}  // namespace kestra
