#pragma once

// Each generator writes its files below the data folder and returns false on any failure.
bool DataGenWriteAll(const char* data_dir);
