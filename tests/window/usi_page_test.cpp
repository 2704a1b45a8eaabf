// The page of the registered USI engines and their options dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>

#include "ui/window/usi_engines_page.h"
#include "ui/window/usi_options_dialog.h"
#include "window_test_support.h"

namespace nusari {
namespace {

TEST(UsiPage, TheTabListsTheRegisteredEnginesWithinItsSize) {
    test::TempFolder folder;
    test::addDefaultEngine(folder.path());
    test::writeFile(folder.path() / "NSProject.ini",
                    "[Aik]\nHash=1009\n[UsiEngines]\nCount=1\nName1=Fake\nCommand1=fake_engine -q\n");
    test::TestWindow w(test::qpath(folder.path()));
    ASSERT_TRUE(w.startUp());
    SettingsPages& pages = w.pages();
    w.button(Control::Taikyoku)->click();
    ASSERT_EQ(pages.count(), 4);
    EXPECT_EQ(pages.tabText(3), QStringLiteral("　USIエンジン"));
    pages.setCurrentIndex(3);
    UsiEnginesPage* page = pages.usi_tab;
    ASSERT_EQ(page, pages.widget(3));
    ASSERT_EQ(page->usi_itiran->count(), 1);
    EXPECT_EQ(page->usi_itiran->item(0)->text(), QStringLiteral("Fake"));
    EXPECT_FALSE(page->usi_sakuzyo->isEnabled());
    page->usi_itiran->setCurrentRow(0);
    EXPECT_EQ(page->usi_komando->text(), QStringLiteral("fake_engine -q"));
    EXPECT_TRUE(page->usi_opusyon->isEnabled());
    EXPECT_EQ(pages.taisenn_com->itemText(pages.taisenn_com->count() - 1), QStringLiteral("[USI] Fake"));
    for (const QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(page->rect().contains(child->geometry())) << child->objectName().toStdString();
    }

    w.answers = {true};
    page->usi_sakuzyo->click();
    EXPECT_EQ(page->usi_itiran->count(), 0);
    EXPECT_TRUE(w.controller().usiEngines.empty());
}

TEST(UsiPage, EachOptionHasTheEditorOfItsType) {
    UsiEngineEntry entry{"E", "e", {}};
    for (const char* line : {"name Threads type spin default 1 min 1 max 8",
                             "name Big type spin default 5 min 0 max 9999999999999",
                             "name Ponder type check default false",
                             "name Style type combo default b var a var b",
                             "name Book type string default x.db", "name Clear type button"}) {
        UsiOption option;
        ASSERT_TRUE(parseUsiOption(line, option)) << line;
        entry.options.push_back(option);
    }
    entry.options[0].value = "3";
    std::vector<std::string> applied;
    UsiOptionsDialog dialog(nullptr, entry, [&applied](const std::vector<std::string>& values) {
        applied = values;
        return true;
    });
    QTableWidget* table = dialog.usi_opusyon_hyou;
    ASSERT_EQ(table->rowCount(), 6);
    auto* spin = qobject_cast<QSpinBox*>(table->cellWidget(0, 2));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->maximum(), 8);
    EXPECT_NE(qobject_cast<QLineEdit*>(table->cellWidget(1, 2)), nullptr);
    EXPECT_NE(qobject_cast<QCheckBox*>(table->cellWidget(2, 2)), nullptr);
    auto* combo = qobject_cast<QComboBox*>(table->cellWidget(3, 2));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), QStringLiteral("b"));
    EXPECT_EQ(dialog.values(), (std::vector<std::string>{"3", "5", "false", "b", "x.db", ""}));

    combo->setCurrentIndex(0);
    qobject_cast<QCheckBox*>(table->cellWidget(2, 2))->setChecked(true);
    dialog.accept();
    EXPECT_EQ(applied, (std::vector<std::string>{"3", "5", "true", "a", "x.db", ""}));
    dialog.restoreDefaults();
    EXPECT_EQ(dialog.values(), (std::vector<std::string>{"1", "5", "false", "b", "x.db", ""}));
}

}  // namespace
}  // namespace nusari
