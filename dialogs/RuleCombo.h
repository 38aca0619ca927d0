#pragma once
// The editable combo of the four error-relay rules: what the user types stays as typed,
// a long rule shows its beginning, and the drop-down list shows every rule whole.
#include <QComboBox>

class RuleCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit RuleCombo(QWidget *parent = nullptr);

private:
    void ShowStart();
    void ShowStartUnlessTyping();
};
