// Child processes for the end-to-end tests, and PNG reading.
#include "program_runner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#ifndef LUMIVEX_BIN_DIR
#error "LUMIVEX_BIN_DIR must name the directory of the built programs"
#endif

namespace lumivex::testing {

std::string TestDirectory() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name()
                                     : std::string("outside-a-test");
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const char* base = std::getenv("TEST_TMPDIR");
  std::string dir = std::string(base != nullptr ? base : "/tmp") + "/lumivex-tests-" +
                    std::to_string(getpid()) + "/" + name;
  for (size_t i = 1; i <= dir.size(); ++i) {
    if (i == dir.size() || dir[i] == '/') mkdir(dir.substr(0, i).c_str(), 0755);
  }
  return dir;
}

RunResult RunProgram(const std::string& name, const RunOptions& options) {
  RunResult result;
  const std::string dir = TestDirectory();
  const std::string program = std::string(LUMIVEX_BIN_DIR) + "/" + name;
  std::string script_path;
  if (!options.script.empty()) {
    script_path = dir + "/" + name + ".script";
    std::ofstream(script_path) << options.script;
  }
  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return result;
  const pid_t child = fork();
  if (child == 0) {
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]}) {
      close(fd);
    }
    if (chdir(dir.c_str()) != 0) _exit(127);
    setenv("LUMIVEX_BACKEND", "headless", 1);
    unsetenv("LUMIVEX_SCRIPT");
    unsetenv("LUMIVEX_TICKS");
    unsetenv("LUMIVEX_SCREEN");
    if (!script_path.empty()) setenv("LUMIVEX_SCRIPT", script_path.c_str(), 1);
    for (const auto& [key, value] : options.environment)
      setenv(key.c_str(), value.c_str(), 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  close(err_pipe[1]);
  // Standard input is written whole, then closed (end of input).
  signal(SIGPIPE, SIG_IGN);
  if (!options.input.empty()) {
    ssize_t ignored = write(in_pipe[1], options.input.data(), options.input.size());
    (void)ignored;
  }
  close(in_pipe[1]);

  const auto deadline = std::chrono::steady_clock::now() + options.time_limit;
  pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
  int open_pipes = 2;
  while (open_pipes > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timed_out = true;
      kill(child, SIGKILL);
      break;
    }
    if (poll(fds, 2, static_cast<int>(left.count())) < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_pipes;
      } else {
        (i == 0 ? result.output : result.errors).append(buffer, static_cast<size_t>(n));
      }
    }
  }
  for (pollfd& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
  int status = 0;
  waitpid(child, &status, 0);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

void ExpectEndsWhenTheWindowCannotOpen(const std::string& name, const std::string& input) {
  RunOptions options;
  options.input = input;
  options.environment = {{"LUMIVEX_BACKEND", "sdl"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
  options.time_limit = std::chrono::seconds(20);
  const RunResult result = RunProgram(name, options);
  EXPECT_FALSE(result.timed_out) << name;
  EXPECT_NE(result.exit_code, 0) << name;
  EXPECT_NE(result.errors.find(name + ": the window could not be opened"), std::string::npos)
      << name << ": " << result.errors;
}

bool ReadPng(const std::string& path, Picture* picture) {
  // libpng's simplified reader: no longjmp through this frame, whatever the file holds.
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  picture->width = static_cast<int32_t>(image.width);
  picture->height = static_cast<int32_t>(image.height);
  picture->pixels.resize(rgb.size() / 3);
  for (size_t i = 0; i < picture->pixels.size(); ++i) {
    picture->pixels[i] = rgb[i * 3] | (rgb[i * 3 + 1] << 8) | (rgb[i * 3 + 2] << 16);
  }
  return true;
}

}  // namespace lumivex::testing
