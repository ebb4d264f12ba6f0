/* A keyboard for tests under a wlroots compositor: one virtual keyboard (zwp_virtual_keyboard_v1) with
 * the default keymap, driven by commands read from standard input, one a line:
 *
 *   keys KEY...     presses and releases each key in turn; a key is a name (F8, Return, Escape, Left,
 *                   Right, Up, Down, Home, End, PageUp, PageDown, Space, Tab), optionally after
 *                   "ctrl+" or "shift+" (or both), held for that key alone
 *
 * The keyboard lives as long as the program: a keyboard made just before its keys are sent loses them,
 * because a client reads keys only once the keymap has reached it. After each command the compositor
 * has handled it, and "ok" (or "error: ...") is printed.
 * Usage: virtual-keyboard */
#define _GNU_SOURCE
#include <linux/input-event-codes.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"

static struct wl_seat *seat;
static struct zwp_virtual_keyboard_manager_v1 *manager;

static void global_added(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                         uint32_t version)
{
    (void)data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
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

static const struct {
    const char *name;
    int code;
} key_names[] = {
    {"F8", KEY_F8},       {"Return", KEY_ENTER}, {"Escape", KEY_ESC},        {"Left", KEY_LEFT},
    {"Right", KEY_RIGHT}, {"Up", KEY_UP},        {"Down", KEY_DOWN},         {"Home", KEY_HOME},
    {"End", KEY_END},     {"PageUp", KEY_PAGEUP}, {"PageDown", KEY_PAGEDOWN}, {"Space", KEY_SPACE},
    {"Tab", KEY_TAB},
};

static int key_code(const char *name)
{
    for (size_t i = 0; i < sizeof key_names / sizeof key_names[0]; ++i)
        if (strcmp(key_names[i].name, name) == 0)
            return key_names[i].code;
    return -1;
}

/* The keymap's text in a sealed-size memory file, as the protocol wants it. Returns the file, or -1. */
static int keymap_file(uint32_t *size)
{
    struct xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    struct xkb_keymap *keymap = context ? xkb_keymap_new_from_names(context, NULL, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
    char *text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : NULL;
    int fd = -1;
    if (text) {
        const size_t length = strlen(text) + 1;
        fd = memfd_create("keymap", MFD_CLOEXEC);
        if (fd >= 0 && write(fd, text, length) != (ssize_t)length) {
            close(fd);
            fd = -1;
        }
        *size = (uint32_t)length;
    }
    free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return fd;
}

/* The modifier masks of the default keymap, by name. */
static uint32_t control_mask, shift_mask;

static void read_modifier_masks(void)
{
    struct xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    struct xkb_keymap *keymap = xkb_keymap_new_from_names(context, NULL, XKB_KEYMAP_COMPILE_NO_FLAGS);
    control_mask = 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_CTRL);
    shift_mask = 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
}

/* Presses and releases one key ("ctrl+Right"), with its modifiers held around it. Returns 0, or -1 for
 * a name it does not know (nothing is sent then). */
static int send_key(struct zwp_virtual_keyboard_v1 *keyboard, const char *name)
{
    uint32_t mods = 0;
    for (;;) {
        if (strncmp(name, "ctrl+", 5) == 0) {
            mods |= control_mask;
            name += 5;
        } else if (strncmp(name, "shift+", 6) == 0) {
            mods |= shift_mask;
            name += 6;
        } else {
            break;
        }
    }
    const int code = key_code(name);
    if (code < 0)
        return -1;
    if (mods)
        zwp_virtual_keyboard_v1_modifiers(keyboard, mods, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(keyboard, now_ms(), (uint32_t)code, WL_KEYBOARD_KEY_STATE_PRESSED);
    zwp_virtual_keyboard_v1_key(keyboard, now_ms(), (uint32_t)code, WL_KEYBOARD_KEY_STATE_RELEASED);
    if (mods)
        zwp_virtual_keyboard_v1_modifiers(keyboard, 0, 0, 0, 0);
    return 0;
}

/* Makes the keyboard and gives it the keymap; one key that no client acts on (a Shift tap) makes it the
 * seat's keyboard, so that clients starting afterwards get its keymap as they connect. */
static struct zwp_virtual_keyboard_v1 *make_keyboard(struct wl_display *display)
{
    uint32_t size = 0;
    const int fd = keymap_file(&size);
    if (fd < 0) {
        fprintf(stderr, "virtual-keyboard: no keymap from libxkbcommon\n");
        return NULL;
    }
    read_modifier_masks();
    struct zwp_virtual_keyboard_v1 *keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, seat);
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, size);
    zwp_virtual_keyboard_v1_key(keyboard, now_ms(), KEY_LEFTSHIFT, WL_KEYBOARD_KEY_STATE_PRESSED);
    zwp_virtual_keyboard_v1_key(keyboard, now_ms(), KEY_LEFTSHIFT, WL_KEYBOARD_KEY_STATE_RELEASED);
    const int sent = wl_display_roundtrip(display);
    close(fd);
    return sent < 0 ? NULL : keyboard;
}

int main(int argc, char *argv[])
{
    (void)argv;
    if (argc != 1) {
        fprintf(stderr, "usage: virtual-keyboard (commands on standard input)\n");
        return 2;
    }
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "virtual-keyboard: cannot connect to the Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!manager || !seat) {
        fprintf(stderr, "virtual-keyboard: the compositor has no zwp_virtual_keyboard_manager_v1 or no seat\n");
        return 1;
    }
    struct zwp_virtual_keyboard_v1 *keyboard = make_keyboard(display);
    if (!keyboard)
        return 1;
    setvbuf(stdout, NULL, _IOLBF, 0);

    char line[1024];
    while (fgets(line, sizeof line, stdin)) {
        char *command = strtok(line, " \t\r\n");
        if (!command)
            continue;
        if (strcmp(command, "keys") != 0) {
            printf("error: unknown command %s\n", command);
            continue;
        }
        const char *unknown = NULL;
        for (char *key = strtok(NULL, " \t\r\n"); key && !unknown; key = strtok(NULL, " \t\r\n"))
            if (send_key(keyboard, key) < 0)
                unknown = key;
        if (wl_display_roundtrip(display) < 0) {
            fprintf(stderr, "virtual-keyboard: lost the connection to the compositor\n");
            return 1;
        }
        if (unknown)
            printf("error: no key %s (the keys before it were sent)\n", unknown);
        else
            printf("ok\n");
    }
    zwp_virtual_keyboard_v1_destroy(keyboard);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
