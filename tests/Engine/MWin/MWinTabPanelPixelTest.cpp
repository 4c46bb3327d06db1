// A table drawn into a real context and read back: header band, row backgrounds, selection, dividers, cell
// texts clipped to their rows and the scroll bar's thumb.
#include <gtest/gtest.h>

#include "Engine/Core/EngWindow.h"
#include "Engine/MWin/MWinTabPanel.h"
#include "Engine/MWin/MWinVertScrollbar.h"
#include "MWinWidgetFixture.h"

namespace {

const char* Cells(int row, int column, MWinTabPanel*)
{
    if (row < 0)
        return column == 0 ? "NAME" : "TIME";
    return row == 0 && column == 0 ? "WWWW" : nullptr;
}

// Header blue, rows red and green, selection yellow, dividers black, thumb magenta.
class TabPanelPixels : public WidgetPixels {
protected:
    void SetUp() override
    {
        WidgetPixels::SetUp();
        AddColour("Yellow", 255, 255, 0);
        AddColour("Black", 0, 0, 0);
        AddColour("Magenta", 255, 0, 255);
        Standard(MWIN_STD_TAB_HEADING, "Blue");
        Standard(MWIN_STD_TAB_ROW_BACK1, "Red");
        Standard(MWIN_STD_TAB_ROW_BACK2, "Green");
        Standard(MWIN_STD_TAB_ROW_SELECTION, "Yellow");
        Standard(MWIN_STD_TAB_VERT_DIV, "Black");
        Standard(MWIN_STD_VSCROLL_THUMB, "Magenta");
        ASSERT_EQ(mwin->CreateGraphicsObjects(), 1);
        panel = window->AddTabPanel("TABLE", MWIN_TEXBUT_NONE, 20, 20, 400, 200);
        panel->SetFont("Main");
        ASSERT_TRUE(panel->SetEntryCallback(5, 2, 0, Cells));
        panel->SetHeaderAndSelectMode(1, 1, 1, 1, MWIN_TP_SELECT_SINGLE, 1, 24);
        panel->SetLayoutParams(-1, -1, -1, -1, -1, -1, -1, -1, 1.0f, -1, -1);
        panel->SetColumnTextColour(0, 0, 0, 0, 1);
    }
    // A band inside row's page slot, 2 virtual units in from every side, right of the text of row 0.
    _Dimension RowBand(int row) const
    {
        float y = panel->GetRowsArea()[1] + float(row) * panel->GetRowHeight();
        return {300, y + 2, 100, panel->GetRowHeight() - 4};
    }

    MWinTabPanel* panel = nullptr;
};

} // namespace

TEST_F(TabPanelPixels, HeaderRowsSelectionAndEmptyPageReachTheScreen)
{
    panel->SelectRow(2, 1, 0, 0);
    DrawFrame();
    EXPECT_EQ(ColourPixels(386, 22, 28, 20, 0, 0, 255), Area(28, 20)) << "the header band, right of its texts";
    EXPECT_LT(ColourPixels(300, 22, 80, 20, 0, 0, 255), Area(80, 20)) << "the header text \"TIME\" over it";
    _Dimension r0 = RowBand(0), r1 = RowBand(1), r2 = RowBand(2), r6 = RowBand(6);
    EXPECT_EQ(ColourPixels(r0.x, r0.y, r0.w, r0.h, 255, 0, 0), Area(r0.w, r0.h)) << "even rows";
    EXPECT_EQ(ColourPixels(r1.x, r1.y, r1.w, r1.h, 0, 255, 0), Area(r1.w, r1.h)) << "odd rows alternate";
    EXPECT_EQ(ColourPixels(r2.x, r2.y, r2.w, r2.h, 255, 255, 0), Area(r2.w, r2.h)) << "the selected row";
    EXPECT_EQ(ColourPixels(r6.x, r6.y, r6.w, r6.h, 255, 255, 255), Area(r6.w, r6.h))
        << "below the last row the undefined empty-row picture leaves the page as it was";
    EXPECT_EQ(ColourPixels(0, 0, 640, 19, 0, 0, 255) + ColourPixels(0, 221, 640, 259, 255, 0, 0), 0) << "nothing outside the panel";

    panel->SetHeaderAndSelectMode(1, 0, 1, 1, MWIN_TP_SELECT_SINGLE, 1, 24);
    DrawFrame();
    EXPECT_EQ(ColourPixels(r1.x, r1.y, r1.w, r1.h, 255, 0, 0), Area(r1.w, r1.h)) << "without alternating, one picture";
}

TEST_F(TabPanelPixels, DividersAndCellTextsStayInTheirPlaces)
{
    DrawFrame();
    float boundary = panel->GetRowsArea()[0] + 2.0f + panel->GetColumnWidth(0);
    EXPECT_GT(ColourPixels(boundary - 2, 100, 4, 20, 0, 0, 0), 0) << "the divider between the two columns";
    EXPECT_EQ(ColourPixels(boundary + 20, 100, 60, 20, 0, 0, 0), 0);
    float cell[4];
    ASSERT_TRUE(panel->GetCellArea(0, 0, cell));
    auto dark = [](int r, int g, int b) { return r < 100 && g < 100 && b < 100; };
    EXPECT_GT(CountVirtualPixels(gl, {cell[0], cell[1], cell[2] - 4, cell[3]}, dark), 20) << "row 0's text";
    EXPECT_EQ(CountVirtualPixels(gl, {22, 20 + 24 + 17.4f * 1 + 2, boundary - 26, 17.4f * 4 - 4}, dark), 0)
        << "rows without text stay plain";
}

TEST_F(TabPanelPixels, ScrolledTablesShowTheThumbAndTheirNewTopRow)
{
    ASSERT_TRUE(panel->SetNumRows(30));
    DrawFrame();
    MWinVertScrollbar* bar = panel->GetScrollBar();
    ASSERT_NE(bar, nullptr);
    const _Dimension* a = bar->GetScreenArea();
    float top_thumb = bar->GetThumbY();
    EXPECT_GT(ColourPixels(a->x, top_thumb, a->w, bar->GetThumbHeight(), 255, 0, 255), 0) << "thumb at the top";
    panel->SelectRow(29, 1, 0, 0);
    DrawFrame();
    EXPECT_EQ(ColourPixels(a->x, top_thumb, a->w, bar->GetThumbHeight(), 255, 0, 255), 0) << "thumb moved away";
    EXPECT_GT(ColourPixels(a->x, bar->GetThumbY(), a->w, bar->GetThumbHeight(), 255, 0, 255), 0);
    _Dimension last = RowBand(9);
    last.w = 60;
    EXPECT_EQ(ColourPixels(last.x, last.y, last.w, last.h, 255, 255, 0), Area(last.w, last.h))
        << "row 29, selected, is drawn at the bottom of the page";
}
