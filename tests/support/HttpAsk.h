#pragma once
// One HTTP exchange on a connection of its own, with the event loop running, so that a server
// in the same program answers too.
#include <QHostAddress>
#include <QTcpServer>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QtTest>

// The answer, whole once as much of the body as its Content-Length says is in (the head alone
// for HEAD), or what came before the connection closed or the limit passed.
inline QByteArray AskHttp(quint16 port, const QByteArray &request, int limitMs = 1000)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(request);
    QByteArray answer;
    const QRegularExpression length(QStringLiteral("Content-Length: (\\d+)"), QRegularExpression::CaseInsensitiveOption);
    (void)QTest::qWaitFor([&] {
        answer += socket.readAll();
        const qsizetype end = answer.indexOf("\r\n\r\n");
        const QRegularExpressionMatch match = length.match(QString::fromLatin1(answer.left(end)));
        return socket.state() == QAbstractSocket::UnconnectedState
            || (end >= 0 && match.hasMatch()
                && (request.startsWith("HEAD") || answer.size() - end - 4 >= match.captured(1).toInt()));
    }, limitMs);
    return answer;
}

// GET of path, the connection closed after the answer.
inline QByteArray GetHttp(quint16 port, const QByteArray &path, int limitMs = 1000)
{
    return AskHttp(port, "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n", limitMs);
}

// A TCP port on the loopback address that nobody listens on now.
inline quint16 FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}
