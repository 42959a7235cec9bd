// The ports window's diagnosis against prepared devices, and the one entry "Map to" writes.
#include <gtest/gtest.h>

#include <grp.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDirIterator>
#include <QSerialPort>
#include <QSerialPortInfo>

#include "QtPrinters.h"
#include "TemporaryConfig.h"
#include "link/PortDiagnosis.h"
#include "link/PortMap.h"

namespace {

using PortDiagnosis::Adapter;
using PortDiagnosis::Reason;

enum class Setup { Pty, HeldHere, Exclusive, GroupOnly, NoMode, Gone, NoEntry };

struct Case
{
    const char *name;
    Setup setup;
    Reason reason;
    const char *words; ///< how they begin
    const char *fix; ///< "%dev" stands for the device
};

void PrintTo(const Case &row, std::ostream *out)
{
    *out << row.name;
}

/// A pseudo-terminal held by the test while it lives.
struct Pty
{
    Pty() { openpty(&controller, &device, name, nullptr, nullptr); }
    ~Pty() { close(device), close(controller); }
    int controller = -1;
    int device = -1;
    char name[64] = {};
};

/// Reason, the words' first `length` characters and the fix, as COM3 or, dropped to the user
/// "nobody" in a child process, as `device` shows to that user.
QStringList Diagnosis(const QString &device, bool asNobody, qsizetype length)
{
    const auto text = [length](const PortDiagnosis::PortState &state) {
        return QString::number(int(state.reason)) + '\n' + state.words.left(length) + '\n' +
            state.fix;
    };
    if (!asNobody)
        return text(PortDiagnosis::Diagnose("COM3")).split('\n');
    int channel[2];
    EXPECT_EQ(pipe(channel), 0);
    if (fork() == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
        const QByteArray bytes = dropped ? text(PortDiagnosis::DiagnoseDevice(device)).toUtf8()
                                         : QByteArray("not dropped");
        _exit(write(channel[1], bytes.constData(), bytes.size()) == bytes.size() ? 0 : 1);
    }
    close(channel[1]);
    char bytes[2048];
    const ssize_t got = read(channel[0], bytes, sizeof bytes);
    close(channel[0]);
    wait(nullptr);
    return QString::fromUtf8(bytes, std::max<ssize_t>(got, 0)).split('\n');
}

class PortDiagnosisTest : public ::testing::TestWithParam<Case>
{
protected:
    void SetUp() override { EnsureCoreApplication(); }

    TemporaryConfig config;
};

TEST_P(PortDiagnosisTest, SaysWhyInWords)
{
    const Case &row = GetParam();
    const bool asNobody = row.setup == Setup::Exclusive || row.setup == Setup::GroupOnly ||
        row.setup == Setup::NoMode;
    if (asNobody && geteuid() != 0)
        GTEST_SKIP() << "only root can drop to another user, to whom a device is refused";
    const group *dialout = getgrnam("dialout");
    if (row.setup == Setup::GroupOnly && !dialout)
        GTEST_SKIP() << "this system has no dialout group";
    Pty pty;
    QString device = row.setup == Setup::Gone ? config.Path() + "/ttyUSB9" : pty.name;
    QSerialPort holder(device);
    ASSERT_TRUE(row.setup != Setup::HeldHere || holder.open(QIODevice::ReadWrite));
    ASSERT_TRUE(row.setup != Setup::Exclusive ||
                (chmod(pty.name, 0666) == 0 && ioctl(pty.device, TIOCEXCL) == 0));
    ASSERT_TRUE(row.setup != Setup::GroupOnly ||
                (chown(pty.name, 0, dialout->gr_gid) == 0 && chmod(pty.name, 0660) == 0));
    ASSERT_TRUE(row.setup != Setup::NoMode || chmod(pty.name, 0) == 0);
    ASSERT_TRUE(row.setup == Setup::NoEntry || PortMap::MapPort(3, device));
    const QString words = QString::fromLatin1(row.words);
    EXPECT_EQ(Diagnosis(device, asNobody, words.size()),
              QStringList({QString::number(int(row.reason)), words,
                           QString::fromLatin1(row.fix).replace("%dev", device)}));
}

INSTANTIATE_TEST_SUITE_P(
    Devices, PortDiagnosisTest,
    ::testing::Values(
        Case{"opens", Setup::Pty, Reason::Opens, "opens", ""},
        Case{"held_here", Setup::HeldHere, Reason::Busy, "busy: this program holds it", ""},
        Case{"exclusive", Setup::Exclusive, Reason::Busy, "busy: another program holds it (EBUSY)",
             ""},
        Case{"group_only", Setup::GroupOnly, Reason::NoPermission,
             "no permission: the device belongs to group dialout and you (nobody) are not in it",
             "sudo adduser nobody dialout"},
        Case{"no_mode", Setup::NoMode, Reason::NoPermission, "no permission: the device (mode 0,",
             "sudo chmod a+rw %dev"},
        Case{"gone", Setup::Gone, Reason::Missing, "missing: no such device", ""},
        Case{"no_entry", Setup::NoEntry, Reason::NoDevice, "no device", ""}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

TEST(AdapterTest, UsbIdsAreFourLowerCaseHexDigitsEach)
{
    EXPECT_EQ(PortDiagnosis::UsbIdsText(0x067b, 0x002a), "067b:002a");
}

TEST(AdapterTest, OneIsUnmappedUntilAPortLeadsToIt)
{
    const TemporaryConfig config;
    const QList<QSerialPortInfo> system = QSerialPortInfo::availablePorts();
    if (system.isEmpty())
        GTEST_SKIP() << "this system lists no serial adapter";
    const QString device = system.first().systemLocation();
    const auto listed = [&device] {
        return std::ranges::count(PortDiagnosis::UnmappedAdapters(), device, &Adapter::device);
    };
    EXPECT_EQ(listed(), 1);
    ASSERT_TRUE(PortMap::MapPort(5, device));
    EXPECT_EQ(listed(), 0);
}

QStringList Tree(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(folder).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

TEST(PortMapToTest, WritesTheOneEntryAndNothingElse)
{
    const TemporaryConfig config;
    const Pty pty;
    ASSERT_TRUE(PortMap::MapPort(3, "/dev/ttyUSB9"));
    const QStringList before = Tree(config.Path());
    ASSERT_TRUE(PortDiagnosis::MapTo(7, pty.name));
    EXPECT_EQ(Tree(config.Path()), QStringList(before) << "mxrf418/ports/COM7");
    EXPECT_EQ(QFileInfo(PortMap::MapFolder() + "/COM7").symLinkTarget(), pty.name);
    EXPECT_EQ(QFileInfo(PortMap::MapFolder() + "/COM3").symLinkTarget(), "/dev/ttyUSB9");
}

} // namespace
