// The main window's game actions: the tool-bar buttons and in-game menu
// entries of a running game, the replay buttons and keys, the record files,
// and the timer of a continuous match's pause.
#include <QDragEnterEvent>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QListWidget>
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
    buildEditorAction();
    buildAnalysisActions();

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
        {"taikyokutyuuPM_sengen", &GameController::OnDeclare},
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

// Text dragged from another program (not a file, whose URL is text too).
bool droppedText(const QMimeData* data) {
    return data != nullptr && data->hasText() && !data->hasUrls();
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (droppedRecord(data) || droppedText(data)) event->acceptProposedAction();
}

// A record file opens as with the open button; dropped text opens as a paste.
void MainWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    const std::optional<std::string> path = droppedRecord(data);
    if (!path && !droppedText(data)) return;
    event->acceptProposedAction();
    // Opened once the drop is over: a failed read shows a message box.
    if (path) {
        QTimer::singleShot(0, this, [this, p = *path] { controller_->OpenRecordFile(p); });
    } else {
        QTimer::singleShot(0, this, [this, t = data->text().toStdString()] { controller_->PasteRecordText(t); });
    }
}

void MainWindow::copyRecord(GameController::CopyFormat format) {
    const std::string text = controller_->CopiedText(format);
    if (!text.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void MainWindow::pasteRecord() {
    controller_->PasteRecordText(QGuiApplication::clipboard()->text().toStdString());
}

// Ctrl+C copies the record as KIF, Ctrl+V pastes; the move list's menu
// copies in any format.
void MainWindow::buildClipboardActions() {
    using Format = GameController::CopyFormat;
    auto* copy = new QAction(QStringLiteral("棋譜をコピー（KIF）"), this);
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, [this] { copyRecord(Format::Kif); });
    auto* paste = new QAction(QStringLiteral("棋譜・局面を貼り付け"), this);
    paste->setShortcut(QKeySequence::Paste);
    connect(paste, &QAction::triggered, this, [this] { pasteRecord(); });
    addAction(copy);
    addAction(paste);

    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("clipboard_menu"));
    menu->addAction(copy);
    const std::pair<const char*, Format> others[] = {
        {"棋譜をコピー（KI2）", Format::Ki2}, {"棋譜をコピー（CSA）", Format::Csa},
        {"局面をコピー（SFEN）", Format::Sfen}, {"局面をコピー（USI）", Format::Usi},
        {"局面をコピー（BOD）", Format::Bod}};
    for (const auto& [label, format] : others) {
        connect(menu->addAction(QString::fromUtf8(label)), &QAction::triggered, this,
                [this, f = format] { copyRecord(f); });
    }
    menu->addSeparator();
    menu->addAction(paste);
    moveList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(moveList_, &QListWidget::customContextMenuRequested, this, [this, menu](const QPoint& at) {
        // The right button selects no ply: the list marks the one shown again.
        refreshMoveList();
        menu->popup(moveList_->mapToGlobal(at));
    });
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && controller_->Previewing()) {
        controller_->EndPreview();
        return;
    }
    if (const std::optional<ReplayStep> step = replayStepOf(*event)) {
        controller_->OnReplayKey(*step);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace nusari
