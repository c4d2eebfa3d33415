#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>
#include <vector>

#include "framework/CeModelessMap.h"

namespace {

HWND Handle(uintptr_t value) { return reinterpret_cast<HWND>(value); }
CeWnd* Object(uintptr_t value) { return reinterpret_cast<CeWnd*>(value); }

std::vector<uintptr_t> Keys(const CeModelessMap& map) {
  std::vector<uintptr_t> keys;
  CeModelessMap::Iterator it(map);
  for (HWND key = nullptr; it.Next(&key);) keys.push_back(reinterpret_cast<uintptr_t>(key));
  return keys;
}

TEST(CeModelessMap, IteratesBucketsInOrderRemovalUnlinksOnlyItsKeyAndTheLastReleasesEverything) {
  CeModelessMap map;
  EXPECT_FALSE(map.Remove(Handle(0x20)));
  EXPECT_EQ(Keys(map), std::vector<uintptr_t>{});
  for (uintptr_t key : {0x20, 0x10, 0x130, 0x110, 0x240}) ASSERT_TRUE(map.Add(Handle(key), Object(key)));
  // Buckets (handle >> 4) % 17: 0x110 -> 0; 0x10 -> 1; 0x20, 0x130, 0x240 -> 2 (latest first).
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x110, 0x10, 0x240, 0x130, 0x20}));
  // Adding a key again replaces its value.
  ASSERT_TRUE(map.Add(Handle(0x130), Object(2)));
  EXPECT_EQ(std::make_tuple(map.Count(), map.Lookup(Handle(0x130)), map.Lookup(Handle(0x50))),
            std::make_tuple(5, Object(2), static_cast<CeWnd*>(nullptr)));

  EXPECT_TRUE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x350)));
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x110, 0x10, 0x240, 0x20}));
  EXPECT_EQ(std::make_tuple(map.Count(), map.Lookup(Handle(0x240))), std::make_tuple(4, Object(0x240)));
  for (uintptr_t key : {0x110, 0x10, 0x240, 0x20}) EXPECT_TRUE(map.Remove(Handle(key)));

  // The last removal releases everything and the map starts afresh; 25 keys
  // need three node blocks.
  for (uintptr_t round = 0; round < 3; ++round) {
    auto key = [round](uintptr_t i) { return Handle((i + 100 * round) << 4); };
    for (uintptr_t i = 1; i <= 25; ++i) ASSERT_TRUE(map.Add(key(i), Object(i)));
    EXPECT_EQ(Keys(map).size(), 25u);
    for (uintptr_t i = 1; i <= 25; ++i) {
      EXPECT_EQ(map.Lookup(key(i)), Object(i));
      EXPECT_TRUE(map.Remove(key(i)));
    }
    EXPECT_EQ(std::make_tuple(map.Count(), Keys(map).size()), std::make_tuple(0, size_t(0)));
  }
}

}  // namespace
