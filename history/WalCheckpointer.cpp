#include "history/WalCheckpointer.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>

WalCheckpointer::WalCheckpointer(const QString &path)
{
    const QString name = QStringLiteral("ring-history-checkpoint-%1").arg(quintptr(this));
    auto *timer = new QTimer;
    timer->setInterval(kIntervalMs);
    timer->moveToThread(&mThread);
    QObject::connect(&mThread, &QThread::started, timer, [timer, name, path] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open())
            timer->start();
    });
    // PASSIVE: as much as the readers and writers of the moment allow, without waiting for them.
    QObject::connect(timer, &QTimer::timeout, timer,
                     [name] { QSqlQuery(QSqlDatabase::database(name, false)).exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")); });
    QObject::connect(&mThread, &QThread::finished, timer, [timer, name] {
        delete timer;
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }, Qt::DirectConnection);
    mThread.start();
}

WalCheckpointer::~WalCheckpointer()
{
    mThread.quit();
    mThread.wait();
}
