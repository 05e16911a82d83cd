#include "core/UserSettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kSection = QStringLiteral("KORVADIN");
}

UserSettings::UserSettings(const QString& filePath) : m_path(filePath) {
    if (m_path.isEmpty())
        m_path = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                     .filePath(QStringLiteral("FP/FP.ini"));
}

QString UserSettings::get(const QString& key, const QString& defaultValue) const {
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(kSection);
    return settings.value(key, defaultValue).toString();
}

bool UserSettings::set(const QString& key, const QString& value) {
    // QSettings replaces the file in one step and keeps it when the write fails;
    // the failure is only known after the sync.
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(kSection);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}
