#!/usr/bin/python3
"""A StatusNotifierWatcher and host of our own, and a scripted user of the items it holds.

Run inside a private session bus (dbus-run-session). One process keeps the watcher:

    sni_host.py watch &

(it prints "watching as NAME" once it holds the watcher's name, and "registered ITEM N ms after
the watcher came" for each item), and short calls act as a panel would on the first registered item (or on the item whose Id is
given with --id):

    sni_host.py wait [SECONDS]    wait for an item; print its bus name and path
    sni_host.py props             print the item's properties, one "Name: value" a line
    sni_host.py activate X Y      a left click (Activate)
    sni_host.py context X Y       a right click (ContextMenu)
    sni_host.py menu              the exported menu: "id<TAB>type<TAB>enabled<TAB>label" a line
    sni_host.py click LABEL       click the exported menu item with that label (mnemonics ignored)

As a real panel, the host reads an item's menu once, when the item registers, and again only when
the item signals LayoutUpdated: "menu" and "click" use the menu as the host holds it.

Exit status: 0 done, 1 no item (or no such menu item), 2 usage.
"""

import argparse
import os
import sys
import time

import dbus
import dbus.service

WATCHER = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
PROPERTIES = "org.freedesktop.DBus.Properties"
INTROSPECTABLE = "org.freedesktop.DBus.Introspectable"
# The stand-in's own interface, through which the short calls see the menu as the panel holds it.
PANEL = "io.github.quillbox.TestPanel"
PANEL_PATH = "/TestPanel"

# Clients such as Qt read the watcher's properties only where its introspection names them.
WATCHER_XML = """<!DOCTYPE node PUBLIC "-//freedesktop//DTD D-BUS Object Introspection 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd">
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
    <signal name="StatusNotifierHostUnregistered"/>
  </interface>
  <interface name="org.freedesktop.DBus.Properties">
    <method name="Get">
      <arg name="interface" type="s" direction="in"/><arg name="name" type="s" direction="in"/>
      <arg name="value" type="v" direction="out"/>
    </method>
    <method name="GetAll">
      <arg name="interface" type="s" direction="in"/>
      <arg name="values" type="a{sv}" direction="out"/>
    </method>
  </interface>
  <interface name="org.freedesktop.DBus.Introspectable">
    <method name="Introspect"><arg name="xml" type="s" direction="out"/></method>
  </interface>
</node>
"""


class Watcher(dbus.service.Object):
    """Keeps the list of registered items and drops an item when its owner leaves the bus."""

    def __init__(self, bus):
        self.bus = bus
        self.started = time.monotonic()
        self.items = []
        self.hosts = []
        self.on_register = self.on_unregister = lambda item: None
        self.name = dbus.service.BusName(WATCHER, bus, do_not_queue=True)
        super().__init__(self.name, WATCHER_PATH)
        bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged", "org.freedesktop.DBus")

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names either its bus name (the path is the usual one) or only its path.
        if service.startswith("/"):
            item = sender + service
        else:
            item = service + "/StatusNotifierItem"
        if item not in self.items:
            self.items.append(item)
            print("registered %s %.0f ms after the watcher came" %
                  (item, (time.monotonic() - self.started) * 1000), flush=True)
            self.StatusNotifierItemRegistered(item)
            self.on_register(item)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        if service not in self.hosts:
            self.hosts.append(service)
            self.StatusNotifierHostRegistered()

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, item):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostUnregistered(self):
        pass

    def properties(self):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(bool(self.hosts)),
            "ProtocolVersion": dbus.Int32(0),
        }

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties()[name]

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.properties()

    @dbus.service.method(INTROSPECTABLE, in_signature="", out_signature="s")
    def Introspect(self):
        return WATCHER_XML

    def owner_changed(self, name, old_owner, new_owner):
        if new_owner:
            return
        for item in [i for i in self.items if i.split("/", 1)[0] in (name, old_owner)]:
            self.items.remove(item)
            self.StatusNotifierItemUnregistered(item)
            self.on_unregister(item)
        if name in self.hosts:
            self.hosts.remove(name)
            self.StatusNotifierHostUnregistered()


class Panel(dbus.service.Object):
    """The host's copy of each item's menu, read anew only when the item says it has changed."""

    def __init__(self, bus, name):
        self.bus = bus
        self.menus = {}
        self.owners = {}
        super().__init__(name, PANEL_PATH)
        bus.add_signal_receiver(self.layout_updated, "LayoutUpdated", MENU,
                                sender_keyword="sender")

    def read(self, address):
        try:
            _, props = item_properties(self.bus, address)
            self.owners[address] = self.bus.get_name_owner(address.split("/", 1)[0])
            self.menus[address] = menu_items(self.bus, address, props)[1]
        except dbus.DBusException:
            self.menus.pop(address, None)
        return False

    def layout_updated(self, revision, parent, sender=None):
        for address, owner in list(self.owners.items()):
            if owner == sender:
                self.read(address)

    def forget(self, address):
        self.menus.pop(address, None)
        self.owners.pop(address, None)

    @dbus.service.method(PANEL, in_signature="s", out_signature="a(isbs)")
    def Menu(self, address):
        if address not in self.menus:
            raise dbus.DBusException("the panel holds no menu of " + address)
        return dbus.Array(self.menus[address], signature="(isbs)")


def watch(args):
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus)
    panel = Panel(bus, watcher.name)
    # Read once the registration has been answered: the item may wait for that answer.
    watcher.on_register = lambda item: GLib.idle_add(panel.read, item)
    watcher.on_unregister = panel.forget
    host = "org.kde.StatusNotifierHost-%d" % os.getpid()
    host_name = dbus.service.BusName(host, bus)
    watcher.RegisterStatusNotifierHost(host)
    print("watching as %s" % host, flush=True)
    GLib.MainLoop().run()
    del host_name


def registered_items(bus):
    try:
        watcher = bus.get_object(WATCHER, WATCHER_PATH)
        return [str(i) for i in watcher.Get(WATCHER, "RegisteredStatusNotifierItems",
                                            dbus_interface=PROPERTIES)]
    except dbus.DBusException:
        return []


def item_properties(bus, address):
    service, path = address.split("/", 1)
    item = bus.get_object(service, "/" + path)
    return item, item.GetAll(ITEM, dbus_interface=PROPERTIES)


def find_item(bus, wanted_id):
    for address in registered_items(bus):
        try:
            item, props = item_properties(bus, address)
        except dbus.DBusException:
            continue
        if wanted_id is None or str(props.get("Id", "")) == wanted_id:
            return address, item, props
    return None


def the_item(bus, args):
    found = find_item(bus, args.id)
    if found is None:
        print("no StatusNotifierItem is registered", file=sys.stderr)
        sys.exit(1)
    return found


def plain(value):
    if isinstance(value, dbus.Boolean):
        return "true" if value else "false"
    return str(value)


def print_props(bus, args):
    address, _, props = the_item(bus, args)
    print("Address: %s" % address)
    for name in ("Id", "Title", "Category", "Status", "IconName", "ItemIsMenu", "Menu"):
        if name in props:
            print("%s: %s" % (name, plain(props[name])))
    pixmaps = props.get("IconPixmap", [])
    print("IconPixmap: %s" % " ".join("%dx%d" % (int(w), int(h)) for w, h, _ in pixmaps))
    tip = props.get("ToolTip")
    if tip is not None:
        print("ToolTip: %s" % str(tip[2]))


def menu_items(bus, address, props):
    service = address.split("/", 1)[0]
    menu = bus.get_object(service, str(props["Menu"]))
    _, layout = menu.GetLayout(0, -1, dbus.Array([], signature="s"), dbus_interface=MENU)
    items = []

    def walk(node):
        for child in node[2]:
            child_id, child_props = int(child[0]), child[1]
            items.append((child_id, str(child_props.get("type", "standard")),
                          bool(child_props.get("enabled", True)),
                          str(child_props.get("label", ""))))
            walk(child)

    walk(layout)
    return menu, items


def held_menu(bus, address):
    """The item's menu as the panel holds it, once the panel has read it."""
    panel = bus.get_object(WATCHER, PANEL_PATH)
    end = time.monotonic() + 5
    while True:
        try:
            return [(int(i), str(t), bool(e), str(l))
                    for i, t, e, l in panel.Menu(address, dbus_interface=PANEL)]
        except dbus.DBusException:
            if time.monotonic() > end:
                print("the panel holds no menu of the item", file=sys.stderr)
                sys.exit(1)
            time.sleep(0.1)


def label_text(label):
    # dbusmenu marks a mnemonic with "_" and writes a literal one as "__".
    return label.replace("__", "\0").replace("_", "").replace("\0", "_")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--id", help="act on the item with this Id")
    commands = parser.add_subparsers(dest="command", required=True)
    commands.add_parser("watch")
    wait = commands.add_parser("wait")
    wait.add_argument("seconds", type=float, nargs="?", default=10.0)
    commands.add_parser("props")
    for name in ("activate", "context"):
        click = commands.add_parser(name)
        click.add_argument("x", type=int)
        click.add_argument("y", type=int)
    commands.add_parser("menu")
    click = commands.add_parser("click")
    click.add_argument("label")
    args = parser.parse_args()

    if args.command == "watch":
        watch(args)
        return
    bus = dbus.SessionBus()
    if args.command == "wait":
        end = time.monotonic() + args.seconds
        while time.monotonic() < end:
            found = find_item(bus, args.id)
            if found:
                print(found[0])
                return
            time.sleep(0.1)
        print("no StatusNotifierItem registered within %g s" % args.seconds, file=sys.stderr)
        sys.exit(1)
    if args.command == "props":
        print_props(bus, args)
    elif args.command == "activate":
        _, item, _ = the_item(bus, args)
        item.Activate(args.x, args.y, dbus_interface=ITEM)
    elif args.command == "context":
        _, item, _ = the_item(bus, args)
        item.ContextMenu(args.x, args.y, dbus_interface=ITEM)
    elif args.command == "menu":
        address, _, _ = the_item(bus, args)
        for entry in held_menu(bus, address):
            print("%d\t%s\t%s\t%s" % (entry[0], entry[1], "enabled" if entry[2] else "disabled",
                                      label_text(entry[3])))
    elif args.command == "click":
        address, _, props = the_item(bus, args)
        menu = bus.get_object(address.split("/", 1)[0], str(props["Menu"]))
        for item_id, _, _, label in held_menu(bus, address):
            if label_text(label) == args.label:
                menu.Event(item_id, "clicked", dbus.Int32(0, variant_level=1),
                           dbus.UInt32(int(time.time()) & 0xFFFFFFFF), dbus_interface=MENU)
                return
        print("the menu has no item '%s'" % args.label, file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()
