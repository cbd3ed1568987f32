// The windows as a user meets them: what a click or a key on a tile shows, the
// menus, the legend, the clock and both information windows, and how every
// window is laid out.
#include "ClockText.h"
#include "Contacts.h"
#include "testsupport.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <thread>
#endif

using namespace orbitra;
using namespace testsupport;

namespace {

// What the data file is when the program starts: missing, a file of `records`
// sample records, a folder, a link to `target`, or on Windows a file of 25
// records that another program holds open throughout or for a moment.
enum Made { Missing, Records, Folder, Link, Held, HeldBriefly };

// The program starts on the data file `made` and `tile` is clicked (empty: the
// program shows no window); `error` is the text of the error reported, if any.
struct DataFile {
    Made made;
    QString tile, error = {};
    int records = 0;
    QString target = {};
};

// The key pressed in `from` (empty: where the focus is at start) leaves the focus
// in `to` and shows the record of atomic number `shown`, if any.
struct Key {
    QString from;
    int key;
    QString to, shown = {};
};

// A menu entry or button of a window.
struct Entry {
    QString window;
    const char* name;
};

// The entries chosen in turn; then the windows `open` are open, once each, the
// windows `closed` are not, and the message boxes shown said `message`.
struct Entries {
    QList<Entry> chosen;
    QStringList open, closed = {};
    QString message = {};
};

// With the focus on tile `from`, `keys` are pressed (0: the tile pressed through
// assistive technology); the focus ends in `to`, described as `heard`.
struct Spoken {
    QString from;
    QList<int> keys;
    QString to, heard;
};

}  // namespace

class WindowsTest : public ProgramTest {
    Q_OBJECT
public:
    WindowsTest() : ProgramTest(110) {}

public Q_SLOTS:
    void openMail(const QUrl& url) { mails_.append(url); }

private:
    // Opens the help window from the editor's menu, the editor and the About
    // window from the main window's, as a user does.
    static QWidget* open(const QString& window) {
        choose("main", window == u"about" ? "mabout" : "medit");
        if (window == u"help") {
            choose("Edit", "mhel");
        }
        return shownWindow(window == u"about" ? "About" : window == u"help" ? "EditHelp" : "Edit");
    }
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

    QList<QUrl> mails_;

private Q_SLOTS:
    void cleanup() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QLocale::setDefault(QLocale::c());
        mails_.clear();
        ProgramTest::cleanup();
    }

    void dataFile_data() {
        addRows<DataFile>({
            {"missing: created empty", {Missing, "Fe"}},
            {"record past the end", {Records, "106", {}, 105}},
            {"folder: no window",
             {Folder, "",
              "The data file \"period.bio\" could not be opened.\n\n" + folderMessage()}},
        });
#ifdef Q_OS_WIN
        QTest::newRow("held throughout: no window")
            << DataFile{Held, "", qt_error_string(ERROR_SHARING_VIOLATION)};
        QTest::newRow("held for a moment: opened once let go") << DataFile{HeldBriefly, "Fe"};
#else
        QTest::newRow("read error")
            << DataFile{Link, "Fe", qt_error_string(EIO), 0, "/proc/self/mem"};
#endif
    }

    // A record the file does not hold shows empty boxes; a file that cannot be read
    // is reported, and the boxes keep what they showed.
    void dataFile() {
        QFETCH(DataFile, row);
        const auto& [made, tile, message, records, target] = row;
        program_.reset();
        QFile::remove(path());
#ifdef Q_OS_WIN
        // Another program holds the file open for reading and shares no writing.
        std::unique_ptr<void, decltype(&CloseHandle)> other(INVALID_HANDLE_VALUE, CloseHandle);
        std::jthread letGo;  // joined before `other` goes
        if (made == Held || made == HeldBriefly) {
            writeFile(path(), sampleDataFile(25));
            other.reset(CreateFileW(reinterpret_cast<const wchar_t*>(path().utf16()), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            QVERIFY(other.get() != INVALID_HANDLE_VALUE);
            if (made == HeldBriefly) {
                letGo = std::jthread([&other] {
                    Sleep(300);
                    other.reset();
                });
            }
        } else
#endif
            if (made == Folder) {
            QDir().mkdir(path());
        } else if (made == Link) {
            QFile::link(target, path());
        } else if (made == Records) {
            writeFile(path(), sampleDataFile(records));
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

    void tileKeys_data() {
        addRows<Key>({
            {"Enter on Fe", {"Fe", Qt::Key_Return, "Fe", "26"}},
            {"Space on H", {"H", Qt::Key_Space, "H", "1"}},
            {"Left from Fe", {"Fe", Qt::Key_Left, "Mn"}},
            {"Down from Fe", {"Fe", Qt::Key_Down, "Ru"}},
            {"Down from Ha into the series", {"Ha", Qt::Key_Down, "Ce"}},
            {"Up from Ce out of the series", {"Ce", Qt::Key_Up, "Ha"}},
            {"Right from H over the gap", {"H", Qt::Key_Right, "He"}},
            {"Up from Lu over the empty row", {"Lu", Qt::Key_Up, "Rn"}},
            {"typing into a tile", {"Fe", Qt::Key_X, "Fe"}},
            {"Tab at start", {"", Qt::Key_Tab, "Fr"}},
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
            {"Edit twice", {{{"main", "medit"}, {"main", "medit"}}, {"Edit"}}},
            {"editor's Help", {{{"main", "medit"}, {"Edit", "mhel"}}, {"Edit", "EditHelp"}}},
            {"editor's About",
             {{{"main", "medit"}, {"Edit", "mabout"}}, {"Edit"}, {}, "Edit data Element 1.0"}},
            {"Quit", {{{"main", "mquit"}}, {}, {"main"}}},
            {"Quit leaves the editor",
             {{{"main", "medit"}, {"main", "mquit"}}, {"Edit"}, {"main"}}},
            {"help outlives the editor",
             {{{"main", "medit"}, {"Edit", "mhel"}, {"Edit", "Command2"}}, {"EditHelp"}, {"Edit"}}},
        });
    }

    void menuEntries() {
        QFETCH(Entries, row);
        const auto& [chosen, open, closed, message] = row;
        QString said;
        for (const auto& [window, name] : chosen) {
            said += choose(window, name);
        }
        QCOMPARE(said, message);
        for (const QString& window : open) {
            QCOMPARE(openWindows(window), 1);
        }
        for (const QString& window : closed) {
            QTRY_COMPARE(openWindows(window), 0);
            QVERIFY(window != u"main" || !program_->files().isOpen(kMainHandle));
        }
    }

    void layoutRelations_data() {
        addRows<QString>(
            {{"main", "main"}, {"editor", "editor"}, {"about", "about"}, {"help", "help"}});
    }

    // Every window shows the flask; each control that shows something has its name
    // and was placed inside the window, captions fit their labels and buttons and
    // symbols their tiles, controls that take the focus do not overlap and have a
    // name to be read out, and no label lies over such a control. Run at each
    // display scale.
    void layoutRelations() {
        QFETCH(QString, row);
        const QString& window = row;
        const auto fits = [](QWidget* c) {
            const int frame = c->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            if (auto* box = qobject_cast<QLineEdit*>(c)) {
                // The room the style leaves for text.
                QStyleOptionFrame option;
                option.initFrom(box);
                option.lineWidth = box->hasFrame() ? frame : 0;
                const QRect room =
                    c->style()->subElementRect(QStyle::SE_LineEditContents, &option, c);
                return c->fontMetrics().horizontalAdvance(box->text().trimmed()) <= room.width();
            }
            auto* button = qobject_cast<QPushButton*>(c);
            auto* label = qobject_cast<QLabel*>(c);
            const QString text = button ? button->text().remove('&') : label ? label->text() : "";
            return c->fontMetrics().horizontalAdvance(text) <=
                   c->width() - (button ? 2 * frame : 0);
        };
        QCoreApplication::sendPostedEvents();  // a platform theme's settings, which come late
        QWidget* shown = window == u"main" ? this->window() : open(window);
        auto* main = qobject_cast<QMainWindow*>(shown);
        QWidget* client = main ? main->centralWidget() : shown;
        // The flask, drawn for each size, and a title.
        QVERIFY(shown->windowIcon().availableSizes().size() > 1 && !shown->windowTitle().isEmpty());
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
            QVERIFY2(fits(c), qPrintable(where + " overrun"));
            if (!label && c->focusPolicy() != Qt::NoFocus) {
                QVERIFY2(
                    !QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty(),
                    qPrintable(where));
            }
            for (QWidget* above : controls.mid(i + 1)) {  // those stacked above it
                QVERIFY2(c->focusPolicy() == Qt::NoFocus ||
                             !c->geometry().intersects(above->geometry()) ||
                             (above->focusPolicy() == Qt::NoFocus && !qobject_cast<QLabel*>(above)),
                         qPrintable(where + " under " + above->objectName()));
            }
        }
    }

    // What a click and a screen reader give. Each tile shows a record of its own,
    // the one its name announces; it is read-only and its family is heard, as
    // the legend names it, and shown on hovering; it is filled as that family's
    // swatch (the series rows' Rare Earth a lighter shade), and every family of
    // the legend has tiles. A detail box is read-only, its
    // unit is its description and the record's text its value. Run again on a
    // dark desktop and under High Contrast Black.
    void readable() {
        QMap<QString, QColor> families;  // the legend's names and swatches
        for (QFrame* swatch : window()->findChildren<QFrame*>(QRegularExpression("^Shape"))) {
            families[swatch->accessibleName()] = swatch->palette().color(QPalette::Window);
        }
        QSet<QString> tiled;
        const auto read = [](QWidget* c) { return QAccessible::queryAccessibleInterface(c); };
        for (int z = 1; z <= 110; ++z) {
            QLineEdit* tile = window()->tile(z);
            const QString family = read(tile)->text(QAccessible::Description);
            QTest::mouseClick(tile, Qt::LeftButton);
            QCOMPARE(read(box("cname"))->text(QAccessible::Value),
                     ("Name" + shown()).leftJustified(13));
            QCOMPARE(box("cHF")->text().trimmed(), "Fusion" + shown());
            QCOMPARE(read(tile)->text(QAccessible::Name), tile->text() + ", " + shown());
            const QColor fill = tile->palette().color(QPalette::Base), swatch = families[family];
            QVERIFY2(swatch.isValid() &&
                         (fill == swatch ||
                          (family == "Rare Earth" && fill.lightness() > swatch.lightness())),
                     qPrintable(tile->text()));
            tiled << family;
            QCOMPARE(read(tile)->role(), QAccessible::Button);
        }
        QCOMPARE(tiled.size(), families.size());
        // The tiles at the edges of the families, as hovering shows them.
        for (const QString tip :
             {"H, 1: Alkaline Metals", "Be, 4: Alkali Earth Metals", "Fe, 26: Transition Metals",
              "La, 57: Transition Metals", "Ac, 89: Transition Metals", "Al, 13: Other Metals",
              "Po, 84: Other Metals", "B, 5: Non-Metals", "Te, 52: Non-Metals",
              "At, 85: Halogens(Non-Metals)", "Rn, 86: Noble(Inert)Gasses", "Ce, 58: Rare Earth",
              "Lw, 103: Rare Earth"}) {
            QCOMPARE(control(tip.section(',', 0, 0))->toolTip(), tip);
        }
        for (QLineEdit* field : window()->detailBoxes()) {
            QString unit;  // the label just right of the box, within its height
            const QRect place = field->geometry();
            for (QLabel* l : window()->findChildren<QLabel*>()) {
                if (l->x() > place.right() && l->x() < place.right() + 20 &&
                    place.contains(place.x(), l->y())) {
                    unit = l->text();
                }
            }
            QCOMPARE(read(field)->text(QAccessible::Description), unit);
            QVERIFY(read(field)->state().readOnly && field->toolTip().isEmpty());
        }
    }

    // Enter or Space on a tile is heard where the focus stays; F6 goes between the
    // tiles and the panel, whose boxes Down and Up walk in record order.
    void heard_data() {
        const int d = Qt::Key_Down;
        addRows<Spoken>({
            {"Enter on Fe", {"Fe", {Qt::Key_Return}, "Fe", "Name26"}},
            {"Space on H", {"H", {Qt::Key_Space}, "H", "Name1"}},
            {"pressed by a screen reader", {"Fe", {0}, "Fe", "Name26"}},
            {"leaving Fe after Enter",
             {"Fe", {Qt::Key_Return, Qt::Key_Right}, "Co", "Transition Metals"}},
            {"F6 into the panel", {"Fe", {Qt::Key_F6}, "cname", ""}},
            {"F6 back to the tile", {"Fe", {Qt::Key_F6, d, Qt::Key_F6}, "Fe", "Transition Metals"}},
            {"F6 back to the tile moved to",
             {"Fe", {Qt::Key_Left, Qt::Key_F6, Qt::Key_F6}, "Mn", "Transition Metals"}},
            {"Down in record order", {"Fe", {Qt::Key_F6, d, d, d, d, d}, "cDen", "g/ml"}},
            {"Down and Up", {"Fe", {Qt::Key_F6, d, d, d, d, Qt::Key_Up}, "cMP", "C"}},
            {"Up stays on the first box", {"Fe", {Qt::Key_F6, Qt::Key_Up}, "cname", ""}},
            {"Down stays on the last box",
             {"Fe", {Qt::Key_F6, d, d, d, d, d, d, d, d, d, d, d, d, d, d}, "cHF", "kJ/mol"}},
        });
    }
    void heard() {
        QFETCH(Spoken, row);
        QApplication::setActiveWindow(window());
        QWidget* from = control(row.from);
        const QString family = from->accessibleDescription();
        from->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), from);
        for (int key : row.keys) {
            if (key == 0) {
                auto* press = QAccessible::queryAccessibleInterface(from)->actionInterface();
                press->doAction(QAccessibleActionInterface::pressAction());
            } else {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            }
        }
        QWidget* to = control(row.to);
        QCOMPARE(QApplication::focusWidget(), to);
        QCOMPARE(QAccessible::queryAccessibleInterface(to)->text(QAccessible::Description),
                 row.heard);
        QTRY_COMPARE(from->accessibleDescription(), from == to ? row.heard : family);
    }

    // The information windows are windows named by their titles.
    void windowTitles() {
        for (QWidget* w : {open("help"), open("about")}) {
            const QAccessibleInterface* read = QAccessible::queryAccessibleInterface(w);
            QCOMPARE(read->role(), QAccessible::Window);
            QCOMPARE(read->text(QAccessible::Name), w->windowTitle());
        }
    }

    void clockText_data() {
        addRows<QStringList>({
            {"12-hour afternoon", {"en_US", "2:05:09 PM"}},
            {"zone in brackets", {"eu_ES", "14:05:09"}},
            {"own designator", {"sq_AL", "2:05:09 e pasdites"}},
            {"day period", {"zh_TW", "下午2:05:09"}},
        });
    }
    void clockText() {
        QFETCH(QStringList, row);
        QCOMPARE(orbitra::clockText(QTime(14, 5, 9), QLocale(row[0])), row[1]);
    }

    void lifecycle_data() {
        // The window, and where the user starts in it.
        addRows<QStringList>({{"help", {"help", "Text1"}}, {"about", {"about", "Command1"}}});
    }

    // Opened twice it is one window, with the focus where the
    // user starts; Escape leaves it open; Enter on OK destroys it with whatever was typed,
    // and the next opening shows the original text.
    void lifecycle() {
        QFETCH(QStringList, row);
        const QString window = row[0], focus = row[1];
        QPointer<QWidget> first = open(window);
        auto* text = first->findChild<QPlainTextEdit*>("Text1");
        QCOMPARE(open(window), first.data());
        QVERIFY(QTest::qWaitForWindowActive(first));
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first && first->isVisible());

        const QString page = text->toPlainText();
        QTest::keyClicks(text, QStringLiteral("typed"));
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Tab);  // moves on
        QVERIFY(QApplication::focusWidget() != text);
        first->findChild<QPushButton*>("Command1")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QCOMPARE(open(window)->findChild<QPlainTextEdit*>("Text1")->toPlainText(), page);
    }

    // About keeps its size. Its clock shows the current second (at most a second
    // late on a loaded machine) for as long as it is watched, and sleeps between the seconds
    // instead of ticking constantly. A left click on the author's name writes to the author, a
    // right click does nothing; with no mail program (as on the offscreen platform) a message says
    // where to write.
    void aboutWindow() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        QWidget* about = open("about");
        const QSize size = about->size();
        about->resize(size * 2);
        QCOMPARE(about->size(), size);
        auto* clock = about->findChild<QLabel*>("Label2");
        QTRY_VERIFY_WITH_TIMEOUT(clock->text() != QStringLiteral("Label2"), 1500);
        for (QDeadlineTimer watch(2500); !watch.hasExpired(); QTest::qWait(40)) {
            const QTime now = QTime::currentTime();
            const QTime shown = QLocale().toTime(clock->text(), QStringLiteral("h:mm:ss AP"));
            // At most a second behind: a loaded machine may wake the clock late.
            QVERIFY2(shown.secsTo(now) >= 0 && shown.secsTo(now) <= 1, qPrintable(clock->text()));
        }
        QVERIFY(about->findChild<QTimer*>("Timer1")->interval() >= 5);

        const QString address = QString::fromUtf8(contacts::kAuthorMail);
        const auto click = [&, author = about->findChild<QLabel*>("Label5")] {
            return messageBoxText([&] {
                QTest::mouseClick(author, Qt::RightButton);
                QTest::mouseClick(author, Qt::LeftButton);
            });
        };
#ifndef Q_OS_WIN
        // The test machines have no mail program (wine has one): the address shows.
        QVERIFY2(click().contains(address), "no mail program");
#endif
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "openMail");
        QCOMPARE(click(), QString());
        QCOMPARE(mails_, QList<QUrl>{QUrl("mailto:" + address)});
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
