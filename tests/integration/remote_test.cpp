// The web remote against the virtual unit: the page's files over HTTP, and the WebSocket's
// messages from an edit to its frame on the line and from a PC edit to the page.
#include "CoreReset.h"
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QWebSocket>

#include "QtPrinters.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/SettingHistory.h"
#include "presets/ModPreset.h"
#include "remote/RemoteServer.h"

namespace {

constexpr int WaitMs = 5000;

/// The test name of a table's row.
constexpr auto RowName = [](const auto &info) { return std::string(info.param.name); };

class RemoteHttp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        network = std::make_unique<QNetworkAccessManager>();
        ASSERT_TRUE(server.Start());
    }

    /// The finished answer to a GET of the path as written (percent escapes kept).
    QNetworkReply *Get(const QString &path)
    {
        const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(server.Port()) + path;
        QNetworkReply *reply = network->get(QNetworkRequest(QUrl::fromEncoded(url.toLatin1())));
        WaitUntil([reply] { return reply->isFinished(); }, WaitMs);
        return reply;
    }

    RemoteServer server;
    /// Made once the application is there.
    std::unique_ptr<QNetworkAccessManager> network;
};

struct HttpRow
{
    const char *name;
    /// "%1" stands for the token.
    const char *path;
    int status;
    /// The resource answered, for a 200.
    const char *resource;
};

class RemoteHttpPaths : public RemoteHttp, public ::testing::WithParamInterface<HttpRow>
{
};

TEST_P(RemoteHttpPaths, AnswersWithTheSecurityHeaders)
{
    QNetworkReply *reply =
        Get(QString::fromLatin1(GetParam().path).replace(QLatin1String("%1"), server.Token()));
    EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
              GetParam().status);
    EXPECT_EQ(reply->rawHeader("Content-Security-Policy"),
              "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
              "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
    EXPECT_EQ(reply->rawHeader("X-Content-Type-Options"), "nosniff");
    EXPECT_EQ(reply->rawHeader("Cache-Control"), "no-store");
    EXPECT_EQ(reply->rawHeader("Referrer-Policy"), "no-referrer");
    EXPECT_FALSE(reply->hasRawHeader("Access-Control-Allow-Origin"));
    if (*GetParam().resource) {
        QFile file(QLatin1String(GetParam().resource));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(reply->readAll(), file.readAll());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RemoteHttpPaths,
    ::testing::Values(HttpRow{"Page", "%1/", 200, ":/remote/page/index.html"},
                      HttpRow{"Script", "%1/remote.js", 200, ":/remote/page/remote.js"},
                      HttpRow{"Style", "%1/remote.css", 200, ":/remote/page/remote.css"},
                      HttpRow{"UnknownName", "%1/remote.qrc", 404, ""},
                      HttpRow{"DeeperPath", "%1/page/index.html", 404, ""},
                      // The client folds the dots away: what arrives has no token first.
                      HttpRow{"DotDot", "%1/../remote/page/index.html", 401, ""},
                      HttpRow{"EscapedDotDot", "%1/%2e%2e/%2e%2e/CMakeLists.txt", 401, ""},
                      HttpRow{"NoToken", "remote.js", 401, ""},
                      HttpRow{"WrongToken", "0123456789abcdef0123456789abcdef/", 401, ""},
                      HttpRow{"TokenWithAnEnd", "%1x/", 401, ""}),
    RowName);

TEST_F(RemoteHttp, RefusesAnythingButGet)
{
    const QUrl url(
        QStringLiteral("http://127.0.0.1:%1/%2/").arg(server.Port()).arg(server.Token()));
    QNetworkReply *reply = network->post(QNetworkRequest(url), QByteArray("x"));
    WaitUntil([reply] { return reply->isFinished(); }, WaitMs);
    EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 405);
}

/// A page's end of the WebSocket: every message it got, in order.
class Page
{
public:
    Page(const QUrl &url, const QString &origin = {}) : socket(origin)
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString &text) {
            messages.push_back(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        socket.open(url);
    }

    /// The next message of that type after the ones already taken; empty after the wait.
    QJsonObject Next(const QString &type)
    {
        WaitUntil([&] { return Find(type) >= 0; }, WaitMs);
        const int at = Find(type);
        if (at < 0)
            return {};
        taken = at + 1;
        return messages[at];
    }

    void Send(const QJsonObject &message)
    {
        socket.sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson()));
    }

    QWebSocket socket;
    std::vector<QJsonObject> messages;

private:
    int Find(const QString &type) const
    {
        for (int i = taken; i < int(messages.size()); ++i) {
            if (messages[i].value("type").toString() == type)
                return i;
        }
        return -1;
    }

    int taken = 0;
};

QJsonObject Set(int id, const QString &path, const QJsonValue &value)
{
    return {{"type", "set"}, {"id", id}, {"path", path}, {"value", value}};
}

class RemoteSocket : public RemoteHttp
{
protected:
    void SetUp() override
    {
        RemoteHttp::SetUp();
        ResetAll();
        ModGraph::FollowModel();
        ModPreset::FillFactoryEntries();
        ModFun::LoadDefaultImage();
        ModTxRx::state.SerialPort = &serial;
        ModTxRx::state.ComPort = 1;
        ASSERT_TRUE(unit.Start({1, {}})) << unit.ErrorString().toStdString();
        ASSERT_TRUE(ModTxRx::ConnectDevice());
        frames = unit.Log(0, 0).size();
    }
    void TearDown() override
    {
        server.Stop();
        ResetAll();
    }

    static void ResetAll() { ResetTheCore(); }

    QUrl SocketUrl(const QString &token) const
    {
        return QUrl(QStringLiteral("ws://127.0.0.1:%1/%2/ws").arg(server.Port()).arg(token));
    }

    /// The frames the unit got since the connect, in hex.
    QStringList NewFrames() const
    {
        QStringList sent;
        const auto log = unit.Log(0, 0);
        for (auto entry = log.begin() + frames; entry < log.end(); ++entry)
            sent << QString::fromLatin1(entry->request.toHex(' ').toUpper());
        return sent;
    }

    TemporaryConfig config;
    QtSerialComponent serial;
    VirtualUnit unit;
    std::size_t frames = 0;
};

TEST_F(RemoteSocket, GreetsWithHelloThenTheSetting)
{
    Page page(SocketUrl(server.Token()));
    const QJsonObject hello = page.Next("hello");
    EXPECT_EQ(hello.value("role").toString(), "writer");
    EXPECT_EQ(hello.value("tables").toObject().value("q").toArray().size(), 221);
    EXPECT_EQ(hello.value("meterNames").toArray().size(), 6);
    EXPECT_EQ(page.Next("setting").value("setting").toObject(),
              SettingJson::ToJson(ModFun::state.ParamImage));
    EXPECT_EQ(page.Next("curves").value("A").toArray().size(), ModGraph::PointCount);
}

TEST_F(RemoteSocket, SetSendsTheSnappedValueAsOneUndoStep)
{
    Page page(SocketUrl(server.Token()));
    page.Next("setting");
    page.Send(Set(7, "A.eq.3.gainDb", 3.7));
    EXPECT_EQ(page.Next("result"), (QJsonObject{{"type", "result"}, {"id", 7}, {"ok", true}}));
    ASSERT_EQ(unit.Log(int(frames) + 1).size(), frames + 1);
    // Band 3 of A: frequency code 20, Q code 24 as the default image has them, gain 3.5 dB.
    EXPECT_EQ(NewFrames(), QStringList{"F0 10 05 00 02 00 14 18 25 F7"});
    EXPECT_EQ(page.Next("setting").value("setting")["A"]["eq"][2]["gainDb"].toDouble(), 3.5);
    EXPECT_EQ(ModFun::history().UndoText(), "Undo remote A.eq.3.gainDb");
}

TEST_F(RemoteSocket, PresetIsReadAsOneUndoStep)
{
    Page page(SocketUrl(server.Token()));
    page.Next("setting");
    page.Send({{"type", "preset"}, {"id", 4}, {"source", "factory"}, {"number", 3}});
    EXPECT_TRUE(page.Next("result").value("ok").toBool());
    EXPECT_EQ(NewFrames(), QStringList{"F0 10 1B 02 00 00 00 00 00 F7"}); // the recall of preset 3
    const auto &factory = ValueTables::FactoryPresetImages[2];
    EXPECT_TRUE(std::equal(factory.begin(), factory.end(), ModFun::state.ParamImage.begin()));
    EXPECT_EQ(ModFun::history().UndoText(), "Undo preset read");
}

TEST_F(RemoteSocket, PcEditReachesThePage)
{
    Page page(SocketUrl(server.Token()));
    page.Next("curves");
    ModFun::SetGateOn(1, true);
    EXPECT_TRUE(page.Next("setting").value("setting")["B"]["gate"]["enabled"].toBool());
    EXPECT_EQ(page.Next("curves").value("B").toArray().size(), ModGraph::PointCount);
}

TEST_F(RemoteSocket, DragSendsTheLastValue)
{
    Page page(SocketUrl(server.Token()));
    page.Next("setting");
    constexpr int Steps = 20;
    for (int step = 1; step <= Steps; ++step)
        page.Send(Set(step, "A.delayMs", step));
    WaitUntil([&] { return NewFrames().size() > 0 && NewFrames().back().endsWith(" 14 00 F7"); },
              WaitMs);
    const QStringList sent = NewFrames();
    EXPECT_LT(sent.size(), Steps);
    EXPECT_EQ(sent.back(), "F0 10 02 00 00 00 00 14 00 F7");
}

struct RefusalRow
{
    const char *name;
    QJsonObject message;
    const char *reason;
    bool locked;
};

class RemoteRefusals : public RemoteSocket, public ::testing::WithParamInterface<RefusalRow>
{
};

TEST_P(RemoteRefusals, AnswerTheReasonAndSendNothing)
{
    ModLock::state.LockState = GetParam().locked ? 1 : 0;
    Page page(SocketUrl(server.Token()));
    page.Next("setting");
    page.Send(GetParam().message);
    const QJsonObject result = page.Next("result");
    EXPECT_FALSE(result.value("ok").toBool());
    EXPECT_EQ(result.value("reason").toString(), GetParam().reason);
    // A value taken after the refusal is the only frame on the line.
    ModLock::state.LockState = 0;
    page.Send(Set(2, "A.eq.1.gainDb", -14.5));
    page.Next("result");
    unit.Log(int(frames) + 1);
    ASSERT_EQ(NewFrames().size(), 1);
    EXPECT_TRUE(NewFrames().front().startsWith("F0 10 05 00 00 00"))
        << NewFrames().front().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Values, RemoteRefusals,
    ::testing::Values(
        RefusalRow{"GainAboveRange", Set(1, "A.eq.3.gainDb", 15.5),
                   "A.eq.3.gainDb: 15.5 is not a number from -15 to 15", false},
        RefusalRow{"FrequencyAsText", Set(1, "B.highPass.frequencyHz", "100"),
                   "B.highPass.frequencyHz: \"100\" is not a number from 20 to 20000", false},
        RefusalRow{"DelayBeyondItsEnd", Set(1, "B.delayMs", 301),
                   "B.delayMs: 301 is not a number from 0 to 300.9776", false},
        RefusalRow{"MuteAsNumber", Set(1, "A.mute", 1), "A.mute: 1 is not true or false", false},
        RefusalRow{"UnknownSlope", Set(1, "A.lowPass.slope", "steep"),
                   "A.lowPass.slope: \"steep\" is not Bypass, -6dB/oct, -12dB/oct", false},
        RefusalRow{"UnknownPath", Set(1, "A.eq.16.gainDb", 0), "A.eq.16.gainDb: no such parameter",
                   false},
        RefusalRow{"UserPresetNumberOfAFactoryOne",
                   {{"type", "preset"}, {"id", 1}, {"source", "user"}, {"number", 3}},
                   "number: user presets are numbered 17 to 32",
                   false},
        RefusalRow{"Locked", Set(1, "A.mute", true), "The unit is locked: unlock it on the PC",
                   true},
        RefusalRow{"PresetWhileLocked",
                   {{"type", "preset"}, {"id", 1}, {"source", "factory"}, {"number", 3}},
                   "The unit is locked: unlock it on the PC",
                   true}),
    RowName);

TEST_F(RemoteSocket, SecondRemoteOnlyReadsUntilTheWriterLeaves)
{
    auto writer = std::make_unique<Page>(SocketUrl(server.Token()));
    writer->Next("hello");
    Page reader(SocketUrl(server.Token()));
    EXPECT_EQ(reader.Next("hello").value("role").toString(), "reader");
    reader.Send(Set(3, "A.mute", true));
    EXPECT_EQ(reader.Next("result").value("reason").toString(),
              "Another remote is editing: this one only shows the setting.");
    int changes = 0;
    QObject context;
    QObject::connect(&server, &RemoteServer::remotesChanged, &context, [&changes] { ++changes; });
    writer.reset();
    EXPECT_EQ(reader.Next("role").value("role").toString(), "writer");
    EXPECT_EQ(changes, 1) << "the remote window shows who is left";
    EXPECT_EQ(NewFrames(), QStringList());
}

TEST_F(RemoteSocket, MessageBeyondTheLargestClosesTheSocket)
{
    Page page(SocketUrl(server.Token()));
    page.Next("hello");
    page.socket.sendTextMessage(QString(64 * 1024 + 1, u' '));
    EXPECT_TRUE(WaitUntil(
        [&] { return page.socket.closeCode() == QWebSocketProtocol::CloseCodeTooMuchData; },
        WaitMs));
}

struct ClosedRow
{
    const char *name;
    const char *token;
    const char *origin;
};

class RemoteClosed : public RemoteSocket, public ::testing::WithParamInterface<ClosedRow>
{
};

TEST_P(RemoteClosed, WithoutAGreeting)
{
    const QString token =
        *GetParam().token ? QString::fromLatin1(GetParam().token) : server.Token();
    Page page(SocketUrl(token), QString::fromLatin1(GetParam().origin));
    ASSERT_TRUE(WaitUntil([&] { return page.socket.closeCode() == 4401; }, WaitMs));
    EXPECT_TRUE(page.messages.empty());
    EXPECT_EQ(server.RemoteCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sockets, RemoteClosed,
                         ::testing::Values(ClosedRow{"WrongToken",
                                                     "0123456789abcdef0123456789abcdef", ""},
                                           ClosedRow{"OtherOrigin", "", "http://evil.example"}),
                         RowName);

} // namespace
