#include "Game/Screens/CountryCC.h"

#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngDimension.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"
#include "Engine/Core/EngLanguages.h"
#include "Game/Screens/Countries.h"

namespace {

constexpr int kEntriesPerPage = 12;
// The flags are drawn after the windows, in the strip left of the entries.
constexpr int kFlagsPass = 1;
constexpr float kFlagWidthPerTextHeight = 1.5f;
constexpr float kFlagHeightOfRow = 0.7f;
constexpr float kFlagGap = 4.0f;

const char* CountryNameCB(int index, MWinButton*, void*)
{
    return CountryGetCountryName(index);
}

// Moves the top edge down by top_by and the bottom edge down by bottom_by.
void MoveButtonEdges(MWinButton* button, float top_by, float bottom_by)
{
    if (!button)
        return;
    float x, y, w, h;
    button->GetArea(&x, &y, &w, &h);
    button->SetArea(x, y + top_by, w, h - top_by + bottom_by);
}

} // namespace

CountryCC::CountryCC(MWinScreens* screens) : CountryCollectionController(screens)
{
}

void CountryCC::ApplyInsets()
{
    float top = 0, bottom = 0;
    CountryGetScreenInsets(&top, &bottom);
    MoveButtonEdges(GetButton(BUT_TITLE), top, top);
    MoveButtonEdges(GetButton(BUT_COUNTRY), top, -bottom);
    MoveButtonEdges(GetButton(BUT_NOTE), -bottom, -bottom);
    MoveButtonEdges(GetButton(BUT_CONTINUE), -bottom, -bottom);
}

void CountryCC::StartingCB(void*)
{
    ApplyInsets();
    CountryCreateGraphics();
    MWinButton* list = GetButton(BUT_COUNTRY);
    if (!list)
        return;
    list->PanelSetOptions(1, 0, 0, 1);
    list->PanelSetStringsCallback(COUNTRY_NUM_COUNTRIES, kEntriesPerPage, CountryNameCB, nullptr);
    int own = CountryGetLocalCountryPos();
    if (own < 0)
        return;
    list->PanelSetPos(own, MWIN_FIRE_NEVER, 0);
    list->PanelCentreOnPos();
}

void CountryCC::RenderCB(int pass)
{
    MWinButton* list = GetButton(BUT_COUNTRY);
    int first = 0, last = 0;
    if (pass != kFlagsPass || !list || !EngDeviceIsCreated() || !list->PanelGetVisibleRange(&first, &last))
        return;
    for (int i = first; i < last && i < COUNTRY_NUM_COUNTRIES; i++) {
        float entry[4];
        if (!list->PanelGetEntryArea(i, entry))
            continue;
        float h = entry[3] * kFlagHeightOfRow;
        float w = h * kFlagWidthPerTextHeight;
        _Dimension box = {entry[0] - w - kFlagGap, entry[1] + (entry[3] - h) / 2, w, h};
        CountryDrawFlag(i, &box);
    }
}

char CountryCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    switch (GetButtonIndex(button)) {
    case BUT_CONTINUE:
        Continue();
        return 1;
    case BUT_COUNTRY:
        if (info && info->kind.panel.event == MWIN_PANEL_ACTIVATED)
            Continue();
        return 1;
    default:
        return 0;
    }
}

void CountryCC::Continue()
{
    MWinButton* list = GetButton(BUT_COUNTRY);
    int chosen = list ? list->PanelGetPos() : -1;
    if (chosen < 0) {
        GetMWin()->PopupMessage(EngLanguagesGetString("Country_PleaseSelectACountryFirst", 0));
        return;
    }
    if (!CountryChooseAndContinue(chosen))
        GoBack();
}
