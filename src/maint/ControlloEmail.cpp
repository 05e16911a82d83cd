#include "maint/ControlloEmail.h"

namespace maint {

namespace {
// 1-based position of the first occurrence at or after 'from' (1-based); 0 when absent.
int trova(const QString& text, const QString& what, int from = 1) {
    if (from < 1)
        from = 1;
    const int index = text.indexOf(what, from - 1);
    return index < 0 ? 0 : index + 1;
}
} // namespace

EsitoEmail controllaEmail(const QString& t) {
    if (t.isEmpty())
        return {1, QStringLiteral("E' indispensabile indicare un indirizzo e-mail.")};
    if (t.contains(QLatin1Char(',')))
        return {2, QStringLiteral("L'indirizzo e-mail non può contenere virgole.")};
    if (t != t.trimmed() || t.contains(QLatin1Char(' ')))
        return {3, QStringLiteral("L'indirizzo e-mail non può contenere spazi all'inizio, alla "
                                  "fine o internamente.")};
    if (t.contains(QLatin1Char('/')))
        return {4, QStringLiteral("L'indirizzo e-mail non può contenere il carattere '/'.")};
    if (t.contains(QLatin1String("..")))
        return {5, QStringLiteral("L'indirizzo e-mail non può contenere punti consecutivi.")};
    const int at = trova(t, QStringLiteral("@"));
    if (at == 0)
        return {6, QStringLiteral("L'indirizzo e-mail deve contenere il carattere '@'.")};
    const int dot = trova(t, QStringLiteral("."), at + 2);
    if (dot == 0 || dot == at + 1)
        return {7, QStringLiteral("L'indirizzo di e-mail deve contenere almeno 1 '.' dopo il "
                                  "carattere '@', e non nella forma '@.'")};
    if (t.size() == dot)
        return {8, QStringLiteral("Dopo l'ultimo '.' deve essere specificato il provider (es. "
                                  "'it', 'com', ecc.)")};
    if (at == 1 || trova(t, QStringLiteral(".")) == 1)
        return {9, QStringLiteral("L'indirizzo e-mail deve iniziare con il proprio user-name "
                                  "(es. 'mario.rossi', 'mrossi', ecc.)")};
    if (trova(t, QStringLiteral("@"), at + 1) != 0)
        return {10, QStringLiteral("L'indirizzo e-mail non può contenere più di 1 carattere '@'.")};
    if (t.left(16).toUpper() == QLatin1String("INDIRIZZO E-MAIL"))
        return {11, QStringLiteral("E' indispensabile indicare un 'indirizzo e-mail valido.")};
    return {};
}

} // namespace maint
