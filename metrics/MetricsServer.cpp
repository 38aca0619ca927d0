#include "metrics/MetricsServer.h"

#include "metrics/GuardedTcpServer.h"
#include "metrics/MetricsPage.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>

namespace {

using Status = QHttpServerResponder::StatusCode;

void Answer(QHttpServerResponder &responder, Status status, const QByteArray &contentType, const QByteArray &body,
            bool withBody, const QByteArray &allow = {})
{
    responder.writeStatusLine(status);
    responder.writeHeader("Content-Type", contentType);
    responder.writeHeader("Content-Length", QByteArray::number(body.size()));
    if (!allow.isEmpty())
        responder.writeHeader("Allow", allow);
    responder.writeBody(withBody ? body : QByteArray());
}

} // namespace

MetricsServer::MetricsServer(std::function<QByteArray()> page, QObject *parent)
    : QAbstractHttpServer(parent), mPage(std::move(page))
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
    bind(tcp);
    mTcp = tcp;
    return {};
}

bool MetricsServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    QHttpServerResponder responder = makeResponder(request, socket);
    const bool head = request.method() == QHttpServerRequest::Method::Head;
    if (request.url().path() != QLatin1String("/metrics"))
        Answer(responder, Status::NotFound, "text/plain", "Not found: the metrics are at /metrics\n", !head);
    else if (!head && request.method() != QHttpServerRequest::Method::Get)
        Answer(responder, Status::MethodNotAllowed, "text/plain", "Only GET and HEAD\n", true, "GET, HEAD");
    else
        Answer(responder, Status::Ok, kMetricsContentType, mPage(), !head);
    return true;
}

void MetricsServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    QHttpServerResponder responder = makeResponder(request, socket);
    Answer(responder, Status::NotFound, "text/plain", "Not found\n", true);
}
