#pragma once
// The "Events" window: what changed on the ring, newest first, and the button that
// acknowledges them.
#include <QWidget>

class EventList;
class QPushButton;
class QTableView;

class frmEvents : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 9000;
    static constexpr int kClientHeightTwips = 4500;

    explicit frmEvents(EventList *events, QWidget *parent = nullptr);

    void cmdAcknowledge_Click();

    QTableView *tblEvents = nullptr;
    QPushButton *cmdAcknowledge = nullptr;

private:
    EventList *mEvents;
};
