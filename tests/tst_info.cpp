#include "About.h"
#include "ClockText.h"
#include "Contacts.h"
#include "Edit.h"
#include "EditHelp.h"
#include "Program.h"
#include "testsupport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace orbitra;

namespace {

// The help page as the user must see it, one entry per line.
const QStringList kHelpLines = {
    QStringLiteral("ป้อนหมายเลข record ลงไปในช่อง record number ซึ่ง"),
    QStringLiteral("ก็หมายถึงเลขอะตอมของธาตุนั้นๆที่ต้องการแก้ไข หรือ"),
    QStringLiteral(" เพิ่ม(ในกรณีที่ป้อนไปแล้วไม่มีข้อมูลใดๆปรากฏขึ้น)"),
    QStringLiteral("เมื่อแก้ไขหรือเพิ่มข้อมูลเรียบร้อยแล้วให้กดปุ่ม Save"),
    QStringLiteral(" เพื่อบันทึกหรือ Cancel เพื่อออกโดยไม่บันทึก สำหรับ"),
    QStringLiteral("บางกรณีที่คุณทำไฟล์"),
    QStringLiteral("ข้อมูลหายหรือเสียมีไฟล์สำรองชื่อ period.bak ให้"),
    QStringLiteral(" rename เป็น period.bio "),
    QStringLiteral(" ขอบคุณครับที่ใช้ software ตัวนี้ ซึ่งมันโปรแกรมง่ายๆ"),
    QStringLiteral("แต่ทำนานครับ ยากตรงพิมพ์ข้อมูลแหละเยอะลายตา"),
    QStringLiteral(" mailtome: ") + QString::fromUtf8(contacts::kHelpMail),
    QString(),
};

const QStringList kNoticeLines = {
    QStringLiteral("Thank you for choosing my project"),
    QString(),
    QString(),
    QString(),
    QStringLiteral("mailto: ") + QString::fromUtf8(contacts::kNoticeMail),
    QString(),
};

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

// The clock's text, with the locale pinned.
class TestClockText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pinnedLocales_data();
    void pinnedLocales();
    void noZoneInAnyLocale();
};

void TestClockText::pinnedLocales_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");
    QTest::newRow("12-hour afternoon") << "en_US" << QTime(14, 5, 9) << "2:05:09 PM";
    QTest::newRow("12-hour morning") << "en_US" << QTime(9, 0, 0) << "9:00:00 AM";
    QTest::newRow("12-hour midnight") << "en_US" << QTime(0, 30, 5) << "12:30:05 AM";
    QTest::newRow("24-hour") << "de_DE" << QTime(14, 5, 9) << "14:05:09";
    QTest::newRow("24-hour morning") << "de_DE" << QTime(9, 0, 0) << "09:00:00";
    QTest::newRow("zone in brackets") << "eu_ES" << QTime(14, 5, 9) << "14:05:09";
    QTest::newRow("zone after comma") << "be_BY" << QTime(14, 5, 9) << "14:05:09";
    QTest::newRow("designator as written") << "sq_AL" << QTime(14, 5, 9) << "2:05:09 e pasdites";
    QTest::newRow("day period") << "zh_TW" << QTime(14, 5, 9) << "下午2:05:09";
    QTest::newRow("words") << "th_TH" << QTime(14, 5, 9) << "14 นาฬิกา 05 นาที 09 วินาที";
}

void TestClockText::pinnedLocales() {
    QFETCH(QString, locale);
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    QCOMPARE(clockText(time, QLocale(locale)), expected);
}

void TestClockText::noZoneInAnyLocale() {
    const QTime time(14, 5, 9);
    const auto locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale& locale : locales) {
        const QString text = clockText(time, locale);
        const QString zone = locale.toString(time, QStringLiteral("t"));
        QVERIFY2(!zone.isEmpty() && !text.contains(zone), qPrintable(locale.name() + ": " + text));
        QVERIFY2(text == text.trimmed() && !text.endsWith(u',') && !text.contains(u"()") &&
                     !text.contains(u"[]"),
                 qPrintable(locale.name() + ": " + text));
    }
}

// Both information windows, opened through the program as the menus open them.
class TestInfoWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void helpPage_data();
    void helpPage();
    void helpWindowShowsPage();

    void opensOnce_data();
    void opensOnce();
    void typedTextGoneAfterOk_data();
    void typedTextGoneAfterOk();
    void escapeDoesNotClose_data();
    void escapeDoesNotClose();
    void helpSurvivesEditor();

    void aboutNotice();
    void aboutCannotBeResized();
    void clockRuns();
    void authorClickOpensMail();
    void authorClickWithoutMailProgram();

public Q_SLOTS:
    void openMail(const QUrl& url) { mails_.append(url); }

private:
    QWidget* open(const QString& window);

    std::unique_ptr<testsupport::ScratchFolder> folder_;
    std::unique_ptr<Program> program_;
    QList<QUrl> mails_;
};

void TestInfoWindows::init() {
    folder_ = std::make_unique<testsupport::ScratchFolder>();
    program_ = std::make_unique<Program>();
    mails_.clear();
}

void TestInfoWindows::cleanup() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    program_.reset();
    flushDeletes();
    folder_.reset();
}

QWidget* TestInfoWindows::open(const QString& window) {
    if (window == u"help") {
        return program_->showHelp();
    }
    return program_->showAbout();
}

void TestInfoWindows::helpPage_data() {
    QTest::addColumn<int>("line");
    for (int line = 1; line <= kHelpLines.size(); ++line) {
        QTest::addRow("line %d", line) << line;
    }
}

void TestInfoWindows::helpPage() {
    QFETCH(int, line);
    const QStringList lines = orbitra::helpPage().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), kHelpLines.size());
    QCOMPARE(lines[line - 1], kHelpLines[line - 1]);
}

void TestInfoWindows::helpWindowShowsPage() {
    QWidget* help = program_->showHelp();
    QVERIFY(QTest::qWaitForWindowActive(help));
    auto* text = help->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    QVERIFY(text);
    QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
    QCOMPARE(text->toPlainText(), kHelpLines.join(u'\n'));
    QCOMPARE(text->textCursor().position(), 0);
    QCOMPARE(text->verticalScrollBar()->value(), 0);
    QCOMPARE(QApplication::focusWidget(), text);
    QVERIFY(!(help->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(help->windowFlags() & Qt::WindowMinimizeButtonHint);

    // Thai must come from a font that has it, not from boxes.
    const QRawFont thai = QRawFont::fromFont(text->font(), QFontDatabase::Thai);
    QVERIFY2(thai.supportsCharacter(QChar(0x0E1B)) && thai.supportsCharacter(QChar(0x0E49)),
             qPrintable(thai.familyName()));
}

void TestInfoWindows::opensOnce_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("help") << "help";
    QTest::newRow("about") << "about";
}

void TestInfoWindows::opensOnce() {
    QFETCH(QString, window);
    QWidget* first = open(window);
    QWidget* second = open(window);
    QCOMPARE(second, first);
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        shown += w->isVisible() && w->metaObject() == first->metaObject();
    }
    QCOMPARE(shown, 1);
}

void TestInfoWindows::typedTextGoneAfterOk_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("text");
    QTest::newRow("help") << "help" << kHelpLines.join(u'\n');
    QTest::newRow("about") << "about" << kNoticeLines.join(u'\n');
}

void TestInfoWindows::typedTextGoneAfterOk() {
    QFETCH(QString, window);
    QFETCH(QString, text);
    QPointer<QWidget> first = open(window);
    auto* box = first->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    QTest::keyClicks(box, QStringLiteral("typed"));
    QVERIFY(box->toPlainText().contains(QStringLiteral("typed")));

    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    flushDeletes();
    QVERIFY(first.isNull());

    QWidget* again = open(window);
    QCOMPARE(again->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText(), text);
}

void TestInfoWindows::escapeDoesNotClose_data() {
    opensOnce_data();
}

void TestInfoWindows::escapeDoesNotClose() {
    QFETCH(QString, window);
    QPointer<QWidget> w = open(window);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(w, Qt::Key_Escape);
    flushDeletes();
    QVERIFY(!w.isNull());
    QVERIFY(w->isVisible());
}

void TestInfoWindows::helpSurvivesEditor() {
    program_->showEditor();
    QPointer<EditHelp> help = program_->showHelp();
    program_->editor()->close();
    flushDeletes();
    QVERIFY(!help.isNull());
    QVERIFY(help->isVisible());
    QTest::mouseClick(help->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    flushDeletes();
    QVERIFY(help.isNull());
}

void TestInfoWindows::aboutNotice() {
    QCOMPARE(orbitra::aboutNotice().split(QStringLiteral("\r\n")), kNoticeLines);
    QWidget* about = program_->showAbout();
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QCOMPARE(about->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText(),
             kNoticeLines.join(u'\n'));
    QCOMPARE(about->findChild<QLabel*>(QStringLiteral("Label5"))->text(),
             QString::fromUtf8(contacts::kAuthorName));
}

void TestInfoWindows::aboutCannotBeResized() {
    QWidget* about = program_->showAbout();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    const QSize size = about->size();
    about->resize(size * 2);
    QCOMPARE(about->size(), size);
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QVERIFY(
        !(about->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
}

void TestInfoWindows::clockRuns() {
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    for (int opening = 0; opening < 2; ++opening) {
        QPointer<QWidget> about = program_->showAbout();
        auto* clock = about->findChild<QLabel*>(QStringLiteral("Label2"));
        QCOMPARE(clock->text(), QStringLiteral("Label2"));
        QTRY_VERIFY_WITH_TIMEOUT(clock->text() != QStringLiteral("Label2"), 1500);
        const QTime shown = QLocale().toTime(clock->text(), QStringLiteral("h:mm:ss AP"));
        QVERIFY2(shown.isValid(), qPrintable(clock->text()));
        QVERIFY(qAbs(shown.secsTo(QTime::currentTime())) <= 1);
        const QString first = clock->text();
        QTRY_VERIFY_WITH_TIMEOUT(clock->text() != first, 1500);

        // The timer sleeps until the next second instead of ticking constantly.
        auto* timer = about->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer->isActive());
        QVERIFY(timer->interval() >= 5);

        about->close();
        flushDeletes();
        QVERIFY(about.isNull());
    }
    QLocale::setDefault(QLocale::c());
}

void TestInfoWindows::authorClickOpensMail() {
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "openMail");
    QWidget* about = program_->showAbout();
    auto* author = about->findChild<QLabel*>(QStringLiteral("Label5"));
    const QUrl expected(QStringLiteral("mailto:") + QString::fromUtf8(contacts::kAuthorMail));
    for (int click = 1; click <= 3; ++click) {
        QTest::mouseClick(author, Qt::LeftButton);
        QCOMPARE(mails_.size(), click);
        QCOMPARE(mails_.last(), expected);
    }
    QTest::mouseClick(author, Qt::RightButton);
    QCOMPARE(mails_.size(), 3);
}

void TestInfoWindows::authorClickWithoutMailProgram() {
    if (QGuiApplication::platformName() != u"offscreen") {
        QSKIP("only the offscreen platform is known to have no mail program");
    }
    QWidget* about = program_->showAbout();
    auto* author = about->findChild<QLabel*>(QStringLiteral("Label5"));
    const QString message =
        testsupport::messageBoxText([&] { QTest::mouseClick(author, Qt::LeftButton); });
    QVERIFY2(message.contains(QString::fromUtf8(contacts::kAuthorMail)), qPrintable(message));
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    TestClockText clock;
    TestInfoWindows windows;
    int failed = QTest::qExec(&clock, argc, argv);
    failed += QTest::qExec(&windows, argc, argv);
    return failed;
}

#include "tst_info.moc"
