// ぬさり将棋: the program. Its folder holds aik/, oto/, output/ and
// NSProject.ini.
#include <QApplication>

#include "remote/csa_link.h"
#include "remote/link_switch.h"
#include "remote/usi_link.h"
#include "ui/ui_texts.h"
#include "ui/window/japanese_dialogs.h"
#include "ui/window/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QString::fromUtf8(nusari::kProgramTitle));
    // Without Qt's catalogue the standard buttons stay English; nothing else changes.
    nusari::installJapaneseDialogs(app);
    nusari::MainWindow window(QCoreApplication::applicationDirPath());
    // The remote player's link: a serial port, a CSA game server or a
    // registered USI engine.
    nusari::CsaLink csaLink(window.controller());
    nusari::UsiLink usiLink(window.controller());
    nusari::LinkSwitch link(csaLink, usiLink);
    window.controller().link = &link;
    // Without an aik folder or hash arrays the program ends at once, and the
    // settings file is left as it was.
    if (!window.startUp()) return 1;
    window.show();
    return app.exec();
}
