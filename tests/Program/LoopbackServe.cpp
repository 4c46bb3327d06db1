// A scores service for the whole-program tests: answers every request on 127.0.0.1 with the bytes of one
// file, prints its address ("http://127.0.0.1:<port>") on a line, and serves until it is told to stop.

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Support/LoopbackHttpServer.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s <reply file>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    std::stringstream body;
    body << in.rdbuf();
    // The server's thread inherits the blocked signals, so only sigwait below sees them.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    LoopbackHttpServer server(MakeReply(200, body.str()));
    if (!server.IsListening())
        return 1;
    printf("%s\n", server.Base().c_str());
    fflush(stdout);
    int signal_number = 0;
    sigwait(&stop, &signal_number);
    return 0;
}
