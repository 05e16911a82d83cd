#pragma once

#include "db/Database.h"
#include "download/CorsiApprovati.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>

namespace download {

// The rows of the course chooser as the grid shows them: first where the course
// stands (words on the state's colour), then the mark of participants without
// an enrolment number, then the columns of colonne(). Only the rows that pass
// the state filter are shown; the counts are of every row read.
class ModelloCorsi : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColonnaStato = 0;
    static constexpr int kColonnaMatricole = 1;
    static constexpr int kPrimaColonnaCorso = 2;

    explicit ModelloCorsi(QObject* parent = nullptr);

    void imposta(QList<db::Row> righe, QHash<qint32, QStringList> senzaMatricola);
    void filtra(FiltroStato filtro);
    FiltroStato filtro() const { return m_filtro; }
    // Rows read with a state in the filter's group (every row for Tutti).
    int conta(FiltroStato filtro) const;

    // The row read behind the shown row.
    const db::Row& corso(int riga) const { return m_righe.at(m_visibili.at(riga)); }
    qint32 idAttivita(int riga) const;
    // The shown row of the course, -1 when it is not shown.
    int rigaDi(qint32 idAttivita) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Width in pixels of a column.
    static int larghezza(int colonna);
    // The state's colour as the list shows it (a light tint of the form's
    // border colour), none for an unknown state.
    static QVariant sfondoStato(const QString& stato);
    // A small square of that colour, shown beside the state also when the row
    // is selected; an empty square for an unknown state.
    static QIcon iconaStato(const QString& stato);

private:
    QString stato(int riga) const;

    QList<db::Row> m_righe;
    QList<int> m_visibili;
    QHash<qint32, QStringList> m_senzaMatricola;
    FiltroStato m_filtro = FiltroStato::Tutti;
    int m_colonnaStatoCorso = -1; // Stato among colonne()
    QIcon m_avviso;
    mutable QHash<QString, QIcon> m_iconeStato; // made on first use
};

} // namespace download
