// korvadin-simulatore: the regional-server simulator as a program.
//
//   korvadin-simulatore [--porta-http N] [--porta-https N] [--cartella DIR]
//                       [--certificato server.pem --chiave server.key]
//                       [--guasto SERVIZIO=errore|html|stato[:N]|ritardo[:ms]|caduta] ...
//                       [--risposta SERVIZIO=testo] ...
//                       [--versione minima#ultima#stato#messaggio] [--numero N]
//
// Ports 0 (the default) mean free ones; the ports in use are printed as
// "HTTP <port>" and "HTTPS <port>" on standard output. With --cartella every
// request goes to DIR/richieste.log, uploads to DIR/allegati/<name>,
// registrations to DIR/registrazioni.txt, and DIR/guasti.txt (lines
// SERVIZIO=fault[:N] or SERVIZIO=risposta:text) is read at every request.
// The program ends on SIGTERM/SIGINT or when its standard input closes when
// started with --fino-a-eof.

#include "Simulatore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStringEncoder>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

void fine(int) {
    QCoreApplication::quit();
}

// The options in the order of the help text; an option without a value name
// is a switch.
struct Opzione {
    const char* nome;
    const char* descrizione;
    const char* valore = nullptr;
    const char* predefinito = nullptr;
};
const Opzione kOpzioni[] = {
    {"porta-http", "Porta HTTP.", "N", "0"},
    {"porta-https", "Porta HTTPS.", "N", "0"},
    {"cartella", "Cartella delle richieste ricevute.", "DIR"},
    {"certificato", "Certificato del server (PEM).", "FILE"},
    {"chiave", "Chiave del server (PEM).", "FILE"},
    {"guasto", "SERVIZIO=errore|html|stato[:N]|ritardo[:ms]|caduta", "REGOLA"},
    {"risposta", "SERVIZIO=testo della risposta", "REGOLA"},
    {"versione", "Risposta VERSIONE: minima#ultima#stato#msg", "TESTO"},
    {"numero", "Prossimo numero di installazione.", "N"},
    {"wsdl", "Descrizione del servizio TAVREL (un file di dati/wsdl).", "FILE"},
    {"fino-a-eof", "Termina quando lo standard input si chiude."},
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Simulatore del server regionale KORVADIN"));
    p.addHelpOption();
    for (const Opzione& o : kOpzioni) {
        const QString nome = QString::fromLatin1(o.nome);
        const QString descrizione = QString::fromLatin1(o.descrizione);
        p.addOption(o.valore ? QCommandLineOption(nome, descrizione, QString::fromLatin1(o.valore),
                                                  QString::fromLatin1(o.predefinito))
                             : QCommandLineOption(nome, descrizione));
    }
    p.process(app);
    const auto impostata = [&p](const char* nome) { return p.isSet(QString::fromLatin1(nome)); };
    const auto valore = [&p](const char* nome) { return p.value(QString::fromLatin1(nome)); };
    const auto servizio = [](const QString& regola) {
        return regola.section(QLatin1Char('='), 0, 0).trimmed().toUpper();
    };

    Simulatore sim;
    if (impostata("certificato") || impostata("chiave"))
        sim.setCertificato(valore("certificato"), valore("chiave"));
    if (impostata("cartella"))
        sim.setCartella(valore("cartella"));
    for (const QString& regola : p.values(QStringLiteral("guasto"))) {
        Simulatore::Guasto g;
        int parametro = 0;
        if (!Simulatore::leggiGuasto(regola.section(QLatin1Char('='), 1), &g, &parametro)) {
            std::fprintf(stderr, "Guasto non riconosciuto: %s\n", qPrintable(regola));
            return 2;
        }
        sim.setGuasto(servizio(regola), g, parametro);
    }
    QStringEncoder cp1252("windows-1252");
    for (const QString& regola : p.values(QStringLiteral("risposta")))
        sim.setRisposta(servizio(regola),
                        QByteArray(cp1252.encode(regola.section(QLatin1Char('='), 1))));
    if (impostata("versione")) {
        const QStringList t = valore("versione").split(QLatin1Char('#'));
        sim.setVersione(t.value(0), t.value(1), t.value(2), t.value(3));
    }
    if (impostata("numero"))
        sim.setNumeroInstallazione(valore("numero").toInt());
    if (impostata("wsdl"))
        sim.setDescrizioneTavrel(valore("wsdl"));

    if (!sim.avvia(quint16(valore("porta-http").toUInt()),
                   quint16(valore("porta-https").toUInt()))) {
        std::fprintf(stderr, "Avvio non riuscito: %s\n", qPrintable(sim.erroreAvvio()));
        return 1;
    }
    std::printf("HTTP %u\n", unsigned(sim.portaHttp()));
    if (sim.portaHttps())
        std::printf("HTTPS %u\n", unsigned(sim.portaHttps()));
    else
        std::printf("HTTPS non disponibile (certificato mancante)\n");
    std::fflush(stdout);

    std::signal(SIGTERM, fine);
    std::signal(SIGINT, fine);
    QSocketNotifier* ingresso = nullptr;
    if (impostata("fino-a-eof")) {
        ingresso = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
        QObject::connect(ingresso, &QSocketNotifier::activated, &app, [] {
            char b[256];
            if (::read(STDIN_FILENO, b, sizeof b) <= 0)
                QCoreApplication::quit();
        });
    }
    return app.exec();
}
