#include "Engine/Core/EngKeyStateTable.h"

#include <cstring>

EngUInt8 EngKeyStateTable[ENG_KEY_STATE_TABLE_SIZE];

void EngKeyStateTableClear()
{
    std::memset(EngKeyStateTable, 0, sizeof(EngKeyStateTable));
}

void EngKeyStateTableSet(int virtual_key, bool down)
{
    if (virtual_key < 0 || virtual_key >= ENG_KEY_STATE_TABLE_SIZE)
        return;
    EngKeyStateTable[virtual_key] = down ? ENG_KEY_STATE_DOWN : ENG_KEY_STATE_UP;
}

bool EngKeyStateTableIsDown(int virtual_key)
{
    if (virtual_key < 0 || virtual_key >= ENG_KEY_STATE_TABLE_SIZE)
        return false;
    return EngKeyStateTable[virtual_key] > 1;
}
