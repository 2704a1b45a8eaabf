#include "ui/window/explanation_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace nusari {

void ShowExplanation(const MoveExplanation& e, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("naze_kono_te"));
    dialog.setWindowTitle(QStringLiteral("なぜこの手?"));
    dialog.resize(600, 640);
    auto* layout = new QVBoxLayout(&dialog);
    const QString other = QString::fromStdString(e.otherName);
    layout->addWidget(new QLabel(QStringLiteral("この読み筋: %1\n%2: %3")
                                     .arg(QString::fromStdString(e.lineText), other,
                                          QString::fromStdString(e.otherText)),
                                 &dialog));
    auto* table = new QTableWidget(static_cast<int>(e.rows.size()), 4, &dialog);
    table->setObjectName(QStringLiteral("naze_hyou"));
    table->setHorizontalHeaderLabels({QStringLiteral("評価の項目"), QStringLiteral("この読み筋"), other,
                                      QStringLiteral("差")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->verticalHeader()->setDefaultSectionSize(22);
    table->setMinimumHeight(24 + 22 * static_cast<int>(e.rows.size()));
    for (int r = 0; r < static_cast<int>(e.rows.size()); ++r) {
        const MoveExplanation::Row& row = e.rows[static_cast<size_t>(r)];
        const int diff = row.line - row.other;
        const QString cells[4] = {QString::fromStdString(row.term), QString::number(row.line),
                                  QString::number(row.other),
                                  (diff > 0 ? QStringLiteral("+") : QString()) + QString::number(diff)};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            if (c == 3 && diff != 0) item->setForeground(diff > 0 ? QColor(0x10, 0x60, 0x10) : QColor(0xb0, 0x10, 0x10));
            table->setItem(r, c, item);
        }
    }
    layout->addWidget(table);
    layout->addWidget(new QLabel(QStringLiteral("この読み筋の局面で働いた近傍ルール"), &dialog));
    auto* rules = new QPlainTextEdit(&dialog);
    rules->setObjectName(QStringLiteral("naze_ruuru"));
    rules->setReadOnly(true);
    QString text;
    for (const std::string& rule : e.rules) text += QString::fromStdString(rule) + QLatin1Char('\n');
    rules->setPlainText(text.isEmpty() ? QStringLiteral("(なし)") : text);
    layout->addWidget(rules, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

}  // namespace nusari
