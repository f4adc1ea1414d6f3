// postvane-devserver: a development stand-in for the Postvane mail server.
#include "devserver.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>
#include <unistd.h>

using namespace postvane::devserver;

int main(int argc, char **argv)
{
    ServerOptions options;
    std::string message;
    bool exitNow = false;
    if (!parseOptions(argc, argv, options, message, exitNow)) {
        std::fprintf(stderr, "postvane-devserver: %s\n", message.c_str());
        return 2;
    }
    if (exitNow) {
        std::fputs(message.c_str(), stdout);
        return 0;
    }
    // Signals are taken by sigwait below; every thread started later inherits the mask.
    std::signal(SIGPIPE, SIG_IGN);
    // A write beyond the file size limit then fails with EFBIG and is answered
    // as a storage failure instead of killing the server.
    std::signal(SIGXFSZ, SIG_IGN);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    DevServer server(options);
    std::string error;
    if (!server.start(error)) {
        std::fprintf(stderr, "postvane-devserver: %s\n", error.c_str());
        return 1;
    }
    for (const std::string &warning : exposureWarnings(options, ::geteuid()))
        std::fprintf(stderr, "postvane-devserver: warning: %s\n", warning.c_str());
    std::printf("postvane-devserver listening on %s:%u\n", server.listenAddress().c_str(),
                static_cast<unsigned>(server.port()));
    std::fflush(stdout);

    std::thread serving([&server] { server.run(); });
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    serving.join();
    return 0;
}
