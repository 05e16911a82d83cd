#include "download/ContenitoreRisposta.h"

#include "core/Cp1252.h"
#include "core/FileSicuro.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace download {

bool nomeFileAmmesso(const QString& nome) {
    if (nome.isEmpty() || nome.contains(QLatin1Char('/')) || nome.contains(QLatin1Char('\\')) ||
        nome.contains(QLatin1String("..")) || nome.contains(QLatin1Char(':')) ||
        QDir::isAbsolutePath(nome))
        return false;
    // Control characters have no place in a file name.
    for (const QChar c : nome)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    return nome != QLatin1String(".");
}

namespace {

class Lettore {
public:
    Lettore(const QString& cartella, const QStringList& ammessi)
        : m_cartella(cartella), m_ammessi(ammessi) {}

    void riga(const QString& riga) {
        const QString t = riga.trimmed();
        if (t.isEmpty() || t == QLatin1String("EOF")) {
            chiudi();
        } else if (t.startsWith(QLatin1Char('#'))) {
            if (m_aperto)
                m_contenuto += cp1252::encode(riga) + "\r\n";
        } else {
            chiudi();
            apri(t);
        }
    }

    EsitoContenitore fine() {
        chiudi();
        return m_esito;
    }

private:
    void apri(const QString& nome) {
        bool ammesso = nomeFileAmmesso(nome);
        if (ammesso && !m_ammessi.isEmpty())
            ammesso = m_ammessi.contains(nome, Qt::CaseInsensitive);
        if (!ammesso) {
            m_esito.malformato = true;
            m_esito.rifiutati.append(nome);
            return;
        }
        m_nome = nome;
        m_contenuto.clear();
        m_aperto = true;
    }

    void chiudi() {
        if (!m_aperto)
            return;
        m_aperto = false;
        QString errore;
        if (fileSicuro::sostituisci(QDir(m_cartella).filePath(m_nome), m_contenuto, &errore))
            m_esito.scritti.append(m_nome);
        else if (m_esito.erroreScrittura.isEmpty())
            m_esito.erroreScrittura = m_nome + QStringLiteral(": ") + errore;
        m_contenuto.clear();
    }

    QString m_cartella;
    QStringList m_ammessi;
    EsitoContenitore m_esito;
    bool m_aperto = false;
    QString m_nome;
    QByteArray m_contenuto;
};

} // namespace

EsitoContenitore spacchettaContenitore(const QString& testo, const QString& cartella,
                                       const QStringList& nomiAmmessi) {
    static const QRegularExpression fineRiga(QStringLiteral("\r\n|\n|\r"));
    Lettore lettore(cartella, nomiAmmessi);
    QStringList righe = testo.split(fineRiga);
    // The line end of the last line opens no further line.
    if (!righe.isEmpty() && righe.last().isEmpty())
        righe.removeLast();
    for (const QString& r : righe)
        lettore.riga(r);
    return lettore.fine();
}

EsitoContenitore spacchettaFileContenitore(const QString& percorso, const QString& cartella,
                                           const QStringList& nomiAmmessi) {
    bool letto = false;
    const QStringList righe = cp1252::readLines(percorso, &letto);
    Lettore lettore(cartella, nomiAmmessi);
    if (!letto) {
        EsitoContenitore esito;
        esito.erroreScrittura = QFileInfo(percorso).fileName() + QStringLiteral(": non leggibile");
        return esito;
    }
    for (const QString& r : righe)
        lettore.riga(r);
    return lettore.fine();
}

} // namespace download
