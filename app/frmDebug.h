#pragma once
// "Debug": the bytes received from the ring, eleven to a line in hexadecimal.
#include <QWidget>

class QListWidget;
class QPushButton;

class frmDebug : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 3255;
    static constexpr int kClientHeightTwips = 3030;

    explicit frmDebug(QWidget *parent = nullptr);

    // Appends a line and selects it, which scrolls it into view.
    void AddLine(const QString &line);
    void cmdClearDebugOutput_Click();

    QListWidget *lstDebugOutput;
    QPushButton *cmdClearDebugOutput;
};
