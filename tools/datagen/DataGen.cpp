#include "DataGen.h"

#include "DataGenAds.h"
#include "DataGenCars.h"
#include "DataGenCursor.h"
#include "DataGenFlags.h"
#include "DataGenMenuPictures.h"
#include "DataGenSkin.h"
#include "DataGenSplash.h"
#include "DataGenTracks.h"

bool DataGenWriteAll(const char* data_dir)
{
    return DataGenWriteCursor(data_dir) && DataGenWriteTracks(data_dir) && DataGenWriteCars(data_dir) &&
           DataGenWriteMenuPictures(data_dir) && DataGenWriteSkin(data_dir) &&
           DataGenWriteFlags(data_dir) && DataGenWriteSplash(data_dir) && DataGenWriteAds(data_dir);
}
