#include "core/RigaRecord.h"

RigaRecord RigaRecord::leggi(const QString& riga) {
    const QString testo = riga.left(LunghezzaMassima);
    QStringList campi;
    qsizetype pos = 1;
    while (pos < testo.size() && campi.size() < MassimoCampi) {
        const qsizetype fine = testo.indexOf(QLatin1Char('#'), pos);
        if (fine < 0) {
            campi << testo.mid(pos);
            break;
        }
        campi << testo.mid(pos, fine - pos);
        pos = fine + 3;
    }
    return RigaRecord(campi);
}

QString RigaRecord::scrivi(const QStringList& campi) {
    if (campi.isEmpty())
        return {};
    return QLatin1Char('#') + campi.join(QLatin1String("#,#")) + QLatin1Char('#');
}
