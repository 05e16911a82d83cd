#pragma once

#include <QString>
#include <QVariant>

class QWidget;
namespace ui {
class Interaction;
}

// Helpers shared by every subsystem.
namespace General {

// Null-safe readers: a Null field read as text gives "", read as a number gives 0.
QString nonNullStr(const QVariant& value);
// A value that is not numeric gives 0 after the anomaly message.
double nonNullNum(const QVariant& value, ui::Interaction& ui, QWidget* parent = nullptr);

// Numeric value of a box text written with a decimal comma ("2,5" -> 2.5);
// an empty or non-numeric text gives 0 and ok = false.
double numeroDaTesto(const QString& text, bool* ok = nullptr);
// A decimal as the program shows it: decimal comma, no trailing zeros
// (2.5 -> "2,5", 3 -> "3").
QString testoDaNumero(double value);

// Shows a help topic, or "File di Aiuto non presente" when the help file is
// missing.
void MostraAiuto(ui::Interaction& ui, QWidget* parent, const QString& helpFile, int topic);

// Moves a file: creates the destination folder when missing and replaces an
// existing destination; renamed on one file system, else copied and the source
// deleted. True on success.
bool muoviFile(const QString& source, const QString& destination);

} // namespace General
