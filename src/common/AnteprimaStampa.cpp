// The print request of the interaction service on the real desktop: Qt's print
// preview, from which the user prints (on a printer or, through the print
// dialog, into a file) or keeps the document as PDF.
#include "common/QtInteraction.h"

#include "core/DocumentoPdf.h"
#include "core/FileSicuro.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace ui {

EsitoStampa QtInteraction::print(QWidget* parent, const Stampa& stampa) {
    fermaSeTerminato();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(stampa.titolo);
    printer.setPageLayout(documento::paginaA4());
    QPrintPreviewDialog anteprima(&printer, parent);
    anteprima.setObjectName(QStringLiteral("AnteprimaStampa"));
    anteprima.setWindowTitle(stampa.titolo);
    anteprima.resize(900, 760);
    QObject::connect(&anteprima, &QPrintPreviewDialog::paintRequested,
                     [&stampa](QPrinter* p) { stampa.disegna(*p); });
    bool salvato = false;
    if (auto* barra = anteprima.findChild<QToolBar*>()) {
        barra->addSeparator();
        QAction* pdf = barra->addAction(QStringLiteral("Salva PDF..."));
        pdf->setObjectName(QStringLiteral("actSalvaPdf"));
        QObject::connect(pdf, &QAction::triggered, &anteprima, [&] {
            FileDialog dialogo;
            dialogo.save = true;
            dialogo.caption = QStringLiteral("Salva il documento in formato PDF");
            dialogo.folder = QFileInfo(stampa.filePdf).absolutePath();
            dialogo.fileName = stampa.filePdf;
            dialogo.filter = QStringLiteral("Documento PDF (*.pdf)");
            const QString file = chooseFile(&anteprima, dialogo);
            if (file.isEmpty())
                return;
            QString errore;
            if (fileSicuro::sostituisci(file, documento::pdf(stampa.disegna, stampa.titolo),
                                        &errore))
                salvato = true;
            else
                message(&anteprima,
                        QStringLiteral("Impossibile salvare il file ") +
                            QDir::toNativeSeparators(file) + QStringLiteral("\r\n") + errore,
                        QStringLiteral("Salva PDF"), Icon::Critical, Buttons::Ok);
        });
    }
    const int risultato = anteprima.exec();
    fermaSeTerminato();
    if (printer.printerState() == QPrinter::Error)
        return EsitoStampa::Fallita;
    return risultato == QDialog::Accepted || salvato ? EsitoStampa::Stampata
                                                     : EsitoStampa::Annullata;
}

} // namespace ui
