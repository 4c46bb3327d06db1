#pragma once

// Soundness checks of a loaded track grid, run on every generated track at build time and by the tests:
// the grid slots stand on road, the walls close, the racing line is a closed chain through the start line
// and checkpoints 1, 2, 3 in order, directions point along the lap and progress rises along it.

#include <string>
#include <vector>

class Traverse;

// Each failed check adds one line to problems; true when none failed.
bool TrackCheckAll(const Traverse& traverse, std::vector<std::string>* problems);

bool TrackCheckGridSlots(const Traverse& traverse, std::vector<std::string>* problems);
bool TrackCheckWalls(const Traverse& traverse, std::vector<std::string>* problems);
bool TrackCheckLine(const Traverse& traverse, std::vector<std::string>* problems);
bool TrackCheckCheckpointOrder(const Traverse& traverse, std::vector<std::string>* problems);
bool TrackCheckDirections(const Traverse& traverse, std::vector<std::string>* problems);
bool TrackCheckProgress(const Traverse& traverse, std::vector<std::string>* problems);
bool TrackCheckHudBoxes(const Traverse& traverse, std::vector<std::string>* problems);

// The band values (1..4) met walking the racing line from its start, repeats merged.
std::vector<int> TrackCheckBandsAlongLine(const Traverse& traverse);
