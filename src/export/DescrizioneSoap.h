#pragma once

// What a service description (WSDL 1.1) says about its SOAP 1.1 service, read
// the way SOAP 1.1 document/literal defines a call:
//
//   service/port (soap:address)  -> the address, and the port's binding
//   binding/operation            -> soapAction, style (binding's default), body use
//   portType/operation/input     -> the input message
//   message/part                 -> the global element (the wrapper) of the schema
//   element                      -> its type: inline, or a named complex type of
//                                   any schema of the document (imports included)
//   complexType/sequence         -> the single argument: a local element (qualified
//                                   by form / elementFormDefault) or a reference
//                                   to a global element
//
// Operations that cannot be called with one text argument (rpc style, encoded
// body, parts without an element, more or fewer than one argument) are listed
// with the reason in rifiuto.

#include <QByteArray>
#include <QHash>
#include <QString>

namespace esportazione {

struct OperazioneSoap {
    QString azione;          // SOAPAction
    QString spazioNomi;      // namespace of the wrapper element (named after the operation)
    QString parametro;       // name of the single argument
    QString spazioParametro; // its namespace, "" when unqualified
    QString rifiuto;         // why the operation cannot be called; "" when it can
};

struct DescrizioneSoap {
    QString indirizzo;
    QHash<QString, OperazioneSoap> operazioni;
};

// Empty indirizzo and no operations when the text is no service description
// with a SOAP 1.1 port.
DescrizioneSoap leggiDescrizione(const QByteArray& wsdl);

} // namespace esportazione
