#pragma once
// Whole files for tests that write a file, hand it to the program and read back what it made.
#include <QByteArray>
#include <QFile>
#include <QString>

// Writes the bytes as the whole file and returns its path.
inline QString WriteTestFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

// The whole file; empty if it cannot be read.
inline QByteArray ReadTestFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
