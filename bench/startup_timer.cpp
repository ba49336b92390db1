// Times how long programs take from fork to their first top-level window being mapped on the X display, and
// compares two of them run by turns. Polling for the window from a shell costs more in process starts than
// what it measures; listening for MapNotify on the root window costs nothing while the program starts.
//
// Usage: startup-timer [--runs N] [--timeout SECONDS] PROGRAM BASELINE
// Runs each program once untimed (to warm the file cache), then N times each, alternating, and prints the
// median of each and the ratio PROGRAM / BASELINE. Meant for a display without a window manager (Xvfb), where
// a top-level window's MapNotify reaches the root window's substructure listeners directly.

#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

void Usage() {
    std::fprintf(stderr, "usage: startup-timer [--runs N] [--timeout SECONDS] PROGRAM BASELINE\n");
}

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Throws away everything the server has sent so far, so that one run never sees the windows of the last.
void Drain(Display* display) {
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

// Ends the child: asks first, then insists. Always reaps it, so no run leaves a process behind.
void Stop(pid_t child) {
    kill(child, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (Clock::now() < deadline) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return;
        usleep(5000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

pid_t Start(const std::string& program) {
    const pid_t child = fork();
    if (child != 0)
        return child;
    // The window must appear on this display: a Qt program told to draw off screen would never show one.
    unsetenv("QT_QPA_PLATFORM");
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        close(null);
    }
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

// Starts the program and returns the milliseconds until its first top-level window is mapped, or nothing when
// no window appears in time or the program ends before showing one.
std::optional<double> TimeOnce(Display* display, const std::string& program, std::chrono::seconds timeout) {
    Drain(display);
    const Window root = DefaultRootWindow(display);
    const auto start = Clock::now();
    const pid_t child = Start(program);
    if (child < 0) {
        std::perror("fork");
        return std::nullopt;
    }
    // Only windows created after the start count; Qt also creates top-level windows it never maps.
    std::set<Window> created;
    std::optional<double> elapsed;
    const auto deadline = start + timeout;
    while (!elapsed) {
        while (!elapsed && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root &&
                !event.xcreatewindow.override_redirect)
                created.insert(event.xcreatewindow.window);
            else if (event.type == MapNotify && event.xmap.event == root && created.count(event.xmap.window))
                elapsed = Milliseconds(Clock::now() - start);
        }
        if (elapsed)
            break;
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "%s ended before showing a window\n", program.c_str());
            return std::nullopt;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            std::fprintf(stderr, "%s showed no window within %lld s\n", program.c_str(),
                         static_cast<long long>(timeout.count()));
            break;
        }
        // Wake for the server's next event, and at least every 50 ms to notice a program that died.
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 50))) < 0 && errno != EINTR) {
            std::perror("poll");
            break;
        }
    }
    Stop(child);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Report(const char* label, const std::string& program, const std::vector<double>& times) {
    std::printf("%-8s median %7.1f ms over %zu runs  (%s; all:", label, Median(times), times.size(),
                program.c_str());
    for (double t : times)
        std::printf(" %.1f", t);
    std::printf(")\n");
}

std::optional<int> PositiveNumber(const char* text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > 10000)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

int main(int argc, char** argv) {
    int runs = 11;
    int timeoutSeconds = 20;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--runs" || arg == "--timeout") && i + 1 < argc) {
            const auto value = PositiveNumber(argv[++i]);
            if (!value) {
                Usage();
                return 2;
            }
            (arg == "--runs" ? runs : timeoutSeconds) = *value;
        } else if (!arg.empty() && arg[0] == '-') {
            Usage();
            return 2;
        } else {
            programs.push_back(arg);
        }
    }
    if (programs.size() != 2) {
        Usage();
        return 2;
    }
    for (const std::string& program : programs) {
        if (access(program.c_str(), X_OK) != 0) {
            std::fprintf(stderr, "cannot run %s\n", program.c_str());
            return 1;
        }
    }

    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "cannot open the X display (is DISPLAY set?)\n");
        return 1;
    }
    // The X connection is ours alone; the programs open their own.
    fcntl(ConnectionNumber(display.get()), F_SETFD, FD_CLOEXEC);
    XSelectInput(display.get(), DefaultRootWindow(display.get()), SubstructureNotifyMask);

    const std::chrono::seconds timeout(timeoutSeconds);
    for (const std::string& program : programs) {
        if (!TimeOnce(display.get(), program, timeout))
            return 1;
    }
    std::vector<double> times[2];
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < 2; ++p) {
            const auto t = TimeOnce(display.get(), programs[p], timeout);
            if (!t)
                return 1;
            times[p].push_back(*t);
        }
    }
    Report("program", programs[0], times[0]);
    Report("baseline", programs[1], times[1]);
    std::printf("ratio    %.2f\n", Median(times[0]) / Median(times[1]));
    return 0;
}
