#include "Engine/Core/EngDirectory.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngString.h"

namespace {

enum : signed char { k_closed = 0, k_opened = 1, k_listing = 2 };
constexpr int k_name_room = 513;

int CompareNames(const void* a, const void* b)
{
    const char* x = *(const char* const*)a;
    const char* y = *(const char* const*)b;
    int order = strcasecmp(x, y);
    return order ? order : strcmp(x, y);
}

} // namespace

DirList::DirList()
    : m_path(nullptr), m_name(nullptr), m_buffer_size(0), m_filter(nullptr), m_user_data(nullptr),
      m_state(k_closed), m_count(0), m_names(nullptr), m_num_names(0), m_next_name(0), m_include_parent(false)
{
}

DirList::~DirList()
{
    Close();
}

void DirList::SetIncludeParentEntry(bool include)
{
    m_include_parent = include;
}

bool DirList::AllocBuffers(int path_len)
{
    if (path_len < 1) {
        DebugError(ENG_FUNC, "Invalid path len");
        return false;
    }
    m_buffer_size = path_len + k_name_room;
    m_path = (char*)EngMalloc((unsigned)m_buffer_size, "DirList::AllocBuffers", true);
    m_name = (char*)EngMalloc((unsigned)m_buffer_size, "DirList::AllocBuffers", true);
    if (m_path && m_name)
        return true;
    FreeBuffers();
    return false;
}

void DirList::FreeBuffers()
{
    EngFree(m_path, false, ENG_FUNC);
    EngFree(m_name, false, ENG_FUNC);
    m_path = nullptr;
    m_name = nullptr;
    m_buffer_size = 0;
}

void DirList::FreeNames()
{
    for (int i = 0; i < m_num_names; i++)
        EngFree(m_names[i], false, ENG_FUNC);
    EngFree(m_names, false, ENG_FUNC);
    m_names = nullptr;
    m_num_names = 0;
    m_next_name = 0;
}

bool DirList::OpenDir(const char* directory, DirListFilter filter, void* user_data)
{
    Close();
    if (!directory || !directory[0]) {
        DebugError(ENG_FUNC, "Invalid Path Passed In");
        return false;
    }
    if (!AllocBuffers((int)strlen(directory)))
        return false;
    if (!EngFileDirectoryExists(directory)) {
        DebugError(ENG_FUNC, "Directory does not exist [%s]", directory);
        FreeBuffers();
        return false;
    }
    EngSafeStrcpy(m_path, directory, (unsigned)m_buffer_size);
    m_filter = filter;
    m_user_data = user_data;
    m_state = k_opened;
    return true;
}

// Reads every entry at once: the listing comes sorted, whatever order the file system keeps.
// Names the narrow code page cannot hold are left out, since nothing could open them.
bool DirList::ReadSortedNames()
{
    char path[PATH_MAX];
    DIR* dir = EngFileGetSystemPath(m_path, path, sizeof path) ? opendir(path) : nullptr;
    if (!dir)
        return false;
    int capacity = 0;
    struct dirent* entry;
    while ((entry = readdir(dir)) != nullptr) {
        char name[k_name_room];
        bool lossy = false;
        if (EngCodePageUtf8ToAnsi(entry->d_name, name, sizeof name, '?', &lossy) < 0 || lossy)
            continue;
        if (m_num_names == capacity) {
            int grown = capacity ? capacity * 2 : 32;
            auto names = (char**)EngMalloc(sizeof(char*) * (unsigned)grown, ENG_FUNC, true);
            if (!names)
                break;
            if (m_names)
                memcpy(names, m_names, sizeof(char*) * (unsigned)m_num_names);
            EngFree(m_names, false, ENG_FUNC);
            m_names = names;
            capacity = grown;
        }
        m_names[m_num_names] = EngMallocStringFromString(name, true, ENG_FUNC);
        if (m_names[m_num_names])
            m_num_names++;
    }
    closedir(dir);
    if (m_num_names > 1)
        qsort(m_names, (size_t)m_num_names, sizeof(char*), CompareNames);
    return true;
}

bool DirList::PrepareToGetFilenamesInDir()
{
    if ((m_state != k_opened && m_state != k_listing) || !m_path) {
        DebugError(ENG_FUNC, "Directory not opened - call DirList::OpenDir() first.");
        return false;
    }
    if (m_state == k_listing) {
        DebugError(ENG_FUNC, "Error - get filenames in progress");
        return false;
    }
    FreeNames();
    ReadSortedNames();
    m_count = 0;
    m_state = k_listing;
    return true;
}

const char* DirList::GetNextFilenameInDir()
{
    if (m_state != k_listing) {
        DebugError(ENG_FUNC, "Call DirList::PrepareToGetFilenamesInDir() first.");
        return "";
    }
    while (m_next_name < m_num_names) {
        const char* name = m_names[m_next_name++];
        if (strcmp(name, ".") == 0 || (strcmp(name, "..") == 0 && !m_include_parent))
            continue;
        if (m_filter && !m_filter(m_count, name, m_path, m_user_data))
            continue;
        m_count++;
        return EngSafeStrcpy(m_name, name, (unsigned)m_buffer_size);
    }
    FreeNames();
    m_name[0] = 0;
    return m_name;
}

void DirList::CleanupAfterGettingFilenamesInDir()
{
    if (m_state != k_listing) {
        DebugError(ENG_FUNC, "Not getting files in dir");
        return;
    }
    FreeNames();
    m_state = k_opened;
}

void DirList::Close()
{
    FreeNames();
    FreeBuffers();
    m_filter = nullptr;
    m_user_data = nullptr;
    m_state = k_closed;
}
