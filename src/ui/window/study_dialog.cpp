#include "ui/window/study_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace nusari {

std::vector<std::string> AskStudyEngines(const GameController& c, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("kentou_engine"));
    dialog.setWindowTitle(QStringLiteral("検討"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("検討するエンジン (複数可)"), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("kentou_engine_list"));
    const int chosen = std::max(c.page.engineRow, 0);
    for (size_t i = 0; i < c.page.engineNames.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(c.page.engineNames[i]), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(static_cast<int>(i) == chosen ? Qt::Checked : Qt::Unchecked);
    }
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    std::vector<std::string> paths;
    if (dialog.exec() != QDialog::Accepted) return paths;
    for (int i = 0; i < list->count() && static_cast<size_t>(i) < c.page.enginePaths.size(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked) paths.push_back(c.page.enginePaths[static_cast<size_t>(i)]);
    }
    return paths;
}

}  // namespace nusari
