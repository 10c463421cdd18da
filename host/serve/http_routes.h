// The server's answers: the page's files, the picture, and the small JSON API
// the page drives the panel with. Every path is in one table; anything else is
// a 404, a known path with the wrong method a 405.
#pragma once

namespace httplib {
class Server;
}

namespace host::serve {

class LivePanel;

void add_routes(httplib::Server& server, LivePanel& panel);

}  // namespace host::serve
