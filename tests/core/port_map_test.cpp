#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "QtPrinters.h"
#include "TemporaryConfig.h"
#include "link/PortMap.h"

namespace {

class PortMapTest : public ::testing::Test
{
protected:
    QString MakeDevice(const QString &name)
    {
        const QString path = config.Path() + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }

    TemporaryConfig config;
};

TEST_F(PortMapTest, OnlyComOneToThirtyTwoArePortNames)
{
    for (const int port : {1, 17, 32})
        EXPECT_EQ(PortMap::PortNumber(QStringLiteral("COM%1").arg(port)), port);
    for (const char *name :
         {"COM0", "COM33", "COM01", "com3", "COM", "COM3 ", "COM-1", "/dev/ttyS0", "COM100", ""})
        EXPECT_EQ(PortMap::PortNumber(name), 0) << name;
    EXPECT_TRUE(PortMap::DevicePath("COM33").isEmpty());
}

TEST_F(PortMapTest, FoldersFollowTheUsersConfigLocation)
{
    EXPECT_EQ(PortMap::ConfigFolder(), config.Path() + "/mxrf418");
    EXPECT_EQ(PortMap::MapFolder(), config.Path() + "/mxrf418/ports");
}

TEST_F(PortMapTest, DefaultRuleCoversBuiltInAndUsbPortsUnlessSwitchedOff)
{
    EXPECT_FALSE(PortMap::DefaultRuleEnabled());
    for (int port = PortMap::FirstPort; port <= PortMap::LastPort; ++port)
        EXPECT_TRUE(PortMap::DefaultDevice(port).isEmpty()) << port;
    EXPECT_TRUE(PortMap::DevicePath("COM1").isEmpty());

    qunsetenv("MXRF418_NO_DEFAULT_PORTS");
    QStringList devices;
    for (const int port : {1, 4, 5, 20, 21, 32, 0, 33})
        devices << PortMap::DefaultDevice(port);
    EXPECT_EQ(devices,
              (QStringList{"/dev/ttyS0", "/dev/ttyS3", "/dev/ttyUSB0", "/dev/ttyUSB15",
                           "/dev/ttyACM0", "/dev/ttyACM11", "", ""}));
    EXPECT_EQ(PortMap::DevicePath("COM6"), "/dev/ttyUSB1");
}

TEST_F(PortMapTest, AnEntryLeadsToItsDeviceAndOverridesTheDefault)
{
    qunsetenv("MXRF418_NO_DEFAULT_PORTS");
    const QString device = MakeDevice("adapter");
    ASSERT_TRUE(PortMap::MapPort(5, device));
    EXPECT_EQ(PortMap::DevicePath("COM5"), device);
    EXPECT_TRUE(QFileInfo(PortMap::MapFolder() + "/COM5").isSymLink());

    // An entry through a chain of links names the device itself.
    const QString alias = config.Path() + "/by-id";
    ASSERT_TRUE(QFile::link(device, alias));
    ASSERT_TRUE(PortMap::MapPort(5, alias));
    EXPECT_EQ(PortMap::DevicePath("COM5"), device);

    // A dangling entry still names its target, so the open fails instead of reaching a default.
    const QString gone = MakeDevice("unplugged");
    ASSERT_TRUE(PortMap::MapPort(7, gone));
    QFile::remove(gone);
    EXPECT_EQ(PortMap::DevicePath("COM7"), gone);

    ASSERT_TRUE(PortMap::UnmapPort(5));
    EXPECT_TRUE(PortMap::UnmapPort(5));
    EXPECT_EQ(PortMap::DevicePath("COM5"), "/dev/ttyUSB0");
    EXPECT_FALSE(PortMap::MapPort(0, device));
    EXPECT_FALSE(PortMap::MapPort(33, device));
}

} // namespace
