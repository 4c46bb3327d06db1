#pragma once

// Whole-record saves that a crash cannot half-write: the record goes to "<name>.tmp" beside the file and is
// renamed over the old file only once it is complete. A left-over ".tmp" is overwritten by the next save.

bool GameSaveFileSafely(const char* name, const void* data, unsigned size);
