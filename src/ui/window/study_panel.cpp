#include "ui/window/study_panel.h"

#include "ui/window/explanation_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace nusari {

StudyPanel::StudyPanel(GameController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
    setObjectName(QStringLiteral("kentou"));
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    auto* bar = new QHBoxLayout;
    auto* heading = new QLabel(QStringLiteral("<b>検討</b>"), this);
    lines_ = new QSpinBox(this);
    lines_->setObjectName(QStringLiteral("kouho_suu"));
    lines_->setRange(1, kMaxStudyLines);
    lines_->setValue(controller_.analysisPrefs.studyLines);
    lines_->setPrefix(QStringLiteral("候補数 "));
    side_ = new QComboBox(this);
    side_->setObjectName(QStringLiteral("hyoukati_muki"));
    side_->addItems({QStringLiteral("評価値: 先手から"), QStringLiteral("評価値: 手番から")});
    side_->setCurrentIndex(controller_.analysisPrefs.scoreFromSente ? 0 : 1);
    end_ = new QPushButton(QStringLiteral("検討を終了"), this);
    end_->setObjectName(QStringLiteral("kentou_owari"));
    bar->addWidget(heading);
    bar->addWidget(lines_);
    bar->addWidget(side_);
    bar->addStretch();
    bar->addWidget(end_);
    layout->addLayout(bar);
    paneRow_ = new QWidget(this);
    auto* row = new QHBoxLayout(paneRow_);
    row->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(paneRow_, 1);
    connect(lines_, &QSpinBox::valueChanged, this, [this](int n) { controller_.SetStudyLineCount(n); });
    connect(side_, &QComboBox::currentIndexChanged, this,
            [this](int i) { controller_.SetStudyScoreFromSente(i == 0); });
    connect(end_, &QPushButton::clicked, this, [this] { controller_.StopStudy(); });
}

void StudyPanel::addPane() {
    const int index = static_cast<int>(panes_.size());
    Pane p;
    p.box = new QWidget(paneRow_);
    p.box->setObjectName(QStringLiteral("kentou_%1").arg(index));
    auto* layout = new QVBoxLayout(p.box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    p.title = new QLabel(p.box);
    p.status = new QLabel(p.box);
    p.table = new QTableWidget(0, 3, p.box);
    p.table->setHorizontalHeaderLabels({QStringLiteral("順位"), QStringLiteral("評価値"),
                                        QStringLiteral("読み筋")});
    p.table->verticalHeader()->hide();
    p.table->setSelectionBehavior(QAbstractItemView::SelectRows);
    p.table->setSelectionMode(QAbstractItemView::SingleSelection);
    p.table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    p.table->setFocusPolicy(Qt::NoFocus);
    p.table->horizontalHeader()->setStretchLastSection(true);
    p.table->verticalHeader()->setDefaultSectionSize(20);
    p.table->setColumnWidth(0, 40);
    p.table->setColumnWidth(1, 80);
    auto* buttons = new QHBoxLayout;
    p.branch = new QPushButton(QStringLiteral("分岐に追加"), p.box);
    p.comment = new QPushButton(QStringLiteral("コメントに追加"), p.box);
    p.why = new QPushButton(QStringLiteral("なぜこの手?"), p.box);
    p.branch->setObjectName(QStringLiteral("bunki_tuika"));
    p.comment->setObjectName(QStringLiteral("komento_tuika"));
    p.why->setObjectName(QStringLiteral("naze"));
    for (QPushButton* b : {p.branch, p.comment, p.why}) buttons->addWidget(b);
    buttons->addStretch();
    layout->addWidget(p.title);
    layout->addWidget(p.status);
    layout->addWidget(p.table, 1);
    layout->addLayout(buttons);
    paneRow_->layout()->addWidget(p.box);
    // A click shows the line on the board.
    connect(p.table, &QTableWidget::cellClicked, this,
            [this, index](int row, int) { controller_.PreviewStudyLine(index, row); });
    connect(p.branch, &QPushButton::clicked, this, [this, index] {
        controller_.InsertStudyLine(index, selectedRow(index), GameController::LineInsert::Branch);
    });
    connect(p.comment, &QPushButton::clicked, this, [this, index] {
        controller_.InsertStudyLine(index, selectedRow(index), GameController::LineInsert::Comment);
    });
    connect(p.why, &QPushButton::clicked, this, [this, index] { explain(index); });
    panes_.push_back(p);
}

int StudyPanel::selectedRow(int index) const {
    const QTableWidget* table = panes_[static_cast<size_t>(index)].table;
    return table->currentRow() >= 0 ? table->currentRow() : 0;
}

void StudyPanel::explain(int index) {
    const MoveExplanation e = controller_.ExplainStudyLine(index, selectedRow(index));
    if (!e.error.empty()) {
        controller_.ui.message(e.error);
        return;
    }
    ShowExplanation(e, window());
}

void StudyPanel::refresh() {
    const std::vector<StudyPaneView> views = controller_.ShownStudy();
    while (panes_.size() < views.size()) addPane();
    while (panes_.size() > views.size()) {
        delete panes_.back().box;
        panes_.pop_back();
    }
    const bool editable = controller_.gameState == GameState::NoGame && !controller_.RecordAnalysing();
    for (size_t i = 0; i < views.size(); ++i) {
        const StudyPaneView& v = views[i];
        Pane& p = panes_[i];
        p.title->setText(QStringLiteral("<b>%1</b>").arg(QString::fromStdString(v.title).toHtmlEscaped()));
        p.status->setText(QString::fromStdString(v.error.empty() ? v.status : v.error));
        p.status->setStyleSheet(v.error.empty() ? QString() : QStringLiteral("color: #c01010"));
        p.table->setRowCount(static_cast<int>(v.rows.size()));
        for (int r = 0; r < static_cast<int>(v.rows.size()); ++r) {
            const StudyPaneView::Row& row = v.rows[static_cast<size_t>(r)];
            const QString cells[3] = {QString::fromStdString(row.rank), QString::fromStdString(row.score),
                                      QString::fromStdString(row.line)};
            for (int c = 0; c < 3; ++c) {
                QTableWidgetItem* item = p.table->item(r, c);
                if (item == nullptr) {
                    item = new QTableWidgetItem;
                    p.table->setItem(r, c, item);
                }
                if (item->text() != cells[c]) item->setText(cells[c]);
                item->setTextAlignment(c == 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            }
        }
        const bool hasLines = !v.rows.empty();
        p.branch->setEnabled(editable && hasLines);
        p.comment->setEnabled(editable && hasLines);
        p.why->setVisible(v.aik);
        p.why->setEnabled(hasLines);
    }
}

}  // namespace nusari
