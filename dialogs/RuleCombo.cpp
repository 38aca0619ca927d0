#include "dialogs/RuleCombo.h"

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
}
