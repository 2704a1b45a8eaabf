// The evaluation graph (評価値グラフ) of the line shown: the scores of the
// game's engines and of an analysis at each ply, as scores (±2000) or as
// 先手's win rate, the ply shown marked; a click goes to a ply.
#pragma once

#include <QWidget>
#include <functional>

#include "ui/evaluation_lines.h"

class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;
class QRadioButton;

namespace nusari {

class EvaluationGraph : public QWidget {
  public:
    explicit EvaluationGraph(QWidget* parent);
    // Shows the lines of `plies` plies (from what `lines` gives for the
    // kind chosen) with `shownPly` marked.
    using LinesSource = std::function<EvaluationLines(bool winRate)>;
    void setSource(LinesSource source) { source_ = std::move(source); }
    void refresh(int32_t plies, int32_t shownPly);
    // Called with the ply clicked on.
    std::function<void(int32_t ply)> onPlyClicked;
    bool showsWinRate() const;
    // The points drawn, for tests: the game's, the analysis's.
    const EvaluationLines& lines() const { return lines_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    LinesSource source_;
    EvaluationLines lines_;
    int32_t plies_ = 0;
    int32_t shownPly_ = 0;
    QRadioButton* winRate_ = nullptr;
    QChartView* view_ = nullptr;
    QChart* chart_ = nullptr;
    QLineSeries* played_ = nullptr;
    QLineSeries* analysed_ = nullptr;
    QLineSeries* studied_ = nullptr;
    QLineSeries* marker_ = nullptr;
    QValueAxis* plyAxis_ = nullptr;
    QValueAxis* valueAxis_ = nullptr;
};

}  // namespace nusari
