#include <pty.h>

#include <QPushButton>
#include <QSerialPort>
#include <QTemporaryDir>

#include "Gallery.h"
#include "link/FrameTrace.h"
#include "link/PortMap.h"
#include "session/ui/FrmPorts.h"
#include "session/ui/FrmTrace.h"

namespace {

/// A pseudo-terminal that stays open for the rest of the run; its path.
QString OpenPty()
{
    int controller = -1;
    int device = -1;
    char name[64] = {};
    return openpty(&controller, &device, name, nullptr, nullptr) == 0 ? QString::fromLatin1(name)
                                                                      : QString();
}

/// A port map of its own in a temporary folder: COM1 a free pty, COM2 a pty this program holds,
/// COM3 an adapter that is unplugged.
void PreparePorts()
{
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("MXRF418_NO_DEFAULT_PORTS", "1");
    PortMap::MapPort(1, OpenPty());
    const QString busy = OpenPty();
    static QSerialPort held(busy);
    held.open(QIODevice::ReadWrite);
    PortMap::MapPort(2, busy);
    PortMap::MapPort(3, QStringLiteral("/dev/ttyUSB7"));
}

FrameTrace::Entry Exchange(int ms, const char *request, const char *reply, double roundTripMs,
                           FrameTrace::Outcome outcome = FrameTrace::Outcome::Answered)
{
    FrameTrace::Entry entry;
    entry.at = QTime(14, 3, 12).addMSecs(ms);
    entry.outcome = outcome;
    entry.request = QByteArray::fromHex(request);
    entry.reply = QByteArray::fromHex(reply);
    entry.roundTripMs = roundTripMs;
    return entry;
}

/// A connect, meter polls, a poll the unit did not answer and the reopen after it.
void RecordSession()
{
    using FrameTrace::Outcome;
    FrameTrace::Entry open;
    open.at = QTime(14, 3, 12);
    open.outcome = Outcome::Opened;
    open.port = QStringLiteral("COM5");
    open.device = QStringLiteral("/dev/ttyUSB0");
    open.roundTripMs = 1.2;
    FrameTrace::Record(open);
    FrameTrace::Record(Exchange(2, "F01025000000000000F7", "F01025010300000010F7", 21.6));
    FrameTrace::Record(Exchange(24, "F01000000000000000F7", "F01000000000000000F7", 21.2));
    FrameTrace::Record(Exchange(46, "F01017001A00000000F7", "F01017001A30303030F7", 21.4));
    for (int poll = 0; poll < 6; ++poll)
        FrameTrace::Record(Exchange(1100 + poll * 100, "F01021000000000000F7",
                                    "F01021563C6800507FF7", 21.3 + poll % 3 * 0.2));
    FrameTrace::Record(Exchange(1700, "F01021000000000000F7", "", 2000.4, Outcome::Timeout));
    open.at = QTime(14, 3, 15).addMSecs(701);
    open.outcome = Outcome::Reopened;
    FrameTrace::Record(open);
    FrameTrace::Record(Exchange(3703, "F01025000000000000F7", "F01025010300000010F7", 21.5));
}

} // namespace

GALLERY_SCENE("FrmPorts", [] {
    PreparePorts();
    auto window = std::make_unique<FrmPorts>();
    window->findChild<QPushButton *>(QStringLiteral("CommandTest"))->click();
    return window;
});

GALLERY_SCENE("FrmTrace", [] {
    auto window = std::make_unique<FrmTrace>();
    RecordSession();
    return window;
});
