#pragma once
// The reference ring's file: where the configuration puts it, what was read from it at
// start-up, and the words the status bar shows for it.
#include "model/ReferenceFile.h"

#include <QCoreApplication>
#include <QString>

class ReferenceRing
{
    Q_DECLARE_TR_FUNCTIONS(ReferenceRing)

public:
    // The file the configuration at iniPath names with "reference", beside it by default.
    static QString ConfiguredPath(const QString &iniPath);

    // Reads the configured file. Empty, or the message that says why it cannot be used.
    QString Load(const QString &iniPath);
    // Writes ring as the reference. Empty, or the message that says why it was not saved; the
    // file and what was read from it then stay as they were.
    QString Save(const QString &iniPath, const RingSnapshot &ring);

    const ReferenceFile &File() const { return mFile; }
    bool Loaded() const { return mFile.state == ReferenceFile::State::Loaded; }
    // "Replace the saved reference ring (12 modules, saved 2026-12-07 13:00)?", or empty
    // when no file would be replaced.
    QString ReplaceQuestion(const QString &iniPath) const;
    // "Reference: 118 of 120 present" (present: -1 before a scan), "No reference ring",
    // "Reference unreadable: line 7".
    QString StateText(int present) const;

private:
    ReferenceFile mFile;
};
