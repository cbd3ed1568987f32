#include "Edit.h"

#include "Accessible.h"
#include "Controls.h"
#include "EditLayout.h"
#include "FieldUnits.h"
#include "RecordNumber.h"
#include "Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace orbitra {

namespace {

QRect twips(const Place& p) {
    return orbitra::twips(p.left, p.top, p.width, p.height);
}

QLineEdit* textBox(QWidget* parent, const QString& name, const QRect& geometry, unsigned colour) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    paint(box, Surface::Field, colour);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                    const QRect& geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    return b;
}

// What a failed load or save says: a data file that could not be opened says
// so in the words of its opener; any other failure is `what`, the system's
// message taking its last place.
QString failure(const Status& status, const QString& what) {
    const QString reason = QString::fromStdString(status.message);
    return status.error == RecordError::OpenFailed ? reason : what.arg(reason);
}

}  // namespace

Edit::Edit(DataFiles& files, QWidget* parent)
    : QMainWindow(parent),
      files_(files),
      client_(new QWidget(this)),
      cname(fieldBox(0)),
      cAN(fieldBox(1)),
      cAW(fieldBox(2)),
      cMP(fieldBox(3)),
      cBP(fieldBox(4)),
      cDen(fieldBox(5)),
      cEC(fieldBox(6)),
      cVE(fieldBox(7)),
      cCS(fieldBox(8)),
      cSH(fieldBox(9)),
      cTC(fieldBox(10)),
      EC(fieldBox(11)),
      cHV(fieldBox(12)),
      cHF(fieldBox(13)),
      Label1(captionLabel(client_, QStringLiteral("Label1"), QStringLiteral("Record number."),
                          twips(kLabel1))),
      Text1(textBox(client_, QStringLiteral("Text1"), twips(kText1), kNumberBoxColour)),
      Command1(
          button(client_, QStringLiteral("Command1"), QStringLiteral("Save"), twips(kCommand1))),
      Command2(
          button(client_, QStringLiteral("Command2"), QStringLiteral("Cancel"), twips(kCommand2))),
      mhelp(new QMenu(QStringLiteral("&Help"), this)),
      mhel(new QAction(QStringLiteral("&Help"), this)),
      mabout(new QAction(QStringLiteral("&About"), this)),
      mreset(new QAction(QStringLiteral("&Reset"), this)) {
    setObjectName(QStringLiteral("Edit"));
    setWindowTitle(QStringLiteral("Edit data"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(layoutFont());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    createControls();
    createMenus();
    createConnections();
    createTabOrder();
    focusHeardFirst(this);
    settleControls(this);
    resize(px(kEditClientWidth), px(kEditClientHeight) + menuBar()->sizeHint().height());
    Form_Load();
}

Edit::~Edit() {
    Form_Unload();
}

QLineEdit* Edit::fieldBox(int field) {
    const FieldRow& row = kFieldRows[field];
    QLineEdit* box =
        textBox(client_, utf8(kFields[field].box),
                twips(row.boxLeft, row.top, row.boxWidth, kFieldBoxHeight), kFieldBoxColour);
    box->setAccessibleName(utf8(kFields[field].caption));
    box->setAccessibleDescription(utf8(kFieldUnits[field]));
    return box;
}

std::array<QLineEdit*, kPropertyCount> Edit::fieldBoxes() const {
    return {cname, cAN, cAW, cMP, cBP, cDen, cEC, cVE, cCS, cSH, cTC, EC, cHV, cHF};
}

void Edit::createControls() {
    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(true);
    // The labels stand on it, transparent, in its colours.
    paint(client_, Surface::Face, kLavender);
    setCentralWidget(client_);
    for (int field = 0; field < kPropertyCount; ++field) {
        const FieldRow& row = kFieldRows[field];
        captionLabel(client_, QStringLiteral("Label%1").arg(row.label),
                     utf8(kFields[field].caption),
                     twips(row.labelLeft, row.top, row.labelWidth, row.labelHeight));
    }
    Text1->setAccessibleName(Label1->text());
}

void Edit::createMenus() {
    mhelp->setObjectName(QStringLiteral("mhelp"));
    mhel->setObjectName(QStringLiteral("mhel"));
    mabout->setObjectName(QStringLiteral("mabout"));
    mreset->setObjectName(QStringLiteral("mreset"));
    mhelp->addActions({mhel, mabout});
    menuBar()->addMenu(mhelp);
    menuBar()->addAction(mreset);
}

void Edit::createConnections() {
    connect(Text1, &QLineEdit::textChanged, this, &Edit::Text1_Change);
    connect(Command1, &QPushButton::clicked, this, &Edit::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Edit::Command2_Click);
    connect(mreset, &QAction::triggered, this, &Edit::mreset_Click);
    connect(mhel, &QAction::triggered, this, &Edit::mhel_Click);
    connect(mabout, &QAction::triggered, this, &Edit::mabout_Click);
}

void Edit::createTabOrder() {
    const auto boxes = fieldBoxes();
    TabChain chain;
    for (int field : kFieldTabOrder) {
        chain.add(boxes[field]);
    }
    chain.add(Command1);
    chain.add(Text1);
    chain.add(Command2);
    cHF->setFocus();
}

void Edit::Form_Load() {
    // A failure here is not reported: loads and saves go through handle 1, and
    // handle 2 is opened again should they ever need it.
    ownsHandle_ = openDataFile(files_, kEditorHandle).ok();
}

void Edit::Form_Unload() {
    if (ownsHandle_) {
        files_.close(kEditorHandle);
        ownsHandle_ = false;
    }
}

void Edit::closeEvent(QCloseEvent*) {
    Form_Unload();
}

// The handle records pass through: the main window's while it is open, else
// the editor's own, opened now if that failed when the editor was loaded.
Status Edit::recordHandle(int& handle) {
    if (files_.isOpen(kMainHandle)) {
        handle = kMainHandle;
        return {};
    }
    if (!ownsHandle_) {
        const Status status = openDataFile(files_, kEditorHandle);
        if (!status.ok()) {
            return status;
        }
        ownsHandle_ = true;
    }
    handle = kEditorHandle;
    return {};
}

Status Edit::ShowRecord(qint16 number) {
    int handle = 0;
    ElementRecord record;
    Status status = recordHandle(handle);
    if (status.ok()) {
        status = ReadRecord(files_, handle, number, record);
    }
    if (!status.ok()) {
        return status;
    }
    announce(Text1, recordHeard(number, showFields(fieldBoxes(), record)));
    return {};
}

void Edit::Text1_Change() {
    const std::optional<std::int16_t> number = readLoadNumber(Text1->text().toStdString());
    if (!number) {
        return;
    }
    const Status status = ShowRecord(*number);
    if (!status.ok() && status.error != RecordError::BadRecordNumber) {
        QMessageBox::warning(this, windowTitle(),
                             failure(status, tr("Record %1 could not be loaded from \"%2\".\n\n%3")
                                                 .arg(*number)
                                                 .arg(utf8(kDataFileName))));
    }
}

void Edit::Command1_Click() {
    const std::optional<std::int32_t> number = readSaveNumber(Text1->text().toStdString());
    if (!number) {
        refuseSave(
            tr("The record number must be a whole number from 1 to %1.").arg(kLargestRecord));
        return;
    }
    if (*number < 1) {
        refuseSave(tr("The record number must be 1 or more."));
        return;
    }
    if (*number > kLargestRecord) {
        refuseSave(tr("The record number must be %1 or less.").arg(kLargestRecord));
        return;
    }
    ElementRecord record;
    const auto boxes = fieldBoxes();
    for (int i = 0; i < kPropertyCount; ++i) {
        record.fields[i] = boxes[i]->text().toStdString();
        // Storing would turn such a character into '?': refuse rather than lose it.
        const std::string unstorable = firstUnstorable(record.fields[i], kFields[i].width);
        if (!unstorable.empty()) {
            QString field = utf8(kFields[i].caption);
            field.chop(1);  // the caption's colon
            refuseSave(tr("\"%1\" in %2 cannot be stored: the data file holds only the "
                          "characters of its single-byte code page.")
                           .arg(QString::fromStdString(unstorable), field));
            boxes[i]->setFocus();
            return;
        }
    }
    int handle = 0;
    Status status = recordHandle(handle);
    if (status.ok()) {
        status = WriteRecord(files_, handle, *number, record, Sync::Yes);
    }
    if (!status.ok()) {
        refuseSave(failure(
            status,
            tr("Writing record %1 to \"%2\" failed: %3").arg(*number).arg(utf8(kDataFileName))));
    }
}

void Edit::refuseSave(const QString& reason) {
    QMessageBox::warning(this, windowTitle(), tr("The record was not saved.\n\n%1").arg(reason));
}

void Edit::Command2_Click() {
    close();
}

void Edit::mreset_Click() {
    for (QLineEdit* box : fieldBoxes()) {
        box->clear();
    }
}

void Edit::mhel_Click() {
    Q_EMIT helpRequested();
}

void Edit::mabout_Click() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("about"),
                    QStringLiteral("Edit data Element 1.0"), QMessageBox::Ok, this);
    box.exec();
}

}  // namespace orbitra
