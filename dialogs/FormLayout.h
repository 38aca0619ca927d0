#pragma once
// Small building blocks the forms share: labelled text boxes, the rule combo, margins.
#include <QString>

class QCheckBox;
class QComboBox;
class QPushButton;
class QGridLayout;
class QLineEdit;
class QWidget;

// The light grey of the forms, RGB (192, 192, 192), with greyed-out text that stays readable on it.
void SetFormBackground(QWidget *form);
void SetCompactMargins(QGridLayout *grid);

// A right-aligned label in column 0 whose buddy is the text box in column 1.
QLineEdit *AddLabelledLineEdit(QGridLayout *grid, int row, const QString &name, const QString &label);

// "Error Relais:" on one row and the editable combo "cmbErrorRelais" below it, both columns wide.
QComboBox *AddRuleCombo(QGridLayout *grid, int row);

// The "Write to E²PROM" check box and "&Apply" on one row spanning both columns, so the
// check box does not widen the label column of a fixed-size form.
void AddApplyRow(QGridLayout *grid, int row, QCheckBox *check, QPushButton *apply);

// Lets a control give up width to the labels of a fixed-size form, down to minimumWidth.
void LetShrink(QWidget *control, int minimumWidth);
