// The windows as a user meets them: what a click or a key on a tile shows, the
// menus, the legend, the clock and both information windows, and how every
// window is laid out.
#include "ClockText.h"
#include "Contacts.h"
#include "testsupport.h"

#include <cmath>

#ifdef Q_OS_WIN
#include <windows.h>

#include <thread>
#endif

using namespace orbitra;
using namespace testsupport;

namespace {

// The program starts on `file` ("missing", "folder", a link target, a number of
// records, or on Windows 110 records "held" by another program) and
// `tile` is clicked; `error` is the system's text of the error reported, if any.
struct DataFile {
    QString file, tile, error = {};
};

// The key pressed in `from` (empty: where the focus is at start) leaves the focus
// in `to` and shows the record of atomic number `shown`, if any.
struct Key {
    QString from;
    int key;
    QString to, shown = {};
};

// Menu entries or buttons ("window:name") chosen in turn; then the windows
// `expected` are open, the "-name" ones gone, and "box:text" was the message.
struct Entries {
    QStringList entries, expected;
};

// WCAG 2's contrast ratio of two colours, from 1 to 21.
double contrast(QRgb a, QRgb b) {
    const auto luminance = [](QRgb c) {
        double sum = 0.05;
        for (auto [value, weight] :
             {std::pair(qRed(c), 0.2126), {qGreen(c), 0.7152}, {qBlue(c), 0.0722}}) {
            const double s = value / 255.0;
            sum += weight * (s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

// How `box`'s text stands out from its fill in `shot`, its window as the screen
// shows it: the fill is the commonest colour inside the frame, the text the
// pixel there that differs from it most.
double textContrast(const QImage& shot, QLineEdit* box) {
    const qreal scale = shot.devicePixelRatio();
    const QImage inside = shot.copy(QRect(box->mapTo(box->window(), QPoint(3, 3)) * scale,
                                          (box->size() - QSize(6, 6)) * scale));
    QHash<QRgb, int> count;
    for (int i = 0; i < inside.width() * inside.height(); ++i) {
        ++count[inside.pixel(i % inside.width(), i / inside.width())];
    }
    const QRgb fill =
        std::max_element(count.keyValueBegin(), count.keyValueEnd(), [](auto a, auto b) {
            return a.second < b.second;
        })->first;
    double most = 1;
    for (QRgb colour : count.keys()) {
        most = std::max(most, contrast(fill, colour));
    }
    return most;
}

}  // namespace

class WindowsTest : public ProgramTest {
    Q_OBJECT
public:
    WindowsTest() : ProgramTest(110) {}

public Q_SLOTS:
    void openMail(const QUrl& url) { mails_.append(url); }

private:
    QWidget* open(const QString& window) {
        return window == u"help" ? static_cast<QWidget*>(program_->showHelp())
                                 : program_->showAbout();
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
            {"missing: created empty", {"missing", "Fe"}},
            {"record past the end", {"105", "106"}},
            {"folder: no window", {"folder", "", folderMessage()}},
        });
#ifdef Q_OS_WIN
        QTest::newRow("held throughout: no window")
            << DataFile{"held", "", qt_error_string(ERROR_SHARING_VIOLATION)};
        QTest::newRow("held for a moment: opened once let go") << DataFile{"held briefly", "Fe"};
#else
        QTest::newRow("read error") << DataFile{"/proc/self/mem", "Fe", qt_error_string(EIO)};
#endif
    }

    // A record the file does not hold shows empty boxes; a file that cannot be read
    // is reported, and the boxes keep what they showed.
    void dataFile() {
        QFETCH(DataFile, row);
        const auto& [file, tile, message] = row;
        program_.reset();
        QFile::remove(path());
#ifdef Q_OS_WIN
        // Another program holds the file open for reading and shares no writing.
        std::unique_ptr<void, decltype(&CloseHandle)> other(INVALID_HANDLE_VALUE, CloseHandle);
        std::jthread letGo;  // joined before `other` goes
        if (file.startsWith(u"held")) {
            writeFile(path(), sampleDataFile(25));
            other.reset(CreateFileW(reinterpret_cast<const wchar_t*>(path().utf16()), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            QVERIFY(other.get() != INVALID_HANDLE_VALUE);
            if (file == u"held briefly") {
                letGo = std::jthread([&other] {
                    Sleep(300);
                    other.reset();
                });
            }
        } else
#endif
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
            {"Edit twice", {{"main:medit", "main:medit"}, {"Edit"}}},
            {"editor's Help", {{"main:medit", "Edit:mhel"}, {"Edit", "EditHelp"}}},
            {"editor's About", {{"main:medit", "Edit:mabout"}, {"box:Edit data Element 1.0"}}},
            {"Quit", {{"main:mquit"}, {"-main"}}},
            {"Quit leaves the editor", {{"main:medit", "main:mquit"}, {"-main", "Edit"}}},
            {"help outlives the editor",
             {{"main:medit", "Edit:mhel", "Edit:Command2"}, {"-Edit", "EditHelp"}}},
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
            } else if (what.startsWith('-')) {
                QTRY_COMPARE(openWindows(what.mid(1)), 0);
                QVERIFY(what != u"-main" || !program_->files().isOpen(1));
            } else {
                QCOMPARE(openWindows(what), 1);
            }
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
        QWidget* shown = window == u"main"     ? this->window()
                         : window == u"editor" ? program_->showEditor()
                                               : open(window);
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

    // What every reader gets, whatever colours and font the system hands the
    // program, at start or while it runs. Each tile shows a record of its own, the
    // one its name announces; a screen reader hears its family, as hovering shows.
    // Tiles and boxes are read-only; a box's unit is its description and the
    // record's text its value. On the screen every tile symbol and box value
    // stands out from its fill at 4.5:1 or more, and a theme's font and scheme
    // change nothing. Run again on a dark desktop and under High Contrast Black.
    void readable() {
        QStringList families;  // as the legend names them
        for (QFrame* swatch : window()->findChildren<QFrame*>(QRegularExpression("^Shape"))) {
            families << swatch->accessibleName();
        }
        QSet<int> numbers;
        for (int z = 1; z <= 110; ++z) {
            QLineEdit* tile = window()->tile(z);
            QTest::mouseClick(tile, Qt::LeftButton);
            QCOMPARE(box("cname")->text().trimmed() + box("cHF")->text().trimmed(),
                     "Name" + shown() + "Fusion" + shown());
            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(tile);
            QCOMPARE(read->text(QAccessible::Name), tile->text() + ", " + shown());
            QVERIFY(families.contains(read->text(QAccessible::Description)));
            QVERIFY(read->state().readOnly && !numbers.contains(shown().toInt()));
            numbers << shown().toInt();
        }
        QVERIFY(!numbers.contains(0));  // only records 1 to 110 are in the file
        QWidget* fe = control("Fe");
        QHelpEvent hover(QEvent::ToolTip, QPoint(4, 4), fe->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(fe, &hover);
        QTRY_COMPARE(QToolTip::text(), "Fe, 26: Transition Metals");
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());  // off the pictures below

        ElementRecord iron;  // a text in every field, then as stored
        for (int i = 0; i < kPropertyCount; ++i) {
            iron.fields[i] = "Fe" + std::to_string(i);
        }
        QVERIFY(WriteRecord(program_->files(), 1, 26, iron).ok() &&
                ReadRecord(program_->files(), 1, 26, iron).ok());
        QTest::mouseClick(fe, Qt::LeftButton);
        const auto boxes = window()->detailBoxes();
        for (int field = 0; field < kPropertyCount; ++field) {
            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(boxes[field]);
            QCOMPARE(read->text(QAccessible::Value), QString::fromStdString(iron.fields[field]));
            QVERIFY(read->state().readOnly && boxes[field]->toolTip().isEmpty());
            QString unit;  // the label just right of the box, within its height
            const QRect place = boxes[field]->geometry();
            for (QLabel* l : window()->findChildren<QLabel*>()) {
                if (l->x() > place.right() && l->x() < place.right() + 20 &&
                    place.contains(place.x(), l->y())) {
                    unit = l->text();
                }
            }
            QCOMPARE(read->text(QAccessible::Description), unit);
        }

        window()->setFocus();  // no focus frame in the system's colours
        window()->repaint();
        QTest::qWait(50);
        const QImage shot = window()->screen()->grabWindow(window()->winId()).toImage();
        for (QLineEdit* c : window()->centralWidget()->findChildren<QLineEdit*>()) {
            const double ratio = textContrast(shot, c);
            QVERIFY2(ratio >= 4.5, qPrintable(c->objectName() + " " + QString::number(ratio)));
        }
        // Each control as drawn; a text box inside its frame, which is the system's.
        const auto drawn = [this] {
            QList<QImage> pictures;
            for (QWidget* c : window()->centralWidget()->findChildren<QWidget*>()) {
                const QImage picture = c->grab().toImage();
                const int frame = qobject_cast<QLineEdit*>(c) ? 3 * picture.devicePixelRatio() : 0;
                pictures << picture.copy(picture.rect().adjusted(frame, frame, -frame, -frame));
            }
            return pictures;
        };
        const QList<QImage> before = drawn();
        // Another desktop's font and a dark scheme, as a platform theme sets them.
        const QFont font = QApplication::font();
        const QPalette palette = QApplication::palette();
        const auto restore = qScopeGuard([&] {
            QApplication::setFont(font);
            QApplication::setPalette(palette);
        });
        QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), 13, QFont::Bold));
        QApplication::setPalette(QPalette(Qt::white, QColor(0x303030), Qt::gray, Qt::black,
                                          Qt::darkGray, Qt::white, Qt::white, QColor(0x101010),
                                          QColor(0x202020)));
        QCoreApplication::sendPostedEvents();
        QVERIFY(drawn() == before);
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
        QWidget* about = program_->showAbout();
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
