// The position editor's screen (局面編集): the board, both stands and the
// piece box drawn as the main board is, the starts, the side to move, and
// OK, which gives the position only when play can start from it.
#pragma once

#include <QDialog>
#include <optional>

#include "ui/position_editor.h"

class QRadioButton;

namespace nusari {

class EditorPicture;

class PositionEditorDialog : public QDialog {
  public:
    // Starts from `shown` with `toMove` to move (the main window's board).
    PositionEditorDialog(const Position& shown, Side toMove, QWidget* parent);

    // Shows the dialog; the position once the user confirms one that play
    // can start from, nullopt when he cancels.
    static std::optional<SetUpResult> edit(const Position& shown, Side toMove, QWidget* parent);

    const PositionEditor& editor() const { return editor_; }
    const std::optional<EditorSpot>& selected() const { return selected_; }
    const SetUpResult& result() const { return result_; }

    // OK: the position's check; its message, and the editor stays open,
    // when play cannot start from it.
    void accept() override;

    // What the picture reports.
    // A click on `spot`: selects a piece, puts the selected one there, or
    // turns the selected board piece to its next face.
    void clickSpot(const EditorSpot& spot);
    // A click beside every spot: nothing is selected any more.
    void clearSelection();
    // A piece dragged from `from` and dropped on `to`.
    void dropPiece(const EditorSpot& from, const EditorSpot& to);
    // The right button on `square`: the piece's menu at `globalAt`.
    void showPieceMenu(int32_t square, const QPoint& globalAt);

  private:
    void start(const PositionEditor& editor);
    // Redraws the picture and shows the side to move.
    void refresh();

    PositionEditor editor_;
    std::optional<EditorSpot> selected_;
    Position shown_{};
    Side shownToMove_ = Side::Lower;
    SetUpResult result_;
    EditorPicture* picture_ = nullptr;
    QRadioButton* sente_ = nullptr;
    QRadioButton* gote_ = nullptr;
};

}  // namespace nusari
