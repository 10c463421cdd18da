// The HTTP server of `panelhost serve`: listens on the loopback interface only
// and answers on a thread pool of its own while the panel runs.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace host::serve {

class LivePanel;

class PanelServer {
 public:
  explicit PanelServer(LivePanel& panel);
  ~PanelServer();
  PanelServer(const PanelServer&) = delete;
  PanelServer& operator=(const PanelServer&) = delete;

  // Binds 127.0.0.1:port (0: a free port) and starts answering. Returns the
  // port bound; throws std::runtime_error when it cannot bind.
  int start(int port);
  void stop();
  std::string address() const;  // http://127.0.0.1:PORT/

 private:
  LivePanel& panel_;
  std::unique_ptr<httplib::Server> server_;
  std::thread listener_;
  std::atomic<bool> listener_done_ = false;
  int port_ = 0;
};

}  // namespace host::serve
