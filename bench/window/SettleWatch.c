// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-bench-settle-watch: starts a program on the X display and tells when its window appeared
// and when the screen stopped changing, to the millisecond, from outside the program.
//
// Usage: kelo-bench-settle-watch STABLE_MS TIMEOUT_MS PROGRAM [ARGUMENT...]
// Prints "pid N" once the program runs, then "painted MS mapped MS" once the screen has differed
// from the blank one and stood unchanged for STABLE_MS: painted is the time of the last change,
// mapped the time the first top-level window was shown, both from the start. The program is
// left running, and this one ends when it ends. Exits 1 when the screen never settled (or nothing
// was shown) within TIMEOUT_MS.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long NowUs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000 + now.tv_nsec / 1000;
}

// The screen's pixels into buffer (width * height * 4 bytes).
static void Grab(Display* display, Window root, int width, int height, char* buffer) {
    XImage* image =
        XGetImage(display, root, 0, 0, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
    if (image == NULL)
        return;
    const size_t row = (size_t)width * 4;
    for (int y = 0; y < height; ++y)
        memcpy(buffer + row * (size_t)y, image->data + (size_t)image->bytes_per_line * (size_t)y,
               (size_t)image->bytes_per_line < row ? (size_t)image->bytes_per_line : row);
    XDestroyImage(image);
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: %s STABLE_MS TIMEOUT_MS PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    const long long stableUs = atoll(argv[1]) * 1000, timeoutUs = atoll(argv[2]) * 1000;
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    const int width = attributes.width, height = attributes.height;
    const size_t size = (size_t)width * (size_t)height * 4;
    char* blank = calloc(1, size);
    char* last = calloc(1, size);
    char* now = calloc(1, size);
    if (blank == NULL || last == NULL || now == NULL)
        return 2;
    XSelectInput(display, root, SubstructureNotifyMask);
    Grab(display, root, width, height, blank);
    memcpy(last, blank, size);

    const long long start = NowUs();
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        execvp(argv[3], argv + 3);
        perror(argv[3]);
        _exit(127);
    }
    printf("pid %d\n", (int)pid);
    fflush(stdout);

    long long changedAt = start, mappedAt = -1;
    int shown = 0;
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && mappedAt < 0)
                mappedAt = NowUs();
        }
        Grab(display, root, width, height, now);
        const long long at = NowUs();
        if (memcmp(now, last, size) != 0) {
            char* swap = last;
            last = now;
            now = swap;
            changedAt = at;
            shown = memcmp(last, blank, size) != 0;
        } else if (shown && at - changedAt >= stableUs) {
            break;
        }
        if (at - start >= timeoutUs) {
            fprintf(stderr, "%s: the screen never settled\n", argv[0]);
            return 1;
        }
        usleep(2000);
    }
    printf("painted %lld mapped %lld\n", (changedAt - start) / 1000,
           mappedAt < 0 ? -1 : (mappedAt - start) / 1000);
    fflush(stdout);
    // Stays the program's parent, so that whoever ends the program sees it go.
    waitpid(pid, NULL, 0);
    return 0;
}
