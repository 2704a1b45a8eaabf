#include "ui/window/game_details_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace nusari {

namespace {

// The header keys every record program knows, shown even when empty.
constexpr std::array<const char*, 7> kUsualKeys = {"棋戦", "開始日時", "終了日時", "場所",
                                                   "持ち時間", "戦型", "備考"};

QTableWidgetItem* cell(const std::string& text) {
    return new QTableWidgetItem(QString::fromStdString(text));
}

}  // namespace

bool GameDetailsDialog::edit(GameController::GameDetails& details, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("棋譜情報"));
    auto* column = new QVBoxLayout(&dialog);
    auto* names = new QFormLayout;
    auto* first = new QLineEdit(QString::fromStdString(details.firstName), &dialog);
    auto* second = new QLineEdit(QString::fromStdString(details.secondName), &dialog);
    first->setObjectName(QStringLiteral("sente_name"));
    second->setObjectName(QStringLiteral("gote_name"));
    names->addRow(QStringLiteral("先手"), first);
    names->addRow(QStringLiteral("後手"), second);
    column->addLayout(names);

    // The usual keys first, then the record's others in their order; one
    // empty row for a key of the user's own.
    std::vector<RecordHeader> rows;
    for (const char* key : kUsualKeys) {
        const auto it = std::find_if(details.headers.begin(), details.headers.end(),
                                     [key](const RecordHeader& h) { return h.key == key; });
        rows.push_back(RecordHeader{key, it != details.headers.end() ? it->value : std::string()});
    }
    for (const RecordHeader& h : details.headers) {
        if (std::find(kUsualKeys.begin(), kUsualKeys.end(), h.key) == kUsualKeys.end()) rows.push_back(h);
    }
    rows.push_back(RecordHeader{});
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 2, &dialog);
    table->setObjectName(QStringLiteral("header_table"));
    table->setHorizontalHeaderLabels({QStringLiteral("項目"), QStringLiteral("内容")});
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        table->setItem(r, 0, cell(rows[static_cast<std::size_t>(r)].key));
        table->setItem(r, 1, cell(rows[static_cast<std::size_t>(r)].value));
    }
    column->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    column->addWidget(buttons);
    dialog.resize(440, 430);
    if (dialog.exec() != QDialog::Accepted) return false;

    details.firstName = first->text().trimmed().toStdString();
    details.secondName = second->text().trimmed().toStdString();
    details.headers.clear();
    for (int r = 0; r < table->rowCount(); ++r) {
        const QTableWidgetItem* key = table->item(r, 0);
        const QTableWidgetItem* value = table->item(r, 1);
        if (key == nullptr || value == nullptr) continue;
        // A header line is one line: "key：value".
        QString v = value->text().trimmed();
        v.replace(QLatin1Char('\n'), QLatin1Char(' '));
        // A colon in a key would end it early when read back.
        QString k = key->text().trimmed();
        k.remove(QChar(0xFF1A));
        k.remove(QLatin1Char(':'));
        if (!k.isEmpty() && !v.isEmpty()) details.headers.push_back({k.toStdString(), v.toStdString()});
    }
    return true;
}

}  // namespace nusari
