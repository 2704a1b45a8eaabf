// The window's size and place: the board, its panel, the move list and the
// record panes laid out for the size; the size and place kept across runs.
#include <QGuiApplication>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QListWidget>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>

#include "ui/window/main_window.h"
#include "ui/window/record_panes.h"
#include "ui/window/study_panel.h"

namespace nusari {

// The saved position, or the top left corner when no screen shows it; the
// saved size, no larger than the screen.
void MainWindow::restorePosition() {
    const QPoint at(controller_->windowLeft, controller_->windowTop);
    const QScreen* screen = QGuiApplication::screenAt(at + QPoint(20, 20));
    move(screen != nullptr ? at : QPoint(0, 0));
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    QSize size(controller_->windowWidth, controller_->windowHeight);
    if (screen != nullptr) size = size.boundedTo(screen->availableSize());
    resize(size.expandedTo(minimumSize()));
}

// The picture keeps its proportions and takes what the window's height and
// the move list's smallest width leave; the panel on it grows with it; the
// move list and the record panes take the rest of the width.
void MainWindow::layOut() {
    // 検討's panel takes the bottom of the window, the board what is above.
    const int studyHeight = study_ != nullptr && !study_->isHidden() ? kStudyPanelHeight : 0;
    const int boardHeight = height() - studyHeight;
    const double scale = std::max(1.0, std::min(double(width()) / (kPictureWidth + kMoveListWidth),
                                                 double(boardHeight - kToolBarHeight) / kPictureHeight));
    pictureScale_ = scale;
    const auto scaled = [scale](int x, int y, int w, int h) {
        return QRect(qRound(x * scale), kToolBarHeight + qRound(y * scale), qRound(w * scale),
                     qRound(h * scale));
    };
    const QRect picture = scaled(0, 0, kPictureWidth, kPictureHeight);
    toolBar_->setGeometry(0, 0, picture.width(), kToolBarHeight);
    picture_->setGeometry(picture);
    panel_->setGeometry(scaled(8, 264, 150, 225));
    // 棋譜解析's progress bar and stop button take the panel's foot.
    const bool progress = progress_ != nullptr && !progress_->isHidden();
    panelLabel_->setGeometry(QRect(qRound(8 * scale), qRound(8 * scale), qRound(137 * scale),
                                   qRound((progress ? 185 : 209) * scale)));
    if (progress) {
        progress_->setGeometry(QRect(qRound(8 * scale), qRound(198 * scale), qRound(90 * scale), qRound(18 * scale)));
        stopAnalysis_->setGeometry(
            QRect(qRound(102 * scale), qRound(196 * scale), qRound(43 * scale), qRound(22 * scale)));
    }
    // The texts beside the board grow with it.
    QFont font = this->font();
    font.setPixelSize(qRound(12 * scale));
    for (QWidget* text : {static_cast<QWidget*>(panelLabel_), static_cast<QWidget*>(moveList_),
                          static_cast<QWidget*>(panes_)}) {
        text->setFont(font);
    }
    // Buttons with a style sheet take no font from their parent.
    for (QPushButton* b : panes_->findChildren<QPushButton*>()) b->setFont(font);

    // The list over the alternatives of the shown ply and its comment.
    const int column = picture.width() + 4;
    const int columnWidth = width() - column - 4;
    const int listHeight = (boardHeight - 12) * 300 / (kToolBarHeight + kPictureHeight - 12);
    moveList_->setGeometry(column, 4, columnWidth, listHeight);
    panes_->setGeometry(column, 8 + listHeight, columnWidth, boardHeight - 12 - listHeight);
    if (studyHeight > 0) {
        study_->setGeometry(0, boardHeight, width(), studyHeight);
        study_->setFont(font);
    }
}

// Below a picture that the window's height outgrows, the cloth goes on.
void MainWindow::paintEvent(QPaintEvent* /*event*/) {
    const int bottom = study_ != nullptr && !study_->isHidden() ? study_->geometry().top() : height();
    const QRect below(0, picture_->geometry().bottom() + 1, picture_->width(),
                      bottom - picture_->geometry().bottom() - 1);
    if (below.height() > 0) QPainter(this).fillRect(below, QColor(0x3a, 0x24, 0x18));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
    if (started_) drawBoard();
}

}  // namespace nusari
