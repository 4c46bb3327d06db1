#include "Engine/Core/EngJson.h"

#include <cstring>
#include <string>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"

char* EngJsonWriteObjectToString(const EngJsonObject& object)
{
    // The replacing handler keeps the writer from throwing on text that is not UTF-8.
    std::string text = object.dump(1, '\t', false, nlohmann::ordered_json::error_handler_t::replace);
    if (text.empty()) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return nullptr;
    }
    auto* copy = static_cast<char*>(EngMalloc(unsigned(text.size()) + 1, "EngJsonWriteObjectToString", false));
    if (!copy)
        return nullptr;
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}
