// The data file shipped with the program, as the build generates it: anchor
// values from the CRC Handbook of Chemistry and Physics, and the counts and
// units of every numeric field. How each value was chosen and cross-checked is
// tested by tools/gather-elements.py --self-test.
#include "DataFiles.h"
#include "testsupport.h"

using namespace orbitra;

class tst_elementdata : public QObject {
    Q_OBJECT
    std::vector<ElementRecord> records_ = std::vector<ElementRecord>(110);

    // The text of a field, by the name of the box that shows it.
    QString text(int z, std::string_view box) const {
        const auto field = std::find_if(kFields.begin(), kFields.end(),
                                        [&](const FieldSpec& f) { return f.box == box; });
        return QString::fromStdString(records_[z - 1].fields[field - kFields.begin()]).trimmed();
    }
    // The value of a box, or NaN when it holds none.
    double number(int z, std::string_view field) const {
        bool ok = false;
        const double value = text(z, field).remove('[').remove(']').toDouble(&ok);
        return ok ? value : qQNaN();
    }

private Q_SLOTS:
    // Every element has its record, named, at its atomic number; the backup is
    // the same file.
    void initTestCase() {
        const QString file = qEnvironmentVariable("ORBITRA_DATA_DIR") + "/period.bio";
        const QByteArray bytes = testsupport::readFile(file);
        QCOMPARE(bytes.size(), 110 * kRecordSize);
        QCOMPARE(testsupport::readFile(QString(file).replace(".bio", ".bak")), bytes);
        DataFiles files;
        QVERIFY(files.open(1, file.toStdString()).ok());
        for (int z = 1; z <= 110; ++z) {
            QVERIFY(ReadRecord(files, 1, z, records_[z - 1]).ok());
            QVERIFY(text(z, "cAN") == QString::number(z) && !text(z, "cname").isEmpty());
        }
    }

    // Values as the CRC Handbook gives them, in the main window's units, each with
    // the tolerance it is checked to: at least one per numeric field, among them
    // the boiling points that the single earlier source had wrong.
    void anchors_data() {
        QTest::addColumn<int>("z");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");
        const auto row = [](const char* what, int z, const char* field, double expected,
                            double within) {
            QTest::newRow(what) << z << QByteArray(field) << expected << within;
        };
        row("iron, atomic weight", 26, "cAW", 55.845, 0.001);
        row("iron, melting point C", 26, "cMP", 1538, 5);
        row("thorium, melting point C", 90, "cMP", 1750, 5);
        row("promethium, melting point C", 61, "cMP", 1042, 5);
        row("copper, boiling point C", 29, "cBP", 2562, 5);
        row("silicon, boiling point C", 14, "cBP", 3265, 5);
        row("praseodymium, boiling point C", 59, "cBP", 3520, 5);
        row("uranium, boiling point C", 92, "cBP", 4131, 5);
        row("actinium, boiling point C", 89, "cBP", 3200, 5);
        row("carbon, sublimation point C", 6, "cBP", 3825, 5);
        row("iron, density g/ml", 26, "cDen", 7.87, 0.01);
        row("boron, density g/ml", 5, "cDen", 2.34, 0.01);
        row("ytterbium, density g/ml", 70, "cDen", 6.90, 0.01);
        row("hydrogen, gas density g/ml at 0 C", 1, "cDen", 8.988e-5, 0.01e-5);
        row("iron, specific heat J/g-K", 26, "cSH", 0.449, 0.002);
        row("copper, thermal conductivity W/cm-K", 29, "cTC", 4.01, 0.05);
        row("copper, electrical conductivity 10^6/cm-ohm (1.725 uohm cm)", 29, "EC", 0.580, 0.01);
        row("aluminium, heat of vaporization kJ/mol", 13, "cHV", 294, 1);
        row("hydrogen, heat of vaporization kJ/mol of H2", 1, "cHV", 0.90, 0.01);
        row("iron, heat of fusion kJ/mol", 26, "cHF", 13.81, 0.05);
    }
    void anchors() {
        QFETCH(int, z);
        QFETCH(QByteArray, field);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        QVERIFY2(qAbs(number(z, field.constData()) - expected) <= tolerance,
                 qPrintable(text(z, "cname") + ": \"" + text(z, field.constData()) + '"'));
    }

    // Elements with a value per field, and every value a number in the range its
    // unit puts it in, so a value left in K, kg/m3, J/mol, W/(m*K) or ohm-cm stands
    // out. The floors are the counts of measured values the sources hold (see
    // data/SOURCES.md: the melting and boiling points and heats of vaporization
    // that are missing have only estimates); gases are the elements that boil
    // below 25 C.
    void countsAndUnits() {
        const struct {
            const char* field;
            int atLeast;
            double low, high;
        } fields[] = {
            {"cMP", 97, -273.15, 3600}, {"cBP", 93, -273.15, 6000}, {"cDen", 95, 1e-5, 23},
            {"cSH", 85, 0.09, 15},      {"cTC", 95, 1e-5, 5},       {"EC", 64, 1e-3, 0.7},
            {"cHV", 83, 0.05, 1000},    {"cHF", 88, 0.01, 150},
        };
        for (const auto& f : fields) {
            int values = 0;
            for (int z = 1; z <= 110; ++z) {
                const double value = number(z, f.field);
                QVERIFY2(text(z, f.field).isEmpty() || (value >= f.low && value <= f.high),
                         qPrintable(text(z, "cname") + ": " + text(z, f.field)));
                values += !qIsNaN(value);
            }
            QVERIFY2(values >= f.atLeast,
                     qPrintable(QString("field %1: %2").arg(f.field).arg(values)));
        }
        for (int z = 1; z <= 110; ++z) {
            // Arsenic (33) sublimes at normal pressure; it melts only under pressure, hotter.
            QVERIFY2(z == 33 || !(number(z, "cMP") >= number(z, "cBP")),
                     qPrintable(text(z, "cname")));
            const bool gas = number(z, "cBP") < 25;
            QVERIFY2(qIsNaN(number(z, "cDen")) ||
                         (gas ? number(z, "cDen") < 0.01 : number(z, "cDen") > 0.5),
                     qPrintable(text(z, "cname") + ": " + text(z, "cDen")));
        }
    }
};

QTEST_GUILESS_MAIN(tst_elementdata)
#include "tst_elementdata.moc"
