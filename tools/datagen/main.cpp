// Writes every generated game file into the folder named on the command line.
#include "DataGen.h"
#include "DataGenTracks.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: torvi_datagen <data folder> [<folder for PNG copies of the track pictures>]\n");
        return 2;
    }
    if (argc == 3)
        DataGenSetTrackPngCopies(argv[2]);
    std::error_code ec;
    std::filesystem::create_directories(argv[1], ec);
    if (ec) {
        std::fprintf(stderr, "torvi_datagen: cannot create %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    return DataGenWriteAll(argv[1]) ? 0 : 1;
}
