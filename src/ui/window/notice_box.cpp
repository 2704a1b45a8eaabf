#include "ui/window/notice_box.h"

#include <QMessageBox>

namespace nusari {

QString earlierNoticesLine(int count) {
    return QStringLiteral("（このほか %1 件のお知らせ）").arg(count);
}

void NoticeBox::show(const QString& text) {
    if (box_ != nullptr && box_->isVisible()) {
        ++earlier_;
        box_->setText(text + QStringLiteral("\n\n") + earlierNoticesLine(earlier_));
        box_->raise();
        return;
    }
    earlier_ = 0;
    box_ = new QMessageBox(QMessageBox::NoIcon, title_, text, QMessageBox::Ok, &parent_);
    box_->setAttribute(Qt::WA_DeleteOnClose);
    // show(), not open(): open() would make the box window-modal, and the
    // window (its close button included) would wait for it.
    box_->setWindowModality(Qt::NonModal);
    box_->show();
}

}  // namespace nusari
