#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Stand-ins for systemd-logind and systemd-timedated on a test's own bus: each call is noted as
one line in the log ("org.freedesktop.login1.Manager.PowerOff true") and answered as a success;
nothing else happens.
    system_standins.py BUS_ADDRESS LOG_FILE
Prints "ready" once both names are owned."""
import sys

from gi.repository import Gio, GLib

SERVICES = [
    ("org.freedesktop.login1", "/org/freedesktop/login1", """
<node><interface name="org.freedesktop.login1.Manager">
  <method name="PowerOff"><arg name="interactive" type="b" direction="in"/></method>
  <method name="CanPowerOff"><arg name="result" type="s" direction="out"/></method>
</interface></node>"""),
    ("org.freedesktop.timedate1", "/org/freedesktop/timedate1", """
<node><interface name="org.freedesktop.timedate1">
  <method name="SetNTP">
    <arg name="use_ntp" type="b" direction="in"/><arg name="interactive" type="b" direction="in"/>
  </method>
</interface></node>"""),
]


def main():
    address, log = sys.argv[1], sys.argv[2]
    flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
    bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)

    def call(_bus, _sender, _path, interface, method, parameters, invocation):
        words = [str(v).lower() if isinstance(v, bool) else str(v) for v in parameters.unpack()]
        with open(log, "a", encoding="utf-8") as f:
            f.write(" ".join([interface + "." + method] + words) + "\n")
        if method == "CanPowerOff":
            invocation.return_value(GLib.Variant("(s)", ("yes",)))
        else:
            invocation.return_value(None)

    for name, path, xml in SERVICES:
        bus.register_object(path, Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0], call, None, None)
        reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                              "RequestName", GLib.Variant("(su)", (name, 4)), None,
                              Gio.DBusCallFlags.NONE, -1, None)
        if reply.unpack()[0] != 1:
            sys.exit("could not own " + name)
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
