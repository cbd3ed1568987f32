#include "ElementRecord.h"
#include "Program.h"
#include "TileCatalogue.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace orbitra;
using testsupport::messageBoxText;
using testsupport::readFile;
using testsupport::ScratchFolder;
using testsupport::writeFile;

namespace {

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0),
                 qRound(height / 15.0));
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testsupport::quietOffscreenWarnings(); }
    void init();
    void cleanup();

    void catalogueIsComplete();
    void tilesStandWhereTheGridPutsThem();
    void legendMatchesTileColours();

    void startInEmptyFolderCreatesFile();
    void folderInsteadOfFileStopsStartup();

    void clickShowsTheTilesRecord_data();
    void clickShowsTheTilesRecord();
    void recordPastTheEndEmptiesTheBoxes();
    void everyClickReadsTheFileAgain();
    void readErrorIsReportedAndKeepsTheBoxes();

    void focusAndTabOrder();
    void tilesAndBoxesAreReadOnly_data();
    void tilesAndBoxesAreReadOnly();
    void maximizeMovesNothing();
    void quitClosesHandleOne();
    void tileKeys_data();
    void tileKeys();
    void accessibleTexts_data();
    void accessibleTexts();
    void tilesNameTheFamilyTheirColourShows();
    void layoutRelations_data();
    void layoutRelations();

private:
    QLineEdit* box(const char* name) const {
        return program_->mainWindow()->findChild<QLineEdit*>(QLatin1String(name));
    }
    QLineEdit* tileNamed(const QString& name) const {
        return program_->mainWindow()->findChild<QLineEdit*>(name);
    }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    std::unique_ptr<ScratchFolder> folder_;
    std::unique_ptr<Program> program_;
};

void MainWindowTest::init() {
    folder_ = std::make_unique<ScratchFolder>();
    writeFile(folder_->file("period.bio"), testsupport::sampleDataFile(110));
    program_ = std::make_unique<Program>();
    QVERIFY(program_->start());
    QVERIFY(QTest::qWaitForWindowExposed(program_->mainWindow()));
}

void MainWindowTest::cleanup() {
    program_.reset();
    folder_.reset();
}

void MainWindowTest::catalogueIsComplete() {
    QSet<int> numbers;
    QSet<int> controls;
    for (const ElementTile& tile : TileCatalogue) {
        numbers.insert(tile.z);
        controls.insert(tile.control);
    }
    QCOMPARE(numbers.size(), 110);
    QVERIFY(numbers.contains(1) && numbers.contains(110) && !numbers.contains(111));
    QCOMPARE(controls.size(), 110);
    for (int n = 1; n <= 112; ++n) {
        QCOMPARE(controls.contains(n), n != 77 && n != 78);
    }
    QCOMPARE(program_->mainWindow()
                 ->findChildren<QLineEdit*>(QRegularExpression(QStringLiteral("^Text\\d+$")))
                 .size(),
             110);
}

void MainWindowTest::tilesStandWhereTheGridPutsThem() {
    QMap<int, int> perRow;
    for (const ElementTile& tile : TileCatalogue) {
        const bool series = (tile.z >= 58 && tile.z <= 71) || (tile.z >= 90 && tile.z <= 103);
        int column;
        int top;
        if (series) {
            const bool lanthanide = tile.z <= 71;
            column = 5 + tile.z - (lanthanide ? 58 : 90);
            top = lanthanide ? 5160 : 5520;
        } else {
            // Long-form position of the element, worked out from its number.
            static const int periodStarts[] = {1, 3, 11, 19, 37, 55, 87, 119};
            int period = 1;
            while (tile.z >= periodStarts[period]) {
                ++period;
            }
            const int index = tile.z - periodStarts[period - 1];  // 0-based within the period
            if (period == 1) {
                column = tile.z == 1 ? 1 : 18;
            } else if (period <= 3) {
                column = index < 2 ? index + 1 : index + 11;
            } else if (period <= 5) {
                column = index + 1;
            } else {
                // Periods 6 and 7 leave their 14 series elements to the rows below.
                column = index < 3 ? index + 1 : index - 13;
            }
            top = 2640 + 360 * (period - 1);
        }
        perRow[top]++;
        QVERIFY2(tile.left == 360 * column && tile.top == top,
                 qPrintable(QStringLiteral("Z %1").arg(tile.z)));
        const QLineEdit* widget = tileNamed(QStringLiteral("Text%1").arg(tile.control));
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), twipsRect(tile.left, tile.top, 350, 350));
        QCOMPARE(widget->text(), QString::fromUtf8(tile.symbol.data(), tile.symbol.size()));
    }
    QCOMPARE(perRow.values(), (QList<int>{2, 8, 8, 18, 18, 18, 10, 14, 14}));
    QCOMPARE(program_->mainWindow()->tile(26)->objectName(), QStringLiteral("Text39"));
}

void MainWindowTest::legendMatchesTileColours() {
    QMap<unsigned, int> counts;
    for (const ElementTile& tile : TileCatalogue) {
        counts[tile.colour]++;
    }
    const QMap<unsigned, int> expected{{0x8080FF, 38}, {0xC0FFFF, 28}, {0x80FF80, 10},
                                       {0xFFFF80, 10}, {0xFFC0C0, 7},  {0xFF80FF, 6},
                                       {0x808080, 6},  {0xFF8080, 5}};
    QCOMPARE(counts, expected);
    for (unsigned colour : counts.keys()) {
        const auto swatches = std::count_if(Legend.begin(), Legend.end(),
                                            [colour](const auto& e) { return e.colour == colour; });
        QCOMPARE(int(swatches), colour == 0xC0FFFF ? 0 : 1);
    }
    auto* swatch = program_->mainWindow()->findChild<QFrame*>(QStringLiteral("Shape1"));
    QVERIFY(swatch);
    QCOMPARE(swatch->palette().color(QPalette::Window), QColor(0x80, 0x80, 0xFF));
    QCOMPARE(swatch->geometry(), twipsRect(7680, 3360, 270, 270));
    QCOMPARE(program_->mainWindow()->tile(1)->palette().color(QPalette::Base),
             QColor(0xFF, 0xC0, 0xC0));
}

void MainWindowTest::startInEmptyFolderCreatesFile() {
    program_.reset();
    ScratchFolder empty;
    Program program;
    QVERIFY(program.start());
    QCOMPARE(QFileInfo(empty.file("period.bio")).size(), 0);
    click(program.mainWindow()->tile(26));
    for (QLineEdit* b : program.mainWindow()->detailBoxes()) {
        QCOMPARE(b->text(), QString());
    }
}

void MainWindowTest::folderInsteadOfFileStopsStartup() {
    program_.reset();
    ScratchFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("period.bio")));
    Program program;
    bool started = true;
    const QString message = messageBoxText([&] { started = program.start(); });
    QVERIFY(!started);
    QVERIFY(message.contains(QLatin1String("period.bio")));
    QVERIFY(message.contains(QLatin1String("directory"), Qt::CaseInsensitive));
    QVERIFY(!program.mainWindow());
}

void MainWindowTest::clickShowsTheTilesRecord_data() {
    QTest::addColumn<QString>("tile");
    QTest::addColumn<int>("record");
    QTest::newRow("Na") << "Text1" << 11;
    QTest::newRow("H") << "Text5" << 1;
    QTest::newRow("Fe") << "Text39" << 26;
    QTest::newRow("Lw") << "Text98" << 103;
    QTest::newRow("110") << "Text50" << 110;
}

void MainWindowTest::clickShowsTheTilesRecord() {
    QFETCH(QString, tile);
    QFETCH(int, record);
    click(tileNamed(tile));
    QCOMPARE(box("cname")->text(), QStringLiteral("Name%1").arg(record).leftJustified(13));
    QCOMPARE(box("cAN")->text(), QString::number(record).leftJustified(3));
    QCOMPARE(box("cHF")->text(), QStringLiteral("Fusion%1").arg(record).leftJustified(10));
    QCOMPARE(box("cAW")->text(), QString(9, QLatin1Char(' ')));
}

void MainWindowTest::recordPastTheEndEmptiesTheBoxes() {
    writeFile(folder_->file("period.bio"), testsupport::sampleDataFile(105));
    click(program_->mainWindow()->tile(105));
    QVERIFY(!box("cname")->text().isEmpty());
    click(program_->mainWindow()->tile(106));
    for (QLineEdit* b : program_->mainWindow()->detailBoxes()) {
        QCOMPARE(b->text(), QString());
    }
}

void MainWindowTest::everyClickReadsTheFileAgain() {
    click(program_->mainWindow()->tile(26));
    QCOMPARE(box("cname")->text(), QStringLiteral("Name26       "));
    ElementRecord iron;
    iron.fields[0] = "Iron";
    QVERIFY(WriteRecord(program_->files(), 1, 26, iron).ok());
    QCOMPARE(box("cname")->text(), QStringLiteral("Name26       "));  // no refresh by itself
    click(program_->mainWindow()->tile(26));
    QCOMPARE(box("cname")->text(), QStringLiteral("Iron         "));
}

void MainWindowTest::readErrorIsReportedAndKeepsTheBoxes() {
    click(program_->mainWindow()->tile(8));
    QVERIFY(program_->files().close(1).ok());
    const QString message = messageBoxText([&] { click(program_->mainWindow()->tile(9)); });
    QVERIFY(!message.isEmpty());
    QCOMPARE(box("cname")->text(), QStringLiteral("Name8        "));
    QVERIFY(program_->mainWindow()->isVisible());
}

void MainWindowTest::focusAndTabOrder() {
    main* window = program_->mainWindow();
    QApplication::setActiveWindow(window);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(tileNamed("Text1")));
    QStringList order;
    QWidget* w = tileNamed("Text1");
    for (int i = 0; i < 125; ++i) {
        order << w->objectName();
        do {
            w = w->nextInFocusChain();
        } while (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window));
    }
    QCOMPARE(order.indexOf("cname"), 76);
    QCOMPARE(order.indexOf("cAN"), 77);
    QCOMPARE(order.at(75), QStringLiteral("Text76"));
    QCOMPARE(order.at(78), QStringLiteral("Text79"));
    QCOMPARE(order.mid(112, 12), (QStringList{"cDen", "cBP", "cMP", "cAW", "cSH", "cCS", "cVE",
                                              "cEC", "cHV", "EC", "cTC", "cHF"}));
    QCOMPARE(order.at(124), QStringLiteral("Text1"));
    QCOMPARE(box("cname")->text(), QString());  // focus alone shows nothing
}

void MainWindowTest::tilesAndBoxesAreReadOnly_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::newRow("tile") << "Text39"
                          << "Fe";
    QTest::newRow("detail box") << "cname"
                                << "Name26       ";
}

void MainWindowTest::tilesAndBoxesAreReadOnly() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    click(program_->mainWindow()->tile(26));
    auto* edit = program_->mainWindow()->findChild<QLineEdit*>(name);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("xyz"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), before);
}

void MainWindowTest::maximizeMovesNothing() {
    main* window = program_->mainWindow();
    const QRect fe = window->tile(26)->geometry();
    const QRect name = box("cname")->geometry();
    window->findChild<QAction*>(QStringLiteral("mmax"))->trigger();
    QTRY_VERIFY(window->isMaximized());
    QCOMPARE(window->tile(26)->geometry(), fe);
    QCOMPARE(box("cname")->geometry(), name);
    window->findChild<QAction*>(QStringLiteral("mmini"))->trigger();
    QTRY_VERIFY(window->isMinimized());
}

void MainWindowTest::quitClosesHandleOne() {
    QVERIFY(program_->files().isOpen(1));
    QAction* quit = program_->mainWindow()->findChild<QAction*>(QStringLiteral("mquit"));
    QCOMPARE(quit->text(), QStringLiteral("&Quit"));
    quit->trigger();
    QTRY_VERIFY(!program_->mainWindow());
    QVERIFY(!program_->files().isOpen(1));
}

void MainWindowTest::tileKeys_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");      // the tile with the focus afterwards
    QTest::addColumn<bool>("shown");  // the record of `from` shown
    const auto row = [](const char* tag, int from, Qt::Key key, int to, bool shown = false) {
        QTest::newRow(tag) << from << int(key) << to << shown;
    };
    row("Enter on Fe", 26, Qt::Key_Return, 26, true);
    row("keypad Enter on 110", 110, Qt::Key_Enter, 110, true);
    row("Space on H", 1, Qt::Key_Space, 1, true);
    row("Left from Fe", 26, Qt::Key_Left, 25);
    row("Down from Fe", 26, Qt::Key_Down, 44);
    row("Down from Ha into the series", 105, Qt::Key_Down, 58);
    row("Up from Th", 90, Qt::Key_Up, 58);
    row("Up from Ce out of the series", 58, Qt::Key_Up, 105);
    row("Right from H over the gap", 1, Qt::Key_Right, 2);
    row("Up from Lu over the empty row", 71, Qt::Key_Up, 86);
    row("Up from H", 1, Qt::Key_Up, 1);
    row("Left from Na", 11, Qt::Key_Left, 11);
    row("Right from Lu", 71, Qt::Key_Right, 71);
    row("Down from Lw", 103, Qt::Key_Down, 103);
}

void MainWindowTest::tileKeys() {
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    QFETCH(bool, shown);
    main* window = program_->mainWindow();
    QApplication::setActiveWindow(window);
    window->tile(from)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), window->tile(from));
    QTest::keyClick(window->tile(from), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), window->tile(to));
    QCOMPARE(box("cAN")->text().trimmed(), shown ? QString::number(from) : QString());
}

void MainWindowTest::accessibleTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<QString>("description");
    QTest::newRow("tile") << "Text39"
                          << "Fe, 26"
                          << "Transition Metals";
    QTest::newRow("swatch") << "Shape5"
                            << "Non-Metals" << QString();
    QTest::newRow("detail box") << "cDen"
                                << "Density:"
                                << "g/ml";
}

void MainWindowTest::accessibleTexts() {
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    QFETCH(QString, description);
    auto* widget = program_->mainWindow()->findChild<QWidget*>(name);
    QCOMPARE(widget->accessibleName(), accessibleName);
    QCOMPARE(widget->accessibleDescription(), description);
}

// Every tile is described by the legend entry whose swatch has (nearest) its colour.
void MainWindowTest::tilesNameTheFamilyTheirColourShows() {
    const auto distance = [](QColor a, QColor b) {
        return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
    };
    QList<QFrame*> swatches;
    for (QFrame* frame : program_->mainWindow()->findChildren<QFrame*>()) {
        if (!qobject_cast<QLabel*>(frame) && !frame->accessibleName().isEmpty()) {
            swatches << frame;
        }
    }
    QVERIFY(!swatches.isEmpty());
    for (int z = 1; z <= 110; ++z) {
        QLineEdit* tile = program_->mainWindow()->tile(z);
        const QColor colour = tile->palette().color(QPalette::Base);
        const QFrame* nearest = *std::min_element(
            swatches.begin(), swatches.end(), [&](const QFrame* a, const QFrame* b) {
                return distance(a->palette().color(QPalette::Window), colour) <
                       distance(b->palette().color(QPalette::Window), colour);
            });
        QCOMPARE(tile->accessibleDescription(), nearest->accessibleName());
    }
}

void MainWindowTest::layoutRelations_data() {
    QTest::addColumn<QString>("window");
    for (const char* window : {"main", "editor", "about", "help"}) {
        QTest::newRow(window) << window;
    }
}

// In every window: each caption fits its label, and no label lies over a text
// box, tile or button that it overlaps.
void MainWindowTest::layoutRelations() {
    QFETCH(QString, window);
    QWidget* shown = window == u"main"     ? program_->mainWindow()
                     : window == u"editor" ? static_cast<QWidget*>(program_->showEditor())
                     : window == u"about"  ? static_cast<QWidget*>(program_->showAbout())
                                           : program_->showHelp();
    for (const QLabel* label : shown->findChildren<QLabel*>()) {
        const QString where = window + '/' + label->objectName();
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(where));
        for (const QObject* below : label->parent()->children()) {
            if (below == label) {
                break;  // the rest lie above it
            }
            const auto* control = qobject_cast<const QWidget*>(below);
            QVERIFY2(!control || control->focusPolicy() == Qt::NoFocus ||
                         !control->geometry().intersects(label->geometry()),
                     qPrintable(where + " covers " + control->objectName()));
        }
    }
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
