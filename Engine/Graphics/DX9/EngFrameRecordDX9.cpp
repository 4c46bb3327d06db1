#include "Engine/Graphics/DX9/EngFrameRecordDX9.h"

#include <cstdint>
#include <cstring>

namespace {

// Each call: its kind (1 byte), the size of what follows (4 bytes), then its arguments.
constexpr size_t kHeaderSize = 1 + sizeof(uint32_t);

} // namespace

void EngFrameRecordDX9::Add(Op op, const void *args, size_t size, const void *extra, size_t extra_size)
{
    const size_t at = bytes.size();
    const uint32_t total = (uint32_t)(size + extra_size);
    bytes.resize(at + kHeaderSize + total);
    unsigned char *out = bytes.data() + at;
    out[0] = op;
    memcpy(out + 1, &total, sizeof(total));
    if (size)
        memcpy(out + kHeaderSize, args, size);
    if (extra_size)
        memcpy(out + kHeaderSize + size, extra, extra_size);
}

bool EngFrameRecordDX9::Read(size_t *at, Call *call) const
{
    if (*at + kHeaderSize > bytes.size())
        return false;
    const unsigned char *in = bytes.data() + *at;
    uint32_t size = 0;
    memcpy(&size, in + 1, sizeof(size));
    if (*at + kHeaderSize + size > bytes.size())
        return false;
    call->op = (Op)in[0];
    call->args = in + kHeaderSize;
    call->size = size;
    *at += kHeaderSize + size;
    return true;
}
