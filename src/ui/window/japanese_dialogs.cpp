#include "ui/window/japanese_dialogs.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace nusari {

QString qtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool installJapaneseDialogs(QCoreApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (!translator->load(QString::fromLatin1(kQtJapaneseCatalogue), qtTranslationsFolder())) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace nusari
