#pragma once

#include <dirent.h>

// Accepts a directory entry: (count of names returned so far, name, directory, user data).
typedef bool (*DirListFilter)(int index, const char* file_name, const char* directory, void* user_data);

// Lists the file names of one directory, sorted by name, with an optional filter.
class DirList {
public:
    DirList();
    ~DirList();
    DirList(const DirList&) = delete;
    DirList& operator=(const DirList&) = delete;

    bool OpenDir(const char* directory, DirListFilter filter, void* user_data);
    bool PrepareToGetFilenamesInDir();
    // The next accepted name, or "" at the end. Valid until the next call.
    const char* GetNextFilenameInDir();
    void CleanupAfterGettingFilenamesInDir();
    void Close();
    void SetIncludeParentEntry(bool include);

private:
    bool AllocBuffers(int path_len);
    void FreeBuffers();
    void FreeNames();
    bool ReadSortedNames();

    char* m_path;
    char* m_name;
    int m_buffer_size;
    DirListFilter m_filter;
    void* m_user_data;
    signed char m_state;
    int m_count;
    char** m_names;
    int m_num_names;
    int m_next_name;
    bool m_include_parent;
};
