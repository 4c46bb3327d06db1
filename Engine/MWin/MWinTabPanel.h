#pragma once

#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"

class MWinTabPanel;
class MWinVertScrollbar;

// Standard texture button of the rows below the last row; the skin may leave it undefined.
constexpr int MWIN_STD_TAB_EMPTY_ROW = 24;

inline constexpr char MWIN_TP_VS_ID[] = "MWIN_TP_VS_ID";

// The text of a cell; row -1 asks for the header. Null draws nothing.
typedef const char* (*MWinTabPanelEntryCB)(int row, int column, MWinTabPanel* panel);
// A cell's own colour (4 floats) or scale (2 floats); null takes the column's.
typedef const float* (*MWinTabPanelCellCB)(int row, int column, MWinTabPanel* panel);

enum _MWinTabPanelSelectMode : char {
    MWIN_TP_SELECT_SINGLE = 0,
    MWIN_TP_SELECT_SHIFT_CTRL_ADDS = 1,
    MWIN_TP_SELECT_TOGGLE = 2,
};

// How a row came to be selected, as the callback is told.
enum _MWinTabPanelHow : char {
    MWIN_TP_HOW_KEYS = 0,
    MWIN_TP_HOW_CLICK = 1,
    MWIN_TP_HOW_DOUBLE_CLICK = 2,
};

struct _MWinTabPanelColumn {
    EngUInt8 percentage; // 0 shares what the others leave
    float width;         // computed
    EngInt32 align;      // _MWinTextAlign, -1 the panel's
    float scale[2];
    float colour[4];
    EngUInt8 hidden;
};

// A table (kind 15): rows and columns of texts from an entry callback, an optional header whose cells
// choose the sort column, row backgrounds, column dividers, row selection and its own scroll bar when
// the rows do not fit.
class MWinTabPanel : public MWinButton {
public:
    MWinTabPanel(MWin* mwin, const char* id, MWinGroup* group, const char* texbut_id, float x, float y, float w,
                 float h);
    ~MWinTabPanel() override;

    void AreaChanged() override;
    void Render() override;
    char HandleButtonPressed(int button, char down, char flag) override;
    char HandleDoubleClick(int button) override;
    void CancelPress() override;
    char HandleMouseMove() override;
    char HandleMouseWheel(int steps) override;
    char HandleKeyDown(int key) override;
    char IsCapturingInput() override;
    void ResetState() override;

    // rows_per_page: above 0 a fixed count, -2 and -3 smaller rows, anything else rows of the default height.
    char SetEntryCallback(int rows, int columns, int rows_per_page, MWinTabPanelEntryCB callback);
    char SetNumRows(int rows);
    void RemoveAllRows();
    char SetColumnWidthPercentage(int column, int percent);
    char SetColumnTextAlign(int column, int align);
    char SetColumnTextColour(int column, float r, float g, float b, float a);
    char SetColumnTextScale(int column, float sx, float sy);
    char SetColumnHidden(int column, char hidden);
    void SetCellColourCallback(MWinTabPanelCellCB callback) { m_colour_cb = callback; }
    void SetCellScaleCallback(MWinTabPanelCellCB callback) { m_scale_cb = callback; }
    // A negative value keeps the current one.
    void SetLayoutParams(char layout_flag_a, float margin_x, float margin_y, float header_top_margin,
                         char dividers_on, float divider_top_inset, float divider_bottom_inset, char row_backs_on,
                         float row_back_alpha, char header_back_on, float header_back_alpha);
    void SetHeaderAndSelectMode(char header_on, char alternating_backs, char fill_page, char selection_on,
                                char select_mode, char header_click_sorts, float header_height);
    // value above 0 selects, 0 deselects, below 0 toggles; how is an _MWinTabPanelHow.
    char SelectRow(int row, char value, char fire, char how);
    bool IsRowSelected(int row) const;
    int GetFirstSelectedRow() const;
    int GetFirstVisibleRow() const;
    int GetLastVisibleRow() const;
    char GetCellArea(int row, int column, float* area) const;
    void CentreOnRow(int row);
    char CropToTableRowsArea(char on);
    // column -1 clears the column and the previous one; a negative direction keeps the current one.
    void SetSortColumn(int column, int direction, char keep_previous);

    int GetNumRows() const { return m_num_rows; }
    int GetNumColumns() const { return m_num_columns; }
    int GetRowsPerPage() const { return m_rows_per_page; }
    float GetColumnWidth(int column) const;
    int GetSortColumn() const { return m_sort_column; }
    int GetSortDirection() const { return m_sort_direction; }
    int GetPreviousSortColumn() const { return m_prev_sort_column; }
    int GetPreviousSortDirection() const { return m_prev_sort_direction; }
    float GetScroll() const { return m_scroll; }
    float GetRowHeight() const { return m_row_height; }
    const float* GetRowsArea() const { return m_rows_area; }
    float GetTableWidth() const { return m_table_w; }
    bool IsScrollBarShown() const { return m_scrollbar_shown != 0; }
    MWinVertScrollbar* GetScrollBar() const { return m_scrollbar; }
    float GetHeaderHeight() const { return m_header_height; }

private:
    float Metric(int field, float fallback) const;
    bool ValidColumn(int column, const char* name) const;
    bool MakeRows(int rows);
    void Layout();
    void ComputeRowsPerPage();
    void PlaceScrollBar();
    void RemoveScrollBar();
    void ComputeColumnWidths();
    float ColumnX(int column) const;
    int ColumnAt(float x) const;
    bool IsOverScrollBar() const;
    char ForwardToScrollBar(int button, char down, char flag);
    void SyncFromScrollBar();
    char ReleaseOverTable();
    void ClickHeader(int column);
    void ClickRow(int row);
    void MoveSelection(int delta);
    void ScrollBy(int delta);
    void FireRow(int row, char how, char header);
    void RenderRows(const float* colour);
    void RenderDividers();
    void RenderHeader();
    void RenderTexts();
    void DrawCellText(int row, int column, float y, float h);

    _MWinTabPanelColumn* m_columns = nullptr;
    char* m_row_flags = nullptr;
    int m_num_columns = 0;
    int m_num_rows = 0;
    int m_rows_per_page = 0;
    char m_rows_per_page_mode = 1;
    char m_header_on = 0;
    float m_header_height = 0.0f;
    float m_margin_x = 2.0f;
    float m_margin_y = 2.0f;
    float m_header_top_margin = 0.0f;
    char m_header_back_on = 1;
    float m_header_back_alpha = 1.0f;
    char m_header_click_sorts = 1;
    char m_selection_on = 1;
    char m_select_mode = MWIN_TP_SELECT_SINGLE;
    char m_equal_widths = 0;
    char m_row_backs_on = 1;
    char m_alternating_backs = 1;
    char m_whole_width_backs = 1;
    char m_fill_page = 1;
    float m_row_back_alpha = 0.75f;
    char m_layout_flag_a = 1;
    char m_dividers_on = 1;
    float m_divider_top_inset = 3.0f;
    float m_divider_bottom_inset = 3.0f;
    int m_sort_column = -1;
    char m_sort_direction = 0;
    int m_prev_sort_column = -1;
    char m_prev_sort_direction = 0;
    float m_scroll = 0.0f;
    float m_row_height = 0.0f;
    float m_rows_area[4] = {}; // x, y, width, height on the virtual screen
    float m_table_x = 0.0f;
    float m_table_w = 0.0f;
    char m_scrollbar_shown = 0;
    char m_entry_set = 0;
    MWinTabPanelEntryCB m_entry_cb = nullptr;
    MWinTabPanelCellCB m_colour_cb = nullptr;
    MWinTabPanelCellCB m_scale_cb = nullptr;
    MWinVertScrollbar* m_scrollbar = nullptr;
};
