#pragma once
// The ring order the side sort should give for a ring as the simulator lists it: the
// attached module, the L modules in list order, then all others in reverse order.
#include <QList>
#include <QStringList>

QList<int> SideSortedOrder(const QStringList &simulatorList);
