#include "Engine/Core/EngMemory.h"

#include <cstdlib>
#include <cstring>

#include "Engine/Core/EngDebug.h"

void* EngMalloc(unsigned size, const char* owner, bool clear)
{
    if (size == 0) {
        if (owner)
            DebugError(owner, "EngMalloc: Zero size");
        else
            DebugError(ENG_FUNC, "Zero size");
        return nullptr;
    }
    void* block = clear ? std::calloc(1, size) : std::malloc(size);
    if (block)
        return block;
    if (owner)
        DebugError(owner, "EngMalloc: No memory");
    else
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
    return nullptr;
}

void EngFree(void* block, bool report_null, const char* owner)
{
    if (block) {
        std::free(block);
        return;
    }
    if (!report_null)
        return;
    if (owner)
        DebugError(owner, "EngFree: Zero size");
    else
        DebugError(ENG_FUNC, "Zero size");
}

char* EngMallocStringFromString(const char* source, bool show_errors, const char* owner)
{
    if (!source) {
        if (show_errors)
            DebugErrorByCode(ENG_FUNC, DEBUG_CODE_DNEX);
        return nullptr;
    }
    if (!*source && show_errors) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_NVAL);
        return nullptr;
    }
    unsigned size = unsigned(std::strlen(source)) + 1;
    char* copy = static_cast<char*>(EngMalloc(size, owner, false));
    if (!copy) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return nullptr;
    }
    std::memcpy(copy, source, size);
    return copy;
}

void EngZeroMemory(void* block, unsigned size)
{
    if (!block || size == 0) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return;
    }
    std::memset(block, 0, size);
}
