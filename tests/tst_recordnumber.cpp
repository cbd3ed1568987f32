#include "RecordNumber.h"

#include <QObject>
#include <QTest>

using orbitra::readLoadNumber;
using orbitra::readSaveNumber;

class tst_RecordNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void load_data();
    void load();
    void save_data();
    void save();
};

namespace {

void addColumns() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("expected");
}

void row(const char* name, const QByteArray& text, int expected) {
    QTest::newRow(name) << text << true << expected;
}

void fails(const char* name, const QByteArray& text) {
    QTest::newRow(name) << text << false << 0;
}

}  // namespace

void tst_RecordNumber::load_data() {
    addColumns();
    row("blanks around", " 7 ", 7);
    row("tabs around", "\t13\t", 13);
    row("half rounds up to even", "7.5", 8);
    row("half rounds down to even", "6.5", 6);
    row("just above half", "6.5000000000000000000001", 7);
    row("zero", "0", 0);
    row("negative", "-5", -5);
    row("plus sign", "+12", 12);
    row("leading zeros", "0000000000000000000042", 42);
    row("largest", "32767", 32767);
    row("smallest", "-32768", -32768);
    row("negative half to even", "-32768.5", -32768);
    fails("letters", "abc");
    fails("empty", "");
    fails("letters after digits", "12abc");
    fails("blank inside", "1 2");
    fails("exponent", "1e2");
    fails("above range", "40000");
    fails("rounds above range", "32767.5");
    fails("below range", "-32769");
    fails("overflow", "99999999999999999999999");
}

template <typename Number>
void check(std::optional<Number> (*read)(std::string_view)) {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(int, expected);
    const std::optional<Number> result = read(text.toStdString());
    QCOMPARE(result.has_value(), valid);
    QCOMPARE(result.has_value() ? int(*result) : 0, expected);
}

void tst_RecordNumber::load() {
    check(readLoadNumber);
}

void tst_RecordNumber::save_data() {
    addColumns();
    row("letters after digits", "12abc", 12);
    row("blank inside", "1 2", 12);
    row("tab and line feed inside", "\t1\n3 ", 13);
    row("half rounds down to even", "2.5", 2);
    row("half rounds up to even", "3.5", 4);
    row("just above half", "2.50000000000000000001", 3);
    row("empty", "", 0);
    row("letters", "abc", 0);
    row("exponent without mantissa", "e5", 0);
    row("negative", "-7", -7);
    row("plus sign", "+8", 8);
    row("second point ends the number", "1.5.5", 2);
    row("exponent", "1e3", 1000);
    row("blanks inside exponent", "1 e 3", 1000);
    row("negative exponent to half", "25e-1", 2);
    row("negative exponent above half", "35e-1", 4);
    row("exponent without digits", "12e", 12);
    row("largest", "2147483647", 2147483647);
    row("smallest", "-2147483648", -2147483647 - 1);
    row("negative half to even", "-2147483648.5", -2147483647 - 1);
    fails("rounds above range", "2147483647.5");
    fails("eleven digits", "99999999999");
    fails("exponent overflow", "1e10");
    fails("huge exponent", "1e999999999999999999999");
}

void tst_RecordNumber::save() {
    check(readSaveNumber);
}

QTEST_GUILESS_MAIN(tst_RecordNumber)
#include "tst_recordnumber.moc"
