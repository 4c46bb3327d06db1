#include "Engine/Core/EngRandom.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <sys/random.h>

#include "Engine/Core/EngDebug.h"

namespace {

EngUInt32 g_state[ENG_RANDOM_STATE_WORDS];
bool g_setup = false;

float ScaleFor(float m)
{
    if (m < 0.01f)
        return 1000000.0f;
    if (m < 0.1f)
        return 100000.0f;
    if (m < 1.0f)
        return 10000.0f;
    if (m < 10.0f)
        return 1000.0f;
    if (m < 100.0f)
        return 100.0f;
    return 1.0f;
}

bool CoinToss()
{
    return rand() % 2 == 0;
}

bool FillFromSystem()
{
    char* bytes = (char*)g_state;
    size_t wanted = sizeof g_state;
    size_t got = 0;
    while (got < wanted) {
        ssize_t n = getrandom(bytes + got, wanted - got, 0);
        if (n <= 0)
            return false;
        got += (size_t)n;
    }
    return true;
}

EngUInt32 HashClocks()
{
    EngUInt32 h = (EngUInt32)clock() ^ ((EngUInt32)time(nullptr) * 2654435761u);
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

// The reference initialisation of MT19937 from one 32-bit seed.
void SeedFromInteger(EngUInt32 seed)
{
    g_state[0] = seed;
    for (int i = 1; i < ENG_RANDOM_STATE_WORDS; i++)
        g_state[i] = 1812433253u * (g_state[i - 1] ^ (g_state[i - 1] >> 30)) + (EngUInt32)i;
}

} // namespace

float EngMiscRandFloat(float max, bool random_sign)
{
    float m = std::fabs(max);
    float scale = ScaleFor(m);
    // Bounded before the conversion: a huge maximum must not overflow the integer range.
    double steps = std::fmin((double)m * scale, 4.0e18);
    long long k = (long long)steps;
    if (k == 0)
        return 0.0f;
    float result = (float)((double)(rand() % k) / scale);
    if (result < 0.0f || result > m)
        DebugError(ENG_FUNC, "Function not working properly");
    if (random_sign && CoinToss())
        result = -result;
    return result;
}

float EngMiscRandFloatRange(float min, float max, bool random_sign)
{
    float result = max > min ? min + EngMiscRandFloat(max - min, false) : min;
    if (random_sign && CoinToss())
        result = -result;
    return result;
}

bool EngMiscRandChance(int n)
{
    if (n < 1)
        return false;
    return rand() % (n + 1) > 0;
}

bool EngRandomSetup()
{
    bool from_system = FillFromSystem();
    if (from_system)
        g_state[0] |= 0x80000000u;
    else
        SeedFromInteger(HashClocks());
    g_setup = true;
    return from_system;
}

bool EngRandomIsSetup()
{
    return g_setup;
}

const EngUInt32* EngRandomGetState()
{
    return g_state;
}
