#include "DataGen.h"

#include "DataGenCursor.h"

bool DataGenWriteAll(const char* data_dir)
{
    return DataGenWriteCursor(data_dir);
}
