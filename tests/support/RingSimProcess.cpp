#include "RingSimProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryFile>

RingSimProcess::RingSimProcess(const QString &program) : m_program(program)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
}

RingSimProcess::~RingSimProcess()
{
    stop();
}

bool RingSimProcess::startModules(int count, bool pacing, const QStringList &extraArgs)
{
    QStringList args{QStringLiteral("--modules"), QString::number(count)};
    if (!pacing)
        args << QStringLiteral("--no-pacing");
    return start(args + extraArgs);
}

bool RingSimProcess::startRing(const QByteArray &ringText, bool pacing, const QStringList &extraArgs)
{
    m_ringFile = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/zephlink9-ring-XXXXXX.txt"));
    if (!m_ringFile->open() || m_ringFile->write(ringText) != ringText.size() || !m_ringFile->flush())
        return false;
    QStringList args{QStringLiteral("--ring"), m_ringFile->fileName()};
    if (!pacing)
        args << QStringLiteral("--no-pacing");
    return start(args + extraArgs);
}

bool RingSimProcess::start(const QStringList &args, int timeoutMs)
{
    stop();
    m_devicePath.clear();
    m_process.start(m_program, args);
    if (!m_process.waitForStarted(timeoutMs))
        return false;
    QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() != QProcess::Running || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
    }
    m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return !m_devicePath.isEmpty();
}

bool RingSimProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

bool RingSimProcess::exchange(const QStringList &lines, QStringList *output, int timeoutMs)
{
    if (!isRunning())
        return false;
    const QString marker = QStringLiteral("-- ringsim-test-marker %1 --").arg(++m_marker);
    QByteArray text;
    for (const QString &line : lines)
        text += line.toLocal8Bit() + '\n';
    text += "echo " + marker.toLocal8Bit() + '\n';
    if (m_process.write(text) != text.size())
        return false;

    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (m_process.canReadLine()) {
            const QString line = QString::fromLocal8Bit(m_process.readLine()).chopped(1);
            if (line == marker)
                return true;
            if (output)
                output->append(line);
        }
        if (!isRunning() || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
    }
}

bool RingSimProcess::control(const QString &line, int timeoutMs)
{
    return exchange({line}, nullptr, timeoutMs);
}

QStringList RingSimProcess::list(int timeoutMs)
{
    QStringList lines;
    if (!exchange({QStringLiteral("list")}, &lines, timeoutMs))
        return {};
    return lines;
}

QString RingSimProcess::errors()
{
    m_errors += QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_errors;
}

void RingSimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    m_errors += QString::fromLocal8Bit(m_process.readAllStandardError());
}
