// Runs the ring simulator for a test: starts it, hands out the terminal path to open as
// serial port, carries out control lines and stops it when destroyed.
#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryFile>

#include <memory>
#include <optional>

class RingSimProcess
{
public:
    ~RingSimProcess() { stop(); }

    // Any arguments; a non-empty ringText (the simulator's ring file format) becomes --ring.
    // Waits for the terminal path that the simulator prints first.
    bool start(QStringList args, const QByteArray &ringText = {})
    {
        stop();
        if (!ringText.isEmpty()) {
            m_ringFile = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/zephlink9-ring-XXXXXX"));
            if (!m_ringFile->open() || m_ringFile->write(ringText) != ringText.size() || !m_ringFile->flush())
                return false;
            args << QStringLiteral("--ring") << m_ringFile->fileName();
        }
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral(ZEPH_RINGSIM_PATH), args);
        m_devicePath = readLine().value_or(QString());
        return m_devicePath.startsWith(QLatin1Char('/'));
    }
    // The terminal's path once started, else what the simulator said.
    QString devicePath() const { return m_devicePath; }

    // Sends the line and returns once the simulator has carried it out, with what it printed
    // (its complaints included).
    std::optional<QStringList> control(const QString &line)
    {
        const QString marker = QStringLiteral("-- ringsim-test-marker %1 --").arg(++m_marker);
        const QByteArray text = (line + QStringLiteral("\necho ") + marker + QLatin1Char('\n')).toLocal8Bit();
        if (m_process.write(text) != text.size())
            return std::nullopt;
        QStringList output;
        while (const std::optional<QString> got = readLine()) {
            if (*got == marker)
                return output;
            output << *got;
        }
        return std::nullopt;
    }
    // The ring as the simulator sees it now, one module line each.
    QStringList list() { return control(QStringLiteral("list")).value_or(QStringList()); }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished();
    }

private:
    std::optional<QString> readLine(int timeoutMs = 5000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!m_process.canReadLine()) {
            if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
                return std::nullopt;
            m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        }
        return QString::fromLocal8Bit(m_process.readLine()).chopped(1);
    }

    QProcess m_process;
    std::unique_ptr<QTemporaryFile> m_ringFile;
    QString m_devicePath;
    int m_marker = 0;
};
