#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;

// The start-up window. It stays hidden unless a table load shows its progress in
// it (heading, "Attendere ....", file, table and record number).
class Avvio : public QWidget {
    Q_OBJECT
public:
    explicit Avvio(QWidget* parent = nullptr);

    void mostraAvanzamento(const QString& intestazione, const QString& attesa);
    void aggiorna(const QString& file, const QString& tabella, int record);

private:
    QLabel* m_intestazione;
    QLabel* m_attesa;
    QLabel* m_file;
    QLabel* m_tabella;
    QLabel* m_record;
    QElapsedTimer m_ridisegno;
};

// The splash screen with the program version.
class Splash : public QWidget {
    Q_OBJECT
public:
    explicit Splash(QWidget* parent = nullptr);
};
