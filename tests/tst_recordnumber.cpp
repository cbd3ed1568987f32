#include "RecordNumber.h"

#include <QTest>

using orbitra::readLoadNumber;
using orbitra::readSaveNumber;

class tst_RecordNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void load_data();
    void load() { check(readLoadNumber); }
    void save_data();
    void save() { check(readSaveNumber); }

private:
    template <typename Number>
    static void check(std::optional<Number> (*read)(std::string_view)) {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        const std::optional<Number> result = read(text.toStdString());
        QCOMPARE(result ? QString::number(*result) : QString(), expected);
    }
};

namespace {

// An empty `expected` means the text gives no number.
void row(const char* name, const QByteArray& text, const char* expected) {
    QTest::newRow(name) << text << QString(expected);
}

void columns() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
}

}  // namespace

void tst_RecordNumber::load_data() {
    columns();
    row("blanks around", " \t7 ", "7");
    row("half rounds up to even", "7.5", "8");
    row("half rounds down to even", "6.5", "6");
    row("just above half", "6.5000000000000000000001", "7");
    row("zero", "0", "0");
    row("negative", "-5", "-5");
    row("plus sign", "+12", "12");
    row("largest", "32767", "32767");
    row("smallest", "-32768", "-32768");
    row("negative half to even", "-32768.5", "-32768");
    row("letters", "abc", "");
    row("empty", "", "");
    row("letters after digits", "12abc", "");
    row("blank inside", "1 2", "");
    row("exponent", "1e2", "");
    row("above range", "40000", "");
    row("rounds above range", "32767.5", "");
    row("below range", "-32769", "");
    row("overflow", "99999999999999999999999", "");
}

void tst_RecordNumber::save_data() {
    columns();
    row("letters after digits", "12abc", "12");
    row("blank inside", "1 2", "12");
    row("tab and line feed inside", "\t1\n3 ", "13");
    row("half rounds down to even", "2.5", "2");
    row("half rounds up to even", "3.5", "4");
    row("just above half", "2.50000000000000000001", "3");
    row("empty", "", "0");
    row("letters", "abc", "0");
    row("exponent without mantissa", "e5", "0");
    row("negative", "-7", "-7");
    row("plus sign", "+8", "8");
    row("second point ends the number", "1.5.5", "2");
    row("exponent", "1e3", "1000");
    row("exponent to a half", "25e-1", "2");
    row("two-digit exponent", "25000000000e-10", "2");
    row("exponent without digits", "12e", "12");
    row("largest", "2147483647", "2147483647");
    row("smallest", "-2147483648", "-2147483648");
    row("negative half to even", "-2147483648.5", "-2147483648");
    row("rounds above range", "2147483647.5", "");
    row("eleven digits", "99999999999", "");
    row("exponent overflow", "1e10", "");
    row("huge exponent", "1e999999999999999999999", "");
}

QTEST_GUILESS_MAIN(tst_RecordNumber)
#include "tst_recordnumber.moc"
