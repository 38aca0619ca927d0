// Runs the ring simulator for a test: starts it, hands out the terminal path to
// open as serial port, sends control lines and stops it again when destroyed.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryFile;

class RingSimProcess
{
public:
#ifdef ZEPH_RINGSIM_PATH
    explicit RingSimProcess(const QString &program = QStringLiteral(ZEPH_RINGSIM_PATH));
#else
    explicit RingSimProcess(const QString &program);
#endif
    ~RingSimProcess();
    RingSimProcess(const RingSimProcess &) = delete;
    RingSimProcess &operator=(const RingSimProcess &) = delete;

    // Modules 1..count, module 1 attached to the PC.
    bool startModules(int count, bool pacing = true, const QStringList &extraArgs = {});
    // ringText in the simulator's ring file format, one module per line.
    bool startRing(const QByteArray &ringText, bool pacing = true, const QStringList &extraArgs = {});
    // Any arguments; waits for the terminal path the simulator prints first.
    bool start(const QStringList &args, int timeoutMs = 5000);

    QString devicePath() const { return m_devicePath; }
    bool isRunning() const;

    // Sends one control line and returns once the simulator has carried it out.
    bool control(const QString &line, int timeoutMs = 3000);
    // The ring as the simulator sees it now, one module line each.
    QStringList list(int timeoutMs = 3000);
    // Everything the simulator wrote to stderr so far (its control errors, say).
    QString errors();

    void stop();

private:
    // Sends lines followed by an echo marker; returns the output lines before the marker.
    bool exchange(const QStringList &lines, QStringList *output, int timeoutMs);

    QString m_program;
    QProcess m_process;
    std::unique_ptr<QTemporaryFile> m_ringFile;
    QString m_devicePath;
    QString m_errors;
    int m_marker = 0;
};
