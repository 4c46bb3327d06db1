// Native windows. Tests that need a window run only when a display is there (DISPLAY set, e.g. under
// xvfb-run); without one they are skipped and the clean failure is checked instead.
#include <gtk/gtk.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Engine/Core/SWin.h"
#include "EngFileTestSupport.h"
#include "Support/GtkWidgetsForTests.h"

namespace {

SWinCreateInfo MakeInfo(int width, int height)
{
    SWinCreateInfo info = {};
    std::snprintf(info.title, sizeof(info.title), "Native test");
    info.width = width;
    info.height = height;
    info.red = 0.94f;
    info.green = 0.94f;
    info.blue = 0.94f;
    return info;
}

struct CallbackLog
{
    int presses = 0;
    SWin* win = nullptr;
    int command = -1;
};

void CountPress(SWin* win, void* user)
{
    CallbackLog* log = static_cast<CallbackLog*>(user);
    log->presses++;
    log->win = win;
}

void EndLoop(SWin* win, void*)
{
    win->QuitWindowLoop();
}

void RecordCommand(SWin* win, int command, void* user)
{
    CallbackLog* log = static_cast<CallbackLog*>(user);
    log->command = command;
    log->win = win;
}

GtkWidget* FindTopLevel(const SWin& win)
{
    GtkWidget* found = nullptr;
    GList* all = gtk_window_list_toplevels();
    for (GList* item = all; item; item = item->next) {
        const char* name = gtk_widget_get_name(GTK_WIDGET(item->data));
        if (name && std::strcmp(name, win.GetClassName()) == 0)
            found = GTK_WIDGET(item->data);
    }
    g_list_free(all);
    return found;
}

void FindFirstLabel(GtkWidget* widget, gpointer found)
{
    if (*static_cast<GtkWidget**>(found))
        return;
    if (GTK_IS_LABEL(widget))
        *static_cast<GtkWidget**>(found) = widget;
    else if (GTK_IS_CONTAINER(widget))
        gtk_container_foreach(GTK_CONTAINER(widget), FindFirstLabel, found);
}

// Pumps until the window has nothing left to do (or its loop ends); returns the last result.
int PumpAll(SWin& win, int limit = 200)
{
    int result = 1;
    for (int i = 0; i < limit; i++) {
        result = win.ProcessAnyWindowsMessages();
        if (result == 0)
            return 0;
        if (result == 1)
            g_usleep(1000);
    }
    return result;
}

class SWinOnDisplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (!display || !display[0])
            GTEST_SKIP() << "no display";
    }
};

} // namespace

TEST(SWinPlacement, HighDpiScreenScalesSizeAndKeepsCentredWindowCentred)
{
    SWinCreateInfo info = MakeInfo(450, 90);
    SWinPlacement place = SWin::ComputePlacement(info, 1920, 1080, 1.5f);
    EXPECT_EQ(675, place.width);
    EXPECT_EQ(135, place.height);
    // Scaled about the desktop's centre, the window stays centred (to the pixel).
    EXPECT_NEAR((1920 - 675) / 2, place.x, 1);
    EXPECT_NEAR((1080 - 135) / 2, place.y, 1);
}

TEST(SWinPlacement, WindowIsLimitedToDesktopAndMovedInsideIt)
{
    SWinCreateInfo info = MakeInfo(2000, 300);
    info.x = 100;
    info.y = 900;
    SWinPlacement place = SWin::ComputePlacement(info, 1280, 1024, 1.0f);
    EXPECT_EQ(1280, place.width);
    EXPECT_EQ(0, place.x);
    EXPECT_EQ(300, place.height);
    EXPECT_EQ(1024 - 300, place.y);

    info = MakeInfo(400, 90);
    info.x = 30;
    info.y = 0;
    place = SWin::ComputePlacement(info, 1280, 1024, 1.0f);
    EXPECT_EQ(30, place.x);
    EXPECT_EQ((1024 - 90) / 2, place.y);
}

TEST(SWinNoDisplay, CreatingFailsWithReportAndEveryCallReturnsAtOnce)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    int mark = LogMark();
    SWin win;
    SWinCreateInfo info = MakeInfo(400, 90);
    EXPECT_FALSE(win.CreateMainWindow(nullptr));
    EXPECT_TRUE(LoggedSince(mark, "No info specified"));
    EXPECT_FALSE(win.CreateMainWindow(&info));
    EXPECT_TRUE(LoggedSince(mark, "Cannot open a display for native windows"));
    EXPECT_FALSE(win.IsCreated());
    EXPECT_EQ(-1, win.AddButtonToWindow(SWIN_BUTTON_LABEL, 0, 0, 10, 10, "x"));
    EXPECT_EQ(-1, win.AddPushButton(0, 0, 10, 10, "x", nullptr));
    EXPECT_FALSE(win.SetButtonText(0, "x"));
    char text[8] = "old";
    EXPECT_FALSE(win.GetButtonText(0, text, sizeof(text)));
    EXPECT_STREQ("", text);
    EXPECT_EQ(0, win.ProcessAnyWindowsMessages());
    EXPECT_TRUE(LoggedSince(mark, "No window"));
    // A second attempt is refused the same way, not retried into a hang.
    EXPECT_FALSE(win.CreateMainWindow(&info));
}

TEST(SWinNoDisplay, OpeningTheToolkitLeavesTheNumberLocaleAlone)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "C");
    SWin win;
    SWinCreateInfo info = MakeInfo(400, 90);
    win.CreateMainWindow(&info);
    EXPECT_STREQ("C", std::setlocale(LC_ALL, nullptr));
    char number[16];
    std::snprintf(number, sizeof(number), "%.3f", 1.5);
    EXPECT_STREQ("1.500", number);
}

// Escape pressed and released in the window closes it; a release whose press went elsewhere (it closed a
// list's open popup or a message box) leaves it open.
TEST_F(SWinOnDisplay, EscapeClosesWindowOnlyWhenPressedInIt)
{
    auto send = [](GtkWidget* top, GdkEventType type) {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(top)));
        event->key.keyval = GDK_KEY_Escape;
        event->key.send_event = TRUE;
        gdk_event_set_device(event,
                             gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
        gtk_main_do_event(event);
        gdk_event_free(event);
    };
    for (bool pressed_here : {false, true}) {
        SCOPED_TRACE(pressed_here ? "pressed in the window" : "only released in the window");
        SWin win;
        SWinCreateInfo info = MakeInfo(400, 90);
        ASSERT_TRUE(win.CreateMainWindow(&info));
        EXPECT_EQ(0, win.AddButtonToWindow(SWIN_BUTTON_LABEL, 0, 22, 400, 20, "Updating"));
        EXPECT_NE(0, PumpAll(win, 50));
        GtkWidget* top = FindTopLevel(win);
        ASSERT_NE(nullptr, top);
        if (pressed_here)
            send(top, GDK_KEY_PRESS);
        send(top, GDK_KEY_RELEASE);
        EXPECT_EQ(!pressed_here, win.IsCreated());
        EXPECT_EQ(pressed_here, win.ProcessAnyWindowsMessages() == 0) << "the loop ends with the window";
        EXPECT_EQ(pressed_here, FindTopLevel(win) == nullptr);
    }
}

TEST_F(SWinOnDisplay, PushButtonCallsItsCallbackWithUserAndOtherKeysDoNothing)
{
    SWin win;
    CallbackLog log;
    win.user = &log;
    SWinCreateInfo info = MakeInfo(640, 420);
    ASSERT_TRUE(win.CreateMainWindow(&info));
    int label = win.AddButtonToWindow(SWIN_BUTTON_LABEL, 20, 20, 600, 300, "A new version exists");
    int close = win.AddPushButton(480, 340, 140, 20, "Close", EndLoop);
    int download = win.AddPushButton(20, 340, 140, 20, "Download", CountPress);
    ASSERT_EQ(0, label);
    ASSERT_EQ(1, close);
    ASSERT_EQ(2, download);
    EXPECT_FALSE(win.PushButtonSetCallback(label, CountPress));
    PumpAll(win, 20);
    GtkWidget* top = FindTopLevel(win);
    ASSERT_NE(nullptr, top);

    gtk_button_clicked(GTK_BUTTON(FindButtonLabelled(top, "Download")));
    EXPECT_EQ(1, log.presses);
    EXPECT_EQ(&win, log.win);
    EXPECT_FALSE(win.HasLoopEnded());
    win.OnKeyUp('A');
    EXPECT_TRUE(win.IsCreated());

    // The callback can be swapped; the new one runs instead.
    ASSERT_TRUE(win.PushButtonSetCallback(download, EndLoop));
    gtk_button_clicked(GTK_BUTTON(FindButtonLabelled(top, "Download")));
    EXPECT_EQ(1, log.presses);
    EXPECT_EQ(0, win.ProcessAnyWindowsMessages());
    win.DestroyMainWindow();
    EXPECT_EQ(nullptr, FindTopLevel(win));
}

TEST_F(SWinOnDisplay, TextsKeepWindowsCodePageAndAreCutToTheBuffer)
{
    SWin win;
    SWinCreateInfo info = MakeInfo(450, 90);
    ASSERT_TRUE(win.CreateMainWindow(&info));
    int label = win.AddButtonToWindow(SWIN_BUTTON_LABEL, 10, 22, 300, 20, "Downloading...");
    int edit = win.AddButtonToWindow(SWIN_BUTTON_EDIT, 10, 40, 300, 40, "");
    int group = win.AddButtonToWindow(SWIN_BUTTON_GROUP_BOX, 0, 0, 450, 90, "Box");
    ASSERT_GE(label, 0);
    ASSERT_GE(edit, 0);
    ASSERT_GE(group, 0);

    char text[64];
    ASSERT_TRUE(win.GetButtonText(label, text, sizeof(text)));
    EXPECT_STREQ("Downloading...", text);
    ASSERT_TRUE(win.SetButtonText(label, "Caf\xE9 \x80 5"));
    ASSERT_TRUE(win.GetButtonText(label, text, sizeof(text)));
    EXPECT_STREQ("Caf\xE9 \x80 5", text);

    ASSERT_TRUE(win.SetButtonText(edit, "line one\nline \xFC"));
    ASSERT_TRUE(win.GetButtonText(edit, text, sizeof(text)));
    EXPECT_STREQ("line one\nline \xFC", text);
    char small[5];
    ASSERT_TRUE(win.GetButtonText(edit, small, sizeof(small)));
    EXPECT_STREQ("line", small);

    ASSERT_TRUE(win.GetButtonText(group, text, sizeof(text)));
    EXPECT_STREQ("Box", text);
    EXPECT_FALSE(win.SetButtonText(7, "x"));
    EXPECT_FALSE(win.GetButtonText(-1, text, sizeof(text)));
}

TEST_F(SWinOnDisplay, AlignmentAcceptsOnlyItsThreeValuesAndCentresLabel)
{
    SWin win;
    SWinCreateInfo info = MakeInfo(400, 90);
    ASSERT_TRUE(win.CreateMainWindow(&info));
    int label = win.AddButtonToWindow(SWIN_BUTTON_LABEL, 0, 22, 400, 20, "Checking for updates ...");
    ASSERT_GE(label, 0);
    EXPECT_FALSE(win.SetButtonTextAlign(label, static_cast<SWinTextAlign>(3)));
    EXPECT_FALSE(win.SetButtonTextAlign(label, static_cast<SWinTextAlign>(-1)));
    EXPECT_FALSE(win.SetButtonTextAlign(5, SWIN_TEXT_ALIGN_CENTRE));
    GtkWidget* top = FindTopLevel(win);
    ASSERT_NE(nullptr, top);
    GtkWidget* shown = nullptr;
    FindFirstLabel(top, &shown);
    ASSERT_NE(nullptr, shown);
    EXPECT_FLOAT_EQ(0.0f, gtk_label_get_xalign(GTK_LABEL(shown)));
    EXPECT_TRUE(win.SetButtonTextAlign(label, SWIN_TEXT_ALIGN_NONE));
    EXPECT_FLOAT_EQ(0.0f, gtk_label_get_xalign(GTK_LABEL(shown)));
    EXPECT_TRUE(win.SetButtonTextAlign(label, SWIN_TEXT_ALIGN_CENTRE));
    EXPECT_FLOAT_EQ(0.5f, gtk_label_get_xalign(GTK_LABEL(shown)));
    EXPECT_TRUE(win.SetButtonTextAlign(label, SWIN_TEXT_ALIGN_RIGHT));
    EXPECT_FLOAT_EQ(1.0f, gtk_label_get_xalign(GTK_LABEL(shown)));
    char text[64];
    ASSERT_TRUE(win.GetButtonText(label, text, sizeof(text)));
    EXPECT_STREQ("Checking for updates ...", text);
}

TEST_F(SWinOnDisplay, UnknownKindsAndSecondCreateAreRefused)
{
    int mark = LogMark();
    SWin win;
    SWinCreateInfo info = MakeInfo(400, 90);
    ASSERT_TRUE(win.CreateMainWindow(&info));
    EXPECT_FALSE(win.CreateMainWindow(&info));
    EXPECT_TRUE(LoggedSince(mark, "Window already created"));
    EXPECT_EQ(-1, win.AddButtonToWindow(static_cast<SWinButtonType>(5), 0, 0, 10, 10, "x"));
    EXPECT_TRUE(LoggedSince(mark, "Unknown button type 5"));
    EXPECT_EQ(0, win.GetControlCount());
    EXPECT_GE(win.AddButtonToWindow(SWIN_BUTTON_DROP_DOWN, 0, 0, 100, 20, ""), 0);
    EXPECT_GE(win.AddButtonToWindow(SWIN_BUTTON_BITMAP, 0, 30, 32, 32, "Data/none.bmp"), 0);

    // A window that no SWin owns is reported, not followed.
    GtkWidget* stray = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    SWin::MsgRouter(stray, SWIN_MESSAGE_COMMAND, 0);
    EXPECT_TRUE(LoggedSince(mark, "Could not get wnd."));
    gtk_widget_destroy(stray);

    // After closing, the same object opens a fresh window with no controls left over.
    win.DestroyMainWindow();
    EXPECT_FALSE(win.IsCreated());
    ASSERT_TRUE(win.CreateMainWindow(&info));
    EXPECT_EQ(0, win.GetControlCount());
    EXPECT_NE(0, win.ProcessAnyWindowsMessages());
}

TEST_F(SWinOnDisplay, MenuCommandAndCloseBoxReachTheCaller)
{
    SWin win;
    CallbackLog log;
    win.user = &log;
    win.command_callback = RecordCommand;
    const SWinMenuItem menu[] = {{"File", 40001}, {"Help", 40002}};
    SWinCreateInfo info = MakeInfo(400, 200);
    info.menu = menu;
    info.menu_items = 2;
    ASSERT_TRUE(win.CreateMainWindow(&info));
    GtkWidget* top = FindTopLevel(win);
    ASSERT_NE(nullptr, top);
    GList* rows = gtk_container_get_children(GTK_CONTAINER(gtk_bin_get_child(GTK_BIN(top))));
    ASSERT_NE(nullptr, rows);
    ASSERT_TRUE(GTK_IS_MENU_BAR(rows->data));
    GList* items = gtk_container_get_children(GTK_CONTAINER(rows->data));
    ASSERT_EQ(2u, g_list_length(items));
    gtk_menu_item_activate(GTK_MENU_ITEM(g_list_nth_data(items, 1)));
    g_list_free(items);
    g_list_free(rows);
    EXPECT_EQ(40002, log.command);
    EXPECT_EQ(&win, log.win);

    gtk_window_close(GTK_WINDOW(top));
    EXPECT_EQ(0, PumpAll(win, 100));
    EXPECT_FALSE(win.IsCreated());
}

TEST_F(SWinOnDisplay, BackgroundColourReachesTheScreen)
{
    SWin win;
    SWinCreateInfo info = MakeInfo(200, 100);
    info.red = 1.0f;
    info.green = 0.0f;
    info.blue = 0.0f;
    ASSERT_TRUE(win.CreateMainWindow(&info));
    GtkWidget* top = FindTopLevel(win);
    ASSERT_NE(nullptr, top);
    guchar* pixel = nullptr;
    GdkPixbuf* shot = nullptr;
    for (int i = 0; i < 200 && !(pixel && pixel[0] == 255); i++) {
        PumpAll(win, 20);
        if (shot)
            g_object_unref(shot);
        shot = gdk_pixbuf_get_from_window(gtk_widget_get_window(top), 100, 50, 1, 1);
        pixel = shot ? gdk_pixbuf_get_pixels(shot) : nullptr;
    }
    ASSERT_NE(nullptr, pixel);
    EXPECT_EQ(255, pixel[0]);
    EXPECT_EQ(0, pixel[1]);
    EXPECT_EQ(0, pixel[2]);
    g_object_unref(shot);
}

TEST_F(SWinOnDisplay, NobodyThereClosesButtonWindowAfterIdlePumpsAndLogsIt)
{
    int mark = LogMark();
    SWin win;
    SWinCreateInfo info = MakeInfo(640, 420);
    ASSERT_TRUE(win.CreateMainWindow(&info));
    win.AddButtonToWindow(SWIN_BUTTON_LABEL, 20, 20, 600, 300, "Version 2.0 is out of date.");
    win.AddPushButton(480, 340, 140, 20, "Close", EndLoop);
    ::testing::internal::CaptureStderr();
    int pumps = 0;
    while (win.ProcessAnyWindowsMessages() != 0 && pumps < 20 * SWIN_NONINTERACTIVE_IDLE_PUMPS)
        pumps++;
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_LT(pumps, 20 * SWIN_NONINTERACTIVE_IDLE_PUMPS);
    EXPECT_GE(pumps, SWIN_NONINTERACTIVE_IDLE_PUMPS - 1);
    EXPECT_FALSE(win.IsCreated());
    EXPECT_NE(std::string::npos, err.find("[Native test] Version 2.0 is out of date."));
    EXPECT_NE(std::string::npos, err.find("[Native test] Close"));
    EXPECT_TRUE(LoggedSince(mark, "shows <Version 2.0 is out of date.>"));
}

TEST_F(SWinOnDisplay, NobodyThereKeepsProgressWindowAndNoticeOpen)
{
    SWin progress;
    SWinCreateInfo info = MakeInfo(450, 90);
    ASSERT_TRUE(progress.CreateMainWindow(&info));
    int text = progress.AddButtonToWindow(SWIN_BUTTON_LABEL, 10, 22, 300, 20, "Downloading...");
    progress.AddPushButton(280, 40, 80, 20, "Cancel", EndLoop);
    char line[64];
    for (int step = 0; step < 3 * SWIN_NONINTERACTIVE_IDLE_PUMPS; step++) {
        std::snprintf(line, sizeof(line), "Downloading (%.1f%%) ...", step * 0.01);
        ASSERT_TRUE(progress.SetButtonText(text, line));
        for (int i = 0; i < 100; i++)
            ASSERT_NE(0, progress.ProcessAnyWindowsMessages());
    }
    EXPECT_TRUE(progress.IsCreated());
    progress.DestroyMainWindow();

    SWin notice;
    ASSERT_TRUE(notice.CreateMainWindow(&info));
    notice.AddButtonToWindow(SWIN_BUTTON_LABEL, 0, 22, 400, 20, "No new version exists at this time.");
    for (int i = 0; i < 3 * SWIN_NONINTERACTIVE_IDLE_PUMPS; i++)
        ASSERT_NE(0, notice.ProcessAnyWindowsMessages());
    EXPECT_TRUE(notice.IsCreated());
}

namespace {

struct Changes
{
    int count = 0;
    int index = -1;
    int value = -1;
};

void CountChange(SWin*, int index, int value, void* user)
{
    Changes* changes = static_cast<Changes*>(user);
    changes->count++;
    changes->index = index;
    changes->value = value;
}

} // namespace

TEST_F(SWinOnDisplay, PersonsChoicesReportOnceAndOwnChangesNever)
{
    SWin win;
    SWinCreateInfo info = MakeInfo(400, 200);
    ASSERT_TRUE(win.CreateMainWindow(&info));
    Changes changes;
    win.user = &changes;
    win.change_callback = CountChange;
    int first = win.AddButtonToWindow(SWIN_BUTTON_RADIO_GROUP, 10, 10, 100, 20, "Fullscreen");
    int second = win.AddRadioButton(120, 10, 100, 20, "Windowed", first);
    int other_group = win.AddRadioButton(10, 40, 100, 20, "Alone", -1);
    int list = win.AddButtonToWindow(SWIN_BUTTON_DROP_DOWN, 10, 70, 150, 24, "");
    ASSERT_GE(list, 0);
    char text[32];
    ASSERT_TRUE(win.GetButtonText(second, text, sizeof(text)));
    EXPECT_STREQ("Windowed", text);
    EXPECT_TRUE(win.RadioIsChecked(first));
    EXPECT_TRUE(win.RadioIsChecked(other_group));

    // A person clicks the second button: one report, and the first is no longer chosen.
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(win.GetControlWidget(second)), TRUE);
    EXPECT_EQ(1, changes.count);
    EXPECT_EQ(second, changes.index);
    EXPECT_FALSE(win.RadioIsChecked(first));
    EXPECT_TRUE(win.RadioIsChecked(second));
    EXPECT_TRUE(win.RadioIsChecked(other_group));
    // Clicking the chosen one again changes nothing.
    gtk_button_clicked(GTK_BUTTON(win.GetControlWidget(second)));
    EXPECT_EQ(1, changes.count);
    // The program's own choice is no person's.
    ASSERT_TRUE(win.RadioSetChecked(first));
    EXPECT_TRUE(win.RadioIsChecked(first));
    EXPECT_EQ(1, changes.count);

    ASSERT_TRUE(win.DropDownAddItem(list, "Off"));
    ASSERT_TRUE(win.DropDownAddItem(list, "On"));
    EXPECT_EQ(-1, win.DropDownGetSelection(list));
    ASSERT_TRUE(win.DropDownSetSelection(list, 1));
    EXPECT_EQ(1, changes.count);
    gtk_combo_box_set_active(GTK_COMBO_BOX(win.GetControlWidget(list)), 0);
    EXPECT_EQ(2, changes.count);
    EXPECT_EQ(list, changes.index);
    EXPECT_EQ(0, changes.value);
    EXPECT_EQ(0, win.DropDownGetSelection(list));
    EXPECT_FALSE(win.DropDownSetSelection(list, 2));
    ASSERT_TRUE(win.DropDownClear(list));
    EXPECT_EQ(0, win.DropDownGetCount(list));
    EXPECT_EQ(-1, win.DropDownGetSelection(list));
    EXPECT_EQ(2, changes.count);

    ASSERT_TRUE(win.SetControlEnabled(list, false));
    EXPECT_FALSE(win.IsControlEnabled(list));
    EXPECT_FALSE(gtk_widget_get_sensitive(GTK_WIDGET(win.GetControlWidget(list))));
    // Lists and radio buttons are not each other.
    EXPECT_FALSE(win.DropDownAddItem(first, "x"));
    EXPECT_FALSE(win.RadioSetChecked(list));
}

namespace {

struct OwnReports
{
    std::vector<std::string> seen;
    bool close_on_report = false;
};

void Report(SWin* win, const char* who, int value)
{
    OwnReports* reports = static_cast<OwnReports*>(win->user);
    reports->seen.push_back(std::string(who) + " " + std::to_string(value));
    if (reports->close_on_report)
        win->DestroyMainWindow();
}

void ListReport(SWin* win, int value, void*)
{
    Report(win, "list", value);
}

void GroupReport(SWin* win, int value, void*)
{
    Report(win, "group", value);
}

void WindowReport(SWin* win, int index, int value, void*)
{
    Report(win, ("window " + std::to_string(index)).c_str(), value);
}

} // namespace

// Each list and radio group has its own callback and mirror beside the window's callback.
TEST_F(SWinOnDisplay, ListsAndRadioGroupsReportToTheirOwnCallbacksAndMirrors)
{
    SWin win;
    SWinCreateInfo info = MakeInfo(400, 200);
    ASSERT_TRUE(win.CreateMainWindow(&info));
    OwnReports reports;
    win.user = &reports;
    win.change_callback = WindowReport;
    int first = win.AddRadioButton(10, 10, 100, 20, "Low", -1);
    int second = win.AddRadioButton(120, 10, 100, 20, "Mid", first);
    int third = win.AddRadioButton(230, 10, 100, 20, "High", first);
    int list = win.AddButtonToWindow(SWIN_BUTTON_DROP_DOWN, 10, 70, 150, 24, "");
    for (const char* item : {"Off", "On", "Auto"})
        ASSERT_TRUE(win.DropDownAddItem(list, item));
    EngUInt8 chosen = 9;
    int selection = 9;
    ASSERT_TRUE(win.RadioGroupBind(third, &chosen, GroupReport));
    ASSERT_TRUE(win.DropDownBind(list, &selection, ListReport));
    EXPECT_FALSE(win.DropDownBind(first, &selection, ListReport)) << "a radio button is no list";
    EXPECT_FALSE(win.RadioGroupBind(list, &chosen, GroupReport));

    // The program's own changes move the mirrors and report nothing.
    ASSERT_TRUE(win.RadioSetChecked(second));
    EXPECT_EQ(1, chosen);
    ASSERT_TRUE(win.DropDownSetSelection(list, 2));
    EXPECT_EQ(2, selection);
    EXPECT_TRUE(reports.seen.empty());

    // A person's: the control's own callback first, then the window's.
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(win.GetControlWidget(third)), TRUE);
    EXPECT_EQ(2, chosen);
    gtk_combo_box_set_active(GTK_COMBO_BOX(win.GetControlWidget(list)), 0);
    EXPECT_EQ(0, selection);
    std::vector<std::string> expected = {"group 2", "window " + std::to_string(third) + " 1", "list 0",
                                         "window " + std::to_string(list) + " 0"};
    EXPECT_EQ(expected, reports.seen);
    ASSERT_TRUE(win.DropDownClear(list));
    EXPECT_EQ(-1, selection);

    // An own callback that closes the window ends the report there.
    reports.seen.clear();
    reports.close_on_report = true;
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(win.GetControlWidget(first)), TRUE);
    EXPECT_EQ(std::vector<std::string>{"group 0"}, reports.seen);
    EXPECT_FALSE(win.IsCreated());
}

TEST_F(SWinOnDisplay, AmpersandMarksTheAccessKeyOfAPushButton)
{
    SWin win;
    SWinCreateInfo info = MakeInfo(300, 120);
    ASSERT_TRUE(win.CreateMainWindow(&info));
    int play = win.AddPushButton(10, 10, 100, 30, "&PLAY", nullptr);
    int plain = win.AddPushButton(10, 50, 150, 30, "Fish && Chips_2", nullptr);
    char text[32];
    ASSERT_TRUE(win.GetButtonText(play, text, sizeof(text)));
    EXPECT_STREQ("&PLAY", text);
    ASSERT_TRUE(win.GetButtonText(plain, text, sizeof(text)));
    EXPECT_STREQ("Fish && Chips_2", text);
    // What the person reads has no markers left.
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(win.GetControlWidget(play)));
    EXPECT_STREQ("PLAY", gtk_label_get_text(GTK_LABEL(label)));
    label = gtk_bin_get_child(GTK_BIN(win.GetControlWidget(plain)));
    EXPECT_STREQ("Fish & Chips_2", gtk_label_get_text(GTK_LABEL(label)));
    ASSERT_TRUE(win.SetButtonText(play, "&Cancel"));
    ASSERT_TRUE(win.GetButtonText(play, text, sizeof(text)));
    EXPECT_STREQ("&Cancel", text);
}
