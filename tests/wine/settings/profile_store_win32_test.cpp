#include <gtest/gtest.h>
#include <windows.h>

#include "settings/profile_store.h"

namespace ombrisk {
namespace {

TEST(Win32ProfileStore, Placeholder) {
  EXPECT_NE(makePlatformProfileStore(), nullptr);
}

}  // namespace
}  // namespace ombrisk
