#include <gtest/gtest.h>

#include "app/command_line.h"

namespace ombrisk {
namespace {

TEST(CommandLine, DeviceOptionAndUnknownArguments) {
  EXPECT_EQ(parseCommandLine({}).deviceOption, u"");
  const CommandLine line = parseCommandLine({u"--device=tcp:127.0.0.1:5000", u"--verbose"});
  EXPECT_EQ(line.deviceOption, u"tcp:127.0.0.1:5000");
  ASSERT_EQ(line.unknown.size(), 1u);
  EXPECT_EQ(line.unknown[0], u"--verbose");
  EXPECT_EQ(parseCommandLine({u"--device=a", u"--device=tcp:[::1]:9"}).deviceOption, u"tcp:[::1]:9");
  EXPECT_EQ(parseCommandLine({u"--device"}).unknown.size(), 1u);
}

}  // namespace
}  // namespace ombrisk
