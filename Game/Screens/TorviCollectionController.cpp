#include "Game/Screens/TorviCollectionController.h"

#include <cstddef>

#include "Engine/Core/EngDebug.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinCollection.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinScreenRegistry.h"
#include "Engine/MWin/MWinTabPanel.h"
#include "Engine/MWin/MWinWindow.h"

namespace {

// Every screen's window covers the whole virtual screen, so a click anywhere reaches its controller.
constexpr float kScreenWidth = 640;
constexpr float kScreenHeight = 480;
constexpr int kNormalLayout = 0;

bool HasModulateColour(const float* colour)
{
    return colour[0] != 0 || colour[1] != 0 || colour[2] != 0 || colour[3] != 0;
}

} // namespace

TorviCollectionController::TorviCollectionController(const char* collection_name, const TorviButtonRow* rows,
                                                     int num_rows)
    : m_buttons(std::size_t(num_rows), nullptr), m_collection_name(collection_name), m_rows(rows), m_num_rows(num_rows)
{
}

void TorviCollectionController::SetScreensVar(MWinScreens* screens)
{
    DebugFatalCheck(screens != nullptr, ENG_FUNC, "No screens");
    DebugFatalCheck(screens && screens->GetMWin(), ENG_FUNC, "No mwinp");
    if (screens && screens->GetMWin())
        SetScreens(screens);
}

void TorviCollectionController::ClearPointers()
{
    m_collection = nullptr;
    m_main_win = nullptr;
    for (MWinButton*& button : m_buttons)
        button = nullptr;
}

char TorviCollectionController::CreateCollection(MWin* mwinp)
{
    if (!mwinp) {
        DebugError(ENG_FUNC, "No mwinp");
        return 0;
    }
    return AddCollectionToDesktop(mwinp, mwinp->GetDesktop()) != nullptr;
}

MWinCollection* TorviCollectionController::AddCollectionToDesktop(MWin* mwinp, MWinDesktop* desktop)
{
    m_collection = nullptr;
    if (!mwinp) {
        DebugError(ENG_FUNC, "No mwinp");
        return nullptr;
    }
    if (!desktop)
        desktop = mwinp->GetDesktop();
    if (!desktop) {
        DebugError(ENG_FUNC, "Could not get default desktop");
        return nullptr;
    }
    MWinCollection* collection = desktop->AddCollection(m_collection_name);
    if (!collection) {
        DebugError(ENG_FUNC, "Could not create collection <%s>", m_collection_name);
        return nullptr;
    }
    collection->SetScreenLayout(mwinp->GetScreenLayout());
    AddMainWinWindowToCollectionNormal(collection);
    m_collection = collection;
    return collection;
}

MWinWindow* TorviCollectionController::AddMainWinWindowToCollectionNormal(MWinCollection* collection)
{
    m_main_win = nullptr;
    _MWinWindowCreateInfo info = {};
    info.x = 0;
    info.y = 0;
    info.width = kScreenWidth;
    info.height = kScreenHeight;
    MWinCopyID(info.title_bar_texbut_id, MWIN_TEXBUT_NONE);
    MWinCopyID(info.back_texbut_id, MWIN_TEXBUT_NONE);
    MWinCopyID(info.hide_button_texbut_id, MWIN_TEXBUT_NONE);
    MWinCopyID(info.extra_button_texbut_id, MWIN_TEXBUT_NONE);
    MWinCopyID(info.font_id, MWIN_FONT_DEFAULT);
    collection->SetScreenLayout(kNormalLayout);
    MWinWindow* window = collection->AddWindow(TORVI_MAIN_WINDOW_ID, &info);
    if (!window) {
        DebugError(ENG_FUNC, "Could not add window");
        return nullptr;
    }
    window->SetTextColour(1, 1, 1, 1);
    window->SetTextScale(1, 1);
    window->SetTextAlign(MWIN_ALIGN_LEFT);
    window->SetVirtualSize(0, 0);
    if (!AddMainWinWindowButtonsToWindowNormal(window))
        DebugError(ENG_FUNC, "Could not add buttons to window");
    window->SetController(this);
    m_main_win = window;
    return window;
}

MWinButton* TorviCollectionController::AddButtonFromRow(MWinWindow* window, const TorviButtonRow& row)
{
    const char* text = row.text ? row.text : "";
    if (row.kind == MWIN_BUT_TABPANEL)
        return window->AddTabPanel(row.id, row.texbut, row.x, row.y, row.w, row.h);
    return window->AddButton(row.id, row.kind, row.texbut, text, row.x, row.y, row.w, row.h);
}

bool TorviCollectionController::AddMainWinWindowButtonsToWindowNormal(MWinWindow* window)
{
    if (!window) {
        DebugError(ENG_FUNC, "No window");
        return false;
    }
    bool all_made = true;
    for (int i = 0; i < m_num_rows; i++) {
        const TorviButtonRow& row = m_rows[i];
        MWinButton* button = AddButtonFromRow(window, row);
        m_buttons[std::size_t(i)] = button;
        if (!button) {
            all_made = false;
            continue;
        }
        button->SetFont(TORVI_BUTTON_FONT);
        button->SetTextColourFromArray(row.colour);
        button->SetTextScaleFromArray(row.scale);
        button->SetTextAlign(row.align);
        if (row.token)
            button->SetTextToken(row.token);
        if (row.text2)
            button->SetText2(row.text2);
        if (HasModulateColour(row.modulate))
            button->SetModulateColour(row.modulate[0], row.modulate[1], row.modulate[2], row.modulate[3]);
    }
    if (!all_made)
        DebugError(ENG_FUNC, "Could not add button(s) to window");
    return all_made;
}

MWinButton* TorviCollectionController::GetButton(int index) const
{
    if (index < 0 || index >= m_num_rows)
        return nullptr;
    return m_buttons[std::size_t(index)];
}

int TorviCollectionController::GetButtonIndex(const MWinButton* button) const
{
    if (!button)
        return -1;
    for (int i = 0; i < m_num_rows; i++)
        if (m_buttons[std::size_t(i)] == button)
            return i;
    return -1;
}

void TorviCollectionController::ShowButton(int index, bool shown)
{
    MWinButton* button = GetButton(index);
    if (!button)
        return;
    if (shown)
        button->Show();
    else
        button->Hide();
}

void TorviCollectionController::EnableButton(int index, bool enabled)
{
    MWinButton* button = GetButton(index);
    if (!button)
        return;
    if (enabled)
        button->Enable();
    else
        button->Disable();
}

void TorviCollectionController::SetButtonText(int index, const char* text)
{
    if (MWinButton* button = GetButton(index))
        button->SetText(text);
}

void TorviCollectionController::SetButtonText2(int index, const char* text)
{
    if (MWinButton* button = GetButton(index))
        button->SetText2(text);
}

void TorviCollectionController::SetEscapeButton(int index)
{
    if (MWinButton* button = GetButton(index))
        button->SetEscapeButtonForParentWindow();
}

void TorviCollectionController::BindArrowChoice(int index, int count, const char* const* strings, int* variable,
                                                char fire)
{
    MWinButton* choice = GetButton(index);
    if (!choice)
        return;
    choice->ChoiceSetArrows(1, 0);
    choice->ChoiceSetStrings(count, const_cast<const char**>(strings));
    choice->ChoiceRegisterIntVariable(variable, fire);
}

void TorviCollectionController::GotoScreen(EngScreenID id)
{
    if (MWinScreens* screens = GetScreens(1))
        screens->GotoScreen(id, nullptr);
}

void TorviCollectionController::GoBack()
{
    if (MWinScreens* screens = GetScreens(1))
        screens->GoBack();
}
