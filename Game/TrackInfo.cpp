#include "Game/TrackInfo.h"

#include <cstddef>

#include "Engine/Core/EngDebug.h"

static_assert(offsetof(_TrackInfo, start_edge) == 28, "track row layout");
static_assert(offsetof(_TrackInfo, flag_offsets) == 32, "track row layout");
static_assert(offsetof(_TrackInfo, floors) == 48, "track row layout");
static_assert(offsetof(_TrackInfo, car_size) == 64, "track row layout");
static_assert(offsetof(_TrackInfo, grid_slots) == 68, "track row layout");
static_assert(offsetof(_TrackInfo, grid_headings) == 132, "track row layout");
static_assert(offsetof(_TrackInfo, hud_box1) == 164, "track row layout");
static_assert(offsetof(_TrackInfo, overlay_rect) == 196, "track row layout");
static_assert(offsetof(_TrackInfo, overlay_alpha) == 212, "track row layout");

namespace {

const _TrackInfo kTracks[TRACK_COUNT] = {
    {"Brown Fast", 0, {}, 3, 0, {0, 3}, {-3, 1, 0, 0}, 1, 5.18f, -0.05f, 0.0f, 20.0f,
     {{282, 73}, {217, 102}, {172, 56}, {80, 93}, {39, 145}, {77, 202}, {39, 258}, {80, 317}},
     {271, 264, 247, 307, 359, 359, 359, 359},
     {251, 314, 468, 437}, {551, 314, 767, 437}, {}, 0.0f},
    {"Rocky P", 0, {}, 2, 0, {3, 2}, {-6, 3, -4, 7}, 1, 3.5f, 0.0f, 0.0f, 20.0f,
     {{66, 213}, {70, 266}, {88, 316}, {111, 371}, {145, 418}, {227, 425}, {311, 403}, {361, 351}},
     {356, 4, 13, 13, 37, 94, 128, 141},
     {268, 548, 484, 667}, {683, 889, 900, 1010}, {}, 0.0f},
    {"Green Grass", 1, {}, 3, 0, {0, 3}, {-7, 1, -7, 2}, 1, 8.13f, 0.0f, 0.1f, 16.0f,
     {{260, 436}, {203, 436}, {141, 434}, {80, 420}, {62, 374}, {81, 326}, {147, 316}, {206, 339}},
     {270, 270, 270, 238, 176, 153, 71, 71},
     {780, 11, 997, 129}, {780, 142, 997, 261}, {}, 0.0f},
    {"Blue Curvey", 0, {}, 1, 0, {1, 2}, {0, 0, -2, 3}, 1, 11.89f, -0.14f, -0.1f, 14.0f,
     {{384, 446}, {436, 426}, {470, 456}, {517, 421}, {570, 427}, {562, 383}, {596, 346}, {545, 316}},
     {80, 83, 81, 104, 137, 140, 180, 229},
     {159, 236, 375, 352}, {3, 536, 202, 654}, {}, 0.0f},
    {"Gray @", 0, {}, 2, 1, {3, 2}, {5, 2, 6, 2}, 1, 8.72f, -0.06f, -0.06f, 18.0f,
     {{582, 305}, {584, 355}, {572, 402}, {529, 440}, {450, 440}, {373, 440}, {297, 440}, {218, 440}},
     {358, 358, 321, 308, 272, 272, 272, 272},
     {402, 398, 619, 512}, {402, 516, 619, 628}, {}, 0.0f},
    {"Yellow Star", 0, {}, 2, 0, {3, 2}, {-4, 2, -4, 2}, 1, 6.99f, 0.04f, 0.16f, 13.0f,
     {{133, 241}, {128, 303}, {65, 345}, {73, 409}, {142, 448}, {198, 386}, {295, 371}, {388, 378}},
     {8, 326, 337, 356, 113, 134, 98, 53},
     {20, 24, 236, 141}, {781, 24, 997, 141}, {}, 0.0f},
};

int g_current_track = 0;
_TrackOverlay g_overlay = {};

void DeriveOverlay(const _TrackInfo& row)
{
    const float* r = row.overlay_rect;
    g_overlay.source[0] = r[0] / 1024.0f;
    g_overlay.source[1] = r[1] / 1024.0f;
    g_overlay.source[2] = (r[0] + r[2]) / 1024.0f;
    g_overlay.source[3] = (r[1] + r[3]) / 1024.0f;
    g_overlay.destination[0] = r[0] * 640.0f / 1024.0f;
    g_overlay.destination[1] = r[1] * 480.0f / 1024.0f;
    g_overlay.destination[2] = r[2] * 640.0f / 1024.0f;
    g_overlay.destination[3] = r[3] * 480.0f / 1024.0f;
    g_overlay.alpha = row.overlay_alpha;
}

} // namespace

void TrackInfoInitVars(int track)
{
    if (track < 0 || track >= TRACK_COUNT) {
        DebugError(ENG_FUNC, "Bad track num %d.", track);
        track = 0;
    }
    g_current_track = track;
    g_overlay = {};
    if (kTracks[track].floors == 2)
        DeriveOverlay(kTracks[track]);
}

const _TrackInfo* TrackInfoGetCurrent()
{
    return &kTracks[g_current_track];
}

int TrackInfoGetCurrentTrack()
{
    return g_current_track;
}

const _TrackInfo* TrackInfoGetRow(int track)
{
    if (track < 0 || track >= TRACK_COUNT)
        return nullptr;
    return &kTracks[track];
}

const _TrackOverlay* TrackInfoGetOverlay()
{
    return &g_overlay;
}
