#include "webservice/LoopbackBinding.h"

#include <httplib.h>

#include <sys/socket.h>

void serveManyConnectionsAtOnce(httplib::Server &server)
{
    server.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
}

int bindToLoopback(httplib::Server &server, int port)
{
    server.set_socket_options([](int socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
    if (port == 0)
        return server.bind_to_any_port("127.0.0.1");
    return server.bind_to_port("127.0.0.1", port) ? port : -1;
}
