// The curve data file: for every pile group its geometry and section values
// and, at the ends of equal segments along the pile, lumped force-deflection
// curves for the front end's graphs: lateral (p-y), axial (t-z, with the tip
// curve at the last station) and, in a three-dimensional analysis,
// torsional (torque-rotation). Each station curve sums the curves of the two
// half segments next to the station, each curve times its half-segment
// length, and is written mirrored to negative deflections.
//
// Records, text form (integers (3I10) unless stated, reals
// (1P,10X,6(1X,G15.8)), point records (1P,I10,2(1X,G15.8))):
//   file:       NPILES, ANALYSIS_TYPE, UNITS_SYSTEM
//   geometry:   g, S, 0 / pile length / head coordinates / direction
//               cosines of the pile axes (2D two records, 3D three) / per
//               segment s: (I10,F10.4) s and its midpoint, then its section
//               values (2D width, area, inertia, E; 3D width, area, Iz, Iy,
//               E, GJ)
//   stations:   g, S + 1, kind (1 p-y, 2 axial, 3 torsional); per station k:
//               (I10,F10.4) k and its coordinate, then the station record
//               (p-y: flag, points, SOIL_MODEL; axial and torsional: flag,
//               points) and its point records, numbered from 1.
//
// Binary form (CURVE_FILE_BINARY not 0): the same items in the same order,
// one record per text record, integers as 4-byte and reals as 8-byte values
// in the machine's byte order. Every record is framed as a sequential
// unformatted record: a 4-byte byte count of the items before and after
// them.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "engine/format.h"
#include "engine/run.h"
#include "pile/pile_work.h"
#include "soil/tz_curves.h"

namespace kestra {

// Where the records go: the open curve data file and its form.
struct CURVE_FILE_OUT {
  FILE* f = nullptr;
  bool binary = false;
};

// Writes one record: in text form by the format, in binary form as the
// framed items (ints 4 bytes, reals 8 bytes; texts are not allowed).
void CURVE_RECORD_V(const CURVE_FILE_OUT& out, std::string_view fmt, std::initializer_list<FARG> items);

// One station curve: up to 25 points (movement, force), 1-based, N points.
struct STATION_CURVE {
  int N = 0;
  std::array<double, MAX_CURVE_DEFL + 1> Y{};
  std::array<double, MAX_CURVE_DEFL + 1> P{};
};

// The sum of two half-segment curves of n points each. The curve whose n-th
// movement is the smaller (c on a tie) gives the movements; the other
// curve's force, interpolated linearly at each of them (the first point
// j >= 2 whose movement is >= u and the point before; the last segment
// extended beyond its end; the upper point's force where the two movements
// coincide), is added to its force.
void ADD_HALF_CURVES(const STATION_CURVE& a, const STATION_CURVE& c, int n, STATION_CURVE& sum);

// Working storage of the writers, allocated once per file.
struct CURVE_FILE_WORK {
  CURVE_FILE_OUT out;
  PILE_WORK pile;          // the one-node pile of the tabulated p-y curves
  TZ_PROFILE profile;      // the soil profile as the axial curves read it
  AXIAL_CURVES axial;      // the tip curve of the axial records
  STATION_CURVE A, B, C;   // station curve, lower half-segment curve, model curve
};

// The records of pile group g. Each returns the status (0, or the status of
// a failed curve generation, whose message has been written and stored).
int WRITE_PILE_GEOMETRY(RUN& run, CURVE_FILE_WORK& w, int g);
int WRITE_PY_STATIONS(RUN& run, CURVE_FILE_WORK& w, int g);
int WRITE_AXIAL_STATIONS(RUN& run, CURVE_FILE_WORK& w, int g);
int WRITE_TORSION_STATIONS(RUN& run, CURVE_FILE_WORK& w, int g);

// The whole curve data file, after the last load combination: when
// CURVE_FILE is 1 and the file is open, the first record, then for groups
// 1..NPILES the geometry, the p-y, the axial and (3D) the torsional
// records, with the p-y evaluation in its curve-file phase (PY_PHASE 1,
// PY_BUFFER on) and PY_PHASE 0 again afterwards. The loading of the last
// analysed case or combination is in effect. Returns the status: 0; the
// status of a failed curve generation; ST_DECK_RANGE for CURVE_FILE_MODE
// below 1 (no segments to lay out); ST_OUTPUT_FILE when the file could not
// be written.
int CURVE_DATA_FILE(RUN& run);

}  // namespace kestra
