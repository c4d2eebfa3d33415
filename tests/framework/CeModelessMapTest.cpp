#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "framework/CeModelessMap.h"

namespace {

HWND Handle(uintptr_t value) { return reinterpret_cast<HWND>(value); }

std::vector<uintptr_t> Keys(const CeModelessMap& map) {
  std::vector<uintptr_t> keys;
  CeModelessMap::Iterator it(map);
  HWND key = nullptr;
  while (it.Next(&key)) keys.push_back(reinterpret_cast<uintptr_t>(key));
  return keys;
}

CeWnd* Object(uintptr_t value) { return reinterpret_cast<CeWnd*>(value); }

TEST(CeModelessMap, BucketIsTheHandleShiftedByFourModuloSeventeen) {
  struct Case {
    uintptr_t handle;
    UINT bucket;
  };
  const Case cases[] = {{0x10, 1}, {0x1F, 1}, {0x110, 0}, {0x120, 1}, {0x0F, 0}, {UINTPTR_MAX, UINT((UINTPTR_MAX >> 4) % 17)}};
  for (const Case& c : cases) EXPECT_EQ(CeModelessMap::BucketOf(Handle(c.handle)), c.bucket) << c.handle;
}

TEST(CeModelessMap, IteratesBucketsInOrderAndEachChainFromItsHead) {
  CeModelessMap map;
  EXPECT_EQ(Keys(map), std::vector<uintptr_t>{});
  for (uintptr_t key : {0x20, 0x10, 0x130, 0x110, 0x240}) ASSERT_TRUE(map.Add(Handle(key), Object(key)));
  // Buckets: 0x110 -> 0; 0x10 -> 1; 0x20, 0x130, 0x240 -> 2 (latest first).
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x110, 0x10, 0x240, 0x130, 0x20}));
  EXPECT_EQ(map.Count(), 5);
}

TEST(CeModelessMap, AddingAKeyAgainReplacesItsValue) {
  CeModelessMap map;
  ASSERT_TRUE(map.Add(Handle(0x40), Object(1)));
  ASSERT_TRUE(map.Add(Handle(0x40), Object(2)));
  EXPECT_EQ(map.Count(), 1);
  EXPECT_EQ(map.Lookup(Handle(0x40)), Object(2));
  EXPECT_EQ(map.Lookup(Handle(0x50)), nullptr);
}

TEST(CeModelessMap, RemovalUnlinksOnlyItsKey) {
  CeModelessMap map;
  EXPECT_FALSE(map.Remove(Handle(0x20)));
  for (uintptr_t key : {0x20, 0x130, 0x240, 0x10}) map.Add(Handle(key), Object(key));
  EXPECT_TRUE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x350)));
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x10, 0x240, 0x20}));
  EXPECT_EQ(map.Lookup(Handle(0x240)), Object(0x240));
  EXPECT_EQ(map.Count(), 3);
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
    EXPECT_EQ(map.Count(), 25);
    EXPECT_EQ(Keys(map).size(), 25u);
    for (uintptr_t key : added) {
      EXPECT_EQ(map.Lookup(Handle(key)), Object(key));
      EXPECT_TRUE(map.Remove(Handle(key)));
    }
    EXPECT_EQ(map.Count(), 0);
    EXPECT_EQ(Keys(map), std::vector<uintptr_t>{});
    EXPECT_FALSE(map.Remove(Handle(added[0])));
  }
}

}  // namespace
