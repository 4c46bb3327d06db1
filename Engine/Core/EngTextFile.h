#pragma once

// Line-oriented text files in ANSI (Windows-1252), UTF-16LE, UTF-16BE or UTF-8.
// Every line handed out is narrow text in the chosen code page; results are
// 0 success, -1 end of file, -2 error (already logged).

#include "Engine/Core/EngTypes.h"

enum _TextFileEncoding
{
    TEXTFILE_ENCODING_DETECT = 0,
    TEXTFILE_ENCODING_ANSI = 1,
    TEXTFILE_ENCODING_UTF16LE = 2,
    TEXTFILE_ENCODING_UTF16BE = 3,
    TEXTFILE_ENCODING_UTF8 = 4,
};

enum _TextFileMode
{
    TEXTFILE_MODE_CLOSED = 0,
    TEXTFILE_MODE_READ = 1,
    TEXTFILE_MODE_CREATE = 2,
    TEXTFILE_MODE_APPEND = 3,
};

constexpr int TEXTFILE_OK = 0;
constexpr int TEXTFILE_EOF = -1;
constexpr int TEXTFILE_ERROR = -2;
constexpr int TEXTFILE_DEFAULT_BUFFER_SIZE = 4096;
constexpr int TEXTFILE_INVALID_HANDLE = -1;
// Longer lines (in characters) are handed out cut one character past this, so a caller still sees them as
// too long, and the rest of such a line is skipped without being collected.
constexpr unsigned TEXTFILE_MAX_LINE_LENGTH = 65536;

// A growable block with its header in front: "BDSG", capacity in bytes (a multiple of
// 1,024) and the length in use. Requests that fit only move the length.
class TextFileGrowableBuffer
{
public:
    TextFileGrowableBuffer() = default;
    ~TextFileGrowableBuffer();
    TextFileGrowableBuffer(const TextFileGrowableBuffer&) = delete;
    TextFileGrowableBuffer& operator=(const TextFileGrowableBuffer&) = delete;

    bool Reserve(unsigned bytes);             // keeps the content; false when out of memory
    bool Append(const void* data, unsigned bytes);
    bool AppendByte(EngUInt8 byte);
    void SetLength(unsigned bytes) { if (block) Header()->length = bytes <= Header()->capacity ? bytes : Header()->capacity; }
    unsigned GetLength() const { return block ? Header()->length : 0; }
    unsigned GetCapacity() const { return block ? Header()->capacity : 0; }
    EngUInt8* GetData() { return block ? block + sizeof(_Header) : nullptr; }

private:
    struct _Header
    {
        char magic[4];
        unsigned capacity;
        unsigned length;
    };
    _Header* Header() const { return reinterpret_cast<_Header*>(block); }

    EngUInt8* block = nullptr;
};

// Decodes one line of a file; the base class reads nothing (an empty file).
class TextFileReader
{
public:
    TextFileReader(const char* file_name, int handle, int buffer_size);
    virtual ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // Discards carriage returns and the first other character after them.
    virtual int SkipLineEnd();
    // Hands out the next line (without its line end) as narrow text of the code page,
    // valid until the next call. used_default is set when a character had no equivalent.
    virtual int ReadLine(char** line, unsigned code_page, const char* default_char, bool* used_default);

    int FillBuffer();
    bool IsValid() const { return buffer != nullptr; }

protected:
    // 8-bit line scan shared by the ANSI and UTF-8 readers; bytes past max_bytes are skipped.
    int ReadByteLine(TextFileGrowableBuffer* out, unsigned max_bytes);
    int SkipByteLineEnd();
    // 16-bit line scan of the UTF-16 readers; an odd last byte becomes U+FFFD.
    int ReadUnitLine(TextFileGrowableBuffer* out, bool big_endian);
    int ReadUnit(EngUInt16* unit, bool big_endian);
    int ReadByte(EngUInt8* byte);
    // Converts UTF-16 units to narrow text of the code page into line_buffer.
    int ConvertUnitsToLine(TextFileGrowableBuffer* units, char** line, const char* default_char, bool* used_default);

    char* file_name = nullptr;
    int handle = TEXTFILE_INVALID_HANDLE;
    int buffer_size = TEXTFILE_DEFAULT_BUFFER_SIZE;
    EngUInt8* buffer = nullptr;
    int read_pos = 0;
    int bytes_in_buffer = 0;
    bool end_of_file = false;
    TextFileGrowableBuffer line_buffer; // the finished narrow line
};

class ANSI_TextFileReader : public TextFileReader
{
public:
    using TextFileReader::TextFileReader;
    int SkipLineEnd() override { return SkipByteLineEnd(); }
    int ReadLine(char** line, unsigned code_page, const char* default_char, bool* used_default) override;
};

class UTF16LE_TextFileReader : public TextFileReader
{
public:
    using TextFileReader::TextFileReader;
    int SkipLineEnd() override;
    int ReadLine(char** line, unsigned code_page, const char* default_char, bool* used_default) override;

protected:
    virtual bool IsBigEndian() const { return false; }
    TextFileGrowableBuffer unit_line; // UTF-16 units of the line
};

class UTF16BE_TextFileReader : public UTF16LE_TextFileReader
{
public:
    using UTF16LE_TextFileReader::UTF16LE_TextFileReader;

protected:
    bool IsBigEndian() const override { return true; }
};

class UTF8_TextFileReader : public TextFileReader
{
public:
    using TextFileReader::TextFileReader;
    int SkipLineEnd() override { return SkipByteLineEnd(); }
    int ReadLine(char** line, unsigned code_page, const char* default_char, bool* used_default) override;

private:
    TextFileGrowableBuffer byte_line; // raw UTF-8 bytes of the line
    TextFileGrowableBuffer unit_line; // the line decoded to UTF-16
};

// Encodes narrow text of the code page into the file's encoding.
class TextFileWriter
{
public:
    TextFileWriter(const char* file_name, int handle, int buffer_size);
    virtual ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    virtual int WriteChar(char c);
    virtual int WriteString(const char* text, int length);
    virtual int WriteByteOrderMark();

    int Flush();
    bool IsValid() const { return buffer != nullptr; }

protected:
    int WriteBytes(const void* data, int count);
    // Narrow text of the code page to UTF-16 units in unit_buffer; returns the unit count or -2.
    int ConvertToUnits(const char* text, int length);

    char* file_name = nullptr;
    int handle = TEXTFILE_INVALID_HANDLE;
    int buffer_size = TEXTFILE_DEFAULT_BUFFER_SIZE;
    EngUInt8* buffer = nullptr;
    int pending = 0;
    TextFileGrowableBuffer unit_buffer;
};

class ANSI_TextFileWriter : public TextFileWriter
{
public:
    using TextFileWriter::TextFileWriter;
    int WriteChar(char c) override;
    int WriteString(const char* text, int length) override;
    int WriteByteOrderMark() override;
};

class UTF16LE_TextFileWriter : public TextFileWriter
{
public:
    using TextFileWriter::TextFileWriter;
    int WriteChar(char c) override;
    int WriteString(const char* text, int length) override;
    int WriteByteOrderMark() override;

protected:
    virtual bool IsBigEndian() const { return false; }
};

class UTF16BE_TextFileWriter : public UTF16LE_TextFileWriter
{
public:
    using UTF16LE_TextFileWriter::UTF16LE_TextFileWriter;

protected:
    bool IsBigEndian() const override { return true; }
};

class UTF8_TextFileWriter : public TextFileWriter
{
public:
    using TextFileWriter::TextFileWriter;
    int WriteChar(char c) override;
    int WriteString(const char* text, int length) override;
    int WriteByteOrderMark() override;
};

class TextFile
{
public:
    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // mode: _TextFileMode; encoding: _TextFileEncoding (0 detects when reading, means ANSI when writing);
    // buffer_size 0 means 4,096.
    int Open(const char* name, int mode, int encoding, int buffer_size);
    int ReadLine(char** line, bool* used_default);
    // Writes the pending byte-order mark first; length -1 takes the whole string.
    int WriteString(const char* text, int length = -1);
    int WriteChar(char c);
    int Flush();
    int Close();

    // 0 means the system ANSI code page; Windows-1252 (0 or 1252) is the only one the engine knows.
    bool SetCodePage(unsigned page);
    // The character written for characters the code page cannot show; null for the system's.
    bool SetDefaultChar(const char* c);

    int GetMode() const { return mode; }
    int GetEncoding() const { return encoding; }
    bool IsOpen() const { return mode != TEXTFILE_MODE_CLOSED; }

private:
    int OpenForReading();
    int DetectEncoding();
    int OpenForWriting();
    int WritePendingByteOrderMark();

    char* name = nullptr;
    int mode = TEXTFILE_MODE_CLOSED;
    int encoding = TEXTFILE_ENCODING_DETECT;
    int requested_encoding = TEXTFILE_ENCODING_DETECT;
    int buffer_size = 0;
    int handle = TEXTFILE_INVALID_HANDLE;
    TextFileReader* reader = nullptr;
    TextFileWriter* writer = nullptr;
    bool byte_order_mark_pending = false;
    unsigned code_page = 0;
    char* default_char = nullptr;
};

// Reads one byte: 0..255, -1 at end of file, -2 on error (logged under file_name).
int read_1_byte(const char* file_name, int handle);
