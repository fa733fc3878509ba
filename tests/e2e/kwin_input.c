/* Pointer and keys as KDE's compositor (KWin) takes a user's, through its
 * fake input protocol: the seat's own pointer moves, so that a move the
 * compositor makes follows it. The same commands and answers as
 * mutter_input.py: "move X Y" (screen point), "button CODE 0|1" and
 * "key CODE 0|1" (evdev codes). Built from the protocol's XML with
 * wayland-scanner (see wayland.sh). */
#include <stdio.h>
#include <string.h>

#include <wayland-client.h>

#include "fake-input-client-protocol.h"

static struct org_kde_kwin_fake_input* input;

static void on_global(void* data, struct wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void on_global_remove(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener listener = { on_global, on_global_remove };

int main(void)
{
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "no Wayland display to connect to\n");
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (!input) {
        fprintf(stderr, "the compositor offers no fake input (version 4)\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(input, "Kestavine Idle tests", "a user's pointer and keys");
    wl_display_roundtrip(display);
    printf("ok\n");
    fflush(stdout);

    char line[128], what[16];
    int a, b;
    while (fgets(line, sizeof line, stdin)) {
        if (sscanf(line, "%15s %d %d", what, &a, &b) != 3)
            break;
        if (strcmp(what, "move") == 0)
            org_kde_kwin_fake_input_pointer_motion_absolute(input, wl_fixed_from_int(a), wl_fixed_from_int(b));
        else if (strcmp(what, "button") == 0)
            org_kde_kwin_fake_input_button(input, (uint32_t)a, (uint32_t)b);
        else if (strcmp(what, "key") == 0)
            org_kde_kwin_fake_input_keyboard_key(input, (uint32_t)a, (uint32_t)b);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        printf("ok\n");
        fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
