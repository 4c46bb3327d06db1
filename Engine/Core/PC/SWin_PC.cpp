#include "Engine/Core/PC/SWin_PC.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <string>

#include "Engine/Core/EngCodePage.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngFile.h"

namespace {

constexpr const char* kOwnerKey = "swin-owner";
constexpr const char* kIndexKey = "swin-index";
constexpr const char* kFixedKey = "swin-fixed";
constexpr const char* kTextKey = "swin-text-widget";

enum class DisplayState
{
    Unknown,
    Open,
    Missing,
};

DisplayState display_state = DisplayState::Unknown;

std::string ToUtf8(const char* ansi)
{
    std::string out(static_cast<size_t>(EngCodePageAnsiToUtf8Length(ansi)) + 1, '\0');
    int written = EngCodePageAnsiToUtf8(ansi, out.data(), static_cast<int>(out.size()));
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

// Push-button texts mark their access key with "&" ("&&" is a plain "&"); GTK marks it with "_".
std::string ToGtkMnemonic(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '_')
            out += "__";
        else if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&')
            out += text[i++];
        else if (text[i] == '&')
            out += '_';
        else
            out += text[i];
    }
    return out;
}

std::string FromGtkMnemonic(const char* label)
{
    std::string out;
    for (const char* c = label; *c; c++) {
        if (*c == '_' && c[1] == '_')
            out += *c++;
        else if (*c == '_')
            out += '&';
        else if (*c == '&')
            out += "&&";
        else
            out += *c;
    }
    return out;
}

GtkWidget* MakePushButton(const char* utf8)
{
    return gtk_button_new_with_mnemonic(ToGtkMnemonic(utf8).c_str());
}

// Every signal the window's widgets raise goes to the window procedure with the widget's top-level window.
void* TopOf(GtkWidget* widget)
{
    return gtk_widget_get_toplevel(widget);
}

void OnControlSignal(GtkWidget* widget, gpointer)
{
    int index = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), kIndexKey));
    SWin::MsgRouter(TopOf(widget), SWIN_MESSAGE_COMMAND, index);
}

void OnMenuItem(GtkMenuItem* item, gpointer command)
{
    SWin::MsgRouter(TopOf(GTK_WIDGET(item)), SWIN_MESSAGE_MENU_COMMAND, GPOINTER_TO_INT(command));
}

// The press goes on to the focused control; the window only notes it.
gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer)
{
    if (event->keyval == GDK_KEY_Escape)
        SWin::MsgRouter(widget, SWIN_MESSAGE_KEY_DOWN, SWIN_KEY_ESCAPE);
    return FALSE;
}

gboolean OnKeyRelease(GtkWidget* widget, GdkEventKey* event, gpointer)
{
    if (event->keyval != GDK_KEY_Escape)
        return FALSE;
    SWin::MsgRouter(widget, SWIN_MESSAGE_KEY_UP, SWIN_KEY_ESCAPE);
    return TRUE;
}

void OnDestroy(GtkWidget* widget, gpointer)
{
    SWin::MsgRouter(widget, SWIN_MESSAGE_DESTROY, 0);
}

void ApplyBackground(GtkWidget* window, const char* class_name, const float rgb[3])
{
    char css[256];
    std::snprintf(css, sizeof(css), "#%s { background-color: rgb(%d, %d, %d); }", class_name,
                  static_cast<int>(rgb[0] * 255.0f + 0.5f), static_cast<int>(rgb[1] * 255.0f + 0.5f),
                  static_cast<int>(rgb[2] * 255.0f + 0.5f));
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css, -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(window), GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

GtkWidget* MakeMenuBar(const SWinMenuItem* menu, int items)
{
    GtkWidget* bar = gtk_menu_bar_new();
    for (int i = 0; i < items; i++) {
        GtkWidget* item = gtk_menu_item_new_with_label(ToUtf8(menu[i].text ? menu[i].text : "").c_str());
        g_signal_connect(item, "activate", G_CALLBACK(OnMenuItem), GINT_TO_POINTER(menu[i].command));
        gtk_menu_shell_append(GTK_MENU_SHELL(bar), item);
    }
    return bar;
}

GtkWidget* MakeLabel(const char* text)
{
    GtkWidget* label = gtk_label_new(text);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_yalign(GTK_LABEL(label), 0.5f);
    return label;
}

// The edit field is a text view inside a scrolled window; the outer widget is the control.
GtkWidget* MakeEdit(const char* text)
{
    GtkWidget* view = gtk_text_view_new();
    gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), text, -1);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC, GTK_POLICY_ALWAYS);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    g_object_set_data(G_OBJECT(scroller), kTextKey, view);
    return scroller;
}

GtkWidget* MakeBitmap(const char* file_name)
{
    char path[1024];
    if (!EngFileGetSystemPath(file_name, path, sizeof(path)))
        return gtk_image_new();
    return gtk_image_new_from_file(path);
}

GtkWidget* MakeControl(SWinButtonType kind, const char* utf8)
{
    switch (kind) {
    case SWIN_BUTTON_GROUP_BOX:
        return gtk_frame_new(utf8);
    case SWIN_BUTTON_LABEL:
        return MakeLabel(utf8);
    case SWIN_BUTTON_PUSH:
        return MakePushButton(utf8);
    case SWIN_BUTTON_EDIT:
        return MakeEdit(utf8);
    case SWIN_BUTTON_DROP_DOWN:
        return gtk_combo_box_text_new();
    case SWIN_BUTTON_BITMAP:
        return MakeBitmap(utf8);
    case SWIN_BUTTON_RADIO_GROUP:
        break;
    }
    return nullptr;
}

void ConnectControl(GtkWidget* control, SWinButtonType kind, int index)
{
    g_object_set_data(G_OBJECT(control), kIndexKey, GINT_TO_POINTER(index));
    if (kind == SWIN_BUTTON_PUSH)
        g_signal_connect(control, "clicked", G_CALLBACK(OnControlSignal), nullptr);
    else if (kind == SWIN_BUTTON_DROP_DOWN)
        g_signal_connect(control, "changed", G_CALLBACK(OnControlSignal), nullptr);
}

GtkTextBuffer* EditBuffer(void* widget)
{
    GtkWidget* view = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(widget), kTextKey));
    return gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
}

} // namespace

bool SWinOpenDisplay_PC()
{
    if (display_state == DisplayState::Unknown) {
        // The engine formats and parses numbers in the C locale; GTK must not switch it.
        gtk_disable_setlocale();
        display_state = gtk_init_check(nullptr, nullptr) ? DisplayState::Open : DisplayState::Missing;
    }
    if (display_state == DisplayState::Missing) {
        DebugError(ENG_FUNC, "Cannot open a display for native windows");
        return false;
    }
    return true;
}

void SWinGetDesktop_PC(int* width, int* height, float* scale)
{
    *width = 1280;
    *height = 1024;
    *scale = 1.0f;
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : nullptr;
    if (!monitor && display)
        monitor = gdk_display_get_monitor(display, 0);
    if (monitor) {
        GdkRectangle area = {};
        gdk_monitor_get_workarea(monitor, &area);
        if (area.width > 0 && area.height > 0) {
            *width = area.width;
            *height = area.height;
        }
    }
    GdkScreen* screen = gdk_screen_get_default();
    double dpi = screen ? gdk_screen_get_resolution(screen) : -1.0;
    if (dpi > 0.0)
        *scale = static_cast<float>(dpi / 96.0);
}

void* SWinCreateWindow_PC(SWin* owner, const char* class_name, const char* title, const SWinPlacement& place,
                          const float rgb[3], const SWinMenuItem* menu, int menu_items)
{
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    if (!window)
        return nullptr;
    gtk_widget_set_name(window, class_name);
    gtk_window_set_title(GTK_WINDOW(window), ToUtf8(title).c_str());
    gtk_window_set_default_size(GTK_WINDOW(window), place.width, place.height);
    gtk_window_move(GTK_WINDOW(window), place.x, place.y);
    ApplyBackground(window, class_name, rgb);
    g_object_set_data(G_OBJECT(window), kOwnerKey, owner);

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    if (menu && menu_items > 0)
        gtk_box_pack_start(GTK_BOX(box), MakeMenuBar(menu, menu_items), FALSE, FALSE, 0);
    GtkWidget* fixed = gtk_fixed_new();
    gtk_box_pack_start(GTK_BOX(box), fixed, TRUE, TRUE, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    g_object_set_data(G_OBJECT(window), kFixedKey, fixed);

    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), nullptr);
    g_signal_connect(window, "key-release-event", G_CALLBACK(OnKeyRelease), nullptr);
    g_signal_connect(window, "destroy", G_CALLBACK(OnDestroy), nullptr);
    gtk_widget_show_all(window);
    return window;
}

SWin* SWinGetOwner_PC(void* window)
{
    return static_cast<SWin*>(g_object_get_data(G_OBJECT(window), kOwnerKey));
}

void SWinForgetOwner_PC(void* window)
{
    g_object_set_data(G_OBJECT(window), kOwnerKey, nullptr);
}

void SWinGetClientSize_PC(void* window, float* width, float* height)
{
    int w = 0;
    int h = 0;
    gtk_window_get_size(GTK_WINDOW(window), &w, &h);
    *width = static_cast<float>(w);
    *height = static_cast<float>(h);
}

void SWinDestroyWindow_PC(void* window)
{
    gtk_widget_destroy(GTK_WIDGET(window));
    // The X server hears of the destruction only when the requests are sent; nothing else may send them
    // while the game runs.
    gdk_display_flush(gdk_display_get_default());
}

void* SWinCreateControl_PC(void* window, int index, SWinButtonType kind, int x, int y, int width, int height,
                           const char* text)
{
    GtkWidget* fixed = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(window), kFixedKey));
    GtkWidget* control = fixed ? MakeControl(kind, ToUtf8(text).c_str()) : nullptr;
    if (!control)
        return nullptr;
    gtk_widget_set_size_request(control, width, height);
    ConnectControl(control, kind, index);
    gtk_fixed_put(GTK_FIXED(fixed), control, x, y);
    gtk_widget_show_all(control);
    return control;
}

void SWinSetControlText_PC(void* widget, SWinButtonType kind, const char* text)
{
    std::string utf8 = ToUtf8(text);
    switch (kind) {
    case SWIN_BUTTON_GROUP_BOX:
        gtk_frame_set_label(GTK_FRAME(widget), utf8.c_str());
        break;
    case SWIN_BUTTON_LABEL:
        gtk_label_set_text(GTK_LABEL(widget), utf8.c_str());
        break;
    case SWIN_BUTTON_PUSH:
        gtk_button_set_label(GTK_BUTTON(widget), ToGtkMnemonic(utf8).c_str());
        gtk_button_set_use_underline(GTK_BUTTON(widget), TRUE);
        break;
    case SWIN_BUTTON_RADIO_GROUP:
        gtk_button_set_label(GTK_BUTTON(widget), utf8.c_str());
        break;
    case SWIN_BUTTON_EDIT:
        gtk_text_buffer_set_text(EditBuffer(widget), utf8.c_str(), -1);
        break;
    case SWIN_BUTTON_BITMAP:
    case SWIN_BUTTON_DROP_DOWN:
        break;
    }
}

void SWinGetControlText_PC(void* widget, SWinButtonType kind, char* buffer, int size)
{
    buffer[0] = 0;
    const char* utf8 = nullptr;
    gchar* owned = nullptr;
    if (kind == SWIN_BUTTON_GROUP_BOX)
        utf8 = gtk_frame_get_label(GTK_FRAME(widget));
    else if (kind == SWIN_BUTTON_LABEL)
        utf8 = gtk_label_get_text(GTK_LABEL(widget));
    else if (kind == SWIN_BUTTON_RADIO_GROUP)
        utf8 = gtk_button_get_label(GTK_BUTTON(widget));
    else if (kind == SWIN_BUTTON_PUSH) {
        const char* label = gtk_button_get_label(GTK_BUTTON(widget));
        owned = g_strdup(FromGtkMnemonic(label ? label : "").c_str());
        utf8 = owned;
    }
    else if (kind == SWIN_BUTTON_EDIT) {
        GtkTextIter start;
        GtkTextIter end;
        gtk_text_buffer_get_bounds(EditBuffer(widget), &start, &end);
        owned = gtk_text_buffer_get_text(EditBuffer(widget), &start, &end, FALSE);
        utf8 = owned;
    }
    if (utf8)
        EngCodePageUtf8ToAnsi(utf8, buffer, size);
    g_free(owned);
}

void SWinSetControlAlign_PC(void* widget, SWinButtonType kind, SWinTextAlign align)
{
    if (align == SWIN_TEXT_ALIGN_NONE)
        return;
    bool right = align == SWIN_TEXT_ALIGN_RIGHT;
    if (kind == SWIN_BUTTON_LABEL) {
        gtk_label_set_xalign(GTK_LABEL(widget), right ? 1.0f : 0.5f);
        gtk_label_set_justify(GTK_LABEL(widget), right ? GTK_JUSTIFY_RIGHT : GTK_JUSTIFY_CENTER);
    } else if (kind == SWIN_BUTTON_EDIT) {
        GtkWidget* view = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(widget), kTextKey));
        gtk_text_view_set_justification(GTK_TEXT_VIEW(view), right ? GTK_JUSTIFY_RIGHT : GTK_JUSTIFY_CENTER);
    }
    gtk_widget_queue_draw(GTK_WIDGET(widget));
}

int SWinGetSelection_PC(void* widget)
{
    return gtk_combo_box_get_active(GTK_COMBO_BOX(widget));
}

void* SWinCreateRadioButton_PC(void* window, int index, int x, int y, int width, int height, const char* text,
                               void* group_widget)
{
    GtkWidget* fixed = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(window), kFixedKey));
    if (!fixed)
        return nullptr;
    GtkRadioButton* leader = group_widget ? GTK_RADIO_BUTTON(group_widget) : nullptr;
    GtkWidget* control = gtk_radio_button_new_with_label_from_widget(leader, ToUtf8(text).c_str());
    gtk_widget_set_size_request(control, width, height);
    g_object_set_data(G_OBJECT(control), kIndexKey, GINT_TO_POINTER(index));
    g_signal_connect(control, "toggled", G_CALLBACK(OnControlSignal), nullptr);
    gtk_fixed_put(GTK_FIXED(fixed), control, x, y);
    gtk_widget_show_all(control);
    return control;
}

void SWinSetRadioChecked_PC(void* widget)
{
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), TRUE);
}

bool SWinIsRadioChecked_PC(void* widget)
{
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget));
}

void SWinDropDownAdd_PC(void* widget, const char* text)
{
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(widget), ToUtf8(text).c_str());
}

void SWinDropDownClear_PC(void* widget)
{
    gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(widget));
}

void SWinDropDownSelect_PC(void* widget, int selection)
{
    gtk_combo_box_set_active(GTK_COMBO_BOX(widget), selection);
}

void SWinEnableControl_PC(void* widget, bool enabled)
{
    gtk_widget_set_sensitive(GTK_WIDGET(widget), enabled);
}

void SWinWaitForEvent_PC(int max_ms)
{
    if (display_state != DisplayState::Open || gtk_events_pending())
        return;
    // A timer bounds the sleep; whatever wakes the loop first is handled.
    struct Timer
    {
        bool fired = false;
        static gboolean Fire(gpointer data)
        {
            static_cast<Timer*>(data)->fired = true;
            return G_SOURCE_REMOVE;
        }
    } timer;
    guint source = g_timeout_add(guint(max_ms), Timer::Fire, &timer);
    g_main_context_iteration(nullptr, TRUE);
    if (!timer.fired)
        g_source_remove(source);
}

bool SWinHandleOneEvent_PC()
{
    if (display_state != DisplayState::Open || !gtk_events_pending())
        return false;
    gtk_main_iteration_do(FALSE);
    return true;
}
