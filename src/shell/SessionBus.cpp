#include "shell/SessionBus.h"

#include <sys/stat.h>

#include <cstdlib>

namespace tovani {

std::string BusAddressAvoidingAutolaunch(const char* address, const char* runtimeDir,
                                         bool busAtRuntimeDir) {
    // A desktop session names its bus, or keeps it at $XDG_RUNTIME_DIR/bus where the bus
    // library looks by itself: then accessibility and the rest need it, and it stays.
    if (address && *address)
        return {};
    if (runtimeDir && *runtimeDir && busAtRuntimeDir)
        return {};
    // Anything else (a bare X server, a test display) has no bus to talk to. An address of a
    // kind the library does not know makes every connection fail at once, quietly, instead
    // of launching a bus.
    return "disabled:";
}

void AvoidSessionBusAutolaunch() {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    bool bus = false;
    if (runtimeDir && *runtimeDir) {
        struct stat st {};
        bus = ::stat((std::string(runtimeDir) + "/bus").c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
    }
    const std::string address =
        BusAddressAvoidingAutolaunch(std::getenv("DBUS_SESSION_BUS_ADDRESS"), runtimeDir, bus);
    if (!address.empty())
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
}

} // namespace tovani
