#include "ui/window/record_analysis_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace nusari {

std::optional<RecordAnalysisRequest> AskRecordAnalysis(const GameController& c, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("kifu_kaiseki"));
    dialog.setWindowTitle(QStringLiteral("棋譜解析"));
    auto* form = new QFormLayout(&dialog);
    auto* engine = new QComboBox(&dialog);
    engine->setObjectName(QStringLiteral("kaiseki_engine"));
    for (const std::string& name : c.page.engineNames) engine->addItem(QString::fromStdString(name));
    engine->setCurrentIndex(std::max(c.page.engineRow, 0));
    auto* seconds = new QSpinBox(&dialog);
    seconds->setObjectName(QStringLiteral("kaiseki_byou"));
    seconds->setRange(1, 600);
    seconds->setValue(1);
    seconds->setSuffix(QStringLiteral(" 秒"));
    const int plies = c.ListedPlies();
    auto* from = new QSpinBox(&dialog);
    auto* to = new QSpinBox(&dialog);
    from->setRange(1, std::max(plies, 1));
    to->setRange(1, std::max(plies, 1));
    from->setValue(1);
    to->setValue(std::max(plies, 1));
    auto* backwards = new QCheckBox(QStringLiteral("終局から解析する"), &dialog);
    form->addRow(QStringLiteral("エンジン"), engine);
    form->addRow(QStringLiteral("1局面の時間"), seconds);
    form->addRow(QStringLiteral("開始手数"), from);
    form->addRow(QStringLiteral("終了手数"), to);
    form->addRow(backwards);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || engine->currentIndex() < 0 ||
        static_cast<std::size_t>(engine->currentIndex()) >= c.page.enginePaths.size()) {
        return std::nullopt;
    }
    RecordAnalysisRequest request;
    request.enginePath = c.page.enginePaths[static_cast<std::size_t>(engine->currentIndex())];
    request.moveTimeMs = seconds->value() * 1000;
    request.firstPly = std::min(from->value(), to->value());
    request.lastPly = std::max(from->value(), to->value());
    request.fromTheEnd = backwards->isChecked();
    return request;
}

}  // namespace nusari
