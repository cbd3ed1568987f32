// The data file shipped with the program, as the build generates it: its layout
// and, to catch a wrong unit conversion, what every chemist knows of the values.
#include "DataFiles.h"
#include "ElementRecord.h"
#include "testsupport.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTest>

#include <optional>
#include <vector>

using namespace orbitra;

namespace {

constexpr int kElements = 110;

// Indices of the record's fields.
constexpr int Name = 0, Number = 1, Melting = 3, Boiling = 4, Density = 5, SpecificHeat = 9,
              Thermal = 10, Electrical = 11, Vaporization = 12, Fusion = 13;

QString shippedFile(const char* name) {
    return qEnvironmentVariable("ORBITRA_DATA_DIR") + '/' + name;
}

}  // namespace

class tst_elementdata : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layoutOfTheGeneratedFile();
    void meltingBelowBoilingAndRoomTemperatureLiquids();
    void valuesInTheWindowsUnits_data();
    void valuesInTheWindowsUnits();
    void extremes_data();
    void extremes();

private:
    QString text(int z, int field) const {
        return QString::fromStdString(records_[z - 1].fields[field]).trimmed();
    }
    std::optional<double> number(int z, int field) const {
        bool ok = false;
        const double value = text(z, field).toDouble(&ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }

    std::vector<ElementRecord> records_ = std::vector<ElementRecord>(kElements);
};

void tst_elementdata::initTestCase() {
    DataFiles files;
    QVERIFY(files.open(1, shippedFile("period.bio").toStdString()).ok());
    for (int n = 1; n <= kElements; ++n) {
        QVERIFY(ReadRecord(files, 1, n, records_[n - 1]).ok());
    }
}

void tst_elementdata::layoutOfTheGeneratedFile() {
    const QByteArray bytes = testsupport::readFile(shippedFile("period.bio"));
    QCOMPARE(bytes.size(), 19470);
    QCOMPARE(testsupport::readFile(shippedFile("period.bak")), bytes);
    for (int n = 1; n <= kElements; ++n) {
        QCOMPARE(bytes.mid(n * kRecordSize - 2, 2), QByteArray("\r\n"));
        QCOMPARE(text(n, Number), QString::number(n));
        QVERIFY2(!text(n, Name).isEmpty(), qPrintable(QString("record %1").arg(n)));
    }
}

void tst_elementdata::meltingBelowBoilingAndRoomTemperatureLiquids() {
    // Arsenic (33) sublimes at normal pressure; it melts only under pressure, hotter.
    for (int z = 1; z <= kElements; ++z) {
        const auto melting = number(z, Melting);
        const auto boiling = number(z, Boiling);
        QVERIFY2(z == 33 || !melting || !boiling || *melting < *boiling, qPrintable(text(z, Name)));
    }
    for (const int z : {35, 80}) {  // bromine, mercury
        QVERIFY2(number(z, Melting).value_or(99) < 25 && number(z, Boiling).value_or(0) > 25,
                 qPrintable(text(z, Name)));
    }
}

// Every value is a number where the unit printed beside its box puts it, so a
// value left in K, kg/m3, J/mol, W/(m*K) or ohm-cm stands out. Gases have no
// density here.
void tst_elementdata::valuesInTheWindowsUnits_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<int>("atLeast");
    QTest::newRow("melting point, C") << Melting << -273.15 << 3600.0 << 90;
    QTest::newRow("boiling point, C") << Boiling << -273.15 << 6000.0 << 90;
    QTest::newRow("density of solids and liquids, g/ml") << Density << 0.5 << 23.0 << 80;
    QTest::newRow("specific heat, J/g-K") << SpecificHeat << 0.05 << 15.0 << 0;
    QTest::newRow("thermal conductivity, W/cm-K") << Thermal << 0.00001 << 5.0 << 90;
    QTest::newRow("electrical conductivity, 10^6/cm-ohm") << Electrical << 0.001 << 0.7 << 60;
    QTest::newRow("heat of vaporization, kJ/mol") << Vaporization << 0.05 << 1000.0 << 0;
    QTest::newRow("heat of fusion, kJ/mol") << Fusion << 0.01 << 100.0 << 0;
}

void tst_elementdata::valuesInTheWindowsUnits() {
    QFETCH(int, field);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(int, atLeast);
    int values = 0;
    for (int z = 1; z <= kElements; ++z) {
        const auto value = number(z, field);
        QVERIFY2(text(z, field).isEmpty() || (value && *value > low && *value < high),
                 qPrintable(text(z, Name) + ": " + text(z, field)));
        values += value.has_value();
    }
    QVERIFY(values >= atLeast);
}

// The leaders beat every other element with a value; `sign` -1 asks for the lowest.
void tst_elementdata::extremes_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<double>("sign");
    QTest::addColumn<QList<int>>("leaders");
    QTest::newRow("density: osmium, iridium") << Density << 1.0 << QList<int>{76, 77};
    QTest::newRow("electrical: copper, silver") << Electrical << 1.0 << QList<int>{29, 47};
    QTest::newRow("thermal: copper, silver") << Thermal << 1.0 << QList<int>{29, 47};
    QTest::newRow("boiling point, lowest: helium") << Boiling << -1.0 << QList<int>{2};
}

void tst_elementdata::extremes() {
    QFETCH(int, field);
    QFETCH(double, sign);
    QFETCH(QList<int>, leaders);
    for (const int leader : leaders) {
        const double best = sign * number(leader, field).value_or(-sign * 1e9);
        for (int z = 1; z <= kElements; ++z) {
            const auto value = number(z, field);
            QVERIFY2(!value || leaders.contains(z) || best > sign * *value,
                     qPrintable(text(leader, Name) + " below " + text(z, Name)));
        }
    }
}

QTEST_GUILESS_MAIN(tst_elementdata)
#include "tst_elementdata.moc"
