#pragma once

// The reply container: a server reply that carries several files.
//
//     const auto esito = download::spacchettaContenitore(testo, session.CartellaProgramma);
//     if (esito.malformato) ... the reply named a file that may not be written
//     esito.scritti          ... names of the files written, in order
//
// Reading, line by line (CR LF, LF or CR):
// - a line that, trimmed, is neither empty nor "EOF" and does not start with
//   "#" names a file and starts it (relative to the program folder);
// - a following line that, trimmed, starts with "#" is copied unchanged into
//   the current file; a "#" line before any file name is dropped;
// - an empty line or "EOF" closes the current file; a file still open at the
//   end of the reply is closed there.
// A closed file replaces any file of that name, in one step (fileSicuro), as
// Windows-1252 text with CR LF line ends. A file named twice is written twice,
// the later one replacing the earlier.
//
// Names are checked: a name with a path separator ("/" or "\"), "..", a drive
// (":") or an absolute path is never written; that line and the records that
// follow it up to the closing line are dropped and the reply is reported
// malformed. With nomiAmmessi given, a name not in it (letter case ignored) is
// treated the same way, so that a reply cannot replace the database or the
// configuration file.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace download {

struct EsitoContenitore {
    QStringList scritti;   // file names written, in order
    QStringList rifiutati; // file names refused
    bool malformato = false;
    QString erroreScrittura; // why a file could not be written ("" when none)
    bool ok() const { return !malformato && erroreScrittura.isEmpty(); }
};

// True when the name may be written into the program folder.
bool nomeFileAmmesso(const QString& nome);

EsitoContenitore spacchettaContenitore(const QString& testo, const QString& cartella,
                                       const QStringList& nomiAmmessi = {});

// The same for a container saved as a Windows-1252 file (the raw reply).
EsitoContenitore spacchettaFileContenitore(const QString& percorso, const QString& cartella,
                                           const QStringList& nomiAmmessi = {});

} // namespace download
