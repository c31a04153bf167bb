#include "IntegerText.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<std::int32_t>)

class TestIntegerText : public QObject {
    Q_OBJECT

private slots:
    void trimmedTextDropsOuterBlanksAndControls_data();
    void trimmedTextDropsOuterBlanksAndControls();
    void parseInt32TakesDecimalOrHexInRange_data();
    void parseInt32TakesDecimalOrHexInRange();
};

void TestIntegerText::trimmedTextDropsOuterBlanksAndControls_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");

    QTest::newRow("blanks") << QStringLiteral("  12  ") << QStringLiteral("12");
    QTest::newRow("tabs and line breaks") << QStringLiteral("\t\r\n7\n") << QStringLiteral("7");
    QTest::newRow("control characters") << QStringLiteral("\x01\x1f"
                                                          "5\x7f")
                                        << QStringLiteral("5\x7f");
    QTest::newRow("inner blanks stay") << QStringLiteral(" 1 2 ") << QStringLiteral("1 2");
    QTest::newRow("no-break space stays") << QStringLiteral("\u00a0"
                                                            "3")
                                          << QStringLiteral("\u00a0"
                                                            "3");
    QTest::newRow("only blanks") << QStringLiteral(" \t ") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestIntegerText::trimmedTextDropsOuterBlanksAndControls()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);

    QCOMPARE(::trimmedText(text), trimmed);
}

void TestIntegerText::parseInt32TakesDecimalOrHexInRange_data()
{
    using Parsed = std::optional<std::int32_t>;
    QTest::addColumn<QString>("text");
    QTest::addColumn<Parsed>("value");

    const Parsed invalid;

    QTest::newRow("decimal") << QStringLiteral("42") << Parsed(42);
    QTest::newRow("leading zeros") << QStringLiteral("007") << Parsed(7);
    QTest::newRow("plus sign") << QStringLiteral("+5") << Parsed(5);
    QTest::newRow("minus sign") << QStringLiteral("-30") << Parsed(-30);
    QTest::newRow("largest") << QStringLiteral("2147483647") << Parsed(2147483647);
    QTest::newRow("smallest") << QStringLiteral("-2147483648") << Parsed(-2147483647 - 1);
    QTest::newRow("one above the largest") << QStringLiteral("2147483648") << invalid;
    QTest::newRow("one below the smallest") << QStringLiteral("-2147483649") << invalid;
    QTest::newRow("ten nines") << QStringLiteral("9999999999") << invalid;
    QTest::newRow("many digits") << QStringLiteral("99999999999999999999999") << invalid;
    QTest::newRow("dollar hex") << QStringLiteral("$1A") << Parsed(26);
    QTest::newRow("0x hex") << QStringLiteral("0x10") << Parsed(16);
    QTest::newRow("0X hex, lower-case digits") << QStringLiteral("0Xff") << Parsed(255);
    QTest::newRow("negative hex") << QStringLiteral("-$10") << Parsed(-16);
    QTest::newRow("largest hex") << QStringLiteral("$7FFFFFFF") << Parsed(2147483647);
    QTest::newRow("hex above the range") << QStringLiteral("$80000000") << invalid;
    QTest::newRow("hex digit in decimal") << QStringLiteral("1A") << invalid;
    QTest::newRow("prefix alone") << QStringLiteral("$") << invalid;
    QTest::newRow("0x alone") << QStringLiteral("0x") << invalid;
    QTest::newRow("sign alone") << QStringLiteral("-") << invalid;
    QTest::newRow("two signs") << QStringLiteral("--1") << invalid;
    QTest::newRow("inner blank") << QStringLiteral("1 2") << invalid;
    QTest::newRow("decimal point") << QStringLiteral("1.5") << invalid;
    QTest::newRow("Arabic-Indic digit") << QStringLiteral("\u0663") << invalid;
    QTest::newRow("empty") << QString() << invalid;
}

void TestIntegerText::parseInt32TakesDecimalOrHexInRange()
{
    QFETCH(QString, text);
    QFETCH(std::optional<std::int32_t>, value);

    const std::optional<std::int32_t> parsed = ::parseInt32(text);
    QCOMPARE(parsed.has_value(), value.has_value());
    if (value)
        QCOMPARE(*parsed, *value);
}

QTEST_APPLESS_MAIN(TestIntegerText)
#include "tst_IntegerText.moc"
