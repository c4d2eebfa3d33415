#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "kernel/HandleTable.h"

namespace {

TEST(HandleTable, StaleForeignAndOverflowingHandlesAreRefused) {
  kernel::HandleTable<int> table(4);
  kernel::HandleTable<int> other(5);
  HICON first = table.add<HICON>(std::make_unique<int>(1));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(*table.get(first), 1);
  EXPECT_EQ(other.get(first), nullptr);
  EXPECT_EQ(*table.remove(first), 1);
  EXPECT_EQ(table.remove(first), nullptr);
  EXPECT_EQ(table.get(reinterpret_cast<HICON>(uintptr_t(0x1'0400'0001))), nullptr);

  // Slots are reused under a new generation; a full table gives no handle rather than an alias.
  std::vector<HICON> handles;
  for (int i = 0; i < 0x10000; ++i) handles.push_back(table.add<HICON>(std::make_unique<int>(i)));
  EXPECT_EQ(table.add<HICON>(std::make_unique<int>(-1)), nullptr);
  EXPECT_EQ(table.get(first), nullptr);
  EXPECT_EQ(*table.get(handles.back()), 0xFFFF);
  table.remove(handles[7]);
  HICON reused = table.add<HICON>(std::make_unique<int>(-2));
  ASSERT_NE(reused, nullptr);
  EXPECT_EQ(*table.get(reused), -2);
  EXPECT_EQ(table.get(handles[7]), nullptr);
}

}  // namespace
