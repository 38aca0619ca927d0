#include "dialogs/RuleCombo.h"

#include <QAbstractItemView>
#include <QLineEdit>

RuleCombo::RuleCombo(QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(QStringLiteral("cmbErrorRelais"));
    setEditable(true);
    // The built-in completer would complete a typed text, in any case, to the rule it
    // begins like; Apply compares exactly what was typed.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    // Its longest rule would otherwise set the form's minimum width.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    // A rule wider than the combo shows its beginning, not its cut end.
    connect(this, &QComboBox::currentIndexChanged, this, &RuleCombo::ShowStart);
    connect(this, &QComboBox::currentTextChanged, this, &RuleCombo::ShowStartUnlessTyping);
}

void RuleCombo::ShowStart()
{
    lineEdit()->setCursorPosition(0);
}

void RuleCombo::ShowStartUnlessTyping()
{
    // A text set by the program leaves the line unmodified; the user's typing does not.
    if (!lineEdit()->isModified())
        ShowStart();
}
