// panelhost serve through its own HTTP interface: the server runs in-process
// on a free loopback port and is asked what a browser would ask.
#include <gtest/gtest.h>
#include <httplib.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "serve/live_panel.h"
#include "serve/panel_server.h"

namespace {

constexpr uint32_t kBatteryToken = 364;
constexpr uint32_t kStarterEvent1 = 66127;

class Serve : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ostringstream warnings;
    panel_ = new host::serve::LivePanel(GAUGES_DIR, std::string(SOURCE_DIR) + "/panels/demo/panel.cfg", false, warnings);
    server_ = new host::serve::PanelServer(*panel_);
    port_ = server_->start(0);
    panel_->start();
  }
  static void TearDownTestSuite() {
    delete server_;
    delete panel_;
  }

  httplib::Client client() { return httplib::Client("127.0.0.1", port_); }
  int get(const std::string& path) {
    const auto answer = client().Get(path.c_str());
    return answer ? answer->status : -1;
  }
  int post(const std::string& path) {
    const auto answer = client().Post(path.c_str());
    return answer ? answer->status : -1;
  }
  // The first picture point of a gauge's rectangle, shifted by (dx, dy) picture pixels.
  static std::string at(const char* gauge, double dx, double dy) {
    for (const host::serve::GaugeInfo& g : panel_->gauges()) {
      if (g.name == gauge) return "x=" + std::to_string(g.rect.x + dx) + "&y=" + std::to_string(g.rect.y + dy);
    }
    ADD_FAILURE() << gauge << " is not shown";
    return "x=-1&y=-1";
  }
  static void wait_ticks(int count) {
    const uint64_t until = panel_->ticks() + uint64_t(count);
    while (panel_->ticks() < until) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  static inline host::serve::LivePanel* panel_ = nullptr;
  static inline host::serve::PanelServer* server_ = nullptr;
  static inline int port_ = 0;
};

TEST_F(Serve, ServesThePageFilesAndNothingElse) {
  for (const char* path : {"/", "/index.html", "/panel.js", "/panel.css"}) {
    const auto answer = client().Get(path);
    ASSERT_TRUE(answer) << path;
    EXPECT_EQ(answer->status, 200) << path;
    EXPECT_FALSE(answer->body.empty()) << path;
  }
  EXPECT_NE(client().Get("/")->body.find("/panel.js"), std::string::npos);
  EXPECT_EQ(client().Get("/panel.css")->get_header_value("Content-Type"), "text/css; charset=utf-8");

  for (const char* path : {"/nothing", "/../CMakeLists.txt", "/%2e%2e/CMakeLists.txt", "/%2E%2E/%2E%2E/etc/passwd",
                           "/panel.js/../index.html", "/host/serve/page/panel.js", "/api", "/api/state/x", "//panel.js"}) {
    EXPECT_EQ(get(path), 404) << path;
  }
}

TEST_F(Serve, AnswersBadRequestsWithTheirOwnStatus) {
  struct Case {
    const char* method;
    const char* path;
    int status;
  };
  const Case cases[] = {
      {"GET", "/api/tooltip?y=1", 400},             {"GET", "/api/tooltip?x=abc&y=1", 400},
      {"GET", "/api/tooltip?x=1&y=", 400},          {"GET", "/api/tooltip?x=1e400&y=1", 400},
      {"GET", "/api/tooltip?x=nan&y=1", 400},       {"GET", "/api/tooltip?x=12px&y=1", 400},
      {"GET", "/api/tooltip?x=1&y=5e7", 400},       {"POST", "/api/click?x=1&y=2&button=middle", 400},
      {"POST", "/api/press?x=1", 400},              {"POST", "/api/window?index=1.5&visible=1", 400},
      {"POST", "/api/window?index=1&visible=yes", 400}, {"POST", "/api/window?index=-1&visible=1", 400},
      {"POST", "/api/window?index=7&visible=1", 404}, {"POST", "/api/night", 400},
      {"GET", "/api/click?x=1&y=1", 405},           {"POST", "/", 405},
      {"POST", "/api/state", 405},                  {"GET", "/api/release", 405},
      {"GET", "/panel.png?after=-1", 400},          {"GET", "/panel.png?after=x", 400},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(c.method) == "GET" ? get(c.path) : post(c.path), c.status) << c.method << " " << c.path;
  }
  const auto wrong_method = client().Delete("/api/state");
  ASSERT_TRUE(wrong_method);
  EXPECT_EQ(wrong_method->status, 405);
  EXPECT_EQ(wrong_method->get_header_value("Allow"), "GET, HEAD");
  EXPECT_NE(client().Get("/api/tooltip?x=abc&y=1")->body.find("'x'"), std::string::npos) << "the answer names the parameter";
}

TEST_F(Serve, AClickAtAPicturePointFlipsTheBatterySwitch) {
  ASSERT_EQ(post("/api/window?index=1&visible=1"), 200);
  const double before = panel_->with_session([](host::Session& s) { return s.host().tokens().get(kBatteryToken); });
  const auto answer = client().Post(("/api/click?" + at("switchbank!battery", 20, 45)).c_str());
  ASSERT_TRUE(answer);
  EXPECT_NE(answer->body.find("\"gauge\":\"switchbank!battery\""), std::string::npos) << answer->body;
  EXPECT_NE(answer->body.find("\"answered\":true"), std::string::npos) << answer->body;
  wait_ticks(2);
  const double after = panel_->with_session([](host::Session& s) { return s.host().tokens().get(kBatteryToken); });
  EXPECT_NE(after, before);
  EXPECT_NE(client().Get("/api/state")->body.find("\"id\":66241"), std::string::npos) << "the click's key event is listed";
  EXPECT_EQ(post("/api/window?index=1&visible=0"), 200);
}

TEST_F(Serve, TheTooltipAtAFuelGaugeReadsGallons) {
  const auto answer = client().Get(("/api/tooltip?" + at("tankgauges!Left Tip", 50, 50)).c_str());
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 200);
  EXPECT_NE(answer->body.find("\"gauge_x\":151,\"gauge_y\":151"), std::string::npos) << "in the gauge's own pixels";
  EXPECT_NE(answer->body.find("Gallons"), std::string::npos) << answer->body;
  EXPECT_NE(client().Get("/api/tooltip?x=5&y=5")->body.find("\"gauge\":null"), std::string::npos);
}

TEST_F(Serve, AHeldStarterRepeatsUntilReleased) {
  ASSERT_EQ(post("/api/click?" + at("ignitionkeys!engine1", 20, 130)), 200);  // both magnetos on
  wait_ticks(2);
  ASSERT_EQ(post("/api/click?" + at("ignitionkeys!engine1", 60, 130)), 200);
  wait_ticks(2);
  ASSERT_EQ(post("/api/press?" + at("ignitionkeys!engine1", 40, 40)), 200);
  wait_ticks(4);
  ASSERT_EQ(post("/api/release"), 200);
  auto starts = [] {
    int n = 0;
    for (const auto& logged : panel_->recent_events()) n += logged.event.id == kStarterEvent1;
    return n;
  };
  const int held = starts();
  EXPECT_GE(held, 4);
  wait_ticks(3);
  EXPECT_EQ(starts(), held) << "nothing repeats after the release";
}

TEST_F(Serve, TheEventListKeepsTheNewestFirstAndStaysBounded) {
  for (int i = 0; i < 50; ++i) ASSERT_EQ(post("/api/click?" + at("switchbank!carb heat", 20, 45)), 200);
  const auto events = panel_->recent_events();
  ASSERT_EQ(events.size(), host::serve::LivePanel::kLoggedEvents);
  for (size_t i = 1; i < events.size(); ++i) EXPECT_GT(events[i - 1].serial, events[i].serial);
}

TEST_F(Serve, ThePictureIsAPngAndANewFrameOnlyWhenItChanges) {
  const auto picture = client().Get("/panel.png");
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->get_header_value("Content-Type"), "image/png");
  EXPECT_EQ(picture->body.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  // Hold the aircraft still (an earlier test may have started an engine, and a
  // running engine burns fuel every update) and let the needles come to rest:
  // then later updates draw the same pixels.
  panel_->with_session([](host::Session& s) { s.aircraft().go_static(); });
  uint64_t frame = panel_->frame().frame;
  for (int tries = 0; tries < 300; ++tries) {
    wait_ticks(2);
    const uint64_t now = panel_->frame().frame;
    if (now == frame) break;
    frame = now;
  }
  wait_ticks(2);
  EXPECT_EQ(panel_->frame().frame, frame) << "later updates, same pixels";
  EXPECT_EQ(get("/panel.png?after=" + std::to_string(frame)), 204) << "nothing new to send";
  EXPECT_EQ(get("/panel.png?after=" + std::to_string(frame - 1)), 200);
  panel_->set_night(true);
  EXPECT_GT(panel_->frame().frame, frame);
  panel_->set_night(false);
  panel_->with_session([](host::Session& s) { s.aircraft().go_live(); });
}

// Only the loopback interface listens: another address of this machine refuses.
TEST_F(Serve, ListensOnLoopbackOnly) {
  ifaddrs* addresses = nullptr;
  ASSERT_EQ(getifaddrs(&addresses), 0);
  std::string other;
  for (ifaddrs* a = addresses; a; a = a->ifa_next) {
    if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
    if ((ntohl(in->sin_addr.s_addr) >> 24) == 127) continue;
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
    other = text;
    break;
  }
  freeifaddrs(addresses);
  EXPECT_EQ(get("/api/state"), 200);
  host::serve::PanelServer second(*panel_);
  EXPECT_THROW(second.start(port_), std::runtime_error) << "a port in use is not shared";
  if (other.empty()) GTEST_SKIP() << "no address besides loopback";
  httplib::Client outside(other, port_);
  outside.set_connection_timeout(2);
  EXPECT_FALSE(outside.Get("/api/state")) << "answered on " << other;
}

}  // namespace
