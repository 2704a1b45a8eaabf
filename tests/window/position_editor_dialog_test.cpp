// The position editor's screen driven by clicks on its picture, and the
// position it gives as the main window's record.
#include "ui/window/position_editor_dialog.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "ui/editor_scene.h"
#include "window_test_support.h"

namespace nusari {
namespace {

void clickSpot(QWidget* picture, const EditorSpot& spot) {
    const PicturePoint at = EditorSpotOrigin(spot).value();
    QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, QPoint(at.x + 24, at.y + 24));
}

TEST(PositionEditorDialog, ClicksSetUpThePositionTheWindowThenShows) {
    test::TempFolder folder;
    test::addDefaultEngine(folder.path());
    test::writeFile(folder.path() / "NSProject.ini", "[Aik]\nHash=1009\nMaxTime=200\n");
    test::TestWindow w(test::qpath(folder.path()));
    ASSERT_TRUE(w.startUp());

    bool driven = false;
    QTimer::singleShot(0, &w, [&] {
        auto* dialog = dynamic_cast<PositionEditorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("局面編集"));
        dialog->findChild<QPushButton*>(QStringLiteral("start_hands"))->click();
        auto* picture = dialog->findChild<QWidget*>(QStringLiteral("editor_picture"));
        // A king from the box to 5一, selected and clicked again to be
        // 後手's; a click beside the board lets it go; the other king to 5九.
        clickSpot(picture, EditorSpot::box(kKing));
        clickSpot(picture, EditorSpot::board(51));
        EXPECT_EQ(dialog->editor().pieceAt(51), kLowerKing);
        clickSpot(picture, EditorSpot::board(51));
        clickSpot(picture, EditorSpot::board(51));
        EXPECT_EQ(dialog->editor().pieceAt(51), kUpperKing);
        QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, QPoint(60, 400));
        EXPECT_FALSE(dialog->selected().has_value());
        clickSpot(picture, EditorSpot::box(kKing));
        clickSpot(picture, EditorSpot::board(59));
        // A pawn dragged from 後手's hand to 5三.
        const PicturePoint hand = EditorSpotOrigin(EditorSpot::hand(Side::Upper, kPawn)).value();
        const PicturePoint to = SquareOrigin(53);
        QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier,
                          QPoint(hand.x + 24, hand.y + 24));
        QMouseEvent move(QEvent::MouseMove, QPointF(to.x + 24, to.y + 24),
                         picture->mapToGlobal(QPointF(to.x + 24, to.y + 24)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &move);
        QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, QPoint(to.x + 24, to.y + 24));
        dialog->findChild<QRadioButton*>(QStringLiteral("side_gote"))->setChecked(true);
        driven = true;
        dialog->findChild<QPushButton*>(QStringLiteral("editor_ok"))->click();
    });
    w.button(Control::KyokumenHensyuu)->click();  // the tool bar's 局面編集
    ASSERT_TRUE(driven);

    const GameController& c = w.controller();
    EXPECT_EQ(c.tree.firstMover(), Side::Upper);
    const Position& start = c.tree.start();
    EXPECT_EQ(start[51], kUpperKing);
    EXPECT_EQ(start[59], kLowerKing);
    EXPECT_EQ(start[53], kUpperPawn);
    EXPECT_EQ(start[kUpperHandBase + kPawn], 8);
    EXPECT_EQ(start[kLowerHandBase + kRook], 1);
    EXPECT_TRUE(c.RecordChanged());
    EXPECT_EQ(c.fields.currentPosition, c.record->history[0]);
    EXPECT_EQ(c.fields.currentPosition[53], kUpperPawn);
}

}  // namespace
}  // namespace nusari
