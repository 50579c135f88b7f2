#include "core/IniDocument.h"
#include "core/Profile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using kpl::IniDocument;
using kpl::Profile;

namespace {

// Byte strings that may hold NUL bytes.
template <std::size_t N> QByteArray raw(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

const QByteArray kBom("\xEF\xBB\xBF");

} // namespace

class TestIniDocument : public QObject {
    Q_OBJECT

private slots:
    void findsEntriesByTheProfileRules_data();
    void findsEntriesByTheProfileRules();
    void keepsEveryByteWhenNothingChanges_data();
    void keepsEveryByteWhenNothingChanges();
    void settingChangesOnlyOneEntry_data();
    void settingChangesOnlyOneEntry();
    void refusesValuesWithLineBreaks_data();
    void refusesValuesWithLineBreaks();

    void stringReadStopsAt254Characters();
    void integerReadTakesLeadingDigits_data();
    void integerReadTakesLeadingDigits();
    void missingFileOrFolderReadsAsMissing();
    void writeCreatesFileWithCrLf();
    void writeUpdatesFileFoundRegardlessOfCase();
    void refusedWriteLeavesFileAsItWas();
    void readSeesEveryChange_data();
    void readSeesEveryChange();

private:
    QString write(const QString& name, const QByteArray& content);
    QByteArray read(const QString& name) const;
    QTemporaryDir m_dir;
};

void TestIniDocument::findsEntriesByTheProfileRules_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    const QString s = QStringLiteral("S");
    const QString k = QStringLiteral("k");
    QTest::newRow("CR LF") << raw("[S]\r\nk=v\r\n") << s << k << true << "v";
    QTest::newRow("LF") << raw("[S]\nk=v\n") << s << k << true << "v";
    QTest::newRow("CR") << raw("[S]\rk=v\r") << s << k << true << "v";
    QTest::newRow("LF CR is two line ends") << raw("[S]\n\rk=v") << s << k << true << "v";
    QTest::newRow("blanks, tabs, Ctrl-Z trimmed")
        << raw(" \t[S]\x1A\r\n\x1A\t k \t= \t v w\x1A \r\n") << s << k << true << "v w";
    QTest::newRow("double quotes") << raw("[S]\nk= \"a b\" ") << s << k << true << "a b";
    QTest::newRow("single quotes") << raw("[S]\nk='x'") << s << k << true << "x";
    QTest::newRow("one pair only") << raw("[S]\nk=\"\"a\"\"") << s << k << true << "\"a\"";
    QTest::newRow("unmatched quotes") << raw("[S]\nk=\"a'") << s << k << true << "\"a'";
    QTest::newRow("lone quote") << raw("[S]\nk=\"") << s << k << true << "\"";
    QTest::newRow("quoted empty") << raw("[S]\nk=''") << s << k << true << "";
    QTest::newRow("no inline comment") << raw("[S]\nk=v ; x") << s << k << true << "v ; x";
    QTest::newRow("split at first =") << raw("[S]\nk = a=b") << s << k << true << "a=b";
    QTest::newRow("empty value") << raw("[S]\nk=\nk=2") << s << k << true << "";
    QTest::newRow("comment line") << raw("[S]\n ;k=v") << s << k << false << "";
    QTest::newRow("line without =") << raw("[S]\nk\nk v") << s << k << false << "";
    QTest::newRow("header trailing text") << raw("[ S ] x]\nk=v") << s << k << true << "v";
    QTest::newRow("header without ]") << raw("[ S \nk=v") << s << k << true << "v";
    QTest::newRow("first section wins") << raw("[S]\nk=1\n[s]\nk=2\nj=3") << s << k << true << "1";
    QTest::newRow("later duplicate unseen") << raw("[S]\nk=1\n[s]\nj=3") << s << "j" << false << "";
    QTest::newRow("first key wins") << raw("[S]\nK=1\nk=2") << s << k << true << "1";
    QTest::newRow("letter case ignored") << raw("[PROJECT]\nKEY=v") << "project"
                                         << "Key" << true << "v";
    QTest::newRow("1252 letters match") << raw("[\xC4rger]\n\xDC=v") << "\u00E4RGER"
                                        << "\u00FC" << true << "v";
    QTest::newRow("before first section") << raw("k=v\n[S]\n") << s << k << false << "";
    QTest::newRow("before first section, no name") << raw("k=v\n[T]") << "" << k << false << "";
    QTest::newRow("ends at next header") << raw("[S]\n[T]\nk=v") << s << k << false << "";
    QTest::newRow("1252 bytes") << raw("[S]\nk=\xE4\x80\x81") << s << k << true
                                << "\u00E4\u20AC\u0081";
    QTest::newRow("UTF-8 with mark")
        << kBom + "[S]\nk=\xC3\xA4\xE2\x82\xAC" << s << k << true << "\u00E4\u20AC";
    QTest::newRow("NUL is a character")
        << raw("[S]\nk=a\0b") << s << k << true << QString::fromLatin1("a\0b", 3);
}

void TestIniDocument::findsEntriesByTheProfileRules() {
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, value);

    const std::optional<QString> read = IniDocument(content).value(section, key);
    QCOMPARE(read.has_value(), found);
    if (found)
        QCOMPARE(*read, value);
}

void TestIniDocument::keepsEveryByteWhenNothingChanges_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("mark only") << kBom;
    QTest::newRow("mixed ends, no final end") << raw("\r\n\n\r[S]\r\n\n\rk=v\n\r\r\nx");
    QTest::newRow("binary") << raw("\0\xFF\xFE[\x1A=\t\r\r\0\n]");
}

void TestIniDocument::keepsEveryByteWhenNothingChanges() {
    QFETCH(QByteArray, content);
    QCOMPARE(IniDocument(content).toBytes(), content);
}

void TestIniDocument::settingChangesOnlyOneEntry_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QString s = QStringLiteral("S");
    QTest::newRow("replace, CR LF")
        << raw("; c\r\n\r\n[S] x\r\n  kEy = old \r\nz = 1\r\n") << s << "KEY"
        << "new" << raw("; c\r\n\r\n[S] x\r\nkEy=new\r\nz = 1\r\n");
    QTest::newRow("replace, LF") << raw("[S]\nk=1\nz=2") << s << "k"
                                 << "9" << raw("[S]\nk=9\nz=2");
    QTest::newRow("replace, mixed") << raw("[S]\r\nk=1\rz=2\n") << s << "z"
                                    << "9" << raw("[S]\r\nk=1\rz=9\n");
    QTest::newRow("replace last line") << raw("[S]\r\nk=1") << s << "k"
                                       << "" << raw("[S]\r\nk=");
    QTest::newRow("key bytes kept") << raw("[S]\r\n\xC4=1\r\n") << s << "\u00E4"
                                    << "2" << raw("[S]\r\n\xC4=2\r\n");
    QTest::newRow("new key after last entry")
        << raw("[S]\r\na=1\r\n; note\r\n\r\n[T]\r\nb=2\r\n") << s << "c"
        << "3" << raw("[S]\r\na=1\r\nc=3\r\n; note\r\n\r\n[T]\r\nb=2\r\n");
    QTest::newRow("new key in empty section") << raw("[S]\r\n\r\n[T]\r\n") << s << "c"
                                              << "3" << raw("[S]\r\nc=3\r\n\r\n[T]\r\n");
    QTest::newRow("new key, first line end") << raw("[S]\na=1\r\n") << s << "c"
                                             << "3" << raw("[S]\na=1\r\nc=3\n");
    QTest::newRow("new key, no final end") << raw("[S]\ra=1") << s << "c"
                                           << "3" << raw("[S]\ra=1\rc=3\r");
    QTest::newRow("first of duplicate sections") << raw("[S]\r\n[s]\r\na=1\r\n") << "s"
                                                 << "a"
                                                 << "2" << raw("[S]\r\na=2\r\n[s]\r\na=1\r\n");
    QTest::newRow("entry before sections") << raw("k=0\r\n[S]\r\n") << s << "k"
                                           << "1" << raw("k=0\r\n[S]\r\nk=1\r\n");
    QTest::newRow("new section") << raw("[S]\r\na=1\r\n") << "T"
                                 << "b"
                                 << "2" << raw("[S]\r\na=1\r\n[T]\r\nb=2\r\n");
    QTest::newRow("new section, no final end") << raw("[S]\na=1") << "T"
                                               << "b"
                                               << "2" << raw("[S]\na=1\n[T]\nb=2\n");
    QTest::newRow("new document") << QByteArray() << "T"
                                  << "b"
                                  << "2" << raw("[T]\r\nb=2\r\n");
    QTest::newRow("1252 value") << raw("[S]\r\nk=1\r\n") << s << "k"
                                << "\u00E4\u20AC" << raw("[S]\r\nk=\xE4\x80\r\n");
    QTest::newRow("UTF-8 stays UTF-8")
        << kBom + "[S]\r\nk=1\r\n"
        << s << "k"
        << "\u00E4\u20AC" << kBom + "[S]\r\nk=\xC3\xA4\xE2\x82\xAC\r\n";
}

void TestIniDocument::settingChangesOnlyOneEntry() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    IniDocument document(before);
    QVERIFY(document.setValue(section, key, value));
    QCOMPARE(document.toBytes(), after);
    QCOMPARE(IniDocument(after).value(section, key).value_or(QStringLiteral("(missing)")), value);
}

void TestIniDocument::refusesValuesWithLineBreaks_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("CR") << "a\rb";
    QTest::newRow("LF") << "a\n";
    QTest::newRow("CR LF") << "\r\nb";
}

void TestIniDocument::refusesValuesWithLineBreaks() {
    QFETCH(QString, value);
    const QByteArray content = raw("[S]\r\nk=1\r\n");
    IniDocument document(content);
    QVERIFY(!document.setValue(QStringLiteral("S"), QStringLiteral("k"), value));
    QVERIFY(!document.setValue(QStringLiteral("T"), QStringLiteral("k"), value));
    QCOMPARE(document.toBytes(), content);

    const QString file = write(QStringLiteral("breaks.ini"), content);
    QVERIFY(!Profile().writeString(file, QStringLiteral("S"), QStringLiteral("k"), value));
    QCOMPARE(read(QStringLiteral("breaks.ini")), content);
}

void TestIniDocument::stringReadStopsAt254Characters() {
    const QByteArray value(300, 'x');
    const QString file = write(QStringLiteral("long.ini"), "[S]\r\nk=\"" + value + "\"\r\n");
    QCOMPARE(Profile().readString(file, QStringLiteral("S"), QStringLiteral("k")),
             QString(254, QLatin1Char('x')));
}

void TestIniDocument::integerReadTakesLeadingDigits_data() {
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("overflow");

    QTest::newRow("digits") << QByteArray("k=42") << 42 << false;
    QTest::newRow("trailing text") << QByteArray("k=42abc") << 42 << false;
    QTest::newRow("letters") << QByteArray("k=abc") << 0 << false;
    QTest::newRow("sign only") << QByteArray("k=-") << 0 << false;
    QTest::newRow("plus sign") << QByteArray("k=+7") << 7 << false;
    QTest::newRow("blank after sign") << QByteArray("k=- 7") << 0 << false;
    QTest::newRow("padded") << QByteArray("k= \t12 ") << 12 << false;
    QTest::newRow("quoted") << QByteArray("k=\"-5\"") << -5 << false;
    QTest::newRow("hex prefix") << QByteArray("k=0x10") << 0 << false;
    QTest::newRow("leading zeros") << "k=" + QByteArray(40, '0') + "42" << 42 << false;
    QTest::newRow("smallest") << QByteArray("k=-2147483648") << std::numeric_limits<int>::min()
                              << false;
    QTest::newRow("largest") << QByteArray("k=2147483647x") << std::numeric_limits<int>::max()
                             << false;
    QTest::newRow("above largest") << QByteArray("k=2147483648") << 0 << true;
    QTest::newRow("below smallest") << QByteArray("k=-2147483649") << 0 << true;
    QTest::newRow("far beyond") << "k=" + QByteArray(200, '9') << 0 << true;
    QTest::newRow("empty") << QByteArray("k=") << -1 << false;
    QTest::newRow("quoted empty") << QByteArray("k=\"\"") << -1 << false;
    QTest::newRow("missing") << QByteArray("j=5") << -1 << false;
}

void TestIniDocument::integerReadTakesLeadingDigits() {
    QFETCH(QByteArray, entry);
    QFETCH(int, value);
    QFETCH(bool, overflow);

    const QString file = write(QStringLiteral("int.ini"), "[S]\r\n" + entry + "\r\n");
    const Profile::IntRead read =
        Profile().readInt(file, QStringLiteral("S"), QStringLiteral("k"), -1);
    QCOMPARE(read.overflow, overflow);
    if (!overflow)
        QCOMPARE(read.value, value);
}

void TestIniDocument::missingFileOrFolderReadsAsMissing() {
    const QString missing = m_dir.filePath(QStringLiteral("missing.ini"));
    QCOMPARE(Profile().readString(missing, QStringLiteral("S"), QStringLiteral("k")), QString());
    QCOMPARE(Profile().readInt(missing, QStringLiteral("S"), QStringLiteral("k"), -1).value, -1);
    QVERIFY(!QFile::exists(missing));

    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.ini")));
    const QString folder = m_dir.filePath(QStringLiteral("folder.ini"));
    QCOMPARE(Profile().readString(folder, QStringLiteral("S"), QStringLiteral("k")), QString());
    QVERIFY(!Profile().writeString(folder, QStringLiteral("S"), QStringLiteral("k"), "v"));
}

void TestIniDocument::writeCreatesFileWithCrLf() {
    const QString file = m_dir.filePath(QStringLiteral("new.ini"));
    QVERIFY(Profile().writeString(file, QStringLiteral("Project"), QStringLiteral("Key"), "v"));
    QCOMPARE(read(QStringLiteral("new.ini")), raw("[Project]\r\nKey=v\r\n"));
    QCOMPARE(Profile().readString(file, QStringLiteral("PROJECT"), QStringLiteral("key")), "v");
}

void TestIniDocument::writeUpdatesFileFoundRegardlessOfCase() {
    const QByteArray before = kBom + "; keep\n[S]\nk=1\n";
    write(QStringLiteral("Program.INI"), before);
    QVERIFY(Profile().writeString(m_dir.filePath(QStringLiteral("program.ini")),
                                  QStringLiteral("s"), QStringLiteral("K"), "\u00E4"));
    QCOMPARE(read(QStringLiteral("Program.INI")), kBom + "; keep\n[S]\nk=\xC3\xA4\n");
    QVERIFY(!QDir(m_dir.path()).entryList(QDir::Files).contains(QStringLiteral("program.ini")));
}

void TestIniDocument::refusedWriteLeavesFileAsItWas() {
    const QString inMissingFolder = m_dir.filePath(QStringLiteral("nowhere/x.ini"));
    QVERIFY(!Profile().writeString(inMissingFolder, QStringLiteral("S"), QStringLiteral("k"), "v"));
    QVERIFY(!QFile::exists(inMissingFolder));

    // A folder where the file should be: refused, its content and the folder
    // around it untouched, no temporary file left behind.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("taken.ini/inner")));
    QVERIFY(!Profile().writeString(m_dir.filePath(QStringLiteral("taken.ini")), QStringLiteral("S"),
                                   QStringLiteral("k"), "v"));
    QVERIFY(QDir(m_dir.filePath(QStringLiteral("taken.ini/inner"))).exists());
    QCOMPARE(QDir(m_dir.path()).entryList(QStringList() << QStringLiteral("taken.ini*")),
             QStringList() << QStringLiteral("taken.ini"));
}

// A profile keeps the files it parsed; whoever changes a file, the next read
// sees the change.
void TestIniDocument::readSeesEveryChange_data() {
    QTest::addColumn<QString>("writer");
    QTest::newRow("written through the profile") << "profile";
    QTest::newRow("replaced by another program") << "rename";
    QTest::newRow("rewritten in place, other size") << "in place";
}

void TestIniDocument::readSeesEveryChange() {
    QFETCH(QString, writer);
    const QString file = write(QStringLiteral("seen.ini"), raw("[S]\r\nk=120\r\n"));
    Profile profile;
    QCOMPARE(profile.readString(file, QStringLiteral("S"), QStringLiteral("k")), "120");
    if (writer == QLatin1String("profile")) {
        QVERIFY(profile.writeString(file, QStringLiteral("S"), QStringLiteral("k"), "300"));
    } else if (writer == QLatin1String("rename")) {
        QSaveFile replacement(file);
        QVERIFY(replacement.open(QIODevice::WriteOnly));
        replacement.write(raw("[S]\r\nk=300\r\n"));
        QVERIFY(replacement.commit());
    } else {
        write(QStringLiteral("seen.ini"), raw("[S]\r\nk=3000\r\n"));
    }
    const QString expected = writer == QLatin1String("in place") ? "3000" : "300";
    QCOMPARE(profile.readString(file, QStringLiteral("S"), QStringLiteral("k")), expected);
}

QString TestIniDocument::write(const QString& name, const QByteArray& content) {
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write the test file");
    return file.fileName();
}

QByteArray TestIniDocument::read(const QString& name) const {
    QFile file(m_dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QTEST_GUILESS_MAIN(TestIniDocument)
#include "tst_inidocument.moc"
