// The slab generator: the run list of the plate program, and the slab deck
// and keyword model file of the cap's plate (a regular mesh of eight-node
// quadrilaterals, the applied load at the origin and one pile point per
// pile).
//
// Plane coordinates of the deck: the plate's first axis is global Z and its
// second global Y, so a deck node, load or pile point carries (Z, Y) first.
// The six values of a deck load are in the plate's degrees of freedom
// (axes x = Z, y = Y, z = -X; SLAB_TO_GLOBAL). The keyword model file keeps global coordinates and components.
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/status.h"
#include "slab/plate_elements.h"
#include "slab/slab.h"
#include "slab/slab_mesh.h"

namespace kestra {

namespace {

constexpr const char* MODEL_NAME = "KESTRA5_FC";
constexpr const char* MODEL_TITLE = "TEST OF KESTRA5_FC";

std::string REPLACE_EXTENSION(const std::string& name, const char* ext) {
  const size_t slash = name.find_last_of("/\\:");
  const size_t dot = name.find_last_of('.');
  const bool has_ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (has_ext ? name.substr(0, dot) : name) + ext;
}

// A run-list line: the name padded with blanks to 75 characters (a longer
// name is written whole rather than cut).
void LIST_LINE75(FILE* f, const std::string& name) {
  std::fprintf(f, "%-75s\n", name.c_str());
}

double CLEAN(double v) { return std::fabs(v) < 1.0E-10 ? 0.0 : v; }

}  // namespace

std::string SLAB_DECK_NAME(const std::string& input_name) { return REPLACE_EXTENSION(input_name, ".slb"); }
std::string SLAB_KEYWORD_NAME(const std::string& runtime_name) { return REPLACE_EXTENSION(runtime_name, ".slk"); }

double SLAB_WIDTH(const STORE& s) {
  const auto& p = s.piles;
  return p.CAP_WIDTH_GIVEN > 0.0 ? p.CAP_WIDTH_GIVEN : p.CAP_WIDTH;
}

int SLAB_RUN_LIST(RUN& run) {
  FILE* f = std::fopen("gslab.dat", "w");
  if (!f) return FATAL(run, ST_OUTPUT_FILE, "CANNOT WRITE THE SLAB RUN LIST gslab.dat");
  const auto& n = run.files.name;
  LIST_LINE75(f, n[F_RUNTIME]);
  LIST_LINE75(f, SLAB_DECK_NAME(n[F_INPUT]));
  LIST_LINE75(f, n[F_REPORT]);
  LIST_LINE75(f, n[F_SUMMARY]);
  LIST_LINE75(f, n[F_PLOT]);
  const bool ok = std::ferror(f) == 0;
  if (std::fclose(f) != 0 || !ok) return FATAL(run, ST_OUTPUT_FILE, "CANNOT WRITE THE SLAB RUN LIST gslab.dat");
  return 0;
}

int SLAB_GENERATE(RUN& run) {
  const STORE& s = run.store;
  const CURRENT_CONTROLS& k = s.an.cur;
  const auto& p = s.piles;
  const int NY = p.SLAB_NY, NZ = p.SLAB_NZ;
  const double L = p.CAP_LENGTH, W = SLAB_WIDTH(s), t = p.CAP_THICKNESS;
  // Data that cannot form a plate would divide by zero in the mesh or make
  // the plate singular.
  if (NY < 1 || NZ < 1 || !(L > 0.0) || !(W > 0.0) || !(t > 0.0) || !(p.SLAB_E > 0.0) || !(p.SLAB_NU > -1.0) ||
      !(p.SLAB_NU < 1.0))
    return FATAL(run, ST_DECK_RANGE,
                 "FLEXIBLE CAP: THE PLATE NEEDS AT LEAST ONE ELEMENT EACH WAY, A POSITIVE LENGTH, WIDTH, THICKNESS "
                 "AND MODULUS, AND A POISSON'S RATIO BETWEEN -1 AND 1");
  int st = SLAB_RUN_LIST(run);
  if (st) return st;

  const std::string deck_name = SLAB_DECK_NAME(run.files.name[F_INPUT]);
  const std::string kw_name = SLAB_KEYWORD_NAME(run.files.name[F_RUNTIME]);
  FILE* D = std::fopen(deck_name.c_str(), "w");
  if (!D) return FATAL(run, ST_OUTPUT_FILE, "CANNOT WRITE THE SLAB DECK " + deck_name);
  FILE* K = std::fopen(kw_name.c_str(), "w");
  if (!K) {
    std::fclose(D);
    return FATAL(run, ST_OUTPUT_FILE, "CANNOT WRITE THE SLAB KEYWORD MODEL FILE " + kw_name);
  }
  auto kw_text = [&](const char* text) { WRITE_F(K, "(1X,A)", text); };

  const auto& EQ = s.loads.EQ_LOAD;
  const bool torsion = std::fabs(EQ[4]) > 1.0E-10;
  const int nclod = torsion ? 9 : 1;
  SLAB_MESH mesh;
  SLAB_BUILD_MESH(NY, NZ, p.SLAB_YC, L, W / 2.0 - p.SLAB_ZREF, W, mesh);
  const int npoin = SLAB_MESH_NODES(NY, NZ), nelem = NY * NZ;

  // 1-3: title, control record, time stepping.
  WRITE_F(D, "(1X,A)", MODEL_TITLE);
  kw_text(MODEL_NAME);
  kw_text("TITLE");
  kw_text(MODEL_TITLE);
  WRITE_F(D, "(20I8)", npoin, nelem, 1, 8, 2, 0, 0, 0, 0, 0, nclod, 0, 0, 0, p.NPILES, 1);
  const char* STEP_FORMAT = "(4F10.4,I10,E13.5)";
  WRITE_F(D, STEP_FORMAT, k.LOAD_INCREMENT, 0.0, 1.0, k.MIN_INCREMENT, k.MAXIT_CAP, k.TOL_CAP);

  // 4: elements.
  kw_text("ELEMENT_DATA");
  kw_text("QUAD8  REDUCED_INTEGRATION");
  for (int e = 1; e <= nelem; ++e) {
    const auto& n = mesh.ELEMENT[e];
    WRITE_F(D, "(20I8)", e, e, 1, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7]);
    WRITE_F(K, "('*',20I8)", e, 1, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7]);
  }
  kw_text("END_ELEMENT_DATA");

  // 5: nodes; the deck carries the plane coordinates (Z, Y) first.
  kw_text("NODE_DATA");
  for (int i = 1; i <= npoin; ++i) {
    const double Y = mesh.YZ[i][0], Z = mesh.YZ[i][1];
    WRITE_F(D, "(2I8,3F12.4)", i, i, Z, Y, 0.0);
    WRITE_F(K, "('*',I8,3F12.4)", i, 0.0, Y, Z);
  }
  kw_text("END_NODE_DATA");

  // 6: material.
  kw_text("MATERIAL_DATA");
  WRITE_F(D, "(I8,3E13.5)", 1, p.SLAB_E, p.SLAB_NU, t);
  WRITE_F(K, "('*','    ALL',3E13.5)", p.SLAB_E, p.SLAB_NU, t);
  kw_text("END_MATERIAL_DATA");

  // 7: the applied load at the origin (its moment about the vertical axis
  // follows as point loads). Deck values in the plate's degrees of freedom:
  // (F_Z, F_Y, -F_X, -M_Y, M_Z, 0).
  kw_text("CONCENTRATED_LOAD_DATA");
  const SLAB_VEC6 load = GLOBAL_TO_SLAB({EQ[1], EQ[2], EQ[3], 0.0, EQ[5], EQ[6]});
  WRITE_F(D, "(10E13.5)", 0.0, 0.0, load[0], load[1], load[2], load[3], load[4], load[5]);
  WRITE_F(K, "('*',10E13.5)", 0.0, 0.0, 0.0, EQ[1], EQ[2], EQ[3], 0.0, EQ[5], EQ[6]);

  // 8: the moment about X as eight tangential point loads of magnitude |F|
  // at distance a from the origin: together 8 a F = EQ_LOAD(4).
  if (torsion) {
    const double a = std::min(t, std::min(L, W));  // TORSION_ARM
    const double F = EQ[4] / (8.0 * a);
    const double c = a * std::sqrt(2.0) * 0.5, G = F * std::sqrt(2.0) * 0.5;
    const double pts[8][2] = {{a, 0}, {0, a}, {-a, 0}, {0, -a}, {c, c}, {-c, c}, {-c, -c}, {c, -c}};  // (Y, Z)
    const double frc[8][2] = {{0, F}, {-F, 0}, {0, -F}, {F, 0}, {-G, G}, {-G, -G}, {G, -G}, {G, G}};  // (F_Y, F_Z)
    for (int i = 0; i < 8; ++i) {
      const double Y = pts[i][0], Z = pts[i][1], FY = frc[i][0], FZ = frc[i][1];
      WRITE_F(D, "(10E13.5)", Z, Y, FZ, FY, 0.0, 0.0, 0.0, 0.0);
      WRITE_F(K, "('*',10E13.5)", 0.0, Y, Z, 0.0, FY, FZ, 0.0, 0.0, 0.0);
    }
  }
  kw_text("END_CONCENTRATED_LOAD_DATA");

  // 9: pile points. The deck's reader takes the plane coordinates (Z, Y);
  // the direction cosines and connection flags follow for other readers.
  kw_text("TOTAL_CONCENTRATED_STIFFNESS_DATA");
  for (int i = 1; i <= p.NPILES; ++i) {
    const double ca = CLEAN(std::fabs(std::cos(p.ALPHA[i])));
    const double cb = CLEAN(std::fabs(std::cos(p.BETA[i]) * std::cos(0.0)));
    const double sn = CLEAN(std::fabs(std::sin(0.0)));
    const double flag = p.CONNECTY[i] == 1 ? 0.0 : 1.0;
    WRITE_F(D, "(10E13.5)", p.PILE_Z[i], p.PILE_Y[i], p.PILE_X[i], ca, cb, sn, flag, flag, flag);
    WRITE_F(K, "('*',10E13.5)", p.PILE_X[i], p.PILE_Y[i], p.PILE_Z[i], ca, cb, sn, flag, flag, flag);
  }
  kw_text("END_TOTAL_CONCENTRATED_STIFFNESS_DATA");
  const bool deck_ok = std::ferror(D) == 0;
  const bool deck_closed = std::fclose(D) == 0;

  // 10: time stepping, end of the keyword file.
  kw_text("TIME_STEPPING_DATA");
  WRITE_F(K, STEP_FORMAT, k.LOAD_INCREMENT, 0.0, 1.0, k.MIN_INCREMENT, k.MAXIT_CAP, k.TOL_CAP);
  kw_text("END_TIME_STEPPING_DATA");
  kw_text("END_DATA");
  const bool kw_ok = std::ferror(K) == 0;
  const bool kw_closed = std::fclose(K) == 0;
  if (!deck_ok || !deck_closed) return FATAL(run, ST_OUTPUT_FILE, "CANNOT WRITE THE SLAB DECK " + deck_name);
  if (!kw_ok || !kw_closed) return FATAL(run, ST_OUTPUT_FILE, "CANNOT WRITE THE SLAB KEYWORD MODEL FILE " + kw_name);
  return 0;
}

}  // namespace kestra
