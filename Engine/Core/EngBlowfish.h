#pragma once

#include "Engine/Core/EngTypes.h"

// Blowfish (16 rounds, ECB, big-endian blocks) used to encipher score records before they are sent.
// Only enciphering exists: the server deciphers.

// One key schedule.
class EngBlowfish
{
public:
    // key_length bytes of key, repeated through the 72 bytes of the schedule.
    void SetKey(const unsigned char* key, int key_length);
    void EncipherBlock(EngUInt32* left, EngUInt32* right) const;

private:
    EngUInt32 F(EngUInt32 x) const;

    EngUInt32 m_p[18];
    EngUInt32 m_s[4][256];
};

// Enciphers data in place: length / 8 whole blocks; the last length % 8 bytes stay as they are.
// Refuses data shorter than 8 bytes and keys shorter than 8 characters.
bool EngEncryptionEncryptDataUsingBlowfishEncryption(const char* key, unsigned char* data, int length);
