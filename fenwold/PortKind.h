#pragma once

// The kind of port a catalogue model or a device key speaks of. In memory
// only: the registry holds the catalogue's words and GroupID's last letter.
enum class PortKind { None, Serial, Parallel, Usb, Ethernet };
