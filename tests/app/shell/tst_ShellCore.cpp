// Step table, navigation rules, language choice, version check and recent files: plain logic.
#include "app/page/CStepTable.h"
#include "app/shell/CLanguageChoice.h"
#include "app/shell/CNavigationRules.h"
#include "app/shell/CRecentFileList.h"
#include "app/shell/CVersionCheck.h"

#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using Kind = NavigationAction::Kind;
using Actions = std::vector<NavigationAction>;
Q_DECLARE_METATYPE(Actions)

class tst_ShellCore : public QObject
{
    Q_OBJECT

private slots:
    void stepCodesMapToTheirSlotsAndBack();
    void helpDocumentOfEveryStepAndOfUnknownOnes_data();
    void helpDocumentOfEveryStepAndOfUnknownOnes();
    void targetAbove512CarriesTheFreshPageFlag_data();
    void targetAbove512CarriesTheFreshPageFlag();
    void navigationRulesRowByRow_data();
    void navigationRulesRowByRow();
    void firstStartTakesTheSystemLanguageNumber_data();
    void firstStartTakesTheSystemLanguageNumber();
    void storedLanguageIsKeptAndNoFileWritten();
    void languageFileBytesHaveNoFinalLineEnd();
    void menuChoiceRewritesValueAndFile();
    void versionChangeIsReportedOnce();
    void recentFilesKeepSixteenNewestWithoutRepeats();
};

void tst_ShellCore::stepCodesMapToTheirSlotsAndBack()
{
    const int steps[] = { 995, 1, 5, 10, 12, 15, 20, 30 };
    for (int slot = 0; slot < CStepTable::SlotCount; ++slot) {
        QCOMPARE(CStepTable::SlotOfStep(steps[slot]), slot);
        QCOMPARE(CStepTable::StepOfSlot(slot), steps[slot]);
    }
    QCOMPARE(CStepTable::SlotOfStep(2), -1);
    QCOMPARE(CStepTable::SlotOfStep(512), -1);
    QCOMPARE(CStepTable::StepOfSlot(8), -1);
    const int buttonIds[] = { 1004, 1005, 1008, 1012, 1006, 1009, 1007 };
    for (int index = 0; index < CStepTable::ButtonStepCount; ++index)
        QCOMPARE(CStepTable::ButtonIdOfStep(CStepTable::ButtonStep(index)), buttonIds[index]);
    QCOMPARE(CStepTable::ButtonIdOfStep(995), -1);
}

void tst_ShellCore::helpDocumentOfEveryStepAndOfUnknownOnes_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("document");
    QTest::newRow("start") << 1 << "SchermataPrincipale.pdf";
    QTest::newRow("active data") << 5 << "SchermataAnalisiDeiDatiSperimentali.pdf";
    QTest::newRow("spectrum") << 10 << "SchermataCalcoloCurvaDiDispersione.pdf";
    QTest::newRow("passive") << 12 << "SchermataAnalisiPassiva.pdf";
    QTest::newRow("curve") << 15 << "SchermataSelezioneCurvaDiDispersioneSperimentale.pdf";
    QTest::newRow("profile") << 20 << "SchermataCalcoloDelProfilo.pdf";
    QTest::newRow("results") << 30 << "SchermataRisultatiFinali.pdf";
    QTest::newRow("blank page") << 995 << "VelaHelp.pdf";
    QTest::newRow("unknown") << 7 << "VelaHelp.pdf";
    QTest::newRow("no page") << 0 << "VelaHelp.pdf";
}

void tst_ShellCore::helpDocumentOfEveryStepAndOfUnknownOnes()
{
    QFETCH(int, step);
    QFETCH(QString, document);
    QCOMPARE(CStepTable::HelpDocument(step), document);
}

void tst_ShellCore::targetAbove512CarriesTheFreshPageFlag_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("fresh");
    QTest::newRow("plain") << 10 << 10 << false;
    QTest::newRow("fresh") << 522 << 10 << true;
    QTest::newRow("512 itself is not fresh") << 512 << 512 << false;
    QTest::newRow("513 is fresh step 1") << 513 << 1 << true;
}

void tst_ShellCore::targetAbove512CarriesTheFreshPageFlag()
{
    QFETCH(int, target);
    QFETCH(int, step);
    QFETCH(bool, fresh);
    const NavigationTarget split = CNavigationRules::SplitTarget(target);
    QCOMPARE(split.step, step);
    QCOMPARE(split.freshPage, fresh);
}

void tst_ShellCore::navigationRulesRowByRow_data()
{
    QTest::addColumn<int>("sender");
    QTest::addColumn<int>("target");
    QTest::addColumn<Actions>("expected");
    auto discard = [](std::initializer_list<int> steps) {
        Actions actions;
        for (int step : steps)
            actions.push_back({ Kind::Discard, step });
        return actions;
    };
    auto plus = [](Actions actions, const Actions &more) {
        actions.insert(actions.end(), more.begin(), more.end());
        return actions;
    };
    QTest::newRow("1 discards all later steps")
        << 20 << 1
        << plus(discard({ 5, 10, 12, 15, 20, 30 }), { { Kind::Show, 1 }, { Kind::Focus, 1 } });
    QTest::newRow("5") << 1 << 5
                       << plus(discard({ 10, 12, 15, 20, 30 }),
                              { { Kind::Show, 5 }, { Kind::EnableButton, 5 }, { Kind::Focus, 5 } });
    QTest::newRow("10") << 5 << 10
                        << plus(discard({ 12, 15, 20, 30 }),
                               { { Kind::EnableButton, 10 }, { Kind::Focus, 10 },
                                   { Kind::Show, 10 } });
    QTest::newRow("12 from active data disables spectrum")
        << 5 << 12
        << plus(discard({ 15, 20, 30 }),
               { { Kind::ViewDisableStep, 10 }, { Kind::Show, 12 }, { Kind::EnableButton, 12 },
                   { Kind::Focus, 12 } });
    QTest::newRow("12 from elsewhere keeps spectrum")
        << 1 << 12
        << plus(discard({ 15, 20, 30 }),
               { { Kind::Show, 12 }, { Kind::EnableButton, 12 }, { Kind::Focus, 12 } });
    QTest::newRow("15 keeps the profile page but disables its button")
        << 20 << 15
        << plus(discard({ 30 }),
               { { Kind::DisableButton, 20 }, { Kind::EnableButton, 15 }, { Kind::Show, 15 } });
    QTest::newRow("15 from start drops the data pages and flags")
        << 1 << 15
        << plus(plus(plus(discard({ 30 }),
                         { { Kind::DisableButton, 20 }, { Kind::EnableButton, 15 } }),
                    discard({ 5, 10, 12 })),
               { { Kind::ClearAnalysisFlags, 0 }, { Kind::Show, 15 } });
    QTest::newRow("20") << 15 << 20
                        << plus(discard({ 30 }),
                               { { Kind::EnableButton, 20 }, { Kind::Focus, 20 },
                                   { Kind::Show, 20 } });
    QTest::newRow("30 discards nothing")
        << 20 << 30
        << Actions { { Kind::EnableButton, 30 }, { Kind::Focus, 30 }, { Kind::Show, 30 } };
    QTest::newRow("unknown step") << 5 << 7 << Actions { { Kind::UnknownStep, 7 } };
    QTest::newRow("blank page is not a navigation target")
        << 1 << 995 << Actions { { Kind::UnknownStep, 995 } };
}

void tst_ShellCore::navigationRulesRowByRow()
{
    QFETCH(int, sender);
    QFETCH(int, target);
    QFETCH(Actions, expected);
    const Actions actual = CNavigationRules::Decide(sender, target);
    QCOMPARE(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        QCOMPARE(int(actual[i].kind), int(expected[i].kind));
        QCOMPARE(actual[i].step, expected[i].step);
    }
}

void tst_ShellCore::firstStartTakesTheSystemLanguageNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QByteArray>("fileValue");
    QTest::newRow("Italian") << "it_IT" << 16 << QByteArray("Italian");
    QTest::newRow("Swiss Italian") << "it_CH" << 16 << QByteArray("Italian");
    QTest::newRow("British English") << "en_GB" << 9 << QByteArray("English (US)");
    QTest::newRow("German") << "de_DE" << 7 << QByteArray("English (US)");
    QTest::newRow("French") << "fr_FR" << 12 << QByteArray("English (US)");
    QTest::newRow("Spanish") << "es_ES" << 10 << QByteArray("English (US)");
    QTest::newRow("Polish") << "pl_PL" << 21 << QByteArray("English (US)");
    QTest::newRow("Tamil") << "ta_IN" << 73 << QByteArray("English (US)");
    QTest::newRow("Bengali") << "bn_BD" << 69 << QByteArray("English (US)");
    QTest::newRow("Welsh") << "cy_GB" << 82 << QByteArray("English (US)");
}

void tst_ShellCore::firstStartTakesTheSystemLanguageNumber()
{
    QFETCH(QString, locale);
    QFETCH(int, stored);
    QFETCH(QByteArray, fileValue);
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    const QString iniPath = dir.filePath(QStringLiteral("VELA.ini"));
    bool written = false;
    QCOMPARE(CLanguageChoice::ChooseAtStart(settings, QLocale(locale), iniPath, &written), stored);
    QVERIFY(written);
    QCOMPARE(CLanguageChoice::Stored(settings), stored);
    QCOMPARE(CLanguageChoice::IsItalian(stored), stored == 16);
    QFile file(iniPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().endsWith("\nLanguage=" + fileValue));
}

void tst_ShellCore::storedLanguageIsKeptAndNoFileWritten()
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Language/Active"), 9);
    const QString iniPath = dir.filePath(QStringLiteral("VELA.ini"));
    QCOMPARE(
        CLanguageChoice::ChooseAtStart(settings, QLocale(QStringLiteral("it_IT")), iniPath), 9);
    QVERIFY(!QFile::exists(iniPath));
}

void tst_ShellCore::languageFileBytesHaveNoFinalLineEnd()
{
    QCOMPARE(CLanguageChoice::LanguageFileBytes(16), QByteArray("[VELA]\r\nLanguage=Italian"));
    QCOMPARE(CLanguageChoice::LanguageFileBytes(9), QByteArray("[VELA]\r\nLanguage=English (US)"));
    QCOMPARE(CLanguageChoice::LanguageFileBytes(7), QByteArray("[VELA]\r\nLanguage=English (US)"));
}

void tst_ShellCore::menuChoiceRewritesValueAndFile()
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    const QString iniPath = dir.filePath(QStringLiteral("VELA.ini"));
    // A longer old file must not leave its tail behind.
    QFile old(iniPath);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("[VELA]\r\nLanguage=English (US)\r\nsomething else\r\n");
    old.close();
    QVERIFY(CLanguageChoice::StoreChoice(settings, 16, iniPath));
    QCOMPARE(CLanguageChoice::Stored(settings), 16);
    QFile file(iniPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), CLanguageChoice::LanguageFileBytes(16));
    QVERIFY(!CLanguageChoice::StoreChoice(settings, 9, dir.filePath(QStringLiteral("no/such/x"))));
    QCOMPARE(CLanguageChoice::Stored(settings), 9);
}

void tst_ShellCore::versionChangeIsReportedOnce()
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    QVERIFY(CVersionCheck::VersionChanged(settings, QStringLiteral("1.2.0")));
    QVERIFY(!CVersionCheck::VersionChanged(settings, QStringLiteral("1.2.0")));
    QVERIFY(CVersionCheck::VersionChanged(settings, QStringLiteral("1.3.0")));
    QCOMPARE(settings.value(QStringLiteral("Version/Last")).toString(), QStringLiteral("1.3.0"));
}

void tst_ShellCore::recentFilesKeepSixteenNewestWithoutRepeats()
{
    QTemporaryDir dir;
    CRecentFileList list(16);
    for (int i = 0; i < 20; ++i)
        list.Add(dir.filePath(QStringLiteral("a%1.vla").arg(i)));
    QCOMPARE(list.Files().size(), 16);
    QVERIFY(list.Files().first().endsWith(QLatin1String("a19.vla")));
    QVERIFY(list.Files().last().endsWith(QLatin1String("a4.vla")));
    list.Add(dir.filePath(QStringLiteral("a10.vla")));
    QCOMPARE(list.Files().size(), 16);
    QVERIFY(list.Files().first().endsWith(QLatin1String("a10.vla")));
    QCOMPARE(list.Files().filter(QStringLiteral("a10.vla")).size(), 1);

    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    list.Save(settings);
    CRecentFileList again(16);
    again.Load(settings);
    QCOMPARE(again.Files(), list.Files());
}

QTEST_GUILESS_MAIN(tst_ShellCore)
#include "tst_ShellCore.moc"
