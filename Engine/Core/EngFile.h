#pragma once

#include <cstdio>

// One open file over a buffered standard stream. Every method reports its own failure through the debug
// layer unless its caller asked for silence.
//
// Names are engine paths: Windows-1252 text, parts joined by "\\" or "/". A relative name lies in the folder
// of the executable, whatever the working directory; an absolute name is used as it stands.
class EngFile {
public:
    EngFile();
    ~EngFile();
    EngFile(const EngFile&) = delete;
    EngFile& operator=(const EngFile&) = delete;

    bool OpenForReading(const char* name, bool text_mode, bool show_errors);
    bool OpenForReadingQuietly(const char* name, bool text_mode);
    bool CreateForWriting(const char* name, bool text_mode);
    // Truncates like CreateForWriting; its open failure goes to the alternate output only, because the log
    // file itself is opened this way.
    bool OpenForWriting(const char* name, bool text_mode);
    bool OpenForAppending(const char* name, bool text_mode);

    // Whole-block operations: anything short of size is a failure. Size must be above 0.
    bool Read(void* destination, int size, bool show_errors);
    bool Write(const void* source, unsigned size);
    bool Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Sends what was written to the disk itself, so a power cut cannot leave it behind.
    bool FlushToDisk();

    bool Rewind();
    bool MoveToEnd();
    // Leaves the position where it was.
    unsigned GetSize();
    bool Close();

private:
    bool Open(const char* name, const char* mode, bool for_reading, bool text_mode, bool show_errors,
              const char* open_error, bool alternate_output, const char* own_name);
    bool IsOpenFor(bool reading, const char* own_name) const;
    bool Seek(int whence, const char* error_text, const char* own_name);

    bool m_open;
    bool m_for_reading;
    bool m_text_mode;
    FILE* m_stream;
};

// The whole file in a block from EngMalloc under owner's name, to be freed with EngFree; its length goes to
// *size. Null when it cannot be opened (reported) or read, is empty, or is longer than max_bytes.
unsigned char* EngFileReadWhole(const char* name, unsigned max_bytes, const char* owner, unsigned* size);
// True only for an existing regular file.
bool EngFileExists(const char* name, bool show_errors);
unsigned EngFileGetFileSize(const char* name, bool text_mode);
bool EngFileDelete(const char* name, bool show_errors);
bool EngFileDirectoryExists(const char* name);
bool EngFileCreateDirectory(const char* name, bool show_errors);
// Refuses to replace an existing target; across file systems the file is copied, then the source deleted.
bool EngFileMoveFile(const char* from, const char* to);
// Renames from over to, replacing it in one step (both in the same folder): the last step of a safe save.
// The folder is then flushed to the disk, so the rename outlives a power cut.
bool EngFileReplaceFile(const char* from, const char* to);
// The call that flushes an open file or folder to the disk (fsync); null puts fsync back. A seam for tests.
typedef int (*EngFileSyncFunc)(int descriptor);
void EngFileSetSyncFunc(EngFileSyncFunc sync);
// code is an errno value when use_given_code is set; otherwise the current errno is taken.
void EngFileOutputLastError(const char* own_name, const char* context, bool use_given_code, unsigned code,
                            bool alternate_output);

// The file-system form of an engine path: "\\" becomes "/", a relative path is put under the program's folder,
// and the text becomes UTF-8. False (and out empty) when it does not fit.
bool EngFileGetSystemPath(const char* name, char* out, int out_size);
// Opens a file-system path with the open(2) flags given and keeps it only when it is a regular file: a named
// pipe or a device is refused at once instead of blocking. -1 on failure, with errno telling why.
int EngFileOpenRegular(const char* path, int flags);
// The same as a standard stream, the flags told by an fopen mode ("r", "w" or "a" first).
FILE* EngFileOpenRegularStream(const char* path, const char* mode);
// The folder of the running executable, without a trailing separator ("." when it cannot be found).
const char* EngFileGetProgramFolder();
