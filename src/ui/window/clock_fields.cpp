#include "ui/window/clock_fields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

#include "ui/window/page_widgets.h"

namespace nusari {

namespace {

constexpr int kModeByoyomi = 0;
constexpr int kModeIncrement = 1;

}  // namespace

ClockFields::ClockFields(QWidget* parent, GameController*& controller)
    : QWidget(parent), controller_(controller) {
    addLabel(this, "持ち時間", QRect(0, 0, 84, 22), Qt::AlignRight);
    taikyoku_jikan = new QComboBox(this);
    taikyoku_jikan->setObjectName(QStringLiteral("taikyoku_jikan"));
    taikyoku_jikan->setGeometry(92, 0, 200, 22);
    for (int row = 0; row < kClockPresetCount; ++row) taikyoku_jikan->addItem(QString());
    connect(taikyoku_jikan, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0) controller_->SelectClockPreset(row);
        sync();
    });
    addSide(0, 28);
    addSide(1, 56);
}

void ClockFields::addSide(int side, int y) {
    addLabel(this, side == 0 ? "先手" : "後手", QRect(0, y, 84, 22), Qt::AlignRight);
    SideRow& row = rows_[side];
    row.main = new QLineEdit(this);
    row.main->setObjectName(side == 0 ? QStringLiteral("jikan_sente") : QStringLiteral("jikan_gote"));
    row.main->setToolTip(QStringLiteral("持ち時間 (時:分:秒)"));
    row.main->setGeometry(92, y, 70, 22);
    row.mode = new QComboBox(this);
    row.mode->addItems({QStringLiteral("秒読み"), QStringLiteral("加算")});
    row.mode->setGeometry(166, y, 72, 22);
    row.seconds = new QSpinBox(this);
    row.seconds->setRange(0, 3600);
    row.seconds->setSuffix(QStringLiteral(" 秒"));
    row.seconds->setGeometry(242, y, 70, 22);
    connect(row.main, &QLineEdit::editingFinished, this, [this, side] { sideEdited(side); });
    connect(row.mode, &QComboBox::currentIndexChanged, this, [this, side] { sideEdited(side); });
    connect(row.seconds, &QSpinBox::valueChanged, this, [this, side] { sideEdited(side); });
}

void ClockFields::sideEdited(int side) {
    const SideRow& row = rows_[side];
    TimeControl s = controller_->page.clocks[side];
    if (const std::optional<int64_t> main = parseClockText(row.main->text().toStdString())) s.timeMs = *main;
    const int64_t ms = int64_t{row.seconds->value()} * 1000;
    s.byoyomiMs = row.mode->currentIndex() == kModeByoyomi ? ms : 0;
    s.incMs = row.mode->currentIndex() == kModeIncrement ? ms : 0;
    if (!(s == controller_->page.clocks[side])) controller_->SetClock(side, s);
    sync();
}

void ClockFields::sync() {
    const NewGamePage& page = controller_->page;
    {
        const QSignalBlocker block(taikyoku_jikan);
        for (int row = 0; row < kClockPresetCount; ++row) {
            taikyoku_jikan->setItemText(
                row, QString::fromStdString(clockPresetName(row, controller_->engine->timeLimitMs)));
        }
        taikyoku_jikan->setCurrentIndex(page.clockRow);
    }
    // The computer's limit per move has no clocks to set.
    const bool clocks = page.clockRow != kClockPerMove;
    for (int side = 0; side < 2; ++side) {
        const SideRow& row = rows_[side];
        const TimeControl& s = page.clocks[side];
        const QSignalBlocker b1(row.main), b2(row.mode), b3(row.seconds);
        row.main->setText(QString::fromStdString(clockText(s.timeMs)));
        row.mode->setCurrentIndex(s.incMs > 0 ? kModeIncrement : kModeByoyomi);
        row.seconds->setValue(static_cast<int>((s.incMs > 0 ? s.incMs : s.byoyomiMs) / 1000));
        for (QWidget* w : {static_cast<QWidget*>(row.main), static_cast<QWidget*>(row.mode),
                           static_cast<QWidget*>(row.seconds)}) {
            w->setEnabled(clocks);
        }
    }
}

}  // namespace nusari
