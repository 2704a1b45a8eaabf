// ぬさり将棋: the program. Run from its build folder, that folder holds aik/,
// oto/, output/ and NSProject.ini; installed, see settings/program_folders.h.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <QUrl>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "remote/csa_link.h"
#include "remote/link_switch.h"
#include "remote/usi_link.h"
#include "settings/program_folders.h"
#include "ui/ui_texts.h"
#include "ui/window/artwork.h"
#include "ui/window/japanese_dialogs.h"
#include "ui/window/main_window.h"

namespace {

std::filesystem::path exeFolder(const char* argv0) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path();
    return std::filesystem::absolute(argv0, ec).parent_path();
}

void printHelp(const nusari::ProgramFolders& folders) {
    std::cout << "Usage: nusari [FILE]\n"
                 "ぬさり将棋 (Nusari Shogi): play shogi against the computer.\n"
                 "\n"
                 "  FILE       a game record (.csa, .kif, .kifu, .ki2, .ki2u) to open at start-up\n"
                 "  --help     show this help and exit\n"
                 "  --version  show the version and exit\n"
                 "\n"
                 "Settings file: "
              << folders.settingsFile.string() << "\nMatch log and reports: "
              << (folders.writeFolder / "output").string() << "\nEngines (.aik):";
    for (const std::filesystem::path& aik : folders.engineFolders) std::cout << ' ' << aik.string();
    std::cout << '\n';
}

// The record to open: a path, or a file URL as a file manager may hand it.
QString recordPath(const QString& argument) {
    if (argument.startsWith(QLatin1String("file:"))) return QUrl(argument).toLocalFile();
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(argument.toStdString(), ec);
    return QString::fromStdString(ec ? argument.toStdString() : path.string());
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version need no window, nor a display.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printHelp(nusari::FindProgramFolders(exeFolder(argv[0])));
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "nusari " << NUSARI_VERSION << " (" << nusari::kVersionLine << ")\n";
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QString::fromUtf8(nusari::kProgramTitle));
    // The menu entry nusari.desktop, and its icon for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("nusari"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(nusari::DrawProgramIcon(64))));
    QString record;
    bool optionsEnd = false;
    for (const QString& argument : app.arguments().mid(1)) {
        if (!optionsEnd && argument == QLatin1String("--")) {
            optionsEnd = true;
        } else if (!optionsEnd && argument.startsWith(QLatin1Char('-'))) {
            std::cerr << "nusari: unknown option " << argument.toStdString()
                      << " (see nusari --help)\n";
            return 2;
        } else if (record.isEmpty()) {
            record = recordPath(argument);
        }
    }

    // Without Qt's catalogue the standard buttons stay English; nothing else changes.
    nusari::installJapaneseDialogs(app);
    const nusari::ProgramFolders folders =
        nusari::FindProgramFolders(QCoreApplication::applicationDirPath().toStdString());
    nusari::CreateUserFolders(folders);
    nusari::MainWindow window(folders);
    // The remote player's link: a serial port, a CSA game server or a
    // registered USI engine. The links play through the controller's game.
    nusari::GameHost& host = window.controller();
    nusari::CsaLink csaLink(host);
    nusari::UsiLink usiLink(host);
    nusari::LinkSwitch link(csaLink, usiLink);
    window.controller().link = &link;
    // Without an aik folder or hash arrays the program ends at once, and the
    // settings file is left as it was.
    if (!window.startUp()) return 1;
    window.show();
    // The record given opens once the window is up, as with the open button.
    if (!record.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, record] {
            window.controller().OpenRecordFile(record.toStdString());
        });
    }
    return app.exec();
}
