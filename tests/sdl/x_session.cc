// Xvfb, xdotool and the probe process for the real-window tests.
#include "x_session.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "support/program_runner.h"

#ifndef LUMIVEX_PROBE_PATH
#error "LUMIVEX_PROBE_PATH must name the window probe program"
#endif

namespace lumivex::testing {

namespace {

pid_t g_server = -1;

// Reads from fd into *text until it holds a newline or the deadline passes.
bool ReadLine(int fd, std::string* text, std::chrono::steady_clock::time_point deadline) {
  while (text->find('\n') == std::string::npos) {
    // Looks at least once, also when the time is up.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd fds{fd, POLLIN, 0};
    const int ready = poll(&fds, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    text->append(buffer, static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool StartXServer(std::string* error) {
  int display_pipe[2];
  if (pipe(display_pipe) != 0) {
    *error = "no pipe";
    return false;
  }
  g_server = fork();
  if (g_server == 0) {
    close(display_pipe[0]);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 1);
    dup2(null, 2);
    const std::string fd = std::to_string(display_pipe[1]);
    const std::string screen =
        std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(display_pipe[1]);
  std::string number;
  const bool read = ReadLine(display_pipe[0], &number,
                             std::chrono::steady_clock::now() + std::chrono::seconds(20));
  close(display_pipe[0]);
  if (g_server < 0 || !read) {
    *error = "Xvfb did not start (scripts/setup.sh installs it)";
    StopXServer();
    return false;
  }
  const std::string display = ":" + number.substr(0, number.find('\n'));
  setenv("DISPLAY", display.c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  return true;
}

void StopXServer() {
  if (g_server <= 0) return;
  kill(g_server, SIGTERM);
  waitpid(g_server, nullptr, 0);
  g_server = -1;
}

std::string Shell(const std::string& command, int* status) {
  std::string output;
  FILE* pipe = popen(("timeout 20 " + command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) {
    if (status != nullptr) *status = -1;
    return output;
  }
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, n);
  const int result = pclose(pipe);
  if (status != nullptr) *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  return output;
}

unsigned long FindWindow(const std::string& title, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const std::string found = Shell("xdotool search --name '^" + title + "$'");
    if (!found.empty()) return std::stoul(found);
    if (std::chrono::steady_clock::now() > deadline) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

WindowGeometry GeometryOf(unsigned long window) {
  WindowGeometry geometry;
  const std::string text = Shell("xdotool getwindowgeometry --shell " + std::to_string(window));
  std::sscanf(text.c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &geometry.x, &geometry.y,
              &geometry.width, &geometry.height);
  return geometry;
}

bool RequestClose(unsigned long window) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(display, window, False, NoEventMask, &event) != 0;
  XSync(display, False);
  XCloseDisplay(display);
  return sent;
}

Probe::Probe(const Environment& environment) {
  static int count = 0;
  directory_ = TestDirectory() + "/probe-" + std::to_string(++count);
  mkdir(directory_.c_str(), 0755);
  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]}) {
      close(fd);
    }
    if (chdir(directory_.c_str()) != 0) _exit(127);
    setenv("LUMIVEX_BACKEND", "sdl", 1);
    for (const char* name :
         {"LUMIVEX_SCRIPT", "LUMIVEX_SCALE", "LUMIVEX_SCREEN", "LUMIVEX_TICKS"}) {
      unsetenv(name);
    }
    for (const auto& [name, value] : environment) {
      if (value.empty()) {
        unsetenv(name.c_str());
      } else {
        setenv(name.c_str(), value.c_str(), 1);
      }
    }
    execl(LUMIVEX_PROBE_PATH, LUMIVEX_PROBE_PATH, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  close(err_pipe[1]);
  input_ = in_pipe[1];
  output_ = out_pipe[0];
  errors_fd_ = err_pipe[0];
  signal(SIGPIPE, SIG_IGN);
}

Probe::~Probe() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  for (int fd : {input_, output_, errors_fd_}) {
    if (fd >= 0) close(fd);
  }
}

void Probe::Send(const std::string& line) {
  const std::string text = line + "\n";
  ssize_t ignored = write(input_, text.data(), text.size());
  (void)ignored;
}

std::string Probe::NextLine(std::chrono::milliseconds limit) {
  if (!ReadLine(output_, &buffer_, std::chrono::steady_clock::now() + limit)) return "";
  const size_t end = buffer_.find('\n');
  std::string line = buffer_.substr(0, end);
  buffer_.erase(0, end + 1);
  return line;
}

std::string Probe::WaitFor(const std::string& prefix, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return "";
    std::string line = NextLine(left);
    if (line.empty()) return "";
    if (line.rfind(prefix, 0) == 0) return line;
  }
}

int Probe::Finish() {
  close(input_);
  input_ = -1;
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string& Probe::errors() {
  // Whatever the probe has written to standard error so far.
  for (;;) {
    pollfd fds{errors_fd_, POLLIN, 0};
    if (poll(&fds, 1, 0) <= 0) break;
    char buffer[4096];
    const ssize_t n = read(errors_fd_, buffer, sizeof buffer);
    if (n <= 0) break;
    errors_.append(buffer, static_cast<size_t>(n));
  }
  return errors_;
}

}  // namespace lumivex::testing
