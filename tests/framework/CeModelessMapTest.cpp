#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "framework/CeModelessMap.h"

namespace {

HWND Handle(uintptr_t value) { return reinterpret_cast<HWND>(value); }
CeWnd* Object(uintptr_t value) { return reinterpret_cast<CeWnd*>(value); }

std::vector<uintptr_t> Keys(const CeModelessMap& map) {
  std::vector<uintptr_t> keys;
  CeModelessMap::Iterator it(map);
  HWND key = nullptr;
  while (it.Next(&key)) keys.push_back(reinterpret_cast<uintptr_t>(key));
  return keys;
}

TEST(CeModelessMap, IteratesBucketsInOrderAndRemovalUnlinksOnlyItsKey) {
  CeModelessMap map;
  EXPECT_FALSE(map.Remove(Handle(0x20)));
  EXPECT_EQ(Keys(map), std::vector<uintptr_t>{});
  for (uintptr_t key : {0x20, 0x10, 0x130, 0x110, 0x240}) ASSERT_TRUE(map.Add(Handle(key), Object(key)));
  // Buckets (handle >> 4) % 17: 0x110 -> 0; 0x10 -> 1; 0x20, 0x130, 0x240 -> 2 (latest first).
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x110, 0x10, 0x240, 0x130, 0x20}));
  // Adding a key again replaces its value.
  ASSERT_TRUE(map.Add(Handle(0x130), Object(2)));
  EXPECT_EQ(map.Count(), 5);
  EXPECT_EQ(map.Lookup(Handle(0x130)), Object(2));
  EXPECT_EQ(map.Lookup(Handle(0x50)), nullptr);

  EXPECT_TRUE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x350)));
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x110, 0x10, 0x240, 0x20}));
  EXPECT_EQ(map.Lookup(Handle(0x240)), Object(0x240));
  EXPECT_EQ(map.Count(), 4);
}

TEST(CeModelessMap, TheLastRemovalReleasesEverythingAndTheMapStartsAfresh) {
  CeModelessMap map;
  // 25 keys need three node blocks.
  for (int round = 0; round < 3; ++round) {
    std::vector<uintptr_t> added;
    for (uintptr_t i = 1; i <= 25; ++i) {
      const uintptr_t key = (i + 100 * round) << 4;
      ASSERT_TRUE(map.Add(Handle(key), Object(key)));
      added.push_back(key);
    }
    EXPECT_EQ(Keys(map).size(), 25u);
    for (uintptr_t key : added) {
      EXPECT_EQ(map.Lookup(Handle(key)), Object(key));
      EXPECT_TRUE(map.Remove(Handle(key)));
    }
    EXPECT_EQ(map.Count(), 0);
    EXPECT_EQ(Keys(map), std::vector<uintptr_t>{});
  }
}

}  // namespace
