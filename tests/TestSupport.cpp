#include "TestSupport.h"

#include "DemoInstallation.h"
#include "db/Schema.h"

#include <QDir>

TestInstallation::TestInstallation(Contenuto contenuto) {
    if (contenuto == Contenuto::Demo) {
        tooling::creaInstallazioneDemo(folder());
    } else {
        db::creaBaseDatiVuota(database(), Session::databasePassword());
        tooling::scriviIni(folder(), tooling::IniDemo());
        tooling::copiaAiuto(folder());
    }
}

QString TestInstallation::file(const QString& name) const {
    return QDir(folder()).filePath(name);
}

std::unique_ptr<Session> TestInstallation::nuovaSessione() {
    return std::make_unique<Session>(interaction, folder(), file(QStringLiteral("utente.ini")));
}

Session& TestInstallation::sessione() {
    if (!m_session) {
        m_session = nuovaSessione();
        Session& s = *m_session;
        s.PercorsoDB = database();
        s.tipoInstallazione = QStringLiteral("StandAlone");
        s.fileAiuto = file(QStringLiteral("KORVADIN.html"));
        s.CorsiDB().open(database(), Session::databasePassword(), db::OpenMode::Shared);
        const auto rows = s.CorsiDB().query(QStringLiteral("SELECT GrupOpe, Operatore FROM "
                                                           "Installazione"));
        if (!rows.isEmpty()) {
            s.OperatoreCorrente.GrupOpe = rows.first().value(0).toString();
            s.OperatoreCorrente.Operatore = rows.first().value(1).toString();
            s.OperatoreCorrente.nome =
                s.CorsiDB()
                    .scalar(QStringLiteral("SELECT Denominazione FROM CorsiOper"))
                    .toString();
        }
    }
    return *m_session;
}

bool terminaIlProgramma(const std::function<void()>& passo) {
    try {
        passo();
    } catch (const ui::FineProgramma&) {
        return true;
    }
    return false;
}
