// Where the program keeps the desktop's message bus and where it stops the bus library from
// launching one of its own.
#include "shell/SessionBus.h"

#include <gtest/gtest.h>

namespace tovani {
namespace {

TEST(SessionBusTest, ADesktopSessionKeepsItsBus) {
    // Named in the environment: whatever else is true, it stays.
    EXPECT_EQ(BusAddressAvoidingAutolaunch("unix:path=/run/user/1000/bus", nullptr, false), "");
    EXPECT_EQ(BusAddressAvoidingAutolaunch("unix:path=/run/user/1000/bus", "/run/user/1000", true),
              "");
    // Not named, but at its usual place, where the bus library finds it by itself.
    EXPECT_EQ(BusAddressAvoidingAutolaunch(nullptr, "/run/user/1000", true), "");
    EXPECT_EQ(BusAddressAvoidingAutolaunch("", "/run/user/1000", true), "");
}

TEST(SessionBusTest, WithoutABusNoneIsLaunched) {
    EXPECT_EQ(BusAddressAvoidingAutolaunch(nullptr, nullptr, false), "disabled:");
    EXPECT_EQ(BusAddressAvoidingAutolaunch("", nullptr, false), "disabled:");
    // A runtime folder without a bus in it.
    EXPECT_EQ(BusAddressAvoidingAutolaunch(nullptr, "/run/user/1000", false), "disabled:");
    // An empty runtime folder name is no folder.
    EXPECT_EQ(BusAddressAvoidingAutolaunch(nullptr, "", true), "disabled:");
}

} // namespace
} // namespace tovani
