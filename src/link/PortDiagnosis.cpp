#include "link/PortDiagnosis.h"

#include <algorithm>
#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QSet>

#include "link/FrameTrace.h"
#include "link/ModTxRx.h"
#include "link/PortMap.h"
#include "link/QtSerialComponent.h"
#include "link/UnitProtocol.h"

#ifdef Q_OS_LINUX
#include <cerrno>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PortDiagnosis {

namespace {

struct Refusal
{
    Reason reason;
    QString words;
    QString fix;
};

QString Canonical(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

bool DeviceExists(const QString &device)
{
#ifdef Q_OS_WIN
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.portName().compare(device, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
#else
    return QFileInfo::exists(device);
#endif
}

#ifdef Q_OS_LINUX

QString UserName()
{
    const passwd *user = getpwuid(geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(geteuid());
}

QString GroupName(gid_t group)
{
    const struct group *entry = getgrgid(group);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(group);
}

/// Whether this login session carries the group (it got its groups when it began).
bool SessionHasGroup(gid_t group)
{
    if (getegid() == group)
        return true;
    gid_t groups[256];
    const int count = getgroups(256, groups);
    return std::find(groups, groups + std::max(count, 0), group) != groups + std::max(count, 0);
}

/// Whether the user is in the group by the system's group list, which a new login reads.
bool ListedInGroup(gid_t group)
{
    const passwd *user = getpwuid(geteuid());
    if (!user)
        return false;
    gid_t groups[256];
    int count = 256;
    if (getgrouplist(user->pw_name, user->pw_gid, groups, &count) < 0)
        return false;
    return std::find(groups, groups + count, group) != groups + count;
}

std::optional<Refusal> PermissionRefusal(const QString &device)
{
    const QByteArray path = QFile::encodeName(device);
    struct stat info
    {
    };
    if (access(path.constData(), R_OK | W_OK) == 0 || errno != EACCES ||
        stat(path.constData(), &info) != 0)
        return std::nullopt;
    const QString group = GroupName(info.st_gid);
    const QString user = UserName();
    const bool groupMayUse = (info.st_mode & S_IRGRP) && (info.st_mode & S_IWGRP);
    if (groupMayUse && !SessionHasGroup(info.st_gid)) {
        if (ListedInGroup(info.st_gid))
            return Refusal{Reason::NoPermission,
                           QStringLiteral("no permission: you (%1) joined group %2 after "
                                          "logging in; log out and in again")
                               .arg(user, group),
                           QString()};
        return Refusal{Reason::NoPermission,
                       QStringLiteral("no permission: the device belongs to group %1 and you "
                                      "(%2) are not in it; join it, then log out and in again")
                           .arg(group, user),
                       QStringLiteral("sudo adduser %1 %2").arg(user, group)};
    }
    return Refusal{Reason::NoPermission,
                   QStringLiteral("no permission: the device (mode %1, group %2) is not open "
                                  "to you (%3); the fix lasts until it is plugged in again")
                       .arg(QString::number(info.st_mode & 0777, 8), group, user),
                   QStringLiteral("sudo chmod a+rw %1").arg(device)};
}

/// The lock file `QSerialPort` and other serial programs leave while they hold the device:
/// "LCK.." and the name below /dev, its first line the holder's process id.
std::optional<Refusal> LockRefusal(const QString &device)
{
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char *folder : {"/var/lock", "/run/lock", "/tmp", "/var/tmp"}) {
        QFile lock(QLatin1String(folder) + QStringLiteral("/LCK..") + name);
        if (!lock.open(QIODevice::ReadOnly))
            continue;
        const qint64 holder = lock.readLine().trimmed().toLongLong();
        if (holder <= 0 || !QFileInfo::exists(QStringLiteral("/proc/%1").arg(holder)))
            continue; // stale: its holder has ended
        if (holder == getpid())
            return Refusal{Reason::Busy, QStringLiteral("busy: this program holds it"), {}};
        QFile command(QStringLiteral("/proc/%1/comm").arg(holder));
        const QString program = command.open(QIODevice::ReadOnly)
            ? QString::fromLocal8Bit(command.readAll().trimmed())
            : QStringLiteral("?");
        return Refusal{Reason::Busy,
                       QStringLiteral("busy: held by process %1 (%2), lock file %3")
                           .arg(QString::number(holder), program, lock.fileName()),
                       {}};
    }
    return std::nullopt;
}

/// A program that holds the device exclusively makes every other open fail with EBUSY.
std::optional<Refusal> ExclusiveRefusal(const QString &device)
{
    const int handle = open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (handle >= 0) {
        close(handle);
        return std::nullopt;
    }
    if (errno != EBUSY)
        return std::nullopt;
    return Refusal{Reason::Busy, QStringLiteral("busy: another program holds it (EBUSY)"), {}};
}

std::optional<Refusal> SystemRefusal(const QString &device)
{
    if (auto refused = PermissionRefusal(device))
        return refused;
    if (auto refused = LockRefusal(device))
        return refused;
    return ExclusiveRefusal(device);
}

#else

std::optional<Refusal> SystemRefusal(const QString &)
{
    return std::nullopt;
}

#endif

/// What opening the device as the program opens it says.
Refusal OpenRefusal(const QString &device)
{
    QSerialPort port(device);
    if (port.open(QIODevice::ReadWrite))
        return {Reason::Opens, QStringLiteral("opens"), {}};
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return {Reason::Missing, QStringLiteral("missing: ") + port.errorString(), {}};
    case QSerialPort::PermissionError:
#ifdef Q_OS_WIN
        return {Reason::Busy, QStringLiteral("busy: ") + port.errorString(), {}};
#else
        return {Reason::NoPermission, QStringLiteral("no permission: ") + port.errorString(), {}};
#endif
    default:
        return {Reason::Failed, QStringLiteral("cannot be opened: ") + port.errorString(), {}};
    }
}

PortState StateOf(const QString &port, const QString &device, const Refusal &refusal)
{
    const bool exists = refusal.reason != Reason::NoDevice && refusal.reason != Reason::Missing;
    return {port,           device,        exists,     refusal.reason == Reason::Opens,
            refusal.reason, refusal.words, refusal.fix};
}

Refusal DeviceRefusal(const QString &device)
{
    if (device.isEmpty())
        return {
            Reason::NoDevice, QStringLiteral("no device: the port map has no entry for it"), {}};
    if (!DeviceExists(device))
        return {Reason::Missing,
                QStringLiteral("missing: no such device (unplugged, or no driver)"),
                {}};
    if (auto refused = SystemRefusal(device))
        return *refused;
    return OpenRefusal(device);
}

} // namespace

PortState Diagnose(const QString &portName)
{
    const QString device = PortMap::DevicePath(portName);
    return StateOf(portName, device, DeviceRefusal(device));
}

PortState DiagnoseDevice(const QString &device)
{
    return StateOf(QString(), device, DeviceRefusal(device));
}

std::vector<PortState> DiagnoseAll()
{
    std::vector<PortState> states;
    for (int port = PortMap::FirstPort; port <= PortMap::LastPort; ++port)
        states.push_back(Diagnose(ModTxRx::PortName(port)));
    return states;
}

QString UsbIdsText(quint16 vendor, quint16 product)
{
    return QStringLiteral("%1:%2")
        .arg(vendor, 4, 16, QLatin1Char('0'))
        .arg(product, 4, 16, QLatin1Char('0'));
}

std::vector<Adapter> UnmappedAdapters()
{
    QSet<QString> named;
    for (int port = PortMap::FirstPort; port <= PortMap::LastPort; ++port) {
        const QString device = PortMap::DevicePath(ModTxRx::PortName(port));
        if (!device.isEmpty())
            named.insert(Canonical(device));
    }
    std::vector<Adapter> adapters;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString device = info.systemLocation();
        if (named.contains(Canonical(device)) || named.contains(info.portName()))
            continue;
        const QString usb = info.hasVendorIdentifier() && info.hasProductIdentifier()
            ? UsbIdsText(info.vendorIdentifier(), info.productIdentifier())
            : QString();
        adapters.push_back({device, info.description(), info.manufacturer(), usb,
                            info.serialNumber(), StablePath(device)});
    }
    return adapters;
}

bool CanMap()
{
#ifdef Q_OS_LINUX
    return true;
#else
    return false;
#endif
}

QString StablePath(const QString &device)
{
#ifdef Q_OS_LINUX
    const QString target = Canonical(device);
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files)) {
        if (link.canonicalFilePath() == target)
            return link.absoluteFilePath();
    }
#endif
    return device;
}

bool MapTo(int port, const QString &device)
{
    return CanMap() && PortMap::MapPort(port, StablePath(device));
}

IdentityTest TestIdentity(const QString &portName)
{
    QtSerialComponent serial;
    if (serial.Open(portName, UnitProtocol::BaudRate) != OpenOk)
        return {false, Diagnose(portName).words};
    FrameBuffer reply;
    switch (ModTxRx::AskIdentity(serial, reply)) {
    case ExchangeOk:
        return {ModTxRx::IsUnitIdentity(reply),
                (ModTxRx::IsUnitIdentity(reply)
                     ? QStringLiteral("answered: ")
                     : QStringLiteral("answered, but not as the unit: ")) +
                    FrameTrace::HexText(
                        QByteArray(reinterpret_cast<const char *>(reply.data()), reply.size()))};
    case ExchangeTimeout:
        return {
            false,
            QStringLiteral("no reply within %1 ms").arg(UnitProtocol::IdentityExchange.timeoutMs)};
    case ExchangeFraming:
        return {false, QStringLiteral("a garbled reply")};
    default:
        return {false, QStringLiteral("the port failed")};
    }
}

} // namespace PortDiagnosis
