#pragma once
// The "Programming Record" window: every Apply and Verify Settings, newest first, each opening
// to its modules, filtered by module ID; says so when the record lasts only the run.
#include <QWidget>

class ProgrammingLog;
class ProgrammingRecordModel;
class QLabel;
class QLineEdit;
class QTreeView;

class frmProgrammingRecord : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 10500;
    static constexpr int kClientHeightTwips = 4500;

    explicit frmProgrammingRecord(ProgrammingLog *log, QWidget *parent = nullptr);

    ProgrammingRecordModel *Model() const { return mModel; }

    QLineEdit *txtModulID = nullptr;
    QTreeView *tvwRecords = nullptr;
    QLabel *lblLasting = nullptr;

private:
    void txtModulID_Change();
    void ShowLasting();

    ProgrammingLog *mLog;
    ProgrammingRecordModel *mModel;
};
