#include "remote/RemoteServer.h"

#include <QAbstractHttpServer>
#include <QFile>
#include <QHttpServerRequest>
#include <QNetworkInterface>
#include <QScopedValueRollback>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>

#include "link/LineUse.h"
#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingHistory.h"
#include "presets/DevicePresets.h"
#include "presets/ModPreset.h"
#include "remote/RemoteHttp.h"

namespace {

using RemoteMessages::Role;

/// The close code of a WebSocket opened without the token or from another page.
constexpr auto NotPaired = static_cast<QWebSocketProtocol::CloseCode>(4401);
/// Far above any page message.
constexpr qint64 LargestMessage = 64 * 1024;

bool Locked()
{
    return ModLock::state.LockState == 1;
}

QString LanAddress()
{
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return entry.ip().toString();
        }
    }
    return QStringLiteral("127.0.0.1");
}

} // namespace

/// Qt's resources of a static library are registered by hand, outside any namespace.
static void RegisterPage()
{
    Q_INIT_RESOURCE(remote);
}

/// Qt's HTTP server without its router: every request comes to `RemoteServer::Serve`.
class RemoteServer::Front : public QAbstractHttpServer
{
public:
    explicit Front(RemoteServer &owner) : owner(owner) { }

protected:
    /// Qt asks here first for a WebSocket's upgrade too, and upgrades when it was taken: the
    /// socket's token and origin are checked once it is open.
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        if (request.value("upgrade").compare("websocket", Qt::CaseInsensitive) != 0)
            owner.Serve(request, socket);
        return true;
    }
    void missingHandler(const QHttpServerRequest &, QTcpSocket *) override { }

private:
    RemoteServer &owner;
};

RemoteServer::RemoteServer(QObject *parent) : QObject(parent)
{
    RegisterPage();
    period.setInterval(PeriodMs);
    connect(&period, &QTimer::timeout, this, &RemoteServer::Tick);
}

RemoteServer::~RemoteServer()
{
    Stop();
}

bool RemoteServer::Start()
{
    Stop();
    auto server = std::make_unique<Front>(*this);
    auto *listener = new QTcpServer(server.get());
    if (!listener->listen(QHostAddress::Any, PreferredPort) && !listener->listen(QHostAddress::Any))
        return false;
    server->bind(listener);
    connect(server.get(), &QAbstractHttpServer::newWebSocketConnection, this,
            &RemoteServer::AdmitRemotes);
    front = std::move(server);
    token = RemoteHttp::NewToken();
    wrongTries.clear();
    sentImage = ModFun::state.ParamImage;
    sentLocked = Locked();
    period.start();
    return true;
}

void RemoteServer::Stop()
{
    period.stop();
    pending.clear();
    const std::vector<QWebSocket *> leaving = std::exchange(remotes, {});
    for (QWebSocket *socket : leaving) {
        socket->disconnect(this);
        socket->close();
        socket->deleteLater();
    }
    front.reset();
    if (!leaving.empty())
        emit remotesChanged();
}

quint16 RemoteServer::Port() const
{
    return front && !front->servers().isEmpty() ? front->servers().front()->serverPort() : 0;
}

QString RemoteServer::Address() const
{
    return QStringLiteral("http://%1:%2/%3/").arg(LanAddress()).arg(Port()).arg(token);
}

void RemoteServer::SendMeters()
{
    Broadcast(RemoteMessages::MeterLevels());
}

void RemoteServer::Serve(const QHttpServerRequest &request, QTcpSocket *socket)
{
    using RemoteHttp::Target;
    const RemoteHttp::Route route =
        RemoteHttp::RouteOf(request.url().path(QUrl::FullyEncoded).toUtf8(), token.toLatin1());
    if (route.target == Target::Unauthorized)
        return RefuseLater(request.remoteAddress(), socket, [socket] {
            socket->write(RemoteHttp::Answer(401, "text/plain", "Unauthorized\n", true));
            socket->disconnectFromHost();
        });
    if (request.method() != QHttpServerRequest::Method::Get) {
        socket->write(RemoteHttp::Answer(405, "text/plain", "Only GET\n"));
        return;
    }
    QFile file(route.resource);
    if (route.target != Target::Resource || !file.open(QIODevice::ReadOnly)) {
        socket->write(RemoteHttp::Answer(404, "text/plain", "Not found\n"));
        return;
    }
    socket->write(
        RemoteHttp::Answer(200, RemoteHttp::ContentTypeOf(route.resource), file.readAll()));
}

void RemoteServer::RefuseLater(const QHostAddress &peer, QObject *connection,
                               std::function<void()> refuse)
{
    const int tries = ++wrongTries[peer.toString()];
    QTimer::singleShot(RemoteHttp::WrongTokenDelay(tries), connection, std::move(refuse));
}

void RemoteServer::AdmitRemotes()
{
    while (front && front->hasPendingWebSocketConnections()) {
        QWebSocket *socket = front->nextPendingWebSocketConnection().release();
        socket->setParent(this);
        const QUrl url = socket->requestUrl();
        const bool paired =
            RemoteHttp::RouteOf(url.path(QUrl::FullyEncoded).toUtf8(), token.toLatin1()).target ==
            RemoteHttp::Target::WebSocket;
        if (paired && RemoteHttp::SameOrigin(socket->origin(), url)) {
            Admit(socket);
            continue;
        }
        connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
        RefuseLater(socket->peerAddress(), socket,
                    [socket] { socket->close(NotPaired, QStringLiteral("not paired")); });
    }
}

void RemoteServer::Admit(QWebSocket *socket)
{
    socket->setMaxAllowedIncomingMessageSize(LargestMessage);
    connect(socket, &QWebSocket::textMessageReceived, this,
            [this, socket](const QString &text) { Receive(socket, text); });
    connect(socket, &QWebSocket::disconnected, this, [this, socket] { Leave(socket); });
    remotes.push_back(socket);
    const bool writer = remotes.size() == 1;
    socket->sendTextMessage(QString::fromUtf8(RemoteMessages::Hello(
        writer ? Role::Writer : Role::Reader, writer ? QString() : RemoteMessages::ReaderNote())));
    SendSetting(socket);
    emit remotesChanged();
}

void RemoteServer::Leave(QWebSocket *socket)
{
    const auto found = std::find(remotes.begin(), remotes.end(), socket);
    if (found == remotes.end())
        return;
    const bool writerLeft = found == remotes.begin();
    remotes.erase(found);
    socket->deleteLater();
    if (writerLeft) {
        pending.clear();
        if (!remotes.empty())
            remotes.front()->sendTextMessage(
                QString::fromUtf8(RemoteMessages::RoleChange(Role::Writer, QString())));
    }
    emit remotesChanged();
}

void RemoteServer::Receive(QWebSocket *socket, const QString &text)
{
    std::visit([this, socket](const auto &message) { Take(socket, message); },
               RemoteMessages::Parse(text.toUtf8()));
}

void RemoteServer::Take(QWebSocket *socket, const RemoteMessages::SetRequest &request)
{
    if (const QString refusal = WriteRefusal(socket); !refusal.isEmpty())
        return Answer(socket, request.id, refusal);
    pending.insert_or_assign(request.assignment.name, request.assignment);
    Answer(socket, request.id);
    ApplyDue();
}

void RemoteServer::Take(QWebSocket *socket, const RemoteMessages::PresetRequest &request)
{
    QString refusal = WriteRefusal(socket);
    const int index = request.number - 1;
    if (refusal.isEmpty() && (applying || LineUse::Taken()))
        refusal = QStringLiteral("The line to the unit is busy: try again");
    if (refusal.isEmpty() && !DevicePresets::IsFactory(index) &&
        (ModTxRx::state.DemoMode || !ModPreset::state.PresetUsed[index]))
        refusal = QStringLiteral("Preset empty");
    if (!refusal.isEmpty())
        return Answer(socket, request.id, refusal);
    const QScopedValueRollback busy(PanelFlags::state.PresetActionBusy, true);
    const LineUse::Hold sequence;
    const auto outcome = DevicePresets::IsFactory(index)
        ? DevicePresets::ReadFactoryPreset(index, {})
        : DevicePresets::ReadUserPreset(index, {});
    Answer(socket, request.id,
           outcome == DevicePresets::Outcome::Done ? QString()
                                                   : QStringLiteral("The preset was not read"));
}

void RemoteServer::Take(QWebSocket *socket, const RemoteMessages::Refusal &refusal)
{
    Answer(socket, refusal.id, refusal.reason);
}

QString RemoteServer::WriteRefusal(const QWebSocket *socket) const
{
    if (remotes.empty() || remotes.front() != socket)
        return RemoteMessages::ReaderNote();
    if (Locked())
        return QStringLiteral("The unit is locked: unlock it on the PC");
    return {};
}

void RemoteServer::Answer(QWebSocket *socket, const RemoteMessages::Id &id, const QString &reason)
{
    if (id.isUndefined() || !socket->isValid())
        return;
    const QByteArray result =
        reason.isEmpty() ? RemoteMessages::Result(id) : RemoteMessages::Result({id, reason});
    socket->sendTextMessage(QString::fromUtf8(result));
}

QStringList RemoteServer::DueControls() const
{
    QStringList due;
    for (const auto &[name, assignment] : pending) {
        if (!sentThisPeriod.contains(name))
            due << name;
    }
    return due;
}

void RemoteServer::ApplyDue()
{
    // A value that comes while the line is taken (the panel's poll, an exchange's wait of this
    // very loop) goes out as soon as it is free.
    if (pending.empty() || LineUse::PutOffWhileTaken(this, [this] { ApplyDue(); }))
        return;
    if (Locked())
        pending.clear();
    if (applying || pending.empty())
        return;
    const QScopedValueRollback guard(applying, true);
    for (QStringList due = DueControls(); !due.isEmpty(); due = DueControls()) {
        for (const QString &name : due) {
            const auto found = pending.find(name);
            if (found == pending.end())
                continue;
            const ParameterEdit::Assignment assignment = found->second;
            pending.erase(found);
            sentThisPeriod.insert(name);
            const ModFun::OperatorStep step(QStringLiteral("remote ") + name);
            ParameterEdit::Apply(assignment);
        }
    }
}

void RemoteServer::Tick()
{
    sentThisPeriod.clear();
    ApplyDue();
    SendSettingIfChanged();
}

void RemoteServer::SendSettingIfChanged()
{
    if (ModFun::state.ParamImage == sentImage && Locked() == sentLocked)
        return;
    sentImage = ModFun::state.ParamImage;
    sentLocked = Locked();
    const QString setting = QString::fromUtf8(RemoteMessages::Setting(sentImage, sentLocked));
    const QString curves = QString::fromUtf8(RemoteMessages::Curves());
    for (QWebSocket *socket : remotes) {
        socket->sendTextMessage(setting);
        socket->sendTextMessage(curves);
    }
}

void RemoteServer::SendSetting(QWebSocket *socket)
{
    socket->sendTextMessage(
        QString::fromUtf8(RemoteMessages::Setting(ModFun::state.ParamImage, Locked())));
    socket->sendTextMessage(QString::fromUtf8(RemoteMessages::Curves()));
}

void RemoteServer::Broadcast(const QByteArray &message)
{
    const QString text = QString::fromUtf8(message);
    for (QWebSocket *socket : remotes)
        socket->sendTextMessage(text);
}
