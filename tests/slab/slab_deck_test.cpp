// Slab deck reader: records, echo, control and mesh checks, point location.
#include <gtest/gtest.h>

#include <memory>

#include "engine/status.h"
#include "slab/slab_deck.h"
#include "slab/slab_mesh.h"
#include "slab_test_util.h"

using namespace kestra;
using slab_test::file_text;
using slab_test::text_file;

namespace {

struct READ_RESULT {
  int status = 0;
  std::string listing;
  std::unique_ptr<SLAB_MODEL> m = std::make_unique<SLAB_MODEL>();
};

READ_RESULT read_deck(const std::string& text) {
  READ_RESULT r;
  FILE* deck = text_file(text);
  FILE* listing = std::tmpfile();
  SLAB_FILES f;
  f.LISTING = listing;
  r.status = READ_SLAB_FILE(deck, "test.dat", *r.m, f);
  r.listing = file_text(listing);
  std::fclose(deck);
  std::fclose(listing);
  return r;
}

// Mesh of NY x NZ eight-node elements over a 4 x 2 cap centred on Y = 0,
// Z from 1 down to -1.
std::string generated_deck(int ny, int nz, const std::string& tail, slab_test::DECK_COUNTS c = {}) {
  SLAB_MESH mesh;
  SLAB_BUILD_MESH(ny, nz, 0.0, 4.0, 1.0, 2.0, mesh);
  return slab_test::mesh_deck_head(mesh, c) + "1 3.0E7 0.2 0.5\n" + tail;
}

}  // namespace

TEST(SlabDeck, GeneratedMeshReadWithPointsLocated) {
  // 2 x 1 elements: element 1 spans Y -2..0, element 2 spans Y 0..2; the
  // plane coordinates are (Z, Y).
  slab_test::DECK_COUNTS c;
  c.nclod = 1;
  c.nctsti = 3;
  c.kpile = 1;
  const std::string tail =
      "0.0 0.0  1 2 3 4 5 6\n"  // on the edge shared by both elements
      "0.5 1.0\n"               // inside element 2
      "-0.5 -1.5\n"             // inside element 1
      "0.0 7.0\n";              // outside the plate
  auto r = read_deck(generated_deck(2, 1, tail, c));
  ASSERT_EQ(r.status, 0) << r.listing;
  const SLAB_MODEL& m = *r.m;
  EXPECT_EQ(m.NPOIN, 13);
  EXPECT_EQ(m.NELEM, 2);
  EXPECT_EQ(m.NEVAB, 48);
  EXPECT_EQ(m.node(2, 1), 3);
  EXPECT_EQ(m.node(2, 3), 13);
  EXPECT_DOUBLE_EQ(m.PROPS[1][0], 3.0E7);
  ASSERT_EQ(m.CONC_LOAD.size(), 1u);
  EXPECT_EQ(m.CONC_LOAD[0].ELEM, 1);
  EXPECT_DOUBLE_EQ(m.CONC_LOAD[0].V[5], 6.0);
  // The generated elements run xi along Y and eta against Z.
  EXPECT_NEAR(m.CONC_LOAD[0].XI, 1.0, 1e-12);
  EXPECT_NEAR(m.CONC_LOAD[0].ETA, 0.0, 1e-12);
  ASSERT_EQ(m.PILE_POINT.size(), 3u);
  EXPECT_EQ(m.PILE_POINT[0].ELEM, 2);
  EXPECT_NEAR(m.PILE_POINT[0].XI, 0.0, 1e-12);
  EXPECT_NEAR(m.PILE_POINT[0].ETA, -0.5, 1e-12);
  EXPECT_EQ(m.PILE_POINT[1].ELEM, 1);
  EXPECT_NEAR(m.PILE_POINT[1].XI, -0.5, 1e-12);
  EXPECT_NEAR(m.PILE_POINT[1].ETA, 0.5, 1e-12);
  EXPECT_EQ(m.PILE_POINT[2].ELEM, 0);
  EXPECT_DOUBLE_EQ(m.PILE_POINT[2].Y, 7.0);
  EXPECT_EQ(m.FRONT_SIZE, 60);
  EXPECT_NE(r.listing.find(" NPOIN =  13     NELEM =   2     NVFIX =   0"), std::string::npos) << r.listing;
  EXPECT_NE(r.listing.find(" ELEMENT   PROPERTY      NODE NUMBERS"), std::string::npos);
  EXPECT_NE(r.listing.find("       2       1       3       5      13      11       4       8      12       7"),
            std::string::npos);
  EXPECT_NE(r.listing.find("CONCENTRATED TOTAL STIFFNESSES"), std::string::npos);
  EXPECT_NE(r.listing.find(" MAXIMUM FRONTWIDTH ENCOUNTERED ="), std::string::npos);
  EXPECT_EQ(r.listing.find("DIAGNOSIS"), std::string::npos);
}

TEST(SlabDeck, ElementTypesWithoutShapeFunctionsStopAfterCheck1) {
  // 10 is beyond the element types; 5 lies in the range but has no shape
  // functions and would be integrated with those of another element.
  for (int nnode : {10, 5}) {
    SCOPED_TRACE(nnode);
    char control[64];
    std::snprintf(control, sizeof control, "4 1 1 %d 2 0 0 0 0 0 0 0 0 0 0 0\n", nnode);
    std::string deck = "T\n";
    deck.append(control).append("1.0 0.0 1.0 0.1 10 1E-4\n1 1 1 1 2 3 4\nNEXT CARD\n");
    auto r = read_deck(deck);
    EXPECT_EQ(r.status, ST_SLAB_STOP);
    EXPECT_NE(r.listing.find(" *** DIAGNOSIS BY CHECK1, ERROR  6"), std::string::npos) << r.listing;
    const auto post = r.listing.find(" NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS");
    ASSERT_NE(post, std::string::npos);
    EXPECT_NE(r.listing.find("     1 1 1 1 2 3 4", post), std::string::npos);
    EXPECT_NE(r.listing.find("     NEXT CARD", post), std::string::npos);
    EXPECT_EQ(r.listing.find("ELEMENT   PROPERTY"), std::string::npos);  // nothing read past the check
  }
}

TEST(SlabDeck, Check1FlagsEveryFailedControlValue) {
  // NPOIN 0, NMATS 0 (errors 1 and 8), NGAUS 4 (error 10).
  auto r = read_deck("T\n0 1 0 4 4 0 0 0 0 0 0 0 0 0 0 0\n1.0 0.0 1.0 0.1 10 1E-4\n");
  EXPECT_EQ(r.status, ST_SLAB_STOP);
  const auto e1 = r.listing.find("CHECK1, ERROR  1");
  const auto e8 = r.listing.find("CHECK1, ERROR  8");
  const auto e10 = r.listing.find("CHECK1, ERROR 10");
  ASSERT_NE(e1, std::string::npos);
  ASSERT_NE(e8, std::string::npos);
  ASSERT_NE(e10, std::string::npos);
  EXPECT_LT(e1, e8);
  EXPECT_LT(e8, e10);
  EXPECT_EQ(r.listing.find("CHECK1, ERROR  6"), std::string::npos);
}

TEST(SlabDeck, UnusedNodeIsReportedAndStops) {
  // Five nodes, two elements on the same four: node 5 appears in no element; its
  // coordinates are not zero and it is restrained (errors 18, 19, 20).
  const std::string deck =
      "T\n5 2 1 4 2 1 0 0 0 0 0 0 0 0 0 0\n1.0 0.0 1.0 0.1 10 1E-4\n"
      "1 1 1 1 2 3 4\n2 2 1 1 2 3 4\n"
      "1 1 0 0\n2 2 1 0\n3 3 1 1\n4 4 0 1\n5 5 3 3\n"
      "5 0 0 1 0 0 0  0 0 0 0 0 0\n"
      "1 3.0E7 0.2 0.5\n";
  auto r = read_deck(deck);
  EXPECT_EQ(r.status, ST_SLAB_STOP);
  EXPECT_NE(r.listing.find(" CHECK WHY NODE   5 NEVER APPEARS"), std::string::npos) << r.listing;
  for (const char* e : {"CHECK2, ERROR 18       ASSOCIATED NUMBER    1", "CHECK2, ERROR 19       ASSOCIATED NUMBER    1",
                        "CHECK2, ERROR 20       ASSOCIATED NUMBER    1"})
    EXPECT_NE(r.listing.find(e), std::string::npos) << e;
  EXPECT_NE(r.listing.find("POST-DISASTER"), std::string::npos);
}

TEST(SlabDeck, Check2CountsConnectivityAndRestraintFaults) {
  // Element 1 repeats node 2 and refers to node 9 (> NPOIN);
  // material 2 does not exist; node 6 is restrained twice, once with no
  // code, and node 7 does not exist.
  const std::string deck =
      "T\n6 2 1 4 2 3 0 0 0 0 0 0 0 0 0 0\n1.0 0.0 1.0 0.1 10 1E-4\n"
      "1 1 2 1 2 2 9\n"
      "2 2 1 3 4 5 6\n"
      "1 1 0 0\n2 2 1 0\n3 3 1 1\n4 4 0 1\n5 5 2 1\n6 6 2 0\n"
      "6 0 0 1 0 0 0  0 0 0 0 0 0\n"
      "6 0 0 0 0 0 0  0 0 0 0 0 0\n"
      "7 1 1 1 1 1 1  0 0 0 0 0 0\n"
      "1 3.0E7 0.2 0.5\n";
  auto r = read_deck(deck);
  EXPECT_EQ(r.status, ST_SLAB_STOP);
  for (const char* e : {"ERROR 14       ASSOCIATED NUMBER    1", "ERROR 16       ASSOCIATED NUMBER    1",
                        "ERROR 17       ASSOCIATED NUMBER    1", "ERROR 22       ASSOCIATED NUMBER    1",
                        "ERROR 23       ASSOCIATED NUMBER    1", "ERROR 24       ASSOCIATED NUMBER    1"})
    EXPECT_NE(r.listing.find(e), std::string::npos) << e << "\n" << r.listing;
  EXPECT_EQ(r.listing.find("ERROR 18"), std::string::npos);
}

TEST(SlabDeck, FrontWidthRaisesFrontSize) {
  // A mesh of four-node elements, NY columns and two rows, nodes and
  // elements numbered row by row: the front holds NY + 3 nodes at most.
  // A front wider than the solver can hold is refused (error 21).
  struct CASE {
    int ny, width, front;
    bool refused;
  } cases[] = {{2, 30, 60, false}, {7, 60, 60, false}, {8, 66, 67, false}, {11, 84, 85, false}, {600, 3618, 60, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ny);
    SLAB_MODEL m;
    m.NNODE = 4;
    m.NELEM = 2 * c.ny;
    m.NPOIN = 3 * (c.ny + 1);
    m.NMATS = 1;
    m.COORD.assign(m.NPOIN + 1, {0, 0});
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i <= c.ny; ++i) m.COORD[j * (c.ny + 1) + i + 1] = {double(i), double(j)};
    m.MATNO.assign(m.NELEM + 1, 1);
    m.NODE_FIRST.assign(m.NPOIN + 1, 0);
    m.NODE_LAST.assign(m.NPOIN + 1, 0);
    for (int r = 0; r < 2; ++r)
      for (int i = 0; i < c.ny; ++i) {
        const int a = r * (c.ny + 1) + i + 1;
        for (int n : {a, a + 1, a + c.ny + 2, a + c.ny + 1}) m.LNODS.push_back(n);
      }
    FILE* listing = std::tmpfile();
    SLAB_FILES f;
    f.LISTING = listing;
    EXPECT_EQ(CHECK2(m, f), c.refused);
    EXPECT_EQ(FRONT_WIDTH(m), c.width);
    EXPECT_EQ(m.FRONT_SIZE, c.front);
    char expect[64];
    std::snprintf(expect, sizeof expect, " MAXIMUM FRONTWIDTH ENCOUNTERED =%5d", c.width);
    const std::string text = file_text(listing);
    EXPECT_NE(text.find(expect), std::string::npos);
    EXPECT_EQ(text.find("CHECK2, ERROR 21") != std::string::npos, c.refused);
    std::fclose(listing);
  }
}

TEST(SlabDeck, NodesInAnyOrderUntilTheLastIndex) {
  // Nodes 3, 1, 2, 4: reading stops at index 4 (= NPOIN), so the record that
  // follows is the material record.
  const std::string deck =
      "T\n4 1 1 4 2 0 0 0 0 0 0 0 0 0 0 0\n1.0 0.0 1.0 0.1 10 1E-4\n"
      "1 7 1 1 2 3 4\n"
      "3 30 2 1\n1 10 0 0\n2 20 2 0\n4 40 0 1\n"
      "1 3.0E7 0.2 0.5\n";
  auto r = read_deck(deck);
  ASSERT_EQ(r.status, 0) << r.listing;
  EXPECT_EQ(r.m->NODE_LABEL[3], 30);
  EXPECT_DOUBLE_EQ(r.m->COORD[3][0], 2.0);
  EXPECT_DOUBLE_EQ(r.m->COORD[3][1], 1.0);
  EXPECT_DOUBLE_EQ(r.m->PROPS[1][2], 0.5);
  EXPECT_NE(r.listing.find("       30       2.0000       1.0000"), std::string::npos) << r.listing;
}

TEST(SlabDeck, DeckFaultsEndWithAMessage) {
  struct CASE {
    const char* id;
    std::string deck;
    int status;
    const char* text;
  } cases[] = {
      {"ends in the nodes", "T\n4 1 1 4 2 0 0 0 0 0 0 0 0 0 0 0\n1.0 0.0 1.0 0.1 10 1E-4\n1 1 1 1 2 3 4\n1 1 0 0\n",
       ST_DECK_END, "SLAB DECK NODES"},
      {"text for a number", "T\n4 1 1 4 2 0 0 0 0 0 0 0 0 0 0 0\n1.0 0.0 x 0.1 10 1E-4\n", ST_DECK_KIND, "TEND"},
      {"node index beyond NPOIN",
       "T\n4 1 1 4 2 0 0 0 0 0 0 0 0 0 0 0\n1.0 0.0 1.0 0.1 10 1E-4\n1 1 1 1 2 3 4\n9 1 0 0\n", ST_DECK_RANGE,
       "node index out of range"},
      {"element index beyond NELEM", "T\n4 1 1 4 2 0 0 0 0 0 0 0 0 0 0 0\n1.0 0.0 1.0 0.1 10 1E-4\n2 1 1 1 2 3 4\n",
       ST_DECK_RANGE, "element index out of range"},
      {"nodal load on a missing node",
       "T\n4 1 1 4 2 0 1 0 0 0 0 0 0 0 0 0\n1.0 0.0 1.0 0.1 10 1E-4\n1 1 1 1 2 3 4\n"
       "1 1 0 0\n2 2 1 0\n3 3 1 1\n4 4 0 1\n1 3E7 0.2 0.5\n5 0 0 1 0 0 0\n",
       ST_DECK_RANGE, "node number out of range"},
      {"Poisson's ratio of 1",
       "T\n4 1 1 4 2 0 0 0 0 0 0 0 0 0 0 0\n1.0 0.0 1.0 0.1 10 1E-4\n1 1 1 1 2 3 4\n"
       "1 1 0 0\n2 2 1 0\n3 3 1 1\n4 4 0 1\n1 3E7 1.0 0.5\n",
       ST_DECK_RANGE, "Poisson"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    auto r = read_deck(c.deck);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.listing.find("*** SLAB DECK ERROR"), std::string::npos) << r.listing;
    EXPECT_NE(r.listing.find(c.text), std::string::npos) << r.listing;
  }
}

TEST(SlabDeck, PointLocationOnDistortedAndTurnedElements) {
  // One four-node element with a distorted shape; its mapping is bilinear,
  // so a point given by its natural coordinates is found at them.
  SLAB_MODEL m;
  m.NNODE = 4;
  m.NELEM = 1;
  m.NPOIN = 4;
  m.COORD = {{0, 0}, {0, 0}, {4, 0.5}, {3.5, 3}, {-0.5, 2.5}};
  m.LNODS = {1, 2, 3, 4};
  auto map = [&](double xi, double eta, double& x, double& y) {
    const double n[4] = {0.25 * (1 - xi) * (1 - eta), 0.25 * (1 + xi) * (1 - eta), 0.25 * (1 + xi) * (1 + eta),
                         0.25 * (1 - xi) * (1 + eta)};
    x = y = 0;
    for (int a = 0; a < 4; ++a) {
      x += n[a] * m.COORD[a + 1][0];
      y += n[a] * m.COORD[a + 1][1];
    }
  };
  struct CASE {
    double xi, eta;
    bool inside;
  } cases[] = {{0.3, -0.7, true}, {1.0, 0.2, true}, {-1.0, -1.0, true}, {1.2, 0.0, false}, {0.0, -1.5, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.xi << "," << c.eta);
    double x, y, xi = 9, eta = 9;
    map(c.xi, c.eta, x, y);
    EXPECT_EQ(LOCATE_IN_ELEMENT(m, 1, x, y, xi, eta), c.inside);
    if (c.inside) {
      EXPECT_NEAR(xi, c.xi, 1e-9);
      EXPECT_NEAR(eta, c.eta, 1e-9);
    }
  }
  // The same square with its natural axes a quarter turn from the plane
  // axes (x depends on eta only).
  m.COORD = {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}};
  double xi, eta;
  ASSERT_TRUE(LOCATE_IN_ELEMENT(m, 1, 1.5, 0.5, xi, eta));
  EXPECT_NEAR(xi, -0.5, 1e-12);
  EXPECT_NEAR(eta, -0.5, 1e-12);
}

TEST(SlabDeck, EveryTruncationEndsWithAStatus) {
  // A deck with every kind of record, cut after each of its lines: the
  // reader reports the early end instead of reading past it.
  auto m = slab_test::square_plate(2, 4.0, 0.5, slab_test::SIMPLY_SUPPORTED);
  slab_test::uniform_load(*m, 1.0);
  m->NODAL_LOAD.push_back({3, {0, 0, 1, 0, 0, 0}});
  m->NODAL_STIFF.push_back({4, {1, 1, 1, 1, 1, 1}});
  m->DIST_STIFF.push_back({2, {0, 0, 5, 0, 0, 0}});
  SLAB_POINT p;
  p.X = 0.5;
  p.Y = -0.5;
  p.V[2] = 2.0;
  m->CONC_LOAD.push_back(p);
  m->CONC_STIFF.push_back(p);
  m->PILE_POINT.push_back(p);
  m->EDGE_LOAD.push_back({1, 2, 3, {1, 1, 1}});
  m->EDGE_STIFF.push_back({1, 1, 3, {1, 2, 3}});
  m->KPILE = 1;
  m->DT = 1.0;
  m->TEND = 1.0;
  m->DTMIN = 0.1;
  m->MAXITER = 5;
  m->TOLER = 1e-6;
  const std::string deck = slab_test::model_deck(*m);
  const auto lines = slab_test::lines_of(deck);
  auto full = read_deck(deck);
  ASSERT_EQ(full.status, 0) << full.listing;
  EXPECT_EQ(full.m->EDGE_STIFF[0].V[2], 3.0);
  EXPECT_EQ(full.m->PILE_POINT[0].ELEM, full.m->CONC_LOAD[0].ELEM);
  for (const char* echo : {" NODAL LOADS\n    NODE,           VALUES\n", " DISTRIBUTED STIFFNESSES\n  ELEMENT           VALUES\n",
                           " CONCENTRATED LOADS\n     X        Y            VALUES\n     0.5000   -0.5000    0.00000E+00",
                           " EDGE STIFFNESS\n   ELEM    SIDE    DOF             VALUES\n       1       1       3",
                           " CONCENTRATED TOTAL STIFFNESSES\n       X          Y \n     0.5000   -0.5000"})
    EXPECT_NE(full.listing.find(echo), std::string::npos) << echo;
  std::string prefix;
  for (size_t n = 0; n < lines.size(); ++n) {
    SCOPED_TRACE(n);
    auto r = read_deck(prefix);
    EXPECT_EQ(r.status, ST_DECK_END) << r.listing;
    prefix += lines[n] + "\n";
  }
}
