#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "kernel/HandleTable.h"

namespace {

TEST(HandleTable, StaleAndForeignHandlesAreRefused) {
  kernel::HandleTable<int> table(4);
  kernel::HandleTable<int> other(5);
  HICON first = table.add<HICON>(std::make_unique<int>(1));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(*table.get(first), 1);
  EXPECT_EQ(other.get(first), nullptr);

  EXPECT_EQ(*table.remove(first), 1);
  EXPECT_EQ(table.get(first), nullptr);
  EXPECT_EQ(table.remove(first), nullptr);

  // The slot is reused under a new generation: the old handle stays dead.
  HICON second = table.add<HICON>(std::make_unique<int>(2));
  EXPECT_NE(second, first);
  EXPECT_EQ(table.get(first), nullptr);
  EXPECT_EQ(*table.get(second), 2);
  EXPECT_EQ(table.get(reinterpret_cast<HICON>(uintptr_t(0x1'0400'0001))), nullptr);
  EXPECT_EQ(table.size(), 1u);
}

TEST(HandleTable, AFullTableGivesNoHandleRatherThanAnAlias) {
  kernel::HandleTable<int> table(4);
  std::vector<HICON> handles;
  for (int i = 0; i < 0x10000; ++i) handles.push_back(table.add<HICON>(std::make_unique<int>(i)));
  EXPECT_EQ(table.add<HICON>(std::make_unique<int>(-1)), nullptr);
  EXPECT_EQ(*table.get(handles[0]), 0);
  EXPECT_EQ(*table.get(handles.back()), 0xFFFF);
  table.remove(handles[7]);
  HICON reused = table.add<HICON>(std::make_unique<int>(-2));
  ASSERT_NE(reused, nullptr);
  EXPECT_EQ(*table.get(reused), -2);
  EXPECT_EQ(table.get(handles[7]), nullptr);
}

}  // namespace
