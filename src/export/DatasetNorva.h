#pragma once

#include <QString>

namespace db {
class Connection;
}

// The XML dataset of the course registry ("Norva" schema) for one course
// proposal.
namespace esportazione {

// Namespace of the registry's dataset, the root element's xmlns.
inline const QString NamespaceDataset = QStringLiteral("http://tempuri.org/dsNorva.xsd");

// The registry's escaping of element values: '"', '&', '<', '>' become entities;
// any character whose Windows-1252 code is below 32 or from 128 on becomes
// "&#<code>;" (a character the code page cannot hold: its Unicode code point);
// everything else, blanks and apostrophes included, stays as it is.
QString escapeNorva(const QString& testo);

// The dataset text of the CorsiProp rows carrying the Guid (one CorsoNorva
// group, with its related groups, per row), lines ended by CR LF. Throws
// db::DbError.
QString CreaDatasetNorva(db::Connection& CorsiDB, const QString& guid);

} // namespace esportazione
