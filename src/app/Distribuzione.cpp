#include "app/Distribuzione.h"

#include "core/Programmi.h"

namespace distribuzione {

const QList<Collegamento>& collegamenti() {
    static const QList<Collegamento> lista = {
        {QStringLiteral("lblFSE"), QStringLiteral(":/images/logo_fse.svg"),
         QStringLiteral("Fondo sociale europeo"), QStringLiteral(" Fondo sociale europeo"),
         QStringLiteral("https://ec.europa.eu/european-social-fund-plus/it")},
        {QStringLiteral("lblRegione"), QStringLiteral(":/images/logo_regione.svg"),
         QStringLiteral("Regione - Servizio Formazione Professionale"),
         QStringLiteral("la Regione - Servizio Formazione Professionale"),
         QStringLiteral("https://www.regione.example.it/formazione")},
        {QStringLiteral("lblMinistero"), QStringLiteral(":/images/logo_ministero.svg"),
         QStringLiteral("Ministero del Lavoro e delle Politiche Sociali"),
         QStringLiteral(" Ministero del lavoro"), QStringLiteral("https://www.lavoro.gov.it")},
        {QStringLiteral("lblVRD"), QStringLiteral(":/images/logo_vrd.svg"),
         QStringLiteral("V.R.D. Servizi Informatici"),
         QStringLiteral("la V.R.D. Servizi Informatici"),
         QStringLiteral("https://www.vrd.example.it")},
    };
    return lista;
}

QString bannerProgrammi() {
    return lineaProgrammi();
}

} // namespace distribuzione
