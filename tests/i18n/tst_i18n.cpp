// The program's languages on the simulator: with a translation that marks each text it gives,
// every text a screen reader finds in the windows, menus and boxes, and every line of the
// report, is marked; the German program and the English one say what they should.
#include "RingProgram.h"
#include "RingSimProcess.h"
#include "app/Translations.h"
#include "core/UiLanguage.h"
#include "ringview/frmModuleList.h"

#include <QAccessible>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTranslator>

namespace {

class MarkingTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;
    QString translate(const char *, const char *source, const char *, int) const override
    {
        return QStringLiteral("[[%1]]").arg(QString::fromUtf8(source));
    }
    bool isEmpty() const override { return false; }
};

// Whether words stand outside the marks, but for what every language writes alike: the
// product's name, ports, devices, the relay rules, mode bytes and the drawing's "PC". A mark cut
// short by elision runs to the end.
bool HasUnmarkedWords(const QString &text)
{
    QString outside;
    int depth = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QStringView two = QStringView(text).mid(k, 2);
        if (two == QLatin1String("[[") || (depth > 0 && two == QLatin1String("]]"))) {
            depth += two == QLatin1String("[[") ? 1 : -1;
            outside += QLatin1Char(' ');
            ++k;
        } else if (depth == 0) {
            outside += text[k];
        }
    }
    static const QRegularExpression same(QStringLiteral("ZEPHLINK9 Setup Tool|ZEPHLINK9|COM\\d|/\\S*|\\bPC\\b|"
                                                        "CH[12]_Error|\\b(AND|OR|NOT)\\b|0x[0-9A-F]{2}"));
    static const QRegularExpression word(QStringLiteral("[A-Za-zÄÖÜäöüß]{2,}"));
    return word.match(outside.replace(same, QStringLiteral(" "))).hasMatch();
}

// What a screen reader reads of a widget and of everything shown in it.
void ReadAloud(QAccessibleInterface *node, QStringList &texts, int depth = 0)
{
    if (!node || depth > 30 || node->state().invisible)
        return;
    for (const QAccessible::Text kind : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
        texts << node->text(kind);
    for (int k = 0; k < node->childCount(); ++k)
        ReadAloud(node->child(k), texts, depth + 1);
}

QString PdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")), {path, QStringLiteral("-")});
    pdftotext.waitForFinished();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

} // namespace

class TestI18n : public QObject
{
    Q_OBJECT

    RingSimProcess mSim;

    // The program on the simulator's six modules, scanned, with every window open.
    std::unique_ptr<RunningProgram> StartProgram()
    {
        auto program = std::make_unique<RunningProgram>(mSim.devicePath());
        frmMain &main = program->Main();
        main.show();
        if (!QTest::qWaitForWindowExposed(&main) || !program->ScanSettled() || main.Core().Table().Count() != 6)
            return nullptr;
        main.ModuleList(), main.Events(), main.Trends(), main.Debug(), main.LoadProgramSettings();
        return program;
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs a window system");
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) reads the report back");
        QVERIFY(mSim.start({QStringLiteral("--modules"), QStringLiteral("6")}));
    }
    void cleanup()
    {
        for (QTranslator *translator : qApp->findChildren<QTranslator *>())
            delete translator;
    }

    void languageChosen_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("language");
        QTest::newRow("English user who reads German") << "" << QStringList{"en-GB", "de_AT"} << "en";
        QTest::newRow("French user who reads German") << "" << QStringList{"fr-FR", "de-CH"} << "de";
        QTest::newRow("French user") << "" << QStringList{"fr-FR"} << "en";
        QTest::newRow("key en on German") << " EN " << QStringList{"de-DE"} << "en";
        QTest::newRow("key de on English") << "de" << QStringList{"en-US"} << "de";
        QTest::newRow("key unknown") << "fr" << QStringList{"de-DE"} << "de";
    }
    void languageChosen()
    {
        QFETCH(QString, configured);
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, language);
        QCOMPARE(ChooseUiLanguage(configured, uiLanguages), language);
    }

    void everyTextIsTranslated()
    {
        QCoreApplication::installTranslator(new MarkingTranslator(qApp));
        std::unique_ptr<RunningProgram> program = StartProgram();
        QVERIFY(program);
        frmMain &main = program->Main();
        QStringList texts;
        ReadAloud(QAccessible::queryAccessibleInterface(&main), texts);
        for (QMenu *menu : main.menuBar()->findChildren<QMenu *>())
            ReadAloud(QAccessible::queryAccessibleInterface(menu), texts);
        program->catcher.whileOpen = [&texts] {
            ReadAloud(QAccessible::queryAccessibleInterface(QApplication::activeModalWidget()), texts);
        };
        main.mnuAbout_Click();
        main.mnuSaveReference_Click();
        main.mnuSaveReference_Click();  // asks whether to replace it
        main.ShowNoModulesFound();
        QCOMPARE(program->catcher.boxes.size(), 3);
        main.SaveReport(program->Path(QStringLiteral("report.pdf")));
        main.SaveReport(program->Path(QStringLiteral("report.csv")));
        texts << PdfText(program->Path(QStringLiteral("report.pdf"))).split(QLatin1Char('\n'))
              << QString::fromUtf8(ReadTestFile(program->Path(QStringLiteral("report.csv")))).split(QLatin1Char(','));
        QVERIFY(texts.size() > 500);
        QStringList unmarked;
        for (const QString &text : texts)
            if (HasUnmarkedWords(text))
                unmarked << text;
        QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(QLatin1Char('\n'))));
    }

    void languageOnTheRing_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QStringList>("report");
        QTest::newRow("German") << "de" << QStringList{"&Beenden", "&Aktualisieren", "&Einstellungen", "&Ring", "Info"}
                                << QStringList{"Pos", "ID", "Seite", "Version", "Baud", "Parität", "Stopp", "Fehlerrelais"}
                                << QStringList{"&Ja", "&Nein"}
                                << QStringList{"ZEPHLINK9 Ringbericht", "Datum: \\d\\d\\.\\d\\d\\.20\\d\\d \\d\\d:\\d\\d",
                                               "Module: 6", "Seite 1 von 3", "Programmierprotokoll, letzte 30 Tage", "Fehlerzähler", "Modul-ID"};
        QTest::newRow("English") << "en" << QStringList{"E&xit", "&Refresh", "&Settings", "&Ring", "About"}
                                 << QStringList{"Pos", "ID", "Side", "Version", "Baud", "Parity", "Stop", "Error Relais"}
                                 << QStringList{"&No", "&Yes"}
                                 << QStringList{"ZEPHLINK9 Ring Report", "Date: 20\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d",
                                                "Modules: 6", "Page 1 of 3", "Programming record, last 30 days", "error-counter", "Module ID"};
    }
    void languageOnTheRing()
    {
        QFETCH(QString, language);
        QVERIFY(InstallTranslations(language));
        std::unique_ptr<RunningProgram> program = StartProgram();
        QVERIFY(program);
        frmMain &main = program->Main();
        QStringList texts;
        for (QAction *action : main.menuBar()->actions())
            texts << action->text();
        QTEST(texts, "menus");
        texts.clear();
        for (int column = 0; column < 8; ++column)
            texts << main.findChild<frmModuleList *>()->tblModuleList->model()->headerData(column, Qt::Horizontal).toString();
        QTEST(texts, "headers");

        texts.clear();
        program->catcher.answer = QMessageBox::No;
        program->catcher.whileOpen = [&texts] {
            for (QAbstractButton *button : qobject_cast<QMessageBox *>(QApplication::activeModalWidget())->buttons())
                texts << button->text();
        };
        main.mnuSaveReference_Click();
        main.mnuSaveReference_Click();
        texts.sort();
        QTEST(texts, "buttons");

        main.SaveReport(program->Path(QStringLiteral("report.pdf")));
        const QString text = PdfText(program->Path(QStringLiteral("report.pdf")));
        QFETCH(QStringList, report);
        for (const QString &line : report)
            QVERIFY2(text.contains(QRegularExpression(line)), qPrintable(line + QStringLiteral(" in\n") + text));
    }
};

QTEST_MAIN(TestI18n)
#include "tst_i18n.moc"
