// SPDX-License-Identifier: GPL-3.0-or-later
// Measures how long a program takes from its start until a region of its window shows what it
// should, by watching the X server's screen from outside; the program itself is not changed.
//
//   startup_probe TITLE X Y W H dark|light COUNT [-- PROGRAM [ARGS...]]
//
// Starts PROGRAM, polls the screen every millisecond, and prints the milliseconds until the
// region (X, Y, W, H in the window titled TITLE) holds at least COUNT dark (text) or light
// (painted background) pixels. The program is then sent SIGTERM and reaped. Without PROGRAM,
// it waits for a window that is already there, and ends with status 1 after 30 s.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

struct Probe {
    std::string title;
    int x, y, w, h;
    bool dark;
    long count;
};

// The window's title as UTF-8: its _NET_WM_NAME, else its WM_NAME (which holds a title that is
// not all Latin-1 as compound text).
std::string windowTitle(Display* display, Window window) {
    static const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* bytes = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &bytes) == Success &&
        bytes) {
        if (type == utf8) title.assign(reinterpret_cast<char*>(bytes), count);
        XFree(bytes);
        if (type == utf8) return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// The mapped top-level window with the title, searched one level below each root child too
// (a window manager's frame, when there is one).
Window findWindow(Display* display, Window parent, const std::string& title, int depth = 0) {
    Window root, up, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &n)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < n && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        if (windowTitle(display, children[i]) == title) found = children[i];
        if (!found && depth == 0) found = findWindow(display, children[i], title, 1);
    }
    if (children) XFree(children);
    return found;
}

bool regionReady(Display* display, Window window, const Probe& probe) {
    Window child;
    int rootX = 0, rootY = 0;
    const Window root = DefaultRootWindow(display);
    if (!XTranslateCoordinates(display, window, root, probe.x, probe.y, &rootX, &rootY, &child))
        return false;
    XImage* image = XGetImage(display, root, rootX, rootY, probe.w, probe.h, AllPlanes, ZPixmap);
    if (!image) return false;
    long matching = 0;
    for (int row = 0; row < probe.h; ++row)
        for (int column = 0; column < probe.w; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            if (probe.dark ? (r < 96 && g < 96 && b < 96) : (r > 224 && g > 224 && b > 224))
                ++matching;
        }
    XDestroyImage(image);
    return matching >= probe.count;
}

// A window may go away between two requests; that is not an error for the probe.
int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool spawn = argc >= 10 && std::strcmp(argv[8], "--") == 0;
    if (argc != 8 && !spawn) {
        std::fprintf(stderr, "usage: %s TITLE X Y W H dark|light COUNT [-- PROGRAM [ARGS...]]\n",
                     argv[0]);
        return 2;
    }
    const Probe probe{argv[1],
                      std::atoi(argv[2]),
                      std::atoi(argv[3]),
                      std::atoi(argv[4]),
                      std::atoi(argv[5]),
                      std::strcmp(argv[6], "dark") == 0,
                      std::atol(argv[7])};
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);

    // The program's output goes to /dev/null, so that no pipe of the caller stays open.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (spawn && posix_spawn(&child, argv[9], &actions, nullptr, argv + 9, environ) != 0) {
        std::perror("posix_spawn");
        return 1;
    }
    double elapsed = -1;
    for (;;) {
        const double now =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (now > 30000) break;
        const Window window = findWindow(display, DefaultRootWindow(display), probe.title);
        if (window && regionReady(display, window, probe)) {
            elapsed = now;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (spawn) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    XCloseDisplay(display);
    if (elapsed < 0) {
        std::fprintf(stderr, "the window did not show the region within 30 s\n");
        return 1;
    }
    std::printf("%.1f\n", elapsed);
    return 0;
}
