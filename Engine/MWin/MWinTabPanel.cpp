#include "Engine/MWin/MWinTabPanel.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngKeyStateTable.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinDesktop.h"
#include "Engine/MWin/MWinTextureRegistry.h"
#include "Engine/MWin/MWinVertScrollbar.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Default row height of each screen layout.
constexpr float kDefaultRowHeight[MWIN_NUM_LAYOUTS] = {20, 32, 44, 18, 26};
// Row height factors of the rows-per-page modes 1 to 3.
constexpr float kRowsPerPageFactor[4] = {1.0f, 1.0f, 0.66f, 0.4f};

bool ShiftOrCtrlDown()
{
    return EngKeyStateTableIsDown(ENG_VK_SHIFT) || EngKeyStateTableIsDown(ENG_VK_CONTROL);
}

} // namespace

MWinTabPanel::MWinTabPanel(MWin* mwin, const char* id, MWinGroup* group, const char* texbut_id, float x, float y,
                           float w, float h)
    : MWinButton(mwin, id, group, MWIN_BUT_TABPANEL, texbut_id, "", x, y, w, h)
{
    m_header_height = Metric(MWIN_LF_TP_HEADER_HEIGHT, 24.0f);
    m_divider_top_inset = Metric(MWIN_LF_TP_DIVIDER_TOP_INSET, 3.0f);
    m_divider_bottom_inset = Metric(MWIN_LF_TP_DIVIDER_BOTTOM_INSET, 3.0f);
    Layout();
}

MWinTabPanel::~MWinTabPanel()
{
    // The bar was never linked into a group; it goes with the panel.
    delete m_scrollbar;
    delete[] m_columns;
    delete[] m_row_flags;
}

float MWinTabPanel::Metric(int field, float fallback) const
{
    float value = LayoutField(field);
    return value > 0.0f ? value : fallback;
}

bool MWinTabPanel::ValidColumn(int column, const char* name) const
{
    if (column >= 0 && column < m_num_columns)
        return true;
    DebugError(name, "Column does not exist [%d]", column);
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Table set-up

bool MWinTabPanel::MakeRows(int rows)
{
    char* flags = rows > 0 ? new (std::nothrow) char[size_t(rows)]() : nullptr;
    if (rows > 0 && !flags) {
        DebugError(ENG_FUNC, "No memory for %d rows (ID: %s)", rows, m_id);
        return false;
    }
    delete[] m_row_flags;
    m_row_flags = flags;
    m_num_rows = rows;
    return true;
}

char MWinTabPanel::SetEntryCallback(int rows, int columns, int rows_per_page, MWinTabPanelEntryCB callback)
{
    if (columns < 1) {
        DebugError(ENG_FUNC, "invalid num cols %d (ID: %s)", columns, m_id);
        return 0;
    }
    if (rows < 0) {
        DebugError(ENG_FUNC, "invalid num rows %d (ID: %s)", rows, m_id);
        return 0;
    }
    if (!callback && !m_entry_cb) {
        DebugError(ENG_FUNC, "Null callback entry (ID: %s)", m_id);
        return 0;
    }
    _MWinTabPanelColumn* made = new (std::nothrow) _MWinTabPanelColumn[size_t(columns)];
    if (!made || !MakeRows(rows)) {
        delete[] made;
        DebugError(ENG_FUNC, "No memory (ID: %s)", m_id);
        return 0;
    }
    for (int i = 0; i < columns; i++)
        made[i] = {0, 0.0f, -1, {1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, 0};
    delete[] m_columns;
    m_columns = made;
    m_num_columns = columns;
    // A sort column the new table lacks would point past the columns.
    if (m_sort_column >= columns || m_prev_sort_column >= columns)
        SetSortColumn(-1, 0, 0);
    if (callback)
        m_entry_cb = callback;
    m_entry_set = 1;
    if (rows_per_page > 0) {
        m_rows_per_page_mode = 0;
        m_rows_per_page = rows_per_page;
    } else {
        m_rows_per_page_mode = rows_per_page == -2 ? 2 : (rows_per_page == -3 ? 3 : 1);
    }
    m_lang_on = 0;
    m_lang_token[0] = 0;
    m_scroll = 0.0f;
    Layout();
    Redraw();
    return 1;
}

char MWinTabPanel::SetNumRows(int rows)
{
    if (!m_entry_set) {
        DebugError(ENG_FUNC, "No entry callback set (ID: %s)", m_id);
        return 0;
    }
    if (rows < 0) {
        DebugError(ENG_FUNC, "invalid num rows %d (ID: %s)", rows, m_id);
        return 0;
    }
    if (!MakeRows(rows))
        return 0;
    Layout();
    Redraw();
    return 1;
}

void MWinTabPanel::RemoveAllRows()
{
    MakeRows(0);
    Layout();
    Redraw();
}

char MWinTabPanel::SetColumnWidthPercentage(int column, int percent)
{
    if (!ValidColumn(column, ENG_FUNC))
        return 0;
    if (percent < 0 || percent > 100) {
        DebugError(ENG_FUNC, "Invalid percentage: [%d]", percent);
        return 0;
    }
    m_columns[column].percentage = EngUInt8(percent);
    m_equal_widths = 0;
    Layout();
    return 1;
}

char MWinTabPanel::SetColumnTextAlign(int column, int align)
{
    if (!ValidColumn(column, ENG_FUNC))
        return 0;
    m_columns[column].align = align;
    return 1;
}

char MWinTabPanel::SetColumnTextColour(int column, float r, float g, float b, float a)
{
    if (!ValidColumn(column, ENG_FUNC))
        return 0;
    const float rgba[4] = {r, g, b, a};
    std::memcpy(m_columns[column].colour, rgba, sizeof(rgba));
    return 1;
}

char MWinTabPanel::SetColumnTextScale(int column, float sx, float sy)
{
    if (!ValidColumn(column, ENG_FUNC))
        return 0;
    m_columns[column].scale[0] = sx;
    m_columns[column].scale[1] = sy;
    return 1;
}

char MWinTabPanel::SetColumnHidden(int column, char hidden)
{
    if (!ValidColumn(column, ENG_FUNC))
        return 0;
    m_columns[column].hidden = hidden ? 1 : 0;
    Layout();
    return 1;
}

void MWinTabPanel::SetLayoutParams(char layout_flag_a, float margin_x, float margin_y, float header_top_margin,
                                   char dividers_on, float divider_top_inset, float divider_bottom_inset,
                                   char row_backs_on, float row_back_alpha, char header_back_on,
                                   float header_back_alpha)
{
    auto keep = [](auto* field, auto value) {
        if (value >= 0)
            *field = value;
    };
    keep(&m_layout_flag_a, layout_flag_a);
    keep(&m_margin_x, margin_x);
    keep(&m_margin_y, margin_y);
    keep(&m_header_top_margin, header_top_margin);
    keep(&m_dividers_on, dividers_on);
    keep(&m_divider_top_inset, divider_top_inset);
    keep(&m_divider_bottom_inset, divider_bottom_inset);
    keep(&m_row_backs_on, row_backs_on);
    keep(&m_row_back_alpha, row_back_alpha);
    keep(&m_header_back_on, header_back_on);
    keep(&m_header_back_alpha, header_back_alpha);
    Layout();
}

void MWinTabPanel::SetHeaderAndSelectMode(char header_on, char alternating_backs, char fill_page, char selection_on,
                                          char select_mode, char header_click_sorts, float header_height)
{
    m_header_on = header_on ? 1 : 0;
    m_alternating_backs = alternating_backs ? 1 : 0;
    m_fill_page = fill_page ? 1 : 0;
    m_selection_on = selection_on ? 1 : 0;
    m_select_mode = select_mode >= MWIN_TP_SELECT_SINGLE && select_mode <= MWIN_TP_SELECT_TOGGLE
                        ? select_mode
                        : char(MWIN_TP_SELECT_SINGLE);
    m_header_click_sorts = header_click_sorts ? 1 : 0;
    if (header_height > 0.0f)
        m_header_height = header_height;
    else if (m_header_height <= 0.0f)
        m_header_height = Metric(MWIN_LF_TP_HEADER_HEIGHT, 24.0f);
    if (!m_header_on)
        m_header_height = 0.0f;
    Layout();
}

void MWinTabPanel::SetSortColumn(int column, int direction, char keep_previous)
{
    if (column < 0) {
        m_sort_column = -1;
        m_prev_sort_column = -1;
        return;
    }
    if (column >= m_num_columns) {
        DebugError(ENG_FUNC, "Column does not exist [%d]", column);
        return;
    }
    if (keep_previous && column != m_sort_column) {
        m_prev_sort_column = m_sort_column;
        m_prev_sort_direction = m_sort_direction;
    }
    m_sort_column = column;
    if (direction >= 0)
        m_sort_direction = direction ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------------------
// Layout

void MWinTabPanel::ComputeRowsPerPage()
{
    if (m_rows_per_page_mode == 0)
        return;
    int layout = m_mwin ? m_mwin->GetScreenLayout() : 0;
    layout = layout >= 0 && layout < MWIN_NUM_LAYOUTS ? layout : 0;
    float row = kDefaultRowHeight[layout] * kRowsPerPageFactor[int(m_rows_per_page_mode) & 3];
    m_rows_per_page = std::max(0, int(m_area.h / row));
}

void MWinTabPanel::Layout()
{
    ComputeRowsPerPage();
    const _Dimension& area = m_screen_area;
    m_table_x = area.x + m_margin_x;
    m_table_w = std::max(0.0f, area.w - 2.0f * m_margin_x);
    float top = m_header_on ? m_header_top_margin + m_header_height : m_margin_y;
    float height = m_header_on ? area.h - m_header_top_margin - m_header_height - m_margin_y
                               : area.h - 2.0f * m_margin_y;
    m_rows_area[0] = m_table_x;
    m_rows_area[1] = area.y + top;
    m_rows_area[3] = std::max(0.0f, height);
    m_row_height = m_rows_per_page > 0 ? m_rows_area[3] / float(m_rows_per_page) : m_rows_area[3];
    if (m_rows_per_page < m_num_rows)
        PlaceScrollBar();
    else
        RemoveScrollBar();
    m_rows_area[2] = m_table_w;
    ComputeColumnWidths();
}

void MWinTabPanel::PlaceScrollBar()
{
    float width = Metric(MWIN_LF_TP_SCROLLBAR_WIDTH, 16.0f);
    float top = m_header_on ? m_header_top_margin + m_header_height : m_margin_y;
    if (!m_scrollbar) {
        m_scrollbar = new (std::nothrow)
            MWinVertScrollbar(m_mwin, MWIN_TP_VS_ID, m_group, MWIN_TEXBUT_DEFAULT, "", 0, 0, width, 2);
        if (!m_scrollbar) {
            DebugError(ENG_FUNC, "No scroll bar (no memory) (ID: %s)", m_id);
            m_scrollbar_shown = 0;
            return;
        }
    }
    m_scrollbar->SetArea(m_area.x + m_area.w - m_margin_x - width, m_area.y + top, width, m_rows_area[3]);
    double last = double(m_num_rows - m_rows_per_page);
    m_scrollbar->SetRange(0.0, last, double(m_rows_per_page), 1.0);
    m_scroll = float(std::max(0.0, std::min(double(m_scroll), last)));
    m_scrollbar->SetPosDouble(m_scroll, 0, 1, 0);
    m_scrollbar->Show();
    m_table_w = std::max(0.0f, m_table_w - width);
    m_scrollbar_shown = 1;
}

void MWinTabPanel::RemoveScrollBar()
{
    m_scroll = 0.0f;
    m_scrollbar_shown = 0;
    if (!m_scrollbar)
        return;
    MWinVertScrollbar* bar = m_scrollbar;
    m_scrollbar = nullptr;
    // The bar may be the one delivering the event that led here: the desktop frees it once that is over.
    MWinDesktop* desktop = m_mwin ? m_mwin->GetDesktop() : nullptr;
    if (desktop)
        desktop->Dispose(bar);
    else
        delete bar;
}

void MWinTabPanel::ComputeColumnWidths()
{
    float usable = std::max(0.0f, m_table_w - 2.0f * m_margin_x);
    int visible = 0;
    int sum = 0;
    int free_columns = 0;
    for (int i = 0; i < m_num_columns; i++) {
        m_columns[i].width = 0.0f;
        if (m_columns[i].hidden)
            continue;
        visible++;
        sum += m_columns[i].percentage;
        free_columns += m_columns[i].percentage == 0 ? 1 : 0;
    }
    if (visible == 0)
        return;
    if (sum == 0)
        m_equal_widths = 1;
    for (int i = 0; i < m_num_columns; i++) {
        _MWinTabPanelColumn& c = m_columns[i];
        if (c.hidden)
            continue;
        if (m_equal_widths)
            c.width = usable / float(visible);
        else if (sum < 100 && free_columns > 0)
            c.width = float(c.percentage ? c.percentage : (100 - sum) / free_columns) * usable / 100.0f;
        else
            c.width = 100.0f / float(sum) * float(c.percentage) * usable / 100.0f;
    }
}

float MWinTabPanel::GetColumnWidth(int column) const
{
    return column >= 0 && column < m_num_columns ? m_columns[column].width : 0.0f;
}

float MWinTabPanel::ColumnX(int column) const
{
    float x = m_table_x + m_margin_x;
    for (int i = 0; i < column && i < m_num_columns; i++)
        x += m_columns[i].width;
    return x;
}

int MWinTabPanel::ColumnAt(float x) const
{
    float left = m_table_x + m_margin_x;
    for (int i = 0; i < m_num_columns; i++) {
        float right = left + m_columns[i].width;
        if (m_columns[i].width > 0.0f && x >= left && x < right)
            return i;
        left = right;
    }
    return -1;
}

void MWinTabPanel::AreaChanged()
{
    Layout();
}

int MWinTabPanel::GetFirstVisibleRow() const
{
    return m_scrollbar_shown ? int(m_scroll) : 0;
}

int MWinTabPanel::GetLastVisibleRow() const
{
    return std::min(GetFirstVisibleRow() + m_rows_per_page - 1, m_num_rows - 1);
}

char MWinTabPanel::GetCellArea(int row, int column, float* area) const
{
    if (!area || column < 0 || column >= m_num_columns || row < GetFirstVisibleRow() || row > GetLastVisibleRow())
        return 0;
    area[0] = ColumnX(column);
    area[1] = m_rows_area[1] + (float(row) - m_scroll) * m_row_height;
    area[2] = m_columns[column].width;
    area[3] = m_row_height;
    return 1;
}

void MWinTabPanel::CentreOnRow(int row)
{
    int last = std::max(0, m_num_rows - m_rows_per_page);
    m_scroll = float(std::max(0, std::min(row - m_rows_per_page / 2, last)));
    Layout();
    Redraw();
}

char MWinTabPanel::CropToTableRowsArea(char on)
{
    if (!m_mwin) {
        DebugError(ENG_FUNC, "No mwin.");
        return 0;
    }
    if (on)
        EngDeviceTurnOnCropInViewport(m_rows_area[0], m_rows_area[1], m_rows_area[2], m_rows_area[3]);
    else
        EngDeviceTurnOffCrop();
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Selection

bool MWinTabPanel::IsRowSelected(int row) const
{
    return row >= 0 && row < m_num_rows && m_row_flags[row] != 0;
}

int MWinTabPanel::GetFirstSelectedRow() const
{
    for (int i = 0; i < m_num_rows; i++) {
        if (m_row_flags[i])
            return i;
    }
    return -1;
}

void MWinTabPanel::FireRow(int row, char how, char header)
{
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.kind.tabpanel.selected = IsRowSelected(row) ? 1 : 0;
    info.kind.tabpanel.row = row;
    info.kind.tabpanel.how = how;
    info.kind.tabpanel.header = header;
    // Last: the callback may remove the panel.
    Fire(&info);
}

char MWinTabPanel::SelectRow(int row, char value, char fire, char how)
{
    if (m_kind != MWIN_BUT_TABPANEL) {
        DebugError(ENG_FUNC, "Button is not a panel");
        return 0;
    }
    if (m_num_rows <= 0) {
        DebugError(ENG_FUNC, "No rows");
        return 0;
    }
    if (row < 0) {
        DebugError(ENG_FUNC, "Bad row number [%d]", row);
        return 0;
    }
    if (row >= m_num_rows) {
        DebugError(ENG_FUNC, "Row does not exits [%d]", row);
        return 0;
    }
    m_row_flags[row] = value > 0 ? 1 : (value == 0 ? 0 : !m_row_flags[row]);
    int first = GetFirstVisibleRow();
    if (row < first)
        m_scroll = float(row);
    else if (row >= first + m_rows_per_page)
        m_scroll = float(row - m_rows_per_page + 1);
    Layout();
    WriteRegisteredVariable(double(row));
    Redraw();
    if (fire)
        FireRow(row, how, 0);
    return 1;
}

void MWinTabPanel::MoveSelection(int delta)
{
    int current = GetFirstSelectedRow();
    if (current < 0)
        return;
    int target = std::max(0, std::min(current + delta, m_num_rows - 1));
    if (target == current)
        return;
    SelectRow(current, 0, 0, MWIN_TP_HOW_KEYS);
    SelectRow(target, 1, 1, MWIN_TP_HOW_KEYS);
}

void MWinTabPanel::ScrollBy(int delta)
{
    float last = float(std::max(0, m_num_rows - m_rows_per_page));
    float moved = std::max(0.0f, std::min(m_scroll + float(delta), last));
    if (moved == m_scroll)
        return;
    m_scroll = moved;
    Layout();
    Redraw();
}

// ---------------------------------------------------------------------------------------------------------
// Input

bool MWinTabPanel::IsOverScrollBar() const
{
    return m_scrollbar && m_scrollbar_shown && m_scrollbar->IsMouseOver();
}

void MWinTabPanel::SyncFromScrollBar()
{
    if (!m_scrollbar)
        return;
    float value = float(m_scrollbar->GetPosDouble());
    if (value == m_scroll)
        return;
    m_scroll = value;
    Layout();
    Redraw();
}

char MWinTabPanel::ForwardToScrollBar(int button, char down, char flag)
{
    char used = m_scrollbar->HandleButtonPressed(button, down, flag);
    SyncFromScrollBar();
    return used;
}

char MWinTabPanel::HandleButtonPressed(int button, char down, char flag)
{
    if (!m_ready || !m_enabled || !m_shown)
        return 0;
    if (m_scrollbar && (m_scrollbar->IsDragging() || IsOverScrollBar()))
        return ForwardToScrollBar(button, down, flag);
    if (button != 0)
        return 0;
    if (down) {
        m_pressed = 1;
        return 1;
    }
    if (!m_pressed)
        return 1;
    m_pressed = 0;
    return ReleaseOverTable();
}

char MWinTabPanel::ReleaseOverTable()
{
    float x = m_mwin->GetMouseX();
    float y = m_mwin->GetMouseY();
    if (x < m_table_x || x >= m_table_x + m_table_w)
        return 1;
    float header_top = m_screen_area.y + m_header_top_margin;
    if (m_header_on && m_header_click_sorts && y >= header_top && y < m_rows_area[1]) {
        int column = ColumnAt(x);
        if (column >= 0)
            ClickHeader(column);
        return 1;
    }
    if (!m_selection_on || m_row_height <= 0.0f || y < m_rows_area[1] || y >= m_rows_area[1] + m_rows_area[3])
        return 1;
    int row = int((y - m_rows_area[1]) / m_row_height + m_scroll);
    if (row >= 0 && row < m_num_rows)
        ClickRow(row);
    return 1;
}

void MWinTabPanel::ClickHeader(int column)
{
    if (column == m_sort_column)
        m_sort_direction = char(1 - m_sort_direction);
    else
        SetSortColumn(column, 0, 1);
    Redraw();
    FireRow(-1, MWIN_TP_HOW_CLICK, 1);
}

void MWinTabPanel::ClickRow(int row)
{
    if (m_select_mode == MWIN_TP_SELECT_TOGGLE) {
        SelectRow(row, -1, 1, MWIN_TP_HOW_CLICK);
        return;
    }
    if (!ShiftOrCtrlDown())
        std::memset(m_row_flags, 0, size_t(m_num_rows));
    SelectRow(row, 1, 1, MWIN_TP_HOW_CLICK);
}

char MWinTabPanel::HandleDoubleClick(int button)
{
    if (!m_ready || !m_enabled || !m_shown)
        return 0;
    if (m_scrollbar && IsOverScrollBar()) {
        char used = m_scrollbar->HandleDoubleClick(button);
        SyncFromScrollBar();
        return used;
    }
    if (button != 0 || !m_selection_on || m_select_mode != MWIN_TP_SELECT_SINGLE)
        return 0;
    int row = GetFirstSelectedRow();
    if (row >= 0)
        SelectRow(row, 1, 1, MWIN_TP_HOW_DOUBLE_CLICK);
    return 1;
}

void MWinTabPanel::CancelPress()
{
    if (m_scrollbar) {
        m_scrollbar->CancelPress();
        SyncFromScrollBar();
    }
    MWinButton::CancelPress();
}

char MWinTabPanel::HandleMouseMove()
{
    if (!m_ready || !m_shown)
        return 0;
    if (m_scrollbar && m_scrollbar->IsDragging()) {
        m_scrollbar->HandleMouseMove();
        SyncFromScrollBar();
        return 1;
    }
    return MWinButton::HandleMouseMove();
}

char MWinTabPanel::HandleMouseWheel(int steps)
{
    if (!m_ready || !m_enabled || !m_shown || steps == 0)
        return 0;
    if (m_scrollbar && m_scrollbar_shown) {
        char used = m_scrollbar->HandleMouseWheel(steps);
        SyncFromScrollBar();
        return used;
    }
    if (!m_selection_on || m_select_mode != MWIN_TP_SELECT_SINGLE)
        return 0;
    MoveSelection(steps > 0 ? -1 : 1);
    return 1;
}

char MWinTabPanel::HandleKeyDown(int key)
{
    if (!m_ready || !m_enabled || !m_shown)
        return 0;
    int delta = 0;
    if (key == ENG_VK_PRIOR)
        delta = -m_rows_per_page;
    else if (key == ENG_VK_NEXT)
        delta = m_rows_per_page;
    else if (key == ENG_VK_UP)
        delta = -1;
    else if (key == ENG_VK_DOWN)
        delta = 1;
    else
        return MWinButton::HandleKeyDown(key);
    if (m_scrollbar_shown)
        ScrollBy(delta);
    else if (m_selection_on && m_select_mode == MWIN_TP_SELECT_SINGLE)
        MoveSelection(delta);
    return 1;
}

char MWinTabPanel::IsCapturingInput()
{
    return m_scrollbar && m_scrollbar->IsDragging() ? 1 : 0;
}

void MWinTabPanel::ResetState()
{
    if (m_scrollbar) {
        m_scrollbar->ResetState();
        SyncFromScrollBar();
    }
    MWinButton::ResetState();
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void MWinTabPanel::RenderHeader()
{
    if (!m_header_on || !m_header_back_on)
        return;
    MWinTextures* textures = m_mwin->GetTextures();
    const float colour[4] = {1.0f, 1.0f, 1.0f, m_header_back_alpha};
    float y = m_screen_area.y + m_header_top_margin;
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_TAB_HEADING), MWIN_TS_NORMAL, m_table_x, y,
                         m_table_w, m_header_height, colour);
    if (m_sort_column < 0 || m_sort_column >= m_num_columns)
        return;
    float size = m_header_height / 3.0f;
    float x = ColumnX(m_sort_column) + m_columns[m_sort_column].width - size * 1.5f;
    int slot = m_sort_direction ? MWIN_STD_DOWN_ARROW : MWIN_STD_UP_ARROW;
    textures->DrawTexBut(textures->GetStandardTexButNum(slot), MWIN_TS_NORMAL, x, y + size, size, size, nullptr);
}

void MWinTabPanel::RenderRows(const float* colour)
{
    MWinTextures* textures = m_mwin->GetTextures();
    int first = GetFirstVisibleRow();
    int count = m_rows_per_page + (m_scroll > float(first) ? 1 : 0);
    for (int i = 0; i < count; i++) {
        int row = first + i;
        int slot = -1;
        if (row < m_num_rows && m_row_flags[row])
            slot = MWIN_STD_TAB_ROW_SELECTION;
        else if (row < m_num_rows && m_row_backs_on)
            slot = m_alternating_backs && (row & 1) ? MWIN_STD_TAB_ROW_BACK2 : MWIN_STD_TAB_ROW_BACK1;
        else if (row >= m_num_rows && m_row_backs_on && m_fill_page)
            slot = MWIN_STD_TAB_EMPTY_ROW;
        if (slot < 0)
            continue;
        int texbut = textures->GetStandardTexButNum(slot);
        float y = m_rows_area[1] + (float(row) - m_scroll) * m_row_height;
        if (m_whole_width_backs) {
            textures->DrawTexBut(texbut, MWIN_TS_NORMAL, m_table_x, y, m_table_w, m_row_height, colour);
            continue;
        }
        for (int c = 0; c < m_num_columns; c++) {
            if (m_columns[c].width > 0.0f)
                textures->DrawTexBut(texbut, MWIN_TS_NORMAL, ColumnX(c), y, m_columns[c].width, m_row_height,
                                     colour);
        }
    }
}

void MWinTabPanel::RenderDividers()
{
    if (!m_dividers_on || m_num_columns < 2 || !m_whole_width_backs)
        return;
    MWinTextures* textures = m_mwin->GetTextures();
    int texbut = textures->GetStandardTexButNum(MWIN_STD_TAB_VERT_DIV);
    float top = m_screen_area.y + m_header_top_margin + m_divider_top_inset;
    float bottom = m_rows_area[1] + m_rows_area[3] - m_divider_bottom_inset;
    if (!m_fill_page) {
        float rows_shown = std::min(float(m_num_rows) - m_scroll, float(m_rows_per_page));
        bottom = std::min(bottom, m_rows_area[1] + std::max(0.0f, rows_shown) * m_row_height);
    }
    if (bottom <= top)
        return;
    float width = 2.0f;
    for (int c = 1; c < m_num_columns; c++)
        textures->DrawTexBut(texbut, MWIN_TS_NORMAL, ColumnX(c) - width / 2.0f, top, width, bottom - top, nullptr);
}

void MWinTabPanel::DrawCellText(int row, int column, float y, float h)
{
    const char* text = m_entry_cb ? m_entry_cb(row, column, this) : nullptr;
    EngFont* font = GetFont();
    if (!text || !text[0] || !font)
        return;
    const _MWinTabPanelColumn& c = m_columns[column];
    const float* colour = m_colour_cb ? m_colour_cb(row, column, this) : nullptr;
    const float* scale = m_scale_cb ? m_scale_cb(row, column, this) : nullptr;
    colour = colour ? colour : c.colour;
    scale = scale ? scale : c.scale;
    SetFontScale(font);
    float sx = 1.0f;
    float sy = 1.0f;
    font->GetScaleXY(&sx, &sy);
    font->SetScale(sx * scale[0], sy * scale[1]);
    font->SetColourFromArray(colour);
    int align = c.align >= 0 ? c.align : m_text_align;
    m_mwin->DrawTextInArea(m_font_num, align, m_text_margin, ColumnX(column), y, c.width, h, nullptr, text, 0,
                           true, m_shrink_to_fit != 0);
}

void MWinTabPanel::RenderTexts()
{
    EngFont* font = GetFont();
    if (!font || !m_entry_cb)
        return;
    float old_sx = 1.0f;
    float old_sy = 1.0f;
    font->GetScaleXY(&old_sx, &old_sy);
    const float* old = font->GetColour();
    float saved[4] = {old[0], old[1], old[2], old[3]};
    if (m_header_on && m_header_height > 0.0f) {
        float y = m_screen_area.y + m_header_top_margin;
        EngDeviceTurnOnCropInViewport(m_table_x, y, m_table_w, m_header_height);
        for (int c = 0; c < m_num_columns; c++) {
            if (m_columns[c].width > 0.0f)
                DrawCellText(-1, c, y, m_header_height);
        }
        EngDeviceTurnOffCrop();
    }
    CropToTableRowsArea(1);
    int first = GetFirstVisibleRow();
    int last = std::min(m_num_rows - 1, first + m_rows_per_page);
    for (int row = first; row <= last; row++) {
        float y = m_rows_area[1] + (float(row) - m_scroll) * m_row_height;
        for (int c = 0; c < m_num_columns; c++) {
            if (m_columns[c].width > 0.0f)
                DrawCellText(row, c, y, m_row_height);
        }
    }
    CropToTableRowsArea(0);
    font->SetColourFromArray(saved);
    font->SetScale(old_sx, old_sy);
}

void MWinTabPanel::Render()
{
    if (!m_on_screen || !m_shown || !m_mwin || !m_mwin->GetTextures() || m_visible_area.h <= 0.0f ||
        !EngDeviceIsCreated())
        return;
    EngDeviceTurnOnCropInViewport(m_visible_area.x, m_visible_area.y, m_visible_area.w, m_visible_area.h);
    DrawBackground(GetTextureState());
    RenderHeader();
    const float alpha[4] = {1.0f, 1.0f, 1.0f, m_row_back_alpha};
    bool alpha_applies = m_row_back_alpha >= 0.0f && m_row_back_alpha <= 1.0f;
    CropToTableRowsArea(1);
    RenderRows(alpha_applies ? alpha : nullptr);
    // Crops do not nest: the dividers take the panel's own crop again.
    EngDeviceTurnOnCropInViewport(m_visible_area.x, m_visible_area.y, m_visible_area.w, m_visible_area.h);
    RenderDividers();
    EngDeviceTurnOffCrop();
    RenderTexts();
    if (m_scrollbar && m_scrollbar_shown)
        m_scrollbar->Render();
}
