#pragma once
// The session bus, when this session has one. GLib would otherwise try to start
// one of its own, and end the process when the bus goes away.
struct _GDBusConnection;

namespace pallix {

// A new reference, or nullptr when there is no session bus to reach.
_GDBusConnection* SessionBus();

}  // namespace pallix
