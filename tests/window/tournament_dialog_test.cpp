// The 連続対局 dialog: opened from the board's menu, it starts a round robin
// of the checked engines and its table, game line and log follow it.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "ui/window/tournament_dialog.h"
#include "window_test_support.h"

namespace nusari {
namespace {

TEST(TournamentDialogTest, ARoundRobinFillsTheTable) {
    test::TempFolder folder;
    test::addDefaultEngine(folder.path());
    const std::string fake = std::string("bash \"") + NUSARI_FAKE_ENGINE + "\" ";
    test::writeFile(folder.path() / "NSProject.ini", "[Aik]\nHash=1009\n[UsiEngines]\nCount=2\nName1=Mover\nCommand1=" +
                                                         fake + "7g7f\nName2=Resigner\nCommand2=" + fake + "resign\n");
    test::TestWindow w(test::qpath(folder.path()));
    ASSERT_TRUE(w.startUp());
    QAction* open = w.findChild<QAction*>(QStringLiteral("tournament"));
    ASSERT_NE(open, nullptr);
    open->trigger();
    TournamentDialog* d = w.tournamentDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    auto* engines = d->findChild<QListWidget*>(QStringLiteral("renzoku_engines"));
    ASSERT_EQ(engines->count(), static_cast<int>(w.controller().page.engineNames.size()));
    for (int i = 0; i < engines->count(); ++i) {
        if (engines->item(i)->text().startsWith(QStringLiteral("[USI]"))) engines->item(i)->setCheckState(Qt::Checked);
    }
    d->findChild<QComboBox*>(QStringLiteral("renzoku_openings"))->setCurrentIndex(0);
    d->findChild<QLineEdit*>(QStringLiteral("renzoku_folder"))->setText(test::qpath(folder.path() / "games"));
    d->findChild<QPushButton*>(QStringLiteral("renzoku_start"))->click();
    auto* progress = d->findChild<QLabel*>(QStringLiteral("renzoku_progress"));
    for (int i = 0; i < 3000 && !progress->text().contains(QStringLiteral("終了")); ++i) QTest::qWait(10);
    EXPECT_EQ(progress->text(), QStringLiteral("4 / 4 局　終了"));
    auto* table = d->findChild<QTableWidget*>(QStringLiteral("renzoku_table"));
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("Mover"));
    EXPECT_EQ(table->item(0, 3)->text(), QStringLiteral("4"));
    auto* log = d->findChild<QListWidget*>(QStringLiteral("renzoku_log"));
    ASSERT_EQ(log->count(), 4);
    // A game of the log opens as the record.
    emit log->itemDoubleClicked(log->item(1));
    EXPECT_EQ(w.controller().ShownDetails().firstName, "Resigner");
    EXPECT_TRUE(d->findChild<QPushButton*>(QStringLiteral("renzoku_start"))->isEnabled());
    // The next tournament goes to a new folder.
    EXPECT_NE(d->findChild<QLineEdit*>(QStringLiteral("renzoku_folder"))->text(), test::qpath(folder.path() / "games"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "games" / "game-004.csa"));
}

}  // namespace
}  // namespace nusari
