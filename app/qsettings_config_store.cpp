#include <QSettings>
#include <QString>
#include <QStringList>
#include <QByteArray>
#include <QFileInfo>
#include <QVariant>

#include "app/config_store.h"

namespace ravo {
namespace {

QString key(const std::string& section, const std::string& entry)
{
    return QString::fromStdString(section + "/" + entry);
}

// The text a stored value holds, or `def` when it holds none. An INI line
// with commas that was not written by us reads as a list: it is the text
// that was typed.
std::string textOf(const QVariant& v, const std::string& def)
{
    if (!v.isValid())
        return def;
    switch (v.typeId()) {
    case QMetaType::QByteArray: {
        QByteArray bytes = v.toByteArray();
        return std::string(bytes.constData(), size_t(bytes.size()));
    }
    case QMetaType::QString: return v.toString().toStdString();
    case QMetaType::QStringList: {
        QStringList parts = v.toStringList();
        return parts.isEmpty() ? def : parts.join(',').toStdString();
    }
    default: {
        QString text = v.toString();
        return text.isEmpty() ? def : text.toStdString();
    }
    }
}

// Why the store's file could not be written; QSettings only says that it
// could not.
std::string writeProblem(const QString& fileName)
{
    const QFileInfo file(fileName);
    if (file.isDir())
        return "it is a folder";
    if (file.exists() && !file.isWritable())
        return "the file is read-only";
    const QFileInfo folder(file.absolutePath());
    if (folder.exists() && !folder.isDir())
        return folder.absoluteFilePath().toStdString() + " is not a folder";
    if (folder.exists() && !folder.isWritable())
        return "its folder " + folder.absoluteFilePath().toStdString() + " is read-only";
    return "it could not be written";
}

class QSettingsConfigStore : public ConfigStore {
public:
    QSettingsConfigStore() : settings_(QSettings::NativeFormat, QSettings::UserScope, "Varnholm", "Ravo_Config") {}

    std::string readText(const std::string& section, const std::string& entry, const std::string& def) override
    {
        return textOf(settings_.value(key(section, entry)), def);
    }

    int readInt(const std::string& section, const std::string& entry, int def) override
    {
        QVariant v = settings_.value(key(section, entry));
        bool ok = false;
        int value = v.toInt(&ok);
        return v.isValid() && ok ? value : def;
    }

    // Texts are bytes in the system code page: UTF-8 is stored as readable
    // text, anything else as bytes, so that it comes back unchanged.
    void writeText(const std::string& section, const std::string& entry, const std::string& value) override
    {
        QByteArray bytes(value.data(), qsizetype(value.size()));
        QString text = QString::fromUtf8(bytes);
        if (text.toUtf8() == bytes)
            settings_.setValue(key(section, entry), text);
        else
            settings_.setValue(key(section, entry), bytes);
    }

    // Integers, never C++ bools: QSettings would write a bool as "true".
    void writeInt(const std::string& section, const std::string& entry, int value) override
    {
        settings_.setValue(key(section, entry), value);
    }

    bool contains(const std::string& section, const std::string& entry) override
    {
        return settings_.contains(key(section, entry));
    }

    bool flush(std::string& error) override
    {
        settings_.sync();
        if (settings_.status() == QSettings::NoError)
            return true;
        error = "Can not write the configuration store " + settings_.fileName().toStdString() + " (" +
                writeProblem(settings_.fileName()) + ")";
        return false;
    }

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
