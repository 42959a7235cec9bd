#pragma once

#include <chrono>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

/// What the web remote answers over HTTP, without sockets: the pairing token, which request
/// reaches which of the page's three resources, and the answer's bytes with the headers every
/// answer carries.
namespace RemoteHttp {

inline constexpr int TokenBits = 128;

/// 32 lowercase hex digits from the system's random source.
QString NewToken();
/// Compares in a time that does not depend on where the two first differ.
bool SameToken(QByteArrayView given, QByteArrayView token);

enum class Target {
    Resource, ///< one of the page's files
    WebSocket, ///< "/<token>/ws"
    NotFound, ///< the right token, any other name
    Unauthorized, ///< the first segment is not the token
};

struct Route
{
    Target target = Target::Unauthorized;
    /// The Qt resource of a `Resource` (":/remote/page/index.html").
    QString resource;
};

/// The route of a request path as it came (percent-encoded or not): only "/<token>/",
/// "/<token>/remote.js", "/<token>/remote.css" and "/<token>/ws" are anything, by exact match,
/// so no other name and no relative segment ever reaches a file.
Route RouteOf(const QByteArray &path, QByteArrayView token);

/// The whole answer: status line, the content type, the security headers, the body. An answer
/// that closes the connection says so.
QByteArray Answer(int status, const QByteArray &contentType, const QByteArray &body,
                  bool closing = false);
/// The content type of a resource, by its name's ending.
QByteArray ContentTypeOf(const QString &resource);

/// A WebSocket's `Origin` is the page's own: the scheme http and the host and port the socket
/// was opened on. Browsers always send it; a client without one (no page) is let through.
bool SameOrigin(const QString &origin, const QUrl &socketUrl);

/// The wait before a wrong token's 401: it doubles with each wrong try from the same address,
/// from a quarter of a second up to eight seconds.
std::chrono::milliseconds WrongTokenDelay(int tries);

} // namespace RemoteHttp
