#include "ui/window/record_panes.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/window/game_details_dialog.h"

namespace nusari {

namespace {

QPushButton* smallButton(const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumWidth(24);
    b->setStyleSheet(QStringLiteral("padding: 2px 3px;"));
    return b;
}

}  // namespace

RecordPanes::RecordPanes(GameController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);

    branches_ = new QListWidget(this);
    branches_->setObjectName(QStringLiteral("bunki_list"));
    branches_->setFocusPolicy(Qt::NoFocus);
    branches_->setToolTip(QStringLiteral("分岐"));
    column->addWidget(branches_, 1);
    connect(branches_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        controller_.SelectBranch(branches_->row(item));
    });

    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    promote_ = smallButton(QStringLiteral("本譜"), QStringLiteral("この分岐を本譜にする"), this);
    up_ = smallButton(QStringLiteral("↑"), QStringLiteral("分岐を上へ"), this);
    down_ = smallButton(QStringLiteral("↓"), QStringLiteral("分岐を下へ"), this);
    delete_ = smallButton(QStringLiteral("削除"), QStringLiteral("この分岐以降を削除"), this);
    details_ = smallButton(QStringLiteral("棋譜情報"), QStringLiteral("対局者・棋戦・日時など"), this);
    // The arrows need no more than their own width; the words take the rest.
    up_->setFixedWidth(24);
    down_->setFixedWidth(24);
    for (QPushButton* b : {promote_, up_, down_, delete_, details_}) row->addWidget(b, b == details_ ? 2 : 1);
    column->addLayout(row);
    connect(promote_, &QPushButton::clicked, this, [this] { controller_.PromoteBranch(); });
    connect(up_, &QPushButton::clicked, this, [this] { controller_.MoveBranch(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { controller_.MoveBranch(+1); });
    connect(delete_, &QPushButton::clicked, this, [this] { controller_.DeleteBranch(); });
    connect(details_, &QPushButton::clicked, this, [this] { editDetails(); });

    tabs_ = new QTabWidget(this);
    tabs_->setDocumentMode(true);
    tabs_->setFocusPolicy(Qt::NoFocus);
    column->addWidget(tabs_, 3);
    comment_ = new QPlainTextEdit(tabs_);
    comment_->setObjectName(QStringLiteral("comment_box"));
    comment_->setPlaceholderText(QStringLiteral("コメント"));
    tabs_->addTab(comment_, QStringLiteral("コメント"));
    graph_ = new EvaluationGraph(tabs_);
    graph_->setSource([this](bool winRate) { return controller_.ShownEvaluation(winRate); });
    graph_->onPlyClicked = [this](int32_t ply) { controller_.ReplayTo(ply); };
    tabs_->addTab(graph_, QStringLiteral("グラフ"));
    // The graph is drawn only while it is shown.
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { refresh(); });
    connect(comment_, &QPlainTextEdit::textChanged, this, [this] {
        if (!refreshing_) controller_.EditComment(comment_->toPlainText().toStdString());
    });
}

void RecordPanes::refresh() {
    const bool editable =
        controller_.gameState == GameState::NoGame && !controller_.RecordAnalysing();
    const GameController::BranchView view = controller_.ShownBranches();
    {
        const QSignalBlocker block(branches_);
        branches_->clear();
        for (const std::string& line : view.lines) branches_->addItem(QString::fromStdString(line));
        if (view.currentRow >= 0) branches_->setCurrentRow(view.currentRow);
    }
    const bool branched = editable && !view.lines.empty();
    promote_->setEnabled(editable && controller_.fields.plyCount > 0);
    up_->setEnabled(branched && view.currentRow > 0);
    down_->setEnabled(branched && view.currentRow + 1 < static_cast<int>(view.lines.size()));
    delete_->setEnabled(editable && controller_.fields.plyCount > 0);
    details_->setEnabled(editable);

    if (tabs_->currentWidget() == graph_)
        graph_->refresh(controller_.ListedPlies(), controller_.fields.plyCount);

    const QString comment = QString::fromStdString(controller_.ShownComment());
    comment_->setReadOnly(!editable);
    if (comment_->toPlainText() != comment) {
        refreshing_ = true;
        comment_->setPlainText(comment);
        refreshing_ = false;
    }
}

void RecordPanes::editDetails() {
    GameController::GameDetails details = controller_.ShownDetails();
    if (GameDetailsDialog::edit(details, window())) controller_.EditDetails(details);
}

}  // namespace nusari
