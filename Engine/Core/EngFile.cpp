#include "Engine/Core/EngFile.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMemory.h"
#include "Engine/Core/EngString.h"

namespace {

constexpr int k_printf_buffer_size = 2058;
constexpr int k_error_text_size = 512;

EngFileSyncFunc g_sync = fsync;

const char* NameOrEmpty(const char* name)
{
    return name ? name : "";
}

bool IsEmpty(const char* name)
{
    return !name || !name[0];
}

bool StatPath(const char* name, struct stat* info)
{
    char path[PATH_MAX];
    return EngFileGetSystemPath(name, path, sizeof path) && stat(path, info) == 0;
}

bool PathExists(const char* name)
{
    struct stat info;
    return StatPath(name, &info);
}

int OpenFlagsFor(const char* mode)
{
    if (mode[0] == 'w')
        return O_WRONLY | O_CREAT | O_TRUNC;
    if (mode[0] == 'a')
        return O_WRONLY | O_CREAT | O_APPEND;
    return O_RDONLY;
}


bool CopyStream(FILE* in, FILE* out)
{
    char block[65536];
    size_t got;
    while ((got = fread(block, 1, sizeof block, in)) > 0) {
        if (fwrite(block, 1, got, out) != got)
            return false;
    }
    return !ferror(in);
}

// rename() cannot cross file systems: copy the bytes, then remove the source.
bool CopyThenDelete(const char* from_path, const char* to_path)
{
    FILE* in = EngFileOpenRegularStream(from_path, "rb");
    if (!in)
        return false;
    FILE* out = fopen(to_path, "wbx");
    if (!out) {
        fclose(in);
        return false;
    }
    bool ok = CopyStream(in, out);
    fclose(in);
    ok = (fclose(out) == 0) && ok;
    if (!ok) {
        unlink(to_path);
        return false;
    }
    return unlink(from_path) == 0;
}

bool SystemPaths(const char* from, const char* to, char (&from_path)[PATH_MAX], char (&to_path)[PATH_MAX])
{
    return EngFileGetSystemPath(from, from_path, PATH_MAX) && EngFileGetSystemPath(to, to_path, PATH_MAX);
}

// The folder holding a file-system path.
bool SyncFolderOf(const char* path)
{
    char folder[PATH_MAX];
    EngSafeStrcpy(folder, path, sizeof folder);
    char* slash = strrchr(folder, '/');
    if (!slash)
        EngSafeStrcpy(folder, ".", sizeof folder);
    else if (slash == folder)
        folder[1] = 0;
    else
        *slash = 0;
    int handle = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
    bool synced = g_sync(handle) == 0;
    close(handle);
    return synced;
}

bool FindProgramFolder(char* out, int size)
{
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return false;
    exe[n] = 0;
    char* slash = strrchr(exe, '/');
    if (!slash)
        return false;
    *slash = 0;
    if (exe[0] == 0)
        EngSafeStrcpy(exe, "/", sizeof exe);
    return snprintf(out, size, "%s", exe) < size;
}

} // namespace

const char* EngFileGetProgramFolder()
{
    static char folder[PATH_MAX];
    static const bool found = FindProgramFolder(folder, sizeof folder);
    return found ? folder : ".";
}

int EngFileOpenRegular(const char* path, int flags)
{
    // Without O_NONBLOCK, opening a named pipe waits for its other end, for ever if nobody comes.
    int handle = open(path, flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (handle < 0)
        return -1;
    struct stat info;
    if (fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(handle);
        errno = EINVAL;
        return -1;
    }
    int status = fcntl(handle, F_GETFL);
    if (status < 0 || fcntl(handle, F_SETFL, status & ~O_NONBLOCK) != 0) {
        close(handle);
        return -1;
    }
    return handle;
}

FILE* EngFileOpenRegularStream(const char* path, const char* mode)
{
    int handle = EngFileOpenRegular(path, OpenFlagsFor(mode));
    if (handle < 0)
        return nullptr;
    FILE* stream = fdopen(handle, mode);
    if (!stream)
        close(handle);
    return stream;
}

bool EngFileGetSystemPath(const char* name, char* out, int out_size)
{
    if (!out || out_size < 1)
        return false;
    out[0] = 0;
    if (IsEmpty(name))
        return false;
    char utf8[PATH_MAX];
    if (EngCodePageAnsiToUtf8(name, utf8, sizeof utf8) < 0)
        return false;
    for (char* p = utf8; *p; p++) {
        if (*p == '\\')
            *p = '/';
    }
    int n = utf8[0] == '/' ? snprintf(out, out_size, "%s", utf8)
                           : snprintf(out, out_size, "%s/%s", EngFileGetProgramFolder(), utf8);
    if (n < 0 || n >= out_size) {
        out[0] = 0;
        return false;
    }
    return true;
}

EngFile::EngFile() : m_open(false), m_for_reading(false), m_text_mode(false), m_stream(nullptr) {}

EngFile::~EngFile()
{
    Close();
}

bool EngFile::Open(const char* name, const char* mode, bool for_reading, bool text_mode, bool show_errors,
                   const char* open_error, bool alternate_output, const char* own_name)
{
    if (m_open) {
        DebugError(own_name, "File was already opened [%s]", NameOrEmpty(name));
        Close();
    }
    if (IsEmpty(name)) {
        if (show_errors)
            DebugError(own_name, "No filename specified");
        return false;
    }
    char path[PATH_MAX];
    FILE* stream = EngFileGetSystemPath(name, path, sizeof path) ? EngFileOpenRegularStream(path, mode) : nullptr;
    if (!stream) {
        if (show_errors && alternate_output)
            DebugErrorAlt(own_name, open_error, name);
        else if (show_errors)
            DebugError(own_name, open_error, name);
        return false;
    }
    m_stream = stream;
    m_open = true;
    m_for_reading = for_reading;
    m_text_mode = text_mode;
    return true;
}

bool EngFile::IsOpenFor(bool reading, const char* own_name) const
{
    if (!m_open) {
        DebugError(own_name, "File is not open");
        return false;
    }
    if (m_for_reading != reading) {
        DebugError(own_name, reading ? "File is not open for reading" : "File is not open for writing");
        return false;
    }
    return true;
}

bool EngFile::OpenForReading(const char* name, bool text_mode, bool show_errors)
{
    return Open(name, text_mode ? "rt" : "rb", true, text_mode, show_errors, "Could not open file <%s>", false,
                ENG_FUNC);
}

bool EngFile::OpenForReadingQuietly(const char* name, bool text_mode)
{
    return OpenForReading(name, text_mode, false);
}

bool EngFile::CreateForWriting(const char* name, bool text_mode)
{
    return Open(name, text_mode ? "wt" : "wb", false, text_mode, true, "Could not create file <%s>", false,
                ENG_FUNC);
}

bool EngFile::OpenForWriting(const char* name, bool text_mode)
{
    return Open(name, text_mode ? "wt" : "wb", false, text_mode, true, "Could not open or create file <%s>", true,
                ENG_FUNC);
}

bool EngFile::OpenForAppending(const char* name, bool text_mode)
{
    return Open(name, text_mode ? "at" : "ab", false, text_mode, true, "Could not open or create file <%s>", false,
                ENG_FUNC);
}

bool EngFile::Read(void* destination, int size, bool show_errors)
{
    if (!IsOpenFor(true, ENG_FUNC))
        return false;
    if (!destination) {
        DebugError(ENG_FUNC, "Nowhere to read to");
        return false;
    }
    if (size < 1) {
        DebugError(ENG_FUNC, "Invalid size %d", size);
        return false;
    }
    size_t got = fread(destination, 1, (size_t)size, m_stream);
    if (got == (size_t)size)
        return true;
    if (got == 0) {
        if (show_errors)
            DebugError(ENG_FUNC, "Could not read from file");
        return false;
    }
    DebugError(ENG_FUNC, "Problem reading from file [ read %u not %u ]", (unsigned)got, (unsigned)size);
    return false;
}

bool EngFile::Write(const void* source, unsigned size)
{
    if (!IsOpenFor(false, ENG_FUNC))
        return false;
    if (!source) {
        DebugError(ENG_FUNC, "Nowhere to write from");
        return false;
    }
    size_t written = size ? fwrite(source, 1, size, m_stream) : 0;
    if (written == 0) {
        DebugError(ENG_FUNC, "Could not write to file");
        return false;
    }
    if (!m_text_mode && written != size) {
        DebugError(ENG_FUNC, "Only wrote %u of %u bytes to file", (unsigned)written, size);
        return false;
    }
    return true;
}

bool EngFile::Printf(const char* format, ...)
{
    if (!IsOpenFor(false, ENG_FUNC))
        return false;
    char text[k_printf_buffer_size];
    va_list args;
    va_start(args, format);
    int n = format ? vsnprintf(text, sizeof text, format, args) : 0;
    va_end(args);
    if (n <= 0)
        return true;
    if (Write(text, (unsigned)strlen(text)))
        return true;
    DebugError(ENG_FUNC, "Could not write to file");
    return false;
}

bool EngFile::FlushToDisk()
{
    if (!IsOpenFor(false, ENG_FUNC))
        return false;
    if (fflush(m_stream) == 0 && g_sync(fileno(m_stream)) == 0)
        return true;
    EngFileOutputLastError(ENG_FUNC, "Could not flush file to the disk", false, 0, false);
    return false;
}

bool EngFile::Seek(int whence, const char* error_text, const char* own_name)
{
    if (!m_open) {
        DebugError(own_name, "File is not opened");
        return false;
    }
    if (fseek(m_stream, 0, whence) != 0) {
        DebugError(own_name, "%s", error_text);
        return false;
    }
    return true;
}

bool EngFile::Rewind()
{
    return Seek(SEEK_SET, "Error rewinding file", ENG_FUNC);
}

bool EngFile::MoveToEnd()
{
    return Seek(SEEK_END, "Error moving to end of file", ENG_FUNC);
}

unsigned EngFile::GetSize()
{
    if (!m_open) {
        DebugError(ENG_FUNC, "File is not opened");
        return 0;
    }
    long position = ftell(m_stream);
    long size = fseek(m_stream, 0, SEEK_END) == 0 ? ftell(m_stream) : -1;
    if (position >= 0)
        fseek(m_stream, position, SEEK_SET);
    if (size < 0 || position < 0) {
        DebugError(ENG_FUNC, "Problem getting size");
        return 0;
    }
    return (unsigned)size;
}

bool EngFile::Close()
{
    if (!m_open)
        return true;
    // Buffered data reaches the disk here: a failure means the file is incomplete.
    bool ok = fclose(m_stream) == 0;
    m_stream = nullptr;
    m_open = false;
    m_for_reading = false;
    m_text_mode = false;
    if (!ok)
        DebugError(ENG_FUNC, "Could not close file");
    return ok;
}

bool EngFileExists(const char* name, bool show_errors)
{
    if (IsEmpty(name)) {
        DebugError(ENG_FUNC, "No filename specified");
        return false;
    }
    EngFile file;
    if (file.OpenForReadingQuietly(name, false))
        return true;
    if (show_errors)
        DebugError(ENG_FUNC, "File not found: %s", name);
    return false;
}

unsigned EngFileGetFileSize(const char* name, bool text_mode)
{
    if (IsEmpty(name)) {
        DebugError(ENG_FUNC, "No filename specified");
        return 0;
    }
    EngFile file;
    if (!file.OpenForReading(name, text_mode, true)) {
        DebugError(ENG_FUNC, "Could not open file <%s>", name);
        return 0;
    }
    return file.GetSize();
}

unsigned char* EngFileReadWhole(const char* name, unsigned max_bytes, const char* owner, unsigned* size)
{
    *size = 0;
    EngFile in;
    if (!in.OpenForReading(name, false, true))
        return nullptr;
    unsigned length = in.GetSize();
    // Read takes an int.
    if (length == 0 || length > max_bytes || length > (unsigned)INT_MAX)
        return nullptr;
    unsigned char* data = (unsigned char*)EngMalloc(length, owner, false);
    if (!data)
        return nullptr;
    if (!in.Read(data, (int)length, true)) {
        EngFree(data, false, owner);
        return nullptr;
    }
    *size = length;
    return data;
}

bool EngFileDelete(const char* name, bool show_errors)
{
    if (IsEmpty(name)) {
        DebugError(ENG_FUNC, "No filename specified");
        return false;
    }
    char path[PATH_MAX];
    if (EngFileGetSystemPath(name, path, sizeof path) && unlink(path) == 0)
        return true;
    if (show_errors)
        DebugError(ENG_FUNC, "Deletion failed.");
    return false;
}

bool EngFileDirectoryExists(const char* name)
{
    if (IsEmpty(name)) {
        DebugError(ENG_FUNC, "No filename specified");
        return false;
    }
    struct stat info;
    return StatPath(name, &info) && S_ISDIR(info.st_mode);
}

bool EngFileCreateDirectory(const char* name, bool show_errors)
{
    if (IsEmpty(name)) {
        DebugError(ENG_FUNC, "No filename specified");
        return false;
    }
    char path[PATH_MAX];
    bool have_path = EngFileGetSystemPath(name, path, sizeof path);
    bool made = have_path && mkdir(path, 0755) == 0;
    // An existing directory is what the caller wants, not a failure.
    if (!made && !(have_path && errno == EEXIST) && show_errors)
        DebugError(ENG_FUNC, "Failed to create directory <%s>", name);
    if (EngFileDirectoryExists(name))
        return true;
    if (show_errors)
        DebugError(ENG_FUNC, "Directory was not created <%s>", name);
    return false;
}

bool EngFileMoveFile(const char* from, const char* to)
{
    if (IsEmpty(from) || IsEmpty(to)) {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    if (PathExists(to)) {
        DebugError(ENG_FUNC, "File <%s> exists", to);
        return false;
    }
    if (!EngFileExists(from, false)) {
        DebugError(ENG_FUNC, "File <%s> does not exist", from);
        return false;
    }
    char from_path[PATH_MAX];
    char to_path[PATH_MAX];
    if (SystemPaths(from, to, from_path, to_path) && rename(from_path, to_path) != 0 && errno == EXDEV)
        CopyThenDelete(from_path, to_path);
    if (!EngFileExists(to, false)) {
        DebugError(ENG_FUNC, "File was not moved: <%s> to <%s>", from, to);
        return false;
    }
    if (PathExists(from)) {
        DebugError(ENG_FUNC, "Existing file still exists: <%s> to <%s>", from, to);
        return false;
    }
    return true;
}

bool EngFileReplaceFile(const char* from, const char* to)
{
    if (IsEmpty(from) || IsEmpty(to)) {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    char from_path[PATH_MAX];
    char to_path[PATH_MAX];
    if (!SystemPaths(from, to, from_path, to_path)) {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    if (rename(from_path, to_path) != 0) {
        EngFileOutputLastError(ENG_FUNC, to, false, 0, false);
        return false;
    }
    // The new file is in place whatever happens now; a folder that cannot be flushed is only reported.
    if (!SyncFolderOf(to_path))
        EngFileOutputLastError(ENG_FUNC, "Could not flush the folder to the disk", false, 0, false);
    return true;
}

void EngFileSetSyncFunc(EngFileSyncFunc sync)
{
    g_sync = sync ? sync : fsync;
}

void EngFileOutputLastError(const char* own_name, const char* context, bool use_given_code, unsigned code,
                            bool alternate_output)
{
    if (!use_given_code)
        code = (unsigned)errno;
    context = NameOrEmpty(context);
    char* text = (char*)EngMalloc(k_error_text_size, "EngFileOutputLastError", true);
    if (text) {
        const char* system_text = strerror_r((int)code, text, k_error_text_size - 1);
        if (system_text != text)
            EngSafeStrcpy(text, system_text, k_error_text_size);
        if (strncmp(text, "Unknown error", 13) == 0)
            text[0] = 0;
    }
    void (*report)(const char*, const char*, ...) = alternate_output ? DebugErrorAlt : DebugError;
    if (text && text[0] && !IsEmpty(own_name))
        report(own_name, "%s: Error 0x%x: %s", context, code, text);
    else if (text && text[0])
        report(context, "Error 0x%x: %s", code, text);
    else if (!IsEmpty(own_name))
        report(own_name, "%s: Unknown error 0x%x", context, code);
    else
        report(context, "Unknown error 0x%x", code);
    EngFree(text, false, "EngFileOutputLastError");
}
