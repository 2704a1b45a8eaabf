// Qt's own dialog texts in Japanese, when Qt's catalogue is installed.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ui/window/japanese_dialogs.h"
#include "window_test_support.h"

namespace nusari {
namespace {

// Installs the catalogue, or skips the test on a machine without it.
class JapaneseDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFileInfo::exists(qtTranslationsFolder() + "/" + kQtJapaneseCatalogue + ".qm"))
            GTEST_SKIP() << "qt6-translations-l10n is not installed";
        ASSERT_TRUE(installJapaneseDialogs(*QCoreApplication::instance()));
    }
};

TEST_F(JapaneseDialogs, TheMessageBoxButtonsReadJapanese) {
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("t"), QStringLiteral("q"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")));
    EXPECT_TRUE(box.button(QMessageBox::Ok)->text().startsWith(QStringLiteral("OK")));
}

// The accept button's text of the window's file dialog of `kind`, read
// while the dialog is up; the dialog is then cancelled.
QString acceptText(MainWindow& w, FileDialog kind) {
    QString text;
    QTimer::singleShot(0, [&text] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        if (dialog->testOption(QFileDialog::DontUseNativeDialog)) {
            const auto* buttons = dialog->findChild<QDialogButtonBox*>();
            if (buttons != nullptr && !buttons->buttons().isEmpty())
                text = buttons->buttons().front()->text();
        }
        dialog->reject();
    });
    EXPECT_EQ(w.MainWindow::chooseFile(kind, ""), "");
    return text;
}

TEST_F(JapaneseDialogs, TheRecordDialogsAreQtsOwnAndJapanese) {
    test::TempFolder folder;
    MainWindow w(test::qpath(folder.path()));
    EXPECT_TRUE(acceptText(w, FileDialog::OpenRecord).startsWith(QStringLiteral("開く")));
    EXPECT_TRUE(acceptText(w, FileDialog::SaveRecord).startsWith(QStringLiteral("保存")));
}

}  // namespace
}  // namespace nusari
