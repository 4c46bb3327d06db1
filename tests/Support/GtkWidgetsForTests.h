#pragma once
// Finding the widgets of native windows, to press them as a person would.

#include <gtk/gtk.h>

#include <cstring>

inline void CollectButtonsForTests(GtkWidget* widget, gpointer list)
{
    if (GTK_IS_BUTTON(widget))
        *static_cast<GList**>(list) = g_list_append(*static_cast<GList**>(list), widget);
    else if (GTK_IS_CONTAINER(widget))
        gtk_container_foreach(GTK_CONTAINER(widget), CollectButtonsForTests, list);
}

// The last button below top whose label is label, or null.
inline GtkWidget* FindButtonLabelled(GtkWidget* top, const char* label)
{
    GList* buttons = nullptr;
    CollectButtonsForTests(top, &buttons);
    GtkWidget* found = nullptr;
    for (GList* item = buttons; item; item = item->next) {
        const char* text = gtk_button_get_label(GTK_BUTTON(item->data));
        if (text && std::strcmp(text, label) == 0)
            found = GTK_WIDGET(item->data);
    }
    g_list_free(buttons);
    return found;
}
