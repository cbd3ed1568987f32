// The data file shipped with the program, as the build generates it: its layout,
// anchor values from the CRC Handbook of Chemistry and Physics, and the counts
// and units of every numeric field. How each value was chosen and cross-checked
// is tested by tools/gather-elements.py --self-test.
#include "DataFiles.h"
#include "ElementRecord.h"
#include "testsupport.h"

#include <QByteArray>
#include <QString>
#include <QTest>

#include <optional>
#include <vector>

using namespace orbitra;

namespace {

constexpr int kElements = 110;

// Indices of the record's fields.
constexpr int Name = 0, Number = 1, Weight = 2, Melting = 3, Boiling = 4, Density = 5,
              SpecificHeat = 9, Thermal = 10, Electrical = 11, Vaporization = 12, Fusion = 13;

QString shippedFile(const char* name) {
    return qEnvironmentVariable("ORBITRA_DATA_DIR") + '/' + name;
}

}  // namespace

class tst_elementdata : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void anchors_data();
    void anchors();
    void countsAndUnits();

private:
    QString text(int z, int field) const {
        return QString::fromStdString(records_[z - 1].fields[field]).trimmed();
    }
    std::optional<double> number(int z, int field) const {
        bool ok = false;
        const double value = text(z, field).remove('[').remove(']').toDouble(&ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }

    std::vector<ElementRecord> records_ = std::vector<ElementRecord>(kElements);
};

// Every element has its record, named, at its atomic number; the backup is the
// same file.
void tst_elementdata::initTestCase() {
    const QByteArray bytes = testsupport::readFile(shippedFile("period.bio"));
    QCOMPARE(bytes.size(), kElements * kRecordSize);
    QCOMPARE(testsupport::readFile(shippedFile("period.bak")), bytes);
    DataFiles files;
    QVERIFY(files.open(1, shippedFile("period.bio").toStdString()).ok());
    for (int n = 1; n <= kElements; ++n) {
        QVERIFY(ReadRecord(files, 1, n, records_[n - 1]).ok());
        QCOMPARE(text(n, Number), QString::number(n));
        QVERIFY(!text(n, Name).isEmpty());
    }
}

// Values as the CRC Handbook gives them, in the main window's units, each with
// the tolerance it is checked to: at least one per numeric field, among them
// the boiling points that the single earlier source had wrong.
void tst_elementdata::anchors_data() {
    QTest::addColumn<int>("z");
    QTest::addColumn<int>("field");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");
    const struct {
        const char* what;
        int z, field;
        double expected, tolerance;
    } anchors[] = {
        {"iron, atomic weight", 26, Weight, 55.845, 0.001},
        {"iron, melting point C", 26, Melting, 1538, 5},
        {"thorium, melting point C", 90, Melting, 1750, 5},
        {"promethium, melting point C", 61, Melting, 1042, 5},
        {"copper, boiling point C", 29, Boiling, 2562, 5},
        {"silicon, boiling point C", 14, Boiling, 3265, 5},
        {"praseodymium, boiling point C", 59, Boiling, 3520, 5},
        {"uranium, boiling point C", 92, Boiling, 4131, 5},
        {"actinium, boiling point C", 89, Boiling, 3200, 5},
        {"carbon, sublimation point C", 6, Boiling, 3825, 5},
        {"iron, density g/ml", 26, Density, 7.87, 0.01},
        {"boron, density g/ml", 5, Density, 2.34, 0.01},
        {"ytterbium, density g/ml", 70, Density, 6.90, 0.01},
        {"hydrogen, gas density g/ml at 0 C", 1, Density, 8.988e-5, 0.01e-5},
        {"iron, specific heat J/g-K", 26, SpecificHeat, 0.449, 0.002},
        {"copper, thermal conductivity W/cm-K", 29, Thermal, 4.01, 0.05},
        {"copper, electrical conductivity 10^6/cm-ohm (1.725 uohm cm)", 29, Electrical, 0.580,
         0.01},
        {"aluminium, heat of vaporization kJ/mol", 13, Vaporization, 294, 1},
        {"hydrogen, heat of vaporization kJ/mol of H2", 1, Vaporization, 0.90, 0.01},
        {"iron, heat of fusion kJ/mol", 26, Fusion, 13.81, 0.05},
    };
    for (const auto& a : anchors) {
        QTest::newRow(a.what) << a.z << a.field << a.expected << a.tolerance;
    }
}

void tst_elementdata::anchors() {
    QFETCH(int, z);
    QFETCH(int, field);
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    const auto value = number(z, field);
    QVERIFY2(value.has_value(), qPrintable(text(z, Name) + ": empty"));
    QVERIFY2(qAbs(*value - expected) <= tolerance,
             qPrintable(
                 QString("%1: %2, expected %3").arg(text(z, Name), text(z, field)).arg(expected)));
}

// Elements with a value per field, and every value a number in the range its
// unit puts it in, so a value left in K, kg/m3, J/mol, W/(m*K) or ohm-cm stands
// out. The floors are the counts of measured values the sources hold (see
// data/SOURCES.md: the melting and boiling points and heats of vaporization
// that are missing have only estimates); gases are the elements that boil
// below 25 C.
void tst_elementdata::countsAndUnits() {
    const struct {
        int field;
        int atLeast;
        double low, high;
    } fields[] = {
        {Melting, 97, -273.15, 3600},   {Boiling, 93, -273.15, 6000}, {Density, 95, 0.00001, 23},
        {SpecificHeat, 85, 0.09, 15},   {Thermal, 95, 0.00001, 5},    {Electrical, 64, 0.001, 0.7},
        {Vaporization, 83, 0.05, 1000}, {Fusion, 88, 0.01, 150},
    };
    for (const auto& f : fields) {
        int values = 0;
        for (int z = 1; z <= kElements; ++z) {
            const auto value = number(z, f.field);
            QVERIFY2(text(z, f.field).isEmpty() || (value && *value >= f.low && *value <= f.high),
                     qPrintable(text(z, Name) + ": " + text(z, f.field)));
            values += value.has_value();
        }
        QVERIFY2(values >= f.atLeast, qPrintable(QString("field %1: %2 values, expected %3")
                                                     .arg(f.field)
                                                     .arg(values)
                                                     .arg(f.atLeast)));
    }
    for (int z = 1; z <= kElements; ++z) {
        const auto melting = number(z, Melting);
        const auto boiling = number(z, Boiling);
        // Arsenic (33) sublimes at normal pressure; it melts only under pressure, hotter.
        QVERIFY2(z == 33 || !melting || !boiling || *melting < *boiling, qPrintable(text(z, Name)));
        const auto density = number(z, Density);
        if (density) {
            const bool gas = boiling && *boiling < 25;
            QVERIFY2(gas ? *density < 0.01 : *density > 0.5,
                     qPrintable(text(z, Name) + ": " + text(z, Density)));
        }
    }
}

QTEST_GUILESS_MAIN(tst_elementdata)
#include "tst_elementdata.moc"
