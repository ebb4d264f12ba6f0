/* A pointer for tests under a wlroots compositor: one virtual pointer device (zwlr_virtual_pointer_v1)
 * driven by commands read from standard input, one a line:
 *
 *   move X Y            the pointer to (X, Y) in layout coordinates, fractions allowed
 *   press [BUTTON]      press left (default), right or middle
 *   release [BUTTON]    release it
 *
 * The device lives as long as the program, so a button stays held across moves, as with a real mouse.
 * After each command the compositor has handled it, and "ok" (or "error: ...") is printed.
 * Usage: virtual-pointer LAYOUT_WIDTH LAYOUT_HEIGHT */
#define _POSIX_C_SOURCE 200809L
#include <linux/input-event-codes.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

/* Absolute positions are sent as fractions of the layout with this many steps a pixel. */
enum { kSteps = 64 };

static struct wl_seat *seat;
static struct zwlr_virtual_pointer_manager_v1 *manager;

static void global_added(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                         uint32_t version)
{
    (void)data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}

static void global_removed(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global_added, global_removed};

static uint32_t now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

static int button_code(const char *name)
{
    if (!name || strcmp(name, "left") == 0)
        return BTN_LEFT;
    if (strcmp(name, "right") == 0)
        return BTN_RIGHT;
    if (strcmp(name, "middle") == 0)
        return BTN_MIDDLE;
    return -1;
}

int main(int argc, char *argv[])
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s LAYOUT_WIDTH LAYOUT_HEIGHT\n", argv[0]);
        return 2;
    }
    const double width = atof(argv[1]), height = atof(argv[2]);
    if (!(width > 0 && height > 0)) {
        fprintf(stderr, "virtual-pointer: the layout size must be positive\n");
        return 2;
    }
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "virtual-pointer: cannot connect to the Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!manager) {
        fprintf(stderr, "virtual-pointer: the compositor has no zwlr_virtual_pointer_manager_v1\n");
        return 1;
    }
    struct zwlr_virtual_pointer_v1 *pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    setvbuf(stdout, NULL, _IOLBF, 0);

    const uint32_t x_extent = (uint32_t)(width * kSteps), y_extent = (uint32_t)(height * kSteps);
    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        char *command = strtok(line, " \t\r\n");
        if (!command)
            continue;
        if (strcmp(command, "move") == 0) {
            const char *xs = strtok(NULL, " \t\r\n"), *ys = strtok(NULL, " \t\r\n");
            const double x = xs ? atof(xs) : -1, y = ys ? atof(ys) : -1;
            if (!(x >= 0 && x <= width && y >= 0 && y <= height)) {
                printf("error: move needs X Y inside the layout\n");
                continue;
            }
            zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), (uint32_t)(x * kSteps + 0.5),
                                                    (uint32_t)(y * kSteps + 0.5), x_extent, y_extent);
        } else if (strcmp(command, "press") == 0 || strcmp(command, "release") == 0) {
            const int button = button_code(strtok(NULL, " \t\r\n"));
            if (button < 0) {
                printf("error: the button is left, right or middle\n");
                continue;
            }
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), (uint32_t)button,
                                           command[0] == 'p' ? WL_POINTER_BUTTON_STATE_PRESSED
                                                             : WL_POINTER_BUTTON_STATE_RELEASED);
        } else {
            printf("error: unknown command %s\n", command);
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0) {
            fprintf(stderr, "virtual-pointer: lost the connection to the compositor\n");
            return 1;
        }
        printf("ok\n");
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
