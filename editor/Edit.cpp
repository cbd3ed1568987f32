#include "Edit.h"

#include "Accessible.h"
#include "Controls.h"
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

// Positions and sizes in twips from the top-left corner of the client area;
// colours 0xRRGGBB.
constexpr int kClientWidth = 7290;
constexpr int kClientHeight = 3915;
constexpr unsigned kBackground = 0xC0C0FF;
constexpr unsigned kFieldBoxColour = 0xC0FFFF;
constexpr unsigned kNumberBoxColour = 0xC0FFC0;
constexpr int kFieldBoxHeight = 330;

// One field box and the label beside it, at the same Top.
struct FieldRow {
    int label;  // the label is "Label<label>"
    int labelLeft;
    int top;
    int labelWidth;
    int labelHeight;
    int boxLeft;
    int boxWidth;
};

// In record order, cname .. cHF.
constexpr std::array<FieldRow, kPropertyCount> kFieldRows{{
    {11, 120, 240, 1215, 255, 1560, 1700},    // cname
    {12, 120, 600, 1215, 255, 1560, 1700},    // cAN
    {13, 120, 960, 1095, 255, 1560, 1700},    // cAW
    {14, 120, 1320, 1095, 255, 1560, 1700},   // cMP
    {15, 120, 1680, 1095, 375, 1560, 1700},   // cBP
    {32, 3600, 240, 1215, 255, 5280, 1700},   // cDen
    {33, 3600, 600, 1695, 255, 5280, 1700},   // cEC
    {34, 3600, 960, 1575, 255, 5280, 1700},   // cVE
    {35, 3600, 1320, 1335, 255, 5280, 1700},  // cCS
    {36, 3600, 1680, 1455, 255, 5280, 1700},  // cSH
    {37, 120, 2280, 1575, 255, 2040, 1200},   // cTC
    {38, 120, 2640, 1575, 255, 2040, 1200},   // EC
    {39, 120, 3000, 1575, 255, 2040, 1200},   // cHV
    {40, 120, 3360, 1215, 255, 2040, 1200},   // cHF
}};

// Tab order of the field boxes by field index; Save, Text1 and Cancel follow.
constexpr std::array<int, kPropertyCount> kFieldTabOrder{13, 10, 11, 12, 6, 7, 8,
                                                         9,  2,  3,  4,  5, 1, 0};

struct Place {
    int left;
    int top;
    int width;
    int height;
};
constexpr Place kLabel1{3960, 2400, 1215, 255};
constexpr Place kText1{3960, 2880, 1695, 375};
constexpr Place kCommand1{5880, 2880, 1335, 375};
constexpr Place kCommand2{5880, 3360, 1335, 375};

QRect twips(const Place& p) {
    return orbitra::twips(p.left, p.top, p.width, p.height);
}

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
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
      Label1(label(client_, QStringLiteral("Label1"), QStringLiteral("Record number."),
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
    resize(px(kClientWidth), px(kClientHeight) + menuBar()->sizeHint().height());
    Form_Load();
}

Edit::~Edit() {
    Form_Unload();
}

QLineEdit* Edit::fieldBox(int field) {
    const FieldRow& row = kFieldRows[field];
    QLineEdit* box =
        textBox(client_, text(kFields[field].box),
                twips(row.boxLeft, row.top, row.boxWidth, kFieldBoxHeight), kFieldBoxColour);
    box->setAccessibleName(text(kFields[field].caption));
    box->setAccessibleDescription(text(kFieldUnits[field]));
    return box;
}

std::array<QLineEdit*, kPropertyCount> Edit::fieldBoxes() const {
    return {cname, cAN, cAW, cMP, cBP, cDen, cEC, cVE, cCS, cSH, cTC, EC, cHV, cHF};
}

void Edit::createControls() {
    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(true);
    // The labels stand on it, transparent, in its colours.
    paint(client_, Surface::Face, kBackground);
    setCentralWidget(client_);
    for (int field = 0; field < kPropertyCount; ++field) {
        const FieldRow& row = kFieldRows[field];
        label(client_, QStringLiteral("Label%1").arg(row.label), text(kFields[field].caption),
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
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous != nullptr) {
            setTabOrder(previous, next);
        }
        previous = next;
    };
    for (int field : kFieldTabOrder) {
        chain(boxes[field]);
    }
    chain(Command1);
    chain(Text1);
    chain(Command2);
    cHF->setFocus();
}

void Edit::Form_Load() {
    // A failure here is not reported: loads and saves go through handle 1, and
    // handle 2 is opened again should they ever need it.
    ownsHandle_ = files_.open(kOwnHandle).ok();
}

void Edit::Form_Unload() {
    if (ownsHandle_) {
        files_.close(kOwnHandle);
        ownsHandle_ = false;
    }
}

void Edit::closeEvent(QCloseEvent*) {
    Form_Unload();
}

// The handle records pass through: the main window's while it is open, else
// the editor's own, opened now if that failed when the editor was loaded.
Status Edit::recordHandle(int& handle) {
    if (files_.isOpen(kSharedHandle)) {
        handle = kSharedHandle;
        return {};
    }
    if (!ownsHandle_) {
        const Status status = files_.open(kOwnHandle);
        if (!status.ok()) {
            return status;
        }
        ownsHandle_ = true;
    }
    handle = kOwnHandle;
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
    const auto boxes = fieldBoxes();
    QStringList shown;
    for (int i = 0; i < kPropertyCount; ++i) {
        boxes[i]->setText(QString::fromStdString(record.fields[i]));
        boxes[i]->setCursorPosition(0);
        shown.append(boxes[i]->text());
    }
    announce(Text1, recordHeard(number, shown));
    return {};
}

void Edit::Text1_Change() {
    const std::optional<std::int16_t> number = readLoadNumber(Text1->text().toStdString());
    if (!number) {
        return;
    }
    const Status status = ShowRecord(*number);
    if (!status.ok() && status.error != RecordError::BadRecordNumber) {
        QMessageBox::warning(
            this, windowTitle(),
            tr("Record %1 could not be loaded from \"%2\".\n\n%3")
                .arg(*number)
                .arg(QString::fromUtf8(kDataFileName), QString::fromStdString(status.message)));
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
            QString field = text(kFields[i].caption);
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
        refuseSave(
            tr("Writing record %1 to \"%2\" failed: %3")
                .arg(*number)
                .arg(QString::fromUtf8(kDataFileName), QString::fromStdString(status.message)));
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
