#include "Engine/MWin/MWinCollectionController.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinScreenRegistry.h"

MWinCollectionController::MWinCollectionController() : m_screens(nullptr), m_mwinp(nullptr), m_game(nullptr)
{
}

MWinCollectionController::~MWinCollectionController() = default;

void MWinCollectionController::SetScreens(MWinScreens* screens)
{
    if (!DebugFatalCheck(screens != nullptr, ENG_FUNC, "No screens"))
        return;
    m_screens = screens;
    m_mwinp = screens->GetMWin();
    m_game = m_mwinp ? m_mwinp->GetGame(true) : nullptr;
}

MWinScreens* MWinCollectionController::GetScreens(char report) const
{
    if (!m_screens && report)
        DebugFatalCheck(false, ENG_FUNC, "No screens");
    return m_screens;
}
