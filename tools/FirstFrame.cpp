// Times windows from the outside, as the X server sees them: starts a program, and reports when
// the first window of its process was mapped and drawn (the first damage on it after its map),
// with the process's memory at that moment; then, optionally, presses a key combination a number
// of times and reports each time how long until a window other than the main one was mapped and
// drawn, closing it again with another key combination.
//
//     huesplinter-firstframe [--open KEYS --close KEYS [--repeat N] [--at-once | --idle S]]
//                            -- PROGRAM [ARGUMENTS...]
//
// KEYS is like ctrl+p or Escape. With --at-once the first press comes as soon as the main window
// is drawn, while the program may still be finishing its start, instead of after it settled.
// With --idle the program sits S seconds before the first press, and the memory is taken once
// more when the last window has closed and again S seconds later.
// Output, one figure a line:
//     start_ms 182.4        window 768x490        rss_kib 36012        pss_kib 30100
//     start_windows 1       (the program's windows mapped from the start until it settled)
//     open_ms 1 240.3       open_ms 2 96.1 ...
//     closed_rss_kib 45612  idle_rss_kib 39360      (with --idle)
// Ends with 0 when every figure was taken, 1 when a window did not come within 20 seconds.

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(20);
// Lets the program finish what it does after a window came and went before the next press.
constexpr auto kSettle = std::chrono::milliseconds(700);

double msSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

struct Tracked {
    xcb_damage_damage_t damage = 0;
    bool mapped = false;
    Clock::time_point mappedAt{};
    uint32_t pid = 0;
    uint16_t width = 0, height = 0;
};

class Watcher {
public:
    Watcher() {
        m_conn = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_conn)) fail("cannot open the display");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data->root;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(m_conn, &xcb_damage_id);
        if (!damage || !damage->present) fail("the X server has no Damage extension");
        m_damageEvent = damage->first_event;
        free(xcb_damage_query_version_reply(
            m_conn, xcb_damage_query_version(m_conn, XCB_DAMAGE_MAJOR_VERSION, 0), nullptr));
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_conn, m_root, XCB_CW_EVENT_MASK, &mask);
        m_pidAtom = atom("_NET_WM_PID");
        m_activeAtom = atom("_NET_ACTIVE_WINDOW");
        loadKeymap();
        xcb_flush(m_conn);
    }
    ~Watcher() { xcb_disconnect(m_conn); }

    [[noreturn]] static void fail(const char* why) {
        std::fprintf(stderr, "huesplinter-firstframe: %s\n", why);
        std::exit(2);
    }

    // The first window of `pid` mapped after `since` (other than `except`) that got drawn.
    std::optional<xcb_window_t> waitDrawn(uint32_t pid, Clock::time_point since,
                                          xcb_window_t except = 0) {
        const auto deadline = Clock::now() + kTimeout;
        while (Clock::now() < deadline) {
            xcb_generic_event_t* event = next(deadline);
            if (!event) continue;
            std::optional<xcb_window_t> drawn = handle(event);
            free(event);
            if (!drawn || *drawn == except) continue;
            const Tracked& t = m_windows[*drawn];
            if (t.pid == pid && t.mapped && t.mappedAt >= since) return drawn;
        }
        return std::nullopt;
    }

    bool waitUnmapped(xcb_window_t window) {
        const auto deadline = Clock::now() + kTimeout;
        while (m_windows[window].mapped && Clock::now() < deadline) {
            if (xcb_generic_event_t* event = next(deadline)) {
                handle(event);
                free(event);
            }
        }
        return !m_windows[window].mapped;
    }

    void drain(Clock::duration span) {
        const auto until = Clock::now() + span;
        while (Clock::now() < until)
            if (xcb_generic_event_t* event = next(until)) {
                handle(event);
                free(event);
            }
    }

    // Presses the modifiers, then the key; `pressed` is set right before the key goes down.
    void press(const std::string& keys, Clock::time_point& pressed) {
        std::vector<xcb_keycode_t> codes;
        size_t from = 0;
        while (from <= keys.size()) {
            const size_t plus = keys.find('+', from);
            const std::string name =
                keys.substr(from, plus == std::string::npos ? plus : plus - from);
            codes.push_back(keycode(name));
            if (plus == std::string::npos) break;
            from = plus + 1;
        }
        for (size_t i = 0; i + 1 < codes.size(); ++i)
            fake(XCB_KEY_PRESS, codes[i]);
        xcb_flush(m_conn);
        drain(std::chrono::milliseconds(30));
        pressed = Clock::now();
        fake(XCB_KEY_PRESS, codes.back());
        fake(XCB_KEY_RELEASE, codes.back());
        for (size_t i = codes.size() - 1; i-- > 0;)
            fake(XCB_KEY_RELEASE, codes[i]);
        xcb_flush(m_conn);
    }

    void activate(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = m_activeAtom;
        message.data.data32[0] = 2; // from a pager: honoured without a focus-stealing check
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_conn, 0, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_conn);
    }

    const Tracked& window(xcb_window_t w) { return m_windows[w]; }

    // How many windows of `pid` were mapped so far, each counted once however often it was.
    int mappedCount(uint32_t pid) const {
        int count = 0;
        for (const auto& [window, owner] : m_everMapped)
            count += owner == pid;
        return count;
    }

private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_conn, xcb_intern_atom(m_conn, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : 0;
        free(reply);
        return result;
    }

    void loadKeymap() {
        const xcb_setup_t* setup = xcb_get_setup(m_conn);
        m_minKeycode = setup->min_keycode;
        const uint8_t count = uint8_t(setup->max_keycode - setup->min_keycode + 1);
        xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
            m_conn, xcb_get_keyboard_mapping(m_conn, m_minKeycode, count), nullptr);
        if (!reply) fail("cannot read the keyboard map");
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
        m_symsPerCode = reply->keysyms_per_keycode;
        m_keysyms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply));
        free(reply);
    }

    xcb_keycode_t keycode(const std::string& name) {
        static const std::map<std::string, xcb_keysym_t> named{{"ctrl", 0xffe3},
                                                               {"shift", 0xffe1},
                                                               {"alt", 0xffe9},
                                                               {"Escape", 0xff1b},
                                                               {"Return", 0xff0d}};
        xcb_keysym_t sym = 0;
        if (auto it = named.find(name); it != named.end())
            sym = it->second;
        else if (name.size() == 1)
            sym = xcb_keysym_t(static_cast<unsigned char>(name[0]));
        else
            fail("unknown key name");
        for (size_t i = 0; i < m_keysyms.size(); ++i)
            if (m_keysyms[i] == sym) return xcb_keycode_t(m_minKeycode + i / m_symsPerCode);
        fail("a key is not on the keyboard map");
    }

    void fake(uint8_t type, xcb_keycode_t code) {
        xcb_test_fake_input(m_conn, type, code, XCB_CURRENT_TIME, m_root, 0, 0, 0);
    }

    xcb_generic_event_t* next(Clock::time_point deadline) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(m_conn)) return event;
        if (xcb_connection_has_error(m_conn)) fail("the display connection broke");
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd fd{xcb_get_file_descriptor(m_conn), POLLIN, 0};
        poll(&fd, 1, int(std::max<long long>(0, left.count())));
        return xcb_poll_for_event(m_conn);
    }

    uint32_t pidOf(xcb_window_t window) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_conn, xcb_get_property(m_conn, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1),
            nullptr);
        uint32_t pid = 0;
        if (reply && xcb_get_property_value_length(reply) == 4)
            std::memcpy(&pid, xcb_get_property_value(reply), 4);
        free(reply);
        return pid;
    }

    // Keeps the window records up to date; gives the window that was drawn on, if any.
    std::optional<xcb_window_t> handle(xcb_generic_event_t* event) {
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // A window cannot be drawn on before it is mapped, and a managed window is mapped
            // only after a round through the window manager: watching from here misses nothing.
            auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
            Tracked& t = m_windows[e->window];
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(m_conn, e->window, XCB_CW_EVENT_MASK, &mask);
            t.damage = xcb_generate_id(m_conn);
            xcb_damage_create(m_conn, t.damage, e->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(m_conn);
        } else if (type == XCB_MAP_NOTIFY) {
            auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
            auto it = m_windows.find(e->window);
            if (it != m_windows.end() && !it->second.mapped && e->window == e->event) {
                it->second.mapped = true;
                it->second.mappedAt = Clock::now();
                it->second.pid = pidOf(e->window);
                m_everMapped.emplace(e->window, it->second.pid);
            }
        } else if (type == XCB_UNMAP_NOTIFY) {
            auto* e = reinterpret_cast<xcb_unmap_notify_event_t*>(event);
            auto it = m_windows.find(e->window);
            if (it != m_windows.end() && e->window == e->event) it->second.mapped = false;
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            auto* e = reinterpret_cast<xcb_configure_notify_event_t*>(event);
            auto it = m_windows.find(e->window);
            if (it != m_windows.end() && e->window == e->event) {
                it->second.width = e->width;
                it->second.height = e->height;
            }
        } else if (type == XCB_DESTROY_NOTIFY) {
            auto* e = reinterpret_cast<xcb_destroy_notify_event_t*>(event);
            if (e->window == e->event) m_windows.erase(e->window);
        } else if (type == m_damageEvent + XCB_DAMAGE_NOTIFY) {
            auto* e = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            // Clears the damage, so the next drawing reports again.
            xcb_damage_subtract(m_conn, e->damage, XCB_NONE, XCB_NONE);
            xcb_flush(m_conn);
            if (m_windows.count(e->drawable)) return e->drawable;
        }
        return std::nullopt;
    }

    xcb_connection_t* m_conn = nullptr;
    xcb_window_t m_root = 0;
    uint8_t m_damageEvent = 0;
    xcb_atom_t m_pidAtom = 0, m_activeAtom = 0;
    xcb_keycode_t m_minKeycode = 0;
    uint8_t m_symsPerCode = 1;
    std::vector<xcb_keysym_t> m_keysyms;
    std::map<xcb_window_t, Tracked> m_windows;
    std::map<xcb_window_t, uint32_t> m_everMapped;
};

// Resident and proportional set size of a process, in KiB.
std::pair<long, long> memoryOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    long rss = -1, pss = -1;
    std::string line;
    while (std::getline(in, line)) {
        long value = 0;
        if (std::sscanf(line.c_str(), "Rss: %ld", &value) == 1) rss = value;
        if (std::sscanf(line.c_str(), "Pss: %ld", &value) == 1) pss = value;
    }
    return {rss, pss};
}

void stop(pid_t child) {
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

int main(int argc, char** argv) {
    std::string open, close = "Escape";
    int repeat = 10;
    bool atOnce = false;
    int idleSeconds = 0;
    int first = 1;
    for (; first < argc && std::strcmp(argv[first], "--") != 0; ++first) {
        const std::string option = argv[first];
        if (option == "--at-once") {
            atOnce = true;
            continue;
        }
        if (first + 1 >= argc) Watcher::fail("an option lacks its value");
        if (option == "--open")
            open = argv[++first];
        else if (option == "--close")
            close = argv[++first];
        else if (option == "--repeat")
            repeat = std::atoi(argv[++first]);
        else if (option == "--idle")
            idleSeconds = std::atoi(argv[++first]);
        else
            Watcher::fail("unknown option");
    }
    if (first + 1 >= argc)
        Watcher::fail("usage: [--open KEYS --close KEYS --repeat N --at-once --idle S] -- PROGRAM");
    if (atOnce && idleSeconds > 0) Watcher::fail("--at-once and --idle exclude each other");
    const auto idle = std::chrono::seconds(idleSeconds);

    Watcher watcher;
    const auto started = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[first + 1], argv + first + 1);
        _exit(127);
    }
    const std::optional<xcb_window_t> main = watcher.waitDrawn(uint32_t(child), started);
    if (!main) {
        std::puts("start_ms timeout");
        stop(child);
        return 1;
    }
    const double startMs = msSince(started);
    const auto [rss, pss] = memoryOf(child);
    std::printf("start_ms %.1f\nrss_kib %ld\npss_kib %ld\n", startMs, rss, pss);
    if (!atOnce) watcher.drain(kSettle);
    std::printf("window %dx%d\n", watcher.window(*main).width, watcher.window(*main).height);
    // A window replaced after its first show (a native window made anew) counts twice.
    std::printf("start_windows %d\n", watcher.mappedCount(uint32_t(child)));
    std::fflush(stdout);
    watcher.drain(idle);

    int result = 0;
    for (int i = 1; !open.empty() && i <= repeat; ++i) {
        watcher.activate(*main);
        if (!atOnce || i > 1) watcher.drain(kSettle);
        Clock::time_point pressed;
        watcher.press(open, pressed);
        const std::optional<xcb_window_t> opened =
            watcher.waitDrawn(uint32_t(child), pressed, *main);
        if (!opened) {
            std::printf("open_ms %d timeout\n", i);
            result = 1;
            break;
        }
        std::printf("open_ms %d %.1f\n", i, msSince(pressed));
        std::fflush(stdout);
        watcher.drain(kSettle);
        Clock::time_point ignored;
        watcher.press(close, ignored);
        if (!watcher.waitUnmapped(*opened)) {
            std::printf("close %d timeout\n", i);
            result = 1;
            break;
        }
    }
    if (idleSeconds > 0 && result == 0 && !open.empty()) {
        watcher.drain(kSettle);
        std::printf("closed_rss_kib %ld\n", memoryOf(child).first);
        std::fflush(stdout);
        watcher.drain(idle);
        std::printf("idle_rss_kib %ld\n", memoryOf(child).first);
    }
    stop(child);
    return result;
}
