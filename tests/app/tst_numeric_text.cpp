#include "app/NumericText.h"
#include "core/Failure.h"

#include <QtTest>

using namespace kpl;

namespace {
// What toLong gives, or the failure number it raises.
QString wholeOrFailure(const NumericText& numbers, const QString& text) {
    try {
        return QString::number(numbers.toLong(text));
    } catch (const Failure& failure) {
        return QStringLiteral("failure %1").arg(failure.number);
    }
}
} // namespace

class TestNumericText : public QObject {
    Q_OBJECT

private slots:
    void readsNumbersAsTheLocaleWritesThem_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("whole");
        const QLocale c = QLocale::c();
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("digits") << c << "120"
                                << "120";
        QTest::newRow("surrounding blanks") << c << "  12 "
                                            << "12";
        QTest::newRow("sign") << c << "-12"
                              << "-12";
        QTest::newRow("plus sign") << c << "+12"
                                   << "12";
        QTest::newRow("exponent") << c << "1e3"
                                  << "1000";
        QTest::newRow("group separator") << c << "1,234"
                                         << "1234";
        QTest::newRow("half to even, down") << c << "2.5"
                                            << "2";
        QTest::newRow("half to even, up") << c << "3.5"
                                          << "4";
        QTest::newRow("half to even, negative") << c << "-2.5"
                                                << "-2";
        QTest::newRow("German decimal comma") << german << "12,5"
                                              << "12";
        QTest::newRow("German group dot") << german << "1.234"
                                          << "1234";
        QTest::newRow("German reads no decimal point") << german << "1.5"
                                                       << "failure 13";
        QTest::newRow("lone sign") << c << "-"
                                   << "failure 13";
        QTest::newRow("lone separator") << c << "."
                                        << "failure 13";
        QTest::newRow("letters") << c << "12a"
                                 << "failure 13";
        QTest::newRow("empty") << c << ""
                               << "failure 13";
        QTest::newRow("infinity is no number") << c << "inf"
                                               << "failure 13";
        QTest::newRow("not a number") << c << "nan"
                                      << "failure 13";
        QTest::newRow("beyond double") << c << "1e400"
                                       << "failure 13";
        QTest::newRow("largest long") << c << "2147483647"
                                      << "2147483647";
        QTest::newRow("beyond long") << c << "2147483648"
                                     << "failure 6";
    }

    void readsNumbersAsTheLocaleWritesThem() {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QString, whole);
        const NumericText numbers(locale);
        QCOMPARE(wholeOrFailure(numbers, text), whole);
        QCOMPARE(numbers.isNumeric(text), !whole.startsWith(QLatin1String("failure 13")));
    }

    void integersStopAtSixteenBits() {
        const NumericText numbers(QLocale::c());
        QCOMPARE(numbers.toInteger(QStringLiteral("-32768")), qint16(-32768));
        QVERIFY_THROWS_EXCEPTION(Failure, numbers.toInteger(QStringLiteral("32768")));
    }

    void formattedWholeNumbersReadBack_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("C") << QLocale::c();
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("Swiss German") << QLocale(QLocale::German, QLocale::Switzerland);
    }

    void formattedWholeNumbersReadBack() {
        QFETCH(QLocale, locale);
        const NumericText numbers(locale);
        for (const double n : {0.0, -1.0, 3600.0, 1234567.0, 1e20}) {
            const QString text = numbers.format(n);
            QCOMPARE(numbers.value(text), std::optional<double>(n));
        }
    }
};

QTEST_GUILESS_MAIN(TestNumericText)
#include "tst_numeric_text.moc"
