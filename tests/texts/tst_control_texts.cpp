#include "TestInstallation.h"
#include "core/ProcessState.h"
#include "texts/ControlTexts.h"

#include <QFile>
#include <QMap>
#include <QtTest>

using namespace kpl;
using namespace kpl::test;

namespace {

Control control(const QString& name, const QString& kind, const QString& caption = {},
                int helpId = 0, const QString& tag = {}, std::optional<int> index = {}) {
    Control c;
    c.name = name;
    c.kind = kind;
    c.caption = caption;
    c.helpId = helpId;
    c.tag = tag;
    c.index = index;
    return c;
}

// The entries of one section of an INI file in the order they stand, as
// "key=value" lines.
QStringList section(const QString& path, const QString& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList entries;
    bool inside = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inside =
                line.compare(QLatin1Char('[') + name + QLatin1Char(']'), Qt::CaseInsensitive) == 0;
        else if (inside && !line.isEmpty())
            entries.append(line);
    }
    return entries;
}

} // namespace

class TestControlTexts : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> m_install;
    std::unique_ptr<ScriptedRuntime> m_runtime;
    std::unique_ptr<ProcessState> m_state;

    QString languageFile() const {
        return m_install->path(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini"));
    }
    void writeLanguageFile(const QByteArray& content) {
        m_install->write(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini"), content);
    }

private slots:
    void init() {
        m_install = std::make_unique<TestInstallation>();
        m_runtime = m_install->runtime();
        m_state = std::make_unique<ProcessState>(*m_runtime);
    }

    void firstStartListsEveryKeyWithGermanCaptions() {
        QList<Control> controls{
            control("Header", "Label", "Kopf"),
            control("FrameDTI", "Frame", {}, 11),
            control("CheckDTI", "CheckBox", "Funktion", 11),
            control("TextZeit", "TextBox", {}, 12),
            control("CommandOK", "CommandButton", {}, 1),
        };
        LoadToolTipTexts(*m_state, controls);

        QCOMPARE(languageFilePath(*m_state), languageFile());
        QCOMPARE(section(languageFile(), "Language"), QStringList{"Language=1031"});
        // Frames and text boxes have no caption and no help text of their own.
        QCOMPARE(
            section(languageFile(), "1031"),
            (QStringList{"Caption_Header_=Kopf", "TTT_Header_=0", "TTT_FrameDTI_=0",
                         "Caption_CheckDTI_=Funktion", "Help11=0", "TTT_CheckDTI_=0",
                         "TTT_TextZeit_=0", "Caption_CommandOK_=", "Help1=0", "TTT_CommandOK_=0"}));
        QCOMPARE(controls[0].caption, QStringLiteral("Kopf"));
        QCOMPARE(controls[2].toolTip, QString());
        QCOMPARE(m_runtime->unexpectedBoxes, 0);
    }

    void anotherLanguageGetsZeroEntriesAndKeepsTheCaptions() {
        writeLanguageFile("[Language]\r\nLanguage=1033\r\n");
        QList<Control> controls{control("LabelZeit", "Label", "Zeit", 12)};
        LoadToolTipTexts(*m_state, controls);
        QCOMPARE(section(languageFile(), "1033"),
                 (QStringList{"Caption_LabelZeit_=0", "Help12=0", "TTT_LabelZeit_=0"}));
        QCOMPARE(controls[0].caption, QStringLiteral("Zeit"));
    }

    void textsOfTheLanguageAreApplied() {
        writeLanguageFile("[Language]\r\nLanguage=1033\r\n[1033]\r\nCaption_CommandOK_=OK\r\n"
                          "TTT_CommandOK_=0\r\nHelp1=Confirms<CRLF>and ends\r\n"
                          "TTT_TextZeit_=Seconds\r\n");
        QList<Control> controls{control("CommandOK", "CommandButton", {}, 1),
                                control("TextZeit", "TextBox", {}, 12)};
        controls[0].toolTip = QStringLiteral("before");
        LoadToolTipTexts(*m_state, controls);
        QCOMPARE(controls[0].caption, QStringLiteral("OK"));
        QCOMPARE(controls[0].toolTip, QStringLiteral("before"));
        QCOMPARE(m_state->helpTexts.at(1), QStringLiteral("Confirms<CRLF>and ends"));
        QCOMPARE(controls[1].toolTip, QStringLiteral("Seconds"));
    }

    void germanCaptionEntryZeroIsOverwrittenWithTheDesignCaption() {
        writeLanguageFile("[Language]\r\nLanguage=\r\n[1031]\r\nCaption_LabelZeit_=0\r\n");
        QList<Control> controls{control("LabelZeit", "Label", "Zeit")};
        LoadToolTipTexts(*m_state, controls);
        QCOMPARE(section(languageFile(), "Language"), QStringList{"Language=1031"});
        QVERIFY(section(languageFile(), "1031").contains("Caption_LabelZeit_=Zeit"));
    }

    void keysSpellTagsAndArrayIndexes_data() {
        QTest::addColumn<QList<Control>>("controls");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("notTT tag: no tooltip, tag kept in the caption key")
            << QList<Control>{control("LabelZeit", "Label", "Zeit", 0, "notTT")}
            << QStringList{"Caption_LabelZeit_notTT=Zeit"};
        QTest::newRow("marker inside a longer tag, any case")
            << QList<Control>{control("Header", "Label", "Kopf", 0, "xNoTTtx")}
            << QStringList{"Caption_Header_xNoTTtx=Kopf"};
        QTest::newRow("control array members carry their index, a single control none")
            << QList<Control>{control("Label1", "Label", "A", 0, {}, 0),
                              control("Label1", "Label", "B", 0, {}, 2),
                              control("Label2", "Label", "C", 0, {}, 5)}
            << QStringList{"Caption_Label10_=A", "TTT_Label10_=0",    "Caption_Label12_=B",
                           "TTT_Label12_=0",     "Caption_Label2_=C", "TTT_Label2_=0"};
        QTest::newRow("help number outside the table ends that control's handling")
            << QList<Control>{control("CheckDTI", "CheckBox", "Funktion", 150),
                              control("TextZeit", "TextBox")}
            << QStringList{"Caption_CheckDTI_=Funktion", "TTT_TextZeit_=0"};
        QTest::newRow("array member without an index is skipped, the next one handled")
            << QList<Control>{control("Label1", "Label", "A"),
                              control("Label1", "Label", "B", 0, {}, 1)}
            << QStringList{"Caption_Label11_=B", "TTT_Label11_=0"};
    }

    void keysSpellTagsAndArrayIndexes() {
        QFETCH(QList<Control>, controls);
        QFETCH(QStringList, entries);
        LoadToolTipTexts(*m_state, controls);
        QCOMPARE(section(languageFile(), "1031"), entries);
        QCOMPARE(m_state->failuresReported, 0);
    }

    void laterStartFindsTheEntriesItWrote() {
        QList<Control> controls{control("CheckDTI", "CheckBox", "Funktion", 11)};
        LoadToolTipTexts(*m_state, controls);
        LoadToolTipTexts(*m_state, controls);
        QCOMPARE(section(languageFile(), "1031"),
                 (QStringList{"Caption_CheckDTI_=Funktion", "Help11=0", "TTT_CheckDTI_=0"}));
        QCOMPARE(m_state->helpTexts.at(11), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestControlTexts)
#include "tst_control_texts.moc"
