#include "Engine/Core/EngLinkedList.h"

#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"

EngLinkedList::EngLinkedList()
    : m_count(0), m_head(nullptr), m_tail(nullptr), m_current(nullptr), m_current_pos(-1), m_constant_size(0)
{
}

EngLinkedList::~EngLinkedList()
{
    Clear();
}

void EngLinkedList::SetElementConstantSize(int size)
{
    if (size < 0) {
        DebugError(ENG_FUNC, "Invalid constant data size %lu", (unsigned long)size);
        size = 0;
    }
    m_constant_size = size;
}

// A list without a current element (after a failed SetCurrentPos) is still consistent, so it stays usable
// and its elements can still be freed.
bool EngLinkedList::IsListOk()
{
    bool ok = (m_head == nullptr) == (m_tail == nullptr);
    ok = ok && (!m_head || !m_head->previous) && (!m_tail || !m_tail->next);
    ok = ok && m_count >= 0;
    ok = ok && (m_count != 0 || (!m_head && !m_current));
    ok = ok && (m_count != 1 || m_head == m_tail);
    ok = ok && (m_count < 1 || m_head);
    ok = ok && (m_current ? m_current_pos >= 0 && m_current_pos < m_count : m_current_pos == -1);
    if (!ok)
        DebugError(ENG_FUNC, "List not ok");
    return ok;
}

int EngLinkedList::GetNumElements()
{
    return IsListOk() ? m_count : 0;
}

int EngLinkedList::GetCurrentPos() const
{
    return m_current_pos;
}

bool EngLinkedList::CheckSize(int size, const char* qualified_name)
{
    if (size < 1) {
        DebugError(qualified_name, "Invalid data size %lu", (unsigned long)size);
        return false;
    }
    if (m_constant_size > 0 && size != m_constant_size) {
        DebugError(qualified_name, "Data size is not constant data size (%lu != %lu)", (unsigned long)size,
                   (unsigned long)m_constant_size);
        return false;
    }
    return true;
}

void EngLinkedList::ClearCurrent()
{
    m_current = nullptr;
    m_current_pos = -1;
}

int EngLinkedList::AddData(const void* data, int size, bool make_current)
{
    return DoAdd(data, nullptr, size, make_current, false);
}

int EngLinkedList::AddDataPointer(void** block, int size, bool make_current)
{
    return DoAdd(nullptr, block, size, make_current, false);
}

int EngLinkedList::DoAdd(const void* data, void** block, int size, bool make_current, bool allocate)
{
    if (!IsListOk() || !CheckSize(size, "EngLinkedList::DoAdd"))
        return -1;
    if (data && block) {
        DebugError(ENG_FUNC, "Parameters not ok");
        return -1;
    }
    auto element = (_EngLinkedListElement*)EngMalloc(sizeof(_EngLinkedListElement), ENG_FUNC, true);
    if (!element) {
        DebugError(ENG_FUNC, "No memory for m_list entry");
        return -1;
    }
    if (data || allocate) {
        element->data = EngMalloc((unsigned)size, ENG_FUNC, !data);
        if (!element->data) {
            DebugError(ENG_FUNC, "No memory for element data");
            EngFree(element, false, ENG_FUNC);
            return -1;
        }
        if (data)
            memcpy(element->data, data, (size_t)size);
        element->owned = true;
    } else if (block) {
        element->data = *block;
        element->owned = false;
    }
    element->size = element->data ? size : 0;
    element->previous = m_tail;
    if (m_tail)
        m_tail->next = element;
    else
        m_head = element;
    m_tail = element;
    m_count++;
    if (!m_current) {
        m_current = m_head;
        m_current_pos = 0;
    }
    if (make_current) {
        m_current = element;
        m_current_pos = m_count - 1;
    }
    return m_count - 1;
}

_EngLinkedListElement* EngLinkedList::GetElement(int index)
{
    if (index < 0 || index >= m_count) {
        DebugError(ENG_FUNC, "Bad index %ld [max = %ld]", (long)index, (long)m_count);
        return nullptr;
    }
    _EngLinkedListElement* element = m_head;
    for (int i = 0; i < index && element; i++)
        element = element->next;
    if (!element) {
        DebugError(ENG_FUNC, "List problem");
        return nullptr;
    }
    return element;
}

_EngLinkedListElement* EngLinkedList::GetElementWithData(int index, const char* own_name)
{
    _EngLinkedListElement* element = GetElement(index);
    if (element && !element->data) {
        DebugError(own_name, "No data at index %ld", (long)index);
        return nullptr;
    }
    return element;
}

bool EngLinkedList::SetCurrentPos(int pos)
{
    if (!IsListOk())
        return false;
    if (pos < 0 || pos >= m_count) {
        DebugError(ENG_FUNC, "Bad pos %ld [max = %ld]", (long)pos, (long)m_count);
        ClearCurrent();
        return false;
    }
    _EngLinkedListElement* element = GetElement(pos);
    if (!element) {
        ClearCurrent();
        return false;
    }
    m_current = element;
    m_current_pos = pos;
    return true;
}

void* EngLinkedList::GetElementData(int index, int expected_size)
{
    if (!IsListOk())
        return nullptr;
    _EngLinkedListElement* element = GetElementWithData(index, ENG_FUNC);
    if (!element)
        return nullptr;
    if (element->size != expected_size) {
        DebugError(ENG_FUNC, "Data size of element %ld is not %ld", (long)index, (long)expected_size);
        return nullptr;
    }
    return element->data;
}

bool EngLinkedList::CopyElementData(int index, int size, void* destination)
{
    if (!IsListOk() || !CheckSize(size, "EngLinkedList::CopyElementData"))
        return false;
    if (!destination) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return false;
    }
    _EngLinkedListElement* element = GetElementWithData(index, ENG_FUNC);
    if (!element)
        return false;
    if (element->size != size) {
        DebugError(ENG_FUNC, "Data size not ok");
        return false;
    }
    memcpy(destination, element->data, (size_t)size);
    return true;
}

bool EngLinkedList::OverwriteData(int index, const void* data, int size)
{
    if (!IsListOk() || !CheckSize(size, "EngLinkedList::OverwriteData"))
        return false;
    if (!data) {
        DebugError(ENG_FUNC, "No data passed in");
        return false;
    }
    _EngLinkedListElement* element = GetElementWithData(index, ENG_FUNC);
    if (!element)
        return false;
    if (element->size != size) {
        DebugError(ENG_FUNC, "Size not ok (can be updated to re-alloc if desired)");
        return false;
    }
    memmove(element->data, data, (size_t)size);
    return true;
}

bool EngLinkedList::DoesEntryDataExist(const void* data, int size, int* index_out)
{
    if (!IsListOk() || !CheckSize(size, "EngLinkedList::DoesEntryDataExist") || !data)
        return false;
    int index = 0;
    for (const _EngLinkedListElement* element = m_head; element; element = element->next, index++) {
        if (index >= m_count) {
            DebugError(ENG_FUNC, "Checked too many");
            return false;
        }
        if (element->data && element->size == size && memcmp(element->data, data, (size_t)size) == 0) {
            if (index_out)
                *index_out = index;
            return true;
        }
    }
    return false;
}

// Frees by walking the links, not by trusting the count, so nothing leaks even from a damaged list.
bool EngLinkedList::ReleaseAll()
{
    int freed = 0;
    _EngLinkedListElement* element = m_head;
    while (element) {
        _EngLinkedListElement* next = element->next;
        EngFree(element->data, false, ENG_FUNC);
        EngFree(element, false, ENG_FUNC);
        element = next;
        freed++;
    }
    bool ok = freed <= m_count;
    if (!ok)
        DebugError(ENG_FUNC, "Freed too many");
    m_count = 0;
    m_head = nullptr;
    m_tail = nullptr;
    ClearCurrent();
    return ok;
}

void EngLinkedList::Clear()
{
    ReleaseAll();
}
