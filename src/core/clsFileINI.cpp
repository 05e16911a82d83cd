#include "core/clsFileINI.h"

#include "core/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool isSectionLine(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const int close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return false;
    if (name)
        *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool isKeyLine(const QString& line, const QString& key, QString* value) {
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

} // namespace

clsFileINI::clsFileINI(const QString& programFolder) : m_programFolder(programFolder) {}

void clsFileINI::setNomeFile(const QString& nome) {
    QString value = nome;
    if (!value.contains(QLatin1Char('.')))
        value += QStringLiteral(".ini");
    if (!value.contains(QLatin1Char('/')) && !value.contains(QDir::separator()))
        value = QDir(m_programFolder).filePath(value);
    m_nomeFile = value;
}

QString clsFileINI::Leggi(const QString& chiave, const QString& predefinito) const {
    bool ok = false;
    const QStringList lines = cp1252::readLines(m_nomeFile, &ok);
    QString result = predefinito;
    if (ok) {
        bool inSection = false;
        for (const QString& line : lines) {
            QString name;
            if (isSectionLine(line, &name)) {
                inSection = name.compare(m_sezione, Qt::CaseInsensitive) == 0;
                continue;
            }
            QString value;
            if (inSection && isKeyLine(line, chiave, &value)) {
                result = value;
                break;
            }
        }
    }
    return result.left(MaxValueLength);
}

int clsFileINI::Scrivi(const QString& chiave, const QString& valore) {
    bool ok = false;
    QStringList lines = cp1252::readLines(m_nomeFile, &ok);
    const QString entry = chiave + QLatin1Char('=') + valore;

    int sectionStart = -1; // line of the section header
    int insertAt = -1;     // after the last non-empty line of the section
    bool written = false;
    for (int i = 0; i < lines.size() && !written; ++i) {
        QString name;
        if (isSectionLine(lines.at(i), &name)) {
            if (sectionStart >= 0)
                break; // next section: the key is not in ours
            if (name.compare(m_sezione, Qt::CaseInsensitive) == 0) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (isKeyLine(lines.at(i), chiave, nullptr)) {
            lines[i] = entry;
            written = true;
        } else if (!lines.at(i).trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!written) {
        if (sectionStart >= 0) {
            lines.insert(insertAt, entry);
        } else {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines << QString();
            lines << QLatin1Char('[') + m_sezione + QLatin1Char(']') << entry;
        }
    }

    QSaveFile file(m_nomeFile);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(cp1252::encode(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")));
    return file.commit() ? 1 : 0;
}

QString clsFileINI::leggi(const QString& sezione, const QString& chiave,
                          const QString& predefinito) const {
    clsFileINI copy(*this);
    copy.setSezione(sezione);
    return copy.Leggi(chiave, predefinito);
}

int clsFileINI::scrivi(const QString& sezione, const QString& chiave, const QString& valore) {
    m_sezione = sezione;
    return Scrivi(chiave, valore);
}
