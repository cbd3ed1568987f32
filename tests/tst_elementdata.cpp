// The data file shipped with the program, as the build generates it: its layout
// and, to catch a wrong unit conversion, what every chemist knows of the values.
#include "DataFiles.h"
#include "ElementRecord.h"
#include "testsupport.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QTest>

#include <algorithm>
#include <optional>
#include <vector>

using namespace orbitra;

namespace {

constexpr int kElements = 110;

enum Field {
    Name = 0,
    Number = 1,
    Weight = 2,
    Melting = 3,
    Boiling = 4,
    Density = 5,
    Valence = 7,
    SpecificHeat = 9,
    Thermal = 10,
    Electrical = 11,
    Vaporization = 12,
    Fusion = 13
};

QString shippedFile(const char* name) {
    return qEnvironmentVariable("ORBITRA_DATA_DIR") + '/' + name;
}

// The records as the program reads them, index 0 holding record 1.
std::vector<ElementRecord> readShippedRecords() {
    std::vector<ElementRecord> records(kElements);
    DataFiles files;
    if (!files.open(1, shippedFile("period.bio").toStdString()).ok()) {
        return {};
    }
    for (int n = 1; n <= kElements; ++n) {
        if (!ReadRecord(files, 1, n, records[n - 1]).ok()) {
            return {};
        }
    }
    return records;
}

QString text(const ElementRecord& record, int field) {
    return QString::fromStdString(record.fields[field]).trimmed();
}

std::optional<double> number(const ElementRecord& record, int field) {
    bool ok = false;
    const double value = text(record, field).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// Atomic numbers of the elements ordered by a field, highest value first.
std::vector<int> rankedBy(const std::vector<ElementRecord>& records, int field) {
    std::vector<int> ranked;
    for (int z = 1; z <= kElements; ++z) {
        if (number(records[z - 1], field)) {
            ranked.push_back(z);
        }
    }
    std::sort(ranked.begin(), ranked.end(), [&](int a, int b) {
        return *number(records[a - 1], field) > *number(records[b - 1], field);
    });
    return ranked;
}

}  // namespace

class tst_elementdata : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layoutOfTheGeneratedFile();
    void everyRecordNamesItsElement();
    void measuredFieldsHoldPlainNumbers();
    void meltingBelowBoiling();
    void valuesInTheWindowsUnits_data();
    void valuesInTheWindowsUnits();
    void extremes_data();
    void extremes();
    void liquidsAtRoomTemperature_data();
    void liquidsAtRoomTemperature();

private:
    std::vector<ElementRecord> records_;
};

void tst_elementdata::initTestCase() {
    records_ = readShippedRecords();
    QVERIFY2(records_.size() == kElements, "the generated period.bio could not be read");
}

void tst_elementdata::layoutOfTheGeneratedFile() {
    const QByteArray bytes = testsupport::readFile(shippedFile("period.bio"));
    QCOMPARE(bytes.size(), 19470);
    for (int n = 1; n <= kElements; ++n) {
        QCOMPARE(bytes.mid(n * kRecordSize - 2, 2), QByteArray("\r\n"));
        QVERIFY2(!bytes.mid((n - 1) * kRecordSize, kRecordSize - 2).contains('\0'),
                 qPrintable(QString("record %1 holds a zero byte").arg(n)));
    }
    QCOMPARE(testsupport::readFile(shippedFile("period.bak")), bytes);
}

void tst_elementdata::everyRecordNamesItsElement() {
    for (int n = 1; n <= kElements; ++n) {
        const ElementRecord& record = records_[n - 1];
        QCOMPARE(text(record, Number), QString::number(n));
        QVERIFY2(!text(record, Name).isEmpty(), qPrintable(QString("record %1").arg(n)));
    }
    QCOMPARE(text(records_[12], Name), QString("Aluminium"));
    QCOMPARE(text(records_[15], Name), QString("Sulfur"));
    QCOMPARE(text(records_[54], Name), QString("Caesium"));
    QCOMPARE(text(records_[103], Name), QString("Rutherfordium"));
}

void tst_elementdata::measuredFieldsHoldPlainNumbers() {
    const QRegularExpression weight("^(\\d+\\.\\d+|\\[\\d+\\])$");
    const QRegularExpression states("^(-?\\d+(,-?\\d+)*)?$");
    for (int n = 1; n <= kElements; ++n) {
        const ElementRecord& record = records_[n - 1];
        QVERIFY2(weight.match(text(record, Weight)).hasMatch(),
                 qPrintable(QString("record %1 weight %2").arg(n).arg(text(record, Weight))));
        QVERIFY2(states.match(text(record, Valence)).hasMatch(),
                 qPrintable(QString("record %1 states %2").arg(n).arg(text(record, Valence))));
        for (const int field :
             {Melting, Boiling, Density, SpecificHeat, Thermal, Electrical, Vaporization, Fusion}) {
            QVERIFY2(text(record, field).isEmpty() || number(record, field),
                     qPrintable(QString("record %1 field %2: %3")
                                    .arg(n)
                                    .arg(QString::fromUtf8(kFields[field].box))
                                    .arg(text(record, field))));
        }
    }
}

void tst_elementdata::meltingBelowBoiling() {
    int compared = 0;
    for (int z = 1; z <= kElements; ++z) {
        // Arsenic sublimes at normal pressure; it melts only under pressure, hotter.
        if (z == 33) {
            continue;
        }
        const auto melting = number(records_[z - 1], Melting);
        const auto boiling = number(records_[z - 1], Boiling);
        if (melting && boiling) {
            QVERIFY2(*melting < *boiling, qPrintable(text(records_[z - 1], Name)));
            ++compared;
        }
    }
    QVERIFY(compared > 80);
}

// Every value lies where the unit printed beside its box puts it, so a value
// left in K, kg/m3, W/(m*K) or ohm-cm stands out. Gases have no density here.
void tst_elementdata::valuesInTheWindowsUnits_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<int>("atLeast");
    QTest::newRow("melting point, C") << int(Melting) << -273.15 << 3600.0 << 90;
    QTest::newRow("boiling point, C") << int(Boiling) << -273.15 << 6000.0 << 90;
    QTest::newRow("density of solids and liquids, g/ml") << int(Density) << 0.5 << 23.0 << 80;
    QTest::newRow("thermal conductivity, W/cm-K") << int(Thermal) << 0.00001 << 5.0 << 90;
    QTest::newRow("electrical conductivity, 10^6/cm-ohm") << int(Electrical) << 0.001 << 0.7 << 60;
}

void tst_elementdata::valuesInTheWindowsUnits() {
    QFETCH(int, field);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(int, atLeast);
    int values = 0;
    for (int z = 1; z <= kElements; ++z) {
        if (const auto value = number(records_[z - 1], field)) {
            QVERIFY2(*value > low && *value < high,
                     qPrintable(text(records_[z - 1], Name) + ": " + text(records_[z - 1], field)));
            ++values;
        }
    }
    QVERIFY(values >= atLeast);
}

void tst_elementdata::extremes_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("highest");
    QTest::addColumn<QList<int>>("leaders");
    QTest::newRow("densest: osmium or iridium") << int(Density) << true << QList<int>{76, 77};
    QTest::newRow("best electrical conductors: silver, copper")
        << int(Electrical) << true << QList<int>{47, 29};
    QTest::newRow("best thermal conductors: silver, copper")
        << int(Thermal) << true << QList<int>{47, 29};
    QTest::newRow("lowest boiling point: helium") << int(Boiling) << false << QList<int>{2};
}

void tst_elementdata::extremes() {
    QFETCH(int, field);
    QFETCH(bool, highest);
    QFETCH(QList<int>, leaders);
    std::vector<int> ranked = rankedBy(records_, field);
    if (!highest) {
        std::reverse(ranked.begin(), ranked.end());
    }
    QVERIFY(ranked.size() >= 50);
    if (field == Density) {
        QVERIFY(leaders.contains(ranked.front()));
        return;
    }
    for (qsizetype i = 0; i < leaders.size(); ++i) {
        QVERIFY2(leaders.contains(ranked[i]), qPrintable(text(records_[ranked[i] - 1], Name)));
    }
}

void tst_elementdata::liquidsAtRoomTemperature_data() {
    QTest::addColumn<int>("z");
    QTest::newRow("mercury") << 80;
    QTest::newRow("bromine") << 35;
}

void tst_elementdata::liquidsAtRoomTemperature() {
    QFETCH(int, z);
    const auto melting = number(records_[z - 1], Melting);
    const auto boiling = number(records_[z - 1], Boiling);
    QVERIFY(melting && boiling);
    QVERIFY(*melting < 25.0);
    QVERIFY(*boiling > 25.0);
    const auto density = number(records_[z - 1], Density);
    QVERIFY(density && *density > 1.0 && *density < 20.0);  // g/ml, not g/L or kg/m3
}

QTEST_GUILESS_MAIN(tst_elementdata)
#include "tst_elementdata.moc"
