#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Stand-ins for systemd-logind and systemd-timedated on a test's own bus: each call is noted as
one line in the log ("org.freedesktop.login1.Manager.PowerOff true") and answered as a success;
nothing else happens. timedated's NTP property is false until SetNTP sets it; each read is noted
too ("org.freedesktop.DBus.Properties.Get org.freedesktop.timedate1 NTP").
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
  <property name="NTP" type="b" access="read"/>
</interface></node>"""),
]


def main():
    address, log = sys.argv[1], sys.argv[2]
    flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
    bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)

    ntp = [False]

    def note(line):
        with open(log, "a", encoding="utf-8") as f:
            f.write(line + "\n")

    def call(_bus, _sender, _path, interface, method, parameters, invocation):
        words = [str(v).lower() if isinstance(v, bool) else str(v) for v in parameters.unpack()]
        note(" ".join([interface + "." + method] + words))
        if method == "CanPowerOff":
            invocation.return_value(GLib.Variant("(s)", ("yes",)))
        else:
            if method == "SetNTP":
                ntp[0] = parameters.unpack()[0]
            invocation.return_value(None)

    def get(_bus, _sender, _path, interface, name):
        note("org.freedesktop.DBus.Properties.Get " + interface + " " + name)
        return GLib.Variant("b", ntp[0])

    for name, path, xml in SERVICES:
        bus.register_object(path, Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0], call, get, None)
        reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                              "RequestName", GLib.Variant("(su)", (name, 4)), None,
                              Gio.DBusCallFlags.NONE, -1, None)
        if reply.unpack()[0] != 1:
            sys.exit("could not own " + name)
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
