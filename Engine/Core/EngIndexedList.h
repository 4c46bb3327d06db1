#pragma once

// One entry of an EngIndexedList: owned data was allocated (and is freed) by the list.
struct _EngIndexedListEntry {
    void* data;
    int size;
    signed char owned;
};

// A growable array of untyped blocks reached by index.
class EngIndexedList {
public:
    explicit EngIndexedList(int grow_by = 64);
    ~EngIndexedList();
    EngIndexedList(const EngIndexedList&) = delete;
    EngIndexedList& operator=(const EngIndexedList&) = delete;

    // An owned copy of size bytes of data; a null data pointer adds an entry without data. Index or -1.
    int AddEntry(const void* data, int size);
    int GetNumEntries() const;
    int GetCapacity() const;
    // size_out (when given) receives the size, or 0 on failure.
    void* GetEntryData(int index, int* size_out);
    bool RemoveAllEntries();

private:
    int DoAdd(const void* data, void** caller_block, int size, bool allocate);
    bool Grow();

    _EngIndexedListEntry** m_entries;
    int m_count;
    int m_capacity;
    int m_grow_by;
};
