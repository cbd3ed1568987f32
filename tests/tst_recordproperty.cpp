#include "DataFiles.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orbitra;

// Random writes at random record numbers, checked byte for byte against a model
// of the file kept in memory: every record is what was last written there,
// every gap is zero bytes, and the length is the highest record times 177.
class RecordPropertyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomWritesMatchTheModel_data();
    void randomWritesMatchTheModel();
};

namespace {

ElementRecord randomRecord(QRandomGenerator& random) {
    // Printable ASCII and Latin-1 letters, from empty to longer than any field.
    ElementRecord record;
    for (std::string& field : record.fields) {
        const int length = random.bounded(30);
        QString text;
        for (int i = 0; i < length; ++i) {
            text += random.bounded(4) == 0 ? QChar(0xC0 + random.bounded(64))
                                           : QChar(0x20 + random.bounded(95));
        }
        field = text.toStdString();
    }
    return record;
}

}  // namespace

void RecordPropertyTest::randomWritesMatchTheModel_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("highest");
    QTest::newRow("small file, many overwrites") << 1u << 40;
    QTest::newRow("table-sized file") << 2u << 130;
    QTest::newRow("whole range") << 3u << 32767;
    QTest::newRow("whole range again") << 4u << 32767;
}

void RecordPropertyTest::randomWritesMatchTheModel() {
    QFETCH(quint32, seed);
    QFETCH(int, highest);
    testsupport::ScratchFolder folder;
    QRandomGenerator random(seed);
    DataFiles files;
    QVERIFY(files.open(1).ok());
    QByteArray model;

    for (int step = 0; step < 300; ++step) {
        const int number = 1 + random.bounded(highest);
        const ElementRecord record = randomRecord(random);
        QVERIFY(WriteRecord(files, 1, number, record, Sync::No).ok());

        const RecordBytes bytes = encodeRecord(record);
        const qsizetype offset = qsizetype(number - 1) * kRecordSize;
        if (model.size() < offset + kRecordSize) {
            model.resize(offset + kRecordSize, '\0');
        }
        model.replace(offset, kRecordSize, reinterpret_cast<const char*>(bytes.data()),
                      kRecordSize);

        // A read of any record agrees with the model too.
        const int probe = 1 + random.bounded(highest + 5);
        ElementRecord read;
        QVERIFY(ReadRecord(files, 1, probe, read).ok());
        RecordBytes expected{};
        const qsizetype at = qsizetype(probe - 1) * kRecordSize;
        if (at < model.size()) {
            std::memcpy(expected.data(), model.constData() + at, kRecordSize);
        }
        QCOMPARE(read, decodeRecord(expected));
    }
    QVERIFY(files.close(1).ok());
    const QByteArray file = testsupport::readFile(folder.file("period.bio"));
    QCOMPARE(file.size(), model.size());
    QVERIFY(file == model);
}

QTEST_GUILESS_MAIN(RecordPropertyTest)
#include "tst_recordproperty.moc"
