#include "metrics/MetricsServer.h"

#include "metrics/GuardedTcpServer.h"
#include "metrics/MetricsPage.h"

#include <QTcpSocket>

namespace {

// A request whose head and body are in: its size, or 0 while it is not whole, or -1 for one
// this server does not take (then the connection is closed unanswered).
struct Request
{
    qsizetype size = 0;
    QByteArray method;
    QByteArray path;
    bool close = false;
};

Request ReadRequest(const QByteArray &bytes)
{
    Request request;
    qsizetype start = 0;
    while (start < bytes.size() && (bytes[start] == '\r' || bytes[start] == '\n'))
        ++start;
    const qsizetype end = bytes.indexOf("\r\n\r\n", start);
    if (end < 0)
        return request;
    const QList<QByteArray> lines = bytes.mid(start, end - start).split('\n');
    const QList<QByteArray> words = lines.first().trimmed().split(' ');
    if (words.size() != 3 || !words[2].startsWith("HTTP/1.") || words[2].size() != 8 || !words[1].startsWith('/')) {
        request.size = -1;
        return request;
    }
    request.method = words[0];
    request.path = words[1].split('?').first();
    request.close = words[2] == "HTTP/1.0";
    qint64 body = 0;
    for (qsizetype k = 1; k < lines.size(); ++k) {
        const qsizetype colon = lines[k].indexOf(':');
        if (colon <= 0) {
            request.size = -1;
            return request;
        }
        const QByteArray name = lines[k].left(colon).trimmed().toLower();
        const QByteArray value = lines[k].mid(colon + 1).trimmed().toLower();
        bool ok = true;
        if (name == "connection" && value.split(',').contains("close"))
            request.close = true;
        else if (name == "content-length")
            body = value.toLongLong(&ok);
        else if (name == "transfer-encoding")
            ok = false;
        if (!ok || body < 0 || body > ConnectionGuard::kReadLimit) {
            request.size = -1;
            return request;
        }
    }
    if (bytes.size() >= end + 4 + body)
        request.size = end + 4 + body;
    return request;
}

QByteArray Answer(const char *status, const QByteArray &contentType, const QByteArray &body, bool withBody,
                  bool close, const QByteArray &allow = {})
{
    QByteArray answer = QByteArray("HTTP/1.1 ") + status + "\r\nContent-Type: " + contentType
        + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n";
    if (!allow.isEmpty())
        answer += "Allow: " + allow + "\r\n";
    if (close)
        answer += "Connection: close\r\n";
    return answer + "\r\n" + (withBody ? body : QByteArray());
}

} // namespace

MetricsServer::MetricsServer(std::function<QByteArray()> page, QObject *parent)
    : QObject(parent), mPage(std::move(page))
{
}

QString MetricsServer::Listen(const QHostAddress &address, quint16 port)
{
    auto *tcp = new GuardedTcpServer(this);
    if (!tcp->listen(address, port)) {
        const QString reason = tcp->errorString();
        delete tcp;
        return reason;
    }
    connect(tcp, &QTcpServer::newConnection, this, [this, tcp] {
        while (QTcpSocket *socket = tcp->nextPendingConnection())
            Take(socket);
    });
    mTcp = tcp;
    return {};
}

void MetricsServer::Take(QTcpSocket *socket)
{
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] {
        if (socket->bytesToWrite() == 0)
            Serve(socket);
    });
}

void MetricsServer::Serve(QTcpSocket *socket)
{
    while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() == 0) {
        const Request request = ReadRequest(socket->peek(socket->bytesAvailable()));
        if (request.size == 0 && socket->bytesAvailable() < ConnectionGuard::kReadLimit)
            return;
        if (request.size <= 0) {
            mTcp->Guard().Drop(socket);
            return;
        }
        socket->skip(request.size);
        mTcp->Guard().Asked(socket);
        const bool head = request.method == "HEAD";
        QByteArray answer;
        if (request.path != "/metrics")
            answer = Answer("404 Not Found", "text/plain", "Not found: the metrics are at /metrics\n", !head, request.close);
        else if (!head && request.method != "GET")
            answer = Answer("405 Method Not Allowed", "text/plain", "Only GET and HEAD\n", true, request.close, "GET, HEAD");
        else
            answer = Answer("200 OK", kMetricsContentType, mPage(), !head, request.close);
        if (!mTcp->Guard().MakeRoom(socket, answer.size())) {
            mTcp->Guard().Drop(socket);
            return;
        }
        socket->write(answer);
        if (request.close)
            socket->disconnectFromHost();
    }
}
