#include "export/DescrizioneSoap.h"

#include <QXmlStreamReader>

#include <memory>
#include <vector>

namespace esportazione {

namespace {

const QString kWsdl = QStringLiteral("http://schemas.xmlsoap.org/wsdl/");
const QString kSoapWsdl = QStringLiteral("http://schemas.xmlsoap.org/wsdl/soap/");
const QString kSchema = QStringLiteral("http://www.w3.org/2001/XMLSchema");

// An element of the description with the namespace prefixes in scope, which
// the QName values of its attributes need.
struct Nodo {
    QString ns, nome;
    QHash<QString, QString> attributi; // by local name
    QHash<QString, QString> prefissi;  // "" is the default namespace
    std::vector<std::unique_ptr<Nodo>> figli;
    const Nodo* schema = nullptr; // the xs:schema the element sits in

    bool e(const QString& n, const QString& locale) const { return ns == n && nome == locale; }
    QString attr(const char* a) const { return attributi.value(QLatin1String(a)); }
    // The children ns:locale, in order.
    std::vector<const Nodo*> tutti(const QString& n, const QString& locale) const {
        std::vector<const Nodo*> r;
        for (const auto& f : figli)
            if (f->e(n, locale))
                r.push_back(f.get());
        return r;
    }
    const Nodo* primo(const QString& n, const QString& locale) const {
        const auto r = tutti(n, locale);
        return r.empty() ? nullptr : r.front();
    }
    // A QName attribute value as namespace and local name.
    QPair<QString, QString> qname(const char* a) const {
        const QString v = attr(a).trimmed();
        const qsizetype dp = v.indexOf(QLatin1Char(':'));
        return {prefissi.value(dp < 0 ? QString() : v.left(dp)), v.mid(dp + 1)};
    }
};

std::unique_ptr<Nodo> leggiAlbero(const QByteArray& testo) {
    QXmlStreamReader x(testo);
    std::unique_ptr<Nodo> radice;
    std::vector<Nodo*> pila;
    while (!x.atEnd()) {
        const auto t = x.readNext();
        if (t == QXmlStreamReader::EndElement) {
            pila.pop_back();
            continue;
        }
        if (t != QXmlStreamReader::StartElement)
            continue;
        auto n = std::make_unique<Nodo>();
        n->ns = x.namespaceUri().toString();
        n->nome = x.name().toString();
        for (const auto& a : x.attributes())
            if (a.namespaceUri().isEmpty())
                n->attributi.insert(a.name().toString(), a.value().toString());
        if (!pila.empty()) {
            n->prefissi = pila.back()->prefissi;
            n->schema = pila.back()->schema;
        }
        for (const auto& d : x.namespaceDeclarations())
            n->prefissi.insert(d.prefix().toString(), d.namespaceUri().toString());
        if (n->e(kSchema, QStringLiteral("schema")))
            n->schema = n.get();
        Nodo* p = n.get();
        if (pila.empty())
            radice = std::move(n);
        else
            pila.back()->figli.push_back(std::move(n));
        pila.push_back(p);
    }
    if (x.hasError() || !radice)
        return nullptr;
    return radice;
}

// The global declarations of every schema of the description, by namespace and name.
struct Schemi {
    QHash<QPair<QString, QString>, const Nodo*> elementi, tipi;

    void aggiungi(const Nodo& schema) {
        const QString tns = schema.attr("targetNamespace");
        for (const auto& f : schema.figli) {
            if (f->e(kSchema, QStringLiteral("element")))
                elementi.insert({tns, f->attr("name")}, f.get());
            else if (f->e(kSchema, QStringLiteral("complexType")))
                tipi.insert({tns, f->attr("name")}, f.get());
        }
    }
};

QString spazioSchema(const Nodo& n) {
    return n.schema ? n.schema->attr("targetNamespace") : QString();
}

// The call of one operation of the binding: empty rifiuto when it is one
// wrapper element holding one argument.
OperazioneSoap operazione(const Nodo& radice, const Schemi& schemi, const Nodo& inBinding,
                          const QString& stileBinding, const Nodo* tipoPorta) {
    OperazioneSoap op;
    const QString nome = inBinding.attr("name");
    QString stile = stileBinding;
    if (const Nodo* so = inBinding.primo(kSoapWsdl, QStringLiteral("operation"))) {
        op.azione = so->attr("soapAction");
        if (!so->attr("style").isEmpty())
            stile = so->attr("style");
    }
    if (stile == QLatin1String("rpc")) {
        op.rifiuto = QStringLiteral("L'operazione %1 del servizio è in stile rpc: il programma "
                                    "sa chiamare solo operazioni in stile document.")
                         .arg(nome);
        return op;
    }
    const Nodo* ingresso = inBinding.primo(kWsdl, QStringLiteral("input"));
    const Nodo* corpo = ingresso ? ingresso->primo(kSoapWsdl, QStringLiteral("body")) : nullptr;
    if (corpo && corpo->attr("use") == QLatin1String("encoded")) {
        op.rifiuto = QStringLiteral("L'operazione %1 del servizio chiede una codifica SOAP non "
                                    "supportata (use=\"encoded\").")
                         .arg(nome);
        return op;
    }
    const auto nonChiamabile = [&](const QString& perche) {
        op.rifiuto = QStringLiteral("L'operazione %1 del servizio non si può chiamare: %2")
                         .arg(nome, perche);
        return op;
    };
    const Nodo* astratta = nullptr;
    for (const Nodo* o : tipoPorta ? tipoPorta->tutti(kWsdl, QStringLiteral("operation"))
                                   : std::vector<const Nodo*>())
        if (o->attr("name") == nome)
            astratta = o;
    const Nodo* input = astratta ? astratta->primo(kWsdl, QStringLiteral("input")) : nullptr;
    if (!input)
        return nonChiamabile(QStringLiteral("manca il messaggio di ingresso."));
    const QString nomeMessaggio = input->qname("message").second;
    const Nodo* messaggio = nullptr;
    for (const Nodo* m : radice.tutti(kWsdl, QStringLiteral("message")))
        if (m->attr("name") == nomeMessaggio)
            messaggio = m;
    if (!messaggio)
        return nonChiamabile(QStringLiteral("manca il messaggio %1.").arg(nomeMessaggio));
    const auto parti = messaggio->tutti(kWsdl, QStringLiteral("part"));
    const auto troppi = [&](qsizetype n) {
        op.rifiuto = QStringLiteral("L'operazione %1 del servizio chiede %2 argomenti: il "
                                    "programma ne invia uno solo.")
                         .arg(nome)
                         .arg(n);
        return op;
    };
    if (parti.size() != 1)
        return troppi(parti.size());
    if (parti.front()->attr("element").isEmpty())
        return nonChiamabile(QStringLiteral("la parte del messaggio non indica un elemento."));
    const Nodo* involucro = schemi.elementi.value(parti.front()->qname("element"));
    if (!involucro)
        return nonChiamabile(QStringLiteral("l'elemento %1 non è nello schema.")
                                 .arg(parti.front()->attr("element")));
    op.spazioNomi = spazioSchema(*involucro);
    const Nodo* tipo = involucro->primo(kSchema, QStringLiteral("complexType"));
    if (!tipo && !involucro->attr("type").isEmpty())
        tipo = schemi.tipi.value(involucro->qname("type"));
    const Nodo* sequenza = tipo ? tipo->primo(kSchema, QStringLiteral("sequence")) : nullptr;
    if (!sequenza)
        return nonChiamabile(QStringLiteral("l'elemento %1 non ha una sequenza di argomenti.")
                                 .arg(involucro->attr("name")));
    std::vector<const Nodo*> argomenti;
    for (const auto& f : sequenza->figli)
        if (!f->e(kSchema, QStringLiteral("annotation")))
            argomenti.push_back(f.get());
    if (argomenti.size() != 1 || !argomenti.front()->e(kSchema, QStringLiteral("element")))
        return troppi(qsizetype(argomenti.size()));
    const Nodo* argomento = argomenti.front();
    if (!argomento->attr("ref").isEmpty()) {
        const Nodo* globale = schemi.elementi.value(argomento->qname("ref"));
        if (!globale)
            return nonChiamabile(
                QStringLiteral("l'elemento %1 non è nello schema.").arg(argomento->attr("ref")));
        op.parametro = globale->attr("name");
        op.spazioParametro = spazioSchema(*globale);
    } else {
        op.parametro = argomento->attr("name");
        QString forma = argomento->attr("form");
        if (forma.isEmpty() && argomento->schema)
            forma = argomento->schema->attr("elementFormDefault");
        if (forma == QLatin1String("qualified"))
            op.spazioParametro = spazioSchema(*argomento);
    }
    return op;
}

} // namespace

DescrizioneSoap leggiDescrizione(const QByteArray& wsdl) {
    const auto radice = leggiAlbero(wsdl);
    if (!radice || !radice->e(kWsdl, QStringLiteral("definitions")))
        return {};
    Schemi schemi;
    for (const Nodo* tipi : radice->tutti(kWsdl, QStringLiteral("types")))
        for (const Nodo* s : tipi->tutti(kSchema, QStringLiteral("schema")))
            schemi.aggiungi(*s);

    // The first port with a SOAP 1.1 address, and its binding.
    DescrizioneSoap d;
    QString nomeBinding;
    for (const Nodo* servizio : radice->tutti(kWsdl, QStringLiteral("service")))
        for (const Nodo* porta : servizio->tutti(kWsdl, QStringLiteral("port")))
            if (const Nodo* a = porta->primo(kSoapWsdl, QStringLiteral("address"));
                a && d.indirizzo.isEmpty()) {
                d.indirizzo = a->attr("location");
                nomeBinding = porta->qname("binding").second;
            }
    const Nodo* binding = nullptr;
    for (const Nodo* b : radice->tutti(kWsdl, QStringLiteral("binding")))
        if (b->attr("name") == nomeBinding && b->primo(kSoapWsdl, QStringLiteral("binding")))
            binding = b;
    if (!binding)
        return {};
    const Nodo* tipoPorta = nullptr;
    for (const Nodo* p : radice->tutti(kWsdl, QStringLiteral("portType")))
        if (p->attr("name") == binding->qname("type").second)
            tipoPorta = p;
    QString stile = binding->primo(kSoapWsdl, QStringLiteral("binding"))->attr("style");
    if (stile.isEmpty())
        stile = QStringLiteral("document");
    for (const Nodo* o : binding->tutti(kWsdl, QStringLiteral("operation")))
        d.operazioni.insert(o->attr("name"), operazione(*radice, schemi, *o, stile, tipoPorta));
    return d;
}

} // namespace esportazione
