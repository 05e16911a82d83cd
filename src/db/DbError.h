#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// A database failure with the engine's error number and its description, as the
// program reports it ("Errore " + number + description).
class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number),
          m_description(description) {}

    int number() const { return m_number; }
    QString description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

} // namespace db
