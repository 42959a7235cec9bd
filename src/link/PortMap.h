#pragma once

#include <QString>

/// Where "COM1".."COM32" lead on Linux, which has no COM ports.
///
/// A per-user folder, `ConfigFolder()/ports`, holds the map: an entry named `COMn` is a symbolic
/// link to the device that plays port n (`/dev/ttyUSB0`, `/dev/pts/3`, ...). A port without an
/// entry follows the default rule:
///
/// | ports         | devices                      |
/// |---------------|------------------------------|
/// | COM1..COM4    | /dev/ttyS0..ttyS3 (built-in) |
/// | COM5..COM20   | /dev/ttyUSB0..ttyUSB15       |
/// | COM21..COM32  | /dev/ttyACM0..ttyACM11       |
///
/// The environment variable MXRF418_NO_DEFAULT_PORTS=1 switches the default rule off, so only
/// mapped ports exist (the tests use it to keep away from real devices).
namespace PortMap {

inline constexpr int FirstPort = 1;
inline constexpr int LastPort = 32;

/// The program's settings folder: the user's configuration location + "/mxrf418"
/// (`$XDG_CONFIG_HOME/mxrf418`, by default `~/.config/mxrf418`).
QString ConfigFolder();
/// `ConfigFolder()` + "/ports".
QString MapFolder();

/// n for "COMn" with n in 1..32 (exactly that spelling), otherwise 0.
int PortNumber(const QString &portName);

/// The device behind the default rule, or an empty string (rule off, or no such port).
QString DefaultDevice(int port);
bool DefaultRuleEnabled();

/// The device path the port name leads to: the map entry's target, else the default rule's
/// device; empty when the name is no port or leads nowhere. On other systems than Linux the name
/// itself: it goes to `QSerialPort` unchanged.
QString DevicePath(const QString &portName);

/// Makes (or replaces) the entry `COMn` -> `device`; false when the port number is out of range
/// or the link cannot be made.
bool MapPort(int port, const QString &device);
/// Removes the entry `COMn`; true when there is none afterwards.
bool UnmapPort(int port);

} // namespace PortMap
