#include "core/clsFileINI.h"

#include "core/Cp1252.h"
#include "core/FileSicuro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// Puts key=value into the lines of a file: replaces the key's line in its
// section, or appends it to the section, or appends the section.
void inserisci(QStringList& lines, const QString& sezione, const QString& chiave,
               const QString& valore) {
    const QString entry = chiave + QLatin1Char('=') + valore;
    int sectionStart = -1; // line of the section header
    int insertAt = -1;     // after the last non-empty line of the section
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSectionLine(lines.at(i), &name)) {
            if (sectionStart >= 0)
                break; // next section: the key is not in ours
            if (name.compare(sezione, Qt::CaseInsensitive) == 0) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (isKeyLine(lines.at(i), chiave, nullptr)) {
            lines[i] = entry;
            return;
        }
        if (!lines.at(i).trimmed().isEmpty())
            insertAt = i + 1;
    }
    if (sectionStart >= 0) {
        lines.insert(insertAt, entry);
        return;
    }
    if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
        lines << QString();
    lines << QLatin1Char('[') + sezione + QLatin1Char(']') << entry;
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
    return scriviTutte({{m_sezione, chiave, valore}});
}

int clsFileINI::scriviTutte(const QList<Voce>& voci) {
    m_ultimoErrore.clear();
    const auto fallita = [this](const QString& motivo) {
        m_ultimoErrore = motivo;
        return 0;
    };
    for (const Voce& v : voci)
        if (!cp1252::rappresentabile(v.sezione + v.chiave + v.valore))
            return fallita(QStringLiteral("Il valore \"%1\" contiene caratteri che il file %2 "
                                          "non può contenere.")
                               .arg(v.valore, QFileInfo(m_nomeFile).fileName()));
    QStringList lines;
    if (QFileInfo::exists(m_nomeFile)) {
        bool ok = false;
        lines = cp1252::readLines(m_nomeFile, &ok);
        if (!ok)
            return fallita(QStringLiteral("Impossibile leggere il file %1.")
                               .arg(QDir::toNativeSeparators(m_nomeFile)));
    }
    for (const Voce& v : voci)
        inserisci(lines, v.sezione, v.chiave, v.valore);
    QString motivo;
    if (!fileSicuro::sostituisci(
            m_nomeFile, cp1252::encode(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")),
            &motivo))
        return fallita(QStringLiteral("Impossibile scrivere il file %1: %2")
                           .arg(QDir::toNativeSeparators(m_nomeFile), motivo));
    return 1;
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
