#include "Engine/Core/EngIndexedList.h"

#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"

namespace {
constexpr int k_default_grow_by = 64;
}

EngIndexedList::EngIndexedList(int grow_by)
    : m_entries(nullptr), m_count(0), m_capacity(0), m_grow_by(grow_by < 1 ? k_default_grow_by : grow_by)
{
}

EngIndexedList::~EngIndexedList()
{
    RemoveAllEntries();
}

int EngIndexedList::AddEntry(const void* data, int size)
{
    return DoAdd(data, nullptr, size, false);
}

int EngIndexedList::GetNumEntries() const
{
    return m_entries ? m_count : 0;
}

int EngIndexedList::GetCapacity() const
{
    return m_capacity;
}

bool EngIndexedList::Grow()
{
    const char* error = m_entries ? "No memory(2)" : "No memory(1)";
    int capacity = m_capacity + m_grow_by;
    auto entries = (_EngIndexedListEntry**)EngMalloc(sizeof(_EngIndexedListEntry*) * (unsigned)capacity,
                                                     ENG_FUNC, true);
    if (!entries) {
        DebugError(ENG_FUNC, "%s", error);
        return false;
    }
    if (m_entries)
        memcpy(entries, m_entries, sizeof(_EngIndexedListEntry*) * (unsigned)m_count);
    EngFree(m_entries, false, ENG_FUNC);
    m_entries = entries;
    m_capacity = capacity;
    return true;
}

int EngIndexedList::DoAdd(const void* data, void** caller_block, int size, bool allocate)
{
    if (data && caller_block) {
        DebugError(ENG_FUNC, "Parameters not ok");
        return -1;
    }
    if (size < 1) {
        DebugError(ENG_FUNC, "Data size not ok");
        return -1;
    }
    if (m_count >= m_capacity && !Grow())
        return -1;
    if (m_entries[m_count]) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return -1;
    }
    auto entry = (_EngIndexedListEntry*)EngMalloc(sizeof(_EngIndexedListEntry), ENG_FUNC, true);
    if (!entry) {
        DebugError(ENG_FUNC, "No memory for element");
        return -1;
    }
    if (data || allocate) {
        entry->data = EngMalloc((unsigned)size, ENG_FUNC, !data);
        if (!entry->data) {
            DebugError(ENG_FUNC, "No memory for element data");
            EngFree(entry, false, ENG_FUNC);
            return -1;
        }
        if (data)
            memcpy(entry->data, data, (size_t)size);
        entry->size = size;
        entry->owned = 1;
    } else if (caller_block) {
        entry->data = *caller_block;
        entry->size = size;
        entry->owned = 0;
    }
    m_entries[m_count] = entry;
    return m_count++;
}

void* EngIndexedList::GetEntryData(int index, int* size_out)
{
    if (size_out)
        *size_out = 0;
    if (index < 0 || index >= GetNumEntries()) {
        DebugError(ENG_FUNC, "Entry does not exist (%ld, %ld)", (long)index, (long)GetNumEntries());
        return nullptr;
    }
    const _EngIndexedListEntry* entry = m_entries[index];
    if (!entry) {
        DebugError(ENG_FUNC, "No element at index %ld", (long)index);
        return nullptr;
    }
    if (!entry->data) {
        DebugError(ENG_FUNC, "No data at index %ld", (long)index);
        return nullptr;
    }
    if (size_out)
        *size_out = entry->size;
    return entry->data;
}

bool EngIndexedList::RemoveAllEntries()
{
    for (int i = 0; m_entries && i < m_capacity; i++) {
        _EngIndexedListEntry* entry = m_entries[i];
        if (!entry)
            continue;
        if (entry->owned == 1)
            EngFree(entry->data, false, ENG_FUNC);
        else if (entry->owned != 0)
            DebugError(ENG_FUNC, "Problem in element data.");
        EngFree(entry, false, ENG_FUNC);
    }
    EngFree(m_entries, false, ENG_FUNC);
    m_entries = nullptr;
    m_count = 0;
    m_capacity = 0;
    return true;
}
