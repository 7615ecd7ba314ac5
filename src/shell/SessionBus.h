// The desktop's message bus (D-Bus), which Qt's accessibility bridge and the sound library ask
// for as the program starts. With no session bus named in the environment and none at its
// usual place, the bus library would try to launch one of its own ("autolaunch"): it forks the
// program and runs dbus-launch, twice, at start-up, for a bus nobody else would listen on.
#pragma once

#include <string>

namespace tovani {

// The bus address to set so that no bus is launched, or empty when the environment is left as
// it is: `address` is DBUS_SESSION_BUS_ADDRESS (null when unset), `runtimeDir`
// XDG_RUNTIME_DIR, `busAtRuntimeDir` whether a socket "bus" stands there.
std::string BusAddressAvoidingAutolaunch(const char* address, const char* runtimeDir,
                                         bool busAtRuntimeDir);

// Sets that address in the environment when needed; before the application object is made.
void AvoidSessionBusAutolaunch();

} // namespace tovani
