#pragma once

#include <vector>

#include <QString>

/// Why a port does or does not reach a unit, in words an operator can act on: for each of
/// COM1..COM32 the device it leads to, whether that exists and opens, and if not why (no
/// permission, with the command that grants it; busy, with the program holding it where the
/// system tells; missing); the serial adapters the system sees that no port name leads to; and
/// the identity question asked on one port.
///
/// On Linux the port map leads names to devices and the reasons come from the device's owner,
/// group and lock files; on other systems the name goes to the serial port unchanged and the
/// reasons are what `QSerialPort` reports.
namespace PortDiagnosis {

enum class Reason {
    Opens,
    NoDevice, ///< the port name leads to no device
    Missing, ///< the device does not exist
    NoPermission,
    Busy, ///< held by another program (or by this one)
    Failed, ///< exists, but would not open for another reason
};

struct PortState
{
    QString port;
    QString device;
    bool exists = false;
    bool opens = false;
    Reason reason = Reason::NoDevice;
    /// The reason in words: "opens", "missing: ...", "no permission: ...", "busy: ...".
    QString words;
    /// The command that grants access (empty when there is none to give).
    QString fix;
};

struct Adapter
{
    QString device;
    QString description;
    QString manufacturer;
    /// `UsbIdsText`, or empty without USB ids.
    QString usbIds;
    QString serialNumber;
    /// The name that stays with the adapter across replugging where the system has one,
    /// otherwise `device`.
    QString stablePath;
};

/// The port named "COM1".."COM32".
PortState Diagnose(const QString &portName);
/// A device path, as the command line's --device opens it.
PortState DiagnoseDevice(const QString &device);
/// COM1..COM32 in order.
std::vector<PortState> DiagnoseAll();

/// "0403:6001": a USB adapter's vendor and product ids.
QString UsbIdsText(quint16 vendor, quint16 product);
/// The serial adapters the system lists that no port name leads to.
std::vector<Adapter> UnmappedAdapters();

/// Whether port names can be pointed at devices here (the port map, Linux only).
bool CanMap();
/// Points COMn at the device, by its stable name where one exists; the map entry is the only
/// file written. False where mapping is not possible or the entry cannot be made.
bool MapTo(int port, const QString &device);
/// The device's stable name (/dev/serial/by-id/...) where one exists, else `device`.
QString StablePath(const QString &device);

struct IdentityTest
{
    bool answered = false;
    /// The unit's reply in hex, or why there is none.
    QString text;
};
/// Opens the port on its own, asks the identity question once and closes it again.
IdentityTest TestIdentity(const QString &portName);

} // namespace PortDiagnosis
