#pragma once

// Whole-record saves that a crash cannot half-write: the record goes to "<name>.tmp" beside the file and is
// renamed over the old file only once it is complete. A left-over ".tmp" is overwritten by the next save.

bool GameSaveFileSafely(const char* name, const void* data, unsigned size);

// Which step of a safe save failed, for callers that tell the player.
enum class GameSaveResult { Saved, CannotCreate, CannotWrite };

// The same save; after a failure the temporary file is gone and the old file is as it was.
GameSaveResult GameSaveFileSafelyStep(const char* name, const void* data, unsigned size);
