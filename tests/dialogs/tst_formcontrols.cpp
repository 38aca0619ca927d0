// Controls of the grey forms as a user meets them: the rule combos of Module State and Global
// Settings (typed text is compared as typed, long rules show their beginning, the list shows
// every rule whole), and greyed-out controls that stay readable in every style.
#include "MemorySerialPort.h"
#include "core/RingCore.h"
#include "dialogs/frmGlobalSettings.h"
#include "dialogs/frmModuleState.h"
#include "dialogs/frmProgramSettings.h"
#include "dialogs/frmProgress.h"
#include "model/Global.h"
#include "model/ModeByte.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>
#include <memory>

namespace {

enum class Form { ModuleState, GlobalSettings };
const QList<std::pair<const char *, Form>> kForms{{"Module State", Form::ModuleState},
                                                  {"Global Settings", Form::GlobalSettings}};

int Luminance(const QColor &colour) { return qGray(colour.rgb()); }

std::unique_ptr<QWidget> MakeForm(const QString &name, RingCore &core)
{
    if (name == QLatin1String("frmProgramSettings"))
        return std::make_unique<frmProgramSettings>(core);
    if (name == QLatin1String("frmModuleState"))
        return std::make_unique<frmModuleState>(core);
    if (name == QLatin1String("frmGlobalSettings"))
        return std::make_unique<frmGlobalSettings>(core);
    return std::make_unique<frmProgress>(1);
}

} // namespace

Q_DECLARE_METATYPE(Form)

class TestFormControls : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> window;
    MemorySerialPort port;
    std::unique_ptr<RingCore> core;
    QComboBox *combo = nullptr;

    void Load(Form which)
    {
        if (which == Form::ModuleState)
            window = std::make_unique<frmModuleState>(*core);
        else
            window = std::make_unique<frmGlobalSettings>(*core);
        combo = window->findChild<QComboBox *>(QStringLiteral("cmbErrorRelais"));
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // The rule bits that "&Apply" sends for what the combo holds now.
    int AppliedRuleBits(Form which)
    {
        if (which == Form::GlobalSettings)
            return static_cast<frmGlobalSettings *>(window.get())->ComposeSettingsByte() & ModeByte::kRuleMask;
        auto *state = static_cast<frmModuleState *>(window.get());
        state->txtModulID->setText(QStringLiteral("7"));
        port.written.clear();
        state->cmdApply_Click();
        if (port.written.size() != 1 || port.written.first().size() < 4)
            return -1;
        return uint8_t(port.written.first().at(3)) & ModeByte::kRuleMask;
    }

private slots:
    void init()
    {
        port.Open();
        core = std::make_unique<RingCore>(&port);
    }
    void cleanup()
    {
        window.reset();
        core.reset();
    }

    void typedTextIsComparedAsTyped_data()
    {
        QTest::addColumn<Form>("form");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("ruleBits");
        for (const auto &[name, form] : kForms) {
            QTest::addRow("%s: a rule in small letters", name) << form << "not ch1_error and not ch2_error" << 0x00;
            QTest::addRow("%s: the start of a rule", name) << form << "CH1_Error OR" << 0x00;
            QTest::addRow("%s: a rule as listed", name) << form << "CH1_Error OR CH2_Error" << 0x20;
        }
    }
    void typedTextIsComparedAsTyped()
    {
        QFETCH(Form, form);
        QFETCH(QString, typed);
        Load(form);
        combo->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), typed);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(combo->currentText(), typed);
        QTEST(AppliedRuleBits(form), "ruleBits");
    }

    // Set by the program, chosen with the arrow keys, or chosen from the list: the line
    // shows the rule from its first letter.
    void ruleShowsItsBeginning_data()
    {
        QTest::addColumn<Form>("form");
        QTest::addColumn<QString>("how");
        for (const auto &[name, form] : kForms)
            for (const char *how : {"text", "same text again", "index", "arrow key", "list"})
                QTest::addRow("%s: %s", name, how) << form << QString::fromLatin1(how);
    }
    void ruleShowsItsBeginning()
    {
        QFETCH(Form, form);
        QFETCH(QString, how);
        Load(form);
        const QString longRule = ModeByte::RuleTexts().at(3);
        if (how == "text") {
            combo->setCurrentText(longRule);
        } else if (how == "same text again") {
            combo->setCurrentIndex(3);
            combo->setCurrentText(longRule);
        } else if (how == "index") {
            combo->setCurrentIndex(3);
        } else if (how == "arrow key") {
            combo->setCurrentIndex(2);
            combo->setFocus();
            combo->lineEdit()->end(false);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Down);
        } else {
            combo->setFocus();
            combo->lineEdit()->end(false);
            combo->showPopup();
            combo->view()->setCurrentIndex(combo->model()->index(3, 0));
            QTest::keyClick(combo->view(), Qt::Key_Return);
        }
        QCOMPARE(combo->currentText(), longRule);
        QCOMPARE(combo->lineEdit()->cursorPosition(), 0);
    }

    // The open list is wide enough for its longest rule: "... AND NOT ..." and "... OR NOT ..."
    // are not both cut to the same text.
    void listShowsEveryRuleWhole_data()
    {
        QTest::addColumn<Form>("form");
        for (const auto &[name, form] : kForms)
            QTest::newRow(name) << form;
    }
    void listShowsEveryRuleWhole()
    {
        QFETCH(Form, form);
        Load(form);
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs a real window system for the drop-down list (install xvfb)");
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        QTRY_VERIFY(list->isVisible());
        const QFontMetrics metrics(list->font());
        for (int row = 0; row < combo->count(); ++row) {
            const QModelIndex item = combo->model()->index(row, 0);
            const QRect shown = list->visualRect(item);
            QVERIFY2(shown.right() < list->viewport()->width(), qPrintable(item.data().toString()));
            QVERIFY2(metrics.horizontalAdvance(item.data().toString()) < shown.width(),
                     qPrintable(item.data().toString()));
        }
        combo->hidePopup();
    }

    // The disabled text colour stands out from the background the control is drawn on.
    void disabledTextStandsOut_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("control");
        const QList<QStringList> controls{{"frmProgramSettings", "optCom2"},  {"frmProgramSettings", "cmdOK"},
                                          {"frmModuleState", "cmdApply"},      {"frmModuleState", "txtModulID"},
                                          {"frmModuleState", "txtModulIDLabel"}, {"frmModuleState", "chkWriteToEEPROM"},
                                          {"frmGlobalSettings", "cmdApply"},   {"frmProgress", "cmdOK"}};
        for (const QString &style : QStyleFactory::keys())
            for (const QStringList &row : controls)
                QTest::addRow("%s %s %s", qPrintable(style), qPrintable(row[0]), qPrintable(row[1]))
                    << style << row[0] << row[1];
    }
    void disabledTextStandsOut()
    {
        auto restoreStyle = qScopeGuard([before = QApplication::style()->name()] {
            QApplication::setStyle(QStyleFactory::create(before));
        });
        QFETCH(QString, style);
        QFETCH(QString, form);
        QFETCH(QString, control);
        QApplication::setStyle(QStyleFactory::create(style));
        std::unique_ptr<QWidget> window = MakeForm(form, *core);
        auto *widget = window->findChild<QWidget *>(control);
        QVERIFY(widget);
        widget->setEnabled(false);
        const QPalette &palette = widget->palette();
        QPalette::ColorRole text = QPalette::WindowText;
        QPalette::ColorRole background = QPalette::Window;
        if (qobject_cast<QPushButton *>(widget)) {
            text = QPalette::ButtonText;
            background = QPalette::Button;
        } else if (qobject_cast<QLineEdit *>(widget)) {
            text = QPalette::Text;
            background = QPalette::Base;
        }
        const int contrast = std::abs(Luminance(palette.color(QPalette::Disabled, text)) -
                                      Luminance(palette.color(QPalette::Disabled, background)));
        QVERIFY2(contrast >= 40, qPrintable(QStringLiteral("luminance difference %1").arg(contrast)));
    }
};

QTEST_MAIN(TestFormControls)
#include "tst_formcontrols.moc"
