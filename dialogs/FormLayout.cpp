#include "dialogs/FormLayout.h"

#include "dialogs/RuleCombo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

void SetFormBackground(QWidget *form)
{
    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    // Greyed-out text in dark grey with a white emboss, so that it stays readable on the grey
    // whatever the style's own disabled colours are.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
    palette.setColor(QPalette::Disabled, QPalette::Light, Qt::white);
    form->setPalette(palette);
    form->setAutoFillBackground(true);
}

void SetCompactMargins(QGridLayout *grid)
{
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
}

QLineEdit *AddLabelledLineEdit(QGridLayout *grid, int row, const QString &name, const QString &label)
{
    QWidget *form = grid->parentWidget();
    auto *edit = new QLineEdit(form);
    edit->setObjectName(name);
    auto *caption = new QLabel(label, form);
    caption->setObjectName(name + QStringLiteral("Label"));
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

QComboBox *AddRuleCombo(QGridLayout *grid, int row)
{
    QWidget *form = grid->parentWidget();
    auto *combo = new RuleCombo(form);
    auto *caption = new QLabel(QCoreApplication::translate("FormLayout", "Error Relais:"), form);
    caption->setObjectName(QStringLiteral("cmbErrorRelaisLabel"));
    caption->setBuddy(combo);
    grid->addWidget(caption, row, 0, 1, 2);
    grid->addWidget(combo, row + 1, 0, 1, 2);
    return combo;
}

void AddApplyRow(QGridLayout *grid, int row, QCheckBox *check, QPushButton *apply)
{
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(check);
    LetShrink(apply, 50);
    bottomRow->addWidget(apply, 1);
    grid->addLayout(bottomRow, row, 0, 1, 2);
}

void LetShrink(QWidget *control, int minimumWidth)
{
    control->setMinimumWidth(minimumWidth);
    control->setSizePolicy(QSizePolicy::Ignored, control->sizePolicy().verticalPolicy());
}
