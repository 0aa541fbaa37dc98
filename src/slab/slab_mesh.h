// The regular mesh of eight-node quadrilaterals over a rectangular cap, as
// the slab generator numbers it: rows of elements along Z, NY elements per
// row; nodes row by row, a corner row of 2 NY + 1 nodes then a mid row of
// NY + 1 nodes, from the row at the largest Z downward.
#pragma once

#include <array>
#include <vector>

namespace kestra {

struct SLAB_MESH {
  int NY = 0, NZ = 0;
  std::vector<std::array<double, 2>> YZ;        // 1-based: global (Y, Z) of every node
  std::vector<std::array<int, 8>> ELEMENT;      // 1-based: the eight nodes, corners first
};

inline int SLAB_MESH_NODES(int ny, int nz) { return (2 * ny + 1) * (nz + 1) + (ny + 1) * nz; }

// Builds the mesh over Y in [yc - length/2, yc + length/2] and Z from
// ztop down to ztop - width.
void SLAB_BUILD_MESH(int ny, int nz, double yc, double length, double ztop, double width, SLAB_MESH& mesh);

}  // namespace kestra
