#include "ui/window/record_analysis_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace nusari {

std::optional<RecordAnalysisRequest> AskRecordAnalysis(GameController& c, QWidget* parent) {
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
    // A folder's records instead of the one shown.
    auto* wholeFolder = new QCheckBox(QStringLiteral("フォルダの棋譜をすべて解析する"), &dialog);
    wholeFolder->setObjectName(QStringLiteral("kaiseki_folder"));
    auto* folderRow = new QHBoxLayout;
    auto* folder = new QLineEdit(&dialog);
    folder->setObjectName(QStringLiteral("kaiseki_folder_pasu"));
    auto* browse = new QPushButton(QStringLiteral("参照..."), &dialog);
    folderRow->addWidget(folder, 1);
    folderRow->addWidget(browse);
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, folder] {
        const QString chosen = QFileDialog::getExistingDirectory(&dialog, QStringLiteral("棋譜のフォルダ"), folder->text());
        if (!chosen.isEmpty()) folder->setText(chosen);
    });
    // A folder's records are analysed whole.
    const auto followFolder = [=](bool on) {
        folder->setEnabled(on);
        browse->setEnabled(on);
        from->setEnabled(!on);
        to->setEnabled(!on);
    };
    QObject::connect(wholeFolder, &QCheckBox::toggled, &dialog, followFolder);
    followFolder(false);
    wholeFolder->setChecked(plies == 0);
    wholeFolder->setEnabled(plies > 0);
    // The settings, kept for the next time and for the graph.
    const AnalysisPrefs prefs = c.analysisPrefs;
    auto* scale = new QSpinBox(&dialog);
    scale->setObjectName(QStringLiteral("syouritu_syakudo"));
    scale->setRange(50, 5000);
    scale->setValue(prefs.winRateScale);
    QSpinBox* thresholds[4];
    const double values[4] = {prefs.thresholds.slack, prefs.thresholds.dubious, prefs.thresholds.mistake,
                              prefs.thresholds.blunder};
    auto* labels = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        thresholds[i] = new QSpinBox(&dialog);
        thresholds[i]->setRange(1, 100);
        thresholds[i]->setValue(static_cast<int>(values[i]));
        thresholds[i]->setPrefix(QString::fromUtf8(MoveLabelText(static_cast<MoveLabel>(i + 1)).data(),
                                                   static_cast<int>(MoveLabelText(static_cast<MoveLabel>(i + 1)).size())) +
                                 QStringLiteral(" "));
        labels->addWidget(thresholds[i]);
    }
    form->addRow(QStringLiteral("エンジン"), engine);
    form->addRow(QStringLiteral("1局面の時間"), seconds);
    form->addRow(QStringLiteral("開始手数"), from);
    form->addRow(QStringLiteral("終了手数"), to);
    form->addRow(backwards);
    form->addRow(wholeFolder);
    form->addRow(QStringLiteral("フォルダ"), folderRow);
    form->addRow(QStringLiteral("勝率の尺度"), scale);
    form->addRow(QStringLiteral("勝率の低下 (%)"), labels);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || engine->currentIndex() < 0 ||
        static_cast<std::size_t>(engine->currentIndex()) >= c.page.enginePaths.size()) {
        return std::nullopt;
    }
    AnalysisPrefs chosen = prefs;
    chosen.winRateScale = scale->value();
    LabelThresholds t{double(thresholds[0]->value()), double(thresholds[1]->value()),
                      double(thresholds[2]->value()), double(thresholds[3]->value())};
    // Thresholds that do not rise stay as they were.
    if (t.slack < t.dubious && t.dubious < t.mistake && t.mistake < t.blunder) chosen.thresholds = t;
    c.SetAnalysisPrefs(chosen);
    RecordAnalysisRequest request;
    if (wholeFolder->isChecked()) {
        if (folder->text().isEmpty()) return std::nullopt;
        request.folder = folder->text().toStdString();
        request.moveTimeMs = seconds->value() * 1000;
        request.fromTheEnd = backwards->isChecked();
        request.enginePath = c.page.enginePaths[static_cast<std::size_t>(engine->currentIndex())];
        return request;
    }
    request.enginePath = c.page.enginePaths[static_cast<std::size_t>(engine->currentIndex())];
    request.moveTimeMs = seconds->value() * 1000;
    request.firstPly = std::min(from->value(), to->value());
    request.lastPly = std::max(from->value(), to->value());
    request.fromTheEnd = backwards->isChecked();
    return request;
}

}  // namespace nusari
