// The settings file through QSettings in INI format, which keeps the
// sections and keys the program does not use.
#pragma once

#include <QSettings>
#include <QString>

#include "ui/settings.h"

namespace nusari {

class IniStore : public SettingsStore {
  public:
    explicit IniStore(const QString& path);
    std::optional<std::string> value(std::string_view section, std::string_view key) override;
    void setValue(std::string_view section, std::string_view key, const std::string& v) override;
    void flush() override;

  private:
    QSettings settings_;
};

}  // namespace nusari
