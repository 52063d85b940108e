// Start-up checks, the message box and shut-down of the desktop back end, each in a fresh process.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "x_probe.h"

namespace {

// The shut-down sequence in the order the game runs it, also after a failed check.
void shutDown() {
  platform::closeKeyboard();
  platform::closeMouse();
  platform::closeScreen();
  platform::closeDisplaySystem();
  platform::closeWindow();
}

class StartupDeathTest : public testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(StartupDeathTest, WithoutDisplayTheCheckFailsAndTheErrorGoesToStandardError) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        const bool opened = platform::openDisplaySystem();
        platform::showError("Fehler", "Sprite-System kann nicht geöffnet werden");
        shutDown();
        std::exit(opened ? 1 : 0);
      },
      testing::ExitedWithCode(0), "Fehler: Sprite-System kann nicht geöffnet werden\n");
}

TEST_F(StartupDeathTest, EverythingCanBeClosedAndUsedWhenNothingWasOpened) {
  EXPECT_EXIT(
      {
        platform::present();
        platform::Event event;
        const bool taken = platform::pollEvent(event);
        const bool noCursor = platform::mouseX() == -1 && platform::mouseY() == -1;
        const bool noClient = platform::windowWidth() == 0 && platform::windowHeight() == 0;
        shutDown();
        std::exit(!taken && noCursor && noClient ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

// Takes place in a child process, so that the test can play the user who
// presses the button, and can stop a box that never closes.
TEST(MessageBox, WaitsForItsButtonAndWritesNothingElse) {
  int errors[2];
  ASSERT_EQ(pipe(errors), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(errors[1], STDERR_FILENO);
    alarm(20);
    platform::showError("Fehler", "Maus kann nicht aktiviert werden");
    _exit(0);
  }
  close(errors[1]);

  window_testing::XProbe probe;
  ASSERT_TRUE(probe.connected());
  window_testing::XWindow box = 0;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < giveUp) {
    box = probe.findWindow("Fehler");
    if (box != 0 && probe.geometry(box).viewable) break;
    box = 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  int status = 0;
  EXPECT_NE(box, 0u) << "no box titled Fehler";
  EXPECT_EQ(waitpid(child, &status, WNOHANG), 0) << "showError returned with the box up";
  if (box != 0) {
    probe.focus(box);
    probe.tap("Return");
  }
  while (waitpid(child, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (waitpid(child, &status, WNOHANG) == 0) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    ADD_FAILURE() << "the box did not close with its button";
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::string written;
  char buffer[256];
  for (ssize_t n; (n = read(errors[0], buffer, sizeof buffer)) > 0;) written.append(buffer, n);
  close(errors[0]);
  EXPECT_EQ(written, "");
}

}  // namespace
