#include "Engine/Core/EngTextFile.h"

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"
#include "Engine/Core/EngMemory.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr unsigned k_grow_step = 1024;
// The largest capacity, a whole number of steps that an unsigned holds with the header beside it.
constexpr unsigned long long k_max_capacity = 0x7FFFFC00ull;
// A line is collected up to here; the rest of a longer one is skipped.
constexpr unsigned k_kept_line_length = TEXTFILE_MAX_LINE_LENGTH + 1;
constexpr unsigned k_kept_line_bytes16 = k_kept_line_length * sizeof(char16_t);
// A character of UTF-8 takes at most four bytes.
constexpr unsigned k_kept_line_bytes8 = k_kept_line_length * 4;
constexpr int k_path_size = 4096;
constexpr char16_t k_replacement = 0xFFFD;
constexpr unsigned k_windows_1252 = 1252;

const char* SystemText(int error)
{
    const char* text = std::strerror(error);
    return text ? text : "";
}

const char* NameOrEmpty(const char* text)
{
    return text ? text : "";
}

int ReportIoError(const char* own_name, const char* what, const char* file_name, int error)
{
    DebugError(own_name, "%s (%lu %s %s)", what, (unsigned long)error, NameOrEmpty(file_name), SystemText(error));
    return TEXTFILE_ERROR;
}

int BufferSizeOrDefault(int size)
{
    return size > 0 ? size : TEXTFILE_DEFAULT_BUFFER_SIZE;
}

char DefaultCharOf(const char* default_char)
{
    return default_char && default_char[0] ? default_char[0] : '?';
}

void CutLine(TextFileGrowableBuffer* line, unsigned max_bytes)
{
    if (line->GetLength() > max_bytes)
        line->SetLength(max_bytes);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Growable buffer

TextFileGrowableBuffer::~TextFileGrowableBuffer()
{
    if (block)
        EngFree(block, false, ENG_FUNC);
}

bool TextFileGrowableBuffer::Reserve(unsigned bytes)
{
    if (block && bytes <= Header()->capacity)
        return true;
    // At least doubling keeps a line that grows piece by piece linear in its length.
    unsigned long long wanted = bytes;
    if (block && wanted < 2ull * Header()->capacity)
        wanted = 2ull * Header()->capacity;
    wanted = wanted == 0 ? k_grow_step : (wanted + k_grow_step - 1) / k_grow_step * k_grow_step;
    if (wanted > k_max_capacity)
        return false;
    unsigned capacity = (unsigned)wanted;
    EngUInt8* grown = (EngUInt8*)EngMalloc(sizeof(_Header) + capacity, ENG_FUNC, false);
    if (!grown)
        return false;
    _Header* header = reinterpret_cast<_Header*>(grown);
    std::memcpy(header->magic, "BDSG", 4);
    header->capacity = capacity;
    header->length = 0;
    if (block) {
        header->length = Header()->length;
        std::memcpy(grown + sizeof(_Header), GetData(), header->length);
        EngFree(block, false, ENG_FUNC);
    }
    block = grown;
    return true;
}

bool TextFileGrowableBuffer::Append(const void* data, unsigned bytes)
{
    unsigned length = GetLength();
    if (!Reserve(length + bytes))
        return false;
    std::memcpy(GetData() + length, data, bytes);
    Header()->length = length + bytes;
    return true;
}

bool TextFileGrowableBuffer::AppendByte(EngUInt8 byte)
{
    return Append(&byte, 1);
}

// ---------------------------------------------------------------------------------------------------------
// Readers

TextFileReader::TextFileReader(const char* name, int file_handle, int size)
    : handle(file_handle), buffer_size(BufferSizeOrDefault(size))
{
    file_name = EngMallocStringFromString(name, false, ENG_FUNC);
    buffer = (EngUInt8*)EngMalloc((unsigned)buffer_size, ENG_FUNC, false);
}

TextFileReader::~TextFileReader()
{
    if (buffer)
        EngFree(buffer, false, ENG_FUNC);
    if (file_name)
        EngFree(file_name, false, ENG_FUNC);
}

int TextFileReader::SkipLineEnd()
{
    return TEXTFILE_EOF;
}

int TextFileReader::ReadLine(char**, unsigned, const char*, bool*)
{
    return TEXTFILE_EOF;
}

int TextFileReader::FillBuffer()
{
    if (read_pos < bytes_in_buffer)
        return TEXTFILE_OK;
    if (end_of_file)
        return TEXTFILE_EOF;
    ssize_t got;
    do {
        got = read(handle, buffer, (size_t)buffer_size);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return ReportIoError(ENG_FUNC, "FileReadError", file_name, errno);
    read_pos = 0;
    bytes_in_buffer = (int)got;
    if (got == 0) {
        end_of_file = true;
        return TEXTFILE_EOF;
    }
    return TEXTFILE_OK;
}

int TextFileReader::ReadByte(EngUInt8* byte)
{
    int result = FillBuffer();
    if (result != TEXTFILE_OK)
        return result;
    *byte = buffer[read_pos++];
    return TEXTFILE_OK;
}

int TextFileReader::ReadByteLine(TextFileGrowableBuffer* out, unsigned max_bytes)
{
    out->SetLength(0);
    bool scanned = false;
    for (;;) {
        int result = FillBuffer();
        if (result == TEXTFILE_ERROR)
            return result;
        if (result == TEXTFILE_EOF) {
            CutLine(out, max_bytes);
            return scanned ? TEXTFILE_OK : TEXTFILE_EOF;
        }
        const EngUInt8* start = buffer + read_pos;
        int available = bytes_in_buffer - read_pos;
        const EngUInt8* line_feed = (const EngUInt8*)std::memchr(start, 0x0A, (size_t)available);
        int take = line_feed ? (int)(line_feed - start) : available;
        // One byte past the limit is kept, for the carriage return that may end the line.
        unsigned length = out->GetLength();
        unsigned room = length <= max_bytes ? max_bytes + 1 - length : 0;
        unsigned kept = (unsigned)take < room ? (unsigned)take : room;
        if (kept > 0 && !out->Append(start, kept))
            return TEXTFILE_ERROR;
        read_pos += take;
        scanned = true;
        if (line_feed) {
            read_pos++;
            // The carriage return may have ended the previous buffer fill.
            length = out->GetLength();
            if (length > 0 && out->GetData()[length - 1] == 0x0D)
                out->SetLength(length - 1);
            CutLine(out, max_bytes);
            return TEXTFILE_OK;
        }
    }
}

int TextFileReader::SkipByteLineEnd()
{
    EngUInt8 byte = 0x0D;
    int result = TEXTFILE_OK;
    while (result == TEXTFILE_OK && byte == 0x0D)
        result = ReadByte(&byte);
    return result;
}

int TextFileReader::ReadUnit(EngUInt16* unit, bool big_endian)
{
    EngUInt8 first = 0;
    EngUInt8 second = 0;
    int result = ReadByte(&first);
    if (result != TEXTFILE_OK)
        return result;
    result = ReadByte(&second);
    if (result == TEXTFILE_ERROR)
        return result;
    if (result == TEXTFILE_EOF) {
        // An odd byte count: the broken last unit is replaced, not trusted.
        *unit = k_replacement;
        return TEXTFILE_OK;
    }
    *unit = big_endian ? (EngUInt16)((first << 8) | second) : (EngUInt16)((second << 8) | first);
    return TEXTFILE_OK;
}

int TextFileReader::ReadUnitLine(TextFileGrowableBuffer* out, bool big_endian)
{
    out->SetLength(0);
    bool scanned = false;
    for (;;) {
        EngUInt16 unit = 0;
        int result = ReadUnit(&unit, big_endian);
        if (result == TEXTFILE_ERROR)
            return result;
        if (result == TEXTFILE_EOF) {
            CutLine(out, k_kept_line_bytes16);
            return scanned ? TEXTFILE_OK : TEXTFILE_EOF;
        }
        scanned = true;
        if (unit == 0x000A) {
            unsigned length = out->GetLength();
            if (length >= 2 && ((char16_t*)out->GetData())[length / 2 - 1] == 0x000D)
                out->SetLength(length - 2);
            CutLine(out, k_kept_line_bytes16);
            return TEXTFILE_OK;
        }
        // One unit past the limit is kept, for the carriage return that may end the line.
        char16_t value = unit;
        if (out->GetLength() <= k_kept_line_bytes16 && !out->Append(&value, sizeof(value)))
            return TEXTFILE_ERROR;
    }
}

int TextFileReader::ConvertUnitsToLine(TextFileGrowableBuffer* units, char** line, const char* default_char,
                                       bool* used_default)
{
    int count = (int)(units->GetLength() / sizeof(char16_t));
    unsigned size = (unsigned)count * 2 + 1;
    if (!line_buffer.Reserve(size))
        return TEXTFILE_ERROR;
    bool used = false;
    // An empty line may have no units stored at all.
    const char16_t* text = count > 0 ? (const char16_t*)units->GetData() : u"";
    int written = EngCodePageUtf16ToAnsi(text, count, (char*)line_buffer.GetData(), (int)size,
                                         DefaultCharOf(default_char), &used);
    if (written < 0) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return TEXTFILE_ERROR;
    }
    line_buffer.SetLength((unsigned)written);
    if (used_default && used)
        *used_default = true;
    *line = (char*)line_buffer.GetData();
    return TEXTFILE_OK;
}

int ANSI_TextFileReader::ReadLine(char** line, unsigned, const char*, bool*)
{
    int result = ReadByteLine(&line_buffer, k_kept_line_length);
    if (result != TEXTFILE_OK)
        return result;
    if (!line_buffer.AppendByte(0))
        return TEXTFILE_ERROR;
    *line = (char*)line_buffer.GetData();
    return TEXTFILE_OK;
}

int UTF16LE_TextFileReader::SkipLineEnd()
{
    EngUInt16 unit = 0x000D;
    int result = TEXTFILE_OK;
    while (result == TEXTFILE_OK && unit == 0x000D)
        result = ReadUnit(&unit, IsBigEndian());
    return result;
}

int UTF16LE_TextFileReader::ReadLine(char** line, unsigned, const char* default_char, bool* used_default)
{
    int result = ReadUnitLine(&unit_line, IsBigEndian());
    if (result != TEXTFILE_OK)
        return result;
    return ConvertUnitsToLine(&unit_line, line, default_char, used_default);
}

int UTF8_TextFileReader::ReadLine(char** line, unsigned, const char* default_char, bool* used_default)
{
    int result = ReadByteLine(&byte_line, k_kept_line_bytes8);
    if (result != TEXTFILE_OK)
        return result;
    if (!byte_line.AppendByte(0))
        return TEXTFILE_ERROR;
    unit_line.SetLength(0);
    // Malformed and cut-off sequences decode to U+FFFD; the terminator bounds every sequence.
    const char* text = (const char*)byte_line.GetData();
    while (*text && unit_line.GetLength() < k_kept_line_bytes16) {
        unsigned value = EngCodePageDecodeUtf8(&text);
        char16_t units[2] = {(char16_t)value, 0};
        int count = 1;
        if (value > 0xFFFF) {
            units[0] = (char16_t)(0xD800 + ((value - 0x10000) >> 10));
            units[1] = (char16_t)(0xDC00 + (value & 0x3FF));
            count = 2;
        }
        if (!unit_line.Append(units, (unsigned)count * sizeof(char16_t)))
            return TEXTFILE_ERROR;
    }
    return ConvertUnitsToLine(&unit_line, line, default_char, used_default);
}

int read_1_byte(const char* file_name, int handle)
{
    EngUInt8 byte = 0;
    ssize_t got;
    do {
        got = read(handle, &byte, 1);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return ReportIoError(ENG_FUNC, "FileReadError", file_name, errno);
    return got == 0 ? TEXTFILE_EOF : byte;
}

// ---------------------------------------------------------------------------------------------------------
// Writers

TextFileWriter::TextFileWriter(const char* name, int file_handle, int size)
    : handle(file_handle), buffer_size(BufferSizeOrDefault(size))
{
    file_name = EngMallocStringFromString(name, false, ENG_FUNC);
    buffer = (EngUInt8*)EngMalloc((unsigned)buffer_size, ENG_FUNC, false);
}

TextFileWriter::~TextFileWriter()
{
    if (buffer)
        EngFree(buffer, false, ENG_FUNC);
    if (file_name)
        EngFree(file_name, false, ENG_FUNC);
}

int TextFileWriter::WriteChar(char)
{
    return TEXTFILE_ERROR;
}

int TextFileWriter::WriteString(const char*, int)
{
    return TEXTFILE_ERROR;
}

int TextFileWriter::WriteByteOrderMark()
{
    return TEXTFILE_OK;
}

int TextFileWriter::Flush()
{
    int done = 0;
    while (done < pending) {
        ssize_t put = write(handle, buffer + done, (size_t)(pending - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            int error = put < 0 ? errno : EIO;
            // Keep what was not written, so a later flush does not write it twice.
            std::memmove(buffer, buffer + done, (size_t)(pending - done));
            pending -= done;
            return ReportIoError(ENG_FUNC, "FileWriteError", file_name, error);
        }
        done += (int)put;
    }
    pending = 0;
    return TEXTFILE_OK;
}

int TextFileWriter::WriteBytes(const void* data, int count)
{
    const EngUInt8* bytes = (const EngUInt8*)data;
    while (count > 0) {
        if (pending == buffer_size && Flush() != TEXTFILE_OK)
            return TEXTFILE_ERROR;
        int take = buffer_size - pending < count ? buffer_size - pending : count;
        std::memcpy(buffer + pending, bytes, (size_t)take);
        pending += take;
        bytes += take;
        count -= take;
    }
    return TEXTFILE_OK;
}

int TextFileWriter::ConvertToUnits(const char* text, int length)
{
    unsigned bytes = ((unsigned)length + 1) * sizeof(char16_t);
    if (!unit_buffer.Reserve(bytes))
        return TEXTFILE_ERROR;
    int count = EngCodePageAnsiToUtf16(text, length, (char16_t*)unit_buffer.GetData(), length + 1);
    if (count < 0) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return TEXTFILE_ERROR;
    }
    unit_buffer.SetLength((unsigned)count * sizeof(char16_t));
    return count;
}

int ANSI_TextFileWriter::WriteChar(char c)
{
    return WriteBytes(&c, 1);
}

int ANSI_TextFileWriter::WriteString(const char* text, int length)
{
    return WriteBytes(text, length);
}

int ANSI_TextFileWriter::WriteByteOrderMark()
{
    return TEXTFILE_OK;
}

int UTF16LE_TextFileWriter::WriteChar(char c)
{
    return WriteString(&c, 1);
}

int UTF16LE_TextFileWriter::WriteString(const char* text, int length)
{
    int count = ConvertToUnits(text, length);
    if (count < 0)
        return TEXTFILE_ERROR;
    const char16_t* units = (const char16_t*)unit_buffer.GetData();
    for (int i = 0; i < count; i++) {
        EngUInt8 low = (EngUInt8)(units[i] & 0xFF);
        EngUInt8 high = (EngUInt8)(units[i] >> 8);
        EngUInt8 pair[2] = {IsBigEndian() ? high : low, IsBigEndian() ? low : high};
        if (WriteBytes(pair, 2) != TEXTFILE_OK)
            return TEXTFILE_ERROR;
    }
    return TEXTFILE_OK;
}

int UTF16LE_TextFileWriter::WriteByteOrderMark()
{
    static const EngUInt8 k_le[2] = {0xFF, 0xFE};
    static const EngUInt8 k_be[2] = {0xFE, 0xFF};
    return WriteBytes(IsBigEndian() ? k_be : k_le, 2);
}

int UTF8_TextFileWriter::WriteChar(char c)
{
    if (c == 0)
        return WriteBytes(&c, 1);
    // The same code page as the readers, so every character survives a round trip.
    char narrow[2] = {c, 0};
    char encoded[8];
    int count = EngCodePageAnsiToUtf8(narrow, encoded, (int)sizeof(encoded));
    if (count < 0) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_IERR);
        return TEXTFILE_ERROR;
    }
    return WriteBytes(encoded, count);
}

int UTF8_TextFileWriter::WriteString(const char* text, int length)
{
    for (int i = 0; i < length; i++) {
        if (WriteChar(text[i]) != TEXTFILE_OK)
            return TEXTFILE_ERROR;
    }
    return TEXTFILE_OK;
}

int UTF8_TextFileWriter::WriteByteOrderMark()
{
    static const EngUInt8 k_mark[3] = {0xEF, 0xBB, 0xBF};
    return WriteBytes(k_mark, 3);
}

// ---------------------------------------------------------------------------------------------------------
// TextFile

TextFile::~TextFile()
{
    Close();
    SetDefaultChar(nullptr);
}

bool TextFile::SetCodePage(unsigned page)
{
    if (page != 0 && page != k_windows_1252) {
        DebugError(ENG_FUNC, "Unsupported code page %u", page);
        return false;
    }
    code_page = page;
    return true;
}

bool TextFile::SetDefaultChar(const char* c)
{
    if (default_char)
        EngFree(default_char, false, ENG_FUNC);
    default_char = nullptr;
    if (!c || !c[0])
        return true;
    default_char = EngMallocStringFromString(c, true, ENG_FUNC);
    return default_char != nullptr;
}

int TextFile::Open(const char* file_name, int open_mode, int file_encoding, int size)
{
    if (!file_name || !file_name[0] || open_mode < TEXTFILE_MODE_READ || open_mode > TEXTFILE_MODE_APPEND) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_BAPA);
        return TEXTFILE_ERROR;
    }
    Close();
    name = EngMallocStringFromString(file_name, true, ENG_FUNC);
    if (!name)
        return TEXTFILE_ERROR;
    requested_encoding = file_encoding;
    buffer_size = size;
    mode = open_mode;
    int result = mode == TEXTFILE_MODE_READ ? OpenForReading() : OpenForWriting();
    if (result != TEXTFILE_OK)
        Close();
    return result;
}

int TextFile::OpenForReading()
{
    char path[k_path_size];
    if (!EngFileGetSystemPath(name, path, (int)sizeof(path)))
        return ReportIoError(ENG_FUNC, "OpenFileError", name, ENAMETOOLONG);
    handle = EngFileOpenRegular(path, O_RDONLY);
    if (handle < 0)
        return ReportIoError(ENG_FUNC, "OpenFileError", name, errno);
    encoding = TEXTFILE_ENCODING_ANSI;
    if (requested_encoding != TEXTFILE_ENCODING_ANSI) {
        int result = DetectEncoding();
        if (result != TEXTFILE_OK)
            return result;
    }
    switch (encoding) {
    case TEXTFILE_ENCODING_DETECT:
        reader = new (std::nothrow) TextFileReader(name, handle, buffer_size);
        break;
    case TEXTFILE_ENCODING_UTF16LE:
        reader = new (std::nothrow) UTF16LE_TextFileReader(name, handle, buffer_size);
        break;
    case TEXTFILE_ENCODING_UTF16BE:
        reader = new (std::nothrow) UTF16BE_TextFileReader(name, handle, buffer_size);
        break;
    case TEXTFILE_ENCODING_UTF8:
        reader = new (std::nothrow) UTF8_TextFileReader(name, handle, buffer_size);
        break;
    default:
        reader = new (std::nothrow) ANSI_TextFileReader(name, handle, buffer_size);
        break;
    }
    if (!reader || !reader->IsValid()) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return TEXTFILE_ERROR;
    }
    return TEXTFILE_OK;
}

int TextFile::DetectEncoding()
{
    int first = read_1_byte(name, handle);
    if (first < TEXTFILE_EOF)
        return TEXTFILE_ERROR;
    if (first == TEXTFILE_EOF) {
        encoding = TEXTFILE_ENCODING_DETECT; // an empty file: the plain reader reports end of file
        return TEXTFILE_OK;
    }
    static const EngUInt8 k_marks[3][3] = {{0xFF, 0xFE, 0}, {0xFE, 0xFF, 0}, {0xEF, 0xBB, 0xBF}};
    static const int k_mark_lengths[3] = {2, 2, 3};
    static const int k_mark_encodings[3] = {TEXTFILE_ENCODING_UTF16LE, TEXTFILE_ENCODING_UTF16BE,
                                            TEXTFILE_ENCODING_UTF8};
    for (int m = 0; m < 3; m++) {
        if (first != k_marks[m][0])
            continue;
        int i = 1;
        for (; i < k_mark_lengths[m]; i++) {
            int next = read_1_byte(name, handle);
            if (next == TEXTFILE_ERROR)
                return TEXTFILE_ERROR;
            if (next != k_marks[m][i])
                break;
        }
        if (i == k_mark_lengths[m]) {
            encoding = k_mark_encodings[m];
            return TEXTFILE_OK;
        }
        break;
    }
    // No mark (or a broken one): the whole file is ANSI from its first byte.
    if (lseek(handle, 0, SEEK_SET) < 0)
        return ReportIoError(ENG_FUNC, "FileReadError", name, errno);
    encoding = TEXTFILE_ENCODING_ANSI;
    return TEXTFILE_OK;
}

int TextFile::OpenForWriting()
{
    char path[k_path_size];
    if (!EngFileGetSystemPath(name, path, (int)sizeof(path)))
        return ReportIoError(ENG_FUNC, "OpenFileForWritingError", name, ENAMETOOLONG);
    handle = EngFileOpenRegular(path, O_WRONLY | O_CREAT | (mode == TEXTFILE_MODE_CREATE ? O_TRUNC : 0));
    if (handle < 0)
        return ReportIoError(ENG_FUNC, "OpenFileForWritingError", name, errno);
    encoding = requested_encoding == TEXTFILE_ENCODING_DETECT ? TEXTFILE_ENCODING_ANSI : requested_encoding;
    byte_order_mark_pending = true;
    if (mode == TEXTFILE_MODE_APPEND) {
        off_t end = lseek(handle, 0, SEEK_END);
        if (end < 0)
            return ReportIoError(ENG_FUNC, "OpenFileForWritingError", name, errno);
        byte_order_mark_pending = end == 0;
    }
    switch (encoding) {
    case TEXTFILE_ENCODING_UTF16LE:
        writer = new (std::nothrow) UTF16LE_TextFileWriter(name, handle, buffer_size);
        break;
    case TEXTFILE_ENCODING_UTF16BE:
        writer = new (std::nothrow) UTF16BE_TextFileWriter(name, handle, buffer_size);
        break;
    case TEXTFILE_ENCODING_UTF8:
        writer = new (std::nothrow) UTF8_TextFileWriter(name, handle, buffer_size);
        break;
    default:
        encoding = TEXTFILE_ENCODING_ANSI;
        writer = new (std::nothrow) ANSI_TextFileWriter(name, handle, buffer_size);
        break;
    }
    if (!writer || !writer->IsValid()) {
        DebugErrorByCode(ENG_FUNC, DEBUG_CODE_OMEM);
        return TEXTFILE_ERROR;
    }
    return TEXTFILE_OK;
}

int TextFile::ReadLine(char** line, bool* used_default)
{
    if (used_default)
        *used_default = false;
    if (!line)
        return TEXTFILE_ERROR;
    *line = nullptr;
    if (mode != TEXTFILE_MODE_READ || !reader)
        return TEXTFILE_EOF;
    return reader->ReadLine(line, code_page, default_char, used_default);
}

int TextFile::WritePendingByteOrderMark()
{
    if (!byte_order_mark_pending)
        return TEXTFILE_OK;
    byte_order_mark_pending = false;
    return writer->WriteByteOrderMark();
}

int TextFile::WriteString(const char* text, int length)
{
    if (!writer) {
        DebugError(ENG_FUNC, "File not open for writing <%s>", NameOrEmpty(name));
        return TEXTFILE_ERROR;
    }
    if (!text)
        return TEXTFILE_ERROR;
    if (WritePendingByteOrderMark() != TEXTFILE_OK)
        return TEXTFILE_ERROR;
    return writer->WriteString(text, length < 0 ? (int)std::strlen(text) : length);
}

int TextFile::WriteChar(char c)
{
    if (!writer) {
        DebugError(ENG_FUNC, "File not open for writing <%s>", NameOrEmpty(name));
        return TEXTFILE_ERROR;
    }
    if (WritePendingByteOrderMark() != TEXTFILE_OK)
        return TEXTFILE_ERROR;
    return writer->WriteChar(c);
}

int TextFile::Flush()
{
    return writer ? writer->Flush() : TEXTFILE_OK;
}

int TextFile::Close()
{
    int result = Flush();
    if (handle >= 0 && close(handle) != 0 && result == TEXTFILE_OK)
        result = ReportIoError(ENG_FUNC, "FileWriteError", name, errno);
    handle = TEXTFILE_INVALID_HANDLE;
    mode = TEXTFILE_MODE_CLOSED;
    delete reader;
    reader = nullptr;
    delete writer;
    writer = nullptr;
    byte_order_mark_pending = false;
    if (name)
        EngFree(name, false, ENG_FUNC);
    name = nullptr;
    return result;
}
