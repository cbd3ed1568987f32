// The clock's text and both information windows, opened through the program as
// the menus open them.
#include "ClockText.h"
#include "Contacts.h"
#include "testsupport.h"

using namespace orbitra;
using namespace testsupport;

class TestInfo : public ProgramTest {
    Q_OBJECT
public:
    TestInfo() : ProgramTest(-1) {}

public Q_SLOTS:
    void openMail(const QUrl& url) { mails_.append(url); }

private:
    template <typename T>
    static T* child(QWidget* window, const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }
    QWidget* open(const QString& window) {
        return window == u"help" ? static_cast<QWidget*>(program_->showHelp())
                                 : program_->showAbout();
    }
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QList<QUrl> mails_;

private Q_SLOTS:
    void cleanup() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QLocale::setDefault(QLocale::c());
        mails_.clear();
        ProgramTest::cleanup();
    }

    void clockText_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("expected");
        QTest::newRow("12-hour afternoon") << "en_US" << QTime(14, 5, 9) << "2:05:09 PM";
        QTest::newRow("12-hour midnight") << "en_US" << QTime(0, 30, 5) << "12:30:05 AM";
        QTest::newRow("24-hour morning") << "de_DE" << QTime(9, 0, 0) << "09:00:00";
        QTest::newRow("zone in brackets") << "eu_ES" << QTime(14, 5, 9) << "14:05:09";
        QTest::newRow("zone after comma") << "be_BY" << QTime(14, 5, 9) << "14:05:09";
        QTest::newRow("own designator") << "sq_AL" << QTime(14, 5, 9) << "2:05:09 e pasdites";
        QTest::newRow("day period") << "zh_TW" << QTime(14, 5, 9) << "下午2:05:09";
    }

    void clockText() {
        QFETCH(QString, locale);
        QFETCH(QTime, time);
        QFETCH(QString, expected);
        QCOMPARE(orbitra::clockText(time, QLocale(locale)), expected);
    }

    // The clock shows the current second, a moment after it begins, for as long as it is
    // watched, and sleeps between the seconds instead of ticking constantly. The
    // window keeps its size.
    void clockRuns() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        QWidget* about = program_->showAbout();
        const QSize size = about->size();
        about->resize(size * 2);
        QCOMPARE(about->size(), size);
        auto* clock = child<QLabel>(about, "Label2");
        QTRY_VERIFY_WITH_TIMEOUT(clock->text() != QStringLiteral("Label2"), 1500);
        for (QDeadlineTimer watch(2500); !watch.hasExpired(); QTest::qWait(40)) {
            const QTime now = QTime::currentTime();
            const QTime shown = QLocale().toTime(clock->text(), QStringLiteral("h:mm:ss AP"));
            QVERIFY2(now.msec() < 400 || shown == now.addMSecs(-now.msec()),
                     qPrintable(clock->text()));
        }
        QVERIFY(child<QTimer>(about, "Timer1")->interval() >= 5);
    }

    void lifecycle_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("focus");  // where the user starts
        QTest::newRow("help") << "help" << QStringLiteral("Text1");
        QTest::newRow("about") << "about" << QStringLiteral("Command1");
    }

    // Opened twice it is one window, scrolled to the top, with the focus where the
    // user starts; Escape leaves it open; Enter on OK destroys it with whatever was typed,
    // and the next opening shows the original text.
    void lifecycle() {
        QFETCH(QString, window);
        QFETCH(QString, focus);
        QPointer<QWidget> first = open(window);
        auto* text = child<QPlainTextEdit>(first, "Text1");
        QCOMPARE(open(window), first.data());
        QVERIFY(QTest::qWaitForWindowActive(first));
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(text->verticalScrollBar()->value(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTest::keyClick(first, Qt::Key_Escape);
        flushDeletes();
        QVERIFY(first && first->isVisible());

        const QString page = text->toPlainText();
        QVERIFY(page.endsWith(
            QString::fromUtf8(window == u"help" ? contacts::kHelpMail : contacts::kNoticeMail) +
            '\n'));
        QTest::keyClicks(text, QStringLiteral("typed"));
        text->setFocus();
        QTest::keyClick(text, Qt::Key_Tab);  // moves on
        QVERIFY(QApplication::focusWidget() != text);
        child<QPushButton>(first, "Command1")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        flushDeletes();
        QVERIFY(first.isNull());
        QCOMPARE(child<QPlainTextEdit>(open(window), "Text1")->toPlainText(), page);
    }

    // A left click on the author's name writes to the author, a right click does
    // nothing; with no mail program (as on the offscreen platform) a message says
    // where to write.
    void authorClick() {
        const QString address = QString::fromUtf8(contacts::kAuthorMail);
        auto* author = child<QLabel>(program_->showAbout(), "Label5");
        const auto click = [&] {
            return messageBoxText([&] {
                QTest::mouseClick(author, Qt::RightButton);
                QTest::mouseClick(author, Qt::LeftButton);
            });
        };
        QVERIFY2(click().contains(address), "no mail program");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "openMail");
        QCOMPARE(click(), QString());
        QCOMPARE(mails_, QList<QUrl>{QUrl("mailto:" + address)});
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
