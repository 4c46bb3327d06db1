#pragma once

// JSON text of the records sent to the maker's scripts. Objects keep their members in insertion order.

#include <nlohmann/json.hpp>

typedef nlohmann::ordered_json EngJsonObject;

// The object as text, one member a line, indented with a tab. A new block from EngMalloc for the caller to
// free; null when nothing could be written. Texts must be UTF-8: a byte sequence that is not becomes U+FFFD.
char* EngJsonWriteObjectToString(const EngJsonObject& object);
