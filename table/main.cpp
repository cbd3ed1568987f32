#include "main.h"

#include "Accessible.h"
#include "ClickFilter.h"
#include "Controls.h"
#include "FieldUnits.h"
#include "TileCatalogue.h"
#include "Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStringList>

#include <algorithm>

namespace orbitra {

namespace {

// A label on the window's background, in its colours.
QLabel* label(QWidget* parent, int number, std::string_view caption, const QRect& geometry,
              unsigned textColour = 0x000000) {
    QLabel* l =
        captionLabel(parent, QStringLiteral("Label%1").arg(number), utf8(caption), geometry);
    l->setAutoFillBackground(true);
    paint(l, Surface::Face, kLavender, textColour);
    return l;
}

}  // namespace

main::main(DataFiles& files, QWidget* parent)
    : QMainWindow(parent),
      files_(files),
      canvas_(new QWidget(this)),
      cname(detailBox(0)),
      cAN(detailBox(1)),
      cAW(detailBox(2)),
      cMP(detailBox(3)),
      cBP(detailBox(4)),
      cDen(detailBox(5)),
      cEC(detailBox(6)),
      cVE(detailBox(7)),
      cCS(detailBox(8)),
      cSH(detailBox(9)),
      cTC(detailBox(10)),
      EC(detailBox(11)),
      cHV(detailBox(12)),
      cHF(detailBox(13)),
      mopt(new QMenu(QStringLiteral("&Window"), this)),
      mmini(new QAction(QStringLiteral("&Minimize"), this)),
      mmax(new QAction(QStringLiteral("&Maximize"), this)),
      dash(new QAction(this)),
      mquit(new QAction(QStringLiteral("&Quit"), this)),
      medit(new QAction(QStringLiteral("&Edit"), this)),
      mabout(new QAction(QStringLiteral("&About"), this)) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Periodic Table"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(layoutFont());
    canvas_->setObjectName(QStringLiteral("client"));
    canvas_->setAutoFillBackground(true);
    paint(canvas_, Surface::Face, kLavender);
    setCentralWidget(canvas_);

    createTable();
    createDetailPanel();
    createMenus();
    createTabOrder();
    new PaneKeys(this, {tiles_.begin(), tiles_.end()},
                 {cname, cAN, cAW, cMP, cBP, cDen, cEC, cVE, cCS, cSH, cTC, EC, cHV, cHF});
    settleControls(this);
    resize(px(kMainClientWidth), px(kMainClientHeight) + menuBar()->sizeHint().height());
}

main::~main() = default;

QLineEdit* main::detailBox(int field) {
    const DetailRow& row = DetailPanel[field];
    auto* box = new QLineEdit(canvas_);
    box->setObjectName(utf8(kFields[field].box));
    box->setGeometry(twips(row.boxLeft, row.top, row.boxWidth, kDetailBoxHeight));
    box->setReadOnly(true);
    box->setAccessibleName(utf8(kFields[field].caption));
    box->setAccessibleDescription(utf8(kFieldUnits[field]));
    paint(box, Surface::Field, kDetailBoxColour);
    return box;
}

std::array<QLineEdit*, 14> main::detailBoxes() const {
    return {cname, cAN, cAW, cMP, cBP, cDen, cEC, cVE, cCS, cSH, cTC, EC, cHV, cHF};
}

void main::createTable() {
    for (const ElementTile& tile : TileCatalogue) {
        auto* box = new QLineEdit(canvas_);
        exposeAsButton(box);
        box->setReadOnly(true);
        box->setObjectName(QStringLiteral("Text%1").arg(tile.control));
        box->setText(utf8(tile.symbol));
        box->setCursorPosition(0);
        box->setGeometry(twips(tile.left, tile.top, kTileSize, kTileSize));
        // The family is heard and, for readers who cannot tell the legend's
        // colours apart, shown on hovering.
        box->setAccessibleName(QStringLiteral("%1, %2").arg(utf8(tile.symbol)).arg(tile.z));
        box->setAccessibleDescription(utf8(legendOf(tile.family).caption));
        box->setToolTip(box->accessibleName() + QStringLiteral(": ") +
                        box->accessibleDescription());
        paint(box, Surface::Field, fillOf(tile));
        const int z = tile.z;
        auto* filter = new ClickFilter(box);
        connect(filter, &ClickFilter::clicked, this, [this, z] { ShowRecord(qint16(z)); });
        connect(filter, &ClickFilter::arrowPressed, this,
                [this, z](int key) { tile_Arrow(z, key); });
        tiles_[tile.z - 1] = box;
    }
    for (const LegendEntry& entry : Legend) {
        auto* swatch = new QFrame(canvas_);
        swatch->setObjectName(QStringLiteral("Shape%1").arg(entry.shape));
        swatch->setGeometry(twips(kSwatchLeft, entry.top, kSwatchSize, kSwatchSize));
        swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
        swatch->setLineWidth(1);
        swatch->setAccessibleName(utf8(entry.caption));
        swatch->setAutoFillBackground(true);
        paint(swatch, Surface::Face, entry.colour);
        label(canvas_, entry.label, entry.caption,
              twips(kLegendCaptionLeft, entry.top, entry.captionWidth, 255));
    }
    for (const Annotation& a : Annotations) {
        label(canvas_, a.number, a.caption, twips(a.left, a.top, a.width, a.height), a.textColour);
    }
    for (const LineSegment& line : Bracket) {
        auto* stroke = new QWidget(canvas_);
        stroke->setObjectName(QStringLiteral("Line%1").arg(line.number));
        const QPoint a(px(line.x1), px(line.y1));
        const QPoint b(px(line.x2), px(line.y2));
        stroke->setGeometry(QRect(a, b).normalized());
        stroke->setAutoFillBackground(true);
        paint(stroke, Surface::Face, 0x000000);
    }
}

void main::createDetailPanel() {
    for (const DetailRow& row : DetailPanel) {
        label(canvas_, row.captionLabel, kFields[row.field].caption,
              twips(row.captionLeft, row.top, row.captionWidth, row.captionHeight));
        if (row.unitLabel != 0) {
            label(canvas_, row.unitLabel, kFieldUnits[row.field],
                  twips(row.unitLeft, row.unitTop, row.unitWidth, 255));
        }
    }
}

void main::createMenus() {
    mopt->setObjectName(QStringLiteral("mopt"));
    mmini->setObjectName(QStringLiteral("mmini"));
    mmax->setObjectName(QStringLiteral("mmax"));
    dash->setObjectName(QStringLiteral("dash"));
    dash->setSeparator(true);
    mquit->setObjectName(QStringLiteral("mquit"));
    medit->setObjectName(QStringLiteral("medit"));
    mabout->setObjectName(QStringLiteral("mabout"));
    mopt->addActions({mmini, mmax, dash, mquit});
    menuBar()->addMenu(mopt);
    menuBar()->addAction(medit);
    menuBar()->addAction(mabout);

    connect(mmini, &QAction::triggered, this, &main::mmini_Click);
    connect(mmax, &QAction::triggered, this, &main::mmax_Click);
    connect(mquit, &QAction::triggered, this, &main::mquit_Click);
    connect(medit, &QAction::triggered, this, &main::medit_Click);
    connect(mabout, &QAction::triggered, this, &main::mabout_Click);
}

void main::createTabOrder() {
    // A tile "Text<N>" takes tab index N - 1; the detail boxes cname and cAN hold
    // indexes 76 and 77, the names Text77 and Text78 being unused.
    std::array<QWidget*, 113> byName{};
    for (const ElementTile& tile : TileCatalogue) {
        byName[tile.control] = tiles_[tile.z - 1];
    }
    byName[77] = cname;
    byName[78] = cAN;
    const auto boxes = detailBoxes();
    TabChain chain;
    for (int n = 1; n <= 112; ++n) {
        chain.add(byName[n]);
    }
    for (int field : kDetailTabOrderAfterTiles) {
        chain.add(boxes[field]);
    }
    byName[1]->setFocus();
}

Status main::Form_Load() {
    return openDataFile(files_, kMainHandle);
}

void main::Form_Unload() {
    if (files_.isOpen(kMainHandle)) {
        files_.close(kMainHandle);
    }
}

void main::ShowRecord(qint16 number) {
    ElementRecord record;
    const Status status = ReadRecord(files_, kMainHandle, number, record);
    if (!status.ok()) {
        QMessageBox::critical(
            this, windowTitle(),
            tr("The record could not be read.\n\n%1").arg(QString::fromStdString(status.message)));
        return;
    }
    const QStringList shown = showFields(detailBoxes(), record);
    // A tile pressed from the keyboard keeps the focus: the element is heard there.
    const auto pressed = std::find(tiles_.begin(), tiles_.end(), focusWidget());
    if (pressed != tiles_.end()) {
        announce(*pressed, recordHeard(number, shown));
    }
}

void main::tile_Arrow(int z, int key) {
    const Step step = key == Qt::Key_Left    ? Step::Left
                      : key == Qt::Key_Right ? Step::Right
                      : key == Qt::Key_Up    ? Step::Up
                                             : Step::Down;
    const int next = tileAfterStep(z, step);
    if (next != 0) {
        tile(next)->setFocus(Qt::TabFocusReason);
    }
}

void main::closeEvent(QCloseEvent*) {
    Form_Unload();
}

void main::mmini_Click() {
    setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
}

void main::mmax_Click() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

void main::mquit_Click() {
    close();
}

void main::medit_Click() {
    Q_EMIT editRequested();
}

void main::mabout_Click() {
    Q_EMIT aboutRequested();
}

}  // namespace orbitra
