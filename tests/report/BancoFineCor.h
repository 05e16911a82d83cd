#pragma once

#include "TestSupport.h"

#include "db/Database.h"
#include "report/FineCor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

#include <memory>

// The end-of-course form of a demo course, shown (not modal) and driven by
// the names of its controls; messages are answered by the scripted service.
class BancoFineCor {
public:
    explicit BancoFineCor(std::function<void(db::Connection&)> prepara = {}) {
        if (prepara)
            prepara(db());
    }

    db::Connection& db() { return inst.sessione().CorsiDB(); }
    ui::ScriptedInteraction& ui() { return inst.interaction; }

    report::FineCor& apri(qint32 corso) {
        form = std::make_unique<report::FineCor>(inst.sessione(), corso);
        form->show();
        QApplication::setActiveWindow(form.get());
        form->activateWindow();
        (void)QTest::qWaitForWindowActive(form.get());
        return *form;
    }

    template <class T = QWidget> T* w(const char* nome) const {
        T* widget = form->findChild<T*>(QString::fromLatin1(nome));
        if (!widget)
            qFatal("control %s not found", nome);
        return widget;
    }
    QLineEdit* box(const char* nome) const { return w<QLineEdit>(nome); }
    QComboBox* combo(const char* nome) const { return w<QComboBox>(nome); }
    QTabWidget* tab() const { return w<QTabWidget>("SSTab1"); }

    void clic(const char* nome) {
        QAbstractButton* b = w<QAbstractButton>(nome);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Types into a box as the user does and leaves it.
    void scrivi(const char* nome, const QString& testo) {
        QLineEdit* b = box(nome);
        const int scheda = schedaDi(b);
        if (scheda >= 0)
            tab()->setCurrentIndex(scheda);
        b->setFocus();
        b->selectAll();
        QTest::keyClick(b, Qt::Key_Backspace);
        QTest::keyClicks(b, testo);
        w<QWidget>("cmdEsci")->setFocus();
    }
    void scegli(const char* nome, const QString& voce) {
        QComboBox* c = combo(nome);
        const int indice = c->findText(voce);
        if (indice < 0)
            qFatal("item %s not in %s", qPrintable(voce), nome);
        c->setCurrentIndex(indice);
    }
    void data(const QString& gg, const QString& mm, const QString& aaaa) {
        scrivi("txtDataFineEffGG", gg);
        scrivi("txtDataFineEffMM", mm);
        scrivi("txtDataFineEffAAAA", aaaa);
    }
    // A complete classification for the full layout.
    void classifica() {
        scrivi("txtCredFormCorso", QStringLiteral("2,5"));
        scegli("cmbTipOrg", QStringLiteral("I - Gestione indiretta"));
        scegli("cmbAreaFor", QStringLiteral("ci - Formazione area informatica"));
        scegli("cmbSegmento", QStringLiteral("S2 - Capacita'"));
    }

    QVariant corso(qint32 id, const char* colonna) {
        return db().scalar(QStringLiteral("SELECT %1 FROM KELDCorsiDef WHERE IdAttivita=?")
                               .arg(QString::fromLatin1(colonna)),
                           {id});
    }
    QVariant allievo(const QString& cf, const char* colonna, qint32 id = 41235) {
        return db().scalar(
            QStringLiteral("SELECT %1 FROM KELDAnagFreq WHERE IdAttivita=? AND CodFiscale=?")
                .arg(QString::fromLatin1(colonna)),
            {id, cf});
    }

    TestInstallation inst;
    std::unique_ptr<report::FineCor> form;

private:
    int schedaDi(QWidget* widget) const {
        for (int i = 0; i < tab()->count(); ++i)
            if (tab()->widget(i)->isAncestorOf(widget))
                return i;
        return -1;
    }
};
