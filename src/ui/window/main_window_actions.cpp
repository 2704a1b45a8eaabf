// The main window's game actions: the tool-bar buttons and in-game menu
// entries of a running game, the replay buttons and keys, the record files,
// and the timer of a continuous match's pause.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <optional>

#include "records/record_source.h"
#include "ui/window/main_window.h"

namespace nusari {

namespace {

struct KeyStep {
    int key;
    bool keypadOnly;  // a digit of the numeric keypad, not of the digit row
    ReplayStep step;
};

constexpr KeyStep kKeySteps[] = {
    {Qt::Key_Up, false, ReplayStep::ToStart},    {Qt::Key_8, true, ReplayStep::ToStart},
    {Qt::Key_Left, false, ReplayStep::Back},     {Qt::Key_4, true, ReplayStep::Back},
    {Qt::Key_Right, false, ReplayStep::Forward}, {Qt::Key_6, true, ReplayStep::Forward},
    {Qt::Key_Down, false, ReplayStep::ToEnd},    {Qt::Key_2, true, ReplayStep::ToEnd},
};

// The replay step of a cursor key or of a digit of the numeric keypad.
std::optional<ReplayStep> replayStepOf(const QKeyEvent& key) {
    const bool keypad = (key.modifiers() & Qt::KeypadModifier) != 0;
    for (const KeyStep& k : kKeySteps) {
        if (key.key() == k.key && (keypad || !k.keypadOnly)) return k.step;
    }
    return std::nullopt;
}

}  // namespace

void MainWindow::connectGameActions() {
    // Speed buttons never take the focus, so the cursor keys reach the window.
    for (QToolButton* b : buttons_) b->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);

    GameController& c = *controller_;
    const std::pair<Control, void (GameController::*)()> actions[] = {
        {Control::FairuHiraku, &GameController::OnOpenRecord},
        {Control::FairuHozon, &GameController::OnSaveRecord},
        {Control::Matta, &GameController::OnMatta},
        {Control::Tyuudan, &GameController::OnTyuudan},
        {Control::Touryou, &GameController::OnTouryou},
    };
    for (const auto& [control, handler] : actions)
        connect(button(control), &QToolButton::clicked, this, [&c, handler] { (c.*handler)(); });
    const std::pair<Control, ReplayStep> steps[] = {
        {Control::ModoruMax, ReplayStep::ToStart},
        {Control::Modoru1, ReplayStep::Back},
        {Control::Susumu1, ReplayStep::Forward},
        {Control::SusumuMax, ReplayStep::ToEnd},
    };
    for (const auto& [control, step] : steps)
        connect(button(control), &QToolButton::clicked, this,
                [&c, step] { c.OnReplayButton(step); });

    const std::pair<const char*, void (GameController::*)()> entries[] = {
        {"taikyokutyuuPM_matta", &GameController::OnMatta},
        {"taikyokutyuuPM_tyuudan", &GameController::OnTyuudan},
        {"taikyokutyuuPM_touryou", &GameController::OnTouryou},
    };
    for (QAction* action : gameMenu_->actions()) {
        for (const auto& [name, handler] : entries) {
            if (action->objectName() == QLatin1String(name))
                connect(action, &QAction::triggered, this, [&c, handler] { (c.*handler)(); });
        }
    }

    c.pause = [this](int32_t ms, std::function<void()> then) {
        QTimer::singleShot(ms, this, std::move(then));
    };
}

namespace {

// The one local record file of a drop, if that is what it holds.
std::optional<std::string> droppedRecord(const QMimeData* data) {
    if (data == nullptr || data->urls().size() != 1 || !data->urls().front().isLocalFile()) {
        return std::nullopt;
    }
    const std::string path = data->urls().front().toLocalFile().toStdString();
    if (recordFormatOf(path) == RecordFormat::Unknown) return std::nullopt;
    return path;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedRecord(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::optional<std::string> path = droppedRecord(event->mimeData());
    if (!path) return;
    event->acceptProposedAction();
    // Opened once the drop is over: a failed read shows a message box.
    QTimer::singleShot(0, this, [this, p = *path] { controller_->OpenRecordFile(p); });
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<ReplayStep> step = replayStepOf(*event)) {
        controller_->OnReplayKey(*step);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace nusari
