#pragma once

#include <QApplication>

// The program's application object: the event loop is where the end of the
// program, thrown as ui::FineProgramma by an event handler, stops unwinding
// (see core/Interaction.h).
class Applicazione : public QApplication {
    Q_OBJECT
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override;
};
