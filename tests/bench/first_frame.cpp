// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program on the current X display and watches it from outside: when its top-level
// window is mapped, when the first red pixel (the status line) appears in it, and what CPU time
// and memory the process has used. Prints one line of key=value figures; the program itself is
// not changed or told anything.
//   first_frame [--poll-ms N] [--settle-ms N] [--idle-ms N] [--timeout-ms N] [--frame red|light]
//               [--env K=V]... -- program [args]
// --frame light: the first frame is the first light pixel (a window's painted background) instead,
// for windows with no red in them; an unpainted window on Xvfb is black.

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <poll.h>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Stopped from outside, the probe takes its program with it.
volatile pid_t g_child = 0;

void onTerminate(int)
{
    if (g_child > 0)
        kill(g_child, SIGTERM);
    _exit(1);
}

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

void sleepMs(double ms)
{
    if (ms <= 0)
        return;
    timespec ts{};
    ts.tv_sec = time_t(ms / 1000);
    ts.tv_nsec = long((ms - double(ts.tv_sec) * 1000) * 1e6);
    while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
    }
}

// utime + stime of the process, in milliseconds.
double cpuMs(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = all.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(all.substr(close + 2));
    std::vector<std::string> f;
    for (std::string s; fields >> s;)
        f.push_back(s);
    if (f.size() < 13)
        return -1;
    // After the name: state is field 3, utime field 14, stime field 15.
    const double ticks = std::stod(f[11]) + std::stod(f[12]);
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

long statusKb(pid_t pid, const char* key)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(key), nullptr, 10);
    }
    return -1;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

// The _NET_WM_PID of a window, or -1.
long windowPid(xcb_connection_t* c, xcb_window_t w, xcb_atom_t pidAtom)
{
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    long pid = -1;
    if (r && r->format == 32 && xcb_get_property_value_length(r) >= 4)
        pid = long(*static_cast<uint32_t*>(xcb_get_property_value(r)));
    std::free(r);
    return pid;
}

bool viewable(xcb_connection_t* c, xcb_window_t w)
{
    xcb_get_window_attributes_reply_t* r =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
    const bool v = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(r);
    return v;
}

bool bigEnough(xcb_connection_t* c, xcb_window_t w, uint16_t* width, uint16_t* height)
{
    xcb_get_geometry_reply_t* r = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
    bool ok = false;
    if (r) {
        *width = r->width;
        *height = r->height;
        ok = r->width >= 100 && r->height >= 100;
    }
    std::free(r);
    return ok;
}

// True when the window shows a strongly red pixel, or with light a light grey or white one
// (24-bit TrueColor, 32 bits a pixel, BGRX).
bool hasFramePixel(xcb_connection_t* c, xcb_window_t w, uint16_t width, uint16_t height, bool light)
{
    xcb_get_image_reply_t* r = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, width, height, ~0u), nullptr);
    if (!r)
        return false;
    const uint8_t* p = xcb_get_image_data(r);
    const int n = xcb_get_image_data_length(r);
    bool found = false;
    for (int i = 0; i + 3 < n; i += 4) {
        const bool red = p[i + 2] >= 200 && p[i + 1] <= 60 && p[i] <= 60;
        const bool pale = p[i + 2] >= 200 && p[i + 1] >= 200 && p[i] >= 200;
        if (light ? pale : red) {
            found = true;
            break;
        }
    }
    std::free(r);
    return found;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        sleepMs(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int usage()
{
    std::fprintf(stderr, "usage: first_frame [--poll-ms N] [--settle-ms N] [--idle-ms N] [--timeout-ms N] "
                         "[--frame red|light] [--env K=V]... -- program [args]\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    double pollMs = 2;
    double settleMs = 3000;
    double idleMs = 0;
    double timeoutMs = 20000;
    bool light = false;
    std::vector<std::string> env;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc)
            return usage();
        if (a == "--poll-ms")
            pollMs = std::atof(argv[++i]);
        else if (a == "--settle-ms")
            settleMs = std::atof(argv[++i]);
        else if (a == "--idle-ms")
            idleMs = std::atof(argv[++i]);
        else if (a == "--timeout-ms")
            timeoutMs = std::atof(argv[++i]);
        else if (a == "--frame")
            light = std::string(argv[++i]) == "light";
        else if (a == "--env")
            env.emplace_back(argv[++i]);
        else
            return usage();
    }
    if (i >= argc)
        return usage();

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "first_frame: cannot open the X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID");
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    xcb_flush(c);

    std::signal(SIGTERM, onTerminate);
    std::signal(SIGINT, onTerminate);
    const double t0 = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        close(xcb_get_file_descriptor(c));
        for (const std::string& kv : env)
            putenv(strdup(kv.c_str()));
        execvp(argv[i], argv + i);
        std::fprintf(stderr, "first_frame: cannot start %s: %s\n", argv[i], std::strerror(errno));
        _exit(127);
    }
    g_child = pid;

    // Every window made on the display from now on is watched for its map; the program's own
    // top-level is the one that carries its pid.
    xcb_window_t window = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    double mapped = -1;
    std::set<xcb_window_t> watched;
    auto consider = [&](xcb_window_t w) {
        if (window || !viewable(c, w) || windowPid(c, w, pidAtom) != pid || !bigEnough(c, w, &width, &height))
            return;
        window = w;
        mapped = nowMs() - t0;
    };
    const uint32_t winMask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    pollfd pfd{xcb_get_file_descriptor(c), POLLIN, 0};
    bool exited = false;
    while (!window && nowMs() - t0 < timeoutMs) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            const uint8_t type = e->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const xcb_window_t w = reinterpret_cast<xcb_create_notify_event_t*>(e)->window;
                if (watched.insert(w).second) {
                    xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &winMask);
                    consider(w); // it may have been mapped before the selection took
                }
            } else if (type == XCB_MAP_NOTIFY) {
                consider(reinterpret_cast<xcb_map_notify_event_t*>(e)->window);
            }
            std::free(e);
        }
        if (xcb_connection_has_error(c))
            break;
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            exited = true;
            break;
        }
        if (!window)
            poll(&pfd, 1, 5);
    }

    double frame = -1;
    while (window && !exited && nowMs() - t0 < timeoutMs) {
        if (hasFramePixel(c, window, width, height, light)) {
            frame = nowMs() - t0;
            break;
        }
        sleepMs(pollMs);
    }
    if (frame < 0) {
        std::fprintf(stderr, "first_frame: %s\n",
                     exited ? "the program ended before it showed a frame"
                            : (window ? "no frame pixel appeared in time" : "no window appeared in time"));
        if (!exited)
            stop(pid);
        xcb_disconnect(c);
        return 1;
    }
    xcb_disconnect(c);

    sleepMs(t0 + frame + settleMs - nowMs());
    const double cpuSettled = cpuMs(pid);
    sleepMs(idleMs);
    const double cpuEnd = cpuMs(pid);
    const long hwm = statusKb(pid, "VmHWM:");
    const long rss = statusKb(pid, "VmRSS:");
    stop(pid);

    std::printf(
        "map_ms=%.1f frame_ms=%.1f hwm_kb=%ld rss_kb=%ld cpu_startup_ms=%.0f cpu_idle_ms=%.0f idle_s=%.0f "
        "cpu_total_ms=%.0f\n",
        mapped, frame, hwm, rss, cpuSettled, cpuEnd - cpuSettled, idleMs / 1000, cpuEnd);
    return 0;
}
