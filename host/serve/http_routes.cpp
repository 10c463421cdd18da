#include "http_routes.h"

#include <httplib.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "aircraft_model.h"
#include "json_text.h"
#include "live_panel.h"
#include "page_files.h"

namespace host::serve {

namespace {

struct Route {
  const char* path;
  const char* method;
};

constexpr Route kApiRoutes[] = {
    {"/panel.png", "GET"},     {"/api/state", "GET"},   {"/api/layout", "GET"},   {"/api/tooltip", "GET"},
    {"/api/click", "POST"},    {"/api/press", "POST"},  {"/api/release", "POST"}, {"/api/window", "POST"},
    {"/api/night", "POST"},
};

void answer_error(httplib::Response& response, int status, const std::string& message) {
  response.status = status;
  response.set_content(message + "\n", "text/plain; charset=utf-8");
}

// Thrown by the parameter readers; becomes a 400 naming the parameter.
struct BadRequest {
  std::string message;
};

double number_parameter(const httplib::Request& request, const char* name, double low, double high) {
  if (!request.has_param(name)) throw BadRequest{std::string("missing parameter '") + name + "'"};
  const std::string text = request.get_param_value(name);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value)) {
    throw BadRequest{std::string("parameter '") + name + "' is not a number: '" + text + "'"};
  }
  if (value < low || value > high) {
    throw BadRequest{std::string("parameter '") + name + "' is out of range: " + text};
  }
  return value;
}

bool flag_parameter(const httplib::Request& request, const char* name) {
  if (!request.has_param(name)) throw BadRequest{std::string("missing parameter '") + name + "'"};
  const std::string text = request.get_param_value(name);
  if (text == "1" || text == "true") return true;
  if (text == "0" || text == "false") return false;
  throw BadRequest{std::string("parameter '") + name + "' must be 0 or 1: '" + text + "'"};
}

// Pointer positions: picture pixels, with room for a pointer a little outside.
constexpr double kFarthest = 1e6;

std::string pointer_json(const PointerResult& result) {
  std::string json = "{\"gauge\":" + (result.gauge ? json_string(*result.gauge) : std::string("null"));
  if (result.gauge) {
    json += ",\"gauge_x\":" + std::to_string(result.gauge_x) + ",\"gauge_y\":" + std::to_string(result.gauge_y);
  }
  json += ",\"answered\":" + std::string(result.answered ? "true" : "false");
  json += ",\"tooltip\":" + json_string(result.tooltip) + "}";
  return json;
}

std::string state_json(LivePanel& panel) {
  const Frame frame = panel.frame();
  std::string json = "{\"frame\":" + std::to_string(frame.frame) + ",\"width\":" + std::to_string(frame.width) +
                     ",\"height\":" + std::to_string(frame.height) + ",\"ticks\":" + std::to_string(panel.ticks()) +
                     ",\"night\":" + (panel.night() ? "true" : "false") + ",\"windows\":[";
  const char* separator = "";
  for (const WindowInfo& window : panel.windows()) {
    json += separator;
    json += "{\"index\":" + std::to_string(window.index) + ",\"title\":" + json_string(window.title) +
            ",\"visible\":" + (window.visible ? "true" : "false") + "}";
    separator = ",";
  }
  json += "],\"events\":[";
  separator = "";
  for (const LoggedEvent& logged : panel.recent_events()) {
    json += separator;
    json += "{\"serial\":" + std::to_string(logged.serial) + ",\"id\":" + std::to_string(logged.event.id) +
            ",\"value\":" + std::to_string(logged.event.value) +
            ",\"what\":" + json_string(AircraftModel::describe(logged.event)) + "}";
    separator = ",";
  }
  return json + "]}";
}

std::string layout_json(LivePanel& panel) {
  std::string json = "{\"gauges\":[";
  const char* separator = "";
  for (const GaugeInfo& g : panel.gauges()) {
    json += separator;
    json += "{\"name\":" + json_string(g.name) + ",\"window\":" + std::to_string(g.window) +
            ",\"x\":" + std::to_string(g.rect.x) + ",\"y\":" + std::to_string(g.rect.y) +
            ",\"width\":" + std::to_string(g.rect.width) + ",\"height\":" + std::to_string(g.rect.height) +
            ",\"native_width\":" + std::to_string(g.native_width) +
            ",\"native_height\":" + std::to_string(g.native_height) + "}";
    separator = ",";
  }
  return json + "]}";
}

// Wraps a handler so a bad parameter answers 400 and nothing escapes into the server.
template <typename Handler>
httplib::Server::Handler guarded(Handler handler) {
  return [handler](const httplib::Request& request, httplib::Response& response) {
    try {
      handler(request, response);
    } catch (const BadRequest& bad) {
      answer_error(response, 400, bad.message);
    } catch (const std::exception& e) {
      answer_error(response, 500, e.what());
    }
  };
}

void send_json(httplib::Response& response, const std::string& json) {
  response.set_header("Cache-Control", "no-store");
  response.set_content(json, "application/json");
}

}  // namespace

void add_routes(httplib::Server& server, LivePanel& panel) {
  // Unknown paths and wrong methods are answered before any handler runs.
  server.set_pre_routing_handler([](const httplib::Request& request, httplib::Response& response) {
    const bool is_get = request.method == "GET" || request.method == "HEAD";
    if (find_page_file(request.path)) {
      if (is_get) return httplib::Server::HandlerResponse::Unhandled;
      response.set_header("Allow", "GET, HEAD");
      answer_error(response, 405, request.method + " is not allowed on " + request.path);
      return httplib::Server::HandlerResponse::Handled;
    }
    for (const Route& route : kApiRoutes) {
      if (request.path != route.path) continue;
      const std::string method = route.method;
      if (request.method == method || (method == "GET" && is_get)) return httplib::Server::HandlerResponse::Unhandled;
      response.set_header("Allow", method == "GET" ? "GET, HEAD" : method);
      answer_error(response, 405, request.method + " is not allowed on " + request.path);
      return httplib::Server::HandlerResponse::Handled;
    }
    answer_error(response, 404, "no such page: " + request.path);
    return httplib::Server::HandlerResponse::Handled;
  });

  // Requests the server turns away itself (a POST without Content-Length, say) get words too.
  server.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request& request, httplib::Response& response) {
    if (!response.body.empty()) return httplib::Server::HandlerResponse::Handled;
    std::string message = "request refused (" + std::to_string(response.status) + ")";
    if (response.status == 400 && request.method == "POST") message = "bad request: a POST needs a Content-Length, even of 0";
    answer_error(response, response.status, message);
    return httplib::Server::HandlerResponse::Handled;
  }));

  for (const char* path : {"/", "/index.html", "/panel.js", "/panel.css"}) {
    server.Get(path, [](const httplib::Request& request, httplib::Response& response) {
      const PageFile* file = find_page_file(request.path);
      response.set_content(std::string(file->body), std::string(file->content_type).c_str());
    });
  }
  // ?after=N: 204 while the picture is still frame N, so a poll costs no image.
  server.Get("/panel.png", guarded([&panel](const httplib::Request& request, httplib::Response& response) {
    const std::optional<double> after =
        request.has_param("after") ? std::optional(number_parameter(request, "after", 0, 1e15)) : std::nullopt;
    const Frame frame = panel.frame();
    response.set_header("Cache-Control", "no-store");
    response.set_header("X-Frame", std::to_string(frame.frame));
    if (after && *after == double(frame.frame)) {
      response.status = 204;
      return;
    }
    response.set_content(*frame.png, "image/png");
  }));
  server.Get("/api/state", guarded([&panel](const httplib::Request&, httplib::Response& response) {
    send_json(response, state_json(panel));
  }));
  server.Get("/api/layout", guarded([&panel](const httplib::Request&, httplib::Response& response) {
    send_json(response, layout_json(panel));
  }));
  server.Get("/api/tooltip", guarded([&panel](const httplib::Request& request, httplib::Response& response) {
    const double x = number_parameter(request, "x", -kFarthest, kFarthest);
    const double y = number_parameter(request, "y", -kFarthest, kFarthest);
    send_json(response, pointer_json(panel.hover(x, y)));
  }));
  server.Post("/api/click", guarded([&panel](const httplib::Request& request, httplib::Response& response) {
    const double x = number_parameter(request, "x", -kFarthest, kFarthest);
    const double y = number_parameter(request, "y", -kFarthest, kFarthest);
    bool right = false;
    if (request.has_param("button")) {
      const std::string button = request.get_param_value("button");
      if (button != "left" && button != "right") throw BadRequest{"parameter 'button' must be left or right: '" + button + "'"};
      right = button == "right";
    }
    send_json(response, pointer_json(panel.click(x, y, right)));
  }));
  server.Post("/api/press", guarded([&panel](const httplib::Request& request, httplib::Response& response) {
    const double x = number_parameter(request, "x", -kFarthest, kFarthest);
    const double y = number_parameter(request, "y", -kFarthest, kFarthest);
    send_json(response, pointer_json(panel.press(x, y)));
  }));
  server.Post("/api/release", guarded([&panel](const httplib::Request&, httplib::Response& response) {
    panel.release();
    send_json(response, "{}");
  }));
  server.Post("/api/window", guarded([&panel](const httplib::Request& request, httplib::Response& response) {
    const double index = number_parameter(request, "index", 0, 99);
    const bool visible = flag_parameter(request, "visible");
    if (index != std::floor(index)) throw BadRequest{"parameter 'index' must be a whole number"};
    if (!panel.set_window_visible(int(index), visible)) {
      answer_error(response, 404, "no window " + request.get_param_value("index"));
      return;
    }
    send_json(response, "{}");
  }));
  server.Post("/api/night", guarded([&panel](const httplib::Request& request, httplib::Response& response) {
    panel.set_night(flag_parameter(request, "on"));
    send_json(response, "{}");
  }));
}

}  // namespace host::serve
