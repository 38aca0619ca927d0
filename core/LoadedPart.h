#pragma once
// A part of the program built as a plugin of its own and loaded when first needed (the network
// services, the charts): beside the program, in its installed folder, or on Qt's plugin paths.
#include <QObject>
#include <QString>

// The part's root object, loaded for the rest of the run; null with problem saying why.
QObject *LoadPart(const QString &name, QString *problem);

template<class Interface>
Interface *LoadPartAs(const QString &name, QString *problem)
{
    QObject *root = LoadPart(name, problem);
    Interface *part = qobject_cast<Interface *>(root);
    if (root && !part)
        *problem = QStringLiteral("%1 is not the part this program expects").arg(name);
    return part;
}
