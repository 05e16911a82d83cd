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
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Simulatore del server regionale KORVADIN"));
    p.addHelpOption();
    const QCommandLineOption http(QStringLiteral("porta-http"), QStringLiteral("Porta HTTP."),
                                  QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption https(QStringLiteral("porta-https"), QStringLiteral("Porta HTTPS."),
                                   QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption cartella(QStringLiteral("cartella"),
                                      QStringLiteral("Cartella delle richieste ricevute."),
                                      QStringLiteral("DIR"));
    const QCommandLineOption cert(QStringLiteral("certificato"),
                                  QStringLiteral("Certificato del server (PEM)."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption chiave(QStringLiteral("chiave"),
                                    QStringLiteral("Chiave del server (PEM)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption guasto(QStringLiteral("guasto"),
                                    QStringLiteral("SERVIZIO=errore|html|stato[:N]|ritardo[:ms]|"
                                                   "caduta"),
                                    QStringLiteral("REGOLA"));
    const QCommandLineOption risposta(QStringLiteral("risposta"),
                                      QStringLiteral("SERVIZIO=testo della risposta"),
                                      QStringLiteral("REGOLA"));
    const QCommandLineOption versione(QStringLiteral("versione"),
                                      QStringLiteral("Risposta VERSIONE: minima#ultima#stato#msg"),
                                      QStringLiteral("TESTO"));
    const QCommandLineOption numero(QStringLiteral("numero"),
                                    QStringLiteral("Prossimo numero di installazione."),
                                    QStringLiteral("N"));
    const QCommandLineOption eof(QStringLiteral("fino-a-eof"),
                                 QStringLiteral("Termina quando lo standard input si chiude."));
    p.addOptions({http, https, cartella, cert, chiave, guasto, risposta, versione, numero, eof});
    p.process(app);

    Simulatore sim;
    if (p.isSet(cert) || p.isSet(chiave))
        sim.setCertificato(p.value(cert), p.value(chiave));
    if (p.isSet(cartella))
        sim.setCartella(p.value(cartella));
    for (const QString& regola : p.values(guasto)) {
        Simulatore::Guasto g;
        int parametro = 0;
        const QString servizio = regola.section(QLatin1Char('='), 0, 0).trimmed().toUpper();
        if (!Simulatore::leggiGuasto(regola.section(QLatin1Char('='), 1), &g, &parametro)) {
            std::fprintf(stderr, "Guasto non riconosciuto: %s\n", qPrintable(regola));
            return 2;
        }
        sim.setGuasto(servizio, g, parametro);
    }
    QStringEncoder cp1252("windows-1252");
    for (const QString& regola : p.values(risposta))
        sim.setRisposta(regola.section(QLatin1Char('='), 0, 0).trimmed().toUpper(),
                        QByteArray(cp1252.encode(regola.section(QLatin1Char('='), 1))));
    if (p.isSet(versione)) {
        const QStringList t = p.value(versione).split(QLatin1Char('#'));
        sim.setVersione(t.value(0), t.value(1), t.value(2), t.value(3));
    }
    if (p.isSet(numero))
        sim.setNumeroInstallazione(p.value(numero).toInt());

    if (!sim.avvia(quint16(p.value(http).toUInt()), quint16(p.value(https).toUInt()))) {
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
    if (p.isSet(eof)) {
        ingresso = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
        QObject::connect(ingresso, &QSocketNotifier::activated, &app, [] {
            char b[256];
            if (::read(STDIN_FILENO, b, sizeof b) <= 0)
                QCoreApplication::quit();
        });
    }
    return app.exec();
}
