#include <gtest/gtest.h>

#include "device/BusProtocol.h"

namespace device::bus {
namespace {

TEST(BusProtocol, RequestsSurviveTheTripByteForByte) {
  Request find{Op::Find, u"CeWnd:GENERIC", u"Vantor \u00e9", 0};
  Request raise{Op::Raise, {}, {}, 0x1234567890ABCDEFull};
  Request ping{Op::Ping, {}, {}, 0};
  for (const Request& sent : {find, raise, ping}) {
    std::string bytes = encodeRequest(sent);
    Request got;
    ASSERT_EQ(parseRequest(bytes, got), Parse::Complete);
    EXPECT_EQ(got.op, sent.op);
    EXPECT_EQ(got.className, sent.className);
    EXPECT_EQ(got.title, sent.title);
    EXPECT_EQ(got.handle, sent.handle);
    // Every shorter prefix is a request still arriving, not a bad one.
    for (size_t n = 0; n < bytes.size(); ++n)
      EXPECT_EQ(parseRequest(bytes.substr(0, n), got), Parse::Incomplete) << n;
  }
}

TEST(BusProtocol, RefusesMalformedRequests) {
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
}

TEST(BusProtocol, AnswersCarryOutcomeAndValue) {
  bool ok = false;
  uint64_t value = 0;
  ASSERT_TRUE(parseAnswer(encodeAnswer(true, 0xFEDCBA9876543210ull), ok, value));
  EXPECT_TRUE(ok);
  EXPECT_EQ(value, 0xFEDCBA9876543210ull);
  ASSERT_TRUE(parseAnswer(encodeAnswer(false, 0), ok, value));
  EXPECT_FALSE(ok);
  EXPECT_FALSE(parseAnswer(encodeAnswer(true, 1).substr(0, 8), ok, value));
  std::string bad = encodeAnswer(true, 1);
  bad[0] = 2;
  EXPECT_FALSE(parseAnswer(bad, ok, value));
}

}  // namespace
}  // namespace device::bus
