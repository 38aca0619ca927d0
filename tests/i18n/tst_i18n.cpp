// The program's languages on the simulator: with a translation that marks every text it
// translates, each text a screen reader finds in the windows, menus and boxes, and each line
// of the report, is marked; the German program and the English one say what they should.
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

// Every text Qt asks for comes back between "[[" and "]]".
class MarkingTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;
    QString translate(const char *, const char *sourceText, const char *, int) const override
    {
        return QStringLiteral("[[%1]]").arg(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }
};

void RemoveTranslations()
{
    for (QTranslator *translator : qApp->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QLocale::setDefault(QLocale::c());
}

// The words of text outside the marks, leaving out what is the same in every language: the
// product's name, ports, devices, the relay rules and the ring drawing's "PC". A mark cut short
// (an elided cell) runs to the end.
QStringList UnmarkedWords(const QString &text)
{
    QString outside;
    int depth = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text.mid(k, 2) == QLatin1String("[[")) {
            ++depth, ++k;
        } else if (depth > 0 && text.mid(k, 2) == QLatin1String("]]")) {
            --depth, ++k;
            outside += QLatin1Char(' ');
        } else if (depth == 0) {
            outside += text[k];
        }
    }
    static const QRegularExpression same(QStringLiteral("ZEPHLINK9 Setup Tool|ZEPHLINK9|COM\\d|/\\S*|\\bPC\\b|"
                                                        "CH[12]_Error|\\bAND\\b|\\bOR\\b|\\bNOT\\b|0x[0-9A-F]{2}"));
    static const QRegularExpression word(QStringLiteral("[A-Za-zÄÖÜäöüß]{2,}"));
    outside.replace(same, QStringLiteral(" "));
    QStringList words;
    for (auto match = word.globalMatch(outside); match.hasNext();)
        words << match.next().captured();
    return words;
}

// What a screen reader reads of the widget and everything in it that is shown.
void ReadAloud(QAccessibleInterface *node, QStringList &texts, int depth = 0)
{
    if (!node || depth > 30 || node->state().invisible)
        return;
    for (const QAccessible::Text kind : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
        if (const QString text = node->text(kind); !text.isEmpty())
            texts << text;
    for (int k = 0; k < node->childCount(); ++k)
        ReadAloud(node->child(k), texts, depth + 1);
}

// Each text with words outside the marks, and those words.
QStringList Unmarked(const QStringList &texts)
{
    QStringList found;
    for (const QString &text : texts)
        if (const QStringList words = UnmarkedWords(text); !words.isEmpty())
            found << QStringLiteral("%1  <-  %2").arg(words.join(QLatin1Char(' ')), text);
    found.removeDuplicates();
    return found;
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
    static constexpr int kModules = 6;

    // The program on the simulator's ring, scanned, with its windows open.
    std::unique_ptr<RunningProgram> StartProgram()
    {
        auto program = std::make_unique<RunningProgram>(mSim.devicePath());
        frmMain &main = program->Main();
        main.show();
        if (!QTest::qWaitForWindowExposed(&main) || !program->ScanSettled() || main.Core().Table().Count() != kModules)
            return nullptr;
        main.ModuleList();
        main.Events();
        main.Trends();
        main.Debug();
        main.LoadProgramSettings();
        return program;
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs a window system");
        QVERIFY(mSim.start({QStringLiteral("--modules"), QString::number(kModules)}));
    }
    void cleanup() { RemoveTranslations(); }

    void languageChosen_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("language");
        QTest::newRow("German user") << "" << QStringList{"de-DE", "en-US"} << "de";
        QTest::newRow("Austrian user") << "" << QStringList{"de_AT"} << "de";
        QTest::newRow("English user") << "" << QStringList{"en-GB", "de-DE"} << "en";
        QTest::newRow("French user") << "" << QStringList{"fr-FR"} << "en";
        QTest::newRow("French user who reads German") << "" << QStringList{"fr-FR", "de-DE"} << "de";
        QTest::newRow("no language") << "" << QStringList{} << "en";
        QTest::newRow("key de on English") << "de" << QStringList{"en-US"} << "de";
        QTest::newRow("key en on German") << " EN " << QStringList{"de-DE"} << "en";
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
        main.ModuleState();
        main.GlobalSettings();
        QStringList texts;
        ReadAloud(QAccessible::queryAccessibleInterface(&main), texts);
        for (QMenu *menu : main.menuBar()->findChildren<QMenu *>())
            ReadAloud(QAccessible::queryAccessibleInterface(menu), texts);
        QVERIFY(texts.size() > 100);
        program->catcher.whileOpen = [&texts] {
            ReadAloud(QAccessible::queryAccessibleInterface(QApplication::activeModalWidget()), texts);
        };
        main.mnuAbout_Click();
        main.mnuSaveReference_Click();
        main.mnuSaveReference_Click();
        main.ShowNoModulesFound();
        QCOMPARE(program->catcher.boxes.size(), 3);
        const QString pdf = program->Path(QStringLiteral("report.pdf"));
        main.SaveReport(pdf);
        main.SaveReport(program->Path(QStringLiteral("report.csv")));
        texts << QString::fromUtf8(ReadTestFile(program->Path(QStringLiteral("report.csv")))).split(QLatin1Char(','));
        if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            texts << PdfText(pdf).split(QLatin1Char('\n'));
        const QStringList unmarked = Unmarked(texts);
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
                                               "Module: 6", "Seite 1 von 2", "Fehlerzähler", "Modul-ID"};
        QTest::newRow("English") << "en" << QStringList{"E&xit", "&Refresh", "&Settings", "&Ring", "About"}
                                 << QStringList{"Pos", "ID", "Side", "Version", "Baud", "Parity", "Stop", "Error Relais"}
                                 << QStringList{"&Yes", "&No"}
                                 << QStringList{"ZEPHLINK9 Ring Report", "Date: 20\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d",
                                                "Modules: 6", "Page 1 of 2", "error-counter", "Module ID"};
    }
    void languageOnTheRing()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, menus);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, buttons);
        QFETCH(QStringList, report);
        QVERIFY(InstallTranslations(language));
        std::unique_ptr<RunningProgram> program = StartProgram();
        QVERIFY(program);
        frmMain &main = program->Main();
        QStringList menuTexts;
        for (QAction *action : main.menuBar()->actions())
            menuTexts << action->text();
        QCOMPARE(menuTexts, menus);
        QAbstractItemModel *rows = main.findChild<frmModuleList *>()->tblModuleList->model();
        QStringList headerTexts;
        for (int column = 0; column < headers.size(); ++column)
            headerTexts << rows->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headerTexts, headers);

        QStringList buttonTexts;
        program->catcher.answer = QMessageBox::No;
        program->catcher.whileOpen = [&buttonTexts] {
            for (QAbstractButton *button : qobject_cast<QMessageBox *>(QApplication::activeModalWidget())->buttons())
                buttonTexts << button->text();
        };
        main.mnuSaveReference_Click();
        main.mnuSaveReference_Click();
        buttonTexts.sort();
        std::sort(buttons.begin(), buttons.end());
        QCOMPARE(buttonTexts, buttons);

        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) reads the report back");
        const QString pdf = program->Path(QStringLiteral("report.pdf"));
        main.SaveReport(pdf);
        const QString text = PdfText(pdf);
        for (const QString &line : report)
            QVERIFY2(text.contains(QRegularExpression(line)), qPrintable(line + QStringLiteral(" in\n") + text));
    }
};

QTEST_MAIN(TestI18n)
#include "tst_i18n.moc"
