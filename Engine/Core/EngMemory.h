#pragma once

// Heap blocks with the owner's name for the failure report.

// Returns a block of size bytes (zero-filled when clear is set), or null after a report.
void* EngMalloc(unsigned size, const char* owner, bool clear);
// Frees a block; a null block is reported only when report_null is set.
void EngFree(void* block, bool report_null, const char* owner);
// Returns a new copy of source, or null (a null source, or an empty one when show_errors is set).
char* EngMallocStringFromString(const char* source, bool show_errors, const char* owner);
void EngZeroMemory(void* block, unsigned size);
