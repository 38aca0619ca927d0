// Greyed-out controls of the grey forms stay readable in every style: the disabled text
// colour stands out from the background the control is drawn on.
#include "dialogs/frmGlobalSettings.h"
#include "dialogs/frmModuleState.h"
#include "dialogs/frmProgramSettings.h"
#include "dialogs/frmProgress.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

int Luminance(const QColor &colour) { return qGray(colour.rgb()); }

std::unique_ptr<QWidget> MakeForm(const QString &name)
{
    if (name == QLatin1String("frmProgramSettings"))
        return std::make_unique<frmProgramSettings>(nullptr);
    if (name == QLatin1String("frmModuleState"))
        return std::make_unique<frmModuleState>();
    if (name == QLatin1String("frmGlobalSettings"))
        return std::make_unique<frmGlobalSettings>();
    return std::make_unique<frmProgress>();
}

} // namespace

class TestDisabledText : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QApplication::setStyle(QStyleFactory::create(QStyleFactory::keys().value(0))); }

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
        QFETCH(QString, style);
        QFETCH(QString, form);
        QFETCH(QString, control);
        QApplication::setStyle(QStyleFactory::create(style));
        std::unique_ptr<QWidget> window = MakeForm(form);
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

    // As drawn: the caption of a disabled port has pixels clearly darker than the grey.
    void disabledPortCaptionIsDrawn_data()
    {
        QTest::addColumn<QString>("style");
        for (const QString &style : QStyleFactory::keys())
            QTest::newRow(qPrintable(style)) << style;
    }
    void disabledPortCaptionIsDrawn()
    {
        QFETCH(QString, style);
        QApplication::setStyle(QStyleFactory::create(style));
        frmProgramSettings window(nullptr);
        window.optCom[2]->setText(QStringLiteral("COM2 (in use)"));
        window.optCom[2]->setEnabled(false);
        window.optCom[2]->resize(window.optCom[2]->sizeHint());
        const QImage image = window.optCom[2]->grab().toImage();
        QStyleOptionButton option;
        option.initFrom(window.optCom[2]);
        const QRect label = window.optCom[2]->style()->subElementRect(QStyle::SE_RadioButtonContents, &option,
                                                                    window.optCom[2]);
        const int background = Luminance(QColor(192, 192, 192));
        int dark = 0;
        const qreal ratio = image.devicePixelRatio();
        for (int y = int(label.top() * ratio); y < int(label.bottom() * ratio) && y < image.height(); ++y)
            for (int x = int(label.left() * ratio); x < int(label.right() * ratio) && x < image.width(); ++x)
                if (Luminance(image.pixelColor(x, y)) <= background - 40)
                    ++dark;
        QVERIFY2(dark >= 10, qPrintable(QStringLiteral("%1 dark pixels in the caption").arg(dark)));
    }
};

QTEST_MAIN(TestDisabledText)
#include "tst_disabledtext.moc"
