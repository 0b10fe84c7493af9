// Start-up as a user pays it: from the start of the executable (fork + exec)
// to its top-level window being mapped on the X server given by DISPLAY (run
// it under Xvfb), for the real trelvan program on the simulated module and,
// as the baseline, a minimal Qt widget program started the same way
// (minimal_window: one empty QWidget of the same size). The window is found
// by its title from the X server's map notices; the program is then ended.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

class XServer {
 public:
  XServer() : connection_(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(connection_)) return;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    netWmName_ = Atom("_NET_WM_NAME");
    xcb_flush(connection_);
  }
  ~XServer() { xcb_disconnect(connection_); }

  bool ok() const { return !xcb_connection_has_error(connection_); }

  // Waits up to `timeoutMs` for a window titled `title` to be mapped.
  bool WaitForMappedWindow(const std::string& title, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      while (std::unique_ptr<xcb_generic_event_t, FreeDeleter> event{xcb_poll_for_event(connection_)}) {
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
        if (Title(map->window, netWmName_) == title || Title(map->window, XCB_ATOM_WM_NAME) == title) return true;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0 || !ok()) return false;
      pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
      ::poll(&fd, 1, static_cast<int>(left));
    }
  }

  // Drops the notices that are left over from the last program.
  void Drain() {
    xcb_aux_sync();
    while (std::unique_ptr<xcb_generic_event_t, FreeDeleter> event{xcb_poll_for_event(connection_)}) {
    }
  }

 private:
  void xcb_aux_sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

  xcb_atom_t Atom(const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> reply{xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr)};
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  }

  std::string Title(xcb_window_t window, xcb_atom_t property) {
    std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> reply{xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
        nullptr)};
    if (!reply) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
  }

  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
  xcb_atom_t netWmName_ = XCB_ATOM_NONE;
};

// One connection for the whole program: the server is never left without a
// client, so it never resets between the benchmarks.
XServer& Server() {
  static XServer server;
  return server;
}

void StartToMapped(benchmark::State& s, const char* program, const std::string& title) {
  XServer& x = Server();
  if (!x.ok()) {
    s.SkipWithError("no X server: run under Xvfb (xvfb-run)");
    return;
  }
  for (auto _ : s) {
    x.Drain();
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
      if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr)) ::_exit(126);
      ::execl(program, program, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    const bool shown = pid > 0 && x.WaitForMappedWindow(title, 20'000);
    s.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
    if (!shown) {
      s.SkipWithError(("no window titled '" + title + "' appeared").c_str());
      return;
    }
  }
}

void BM_StartToWindowMapped_Trelvan(benchmark::State& s) { StartToMapped(s, TRELVAN_EXECUTABLE, "Trelvan <\?\?\?>"); }
BENCHMARK(BM_StartToWindowMapped_Trelvan)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_StartToWindowMapped_MinimalQt(benchmark::State& s) {
  StartToMapped(s, MINIMAL_WINDOW_EXECUTABLE, "Minimal Qt window");
}
BENCHMARK(BM_StartToWindowMapped_MinimalQt)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace
