#include "DataGen.h"

bool DataGenWriteAll(const char* data_dir)
{
    (void)data_dir;
    return true;
}
