#include "DataGen.h"

#include "DataGenCars.h"
#include "DataGenCursor.h"
#include "DataGenFlags.h"
#include "DataGenLogo.h"
#include "DataGenMenuPictures.h"
#include "DataGenTracks.h"

bool DataGenWriteAll(const char* data_dir)
{
    return DataGenWriteCursor(data_dir) && DataGenWriteLogo(data_dir) && DataGenWriteTracks(data_dir) && DataGenWriteCars(data_dir) &&
           DataGenWriteMenuPictures(data_dir) && DataGenWriteFlags(data_dir);
}
