#include "EditHelp.h"

#include "Accessible.h"
#include "Contacts.h"
#include "Controls.h"
#include "Twips.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orbitra {

namespace {

constexpr int kClientWidth = 4995;
constexpr int kClientHeight = 3735;

// "MS Sans Serif" has no Thai where it exists at all; the Thai marks come from
// the first of the others that is installed.
QFont pageFont() {
    QFont font;
    font.setFamilies({layoutFontFamily(), QStringLiteral("Tahoma"), QStringLiteral("Leelawadee UI"),
                      QStringLiteral("Loma"), QStringLiteral("Garuda"), QStringLiteral("Norasi")});
    font.setPointSizeF(9.75);
    return font;
}

}  // namespace

QString helpPage() {
    return QStringLiteral(
               "ป้อนหมายเลข record ลงไปในช่อง record number ซึ่ง\r\n"
               "ก็หมายถึงเลขอะตอมของธาตุนั้นๆที่ต้องการแก้ไข หรือ\r\n"
               " เพิ่ม(ในกรณีที่ป้อนไปแล้วไม่มีข้อมูลใดๆปรากฏขึ้น)\r\n"
               "เมื่อแก้ไขหรือเพิ่มข้อมูลเรียบร้อยแล้วให้กดปุ่ม Save\r\n"
               " เพื่อบันทึกหรือ Cancel เพื่อออกโดยไม่บันทึก สำหรับ\r\n"
               "บางกรณีที่คุณทำไฟล์\r\n"
               "ข้อมูลหายหรือเสียมีไฟล์สำรองชื่อ period.bak ให้\r\n"
               " rename เป็น period.bio \r\n"
               " ขอบคุณครับที่ใช้ software ตัวนี้ ซึ่งมันโปรแกรมง่ายๆ\r\n"
               "แต่ทำนานครับ ยากตรงพิมพ์ข้อมูลแหละเยอะลายตา\r\n"
               " mailtome: ") +
           QString::fromUtf8(contacts::kHelpMail) + QStringLiteral("\r\n");
}

EditHelp::EditHelp(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      Text1(new QPlainTextEdit(this)),
      Command1(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("EditHelp"));
    exposeAsWindow(this);
    setWindowTitle(QStringLiteral("Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(layoutFont());
    resize(px(kClientWidth), px(kClientHeight));

    createControls();
    settleControls(this);
    connect(Command1, &QPushButton::clicked, this, &EditHelp::Command1_Click);
}

void EditHelp::createControls() {
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twips(120, 120, 4695, 2895));
    Text1->setFont(pageFont());
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setTabChangesFocus(true);
    Text1->setPlainText(helpPage());
    Text1->setAccessibleName(QStringLiteral("Help page"));
    Text1->setFocus();

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips(240, 3240, 4455, 330));
}

void EditHelp::Command1_Click() {
    close();
}

}  // namespace orbitra
