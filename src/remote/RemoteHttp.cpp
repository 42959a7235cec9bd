#include "remote/RemoteHttp.h"

#include <algorithm>
#include <array>

#include <QList>
#include <QRandomGenerator>

namespace RemoteHttp {

namespace {

constexpr char ResourceFolder[] = ":/remote/page/";
constexpr std::array<const char *, 3> PageFiles{"index.html", "remote.js", "remote.css"};
constexpr std::chrono::milliseconds FirstDelay{250};
constexpr int LongestDoubling = 5;

constexpr char SecurityHeaders[] =
    "Content-Security-Policy: default-src 'none'; script-src 'self'; style-src 'self'; "
    "img-src 'self' data:; connect-src 'self'; base-uri 'none'; form-action 'none'; "
    "frame-ancestors 'none'\r\n"
    "X-Content-Type-Options: nosniff\r\n"
    "Cache-Control: no-store\r\n"
    "Referrer-Policy: no-referrer\r\n";

QByteArray ReasonOf(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 401:
        return "Unauthorized";
    case 405:
        return "Method Not Allowed";
    default:
        return "Not Found";
    }
}

} // namespace

QString NewToken()
{
    std::array<quint32, TokenBits / 32> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    QString token;
    for (quint32 word : words)
        token += QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0'));
    return token;
}

bool SameToken(QByteArrayView given, QByteArrayView token)
{
    unsigned difference = given.size() == token.size() ? 0 : 1;
    for (qsizetype i = 0; i < token.size(); ++i) {
        const char other = i < given.size() ? given[i] : '\0';
        difference |= static_cast<unsigned char>(other ^ token[i]);
    }
    return difference == 0;
}

Route RouteOf(const QByteArray &path, QByteArrayView token)
{
    const QList<QByteArray> segments = path.split('/');
    if (segments.size() < 2 || !segments[0].isEmpty() || !SameToken(segments[1], token))
        return {Target::Unauthorized, {}};
    if (segments.size() != 3)
        return {Target::NotFound, {}};
    const QByteArray &name = segments[2];
    if (name == "ws")
        return {Target::WebSocket, {}};
    const QByteArray file = name.isEmpty() ? QByteArray(PageFiles[0]) : name;
    if (std::find(PageFiles.begin(), PageFiles.end(), file) == PageFiles.end())
        return {Target::NotFound, {}};
    return {Target::Resource, QLatin1String(ResourceFolder) + QString::fromLatin1(file)};
}

QByteArray Answer(int status, const QByteArray &contentType, const QByteArray &body, bool closing)
{
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(status) + ' ' + ReasonOf(status) + "\r\n";
    answer += "Content-Type: " + contentType + "\r\n";
    answer += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    answer += SecurityHeaders;
    if (closing)
        answer += "Connection: close\r\n";
    return answer + "\r\n" + body;
}

QByteArray ContentTypeOf(const QString &resource)
{
    if (resource.endsWith(QLatin1String(".js")))
        return "text/javascript; charset=utf-8";
    if (resource.endsWith(QLatin1String(".css")))
        return "text/css; charset=utf-8";
    return "text/html; charset=utf-8";
}

bool SameOrigin(const QString &origin, const QUrl &socketUrl)
{
    if (origin.isEmpty())
        return true;
    const QUrl page(origin);
    return page.scheme() == QLatin1String("http") &&
        page.host().compare(socketUrl.host(), Qt::CaseInsensitive) == 0 &&
        page.port(80) == socketUrl.port(80) && page.path().isEmpty();
}

std::chrono::milliseconds WrongTokenDelay(int tries)
{
    return FirstDelay * (1 << std::clamp(tries - 1, 0, LongestDoubling));
}

} // namespace RemoteHttp
