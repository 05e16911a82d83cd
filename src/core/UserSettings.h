#pragma once

#include <QString>

// Per-user preferences: application "FP", section "KORVADIN", string values.
class UserSettings {
public:
    // Uses the given file; an empty path means the user's configuration folder.
    explicit UserSettings(const QString& filePath = QString());

    QString get(const QString& key, const QString& defaultValue = QString()) const;
    // False when the value could not be stored; the file is then unchanged.
    bool set(const QString& key, const QString& value);
    QString filePath() const { return m_path; }

private:
    QString m_path;
};
