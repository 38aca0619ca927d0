#include "dialogs/RuleCombo.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QScrollBar>

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
    // Setting the text it already holds moves the cursor to the end without any change signal.
    connect(lineEdit(), &QLineEdit::cursorPositionChanged, this, &RuleCombo::KeepStartUnlessEditing);
}

void RuleCombo::showPopup()
{
    // The list is at least as wide as its longest rule, so rules that differ only in
    // their middle can be told apart.
    QAbstractItemView *list = view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth()
                          + list->verticalScrollBar()->sizeHint().width());
    QComboBox::showPopup();
}

void RuleCombo::ShowStart()
{
    lineEdit()->setCursorPosition(0);
}

void RuleCombo::KeepStartUnlessEditing()
{
    // Only the user moves the cursor of a line that has the focus.
    if (!lineEdit()->hasFocus())
        ShowStart();
}
