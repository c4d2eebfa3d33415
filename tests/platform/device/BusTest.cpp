#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <optional>

#include "TestWindows.h"
#include "device/Bus.h"
#include "device/BusProtocol.h"

namespace device::testing {
namespace {

class BusTest : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    runDir_ = std::string(VANTOR_TEST_BINARY_DIR) + "/bus-run-" + std::to_string(getpid());
    std::filesystem::create_directories(runDir_);
    if (const char* saved = std::getenv("XDG_RUNTIME_DIR")) savedRuntimeDir_ = saved;
    setenv("XDG_RUNTIME_DIR", runDir_.c_str(), 1);
    image_ = runDir_ + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".cedb";
  }
  void TearDown() override {
    Bus::instance().stop();
    std::filesystem::remove_all(runDir_);
    if (savedRuntimeDir_)
      setenv("XDG_RUNTIME_DIR", savedRuntimeDir_->c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
    DeviceFixture::TearDown();
  }

  static sockaddr_un addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
  }

  static int connectTo(const std::string& path) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address = addressOf(path);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      close(fd);
      return -1;
    }
    return fd;
  }

  // Lets the bus work as the device's idle loop does, until the client
  // has an answer or the bus hung up on it.
  static void serviceUntilAnswered(int client) {
    for (int i = 0; i < 100; ++i) {
      pollfd p{Bus::instance().pollDescriptor(), POLLIN, 0};
      poll(&p, 1, 50);
      Bus::instance().service();
      pollfd c{client, POLLIN, 0};
      if (poll(&c, 1, 0) > 0) return;
    }
  }

  static std::string readAll(int fd) {
    std::string bytes;
    char buffer[64];
    pollfd p{fd, POLLIN, 0};
    while (poll(&p, 1, 5000) > 0) {
      ssize_t n = read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
  }

  std::string runDir_;
  std::optional<std::string> savedRuntimeDir_;
  std::string image_;
};

TEST_F(BusTest, SocketIsNamedFromTheImagesCanonicalPathInTheRuntimeDirectory) {
  std::string same = runDir_ + "/./sub/../" + std::filesystem::path(image_).filename().string();
  EXPECT_EQ(Bus::socketPathFor(image_), Bus::socketPathFor(same));
  EXPECT_NE(Bus::socketPathFor(image_), Bus::socketPathFor(image_ + "2"));
  std::string path = Bus::socketPathFor(image_);
  EXPECT_EQ(path.rfind(runDir_ + "/vantor-", 0), 0u) << path;
  EXPECT_EQ(path.substr(path.size() - 5), ".sock");

  // A missing runtime directory falls back to the temporary one.
  std::optional<std::string> tmp;
  if (const char* saved = std::getenv("TMPDIR")) tmp = saved;
  setenv("XDG_RUNTIME_DIR", (runDir_ + "/gone").c_str(), 1);
  unsetenv("TMPDIR");
  EXPECT_EQ(Bus::socketPathFor(image_).rfind("/tmp/vantor-", 0), 0u);
  if (tmp) setenv("TMPDIR", tmp->c_str(), 1);
}

TEST_F(BusTest, FirstProcessListensEvenOverAStaleSocketAndRemovesItsSocketWhenItStops) {
  Bus& bus = Bus::instance();
  bus.start(image_);
  ASSERT_TRUE(bus.listening());
  EXPECT_GE(bus.pollDescriptor(), 0);
  std::string path = bus.socketPath();
  EXPECT_TRUE(std::filesystem::exists(path));
  // With nobody else on the image there is nobody to ask.
  EXPECT_FALSE(bus.findRemote(u"", u""));
  bus.stop();
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(bus.pollDescriptor(), -1);
  // A socket file that nobody listens on is taken over.
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = addressOf(path);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);
  bus.start(image_);
  EXPECT_TRUE(bus.listening());
}

TEST_F(BusTest, MalformedRequestIsDroppedAndOneArrivingInPiecesIsAnswered) {
  Bus& bus = Bus::instance();
  bus.start(image_);
  ASSERT_TRUE(bus.listening());

  int bad = connectTo(bus.socketPath());
  ASSERT_GE(bad, 0);
  ASSERT_GT(write(bad, "HELLO?", 6), 0);
  serviceUntilAnswered(bad);
  EXPECT_EQ(readAll(bad), "");  // closed without an answer
  close(bad);

  // The bus goes on: a request written a byte at a time is answered.
  HWND target = topLevel(u"Piecemeal", {0, 26, 240, 320});
  int fd = connectTo(bus.socketPath());
  ASSERT_GE(fd, 0);
  std::string request = bus::encodeRequest({bus::Op::Find, kTestClass, u"Piecemeal", 0});
  for (size_t i = 0; i + 1 < request.size(); ++i) {
    ASSERT_EQ(write(fd, &request[i], 1), 1);
    Bus::instance().service();
  }
  ASSERT_EQ(write(fd, &request.back(), 1), 1);
  serviceUntilAnswered(fd);
  EXPECT_EQ(readAll(fd), bus::encodeAnswer(true, reinterpret_cast<uintptr_t>(target)));
  close(fd);
}

}  // namespace
}  // namespace device::testing
