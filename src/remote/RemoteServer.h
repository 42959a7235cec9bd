#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include "editors/ParameterEdit.h"
#include "model/SettingJson.h"
#include "remote/RemoteMessages.h"

class QHostAddress;
class QHttpServerRequest;
class QTcpSocket;
class QWebSocket;

/// The web remote's server: the page's three files over HTTP and one WebSocket per remote under
/// a pairing token, listening on all interfaces only between `Start` and `Stop`. The first
/// remote writes, later ones read; when the writer leaves, the oldest reader writes. A writer's
/// edits go through `ParameterEdit` inside one operator step each, coalesced per control: the
/// line carries at most one frame per control and poll period plus the last value. Every change
/// of the setting, from any side, reaches the remotes once per poll period.
class RemoteServer : public QObject
{
    Q_OBJECT
public:
    /// The overview panel's meter poll period, which the remote keeps to.
    static constexpr int PeriodMs = 100;
    static constexpr quint16 PreferredPort = 8418;

    explicit RemoteServer(QObject *parent = nullptr);
    ~RemoteServer() override;

    /// Listens on all interfaces, on `PreferredPort` when it is free, with a new token. False
    /// when no port could be had.
    bool Start();
    /// Closes every remote and stops listening.
    void Stop();
    bool Running() const { return front != nullptr; }
    quint16 Port() const;
    QString Token() const { return token; }
    /// "http://<LAN address>:<port>/<token>/": the first IPv4 address of an interface that is up
    /// and no loopback (the loopback one when there is none).
    QString Address() const;
    int RemoteCount() const { return static_cast<int>(remotes.size()); }

    /// The panel's poll decoded new levels: they go to every remote.
    void SendMeters();

signals:
    /// A remote came or went.
    void remotesChanged();

private:
    class Front;

    void Serve(const QHttpServerRequest &request, QTcpSocket *socket);
    /// A wrong token or origin: `refuse` runs after the wait that grows with each wrong try from
    /// the address (not at all when the connection is gone by then).
    void RefuseLater(const QHostAddress &peer, QObject *connection, std::function<void()> refuse);
    void AdmitRemotes();
    void Admit(QWebSocket *socket);
    void Leave(QWebSocket *socket);
    void Receive(QWebSocket *socket, const QString &text);
    void Take(QWebSocket *socket, const RemoteMessages::SetRequest &request);
    void Take(QWebSocket *socket, const RemoteMessages::PresetRequest &request);
    void Take(QWebSocket *socket, const RemoteMessages::Refusal &refusal);
    /// Why the remote may not change the setting now; empty when it may.
    QString WriteRefusal(const QWebSocket *socket) const;
    void Answer(QWebSocket *socket, const RemoteMessages::Id &id, const QString &reason = {});
    /// The controls with a pending value that were not sent in this period.
    QStringList DueControls() const;
    /// Applies the pending values of those controls, and of those that come meanwhile.
    void ApplyDue();
    void Tick();
    void SendSettingIfChanged();
    void SendSetting(QWebSocket *socket);
    void Broadcast(const QByteArray &message);

    std::unique_ptr<Front> front;
    QString token;
    /// The writer first, then the readers by age.
    std::vector<QWebSocket *> remotes;
    QHash<QString, int> wrongTries;
    /// The last value of each control that waits for the line.
    std::map<QString, ParameterEdit::Assignment> pending;
    QSet<QString> sentThisPeriod;
    bool applying = false;
    QTimer period;
    SettingJson::Image sentImage{};
    bool sentLocked = false;
};
