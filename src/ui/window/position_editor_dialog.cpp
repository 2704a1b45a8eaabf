#include "ui/window/position_editor_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>
#include <functional>

#include "ui/editor_scene.h"
#include "ui/window/artwork.h"
#include "ui/window/board_picture.h"

namespace nusari {

// The editor's picture: the scene of the dialog's editor, drawn with the
// main board's artwork, and the mouse's clicks and drags on it.
class EditorPicture : public QWidget {
  public:
    EditorPicture(PositionEditorDialog& dialog, QWidget* parent)
        : QWidget(parent),
          dialog_(dialog) {
        setObjectName(QStringLiteral("editor_picture"));
        setFixedSize(kPictureWidth, kEditorPictureHeight);
        setMouseTracking(false);
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter p(this);
        drawStrip(p);
        p.drawImage(0, 0, renderer_.background());
        renderer_.paint(p, ComposeEditor(dialog_.editor(), dialog_.selected()));
        // The dragged piece follows the mouse.
        if (dragging_ && dragImage_ >= 0)
            p.drawImage(dragAt_ - QPoint(24, 24), renderer_.pieceImage(dragImage_));
    }

    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        const std::optional<EditorSpot> spot = EditorSpotAt(at.x(), at.y());
        if (event->button() == Qt::RightButton) {
            if (spot && spot->area == EditorSpot::Area::Board)
                dialog_.showPieceMenu(spot->square, event->globalPosition().toPoint());
            return;
        }
        if (event->button() != Qt::LeftButton) return;
        if (!spot) dialog_.clearSelection();
        pressAt_ = at;
        pressSpot_ = spot;
        dragging_ = false;
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if ((event->buttons() & Qt::LeftButton) == 0 || !pressSpot_) return;
        const QPoint at = event->position().toPoint();
        if (!dragging_) {
            if ((at - pressAt_).manhattanLength() < QApplication::startDragDistance()) return;
            dragImage_ = imageOf(*pressSpot_);
            if (dragImage_ < 0) return;  // nothing there to drag
            dragging_ = true;
        }
        dragAt_ = at;
        update();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !pressSpot_) return;
        const EditorSpot from = *pressSpot_;
        pressSpot_.reset();
        if (dragging_) {
            dragging_ = false;
            const QPoint at = event->position().toPoint();
            if (const std::optional<EditorSpot> to = EditorSpotAt(at.x(), at.y()))
                dialog_.dropPiece(from, *to);
            update();
            return;
        }
        dialog_.clickSpot(from);
    }

  private:
    // The image of the piece a spot holds, or -1.
    int32_t imageOf(const EditorSpot& spot) const {
        const PositionEditor& e = dialog_.editor();
        switch (spot.area) {
            case EditorSpot::Area::Board:
                return ImageIndexOf(e.pieceAt(spot.square));
            case EditorSpot::Area::Hand:
                return e.handCount(spot.side, spot.kind) > 0
                           ? ImageIndexOf(static_cast<int32_t>(spot.side) + spot.kind)
                           : -1;
            case EditorSpot::Area::Box:
                return e.boxCount(spot.kind) > 0 ? ImageIndexOf(kLowerSide + spot.kind) : -1;
        }
        return -1;
    }

    // The piece box below the board: cloth as around the board, and a
    // wooden tray.
    static void drawStrip(QPainter& p) {
        QLinearGradient cloth(0, kBoxStripTop, 0, kEditorPictureHeight);
        cloth.setColorAt(0, QColor(0x3a, 0x24, 0x18));
        cloth.setColorAt(1, QColor(0x2a, 0x1a, 0x10));
        p.fillRect(0, kBoxStripTop, kPictureWidth, kBoxStripHeight, cloth);
        const QRect tray(10, kBoxStripTop + 4, kPictureWidth - 20, kBoxStripHeight - 10);
        p.fillRect(tray.translated(3, 3), QColor(0, 0, 0, 90));
        QLinearGradient wood(0, tray.top(), 0, tray.bottom());
        wood.setColorAt(0, QColor(0xd8, 0xa4, 0x60));
        wood.setColorAt(1, QColor(0xb0, 0x78, 0x3c));
        p.fillRect(tray, wood);
        p.setPen(QPen(QColor(0x5a, 0x36, 0x12), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(tray.adjusted(0, 0, -1, -1));
    }

    PositionEditorDialog& dialog_;
    BoardRenderer renderer_;  // the main board's artwork
    QPoint pressAt_;
    std::optional<EditorSpot> pressSpot_;
    bool dragging_ = false;
    int32_t dragImage_ = -1;
    QPoint dragAt_;
};

namespace {

bool sameSpot(const EditorSpot& a, const EditorSpot& b) {
    if (a.area != b.area) return false;
    switch (a.area) {
        case EditorSpot::Area::Board:
            return a.square == b.square;
        case EditorSpot::Area::Hand:
            return a.side == b.side && a.kind == b.kind;
        case EditorSpot::Area::Box:
            return a.kind == b.kind;
    }
    return false;
}

// Whether a spot holds a piece to take.
bool holdsPiece(const PositionEditor& e, const EditorSpot& spot) {
    switch (spot.area) {
        case EditorSpot::Area::Board:
            return e.pieceAt(spot.square) != kEmpty;
        case EditorSpot::Area::Hand:
            return e.handCount(spot.side, spot.kind) > 0;
        case EditorSpot::Area::Box:
            return e.boxCount(spot.kind) > 0;
    }
    return false;
}

}  // namespace

PositionEditorDialog::PositionEditorDialog(const Position& shown, Side toMove, QWidget* parent)
    : QDialog(parent), shown_(shown), shownToMove_(toMove) {
    setObjectName(QStringLiteral("position_editor"));
    setWindowTitle(QStringLiteral("局面編集"));
    auto* column = new QVBoxLayout(this);
    picture_ = new EditorPicture(*this, this);
    column->addWidget(picture_);

    auto* starts = new QHBoxLayout;
    starts->addWidget(new QLabel(QStringLiteral("初期配置:"), this));
    struct StartButton {
        const char* name;
        const char* text;
        std::function<PositionEditor()> editor;
    };
    const StartButton startButtons[] = {
        {"start_shown", "現在の局面",
         [this] {
             return PositionEditor::fromPosition(shown_, shownToMove_)
                 .value_or(PositionEditor::even());
         }},
        {"start_even", "平手", [] { return PositionEditor::even(); }},
        {"start_hands", "駒をすべて駒台へ", [] { return PositionEditor::allInHands(); }},
        {"start_tsume", "詰将棋", [] { return PositionEditor::tsume(); }},
        {"start_clear", "盤面クリア",
         [this] {
             PositionEditor cleared = editor_;
             cleared.clear();
             return cleared;
         }},
    };
    for (const StartButton& s : startButtons) {
        auto* b = new QPushButton(QString::fromUtf8(s.text), this);
        b->setObjectName(QString::fromUtf8(s.name));
        b->setAutoDefault(false);
        starts->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, make = s.editor] { start(make()); });
    }
    starts->addStretch();
    column->addLayout(starts);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("手番:"), this));
    sente_ = new QRadioButton(QStringLiteral("先手番"), this);
    gote_ = new QRadioButton(QStringLiteral("後手番"), this);
    sente_->setObjectName(QStringLiteral("side_sente"));
    gote_->setObjectName(QStringLiteral("side_gote"));
    auto* sides = new QButtonGroup(this);
    sides->addButton(sente_);
    sides->addButton(gote_);
    bottom->addWidget(sente_);
    bottom->addWidget(gote_);
    connect(sente_, &QRadioButton::toggled, this, [this](bool on) {
        editor_.setSideToMove(on ? Side::Lower : Side::Upper);
        picture_->update();
    });
    bottom->addStretch();
    auto* ok = new QPushButton(QStringLiteral("この局面で開始"), this);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    ok->setObjectName(QStringLiteral("editor_ok"));
    cancel->setObjectName(QStringLiteral("editor_cancel"));
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    column->addLayout(bottom);
    column->setSizeConstraint(QLayout::SetFixedSize);

    start(PositionEditor::fromPosition(shown_, shownToMove_).value_or(PositionEditor::even()));
}

std::optional<SetUpResult> PositionEditorDialog::edit(const Position& shown, Side toMove,
                                                      QWidget* parent) {
    PositionEditorDialog dialog(shown, toMove, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.result();
}

void PositionEditorDialog::accept() {
    result_ = editor_.finish();
    if (!result_.ok()) {
        QMessageBox box(QMessageBox::Warning, windowTitle(), QString::fromStdString(result_.error),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("editor_error"));
        box.exec();
        return;
    }
    QDialog::accept();
}

void PositionEditorDialog::start(const PositionEditor& editor) {
    editor_ = editor;
    selected_.reset();
    refresh();
}

void PositionEditorDialog::refresh() {
    (editor_.sideToMove() == Side::Lower ? sente_ : gote_)->setChecked(true);
    picture_->update();
}

void PositionEditorDialog::clickSpot(const EditorSpot& spot) {
    if (!selected_) {
        if (holdsPiece(editor_, spot)) selected_ = spot;
    } else if (sameSpot(*selected_, spot)) {
        // The selected board piece again: its next face, still selected.
        if (spot.area == EditorSpot::Area::Board) {
            CyclePiece(editor_, spot.square);
        } else {
            selected_.reset();
        }
    } else if (editor_.movePiece(*selected_, spot)) {
        selected_.reset();
    } else {
        // Not a place for it: the piece clicked is taken instead, if any.
        selected_ = holdsPiece(editor_, spot) ? std::optional<EditorSpot>(spot) : std::nullopt;
    }
    refresh();
}

void PositionEditorDialog::clearSelection() {
    selected_.reset();
    picture_->update();
}

void PositionEditorDialog::dropPiece(const EditorSpot& from, const EditorSpot& to) {
    if (!sameSpot(from, to)) editor_.movePiece(from, to);
    selected_.reset();
    refresh();
}

void PositionEditorDialog::showPieceMenu(int32_t square, const QPoint& globalAt) {
    const int32_t code = editor_.pieceAt(square);
    if (code == kEmpty) return;
    // The frame marks the piece the menu is for.
    selected_ = EditorSpot::board(square);
    picture_->update();
    const int32_t kind = kindOf(code);
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("editor_piece_menu"));
    QAction* turn = menu.addAction((code & kPromotedFlag) != 0 ? QStringLiteral("成らない")
                                                               : QStringLiteral("成る"));
    turn->setEnabled(kind != kKing && kind != kGold);
    QAction* side = menu.addAction(QStringLiteral("先後反転"));
    QAction* box = menu.addAction(QStringLiteral("駒箱へ"));
    const QAction* chosen = menu.exec(globalAt);
    if (chosen == turn) editor_.turnOver(square);
    if (chosen == side) editor_.changeSide(square);
    if (chosen == box) editor_.movePiece(EditorSpot::board(square), EditorSpot::box());
    selected_.reset();
    refresh();
}

}  // namespace nusari
