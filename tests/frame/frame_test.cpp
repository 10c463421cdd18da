// The frame on its own, linked into a test in place of a module: the element
// walkers along short chains, the frame routines' arguments, and the lighting
// arithmetic on values a real module would never see.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "frame.h"
#include "lighting.h"

namespace {

extern GAUGEHDR first_gauge, second_gauge;
extern ELEMENT_STATIC_IMAGE middle, leaf;

ELEMENT_STATIC_IMAGE root = frame::static_image({.gauge = &first_gauge, .bitmap = 0x100, .child = frame::child_list<&middle>});
ELEMENT_STATIC_IMAGE middle = frame::static_image({.gauge = &first_gauge, .bitmap = 0x200, .child = frame::child_list<&leaf>});
ELEMENT_STATIC_IMAGE leaf = frame::static_image({.gauge = &first_gauge, .bitmap = 0x300});
ELEMENT_STATIC_IMAGE other_root = frame::static_image({.gauge = &second_gauge, .bitmap = 0x400});
const MOUSERECT no_mouse[] = {frame::end_of_list()};

GAUGEHDR first_gauge = frame::gauge({.name = "first", .width_mm = 80, .root = frame::root_list<&root>, .mouse = no_mouse});
GAUGEHDR second_gauge = frame::gauge({.name = "second", .width_mm = 80, .root = frame::root_list<&other_root>, .mouse = no_mouse});
GAUGEHDR* const gauges[] = {&first_gauge, &second_gauge, nullptr};

// A host that records what the frame hands it.
struct Call {
  std::string operation;
  ELEMENT_HEADER* root;
  uint32_t argument;
};
std::vector<Call> calls;
double lighting_value;

int32_t record(const char* operation, ELEMENT_HEADER* r, uint32_t argument = 0) {
  calls.push_back({operation, r, argument});
  return 1000 + static_cast<int32_t>(calls.size());
}
int32_t GAUGE_CALL on_query(ELEMENT_HEADER* r) { return record("query", r); }
int32_t GAUGE_CALL on_install(ELEMENT_HEADER* r, uint32_t a) { return record("install", r, a); }
int32_t GAUGE_CALL on_initialize(ELEMENT_HEADER* r) { return record("initialize", r); }
int32_t GAUGE_CALL on_update(ELEMENT_HEADER* r) { return record("update", r); }
int32_t GAUGE_CALL on_generate(ELEMENT_HEADER* r, uint32_t a) { return record("generate", r, a); }
int32_t GAUGE_CALL on_plot(ELEMENT_HEADER* r) { return record("draw", r); }
int32_t GAUGE_CALL on_kill(ELEMENT_HEADER* r) { return record("kill", r); }
uint32_t GAUGE_CALL on_register(const char*) { return 7; }
uint32_t GAUGE_CALL on_check(const char*) { return 7; }
double GAUGE_CALL on_get(uint32_t) { return lighting_value; }
void GAUGE_CALL on_set(uint32_t, double value) { lighting_value = value; }
int32_t GAUGE_CALL on_calculate(const char*, double*, int32_t*, const char**) { return 0; }
int32_t GAUGE_CALL on_key(uint32_t, uint32_t) { return 0; }
PANELS recording_host = {on_query, on_install, on_initialize, on_update, on_generate, on_plot, on_kill,
                         on_register, on_check, on_get, on_set, on_calculate, on_key};

class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    ImportTable.panels = &recording_host;
    calls.clear();
    for (ELEMENT_STATIC_IMAGE* e : {&root, &middle, &leaf}) e->header.image_flags = IMAGE_FLAGS_DECLARED;
  }
};

}  // namespace

extern "C" {
GAUGESLINKAGE Linkage = frame::linkage(gauges);
}

TEST_F(Frame, ElementAtDepthFollowsFirstChildren) {
  EXPECT_EQ(frame::element_at_depth(&root.header, 0), &root.header);
  EXPECT_EQ(frame::element_at_depth(&root.header, 1), &middle.header);
  EXPECT_EQ(frame::element_at_depth(&root.header, 2), &leaf.header);
  EXPECT_EQ(frame::element_at_depth(&root.header, 3), nullptr);  // beyond a chain of three
  EXPECT_EQ(frame::element_at_depth(&root.header, 40), nullptr);
  EXPECT_EQ(frame::element_at_depth(nullptr, 0), nullptr);
  EXPECT_EQ(frame::element_at_depth(nullptr, 2), nullptr);
}

TEST_F(Frame, FlagWalkersTouchOnlyTheElementAtTheirDepth) {
  frame::set_image_flags_at_depth(&root.header, 1, IMAGE_LUMINOUS);
  EXPECT_EQ(root.header.image_flags, 0x83u);
  EXPECT_EQ(middle.header.image_flags, 0x4083u);
  EXPECT_EQ(leaf.header.image_flags, 0x83u);
  frame::clear_image_flags_at_depth(&root.header, 1, IMAGE_LUMINOUS | 0x80);
  EXPECT_EQ(middle.header.image_flags, 0x03u);

  // Beyond the chain nothing changes anywhere.
  frame::set_image_flags_at_depth(&root.header, 3, 0xFFFFFFFFu);
  frame::clear_image_flags_at_depth(&root.header, 3, 0xFFFFFFFFu);
  frame::set_image_flags_at_depth(nullptr, 0, 0xFFFFFFFFu);
  EXPECT_EQ(root.header.image_flags, 0x83u);
  EXPECT_EQ(leaf.header.image_flags, 0x83u);
}

TEST_F(Frame, EveryRoutineOfEveryGaugeNamesTheFirstGaugesRootAndPassesResultsBack) {
  for (GAUGEHDR* gauge : {&first_gauge, &second_gauge}) {
    calls.clear();
    EXPECT_EQ(gauge->query(), 1001);
    EXPECT_EQ(gauge->install(0xDEADBEEF), 1002);
    EXPECT_EQ(gauge->initialize(), 1003);
    EXPECT_EQ(gauge->update(), 1004);
    EXPECT_EQ(gauge->generate(42), 1005);
    EXPECT_EQ(gauge->draw(), 1006);
    EXPECT_EQ(gauge->kill(), 1007);
    const std::vector<std::string> order = {"query", "install", "initialize", "update", "generate", "draw", "kill"};
    ASSERT_EQ(calls.size(), order.size());
    for (size_t i = 0; i < calls.size(); ++i) {
      EXPECT_EQ(calls[i].operation, order[i]);
      EXPECT_EQ(calls[i].root, &root.header) << order[i];
    }
    EXPECT_EQ(calls[1].argument, 0xDEADBEEFu);
    EXPECT_EQ(calls[4].argument, 42u);
  }
}

TEST_F(Frame, TruncationGivesTheX86ResultForValuesOutsideTheIntegerRange) {
  struct Case {
    double value;
    int32_t expected;
  } cases[] = {
      {0.0, 0}, {0.7, 0}, {-0.7, 0}, {1.5, 1}, {-1.5, -1}, {2147483647.9, INT32_MAX}, {-2147483648.9, INT32_MIN},
      {2147483648.0, INT32_MIN}, {1e300, INT32_MIN}, {-1e300, INT32_MIN},
      {std::numeric_limits<double>::infinity(), INT32_MIN}, {std::numeric_limits<double>::quiet_NaN(), INT32_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(frame::truncate_toward_zero(c.value), c.expected) << c.value;
}

TEST_F(Frame, LightingClickFlipsWithoutOverflowForAnyValue) {
  struct Case {
    double before, after;
  } cases[] = {
      {0.0, 1.0}, {1.0, 0.0}, {0.5, 1.0}, {1.5, 0.0}, {-3.0, 4.0},
      {std::numeric_limits<double>::quiet_NaN(), 2147483649.0},  // 1 - INT32_MIN
      {1e12, 2147483649.0},
  };
  for (const Case& c : cases) {
    lighting_value = c.before;
    EXPECT_EQ(frame::lighting_click(nullptr, 0), 0);
    EXPECT_EQ(lighting_value, c.after) << c.before;
  }
}
