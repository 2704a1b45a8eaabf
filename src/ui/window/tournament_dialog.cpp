#include "ui/window/tournament_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "game/clock_setting.h"

namespace nusari {

namespace {

// The openings list's rows.
enum OpeningsRow : int { kEvenOnly = 0, kShipped = 1, kOwnFile = 2 };

const char* const kColumns[] = {"順位", "エンジン", "対局", "勝", "敗", "分", "得点率", "Elo"};
constexpr int kColumnCount = 8;

QString q(const std::string& text) { return QString::fromStdString(text); }

// A row of seconds per move, to a tenth.
QDoubleSpinBox* addSeconds(QWidget* parent, QFormLayout* form, const char* name, const char* label, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setRange(0, 3600);
    box->setDecimals(1);
    box->setValue(value);
    box->setSuffix(QStringLiteral(" 秒"));
    form->addRow(QString::fromUtf8(label), box);
    return box;
}

}  // namespace

TournamentDialog::TournamentDialog(GameController& controller, QWidget* parent) : QDialog(parent), c_(controller) {
    setObjectName(QStringLiteral("renzoku_taikyoku"));
    setWindowTitle(QStringLiteral("連続対局"));
    setModal(false);
    auto* top = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("対局するエンジン (2つ以上)"), this));
    engines_ = new QListWidget(this);
    engines_->setObjectName(QStringLiteral("renzoku_engines"));
    engines_->setMinimumWidth(200);
    engines_->setMaximumHeight(150);
    left->addWidget(engines_);
    auto* form = new QFormLayout;
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("renzoku_kind"));
    kind_->addItems({QStringLiteral("総当たり"), QStringLiteral("ガントレット (最初のエンジン対他)")});
    form->addRow(QStringLiteral("方式"), kind_);
    games_ = new QSpinBox(this);
    games_->setObjectName(QStringLiteral("renzoku_games"));
    games_->setRange(1, 1000);
    games_->setValue(4);
    form->addRow(QStringLiteral("各組の対局数"), games_);
    mainTime_ = new QLineEdit(QStringLiteral("0:00"), this);
    mainTime_->setObjectName(QStringLiteral("renzoku_main_time"));
    form->addRow(QStringLiteral("持ち時間 (h:mm:ss)"), mainTime_);
    byoyomi_ = addSeconds(this, form, "renzoku_byoyomi", "秒読み", 1);
    increment_ = addSeconds(this, form, "renzoku_increment", "加算 (1手ごと)", 0);
    openings_ = new QComboBox(this);
    openings_->setObjectName(QStringLiteral("renzoku_openings"));
    openings_->addItems({QStringLiteral("平手の初期局面"), QStringLiteral("付属の開始局面"),
                         QStringLiteral("ファイルを選ぶ...")});
    openings_->setCurrentIndex(std::filesystem::exists(c_.ShippedOpenings()) ? kShipped : kEvenOnly);
    connect(openings_, &QComboBox::activated, this, [this](int row) { chooseOpenings(row); });
    form->addRow(QStringLiteral("開始局面"), openings_);
    swap_ = new QCheckBox(QStringLiteral("先後を入れ替えて同じ局面を2局ずつ"), this);
    swap_->setObjectName(QStringLiteral("renzoku_swap"));
    swap_->setChecked(true);
    form->addRow(swap_);
    auto* folderRow = new QHBoxLayout;
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("renzoku_folder"));
    folder_->setText(newFolder());
    auto* browse = new QPushButton(QStringLiteral("参照..."), this);
    connect(browse, &QPushButton::clicked, this, [this] { chooseFolder(); });
    folderRow->addWidget(folder_);
    folderRow->addWidget(browse);
    form->addRow(QStringLiteral("保存先"), folderRow);
    left->addLayout(form);
    auto* buttons = new QHBoxLayout;
    startButton_ = new QPushButton(QStringLiteral("開始"), this);
    startButton_->setObjectName(QStringLiteral("renzoku_start"));
    stopButton_ = new QPushButton(QStringLiteral("停止"), this);
    stopButton_->setObjectName(QStringLiteral("renzoku_stop"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    connect(startButton_, &QPushButton::clicked, this, [this] { start(); });
    connect(stopButton_, &QPushButton::clicked, this, [this] { c_.StopTournament(); });
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    buttons->addWidget(startButton_);
    buttons->addWidget(stopButton_);
    buttons->addWidget(close);
    left->addLayout(buttons);
    left->addStretch(1);
    top->addLayout(left);

    auto* right = new QVBoxLayout;
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("renzoku_progress"));
    right->addWidget(progress_);
    table_ = new QTableWidget(0, kColumnCount, this);
    table_->setObjectName(QStringLiteral("renzoku_table"));
    for (int i = 0; i < kColumnCount; ++i) table_->setHorizontalHeaderItem(i, new QTableWidgetItem(QString::fromUtf8(kColumns[i])));
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table_->setMinimumSize(460, 150);
    right->addWidget(table_);
    game_ = new QLabel(this);
    game_->setObjectName(QStringLiteral("renzoku_game"));
    right->addWidget(game_);
    for (QLabel*& line : lines_) {
        line = new QLabel(this);
        line->setWordWrap(true);
        line->setMinimumHeight(34);
        line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        right->addWidget(line);
    }
    lines_[0]->setObjectName(QStringLiteral("renzoku_sente_line"));
    lines_[1]->setObjectName(QStringLiteral("renzoku_gote_line"));
    log_ = new QListWidget(this);
    log_->setObjectName(QStringLiteral("renzoku_log"));
    log_->setToolTip(QStringLiteral("ダブルクリックでその局の棋譜を開く (対局していない間)"));
    log_->setMinimumHeight(120);
    connect(log_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { openGame(item->text()); });
    right->addWidget(log_);
    top->addLayout(right, 1);
    refreshEngines();
    refresh();
}

// A folder of its own under output/tournament, named by the time.
QString TournamentDialog::newFolder() const {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return q((c_.folders.writeFolder / "output" / "tournament").string()) + QStringLiteral("/") + stamp;
}

void TournamentDialog::refreshEngines() {
    // Keep what was checked, by name.
    QStringList checked;
    for (int i = 0; i < engines_->count(); ++i) {
        if (engines_->item(i)->checkState() == Qt::Checked) checked << engines_->item(i)->text();
    }
    engines_->clear();
    for (const std::string& name : c_.page.engineNames) {
        auto* item = new QListWidgetItem(q(name), engines_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(checked.contains(q(name)) ? Qt::Checked : Qt::Unchecked);
    }
}

void TournamentDialog::chooseOpenings(int row) {
    if (row != kOwnFile) return;
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("開始局面のファイル"), openingsFile_,
                                                      QStringLiteral("開始局面 (*.txt *.sfen);;すべて (*)"), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (file.isEmpty()) {
        if (openingsFile_.isEmpty()) openings_->setCurrentIndex(kEvenOnly);
        return;
    }
    openingsFile_ = file;
    openings_->setItemText(kOwnFile, QStringLiteral("ファイル: ") + QFileInfo(file).fileName());
}

void TournamentDialog::chooseFolder() {
    const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("保存先 (同じ連続対局の続きはそのフォルダ)"),
                                                          folder_->text(), QFileDialog::DontUseNativeDialog);
    if (!dir.isEmpty()) folder_->setText(dir);
}

std::optional<GameController::TournamentRequest> TournamentDialog::request() {
    GameController::TournamentRequest r;
    for (int i = 0; i < engines_->count() && static_cast<size_t>(i) < c_.page.enginePaths.size(); ++i) {
        if (engines_->item(i)->checkState() == Qt::Checked) r.enginePaths.push_back(c_.page.enginePaths[static_cast<size_t>(i)]);
    }
    r.kind = kind_->currentIndex() == 1 ? TournamentKind::Gauntlet : TournamentKind::RoundRobin;
    r.gamesPerPairing = games_->value();
    r.swapColours = swap_->isChecked();
    const std::optional<int64_t> mainMs = parseClockText(mainTime_->text().trimmed().toStdString());
    if (!mainMs) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("持ち時間は h:mm:ss で書いてください"));
        return std::nullopt;
    }
    r.time.timeMs = *mainMs;
    r.time.byoyomiMs = static_cast<int64_t>(byoyomi_->value() * 1000 + 0.5);
    r.time.incMs = static_cast<int64_t>(increment_->value() * 1000 + 0.5);
    if (r.time.byoyomiMs > 0 && r.time.incMs > 0) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("秒読みと加算はどちらか一方だけです"));
        return std::nullopt;
    }
    if (openings_->currentIndex() == kShipped) r.openingsPath = c_.ShippedOpenings().string();
    if (openings_->currentIndex() == kOwnFile) r.openingsPath = openingsFile_.toStdString();
    r.folder = folder_->text().trimmed().toStdString();
    return r;
}

void TournamentDialog::start() {
    if (const std::optional<GameController::TournamentRequest> r = request()) c_.StartTournament(*r);
    refresh();
}

void TournamentDialog::refresh() {
    const GameController::TournamentView v = c_.ShownTournament();
    const bool free = c_.gameState == GameState::NoGame && !c_.RecordAnalysing();
    startButton_->setEnabled(!v.running && free);
    stopButton_->setEnabled(v.running);
    for (QWidget* w : std::initializer_list<QWidget*>{engines_, kind_, games_, mainTime_, byoyomi_, increment_,
                                                       openings_, swap_, folder_}) {
        w->setEnabled(!v.running);
    }
    QString progress = QStringLiteral("%1 / %2 局").arg(v.played).arg(v.total);
    if (v.total == 0) progress.clear();
    if (v.running) progress += QStringLiteral("　対局中");
    else if (v.total > 0 && v.played < v.total) progress += QStringLiteral("　停止中 (開始で続きから)");
    else if (v.total > 0) progress += QStringLiteral("　終了");
    // A finished tournament's folder takes no other: the next one gets a new folder.
    if (!v.running && v.total > 0 && v.played == v.total && folder_->text().toStdString() == v.folder.string()) {
        folder_->setText(newFolder());
    }
    progress_->setText(progress);
    table_->setRowCount(static_cast<int>(v.rows.size()));
    for (size_t i = 0; i < v.rows.size(); ++i) {
        const StandingRow& row = v.rows[i];
        const QString cells[kColumnCount] = {QString::number(i + 1), q(row.name), QString::number(row.games),
                                             QString::number(row.wins), QString::number(row.losses),
                                             QString::number(row.draws), q(row.percent), q(row.elo)};
        for (int col = 0; col < kColumnCount; ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            if (col != 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(i), col, item);
        }
    }
    game_->setText(q(v.game));
    for (int i = 0; i < 2; ++i) lines_[i]->setText(q(v.lines[i]));
    // The log only grows while a tournament runs: new lines are appended.
    if (static_cast<int>(v.log.size()) < log_->count()) log_->clear();
    for (auto i = static_cast<size_t>(log_->count()); i < v.log.size(); ++i) log_->addItem(q(v.log[i]));
    if (v.running) log_->scrollToBottom();
}

// "第3局 ▲…": the record of game 3 opens in the window, once no tournament runs.
void TournamentDialog::openGame(const QString& line) {
    const GameController::TournamentView v = c_.ShownTournament();
    if (v.running || !line.startsWith(QStringLiteral("第"))) return;
    bool ok = false;
    const int number = line.mid(1, line.indexOf(QStringLiteral("局")) - 1).toInt(&ok);
    if (!ok) return;
    const std::filesystem::path path = tournamentGamePath(v.folder, number, v.total);
    if (std::filesystem::exists(path)) c_.OpenRecordFile(path.string());
}

}  // namespace nusari
