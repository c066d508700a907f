#pragma once

namespace httplib {
class Server;
}

// Binds a server to 127.0.0.1; port 0 picks a free port. Returns the bound port, or -1
// when the port is taken: unlike the library's default, a port is never shared with
// another process, so a second stand-in cannot silently answer in place of the first.
int bindToLoopback(httplib::Server &server, int port);

// Connections served at once: each holds a worker thread from its first byte to its
// end, so that slow or idle clients (a client's request patience is 20 s) must not
// leave the normal ones waiting. The library's default is one per processor.
inline constexpr int kWorkerThreads = 128;
void serveManyConnectionsAtOnce(httplib::Server &server);
