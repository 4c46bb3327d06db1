#include "Engine/MWin/MWinID.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngString.h"

#include <cstring>

char MWinCopyID(char* dest, const char* source)
{
    if (!dest) {
        DebugError("MWinCopyID", "No Dest ID");
        return 0;
    }
    if (!source) {
        DebugError("MWinCopyID", "No Source ID");
        return 0;
    }
    if (strnlen(source, MWIN_ID_SIZE) >= size_t(MWIN_ID_SIZE)) {
        DebugError("MWinCopyID", "Source string Too Long <%.*s>", MWIN_ID_SIZE, source);
        return 0;
    }
    EngSafeStrcpy(dest, source, MWIN_ID_SIZE);
    return 1;
}

bool MWinIDIsEmpty(const char* id)
{
    return !id || id[0] == 0;
}

bool MWinIDsEqual(const char* a, const char* b)
{
    if (MWinIDIsEmpty(a) || MWinIDIsEmpty(b))
        return false;
    return strncmp(a, b, MWIN_ID_SIZE) == 0;
}
