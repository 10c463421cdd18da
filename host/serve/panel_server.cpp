#include "panel_server.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

#include "http_routes.h"
#include "live_panel.h"

namespace host::serve {

namespace {
constexpr const char* kLoopback = "127.0.0.1";
}

PanelServer::PanelServer(LivePanel& panel) : panel_(panel), server_(std::make_unique<httplib::Server>()) {
  add_routes(*server_, panel_);
  // SO_REUSEADDR alone: a restart may take its port back at once, but a port
  // another server is listening on stays refused (the default would share it).
  server_->set_socket_options([](socket_t socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  // A browser keeps connections open; a short wait lets stop() return promptly.
  server_->set_keep_alive_timeout(1);
}

PanelServer::~PanelServer() { stop(); }

int PanelServer::start(int port) {
  if (listener_.joinable()) throw std::runtime_error("the server is already running");
  const int bound = port == 0 ? server_->bind_to_any_port(kLoopback) : server_->bind_to_port(kLoopback, port) ? port : -1;
  if (bound <= 0) throw std::runtime_error("cannot listen on " + std::string(kLoopback) + ":" + std::to_string(port));
  port_ = bound;
  listener_done_ = false;
  listener_ = std::thread([this] {
    server_->listen_after_bind();
    listener_done_ = true;
  });
  // stop() only reaches a server that has begun listening.
  while (!server_->is_running() && !listener_done_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return port_;
}

void PanelServer::stop() {
  if (!listener_.joinable()) return;
  server_->stop();
  listener_.join();
}

std::string PanelServer::address() const { return "http://" + std::string(kLoopback) + ":" + std::to_string(port_) + "/"; }

}  // namespace host::serve
