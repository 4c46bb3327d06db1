#include "DataGen.h"

#include "DataGenAds.h"
#include "DataGenCars.h"
#include "DataGenCursor.h"
#include "DataGenFlags.h"
#include "DataGenLogo.h"
#include "DataGenMenuPictures.h"
#include "DataGenMusic.h"
#include "DataGenSkin.h"
#include "DataGenSounds.h"
#include "DataGenSplash.h"
#include "DataGenTracks.h"

namespace {

// One line a generator, so that a new one is a line of its own.
bool (*const generators[])(const char*) = {
    DataGenWriteCursor,
    DataGenWriteLogo,
    DataGenWriteTracks,
    DataGenWriteCars,
    DataGenWriteMenuPictures,
    DataGenWriteSkin,
    DataGenWriteFlags,
    DataGenWriteSplash,
    DataGenWriteAds,
    DataGenWriteSounds,
    DataGenWriteMusic,
};

} // namespace

bool DataGenWriteAll(const char* data_dir)
{
    for (auto generate : generators) {
        if (!generate(data_dir))
            return false;
    }
    return true;
}
