#include "ui/window/usi_engines_page.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/usi_registration.h"
#include "ui/window/usi_options_dialog.h"
#include "ui/window/page_widgets.h"

namespace nusari {

namespace {

QLineEdit* addEdit(QWidget* page, const char* label, const char* name, int y, int width) {
    auto* text = new QLabel(QString::fromUtf8(label), page);
    text->setGeometry(176, y, 52, 22);
    text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(232, y, width, 22);
    return edit;
}

}  // namespace

UsiEnginesPage::UsiEnginesPage(GameController*& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
    setObjectName(QStringLiteral("usi_tab"));
    usi_itiran = new QListWidget(this);
    usi_itiran->setObjectName(QStringLiteral("usi_itiran"));
    usi_itiran->setGeometry(8, 8, 160, 176);
    connect(usi_itiran, &QListWidget::currentRowChanged, this, [this] { showSelected(); });
    connect(usi_itiran, &QListWidget::itemDoubleClicked, this, [this] { editOptions(); });

    usi_namae = addEdit(this, "表示名", "usi_namae", 8, 148);
    usi_namae->setPlaceholderText(QStringLiteral("空欄：エンジンの名乗る名前"));
    usi_komando = addEdit(this, "コマンド", "usi_komando", 36, 120);
    usi_komando->setPlaceholderText(QStringLiteral("プログラムと引数"));
    usi_sansyou = addButton(this, "usi_sansyou", "…", "エンジンのプログラムを選ぶ", QRect(354, 36, 26, 22));
    connect(usi_sansyou, &QPushButton::clicked, this, &UsiEnginesPage::browse);

    usi_touroku = addButton(this, "usi_touroku", "登録", "エンジンを起動して確かめ、一覧に加える",
                            QRect(232, 66, 72, 26));
    connect(usi_touroku, &QPushButton::clicked, this, &UsiEnginesPage::registerEngine);
    usi_namae_henkou = addButton(this, "usi_namae_henkou", "名前変更", "選んだエンジンを表示名の名前にする",
                                 QRect(308, 66, 72, 26));
    connect(usi_namae_henkou, &QPushButton::clicked, this, &UsiEnginesPage::renameEngine);
    usi_opusyon = addButton(this, "usi_opusyon", "オプション…", "選んだエンジンのオプションを設定する",
                            QRect(232, 98, 148, 26));
    connect(usi_opusyon, &QPushButton::clicked, this, &UsiEnginesPage::editOptions);
    usi_sakuzyo = addButton(this, "usi_sakuzyo", "削除", "選んだエンジンを一覧から削除する",
                            QRect(232, 130, 72, 26));
    connect(usi_sakuzyo, &QPushButton::clicked, this, &UsiEnginesPage::removeEngine);
    usi_yame = addButton(this, "usi_yame", "Cancel", "設定画面を閉じる", QRect(290, 190, 80, 26));
    connect(usi_yame, &QPushButton::clicked, this, [this] { controller_->HidePages(); });
    setBusy(false);
}

void UsiEnginesPage::sync() {
    QStringList names;
    for (const UsiEngineEntry& entry : controller_->usiEngines) names << QString::fromStdString(entry.name);
    QStringList shown;
    for (int i = 0; i < usi_itiran->count(); ++i) shown << usi_itiran->item(i)->text();
    if (shown != names) {
        const std::string selected = selectedName();
        {
            const QSignalBlocker block(usi_itiran);
            usi_itiran->clear();
            usi_itiran->addItems(names);
        }
        select(selected);
    }
    setBusy(busy_);
}

std::string UsiEnginesPage::selectedName() const {
    const int row = usi_itiran->currentRow();
    const auto& entries = controller_->usiEngines;
    if (row < 0 || row >= static_cast<int>(entries.size())) return {};
    return entries[static_cast<size_t>(row)].name;
}

void UsiEnginesPage::select(const std::string& name) {
    const auto& entries = controller_->usiEngines;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].name == name) {
            usi_itiran->setCurrentRow(static_cast<int>(i));
            return;
        }
    }
    usi_itiran->setCurrentRow(-1);
    setBusy(busy_);
}

// A selected entry fills the edits, to be renamed or registered anew.
void UsiEnginesPage::showSelected() {
    const UsiEngineEntry* entry = FindUsiEngine(controller_->usiEngines, selectedName());
    if (entry != nullptr) {
        usi_namae->setText(QString::fromStdString(entry->name));
        usi_komando->setText(QString::fromStdString(entry->commandLine));
    }
    setBusy(busy_);
}

void UsiEnginesPage::setBusy(bool busy) {
    busy_ = busy;
    const bool selected = !busy && usi_itiran->currentRow() >= 0;
    usi_touroku->setEnabled(!busy);
    usi_sansyou->setEnabled(!busy);
    usi_namae_henkou->setEnabled(selected);
    usi_opusyon->setEnabled(selected);
    usi_sakuzyo->setEnabled(selected);
    setCursor(busy ? Qt::WaitCursor : Qt::ArrowCursor);
}

void UsiEnginesPage::registerEngine() {
    if (busy_) return;
    setBusy(true);
    const std::string name = usi_namae->text().toStdString();
    const bool added = RegisterUsiEngine(*controller_, name, usi_komando->text().toStdString());
    setBusy(false);
    if (added) select(controller_->usiEngines.back().name);
}

void UsiEnginesPage::renameEngine() {
    const std::string name = selectedName();
    if (busy_ || name.empty()) return;
    // The entry keeps its row under the new name.
    const int row = usi_itiran->currentRow();
    if (RenameUsiEngine(*controller_, name, usi_namae->text().toStdString())) {
        usi_itiran->setCurrentRow(row);
    }
}

void UsiEnginesPage::removeEngine() {
    const std::string name = selectedName();
    if (busy_ || name.empty()) return;
    std::string question = "USIエンジン「";
    question += name;
    question += "」の登録を削除しますか？";
    if (!controller_->ui.ask(question)) return;
    RemoveUsiEngine(*controller_, name);
    usi_namae->clear();
    usi_komando->clear();
}

void UsiEnginesPage::editOptions() {
    const std::string name = selectedName();
    if (busy_ || name.empty()) return;
    for (;;) {
        const UsiEngineEntry* entry = FindUsiEngine(controller_->usiEngines, name);
        if (entry == nullptr) return;
        UsiOptionsDialog dialog(this, *entry, [this, name](const std::vector<std::string>& values) {
            return SetUsiOptionValues(*controller_, name, values);
        });
        if (dialog.exec() != UsiOptionsDialog::kReread) return;
        setBusy(true);
        RereadUsiOptions(*controller_, name);
        setBusy(false);
    }
}

void UsiEnginesPage::browse() {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("USIエンジンの選択"));
    if (file.isEmpty()) return;
    usi_komando->setText(file.contains(QLatin1Char(' ')) ? QLatin1Char('"') + file + QLatin1Char('"') : file);
}

}  // namespace nusari
