// The two ways the editor reads a record number: strictly while loading (blanks,
// one decimal number, blanks; within 16 bits), leniently when saving (digits
// gathered past anything else, an exponent taken; within 32 bits). Both round
// half to even. Each row is a text and the number read from it; an empty
// expectation means the text gives no number.
#include "RecordNumber.h"

#include <QTest>

using orbitra::readLoadNumber;
using orbitra::readSaveNumber;

namespace {

void rows(std::initializer_list<std::pair<QByteArray, const char*>> cases) {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
    for (const auto& [text, expected] : cases) {
        QTest::addRow("\"%s\"", text.constData()) << text << QString(expected);
    }
}

template <typename Number>
void check(std::optional<Number> (*read)(std::string_view)) {
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    const std::optional<Number> result = read(text.toStdString());
    QCOMPARE(result ? QString::number(*result) : QString(), expected);
}

}  // namespace

class tst_RecordNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void load() { check(readLoadNumber); }
    void load_data() {
        // clang-format off
        rows({{" \t7 ", "7"},       {"7.5", "8"},       {"6.5", "6"},     {"0", "0"},
              {"6.5000000000000000000001", "7"},        {"-5", "-5"},     {"+12", "12"},
              {"32767", "32767"},   {"-32768", "-32768"},                 {"-32768.5", "-32768"},
              {"40000", ""},        {"32767.5", ""},    {"-32769", ""},   {"1e2", ""},
              {"99999999999999999999999", ""},          {"abc", ""},      {"", ""},
              {"12abc", ""},        {"1 2", ""}});
        // clang-format on
    }
    void save() { check(readSaveNumber); }
    void save_data() {
        // clang-format off
        rows({{"12abc", "12"},      {"1 2", "12"},      {"\t1\n3 ", "13"}, {"", "0"},
              {"abc", "0"},         {"e5", "0"},        {"-7", "-7"},     {"+8", "8"},
              {"1.5.5", "2"},       {"2.5", "2"},       {"3.5", "4"},     {"25e-1", "2"},
              {"2.50000000000000000001", "3"},          {"25000000000e-10", "2"},
              {"1e3", "1000"},      {"12e", "12"},      {"1e10", ""},     {"99999999999", ""},
              {"2147483647", "2147483647"},             {"-2147483648", "-2147483648"},
              {"-2147483648.5", "-2147483648"},         {"2147483647.5", ""},
              {"1e999999999999999999999", ""}});
        // clang-format on
    }
};

QTEST_GUILESS_MAIN(tst_RecordNumber)
#include "tst_recordnumber.moc"
