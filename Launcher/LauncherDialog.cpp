#include "Launcher/LauncherDialog.h"

#include <gtk/gtk.h>
#include <spawn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Launcher/Launcher.h"

extern char** environ;

namespace {

enum class ControlKind
{
    Text,
    CentredText,
    Button,
    DefaultButton,
};

// Places in dialog units: a quarter of the font's average character width across, an eighth of its
// height down.
struct DialogControl
{
    int id;
    ControlKind kind;
    const char* text;
    int x;
    int y;
    int width;
    int height;
};

constexpr int kDialogWidth = 290;
constexpr int kDialogHeight = 154;

const DialogControl kControls[] = {
    {-1, ControlKind::Text, "OpenGL version 2.1 or later does not appear to be installed on your system.", 16, 24,
     259, 10},
    {-1, ControlKind::Text, "You must install this before you will be able to run the game.", 32, 40, 225, 8},
    {-1, ControlKind::CentredText, "Click on this button to go online and get the latest version of OpenGL :", 36,
     65, 217, 8},
    {LAUNCHER_ID_DOWNLOAD_PAGE, ControlKind::Button, LAUNCHER_DOWNLOAD_PAGE, 71, 81, 148, 16},
    {LAUNCHER_ID_IGNORE, ControlKind::Button, "Ignore ...", 170, 136, 37, 11},
    {LAUNCHER_ID_OK, ControlKind::DefaultButton, "Ok", 94, 136, 50, 11},
};

GtkWidget* dialog = nullptr;
bool game_started = false;

bool IsNonInteractive()
{
    const char* value = std::getenv("TORVI_NONINTERACTIVE");
    return value && std::strcmp(value, "1") == 0;
}

void PrintDialog(const char* answer)
{
    for (const DialogControl& control : kControls) {
        bool button = control.kind == ControlKind::Button || control.kind == ControlKind::DefaultButton;
        std::fprintf(stderr, button ? "[%s]\n" : "%s\n", control.text);
    }
    std::fprintf(stderr, "Answered: %s\n", answer);
}

void OpenDownloadPage()
{
    char program[] = "xdg-open";
    char page[256];
    std::snprintf(page, sizeof(page), "%s", LAUNCHER_DOWNLOAD_PAGE);
    char* arguments[] = {program, page, nullptr};
    pid_t child = 0;
    int error = posix_spawnp(&child, program, nullptr, nullptr, arguments, environ);
    if (error != 0)
        std::fprintf(stderr, "Cannot open %s: %s\n", page, std::strerror(error));
}

void EndDialog()
{
    if (dialog) {
        GtkWidget* closing = dialog;
        dialog = nullptr;
        gtk_widget_destroy(closing);
    }
    if (gtk_main_level() > 0)
        gtk_main_quit();
}

void OnButton(GtkButton*, gpointer id)
{
    LauncherDialogProc(GPOINTER_TO_INT(id));
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer)
{
    LauncherDialogProc(LAUNCHER_ID_CANCEL);
    return TRUE;
}

gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer)
{
    if (event->keyval != GDK_KEY_Escape)
        return FALSE;
    LauncherDialogProc(LAUNCHER_ID_CANCEL);
    return TRUE;
}

void ApplyStyle(GtkWidget* window)
{
    // Buttons as small as their places; the dialog's font size is the one its places were laid out for.
    const char* css = "* { font-size: 10pt; } button { padding: 0px 4px; min-height: 0px; }";
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(window), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

// The average width of the 52 letters, which the places' horizontal unit is a quarter of.
double AverageLetterWidth(PangoContext* context)
{
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_text(layout, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1);
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, nullptr);
    g_object_unref(layout);
    return (width + 26) / 52.0;
}

void DialogUnits(GtkWidget* window, double* unit_x, double* unit_y)
{
    PangoContext* context = gtk_widget_get_pango_context(window);
    PangoFontMetrics* metrics =
        pango_context_get_metrics(context, pango_context_get_font_description(context), nullptr);
    double char_width = AverageLetterWidth(context);
    double char_height = (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
                         double(PANGO_SCALE);
    pango_font_metrics_unref(metrics);
    *unit_x = (char_width > 0.0 ? char_width : 7.0) / 4.0;
    *unit_y = (char_height > 0.0 ? char_height : 16.0) / 8.0;
}

GtkWidget* MakeControl(const DialogControl& control)
{
    if (control.kind == ControlKind::Button || control.kind == ControlKind::DefaultButton) {
        GtkWidget* button = gtk_button_new_with_label(control.text);
        g_signal_connect(button, "clicked", G_CALLBACK(OnButton), GINT_TO_POINTER(control.id));
        return button;
    }
    // Long texts wrap inside their place, centred, as the dialog's statics do.
    GtkWidget* label = gtk_label_new(control.text);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
    // An average character is four units wide.
    gtk_label_set_max_width_chars(GTK_LABEL(label), control.width / 4);
    gtk_label_set_xalign(GTK_LABEL(label), 0.5f);
    gtk_label_set_yalign(GTK_LABEL(label), control.kind == ControlKind::CentredText ? 0.5f : 0.0f);
    return label;
}

GtkWidget* BuildDialog()
{
    dialog = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    ApplyStyle(dialog);
    gtk_window_set_title(GTK_WINDOW(dialog), "");
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    double unit_x = 1.0;
    double unit_y = 1.0;
    DialogUnits(dialog, &unit_x, &unit_y);
    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, static_cast<int>(kDialogWidth * unit_x),
                                static_cast<int>(kDialogHeight * unit_y));
    gtk_container_add(GTK_CONTAINER(dialog), fixed);
    GtkWidget* default_button = nullptr;
    for (const DialogControl& control : kControls) {
        GtkWidget* widget = MakeControl(control);
        gtk_widget_set_size_request(widget, static_cast<int>(control.width * unit_x),
                                    static_cast<int>(control.height * unit_y));
        gtk_fixed_put(GTK_FIXED(fixed), widget, static_cast<int>(control.x * unit_x),
                      static_cast<int>(control.y * unit_y));
        if (control.kind == ControlKind::DefaultButton)
            default_button = widget;
    }
    gtk_widget_set_can_default(default_button, TRUE);
    gtk_window_set_default(GTK_WINDOW(dialog), default_button);
    g_signal_connect(dialog, "delete-event", G_CALLBACK(OnDelete), nullptr);
    g_signal_connect(dialog, "key-press-event", G_CALLBACK(OnKeyPress), nullptr);
    return default_button;
}

} // namespace

int LauncherDialogProc(int control_id)
{
    switch (control_id) {
    case LAUNCHER_ID_DOWNLOAD_PAGE:
        OpenDownloadPage();
        EndDialog();
        return 1;
    case LAUNCHER_ID_OK:
    case LAUNCHER_ID_CANCEL:
        EndDialog();
        return 1;
    case LAUNCHER_ID_IGNORE:
        EndDialog();
        game_started = LauncherStartGame();
        return 1;
    default:
        return 0;
    }
}

bool LauncherShowDialog()
{
    game_started = false;
    if (IsNonInteractive()) {
        PrintDialog("Ok");
        LauncherDialogProc(LAUNCHER_ID_OK);
        return game_started;
    }
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "Cannot open a display for the launcher's dialog\n");
        PrintDialog("none");
        return false;
    }
    GtkWidget* default_button = BuildDialog();
    gtk_widget_show_all(dialog);
    // Enter answers Ok until the person moves the focus.
    gtk_widget_grab_focus(default_button);
    gtk_main();
    return game_started;
}
