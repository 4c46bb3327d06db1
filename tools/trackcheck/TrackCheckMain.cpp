// Loads every generated track through the game's own grid code and fails when one is not sound.
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "Game/Game.h"
#include "Game/Program.h"
#include "Game/TrackCheck.h"
#include "Game/Traverse.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: torvi_trackcheck <data folder>\n");
        return 2;
    }
    Program program;
    Game game(&program, "Check", 0);
    std::unique_ptr<Traverse> traverse(new (std::nothrow) Traverse(&game));
    if (!traverse) {
        std::fprintf(stderr, "trackcheck: no memory\n");
        return 1;
    }
    std::string stem = std::string(argv[1]) + "/150";
    std::vector<std::string> problems;
    for (int track = 0; track < TRACK_COUNT; track++) {
        if (!traverse->SetupTrack(track, stem.c_str())) {
            problems.push_back("track " + std::to_string(track) + ": map not loaded");
            continue;
        }
        TrackCheckAll(*traverse, &problems);
    }
    for (const std::string& problem : problems)
        std::fprintf(stderr, "trackcheck: %s\n", problem.c_str());
    if (!problems.empty())
        return 1;
    std::printf("trackcheck: %d tracks sound\n", TRACK_COUNT);
    return 0;
}
