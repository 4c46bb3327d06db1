#pragma once

// A driver's eight championship slots, one ".vch" file each beside the profile: the championship record
// whole, written through a temporary file so that a crash never leaves half a championship behind.

#include "Game/ChampClass.h"

constexpr int CHAMP_SLOTS = 8;
constexpr int CHAMP_PATH_SIZE = 1024;

// "<Drivers folder>\<driver>_Champ<slot>.vch"; false for a bad slot, an unsafe name or a path too long.
bool ChampSaveFileName(const char* driver, int slot, bool create_folder, char* path, unsigned size);
// True only for a record of this version whose class, level, stage, length and laps are in range.
bool ChampSaveFileIsValid(const ChampRecord& record);
// A missing file is false without a report; a file of the wrong size or with a record out of range is false.
// The record is filled only when the file is good.
bool ChampSaveFileLoad(const char* path, ChampRecord* record);
// Stamps the record with this version and saves it safely.
bool ChampSaveFileSave(const char* path, ChampRecord* record);
