#include "link/PortMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace PortMap {
namespace {

struct DeviceRange
{
    int firstPort;
    int lastPort;
    const char *prefix;
};

constexpr DeviceRange DefaultRule[] = {
    {1, 4, "/dev/ttyS"},
    {5, 20, "/dev/ttyUSB"},
    {21, 32, "/dev/ttyACM"},
};

bool InRange(int port)
{
    return port >= FirstPort && port <= LastPort;
}

QString EntryPath(int port)
{
    return MapFolder() + QStringLiteral("/COM%1").arg(port);
}

/// The device an entry leads to; a dangling link still names its target, so opening it fails
/// instead of falling back to the default rule.
[[maybe_unused]] QString EntryTarget(const QString &entry)
{
    const QFileInfo info(entry);
    if (!info.isSymLink())
        return {};
    const QString device = info.canonicalFilePath();
    return device.isEmpty() ? info.symLinkTarget() : device;
}

} // namespace

QString ConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/mxrf418");
}

QString MapFolder()
{
    return ConfigFolder() + QStringLiteral("/ports");
}

int PortNumber(const QString &portName)
{
    static const QRegularExpression pattern(QStringLiteral("^COM([1-9][0-9]?)$"));
    const QRegularExpressionMatch match = pattern.match(portName);
    if (!match.hasMatch())
        return 0;
    const int port = match.captured(1).toInt();
    return InRange(port) ? port : 0;
}

bool DefaultRuleEnabled()
{
    return qEnvironmentVariableIntValue("MXRF418_NO_DEFAULT_PORTS") != 1;
}

QString DefaultDevice(int port)
{
    if (!DefaultRuleEnabled())
        return {};
    for (const DeviceRange &range : DefaultRule) {
        if (port >= range.firstPort && port <= range.lastPort)
            return QLatin1String(range.prefix) + QString::number(port - range.firstPort);
    }
    return {};
}

QString DevicePath(const QString &portName)
{
    const int port = PortNumber(portName);
    if (port == 0)
        return {};
#ifdef Q_OS_LINUX
    const QString mapped = EntryTarget(EntryPath(port));
    return mapped.isEmpty() ? DefaultDevice(port) : mapped;
#else
    return portName;
#endif
}

bool MapPort(int port, const QString &device)
{
    if (!InRange(port) || !QDir().mkpath(MapFolder()) || !UnmapPort(port))
        return false;
    return QFile::link(device, EntryPath(port));
}

bool UnmapPort(int port)
{
    if (!InRange(port))
        return false;
    const QString entry = EntryPath(port);
    if (!QFileInfo(entry).isSymLink() && !QFileInfo::exists(entry))
        return true;
    return QFile::remove(entry);
}

} // namespace PortMap
