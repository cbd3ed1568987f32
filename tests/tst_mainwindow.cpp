// The main window as a user meets it: what a click or a key on a tile shows,
// the menus, the legend, and how every window is laid out.
#include "testsupport.h"

#include <cstring>

using namespace orbitra;
using namespace testsupport;

namespace {

// The program starts on `file` ("missing", "folder", a link target or a number of
// records) and `tile` is clicked; `error` is the one reported, if any.
struct DataFile {
    QString file, tile;
    int error = 0;
};

// The key pressed in `from` (empty: where the focus is at start) leaves the focus
// in `to` and shows the record of atomic number `shown`, if any.
struct Key {
    QString from;
    int key;
    QString to, shown = {};
};

// Menu entries or buttons ("window:name") chosen in turn; then the windows
// `expected` are open, the "-name" ones gone, "box:text" was the message and
// "=maximized" or "=minimized" the main window.
struct Entries {
    QStringList entries, expected;
};

}  // namespace

class MainWindowTest : public ProgramTest {
    Q_OBJECT
public:
    MainWindowTest() : ProgramTest(110) {}

private:
    QLineEdit* box(const char* name) const { return window()->findChild<QLineEdit*>(name); }
    QString shown() const { return box("cAN")->text().trimmed(); }
    static int openWindows(const QString& name) {
        const QWidgetList all = QApplication::topLevelWidgets();
        return int(std::count_if(all.begin(), all.end(), [&](QWidget* w) {
            return w->isVisible() && w->objectName() == name;
        }));
    }
    // A tile by the symbol it shows, or any control by its name.
    QWidget* control(const QString& name) const {
        for (int z = 1; z <= 110; ++z) {
            if (window()->tile(z)->text() == name) {
                return window()->tile(z);
            }
        }
        return window()->findChild<QWidget*>(name);
    }

private Q_SLOTS:
    void dataFile_data() {
        addRows<DataFile>({
            {"missing: created empty", {"missing", "Fe"}},
            {"record past the end", {"105", "106"}},
            {"read error", {"/proc/self/mem", "Fe", EIO}},
            {"folder: no window", {"folder", "", EISDIR}},
        });
    }

    // A record the file does not hold shows empty boxes; a file that cannot be read
    // is reported, and the boxes keep what they showed.
    void dataFile() {
        QFETCH(DataFile, row);
        const auto& [file, tile, error] = row;
        const QString message = error ? QString::fromLocal8Bit(std::strerror(error)) : QString();
        program_.reset();
        QFile::remove(path());
        if (file == u"folder") {
            QDir().mkdir(path());
        } else if (file.startsWith('/')) {
            QFile::link(file, path());
        } else if (file != u"missing") {
            writeFile(path(), sampleDataFile(file.toInt()));
        }
        program_ = std::make_unique<Program>();
        bool started = false;
        QString seen = messageBoxText([&] { started = program_->start(); });
        QCOMPARE(started, !tile.isEmpty());
        if (started) {
            QVERIFY(QFileInfo(path()).isFile());
            messageBoxText([&] { QTest::mouseClick(control("Na"), Qt::LeftButton); });
            const QString before = shown();
            seen = messageBoxText([&] { QTest::mouseClick(control(tile), Qt::LeftButton); });
            QCOMPARE(shown(), message.isEmpty() ? QString() : before);
        }
        QVERIFY2(message.isEmpty() ? seen.isEmpty() : seen.contains(message), qPrintable(seen));
    }

    // Each of the 110 tiles shows a record of its own, the one its name announces,
    // read afresh at every click.
    void everyTileShowsItsOwnRecord() {
        QSet<int> numbers;
        for (int z = 1; z <= 110; ++z) {
            QLineEdit* tile = window()->tile(z);
            QTest::mouseClick(tile, Qt::LeftButton);
            QCOMPARE(box("cname")->text().trimmed(), "Name" + shown());
            QCOMPARE(box("cHF")->text().trimmed(), "Fusion" + shown());
            QCOMPARE(tile->accessibleName(), tile->text() + ", " + shown());
            numbers << shown().toInt();
        }
        QCOMPARE(numbers.size(), 110);
        QVERIFY(!numbers.contains(0));  // only records 1 to 110 are in the file
        writeFile(path(), sampleDataFile(110).replace("Name", "Nom "));
        QTest::mouseClick(control("Fe"), Qt::LeftButton);
        QCOMPARE(box("cname")->text().trimmed(), QStringLiteral("Nom 26"));
    }

    void tileKeys_data() {
        addRows<Key>({
            {"Enter on Fe", {"Fe", Qt::Key_Return, "Fe", "26"}},
            {"keypad Enter on 110", {"110", Qt::Key_Enter, "110", "110"}},
            {"Space on H", {"H", Qt::Key_Space, "H", "1"}},
            {"Left from Fe", {"Fe", Qt::Key_Left, "Mn"}},
            {"Down from Fe", {"Fe", Qt::Key_Down, "Ru"}},
            {"Down from Ha into the series", {"Ha", Qt::Key_Down, "Ce"}},
            {"Up from Th", {"Th", Qt::Key_Up, "Ce"}},
            {"Up from Ce out of the series", {"Ce", Qt::Key_Up, "Ha"}},
            {"Right from H over the gap", {"H", Qt::Key_Right, "He"}},
            {"Up from Lu over the empty row", {"Lu", Qt::Key_Up, "Rn"}},
            {"Up from H", {"H", Qt::Key_Up, "H"}},
            {"Down from Lw", {"Lw", Qt::Key_Down, "Lw"}},
            {"typing into a tile", {"Fe", Qt::Key_X, "Fe"}},
            {"Backspace in a tile", {"Fe", Qt::Key_Backspace, "Fe"}},
            {"typing into a detail box", {"cname", Qt::Key_X, "cname"}},
            {"Tab at start", {"", Qt::Key_Tab, "Fr"}},
            {"Tab from Rb", {"Rb", Qt::Key_Tab, "H"}},
            {"Tab from I to the name box", {"I", Qt::Key_Tab, "cname"}},
        });
    }

    void tileKeys() {
        QFETCH(Key, row);
        const auto& [from, key, to, shown] = row;
        QApplication::setActiveWindow(window());
        if (!from.isEmpty()) {
            control(from)->setFocus();
        }
        QTRY_VERIFY(QApplication::focusWidget());
        const QString text = QApplication::focusWidget()->property("text").toString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), control(to));
        QCOMPARE(control(from.isEmpty() ? "Na" : from)->property("text").toString(), text);
        QCOMPARE(this->shown(), shown);
    }

    void menuEntries_data() {
        addRows<Entries>({
            {"Edit twice", {{"main:medit", "main:medit"}, {"Edit"}}},
            {"About twice", {{"main:mabout", "main:mabout"}, {"About"}}},
            {"editor's Help", {{"main:medit", "Edit:mhel"}, {"Edit", "EditHelp"}}},
            {"editor's About", {{"main:medit", "Edit:mabout"}, {"box:Edit data Element 1.0"}}},
            {"Quit", {{"main:mquit"}, {"-main"}}},
            {"Quit leaves the editor", {{"main:medit", "main:mquit"}, {"-main", "Edit"}}},
            {"help outlives the editor",
             {{"main:medit", "Edit:mhel", "Edit:Command2"}, {"-Edit", "EditHelp"}}},
            {"Maximize", {{"main:mmax"}, {"=maximized"}}},
            {"Minimize", {{"main:mmini"}, {"=minimized"}}},
        });
    }

    void menuEntries() {
        QFETCH(Entries, row);
        const auto& [entries, expected] = row;
        QString message;
        for (const QString& entry : entries) {
            QWidget* owner =
                entry.startsWith("main") ? static_cast<QWidget*>(window()) : program_->editor();
            QObject* target = owner->findChild<QObject*>(entry.section(':', 1));
            auto* action = qobject_cast<QAction*>(target);  // in a menu, or else a button
            QVERIFY2(target && (!action || !action->associatedObjects().isEmpty()),
                     qPrintable(entry));
            message += messageBoxText(
                [&] { QMetaObject::invokeMethod(target, action ? "trigger" : "click"); });
        }
        for (const QString& what : expected) {
            if (what.startsWith("box:")) {
                QCOMPARE(message, what.mid(4));
            } else if (what.startsWith('=')) {
                QTRY_VERIFY(what == u"=maximized" ? window()->isMaximized()
                                                  : window()->isMinimized());
            } else if (what.startsWith('-')) {
                QTRY_COMPARE(openWindows(what.mid(1)), 0);
                QVERIFY(what != u"-main" || !program_->files().isOpen(1));
            } else {
                QCOMPARE(openWindows(what), 1);
            }
        }
    }

    // Each swatch is named by the caption beside it, each tile is described by the
    // swatch nearest its colour, and each detail box by the unit printed after it.
    void legendNamesTheTiles() {
        const auto distance = [](const QColor& a, const QColor& b) {
            return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) +
                   qAbs(a.blue() - b.blue());
        };
        QMap<QString, QColor> legend;
        for (QFrame* swatch :
             window()->centralWidget()->findChildren<QFrame*>(Qt::FindDirectChildrenOnly)) {
            if (qobject_cast<QLabel*>(swatch)) {
                continue;
            }
            const QPoint right = swatch->geometry().center() + QPoint(swatch->width(), 0);
            auto* caption = qobject_cast<QLabel*>(swatch->parentWidget()->childAt(right));
            QVERIFY(caption);
            QCOMPARE(swatch->accessibleName(), caption->text());
            const QImage seen = swatch->parentWidget()->grab(swatch->geometry()).toImage();
            legend[caption->text()] = seen.pixelColor(seen.rect().center());  // as drawn
        }
        QVERIFY(!legend.isEmpty());
        for (int z = 1; z <= 110; ++z) {
            const QColor tile = window()->tile(z)->palette().color(QPalette::Base);
            const QString family = window()->tile(z)->accessibleDescription();
            QVERIFY2(legend.contains(family), qPrintable(family));
            for (auto other = legend.begin(); other != legend.end(); ++other) {
                QVERIFY(other.key() == family ||
                        distance(legend[family], tile) < distance(other.value(), tile));
            }
        }
        for (QLineEdit* box : window()->detailBoxes()) {
            QString unit;
            for (QLabel* label : window()->findChildren<QLabel*>()) {
                const int gap = label->x() - box->geometry().right();
                if (gap > 0 && gap <= 20 && label->y() < box->geometry().bottom() &&
                    label->geometry().bottom() > box->y()) {
                    unit = label->text();
                }
            }
            QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description),
                     unit);
        }
    }

    void layoutRelations_data() {
        QTest::addColumn<QString>("window");
        for (const char* window : {"main", "editor", "about", "help"}) {
            QTest::newRow(window) << window;
        }
    }

    // Every window shows the flask; each control that shows something has its name
    // and was placed inside the window, captions fit their labels, controls that
    // take the focus do not overlap and have a name to be read out, and no label
    // lies over such a control.
    void layoutRelations() {
        QFETCH(QString, window);
        QWidget* shown = window == u"main"     ? this->window()
                         : window == u"editor" ? static_cast<QWidget*>(program_->showEditor())
                         : window == u"about"  ? static_cast<QWidget*>(program_->showAbout())
                                               : program_->showHelp();
        auto* main = qobject_cast<QMainWindow*>(shown);
        QWidget* client = main ? main->centralWidget() : shown;
        QVERIFY(shown->windowIcon().availableSizes().size() > 1);  // the flask, drawn per size
        const QList<QWidget*> controls = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (int i = 0; i < controls.size(); ++i) {
            QWidget* c = controls[i];
            const QString where = window + '/' + c->objectName();
            auto* label = qobject_cast<QLabel*>(c);
            if (label && label->text().isEmpty()) {
                continue;
            }
            QVERIFY2(client->rect().contains(c->geometry()) && !c->objectName().isEmpty(),
                     qPrintable(where));
            QVERIFY2(c->testAttribute(Qt::WA_Moved) && c->testAttribute(Qt::WA_Resized),
                     qPrintable(where + " never placed"));
            if (label) {
                QVERIFY2(c->fontMetrics().horizontalAdvance(label->text()) <= c->width(),
                         qPrintable(where));
            } else if (c->focusPolicy() != Qt::NoFocus) {
                QVERIFY2(
                    !QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty(),
                    qPrintable(where));
            }
            for (int j = i + 1; j < controls.size(); ++j) {  // those stacked above it
                const bool covered = c->geometry().intersects(controls[j]->geometry());
                const bool control = c->focusPolicy() != Qt::NoFocus;
                const bool above =
                    controls[j]->focusPolicy() != Qt::NoFocus || qobject_cast<QLabel*>(controls[j]);
                QVERIFY2(!(covered && control && above),
                         qPrintable(where + " under " + controls[j]->objectName()));
            }
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
