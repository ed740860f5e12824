#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop's tray and a recorder of its notifications, on a test's own session bus:
    desktop_standins.py BUS_ADDRESS LOG_FILE
- org.kde.StatusNotifierWatcher, with a tray host registered (IsStatusNotifierHostRegistered is
  true), so that Qt puts its tray icon on the bus; each item that registers is noted as a line
  {"item": SERVICE, "sender": UNIQUE_NAME}.
- A monitor of every org.freedesktop.Notifications.Notify call on the bus, whoever answers it (a
  real notification daemon does), noted as a line {"notify": {"app", "summary", "body",
  "timeout", "hints"}}.
Lines are JSON, one a line. Prints "ready" once the name is owned and the monitor listens."""
import json
import sys

from gi.repository import Gio, GLib

WATCHER_XML = """
<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
</interface></node>"""

FLAGS = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION


def note(log, record):
    with open(log, "a", encoding="utf-8") as f:
        f.write(json.dumps(record, ensure_ascii=False) + "\n")


def plain(value):
    """A hint's value as JSON can hold it (image data and the like as its type only)."""
    if isinstance(value, (bool, int, float, str)):
        return value
    return "<%s>" % type(value).__name__


def main():
    address, log = sys.argv[1], sys.argv[2]
    bus = Gio.DBusConnection.new_for_address_sync(address, FLAGS, None, None)
    items = []

    def call(_bus, sender, _path, _interface, method, parameters, invocation):
        if method == "RegisterStatusNotifierItem":
            service = parameters.unpack()[0]
            items.append(service)
            note(log, {"item": service, "sender": sender})
            bus.emit_signal(None, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
                            "StatusNotifierItemRegistered", GLib.Variant("(s)", (service,)))
        invocation.return_value(None)

    def get(_bus, _sender, _path, _interface, name):
        if name == "RegisteredStatusNotifierItems":
            return GLib.Variant("as", items)
        if name == "IsStatusNotifierHostRegistered":
            return GLib.Variant("b", True)
        return GLib.Variant("i", 0)

    info = Gio.DBusNodeInfo.new_for_xml(WATCHER_XML).interfaces[0]
    bus.register_object("/StatusNotifierWatcher", info, call, get, None)
    reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                          "RequestName", GLib.Variant("(su)", ("org.kde.StatusNotifierWatcher", 4)), None,
                          Gio.DBusCallFlags.NONE, -1, None)
    if reply.unpack()[0] != 1:
        sys.exit("could not own org.kde.StatusNotifierWatcher")

    # A connection of its own becomes the monitor: it may send nothing more, and sees a copy of
    # every Notify call.
    monitor = Gio.DBusConnection.new_for_address_sync(address, FLAGS, None, None)

    def seen(_connection, message, incoming):
        if not (incoming and message.get_message_type() == Gio.DBusMessageType.METHOD_CALL
                and message.get_member() == "Notify"):
            return message  # the bus's own answers
        app, _replaces, _icon, summary, body, _actions, hints, timeout = message.get_body().unpack()
        note(log, {"notify": {"app": app, "summary": summary, "body": body, "timeout": timeout,
                              "hints": {k: plain(v) for k, v in hints.items()}}})
        return None  # a copy: a monitor answers nothing

    monitor.add_filter(seen)
    monitor.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.Monitoring",
                      "BecomeMonitor",
                      GLib.Variant("(asu)", (["type='method_call',interface='org.freedesktop.Notifications',"
                                              "member='Notify'"], 0)),
                      None, Gio.DBusCallFlags.NONE, -1, None)
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
