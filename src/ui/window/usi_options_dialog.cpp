#include "ui/window/usi_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <memory>

namespace nusari {

namespace {

QString qtext(const std::string& text) { return QString::fromStdString(text); }

// The type column: the type, and a spin's bounds.
QString typeText(const UsiOption& option) {
    QString text = qtext(option.type);
    if (option.type == "spin") {
        text += QStringLiteral(" (%1～%2)").arg(option.min).arg(option.max);
    }
    return text;
}

// A line's text; the text it was given when the user left it as it was, so
// that bytes a QString cannot hold survive.
std::string lineText(const QLineEdit* line, const std::string& given) {
    return line->text() == qtext(given) ? given : line->text().toStdString();
}

}  // namespace

UsiOptionsDialog::UsiOptionsDialog(QWidget* parent, const UsiEngineEntry& entry, Apply apply)
    : QDialog(parent), options_(entry.options), apply_(std::move(apply)) {
    setObjectName(QStringLiteral("usi_opusyon_gamen"));
    QString title = QStringLiteral("USIエンジンのオプション：");
    title += qtext(entry.name);
    setWindowTitle(title);
    resize(560, 420);

    usi_opusyon_hyou = new QTableWidget(static_cast<int>(options_.size()), 3, this);
    usi_opusyon_hyou->setObjectName(QStringLiteral("usi_opusyon_hyou"));
    usi_opusyon_hyou->setHorizontalHeaderLabels(
        {QStringLiteral("名前"), QStringLiteral("種類"), QStringLiteral("値")});
    usi_opusyon_hyou->verticalHeader()->hide();
    usi_opusyon_hyou->setSelectionMode(QAbstractItemView::NoSelection);
    usi_opusyon_hyou->setEditTriggers(QAbstractItemView::NoEditTriggers);
    usi_opusyon_hyou->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    for (size_t i = 0; i < options_.size(); ++i) {
        const int row = static_cast<int>(i);
        usi_opusyon_hyou->setItem(row, 0, new QTableWidgetItem(qtext(options_[i].name)));
        usi_opusyon_hyou->setItem(row, 1, new QTableWidgetItem(typeText(options_[i])));
        editors_.push_back(addEditor(row, options_[i]));
    }
    usi_opusyon_hyou->resizeColumnsToContents();
    usi_opusyon_hyou->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                             QDialogButtonBox::RestoreDefaults,
                                         this);
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("既定値に戻す"));
    QPushButton* reread = buttons->addButton(QStringLiteral("再読込"), QDialogButtonBox::ActionRole);
    reread->setObjectName(QStringLiteral("usi_saiyomikomi"));
    reread->setToolTip(QStringLiteral("エンジンを起動してオプションを読み直す"));
    connect(buttons, &QDialogButtonBox::accepted, this, &UsiOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &UsiOptionsDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &UsiOptionsDialog::restoreDefaults);
    connect(reread, &QPushButton::clicked, this, [this] { done(kReread); });

    auto* layout = new QVBoxLayout(this);
    if (options_.empty()) {
        layout->addWidget(new QLabel(QStringLiteral("このエンジンはオプションを持ちません"), this));
    }
    layout->addWidget(usi_opusyon_hyou);
    layout->addWidget(buttons);
}

// The editor of the value column for the option's type.
UsiOptionsDialog::Editor UsiOptionsDialog::addEditor(int row, const UsiOption& option) {
    Editor editor;
    QWidget* widget = nullptr;
    if (option.type == "spin" && option.min >= INT_MIN && option.max <= INT_MAX) {
        auto* spin = new QSpinBox;
        spin->setRange(static_cast<int>(option.min), static_cast<int>(option.max));
        editor.get = [spin] { return std::to_string(spin->value()); };
        editor.set = [spin](const std::string& v) { spin->setValue(qtext(v).toInt()); };
        widget = spin;
    } else if (option.type == "check") {
        auto* check = new QCheckBox;
        editor.get = [check] { return std::string(check->isChecked() ? "true" : "false"); };
        editor.set = [check](const std::string& v) { check->setChecked(v == "true"); };
        widget = check;
    } else if (option.type == "combo") {
        auto* combo = new QComboBox;
        for (const std::string& choice : option.choices) combo->addItem(qtext(choice));
        editor.get = [combo, option] {
            const int i = combo->currentIndex();
            return i < 0 ? option.value : option.choices[static_cast<size_t>(i)];
        };
        editor.set = [combo, option](const std::string& v) {
            const auto at = std::find(option.choices.begin(), option.choices.end(), v);
            if (at != option.choices.end()) combo->setCurrentIndex(static_cast<int>(at - option.choices.begin()));
        };
        widget = combo;
    } else if (option.type == "button") {
        auto* label = new QLabel(QStringLiteral("（ボタン：値なし）"));
        label->setEnabled(false);
        editor.get = [] { return std::string(); };
        editor.set = [](const std::string&) {};
        widget = label;
    } else {
        // A text, a file name, or a spin whose bounds exceed a spin box.
        auto* line = new QLineEdit;
        if (option.type == "spin") {
            line->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[-+]?[0-9]{1,19}")), line));
            QString hint = QStringLiteral("%1～%2").arg(option.min).arg(option.max);
            line->setToolTip(hint);
        }
        auto given = std::make_shared<std::string>(option.value);
        editor.get = [line, given] { return lineText(line, *given); };
        editor.set = [line, given](const std::string& v) {
            *given = v;
            line->setText(qtext(v));
        };
        widget = line;
    }
    editor.set(option.value);
    usi_opusyon_hyou->setCellWidget(row, 2, widget);
    return editor;
}

std::vector<std::string> UsiOptionsDialog::values() const {
    std::vector<std::string> values;
    for (const Editor& editor : editors_) values.push_back(editor.get());
    return values;
}

void UsiOptionsDialog::restoreDefaults() {
    for (size_t i = 0; i < editors_.size(); ++i) editors_[i].set(options_[i].defaultValue);
}

void UsiOptionsDialog::accept() {
    if (apply_ && !apply_(values())) return;
    QDialog::accept();
}

}  // namespace nusari
