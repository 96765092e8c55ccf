#include <QSettings>
#include <QString>
#include <QVariant>

#include "app/config_store.h"

namespace ravo {
namespace {

QString key(const std::string& section, const std::string& entry)
{
    return QString::fromStdString(section + "/" + entry);
}

class QSettingsConfigStore : public ConfigStore {
public:
    QSettingsConfigStore() : settings_(QSettings::NativeFormat, QSettings::UserScope, "Varnholm", "Ravo_Config") {}

    std::string readText(const std::string& section, const std::string& entry, const std::string& def) override
    {
        QVariant v = settings_.value(key(section, entry));
        if (!v.isValid() || !v.canConvert<QString>())
            return def;
        return v.toString().toStdString();
    }

    int readInt(const std::string& section, const std::string& entry, int def) override
    {
        QVariant v = settings_.value(key(section, entry));
        bool ok = false;
        int value = v.toInt(&ok);
        return v.isValid() && ok ? value : def;
    }

    void writeText(const std::string& section, const std::string& entry, const std::string& value) override
    {
        settings_.setValue(key(section, entry), QString::fromStdString(value));
    }

    // Integers, never C++ bools: QSettings would write a bool as "true".
    void writeInt(const std::string& section, const std::string& entry, int value) override
    {
        settings_.setValue(key(section, entry), value);
    }

    void flush() override { settings_.sync(); }

    std::string location() const override { return settings_.fileName().toStdString(); }

private:
    QSettings settings_;
};

}  // namespace

std::unique_ptr<ConfigStore> makeNativeConfigStore()
{
    return std::make_unique<QSettingsConfigStore>();
}

}  // namespace ravo
