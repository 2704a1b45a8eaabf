#include "ui/window/evaluation_graph.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QMouseEvent>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace nusari {

namespace {

QLineSeries* series(const QString& name, const QColor& colour, qreal width) {
    auto* s = new QLineSeries;
    s->setName(name);
    QPen pen(colour);
    pen.setWidthF(width);
    s->setPen(pen);
    return s;
}

}  // namespace

EvaluationGraph::EvaluationGraph(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("hyoukati_graph"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* kinds = new QHBoxLayout;
    auto* score = new QRadioButton(QStringLiteral("評価値"), this);
    winRate_ = new QRadioButton(QStringLiteral("勝率"), this);
    score->setChecked(true);
    for (QRadioButton* b : {score, winRate_}) {
        b->setFocusPolicy(Qt::NoFocus);
        kinds->addWidget(b);
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) refresh(plies_, shownPly_);
        });
    }
    kinds->addStretch();
    column->addLayout(kinds);

    chart_ = new QChart;
    // Small beside the list: no legend (the game's line is blue, the
    // analysis's red, 検討's green, as the tool tip says), thin margins,
    // small labels.
    chart_->legend()->hide();
    chart_->setMargins(QMargins(0, 0, 0, 0));
    chart_->layout()->setContentsMargins(0, 0, 0, 0);
    chart_->setBackgroundRoundness(0);
    played_ = series(QStringLiteral("対局"), QColor(0x30, 0x60, 0xc0), 1.5);
    analysed_ = series(QStringLiteral("解析"), QColor(0xd0, 0x40, 0x20), 1.5);
    studied_ = series(QStringLiteral("検討"), QColor(0x20, 0x90, 0x40), 1.5);
    marker_ = series(QString(), QColor(0x20, 0x20, 0x20, 140), 1);
    plyAxis_ = new QValueAxis;
    valueAxis_ = new QValueAxis;
    plyAxis_->setLabelFormat(QStringLiteral("%d"));
    plyAxis_->setTickType(QValueAxis::TicksDynamic);
    valueAxis_->setLabelFormat(QStringLiteral("%d"));
    QFont small = font();
    small.setPixelSize(10);
    for (QValueAxis* axis : {plyAxis_, valueAxis_}) axis->setLabelsFont(small);
    chart_->addAxis(plyAxis_, Qt::AlignBottom);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    for (QLineSeries* s : {played_, analysed_, studied_, marker_}) {
        chart_->addSeries(s);
        s->attachAxis(plyAxis_);
        s->attachAxis(valueAxis_);
    }
    view_ = new QChartView(chart_, this);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setToolTip(QStringLiteral("青：対局者の評価値　赤：解析の評価値　緑：検討の評価値"));
    view_->viewport()->installEventFilter(this);
    column->addWidget(view_, 1);
}

bool EvaluationGraph::showsWinRate() const {
    return winRate_->isChecked();
}

void EvaluationGraph::refresh(int32_t plies, int32_t shownPly) {
    plies_ = plies;
    shownPly_ = shownPly;
    const bool winRate = showsWinRate();
    lines_ = source_ ? source_(winRate) : EvaluationLines{};
    const auto fill = [](QLineSeries* s, const std::vector<GraphPoint>& points) {
        QList<QPointF> list;
        for (const GraphPoint& p : points) list.append(QPointF(p.ply, p.value));
        s->replace(list);
    };
    fill(played_, lines_.played);
    fill(analysed_, lines_.analysed);
    fill(studied_, lines_.studied);
    const double top = winRate ? 100 : kGraphScoreLimit;
    const double bottom = winRate ? 0 : -kGraphScoreLimit;
    marker_->replace(QList<QPointF>{{double(shownPly), bottom}, {double(shownPly), top}});
    // Ten plies at the least, so that a short record is not all width; a
    // gridline every 10, 20 or 50 plies.
    const int32_t width = std::max(plies, 10);
    plyAxis_->setRange(0, width);
    plyAxis_->setTickAnchor(0);
    plyAxis_->setTickInterval(width <= 60 ? 10 : width <= 150 ? 20 : 50);
    valueAxis_->setRange(bottom, top);
    // Every 1000 points (every 25 per cent); in a small graph only the
    // middle and the ends, so that the labels are not cut.
    valueAxis_->setTickCount(view_->height() >= 150 ? 5 : 3);
}

bool EvaluationGraph::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport() && event->type() == QEvent::MouseButtonPress && onPlyClicked) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF value = chart_->mapToValue(
            chart_->mapFromScene(view_->mapToScene(mouse->position().toPoint())));
        const int32_t ply = static_cast<int32_t>(std::lround(value.x()));
        if (ply >= 0 && ply <= plies_) onPlyClicked(ply);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace nusari
