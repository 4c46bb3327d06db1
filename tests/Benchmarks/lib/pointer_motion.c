// Moves the X pointer at a steady rate, as a mouse of that report rate would: round and round a circle
// within a rectangle of the screen, one turn every two seconds, for the seconds given. Prints the moves
// made and the rate measured, which falls short of the one asked for when the machine cannot keep up.
//   pointer_motion RATE SECONDS X Y WIDTH HEIGHT
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double Seconds(const struct timespec* t)
{
    return (double)t->tv_sec + (double)t->tv_nsec / 1e9;
}

static void AddNanoseconds(struct timespec* t, long ns)
{
    t->tv_nsec += ns;
    while (t->tv_nsec >= 1000000000L) {
        t->tv_nsec -= 1000000000L;
        t->tv_sec++;
    }
}

int main(int argc, char** argv)
{
    if (argc != 7) {
        fprintf(stderr, "usage: %s RATE SECONDS X Y WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    double rate = atof(argv[1]), seconds = atof(argv[2]);
    int x = atoi(argv[3]), y = atoi(argv[4]), width = atoi(argv[5]), height = atoi(argv[6]);
    if (rate <= 0 || seconds <= 0 || width < 4 || height < 4) {
        fprintf(stderr, "%s: bad rate, time or rectangle\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    int event_base, error_base, major, minor;
    if (!display || !XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) {
        fprintf(stderr, "%s: no X display with the XTest extension\n", argv[0]);
        return 1;
    }
    const double radius = 0.4 * (width < height ? width : height);
    const long period_ns = (long)(1e9 / rate);
    struct timespec start, next, now;
    clock_gettime(CLOCK_MONOTONIC, &start);
    next = start;
    long moves = 0;
    for (;;) {
        clock_gettime(CLOCK_MONOTONIC, &now);
        double elapsed = Seconds(&now) - Seconds(&start);
        if (elapsed >= seconds)
            break;
        double angle = 2.0 * M_PI * (double)moves / (2.0 * rate);
        XTestFakeMotionEvent(display, -1, x + width / 2 + (int)lround(radius * cos(angle)),
                             y + height / 2 + (int)lround(radius * sin(angle)), CurrentTime);
        XFlush(display);
        moves++;
        AddNanoseconds(&next, period_ns);
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL);
    }
    XSync(display, False);
    clock_gettime(CLOCK_MONOTONIC, &now);
    double elapsed = Seconds(&now) - Seconds(&start);
    printf("%ld moves in %.2f s, %.0f a second\n", moves, elapsed, (double)moves / elapsed);
    XCloseDisplay(display);
    return 0;
}
