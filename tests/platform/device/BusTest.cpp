// The bus between a program's instances on one image: its messages, its
// socket and how it answers a peer.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <tuple>

#include "TestWindows.h"
#include "device/Bus.h"
#include "device/BusProtocol.h"

namespace device::testing {
namespace {

using namespace bus;

TEST(BusProtocol, RequestsAndAnswersSurviveTheTripByteForByteAndMalformedOnesAreRefused) {
  Request find{Op::Find, u"CeWnd:GENERIC", u"Vantor \u00e9", 0};
  Request raise{Op::Raise, {}, {}, 0x1234567890ABCDEFull};
  Request ping{Op::Ping, {}, {}, 0};
  for (const Request& sent : {find, raise, ping}) {
    std::string bytes = encodeRequest(sent);
    Request got;
    ASSERT_EQ(parseRequest(bytes, got), Parse::Complete);
    EXPECT_EQ(std::tuple(got.op, got.className, got.title, got.handle),
              std::tuple(sent.op, sent.className, sent.title, sent.handle));
    // Every shorter prefix is a request still arriving, not a bad one.
    for (size_t n = 0; n < bytes.size(); ++n)
      EXPECT_EQ(parseRequest(bytes.substr(0, n), got), Parse::Incomplete) << n;
  }
  // Malformed requests and answers are refused.
  std::string tooLong = encodeRequest({Op::Find, std::u16string(kMaxTextUnits + 1, u'x'), u"", 0});
  std::string trailing = encodeRequest({Op::Raise, {}, {}, 7}) + "x";
  std::string badOp = encodeRequest({Op::Ping, {}, {}, 0});
  badOp[4] = 9;
  std::string hugeCount = std::string("VBUS\1") + std::string("\xff\xff\xff\xff", 4);
  for (const std::string& bytes : {std::string("GET / HTTP/1.0\r\n"), std::string("VBX"), tooLong, trailing, badOp,
                                   hugeCount}) {
    Request got;
    EXPECT_EQ(parseRequest(bytes, got), Parse::Malformed) << bytes;
  }
  for (auto [ok, value] : {std::pair<bool, uint64_t>(true, 0xFEDCBA9876543210ull), {false, 0}}) {
    bool gotOk = !ok;
    uint64_t gotValue = ~value;
    ASSERT_TRUE(parseAnswer(encodeAnswer(ok, value), gotOk, gotValue));
    EXPECT_EQ(std::pair(gotOk, gotValue), std::pair(ok, value));
  }
  bool ok = false;
  uint64_t value = 0;
  EXPECT_FALSE(parseAnswer(encodeAnswer(true, 1).substr(0, 8), ok, value));
  std::string bad = encodeAnswer(true, 1);
  bad[0] = 2;
  EXPECT_FALSE(parseAnswer(bad, ok, value));
}

sockaddr_un addressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  return address;
}

int connectTo(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address = addressOf(path);
  EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  return fd;
}

// Lets the bus work as the device's idle loop does until the client has an
// answer or was hung up on; what the client then reads.
std::string answerTo(int client) {
  pollfd c{client, POLLIN, 0};
  for (int i = 0; i < 100 && poll(&c, 1, 0) <= 0; ++i) {
    pollfd p{Bus::instance().pollDescriptor(), POLLIN, 0};
    poll(&p, 1, 50);
    Bus::instance().service();
  }
  std::string bytes;
  char buffer[64];
  for (ssize_t n; poll(&c, 1, 5000) > 0 && (n = read(client, buffer, sizeof buffer)) > 0;)
    bytes.append(buffer, static_cast<size_t>(n));
  close(client);
  return bytes;
}

class BusTest : public DeviceFixture {
 protected:
  void SetUp() override {
    DeviceFixture::SetUp();
    std::filesystem::create_directories(runDir_);
    if (const char* saved = std::getenv("XDG_RUNTIME_DIR")) savedRuntimeDir_ = saved;
    setenv("XDG_RUNTIME_DIR", runDir_.c_str(), 1);
  }
  void TearDown() override {
    Bus::instance().stop();
    std::filesystem::remove_all(runDir_);
    savedRuntimeDir_ ? setenv("XDG_RUNTIME_DIR", savedRuntimeDir_->c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
    DeviceFixture::TearDown();
  }
  const std::string runDir_ = std::string(VANTOR_TEST_BINARY_DIR) + "/bus-run-" + std::to_string(getpid());
  const std::string image_ = runDir_ + "/device.cedb";
  std::optional<std::string> savedRuntimeDir_;
};

TEST_F(BusTest, FirstProcessListensDropsMalformedRequestsAnswersOnesInPiecesAndTakesOverAStaleSocket) {
  Bus& bus = Bus::instance();
  bus.start(image_);
  ASSERT_TRUE(bus.listening());
  EXPECT_GE(bus.pollDescriptor(), 0);
  // The socket is named from the image's canonical path, in the runtime directory.
  const std::string path = bus.socketPath();
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(path, Bus::socketPathFor(runDir_ + "/./sub/../device.cedb"));
  EXPECT_NE(path, Bus::socketPathFor(image_ + "2"));
  EXPECT_EQ(path.rfind(runDir_ + "/vantor-", 0), 0u) << path;
  EXPECT_EQ(path.substr(path.size() - 5), ".sock");

  int bad = connectTo(path);
  ASSERT_GT(write(bad, "HELLO?", 6), 0);
  EXPECT_EQ(answerTo(bad), "") << "closed without an answer";
  // The bus goes on: a request written a byte at a time is answered.
  HWND target = topLevel(u"Piecemeal", {0, 26, 240, 320});
  int fd = connectTo(path);
  std::string request = encodeRequest({Op::Find, kTestClass, u"Piecemeal", 0});
  for (size_t i = 0; i + 1 < request.size(); ++i) {
    ASSERT_EQ(write(fd, &request[i], 1), 1);
    bus.service();
  }
  ASSERT_EQ(write(fd, &request.back(), 1), 1);
  EXPECT_EQ(answerTo(fd), encodeAnswer(true, reinterpret_cast<uintptr_t>(target)));

  bus.stop();
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(bus.pollDescriptor(), -1);
  // A socket file that nobody listens on is taken over.
  int stale = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = addressOf(path);
  ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(stale);
  bus.start(image_);
  EXPECT_TRUE(bus.listening());
}

}  // namespace
}  // namespace device::testing
