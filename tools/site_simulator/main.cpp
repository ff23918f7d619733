// site_simulator: serves the five sites and the speech service on 127.0.0.1.
// The first line on stdout names the address, the second the speech service's;
// the program runs until it is interrupted.

#include "site_simulator.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::atomic<bool> stopRequested{false};

void onSignal(int) {
    stopRequested = true;
}

int usage(FILE* out, int status) {
    std::fprintf(out, "Usage: site_simulator [--port N] [--speech-port N] [--corpus DIR]\n"
                      "                      [--write-config FILE]\n"
                      "  --port N             listen on port N (default: a free port)\n"
                      "  --speech-port N      serve speech on port N (default: a free port)\n"
                      "  --corpus DIR         also serve the novels found in DIR\n"
                      "  --write-config FILE  write a sites.ini that points at this simulator\n");
    return status;
}

} // namespace

int main(int argc, char** argv) {
    int port = 0;
    int speechPort = 0;
    std::string corpus;
    std::string configPath;
    for (int i = 1; i < argc; ++i) {
        bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--help") == 0)
            return usage(stdout, 0);
        if (std::strcmp(argv[i], "--port") == 0 && hasValue)
            port = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--speech-port") == 0 && hasValue)
            speechPort = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--corpus") == 0 && hasValue)
            corpus = argv[++i];
        else if (std::strcmp(argv[i], "--write-config") == 0 && hasValue)
            configPath = argv[++i];
        else
            return usage(stderr, 2);
    }

    mz::sim::BookCatalogue catalogue = mz::sim::BookCatalogue::samples();
    int corpusBooks = corpus.empty() ? 0 : catalogue.addCorpus(corpus);
    mz::sim::SiteSimulator simulator(std::move(catalogue));
    if (!simulator.start(port, speechPort)) {
        std::fprintf(stderr, "site_simulator: cannot listen on 127.0.0.1:%d and :%d\n", port,
                     speechPort);
        return 1;
    }
    std::printf("listening on 127.0.0.1:%d\n", simulator.port());
    std::printf("speech on 127.0.0.1:%d\n", simulator.speechPort());
    if (!corpus.empty())
        std::printf("serving %d novels from %s\n", corpusBooks, corpus.c_str());
    if (!configPath.empty() && !simulator.siteConfig().save(configPath)) {
        std::fprintf(stderr, "site_simulator: cannot write %s\n", configPath.c_str());
        return 1;
    }
    std::fflush(stdout);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!stopRequested)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    simulator.stop();
    return 0;
}
