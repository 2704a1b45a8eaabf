// The one box through which the window tells things that must not stop the
// game: a server's verdict, a refused line, an engine gone. It never blocks
// the window (nor closing it), and a burst of notices fills one box with the
// newest text and a count of the others instead of stacking a box each.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <utility>

namespace nusari {

class NoticeBox {
  public:
    NoticeBox(QWidget& parent, QString title) : parent_(parent), title_(std::move(title)) {}

    void show(const QString& text);
    // The box while it is open, else null.
    QMessageBox* box() const { return box_; }

  private:
    QWidget& parent_;
    QString title_;
    QPointer<QMessageBox> box_;
    // Notices shown in the open box before its current text.
    int earlier_ = 0;
};

// The line under the newest notice that counts the earlier ones.
QString earlierNoticesLine(int count);

}  // namespace nusari
