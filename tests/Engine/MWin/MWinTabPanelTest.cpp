// The tab panel fed with input events: sorting by header clicks, row selection by click, keys and wheel,
// and the scroll bar that comes and goes with the rows.
#include <gtest/gtest.h>

#include <vector>

#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinTabPanel.h"
#include "Engine/MWin/MWinVertScrollbar.h"
#include "MWinButtonFixture.h"

namespace {

struct PanelEvent {
    int row;
    int selected;
    int how;
    int header;
};

const char* Entry(int row, int column, MWinTabPanel*)
{
    static char text[32];
    std::snprintf(text, sizeof(text), "%d/%d", row, column);
    return text;
}

// A panel at (20, 20) of 400 x 200: ten rows of 20 per page; table from x 22, 396 wide.
class TabPanelTest : public MWinFixture {
protected:
    void SetUp() override
    {
        MWinFixture::SetUp();
        panel = window->AddTabPanel("TABLE", MWIN_TEXBUT_NONE, 20, 20, 400, 200);
        ASSERT_NE(panel, nullptr);
        panel->SetCallback(&TabPanelTest::OnPanel, 0, 0, this, 0);
        EngKeyStateTable[ENG_VK_SHIFT] = ENG_KEY_STATE_UP;
        EngKeyStateTable[ENG_VK_CONTROL] = ENG_KEY_STATE_UP;
    }

    static void OnPanel(MWin*, _MWinButtonCallbackInfo* info, int, int, void* user)
    {
        auto* self = static_cast<TabPanelTest*>(user);
        const auto& k = info->kind.tabpanel;
        self->events.push_back({k.row, k.selected, k.how, k.header});
        if (self->remove_screen_on_fire)
            self->mwin->GetDesktop()->RemoveCollection("SCREEN");
    }

    // The vertical middle of a row on the page.
    float RowY(int row) const
    {
        return panel->GetRowsArea()[1] + (float(row) - panel->GetScroll() + 0.5f) * panel->GetRowHeight();
    }
    float ColumnMiddle(int column) const
    {
        float area[4];
        int row = panel->GetFirstVisibleRow();
        if (!panel->GetCellArea(row, column, area))
            return -1;
        return area[0] + area[2] / 2.0f;
    }
    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (int i = 0; i < panel->GetNumRows(); i++)
            if (panel->IsRowSelected(i))
                rows.push_back(i);
        return rows;
    }

    MWinTabPanel* panel = nullptr;
    std::vector<PanelEvent> events;
    bool remove_screen_on_fire = false;
};

} // namespace

TEST_F(TabPanelTest, ColumnPercentagesShareWhatIsLeftAndScaleDownOverflows)
{
    ASSERT_TRUE(panel->SetEntryCallback(5, 3, 0, Entry));
    float usable = panel->GetTableWidth() - 4.0f;
    panel->SetColumnWidthPercentage(0, 50);
    EXPECT_FLOAT_EQ(panel->GetColumnWidth(0), usable * 0.5f);
    EXPECT_FLOAT_EQ(panel->GetColumnWidth(1), usable * 0.25f);
    EXPECT_FLOAT_EQ(panel->GetColumnWidth(2), usable * 0.25f);

    ASSERT_TRUE(panel->SetEntryCallback(5, 2, 0, Entry));
    panel->SetColumnWidthPercentage(0, 60);
    panel->SetColumnWidthPercentage(1, 60);
    EXPECT_FLOAT_EQ(panel->GetColumnWidth(0), usable * 0.5f);
    EXPECT_FLOAT_EQ(panel->GetColumnWidth(1), usable * 0.5f);

    int since = DebugGetMessageCount();
    EXPECT_FALSE(panel->SetColumnWidthPercentage(2, 10));
    EXPECT_TRUE(LoggedSince(since, "Column does not exist [2]"));
    EXPECT_FALSE(panel->SetColumnWidthPercentage(0, 101));
    EXPECT_TRUE(LoggedSince(since, "Invalid percentage: [101]"));
    EXPECT_FALSE(panel->SetColumnTextAlign(-1, MWIN_ALIGN_LEFT));
}

TEST_F(TabPanelTest, HeaderClicksSortOneColumnBothWaysAndRememberThePreviousOne)
{
    ASSERT_TRUE(panel->SetEntryCallback(5, 2, 0, Entry));
    panel->SetHeaderAndSelectMode(1, 1, 1, 1, MWIN_TP_SELECT_SINGLE, 1, 24);
    float header_y = 20 + 12;
    Click(ColumnMiddle(0), header_y);
    EXPECT_EQ(panel->GetSortColumn(), 0);
    EXPECT_EQ(panel->GetSortDirection(), 0);
    Click(ColumnMiddle(0), header_y);
    EXPECT_EQ(panel->GetSortDirection(), 1);
    Click(ColumnMiddle(0), header_y);
    EXPECT_EQ(panel->GetSortDirection(), 0);
    Click(ColumnMiddle(0), header_y);
    Click(ColumnMiddle(1), header_y);
    EXPECT_EQ(panel->GetSortColumn(), 1);
    EXPECT_EQ(panel->GetSortDirection(), 0);
    EXPECT_EQ(panel->GetPreviousSortColumn(), 0);
    EXPECT_EQ(panel->GetPreviousSortDirection(), 1);
    ASSERT_EQ(events.size(), 5u);
    for (const PanelEvent& e : events)
        EXPECT_EQ(e.header, 1);
    EXPECT_TRUE(SelectedRows().empty()) << "a header click selects no row";

    panel->SetHeaderAndSelectMode(1, 1, 1, 1, MWIN_TP_SELECT_SINGLE, 0, 24);
    Click(ColumnMiddle(0), header_y);
    EXPECT_EQ(panel->GetSortColumn(), 1) << "header clicks may be told not to sort";
    ASSERT_TRUE(panel->SetEntryCallback(5, 1, 0, Entry));
    EXPECT_EQ(panel->GetSortColumn(), -1) << "a narrower table forgets a sort column it no longer has";
    EXPECT_EQ(panel->GetPreviousSortColumn(), -1);
    panel->SetSortColumn(3, 1, 1);
    EXPECT_EQ(panel->GetSortColumn(), -1);
}

TEST_F(TabPanelTest, ClicksSelectOneRowShiftAddsAndToggleModeToggles)
{
    ASSERT_TRUE(panel->SetEntryCallback(8, 2, 0, Entry));
    Click(100, RowY(3));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].row, 3);
    EXPECT_EQ(events[0].selected, 1);
    EXPECT_EQ(events[0].how, MWIN_TP_HOW_CLICK);
    EXPECT_EQ(events[0].header, 0);
    Click(100, RowY(5));
    EXPECT_EQ(SelectedRows(), std::vector<int>({5}));
    EngKeyStateTable[ENG_VK_SHIFT] = ENG_KEY_STATE_DOWN;
    Click(100, RowY(1));
    EngKeyStateTable[ENG_VK_SHIFT] = ENG_KEY_STATE_UP;
    EXPECT_EQ(SelectedRows(), std::vector<int>({1, 5}));

    panel->SetHeaderAndSelectMode(0, 1, 1, 1, MWIN_TP_SELECT_TOGGLE, 1, 0);
    Click(100, RowY(5));
    EXPECT_EQ(SelectedRows(), std::vector<int>({1}));
    EXPECT_EQ(events.back().selected, 0);
    Click(100, RowY(9));
    EXPECT_EQ(SelectedRows(), std::vector<int>({1})) << "below the last row nothing is selected";

    panel->SetHeaderAndSelectMode(0, 1, 1, 0, MWIN_TP_SELECT_SINGLE, 1, 0);
    size_t before = events.size();
    Click(100, RowY(2));
    EXPECT_EQ(events.size(), before) << "selection off: clicks select nothing";
}

TEST_F(TabPanelTest, KeysAndWheelMoveTheSelectionWhenAllRowsFit)
{
    ASSERT_TRUE(panel->SetEntryCallback(5, 2, 0, Entry));
    MoveTo(100, RowY(0));
    Key(ENG_VK_DOWN);
    EXPECT_TRUE(events.empty()) << "no selection, nothing to move";
    panel->SelectRow(3, 1, 0, 0);
    Key(ENG_VK_DOWN);
    EXPECT_EQ(SelectedRows(), std::vector<int>({4}));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].how, MWIN_TP_HOW_KEYS);
    Key(ENG_VK_DOWN);
    EXPECT_EQ(SelectedRows(), std::vector<int>({4})) << "down at the last row keeps the selection";
    Key(ENG_VK_PRIOR);
    EXPECT_EQ(SelectedRows(), std::vector<int>({0}));
    Wheel(-1);
    EXPECT_EQ(SelectedRows(), std::vector<int>({1}));
    Wheel(1);
    EXPECT_EQ(SelectedRows(), std::vector<int>({0}));
    EXPECT_FALSE(panel->IsScrollBarShown());
}

TEST_F(TabPanelTest, MoreRowsThanFitBringTheScrollBarWhichFewerRowsRemove)
{
    ASSERT_TRUE(panel->SetEntryCallback(3, 2, 0, Entry));
    float full_width = panel->GetTableWidth();
    EXPECT_FALSE(panel->IsScrollBarShown());
    ASSERT_TRUE(panel->SetNumRows(30));
    EXPECT_EQ(panel->GetRowsPerPage(), 10);
    ASSERT_TRUE(panel->IsScrollBarShown());
    ASSERT_NE(panel->GetScrollBar(), nullptr);
    EXPECT_FLOAT_EQ(panel->GetTableWidth(), full_width - 16.0f);
    EXPECT_DOUBLE_EQ(panel->GetScrollBar()->GetMaximum(), 20.0);
    EXPECT_DOUBLE_EQ(panel->GetScrollBar()->GetPage(), 10.0);
    int live = MWinButton::GetNumButtons();
    ASSERT_TRUE(panel->SetNumRows(4));
    EXPECT_FALSE(panel->IsScrollBarShown());
    EXPECT_EQ(panel->GetScrollBar(), nullptr);
    EXPECT_EQ(MWinButton::GetNumButtons(), live - 1) << "the bar is deleted, not just hidden";
    EXPECT_FLOAT_EQ(panel->GetTableWidth(), full_width);
}

TEST_F(TabPanelTest, SelectingARowScrollsItOntoThePage)
{
    ASSERT_TRUE(panel->SetEntryCallback(30, 2, 0, Entry));
    int variable = -1;
    panel->RegisterIntVariable(&variable, 1.0f);
    panel->SelectRow(25, 1, 1, 0);
    EXPECT_EQ(panel->GetFirstVisibleRow(), 16);
    EXPECT_EQ(panel->GetLastVisibleRow(), 25);
    EXPECT_EQ(variable, 25);
    EXPECT_DOUBLE_EQ(panel->GetScrollBar()->GetPosDouble(), 16.0) << "the bar follows the page";
    panel->SelectRow(2, 1, 0, 0);
    EXPECT_EQ(panel->GetFirstVisibleRow(), 2);
    panel->CentreOnRow(29);
    EXPECT_EQ(panel->GetFirstVisibleRow(), 20);
    panel->CentreOnRow(1);
    EXPECT_EQ(panel->GetFirstVisibleRow(), 0);
    float area[4];
    EXPECT_TRUE(panel->GetCellArea(9, 1, area));
    EXPECT_FALSE(panel->GetCellArea(10, 1, area)) << "a row off the page has no cell area";
    EXPECT_FALSE(panel->GetCellArea(0, 2, area));
}

TEST_F(TabPanelTest, WheelKeysAndDraggingScrollTheRowsAndClicksPickTheScrolledRow)
{
    ASSERT_TRUE(panel->SetEntryCallback(30, 2, 0, Entry));
    MoveTo(100, RowY(0));
    Wheel(-1);
    EXPECT_EQ(panel->GetFirstVisibleRow(), 1);
    Key(ENG_VK_NEXT);
    EXPECT_EQ(panel->GetFirstVisibleRow(), 11);
    Key(ENG_VK_NEXT);
    Key(ENG_VK_DOWN);
    EXPECT_EQ(panel->GetFirstVisibleRow(), 20) << "clamped to the last page";
    EXPECT_TRUE(events.empty()) << "scrolling selects nothing";
    Click(100, RowY(20));
    EXPECT_EQ(SelectedRows(), std::vector<int>({20}));

    MWinVertScrollbar* bar = panel->GetScrollBar();
    float thumb = bar->GetThumbY() + bar->GetThumbHeight() / 2.0f;
    MoveTo(410, thumb);
    Press();
    EXPECT_TRUE(panel->IsCapturingInput());
    MoveTo(410, 0);
    EXPECT_EQ(panel->GetFirstVisibleRow(), 0);
    Release();
    EXPECT_FALSE(panel->IsCapturingInput());
    Click(410, 200);
    EXPECT_EQ(panel->GetFirstVisibleRow(), 10) << "a click below the thumb pages down";
}

TEST_F(TabPanelTest, DoubleClickActivatesTheSelectedRow)
{
    ASSERT_TRUE(panel->SetEntryCallback(6, 2, 0, Entry));
    Click(100, RowY(2));
    mwin->HandleInputEvent(int(_EngInputEventType::MouseDoubleClick), 0, 0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].row, 2);
    EXPECT_EQ(events[1].how, MWIN_TP_HOW_DOUBLE_CLICK);
}

TEST_F(TabPanelTest, EmptyTablesAndBadArgumentsAreRefusedWithoutHarm)
{
    int since = DebugGetMessageCount();
    EXPECT_FALSE(panel->SetEntryCallback(3, 0, 0, Entry));
    EXPECT_TRUE(LoggedSince(since, "invalid num cols 0 (ID: TABLE)"));
    EXPECT_FALSE(panel->SetEntryCallback(-1, 2, 0, Entry));
    EXPECT_TRUE(LoggedSince(since, "invalid num rows -1 (ID: TABLE)"));
    EXPECT_FALSE(panel->SetEntryCallback(3, 2, 0, nullptr));
    EXPECT_TRUE(LoggedSince(since, "Null callback entry (ID: TABLE)"));
    EXPECT_FALSE(panel->SetNumRows(4)) << "rows need the columns first";

    ASSERT_TRUE(panel->SetEntryCallback(0, 2, 0, Entry));
    EXPECT_FALSE(panel->SelectRow(0, 1, 1, 0));
    EXPECT_TRUE(LoggedSince(since, "No rows"));
    MoveTo(100, 100);
    Click(100, 100);
    Key(ENG_VK_DOWN);
    Key(ENG_VK_NEXT);
    Wheel(-2);
    mwin->HandleInputEvent(int(_EngInputEventType::MouseDoubleClick), 0, 0);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(panel->GetLastVisibleRow(), -1);

    ASSERT_TRUE(panel->SetNumRows(3));
    EXPECT_FALSE(panel->SelectRow(-1, 1, 1, 0));
    EXPECT_TRUE(LoggedSince(since, "Bad row number [-1]"));
    EXPECT_FALSE(panel->SelectRow(3, 1, 1, 0));
    EXPECT_TRUE(LoggedSince(since, "Row does not exits [3]"));

    ASSERT_TRUE(panel->SetEntryCallback(2, 1, 3, Entry));
    EXPECT_EQ(panel->GetRowsPerPage(), 3);
    panel->SetArea(20, 20, 400, 4);
    EXPECT_GE(panel->GetRowHeight(), 0.0f) << "a panel too small for its margins keeps a sane row height";
    ASSERT_TRUE(panel->SetEntryCallback(5, 1, -1, Entry));
    EXPECT_EQ(panel->GetRowsPerPage(), 0);
    Click(100, 21);
    EXPECT_TRUE(events.empty());
}

TEST_F(TabPanelTest, ACallbackThatRemovesTheScreenLeavesNothingDangling)
{
    ASSERT_TRUE(panel->SetEntryCallback(30, 2, 0, Entry));
    remove_screen_on_fire = true;
    MoveTo(100, RowY(1));
    Press();
    Release();
    ASSERT_EQ(events.size(), 1u);
    Key(ENG_VK_DOWN);
    Wheel(-1);
    Frame();
    EXPECT_EQ(mwin->GetCollectionFromID("SCREEN", false), nullptr);
    EXPECT_EQ(events.size(), 1u);
}
