#include "slab/slab_mesh.h"

namespace kestra {

void SLAB_BUILD_MESH(int ny, int nz, double yc, double length, double ztop, double width, SLAB_MESH& mesh) {
  mesh.NY = ny;
  mesh.NZ = nz;
  mesh.YZ.assign(1, {0.0, 0.0});
  mesh.ELEMENT.assign(1, {});
  if (ny < 1 || nz < 1) return;
  const int u = 3 * ny + 2;  // nodes of one corner row and one mid row
  for (int r = 1; r <= nz; ++r)
    for (int c = 1; c <= ny; ++c) {
      const int A = (r - 1) * u + 2 * (c - 1) + 1;
      const int C = (r - 1) * u + 2 * ny + 1 + c;
      mesh.ELEMENT.push_back({A, A + 2, A + u + 2, A + u, A + 1, C + 1, A + u + 1, C});
    }
  const double y0 = yc - length / 2.0;
  const double dz = width / (2.0 * nz);
  double z = ztop;
  for (int j = 1; j <= nz + 1; ++j) {
    for (int i = 0; i <= 2 * ny; ++i) mesh.YZ.push_back({y0 + i * length / (2.0 * ny), z});
    z -= dz;
    if (j <= nz) {
      for (int i = 0; i <= ny; ++i) mesh.YZ.push_back({y0 + i * length / ny, z});
      z -= dz;
    }
  }
}

}  // namespace kestra
