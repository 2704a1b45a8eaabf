// Qt's own texts in Japanese: the buttons of the message boxes and the file
// dialogs. The program speaks Japanese whatever the user's locale.
#pragma once

#include <QString>

class QCoreApplication;

namespace nusari {

// The catalogue of Qt's own texts, as the Debian package
// qt6-translations-l10n ships it.
inline constexpr const char* kQtJapaneseCatalogue = "qtbase_ja";

// Makes Japanese the default locale and installs Qt's Japanese catalogue
// from Qt's translations folder; false when the catalogue is not there (the
// standard buttons then stay English).
bool installJapaneseDialogs(QCoreApplication& app);

// The folder the catalogue is read from.
QString qtTranslationsFolder();

}  // namespace nusari
