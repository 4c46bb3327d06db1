#pragma once
// One frame's calls to the device, kept as bytes: drawn at the present, or, when they are the very calls of the
// frame on screen, not drawn at all. Arguments are stored as 4-byte words, so two records of the same calls
// compare equal byte for byte (no padding).

#include <cstddef>
#include <vector>

class EngFrameRecordDX9 {
public:
    enum Op : unsigned char {
        kRenderState,
        kStageState,
        kSamplerState,
        kTexture,
        kViewport,
        kTransform,
        kMaterial,
        kScissor,
        kClear,
        kDraw,
    };

    struct Call {
        Op op;
        const unsigned char *args; // words (possibly unaligned: read with memcpy), then extra bytes
        size_t size;
    };

    // Adds a call: its arguments, then bytes that follow them (a draw's vertices).
    void Add(Op op, const void *args, size_t size, const void *extra = nullptr, size_t extra_size = 0);
    void Clear() { bytes.clear(); }
    bool IsEmpty() const { return bytes.empty(); }
    bool SameCalls(const EngFrameRecordDX9 &other) const { return bytes == other.bytes; }
    void Swap(EngFrameRecordDX9 &other) { bytes.swap(other.bytes); }

    // The calls in the order they were made.
    template <typename Visit> void ForEach(Visit visit) const
    {
        size_t at = 0;
        Call call;
        while (Read(&at, &call))
            visit(call);
    }

private:
    bool Read(size_t *at, Call *call) const;

    std::vector<unsigned char> bytes;
};
