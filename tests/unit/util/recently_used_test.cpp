#include "util/recently_used.h"

#include <gtest/gtest.h>

#include <string>

namespace ombrisk {
namespace {

using Kept = RecentlyUsed<int, std::string>;

TEST(RecentlyUsed, KeepsUpToItsCapacityAndPushesOutTheLeastRecentlyUsed) {
  Kept kept(3);
  EXPECT_EQ(kept.use(1), std::nullopt);
  EXPECT_EQ(kept.add(1, "one"), std::nullopt);
  EXPECT_EQ(kept.add(2, "two"), std::nullopt);
  EXPECT_EQ(kept.add(3, "three"), std::nullopt);
  // A use makes 1 the most recent: 2 is the one to go for 4, then 3 for 5.
  EXPECT_EQ(kept.use(1), "one");
  EXPECT_EQ(kept.add(4, "four"), "two");
  EXPECT_EQ(kept.add(5, "five"), "three");
  EXPECT_EQ(kept.use(2), std::nullopt);
  EXPECT_EQ(kept.values(), (std::vector<std::string>{"one", "four", "five"}));
  // Many new keys never hold more than the capacity.
  for (int key = 10; key < 1000; ++key) kept.add(key, std::to_string(key));
  EXPECT_EQ(kept.values(), (std::vector<std::string>{"997", "998", "999"}));
}

}  // namespace
}  // namespace ombrisk
