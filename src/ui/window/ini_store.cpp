#include "ui/window/ini_store.h"

namespace nusari {

namespace {

QString keyPath(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) +
           QLatin1Char('/') + QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

IniStore::IniStore(const QString& path) : settings_(path, QSettings::IniFormat) {}

std::optional<std::string> IniStore::value(std::string_view section, std::string_view key) {
    const QVariant v = settings_.value(keyPath(section, key));
    if (!v.isValid()) return std::nullopt;
    // A value with commas reads as a list: join it back.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(',')).toStdString();
    return v.toString().toStdString();
}

void IniStore::setValue(std::string_view section, std::string_view key, const std::string& v) {
    settings_.setValue(keyPath(section, key), QString::fromStdString(v));
}

void IniStore::flush() {
    settings_.sync();
}

}  // namespace nusari
