#include "download/ModelloCorsi.h"

#include "core/General.h"
#include "report/StatoCorso.h"

#include <QApplication>
#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QStyle>

namespace download {

ModelloCorsi::ModelloCorsi(QObject* parent)
    : QAbstractTableModel(parent),
      m_avviso(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning)) {
    for (int i = 0; i < colonne().size(); ++i)
        if (colonne().at(i).nome == QLatin1String("Stato"))
            m_colonnaStatoCorso = i;
}

void ModelloCorsi::imposta(QList<db::Row> righe, QHash<qint32, QStringList> senzaMatricola) {
    m_righe = std::move(righe);
    m_senzaMatricola = std::move(senzaMatricola);
    filtra(m_filtro);
}

void ModelloCorsi::filtra(FiltroStato filtro) {
    beginResetModel();
    m_filtro = filtro;
    m_visibili.clear();
    m_visibili.reserve(m_righe.size());
    for (int i = 0; i < m_righe.size(); ++i)
        if (passaFiltroStato(filtro, General::nonNullStr(m_righe.at(i).value(m_colonnaStatoCorso))))
            m_visibili << i;
    endResetModel();
}

int ModelloCorsi::conta(FiltroStato filtro) const {
    int n = 0;
    for (const db::Row& r : m_righe)
        n += passaFiltroStato(filtro, General::nonNullStr(r.value(m_colonnaStatoCorso)));
    return n;
}

qint32 ModelloCorsi::idAttivita(int riga) const {
    return qint32(corso(riga).value(0).toLongLong());
}

int ModelloCorsi::rigaDi(qint32 id) const {
    for (int i = 0; i < m_visibili.size(); ++i)
        if (idAttivita(i) == id)
            return i;
    return -1;
}

QString ModelloCorsi::stato(int riga) const {
    return General::nonNullStr(corso(riga).value(m_colonnaStatoCorso));
}

int ModelloCorsi::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_visibili.size());
}

int ModelloCorsi::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kPrimaColonnaCorso + int(colonne().size());
}

QVariant ModelloCorsi::sfondoStato(const QString& stato) {
    const auto colore = report::coloreStato(stato);
    if (!colore)
        return {};
    // Light enough for black text to read well on it.
    QColor tinta = *colore;
    tinta.setHsv(tinta.hue(), qMin(tinta.saturation(), 70), 255);
    return QBrush(tinta);
}

QIcon ModelloCorsi::iconaStato(const QString& stato) {
    QPixmap quadrato(12, 12);
    quadrato.fill(Qt::transparent);
    const QVariant sfondo = sfondoStato(stato);
    if (sfondo.isValid()) {
        QPainter p(&quadrato);
        p.setPen(Qt::darkGray);
        p.setBrush(sfondo.value<QBrush>());
        p.drawRect(0, 0, 11, 11);
    }
    return QIcon(quadrato);
}

QVariant ModelloCorsi::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_visibili.size())
        return {};
    const int colonna = index.column();
    if (colonna == kColonnaStato) {
        switch (role) {
        case Qt::DisplayRole:
            return descrizioneStato(stato(index.row()));
        case Qt::ToolTipRole:
            return descrizioneStato(stato(index.row())) + QStringLiteral(" (stato ") +
                   stato(index.row()) + QLatin1Char(')');
        case Qt::BackgroundRole:
            return sfondoStato(stato(index.row()));
        case Qt::DecorationRole: {
            const QString s = stato(index.row());
            auto icona = m_iconeStato.constFind(s);
            if (icona == m_iconeStato.constEnd())
                icona = m_iconeStato.insert(s, iconaStato(s));
            return *icona;
        }
        case Qt::ForegroundRole:
            return QBrush(Qt::black);
        case Qt::FontRole: {
            QFont f;
            f.setBold(true);
            return f;
        }
        default:
            return {};
        }
    }
    if (colonna == kColonnaMatricole) {
        const auto trovato = m_senzaMatricola.constFind(idAttivita(index.row()));
        if (trovato == m_senzaMatricola.constEnd())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return trovato->size() == 1 ? QStringLiteral("1 mancante")
                                        : QStringLiteral("%1 mancanti").arg(trovato->size());
        case Qt::DecorationRole:
            return m_avviso;
        case Qt::ToolTipRole:
            return avvisoMatricole(*trovato);
        default:
            return {};
        }
    }
    const QVariant valore = corso(index.row()).value(colonna - kPrimaColonnaCorso);
    if (role == Qt::DisplayRole)
        return General::nonNullStr(valore);
    if (role == Qt::TextAlignmentRole) {
        const int tipo = valore.typeId();
        if (tipo == QMetaType::LongLong || tipo == QMetaType::Int || tipo == QMetaType::Double)
            return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ModelloCorsi::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == kColonnaStato)
        return QStringLiteral("Stato corso");
    if (section == kColonnaMatricole)
        return QStringLiteral("Matricole");
    if (section - kPrimaColonnaCorso < colonne().size())
        return colonne().at(section - kPrimaColonnaCorso).intestazione;
    return {};
}

Qt::ItemFlags ModelloCorsi::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int ModelloCorsi::larghezza(int colonna) {
    if (colonna == kColonnaStato)
        return 135;
    if (colonna == kColonnaMatricole)
        return 105;
    return colonne().at(colonna - kPrimaColonnaCorso).larghezza;
}

} // namespace download
