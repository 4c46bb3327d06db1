#include "Engine/Graphics/EngMatrix.h"

#include <cmath>
#include <cstring>

void EngMatrixIdentity(float out[16])
{
    memset(out, 0, sizeof(float) * 16);
    out[0] = out[5] = out[10] = out[15] = 1.0f;
}

void EngMatrixMultiply(float out[16], const float a[16], const float b[16])
{
    float r[16];
    for (int row = 0; row < 4; row++) {
        for (int col = 0; col < 4; col++) {
            float sum = 0.0f;
            for (int k = 0; k < 4; k++)
                sum += a[row * 4 + k] * b[k * 4 + col];
            r[row * 4 + col] = sum;
        }
    }
    memcpy(out, r, sizeof(r));
}

void EngMatrixTranslation(float out[16], float x, float y, float z)
{
    EngMatrixIdentity(out);
    out[12] = x;
    out[13] = y;
    out[14] = z;
}

void EngMatrixScaling(float out[16], float x, float y, float z)
{
    EngMatrixIdentity(out);
    out[0] = x;
    out[5] = y;
    out[10] = z;
}

void EngMatrixRotationX(float out[16], float angle)
{
    const float c = cosf(angle), s = sinf(angle);
    EngMatrixIdentity(out);
    out[5] = c;
    out[6] = s;
    out[9] = -s;
    out[10] = c;
}

void EngMatrixRotationY(float out[16], float angle)
{
    const float c = cosf(angle), s = sinf(angle);
    EngMatrixIdentity(out);
    out[0] = c;
    out[2] = -s;
    out[8] = s;
    out[10] = c;
}

void EngMatrixRotationZ(float out[16], float angle)
{
    const float c = cosf(angle), s = sinf(angle);
    EngMatrixIdentity(out);
    out[0] = c;
    out[1] = s;
    out[4] = -s;
    out[5] = c;
}

void EngMatrixPerspectiveFovRH(float out[16], float fov_y, float aspect, float z_near, float z_far)
{
    const float y_scale = 1.0f / tanf(fov_y * 0.5f);
    const float x_scale = y_scale / aspect;
    memset(out, 0, sizeof(float) * 16);
    out[0] = x_scale;
    out[5] = y_scale;
    out[10] = z_far / (z_near - z_far);
    out[11] = -1.0f;
    out[14] = z_near * z_far / (z_near - z_far);
}

static void OrthoOffCenter(float out[16], float l, float r, float b, float t, float zn, float zf, float z_sign)
{
    EngMatrixIdentity(out);
    out[0] = 2.0f / (r - l);
    out[5] = 2.0f / (t - b);
    out[10] = z_sign / (zf - zn);
    out[12] = (l + r) / (l - r);
    out[13] = (t + b) / (b - t);
    out[14] = zn / (zn - zf);
}

void EngMatrixOrthoOffCenterLH(float out[16], float left, float right, float bottom, float top, float z_near, float z_far)
{
    OrthoOffCenter(out, left, right, bottom, top, z_near, z_far, 1.0f);
}

void EngMatrixOrthoOffCenterRH(float out[16], float left, float right, float bottom, float top, float z_near, float z_far)
{
    OrthoOffCenter(out, left, right, bottom, top, z_near, z_far, -1.0f);
}

void EngMatrixTransformPoint(float out[4], const float m[16], float x, float y, float z)
{
    const float v[4] = {x, y, z, 1.0f};
    float r[4];
    for (int col = 0; col < 4; col++)
        r[col] = v[0] * m[col] + v[1] * m[4 + col] + v[2] * m[8 + col] + v[3] * m[12 + col];
    memcpy(out, r, sizeof(r));
}
