#include "ui/window/ini_store.h"

#include <QFile>

namespace nusari {

// The path in the file system's encoding, as the program's folder came.
IniStore::IniStore(const QString& path) : IniFileStore(QFile::encodeName(path).toStdString()) {}

}  // namespace nusari
