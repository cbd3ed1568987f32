#include "About.h"

#include "Accessible.h"
#include "ClickFilter.h"
#include "ClockText.h"
#include "Contacts.h"
#include "Controls.h"
#include "Twips.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFont>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTime>
#include <QTimer>
#include <QUrl>

namespace orbitra {

namespace {

constexpr int kClientWidth = 4845;
constexpr int kClientHeight = 3060;
// The clock is re-armed for just past the next full second.
constexpr int kTickLateMs = 5;

}  // namespace

QString aboutNotice() {
    return QStringLiteral("Thank you for choosing my project\r\n\r\n\r\n\r\nmailto: ") +
           QString::fromUtf8(contacts::kNoticeMail) + QStringLiteral("\r\n");
}

About::About(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      Label1(captionLabel(this, QStringLiteral("Label1"), QStringLiteral("Orbitra Table v1.0"),
                          twips(1200, 360, 2655, 375))),
      Label2(captionLabel(this, QStringLiteral("Label2"), QStringLiteral("Label2"),
                          twips(2040, 840, 1095, 255))),
      Command1(new QPushButton(QStringLiteral("OK"), this)),
      Text1(new QPlainTextEdit(this)),
      Label3(captionLabel(this, QStringLiteral("Label3"), QString(), twips(120, 2400, 1095, 255))),
      Label4(captionLabel(this, QStringLiteral("Label4"), QString(), twips(120, 2880, 4575, 255))),
      Label5(captionLabel(this, QStringLiteral("Label5"), QString::fromUtf8(contacts::kAuthorName),
                          twips(120, 2640, 1815, 255))),
      Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("About"));
    exposeAsWindow(this);
    setWindowTitle(QStringLiteral("About"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(layoutFont());
    setFixedSize(px(kClientWidth), px(kClientHeight));

    createControls();
    createConnections();
    settleControls(this);
    // The first tick comes as soon as the event loop runs.
    Timer1->start(0);
}

void About::createControls() {
    QFont title(layoutFontFamily());
    title.setPointSizeF(14.25);
    Label1->setFont(title);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips(3360, 2160, 975, 375));
    Command1->setFocus();

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twips(720, 1200, 3615, 855));
    // The notice wraps at the box's width, so only the vertical bar is needed.
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setTabChangesFocus(true);
    // The notice stands on the system's menu colours, text and background alike.
    const QPalette menu = QApplication::palette("QMenu");
    paint(Text1, Surface::Field, menu.color(QPalette::Window), menu.color(QPalette::WindowText));
    Text1->setPlainText(aboutNotice());
    Text1->setAccessibleName(QStringLiteral("Notice"));

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
}

void About::createConnections() {
    connect(Command1, &QPushButton::clicked, this, &About::Command1_Click);
    connect(new ClickFilter(Label5), &ClickFilter::clicked, this, &About::Label5_Click);
    connect(Timer1, &QTimer::timeout, this, &About::Timer1_Timer);
}

void About::Command1_Click() {
    close();
}

void About::Label5_Click() {
    const QString address = QString::fromUtf8(contacts::kAuthorMail);
    if (!QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address))) {
        QMessageBox::warning(
            this, QStringLiteral("About"),
            tr("No mail program could be opened. Please write to %1.").arg(address));
    }
}

void About::Timer1_Timer() {
    Label2->setText(clockText(QTime::currentTime(), QLocale()));
    Timer1->start(1000 - QTime::currentTime().msec() + kTickLateMs);
}

}  // namespace orbitra
