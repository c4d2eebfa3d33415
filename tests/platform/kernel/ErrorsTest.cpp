#include <gtest/gtest.h>
#include <windows.h>

TEST(LocalMemory, ZeroInitGrowsAndRefusesForeignPointers) {
  auto* p = static_cast<unsigned char*>(LocalAlloc(LPTR, 16));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0);
  p[15] = 7;
  auto* q = static_cast<unsigned char*>(LocalReAlloc(p, 64, LMEM_ZEROINIT));
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(LocalSize(q), 64u);
  EXPECT_EQ(q[15], 7);
  EXPECT_EQ(q[63], 0);
  EXPECT_EQ(LocalFree(q), nullptr);
  int onStack = 0;
  EXPECT_EQ(LocalFree(&onStack), &onStack);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}
