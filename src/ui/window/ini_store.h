// The window's settings file: our own INI store at a path given as a QString.
#pragma once

#include <QString>

#include "settings/ini_file.h"

namespace nusari {

class IniStore : public IniFileStore {
  public:
    explicit IniStore(const QString& path);
};

}  // namespace nusari
