#include "core/General.h"

#include "core/Interaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <filesystem>

namespace General {

QString nonNullStr(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double)
        return testoDaNumero(value.toDouble());
    return value.toString();
}

double nonNullNum(const QVariant& value, ui::Interaction& ui, QWidget* parent) {
    if (!value.isValid() || value.isNull())
        return 0;
    bool ok = false;
    double number = value.toDouble(&ok);
    if (!ok)
        number = numeroDaTesto(value.toString(), &ok);
    if (!ok) {
        ui.message(parent, QStringLiteral("ANOMALIA: parametro non numerico"),
                   QStringLiteral("NonNull_Num (debug)"));
        return 0;
    }
    return number;
}

double numeroDaTesto(const QString& text, bool* ok) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool valid = false;
    const double value = t.isEmpty() ? 0 : t.toDouble(&valid);
    if (ok)
        *ok = valid;
    return valid ? value : 0;
}

QString testoDaNumero(double value) {
    QString text = QString::number(value, 'f', 10);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

void MostraAiuto(ui::Interaction& ui, QWidget* parent, const QString& helpFile, int topic) {
    if (helpFile.isEmpty() || !QFileInfo(helpFile).isFile()) {
        ui.message(parent, QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"));
        return;
    }
    ui.showHelp(parent, helpFile, topic);
}

bool muoviFile(const QString& source, const QString& destination) {
    const QFileInfo target(destination);
    if (!QDir().mkpath(target.absolutePath()))
        return false;
    // On one file system a rename replaces the destination in one step: there is
    // never a moment without either copy, and nothing is rewritten.
    std::error_code errore;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(source).toStdString()),
                            std::filesystem::path(QFile::encodeName(destination).toStdString()),
                            errore);
    if (!errore)
        return true;
    if (!QFileInfo::exists(source))
        return false;
    if (target.exists() && !QFile::remove(destination))
        return false;
    if (!QFile::copy(source, destination))
        return false;
    return QFile::remove(source);
}

} // namespace General
