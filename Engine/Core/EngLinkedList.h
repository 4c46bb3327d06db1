#pragma once

struct _EngLinkedListElement {
    _EngLinkedListElement* previous;
    _EngLinkedListElement* next;
    void* data;
    int size;
    bool owned;
};

// A doubly linked list of untyped blocks with a current position. Every block it holds, copied or taken
// over, is freed by the list.
class EngLinkedList {
public:
    EngLinkedList();
    ~EngLinkedList();
    EngLinkedList(const EngLinkedList&) = delete;
    EngLinkedList& operator=(const EngLinkedList&) = delete;

    // Every later element must have exactly this size (0 = any size).
    void SetElementConstantSize(int size);
    bool IsListOk();
    int GetNumElements();
    int GetCurrentPos() const;

    // Appends an owned copy. Index or -1.
    int AddData(const void* data, int size, bool make_current);
    // Appends the caller's block (from EngMalloc) without copying; the list takes it over and frees it with the
    // others. Index or -1.
    int AddDataPointer(void** block, int size, bool make_current);

    bool SetCurrentPos(int pos);
    void* GetElementData(int index, int expected_size);
    bool CopyElementData(int index, int size, void* destination);
    bool OverwriteData(int index, const void* data, int size);
    bool DoesEntryDataExist(const void* data, int size, int* index_out);

    bool ReleaseAll();
    void Clear();

private:
    int DoAdd(const void* data, void** block, int size, bool make_current, bool allocate);
    _EngLinkedListElement* GetElement(int index);
    _EngLinkedListElement* GetElementWithData(int index, const char* own_name);
    bool CheckSize(int size, const char* qualified_name);
    void ClearCurrent();

    int m_count;
    _EngLinkedListElement* m_head;
    _EngLinkedListElement* m_tail;
    _EngLinkedListElement* m_current;
    int m_current_pos;
    int m_constant_size;
};
