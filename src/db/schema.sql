-- KORVADIN: schema of the delivered (empty) database.
-- Executed statement by statement on the SQLite 3.15.2 engine of SQLCipher.
-- Column kinds are enforced by CHECK constraints: a text column accepts only
-- text not longer than its width, a whole-number column only integers, a
-- decimal column only numbers, a yes/no column only 0 and 1; NULL is always
-- accepted. With the declared affinities a number bound to a text column is
-- stored as text and a numeric text bound to a number column is stored as a
-- number, while a non-numeric text (or an empty one) in a number column and
-- a too-long text are refused.
-- Text columns with no width of their own: 255 (a classic text field);
-- decoding-table text columns: 500 (the loader cuts values at 500).

-- ==================================================================
-- Identity of the installation
-- ==================================================================

-- One row, added by the installation registration. Column order matters:
-- start-up reads columns 1 and 2 (GrupOpe, Operatore) as the current agency.
-- No key.
CREATE TABLE Installazione (
    GrupOpe TEXT CHECK (GrupOpe IS NULL OR (typeof(GrupOpe) IN ('text','integer','real') AND length(GrupOpe)<=1)),
    Operatore INTEGER CHECK (Operatore IS NULL OR typeof(Operatore)='integer' OR (typeof(Operatore)='text' AND Operatore<>'' AND Operatore NOT GLOB '*[^0-9]*')),
    NumInstall INTEGER CHECK (NumInstall IS NULL OR typeof(NumInstall)='integer' OR (typeof(NumInstall)='text' AND NumInstall<>'' AND NumInstall NOT GLOB '*[^0-9]*')),
    VersioneDB TEXT CHECK (VersioneDB IS NULL OR (typeof(VersioneDB) IN ('text','integer','real') AND length(VersioneDB)<=255))
);

-- ==================================================================
-- Operator registry (loaded from oper.tx1, compo.tx1, sediocc.tx1,
-- sediutil.tx1; widths are the cuts applied by the loader)
-- ==================================================================

-- Training agencies. Column 3 (Denominazione) is read by position at start-up.
-- Corrispondenza holds the Componente number of the agency's legal seat.
CREATE TABLE CorsiOper (
    GrupOpe TEXT NOT NULL CHECK (GrupOpe IS NULL OR (typeof(GrupOpe) IN ('text','integer','real') AND length(GrupOpe)<=1)),
    Operatore INTEGER NOT NULL CHECK (Operatore IS NULL OR typeof(Operatore)='integer' OR (typeof(Operatore)='text' AND Operatore<>'' AND Operatore NOT GLOB '*[^0-9]*')),
    Denominazione TEXT CHECK (Denominazione IS NULL OR (typeof(Denominazione) IN ('text','integer','real') AND length(Denominazione)<=100)),
    TipoOper TEXT CHECK (TipoOper IS NULL OR (typeof(TipoOper) IN ('text','integer','real') AND length(TipoOper)<=2)),
    CodFisc TEXT CHECK (CodFisc IS NULL OR (typeof(CodFisc) IN ('text','integer','real') AND length(CodFisc)<=16)),
    PIva TEXT CHECK (PIva IS NULL OR (typeof(PIva) IN ('text','integer','real') AND length(PIva)<=11)),
    LegNome TEXT CHECK (LegNome IS NULL OR (typeof(LegNome) IN ('text','integer','real') AND length(LegNome)<=35)),
    LegComNasc TEXT CHECK (LegComNasc IS NULL OR (typeof(LegComNasc) IN ('text','integer','real') AND length(LegComNasc)<=30)),
    LegProvNasc TEXT CHECK (LegProvNasc IS NULL OR (typeof(LegProvNasc) IN ('text','integer','real') AND length(LegProvNasc)<=2)),
    LegGGNasc TEXT CHECK (LegGGNasc IS NULL OR (typeof(LegGGNasc) IN ('text','integer','real') AND length(LegGGNasc)<=2)),
    LegMMNasc TEXT CHECK (LegMMNasc IS NULL OR (typeof(LegMMNasc) IN ('text','integer','real') AND length(LegMMNasc)<=2)),
    LegAAAANasc TEXT CHECK (LegAAAANasc IS NULL OR (typeof(LegAAAANasc) IN ('text','integer','real') AND length(LegAAAANasc)<=4)),
    ProvCCIAA TEXT CHECK (ProvCCIAA IS NULL OR (typeof(ProvCCIAA) IN ('text','integer','real') AND length(ProvCCIAA)<=2)),
    CodCCIAA TEXT CHECK (CodCCIAA IS NULL OR (typeof(CodCCIAA) IN ('text','integer','real') AND length(CodCCIAA)<=7)),
    AnnoCCIAA TEXT CHECK (AnnoCCIAA IS NULL OR (typeof(AnnoCCIAA) IN ('text','integer','real') AND length(AnnoCCIAA)<=4)),
    AttEcono INTEGER CHECK (AttEcono IS NULL OR typeof(AttEcono)='integer' OR (typeof(AttEcono)='text' AND AttEcono<>'' AND AttEcono NOT GLOB '*[^0-9]*')),
    Corrispondenza INTEGER CHECK (Corrispondenza IS NULL OR typeof(Corrispondenza)='integer' OR (typeof(Corrispondenza)='text' AND Corrispondenza<>'' AND Corrispondenza NOT GLOB '*[^0-9]*')),
    ContABI TEXT CHECK (ContABI IS NULL OR (typeof(ContABI) IN ('text','integer','real') AND length(ContABI)<=255)),
    ContDesBanca TEXT CHECK (ContDesBanca IS NULL OR (typeof(ContDesBanca) IN ('text','integer','real') AND length(ContDesBanca)<=255)),
    ContCAB TEXT CHECK (ContCAB IS NULL OR (typeof(ContCAB) IN ('text','integer','real') AND length(ContCAB)<=255)),
    ContAge TEXT CHECK (ContAge IS NULL OR (typeof(ContAge) IN ('text','integer','real') AND length(ContAge)<=255)),
    ContIndirAge TEXT CHECK (ContIndirAge IS NULL OR (typeof(ContIndirAge) IN ('text','integer','real') AND length(ContIndirAge)<=255)),
    ContNumCC TEXT CHECK (ContNumCC IS NULL OR (typeof(ContNumCC) IN ('text','integer','real') AND length(ContNumCC)<=255)),
    ContIntCC TEXT CHECK (ContIntCC IS NULL OR (typeof(ContIntCC) IN ('text','integer','real') AND length(ContIntCC)<=255)),
    ContCIN TEXT CHECK (ContCIN IS NULL OR (typeof(ContCIN) IN ('text','integer','real') AND length(ContCIN)<=255)),
    PRIMARY KEY (GrupOpe, Operatore)
);

-- Branches of the agencies; TipoCompo 'SL' marks the legal seat.
CREATE TABLE CorsiCompo (
    GrupOpe TEXT NOT NULL CHECK (GrupOpe IS NULL OR (typeof(GrupOpe) IN ('text','integer','real') AND length(GrupOpe)<=1)),
    Operatore INTEGER NOT NULL CHECK (Operatore IS NULL OR typeof(Operatore)='integer' OR (typeof(Operatore)='text' AND Operatore<>'' AND Operatore NOT GLOB '*[^0-9]*')),
    Componente INTEGER NOT NULL CHECK (Componente IS NULL OR typeof(Componente)='integer' OR (typeof(Componente)='text' AND Componente<>'' AND Componente NOT GLOB '*[^0-9]*')),
    TipoCompo TEXT CHECK (TipoCompo IS NULL OR (typeof(TipoCompo) IN ('text','integer','real') AND length(TipoCompo)<=2)),
    Denominazione TEXT CHECK (Denominazione IS NULL OR (typeof(Denominazione) IN ('text','integer','real') AND length(Denominazione)<=100)),
    CodComune TEXT CHECK (CodComune IS NULL OR (typeof(CodComune) IN ('text','integer','real') AND length(CodComune)<=6)),
    Cap TEXT CHECK (Cap IS NULL OR (typeof(Cap) IN ('text','integer','real') AND length(Cap)<=5)),
    Indirizzo TEXT CHECK (Indirizzo IS NULL OR (typeof(Indirizzo) IN ('text','integer','real') AND length(Indirizzo)<=50)),
    Tel TEXT CHECK (Tel IS NULL OR (typeof(Tel) IN ('text','integer','real') AND length(Tel)<=10)),
    Fax TEXT CHECK (Fax IS NULL OR (typeof(Fax) IN ('text','integer','real') AND length(Fax)<=10)),
    StatoEstero TEXT CHECK (StatoEstero IS NULL OR (typeof(StatoEstero) IN ('text','integer','real') AND length(StatoEstero)<=30)),
    CittaEstero TEXT CHECK (CittaEstero IS NULL OR (typeof(CittaEstero) IN ('text','integer','real') AND length(CittaEstero)<=30)),
    Email TEXT CHECK (Email IS NULL OR (typeof(Email) IN ('text','integer','real') AND length(Email)<=255)),
    Riferimento TEXT CHECK (Riferimento IS NULL OR (typeof(Riferimento) IN ('text','integer','real') AND length(Riferimento)<=255)),
    PRIMARY KEY (GrupOpe, Operatore, Componente)
);

-- Occasional venues.
CREATE TABLE CorsiSediOcc (
    SedeOcc INTEGER NOT NULL CHECK (SedeOcc IS NULL OR typeof(SedeOcc)='integer' OR (typeof(SedeOcc)='text' AND SedeOcc<>'' AND SedeOcc NOT GLOB '*[^0-9]*')),
    Denominazione TEXT CHECK (Denominazione IS NULL OR (typeof(Denominazione) IN ('text','integer','real') AND length(Denominazione)<=100)),
    Indirizzo TEXT CHECK (Indirizzo IS NULL OR (typeof(Indirizzo) IN ('text','integer','real') AND length(Indirizzo)<=50)),
    CodComune TEXT CHECK (CodComune IS NULL OR (typeof(CodComune) IN ('text','integer','real') AND length(CodComune)<=6)),
    Cap TEXT CHECK (Cap IS NULL OR (typeof(Cap) IN ('text','integer','real') AND length(Cap)<=5)),
    Pref TEXT CHECK (Pref IS NULL OR (typeof(Pref) IN ('text','integer','real') AND length(Pref)<=255)),
    Tel TEXT CHECK (Tel IS NULL OR (typeof(Tel) IN ('text','integer','real') AND length(Tel)<=10)),
    PrefFax TEXT CHECK (PrefFax IS NULL OR (typeof(PrefFax) IN ('text','integer','real') AND length(PrefFax)<=255)),
    Fax TEXT CHECK (Fax IS NULL OR (typeof(Fax) IN ('text','integer','real') AND length(Fax)<=10)),
    TipoCompo TEXT CHECK (TipoCompo IS NULL OR (typeof(TipoCompo) IN ('text','integer','real') AND length(TipoCompo)<=2)),
    PRIMARY KEY (SedeOcc)
);

-- Use of an occasional venue by a branch of an agency.
CREATE TABLE CorsiSediOccUtil (
    GrupOpe TEXT NOT NULL CHECK (GrupOpe IS NULL OR (typeof(GrupOpe) IN ('text','integer','real') AND length(GrupOpe)<=1)),
    Operatore INTEGER NOT NULL CHECK (Operatore IS NULL OR typeof(Operatore)='integer' OR (typeof(Operatore)='text' AND Operatore<>'' AND Operatore NOT GLOB '*[^0-9]*')),
    Componente INTEGER NOT NULL CHECK (Componente IS NULL OR typeof(Componente)='integer' OR (typeof(Componente)='text' AND Componente<>'' AND Componente NOT GLOB '*[^0-9]*')),
    SedeOcc INTEGER NOT NULL CHECK (SedeOcc IS NULL OR typeof(SedeOcc)='integer' OR (typeof(SedeOcc)='text' AND SedeOcc<>'' AND SedeOcc NOT GLOB '*[^0-9]*')),
    Email TEXT CHECK (Email IS NULL OR (typeof(Email) IN ('text','integer','real') AND length(Email)<=255)),
    Riferimento TEXT CHECK (Riferimento IS NULL OR (typeof(Riferimento) IN ('text','integer','real') AND length(Riferimento)<=255)),
    PRIMARY KEY (GrupOpe, Operatore, Componente, SedeOcc)
);

-- ==================================================================
-- Decoding tables (loaded from text files by position: the column
-- order below is the field order of the files; key columns first)
-- ==================================================================

CREATE TABLE Asse (
    CodAsse TEXT NOT NULL CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=500)),
    DesAsse TEXT CHECK (DesAsse IS NULL OR (typeof(DesAsse) IN ('text','integer','real') AND length(DesAsse)<=500)),
    PRIMARY KEY (CodAsse)
);

CREATE TABLE Misura (
    CodAsse TEXT NOT NULL CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=500)),
    CodMisura TEXT NOT NULL CHECK (CodMisura IS NULL OR (typeof(CodMisura) IN ('text','integer','real') AND length(CodMisura)<=500)),
    DesMisura TEXT CHECK (DesMisura IS NULL OR (typeof(DesMisura) IN ('text','integer','real') AND length(DesMisura)<=500)),
    PRIMARY KEY (CodAsse, CodMisura)
);

CREATE TABLE Azione (
    CodAsse TEXT NOT NULL CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=500)),
    CodMisura TEXT NOT NULL CHECK (CodMisura IS NULL OR (typeof(CodMisura) IN ('text','integer','real') AND length(CodMisura)<=500)),
    CodAzione TEXT NOT NULL CHECK (CodAzione IS NULL OR (typeof(CodAzione) IN ('text','integer','real') AND length(CodAzione)<=500)),
    DesAzione TEXT CHECK (DesAzione IS NULL OR (typeof(DesAzione) IN ('text','integer','real') AND length(DesAzione)<=500)),
    PRIMARY KEY (CodAsse, CodMisura, CodAzione)
);

CREATE TABLE Percorsi (
    CodPerc INTEGER NOT NULL CHECK (CodPerc IS NULL OR typeof(CodPerc)='integer' OR (typeof(CodPerc)='text' AND CodPerc<>'' AND CodPerc NOT GLOB '*[^0-9]*')),
    DesPerc TEXT CHECK (DesPerc IS NULL OR (typeof(DesPerc) IN ('text','integer','real') AND length(DesPerc)<=500)),
    TipoPerc TEXT CHECK (TipoPerc IS NULL OR (typeof(TipoPerc) IN ('text','integer','real') AND length(TipoPerc)<=500)),
    PRIMARY KEY (CodPerc)
);

CREATE TABLE AzioneDenomCorso (
    CodAsse TEXT NOT NULL CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=500)),
    CodMisura TEXT NOT NULL CHECK (CodMisura IS NULL OR (typeof(CodMisura) IN ('text','integer','real') AND length(CodMisura)<=500)),
    CodAzione TEXT NOT NULL CHECK (CodAzione IS NULL OR (typeof(CodAzione) IN ('text','integer','real') AND length(CodAzione)<=500)),
    CodDenom INTEGER NOT NULL CHECK (CodDenom IS NULL OR typeof(CodDenom)='integer' OR (typeof(CodDenom)='text' AND CodDenom<>'' AND CodDenom NOT GLOB '*[^0-9]*')),
    DesDenom TEXT CHECK (DesDenom IS NULL OR (typeof(DesDenom) IN ('text','integer','real') AND length(DesDenom)<=500)),
    PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodDenom)
);

CREATE TABLE AzionePercorsi (
    CodAsse TEXT NOT NULL CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=500)),
    CodMisura TEXT NOT NULL CHECK (CodMisura IS NULL OR (typeof(CodMisura) IN ('text','integer','real') AND length(CodMisura)<=500)),
    CodAzione TEXT NOT NULL CHECK (CodAzione IS NULL OR (typeof(CodAzione) IN ('text','integer','real') AND length(CodAzione)<=500)),
    CodPerc INTEGER NOT NULL CHECK (CodPerc IS NULL OR typeof(CodPerc)='integer' OR (typeof(CodPerc)='text' AND CodPerc<>'' AND CodPerc NOT GLOB '*[^0-9]*')),
    PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodPerc)
);

CREATE TABLE AttEcono (
    AttEcono INTEGER NOT NULL CHECK (AttEcono IS NULL OR typeof(AttEcono)='integer' OR (typeof(AttEcono)='text' AND AttEcono<>'' AND AttEcono NOT GLOB '*[^0-9]*')),
    DesAttEcono TEXT CHECK (DesAttEcono IS NULL OR (typeof(DesAttEcono) IN ('text','integer','real') AND length(DesAttEcono)<=500)),
    PRIMARY KEY (AttEcono)
);

CREATE TABLE Destin (
    CodDest INTEGER NOT NULL CHECK (CodDest IS NULL OR typeof(CodDest)='integer' OR (typeof(CodDest)='text' AND CodDest<>'' AND CodDest NOT GLOB '*[^0-9]*')),
    DesDest TEXT CHECK (DesDest IS NULL OR (typeof(DesDest) IN ('text','integer','real') AND length(DesDest)<=500)),
    PRIMARY KEY (CodDest)
);

CREATE TABLE AzioneDestin (
    CodAsse TEXT NOT NULL CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=500)),
    CodMisura TEXT NOT NULL CHECK (CodMisura IS NULL OR (typeof(CodMisura) IN ('text','integer','real') AND length(CodMisura)<=500)),
    CodAzione TEXT NOT NULL CHECK (CodAzione IS NULL OR (typeof(CodAzione) IN ('text','integer','real') AND length(CodAzione)<=500)),
    CodDest INTEGER NOT NULL CHECK (CodDest IS NULL OR typeof(CodDest)='integer' OR (typeof(CodDest)='text' AND CodDest<>'' AND CodDest NOT GLOB '*[^0-9]*')),
    PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodDest)
);

CREATE TABLE Bacino (
    CodBacino INTEGER NOT NULL CHECK (CodBacino IS NULL OR typeof(CodBacino)='integer' OR (typeof(CodBacino)='text' AND CodBacino<>'' AND CodBacino NOT GLOB '*[^0-9]*')),
    DesBacino TEXT CHECK (DesBacino IS NULL OR (typeof(DesBacino) IN ('text','integer','real') AND length(DesBacino)<=500)),
    Prov TEXT CHECK (Prov IS NULL OR (typeof(Prov) IN ('text','integer','real') AND length(Prov)<=500)),
    CentroImpiego TEXT CHECK (CentroImpiego IS NULL OR (typeof(CentroImpiego) IN ('text','integer','real') AND length(CentroImpiego)<=500)),
    PRIMARY KEY (CodBacino)
);

CREATE TABLE Certif (
    CodCert INTEGER NOT NULL CHECK (CodCert IS NULL OR typeof(CodCert)='integer' OR (typeof(CodCert)='text' AND CodCert<>'' AND CodCert NOT GLOB '*[^0-9]*')),
    DesCert TEXT CHECK (DesCert IS NULL OR (typeof(DesCert) IN ('text','integer','real') AND length(DesCert)<=500)),
    PRIMARY KEY (CodCert)
);

-- CodiceConversione is read by the course-registry export.
CREATE TABLE Comuni (
    CodComune TEXT NOT NULL CHECK (CodComune IS NULL OR (typeof(CodComune) IN ('text','integer','real') AND length(CodComune)<=500)),
    Denominazione TEXT CHECK (Denominazione IS NULL OR (typeof(Denominazione) IN ('text','integer','real') AND length(Denominazione)<=500)),
    PROV TEXT CHECK (PROV IS NULL OR (typeof(PROV) IN ('text','integer','real') AND length(PROV)<=500)),
    CodiceConversione TEXT CHECK (CodiceConversione IS NULL OR (typeof(CodiceConversione) IN ('text','integer','real') AND length(CodiceConversione)<=500)),
    Cap TEXT CHECK (Cap IS NULL OR (typeof(Cap) IN ('text','integer','real') AND length(Cap)<=500)),
    CodCatastale TEXT CHECK (CodCatastale IS NULL OR (typeof(CodCatastale) IN ('text','integer','real') AND length(CodCatastale)<=500)),
    Regione TEXT CHECK (Regione IS NULL OR (typeof(Regione) IN ('text','integer','real') AND length(Regione)<=500)),
    PRIMARY KEY (CodComune)
);

CREATE TABLE Comuni_Quartieri (
    ComIstat TEXT NOT NULL CHECK (ComIstat IS NULL OR (typeof(ComIstat) IN ('text','integer','real') AND length(ComIstat)<=500)),
    Cod_Quartiere INTEGER NOT NULL CHECK (Cod_Quartiere IS NULL OR typeof(Cod_Quartiere)='integer' OR (typeof(Cod_Quartiere)='text' AND Cod_Quartiere<>'' AND Cod_Quartiere NOT GLOB '*[^0-9]*')),
    DesQuartiere TEXT CHECK (DesQuartiere IS NULL OR (typeof(DesQuartiere) IN ('text','integer','real') AND length(DesQuartiere)<=500)),
    PRIMARY KEY (ComIstat, Cod_Quartiere)
);

CREATE TABLE Istituti (
    CodIsti INTEGER NOT NULL CHECK (CodIsti IS NULL OR typeof(CodIsti)='integer' OR (typeof(CodIsti)='text' AND CodIsti<>'' AND CodIsti NOT GLOB '*[^0-9]*')),
    DesIsti TEXT CHECK (DesIsti IS NULL OR (typeof(DesIsti) IN ('text','integer','real') AND length(DesIsti)<=500)),
    PRIMARY KEY (CodIsti)
);

CREATE TABLE Regioni (
    Regione TEXT NOT NULL CHECK (Regione IS NULL OR (typeof(Regione) IN ('text','integer','real') AND length(Regione)<=500)),
    DesRegione TEXT CHECK (DesRegione IS NULL OR (typeof(DesRegione) IN ('text','integer','real') AND length(DesRegione)<=500)),
    PRIMARY KEY (Regione)
);

CREATE TABLE Province (
    Prov TEXT NOT NULL CHECK (Prov IS NULL OR (typeof(Prov) IN ('text','integer','real') AND length(Prov)<=500)),
    DesProv TEXT CHECK (DesProv IS NULL OR (typeof(DesProv) IN ('text','integer','real') AND length(DesProv)<=500)),
    Regione TEXT CHECK (Regione IS NULL OR (typeof(Regione) IN ('text','integer','real') AND length(Regione)<=500)),
    CodIstatProv TEXT CHECK (CodIstatProv IS NULL OR (typeof(CodIstatProv) IN ('text','integer','real') AND length(CodIstatProv)<=500)),
    PRIMARY KEY (Prov)
);

CREATE TABLE Prov_Asse (
    Prov TEXT NOT NULL CHECK (Prov IS NULL OR (typeof(Prov) IN ('text','integer','real') AND length(Prov)<=500)),
    CodAsse TEXT NOT NULL CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=500)),
    PRIMARY KEY (Prov, CodAsse)
);

CREATE TABLE Prov_Misura (
    Prov TEXT NOT NULL CHECK (Prov IS NULL OR (typeof(Prov) IN ('text','integer','real') AND length(Prov)<=500)),
    CodAsse TEXT NOT NULL CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=500)),
    CodMisura TEXT NOT NULL CHECK (CodMisura IS NULL OR (typeof(CodMisura) IN ('text','integer','real') AND length(CodMisura)<=500)),
    PRIMARY KEY (Prov, CodAsse, CodMisura)
);

CREATE TABLE Prov_Azione (
    Prov TEXT NOT NULL CHECK (Prov IS NULL OR (typeof(Prov) IN ('text','integer','real') AND length(Prov)<=500)),
    CodAsse TEXT NOT NULL CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=500)),
    CodMisura TEXT NOT NULL CHECK (CodMisura IS NULL OR (typeof(CodMisura) IN ('text','integer','real') AND length(CodMisura)<=500)),
    CodAzione TEXT NOT NULL CHECK (CodAzione IS NULL OR (typeof(CodAzione) IN ('text','integer','real') AND length(CodAzione)<=500)),
    PRIMARY KEY (Prov, CodAsse, CodMisura, CodAzione)
);

-- LOGO holds a picture; the decoding-table loader never writes it.
CREATE TABLE ProvinceLoghiIndir (
    Prov TEXT NOT NULL CHECK (Prov IS NULL OR (typeof(Prov) IN ('text','integer','real') AND length(Prov)<=500)),
    DesEnte TEXT CHECK (DesEnte IS NULL OR (typeof(DesEnte) IN ('text','integer','real') AND length(DesEnte)<=500)),
    Indirizzo TEXT CHECK (Indirizzo IS NULL OR (typeof(Indirizzo) IN ('text','integer','real') AND length(Indirizzo)<=500)),
    Cap TEXT CHECK (Cap IS NULL OR (typeof(Cap) IN ('text','integer','real') AND length(Cap)<=500)),
    Citta TEXT CHECK (Citta IS NULL OR (typeof(Citta) IN ('text','integer','real') AND length(Citta)<=500)),
    Telefono TEXT CHECK (Telefono IS NULL OR (typeof(Telefono) IN ('text','integer','real') AND length(Telefono)<=500)),
    LOGO BLOB,
    PRIMARY KEY (Prov)
);

CREATE TABLE StatiEsteri (
    CodStato TEXT NOT NULL CHECK (CodStato IS NULL OR (typeof(CodStato) IN ('text','integer','real') AND length(CodStato)<=500)),
    DesStato TEXT CHECK (DesStato IS NULL OR (typeof(DesStato) IN ('text','integer','real') AND length(DesStato)<=500)),
    CodCatastale TEXT CHECK (CodCatastale IS NULL OR (typeof(CodCatastale) IN ('text','integer','real') AND length(CodCatastale)<=500)),
    PRIMARY KEY (CodStato)
);

CREATE TABLE TipoCompo (
    TipoCompo TEXT NOT NULL CHECK (TipoCompo IS NULL OR (typeof(TipoCompo) IN ('text','integer','real') AND length(TipoCompo)<=500)),
    Descrizione TEXT CHECK (Descrizione IS NULL OR (typeof(Descrizione) IN ('text','integer','real') AND length(Descrizione)<=500)),
    PRIMARY KEY (TipoCompo)
);

CREATE TABLE TipoOper (
    GrupOpe TEXT NOT NULL CHECK (GrupOpe IS NULL OR (typeof(GrupOpe) IN ('text','integer','real') AND length(GrupOpe)<=500)),
    TipoOper TEXT NOT NULL CHECK (TipoOper IS NULL OR (typeof(TipoOper) IN ('text','integer','real') AND length(TipoOper)<=500)),
    Descrizione TEXT CHECK (Descrizione IS NULL OR (typeof(Descrizione) IN ('text','integer','real') AND length(Descrizione)<=500)),
    PRIMARY KEY (GrupOpe, TipoOper)
);

-- A single row, no key: each loaded line overwrites it. 14 fields
-- (12 when loaded at start-up).
CREATE TABLE MassimaliPar (
    Massimale01 TEXT CHECK (Massimale01 IS NULL OR (typeof(Massimale01) IN ('text','integer','real') AND length(Massimale01)<=500)),
    Massimale02 TEXT CHECK (Massimale02 IS NULL OR (typeof(Massimale02) IN ('text','integer','real') AND length(Massimale02)<=500)),
    Massimale03 TEXT CHECK (Massimale03 IS NULL OR (typeof(Massimale03) IN ('text','integer','real') AND length(Massimale03)<=500)),
    Massimale04 TEXT CHECK (Massimale04 IS NULL OR (typeof(Massimale04) IN ('text','integer','real') AND length(Massimale04)<=500)),
    Massimale05 TEXT CHECK (Massimale05 IS NULL OR (typeof(Massimale05) IN ('text','integer','real') AND length(Massimale05)<=500)),
    Massimale06 TEXT CHECK (Massimale06 IS NULL OR (typeof(Massimale06) IN ('text','integer','real') AND length(Massimale06)<=500)),
    Massimale07 TEXT CHECK (Massimale07 IS NULL OR (typeof(Massimale07) IN ('text','integer','real') AND length(Massimale07)<=500)),
    Massimale08 TEXT CHECK (Massimale08 IS NULL OR (typeof(Massimale08) IN ('text','integer','real') AND length(Massimale08)<=500)),
    Massimale09 TEXT CHECK (Massimale09 IS NULL OR (typeof(Massimale09) IN ('text','integer','real') AND length(Massimale09)<=500)),
    Massimale10 TEXT CHECK (Massimale10 IS NULL OR (typeof(Massimale10) IN ('text','integer','real') AND length(Massimale10)<=500)),
    Massimale11 TEXT CHECK (Massimale11 IS NULL OR (typeof(Massimale11) IN ('text','integer','real') AND length(Massimale11)<=500)),
    Massimale12 TEXT CHECK (Massimale12 IS NULL OR (typeof(Massimale12) IN ('text','integer','real') AND length(Massimale12)<=500)),
    Massimale13 TEXT CHECK (Massimale13 IS NULL OR (typeof(Massimale13) IN ('text','integer','real') AND length(Massimale13)<=500)),
    Massimale14 TEXT CHECK (Massimale14 IS NULL OR (typeof(Massimale14) IN ('text','integer','real') AND length(Massimale14)<=500))
);

CREATE TABLE CentroCostoSpesa (
    CodCentro INTEGER NOT NULL CHECK (CodCentro IS NULL OR typeof(CodCentro)='integer' OR (typeof(CodCentro)='text' AND CodCentro<>'' AND CodCentro NOT GLOB '*[^0-9]*')),
    CodSpesa INTEGER NOT NULL CHECK (CodSpesa IS NULL OR typeof(CodSpesa)='integer' OR (typeof(CodSpesa)='text' AND CodSpesa<>'' AND CodSpesa NOT GLOB '*[^0-9]*')),
    DesSpesa TEXT CHECK (DesSpesa IS NULL OR (typeof(DesSpesa) IN ('text','integer','real') AND length(DesSpesa)<=500)),
    PRIMARY KEY (CodCentro, CodSpesa)
);

-- ==================================================================
-- Course-proposal tables (owned by the course-proposal application of
-- the same family; read here)
-- ==================================================================

-- Applications. DomandaStampata is a yes/no flag stored as 0 or 1.
CREATE TABLE Domande (
    NumDoma INTEGER NOT NULL CHECK (NumDoma IS NULL OR typeof(NumDoma)='integer' OR (typeof(NumDoma)='text' AND NumDoma<>'' AND NumDoma NOT GLOB '*[^0-9]*')),
    GrupOpe TEXT CHECK (GrupOpe IS NULL OR (typeof(GrupOpe) IN ('text','integer','real') AND length(GrupOpe)<=1)),
    Operatore INTEGER CHECK (Operatore IS NULL OR typeof(Operatore)='integer' OR (typeof(Operatore)='text' AND Operatore<>'' AND Operatore NOT GLOB '*[^0-9]*')),
    PROV TEXT CHECK (PROV IS NULL OR (typeof(PROV) IN ('text','integer','real') AND length(PROV)<=2)),
    DomandaStampata INTEGER CHECK (DomandaStampata IS NULL OR DomandaStampata IN (0,1)),
    PRIMARY KEY (NumDoma)
);

-- Course proposals, one row per proposal, identified by Guid for the
-- course-registry export. Corso is the provisional progressive number of the
-- activity; SedeInteressata and CompoResp are venue / branch numbers; ATI is a
-- yes/no flag (temporary association of agencies).
CREATE TABLE CorsiProp (
    NumDoma INTEGER CHECK (NumDoma IS NULL OR typeof(NumDoma)='integer' OR (typeof(NumDoma)='text' AND NumDoma<>'' AND NumDoma NOT GLOB '*[^0-9]*')),
    GrupOpe TEXT CHECK (GrupOpe IS NULL OR (typeof(GrupOpe) IN ('text','integer','real') AND length(GrupOpe)<=1)),
    Operatore INTEGER CHECK (Operatore IS NULL OR typeof(Operatore)='integer' OR (typeof(Operatore)='text' AND Operatore<>'' AND Operatore NOT GLOB '*[^0-9]*')),
    Corso INTEGER CHECK (Corso IS NULL OR typeof(Corso)='integer' OR (typeof(Corso)='text' AND Corso<>'' AND Corso NOT GLOB '*[^0-9]*')),
    SedeInteressata INTEGER CHECK (SedeInteressata IS NULL OR typeof(SedeInteressata)='integer' OR (typeof(SedeInteressata)='text' AND SedeInteressata<>'' AND SedeInteressata NOT GLOB '*[^0-9]*')),
    CompoResp INTEGER CHECK (CompoResp IS NULL OR typeof(CompoResp)='integer' OR (typeof(CompoResp)='text' AND CompoResp<>'' AND CompoResp NOT GLOB '*[^0-9]*')),
    CodQualif TEXT CHECK (CodQualif IS NULL OR (typeof(CodQualif) IN ('text','integer','real') AND length(CodQualif)<=255)),
    DenCorso TEXT CHECK (DenCorso IS NULL OR (typeof(DenCorso) IN ('text','integer','real') AND length(DenCorso)<=255)),
    CodAsse TEXT CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=255)),
    CodMisura TEXT CHECK (CodMisura IS NULL OR (typeof(CodMisura) IN ('text','integer','real') AND length(CodMisura)<=255)),
    CodAzione TEXT CHECK (CodAzione IS NULL OR (typeof(CodAzione) IN ('text','integer','real') AND length(CodAzione)<=255)),
    CodDest INTEGER CHECK (CodDest IS NULL OR typeof(CodDest)='integer' OR (typeof(CodDest)='text' AND CodDest<>'' AND CodDest NOT GLOB '*[^0-9]*')),
    CodDest2 INTEGER CHECK (CodDest2 IS NULL OR typeof(CodDest2)='integer' OR (typeof(CodDest2)='text' AND CodDest2<>'' AND CodDest2 NOT GLOB '*[^0-9]*')),
    CodCert INTEGER CHECK (CodCert IS NULL OR typeof(CodCert)='integer' OR (typeof(CodCert)='text' AND CodCert<>'' AND CodCert NOT GLOB '*[^0-9]*')),
    CodPerc INTEGER CHECK (CodPerc IS NULL OR typeof(CodPerc)='integer' OR (typeof(CodPerc)='text' AND CodPerc<>'' AND CodPerc NOT GLOB '*[^0-9]*')),
    CodSetto TEXT CHECK (CodSetto IS NULL OR (typeof(CodSetto) IN ('text','integer','real') AND length(CodSetto)<=255)),
    CodComp TEXT CHECK (CodComp IS NULL OR (typeof(CodComp) IN ('text','integer','real') AND length(CodComp)<=255)),
    CodInd TEXT CHECK (CodInd IS NULL OR (typeof(CodInd) IN ('text','integer','real') AND length(CodInd)<=255)),
    DesInd TEXT CHECK (DesInd IS NULL OR (typeof(DesInd) IN ('text','integer','real') AND length(DesInd)<=255)),
    NumAll INTEGER CHECK (NumAll IS NULL OR typeof(NumAll)='integer' OR (typeof(NumAll)='text' AND NumAll<>'' AND NumAll NOT GLOB '*[^0-9]*')),
    TotOreIter INTEGER CHECK (TotOreIter IS NULL OR typeof(TotOreIter)='integer' OR (typeof(TotOreIter)='text' AND TotOreIter<>'' AND TotOreIter NOT GLOB '*[^0-9]*')),
    DurataTotIter INTEGER CHECK (DurataTotIter IS NULL OR typeof(DurataTotIter)='integer' OR (typeof(DurataTotIter)='text' AND DurataTotIter<>'' AND DurataTotIter NOT GLOB '*[^0-9]*')),
    OreStage INTEGER CHECK (OreStage IS NULL OR typeof(OreStage)='integer' OR (typeof(OreStage)='text' AND OreStage<>'' AND OreStage NOT GLOB '*[^0-9]*')),
    CorsoRifC211B TEXT CHECK (CorsoRifC211B IS NULL OR (typeof(CorsoRifC211B) IN ('text','integer','real') AND length(CorsoRifC211B)<=255)),
    CodIsti INTEGER CHECK (CodIsti IS NULL OR typeof(CodIsti)='integer' OR (typeof(CodIsti)='text' AND CodIsti<>'' AND CodIsti NOT GLOB '*[^0-9]*')),
    IstitutoLibero TEXT CHECK (IstitutoLibero IS NULL OR (typeof(IstitutoLibero) IN ('text','integer','real') AND length(IstitutoLibero)<=255)),
    IdAttivita_CorsoRifB111 INTEGER CHECK (IdAttivita_CorsoRifB111 IS NULL OR typeof(IdAttivita_CorsoRifB111)='integer' OR (typeof(IdAttivita_CorsoRifB111)='text' AND IdAttivita_CorsoRifB111<>'' AND IdAttivita_CorsoRifB111 NOT GLOB '*[^0-9]*')),
    ATI INTEGER CHECK (ATI IS NULL OR ATI IN (0,1)),
    a1_ParamA1 REAL CHECK (a1_ParamA1 IS NULL OR typeof(a1_ParamA1) IN ('integer','real') OR (typeof(a1_ParamA1)='text' AND a1_ParamA1<>'' AND a1_ParamA1 NOT GLOB '*[^0-9.]*' AND a1_ParamA1 NOT GLOB '*.*.*')),
    a1_Ore INTEGER CHECK (a1_Ore IS NULL OR typeof(a1_Ore)='integer' OR (typeof(a1_Ore)='text' AND a1_Ore<>'' AND a1_Ore NOT GLOB '*[^0-9]*')),
    a1_ParamC1 REAL CHECK (a1_ParamC1 IS NULL OR typeof(a1_ParamC1) IN ('integer','real') OR (typeof(a1_ParamC1)='text' AND a1_ParamC1<>'' AND a1_ParamC1 NOT GLOB '*[^0-9.]*' AND a1_ParamC1 NOT GLOB '*.*.*')),
    a1_ParamA2 REAL CHECK (a1_ParamA2 IS NULL OR typeof(a1_ParamA2) IN ('integer','real') OR (typeof(a1_ParamA2)='text' AND a1_ParamA2<>'' AND a1_ParamA2 NOT GLOB '*[^0-9.]*' AND a1_ParamA2 NOT GLOB '*.*.*')),
    a1_ParamA3 REAL CHECK (a1_ParamA3 IS NULL OR typeof(a1_ParamA3) IN ('integer','real') OR (typeof(a1_ParamA3)='text' AND a1_ParamA3<>'' AND a1_ParamA3 NOT GLOB '*[^0-9.]*' AND a1_ParamA3 NOT GLOB '*.*.*')),
    a2_ParamA1 REAL CHECK (a2_ParamA1 IS NULL OR typeof(a2_ParamA1) IN ('integer','real') OR (typeof(a2_ParamA1)='text' AND a2_ParamA1<>'' AND a2_ParamA1 NOT GLOB '*[^0-9.]*' AND a2_ParamA1 NOT GLOB '*.*.*')),
    a2_Ore INTEGER CHECK (a2_Ore IS NULL OR typeof(a2_Ore)='integer' OR (typeof(a2_Ore)='text' AND a2_Ore<>'' AND a2_Ore NOT GLOB '*[^0-9]*')),
    a2_ParamC1 REAL CHECK (a2_ParamC1 IS NULL OR typeof(a2_ParamC1) IN ('integer','real') OR (typeof(a2_ParamC1)='text' AND a2_ParamC1<>'' AND a2_ParamC1 NOT GLOB '*[^0-9.]*' AND a2_ParamC1 NOT GLOB '*.*.*')),
    a3_ParamA1 REAL CHECK (a3_ParamA1 IS NULL OR typeof(a3_ParamA1) IN ('integer','real') OR (typeof(a3_ParamA1)='text' AND a3_ParamA1<>'' AND a3_ParamA1 NOT GLOB '*[^0-9.]*' AND a3_ParamA1 NOT GLOB '*.*.*')),
    a3_Ore INTEGER CHECK (a3_Ore IS NULL OR typeof(a3_Ore)='integer' OR (typeof(a3_Ore)='text' AND a3_Ore<>'' AND a3_Ore NOT GLOB '*[^0-9]*')),
    a3_ParamC1 REAL CHECK (a3_ParamC1 IS NULL OR typeof(a3_ParamC1) IN ('integer','real') OR (typeof(a3_ParamC1)='text' AND a3_ParamC1<>'' AND a3_ParamC1 NOT GLOB '*[^0-9.]*' AND a3_ParamC1 NOT GLOB '*.*.*')),
    Guid TEXT CHECK (Guid IS NULL OR (typeof(Guid) IN ('text','integer','real') AND length(Guid)<=255)),
    Guid_anno1 TEXT CHECK (Guid_anno1 IS NULL OR (typeof(Guid_anno1) IN ('text','integer','real') AND length(Guid_anno1)<=255)),
    Guid_anno2 TEXT CHECK (Guid_anno2 IS NULL OR (typeof(Guid_anno2) IN ('text','integer','real') AND length(Guid_anno2)<=255)),
    Guid_anno3 TEXT CHECK (Guid_anno3 IS NULL OR (typeof(Guid_anno3) IN ('text','integer','real') AND length(Guid_anno3)<=255))
);

-- Qualification names.
CREATE TABLE Qualifi (
    CodQualif TEXT NOT NULL CHECK (CodQualif IS NULL OR (typeof(CodQualif) IN ('text','integer','real') AND length(CodQualif)<=255)),
    DesQualif TEXT CHECK (DesQualif IS NULL OR (typeof(DesQualif) IN ('text','integer','real') AND length(DesQualif)<=255)),
    PRIMARY KEY (CodQualif)
);

-- ==================================================================
-- Approved courses
-- ==================================================================

CREATE TABLE CorsiApprovati (
    IdAttivita INTEGER NOT NULL CHECK (IdAttivita IS NULL OR typeof(IdAttivita)='integer' OR (typeof(IdAttivita)='text' AND IdAttivita<>'' AND IdAttivita NOT GLOB '*[^0-9]*')),
    GrupOpe TEXT CHECK (GrupOpe IS NULL OR (typeof(GrupOpe) IN ('text','integer','real') AND length(GrupOpe)<=1)),
    Operatore INTEGER CHECK (Operatore IS NULL OR typeof(Operatore)='integer' OR (typeof(Operatore)='text' AND Operatore<>'' AND Operatore NOT GLOB '*[^0-9]*')),
    Componente INTEGER CHECK (Componente IS NULL OR typeof(Componente)='integer' OR (typeof(Componente)='text' AND Componente<>'' AND Componente NOT GLOB '*[^0-9]*')),
    SedeOcca INTEGER CHECK (SedeOcca IS NULL OR typeof(SedeOcca)='integer' OR (typeof(SedeOcca)='text' AND SedeOcca<>'' AND SedeOcca NOT GLOB '*[^0-9]*')),
    ProgrAttivita INTEGER CHECK (ProgrAttivita IS NULL OR typeof(ProgrAttivita)='integer' OR (typeof(ProgrAttivita)='text' AND ProgrAttivita<>'' AND ProgrAttivita NOT GLOB '*[^0-9]*')),
    AnnoInizio INTEGER CHECK (AnnoInizio IS NULL OR typeof(AnnoInizio)='integer' OR (typeof(AnnoInizio)='text' AND AnnoInizio<>'' AND AnnoInizio NOT GLOB '*[^0-9]*')),
    ProgrAccorp INTEGER CHECK (ProgrAccorp IS NULL OR typeof(ProgrAccorp)='integer' OR (typeof(ProgrAccorp)='text' AND ProgrAccorp<>'' AND ProgrAccorp NOT GLOB '*[^0-9]*')),
    AnnGest INTEGER CHECK (AnnGest IS NULL OR typeof(AnnGest)='integer' OR (typeof(AnnGest)='text' AND AnnGest<>'' AND AnnGest NOT GLOB '*[^0-9]*')),
    DenCorso TEXT CHECK (DenCorso IS NULL OR (typeof(DenCorso) IN ('text','integer','real') AND length(DenCorso)<=255)),
    DurataAnnOre INTEGER CHECK (DurataAnnOre IS NULL OR typeof(DurataAnnOre)='integer' OR (typeof(DurataAnnOre)='text' AND DurataAnnOre<>'' AND DurataAnnOre NOT GLOB '*[^0-9]*')),
    TotIter INTEGER CHECK (TotIter IS NULL OR typeof(TotIter)='integer' OR (typeof(TotIter)='text' AND TotIter<>'' AND TotIter NOT GLOB '*[^0-9]*')),
    Durata INTEGER CHECK (Durata IS NULL OR typeof(Durata)='integer' OR (typeof(Durata)='text' AND Durata<>'' AND Durata NOT GLOB '*[^0-9]*')),
    ProvviProgAtt INTEGER CHECK (ProvviProgAtt IS NULL OR typeof(ProvviProgAtt)='integer' OR (typeof(ProvviProgAtt)='text' AND ProvviProgAtt<>'' AND ProvviProgAtt NOT GLOB '*[^0-9]*')),
    Prov TEXT CHECK (Prov IS NULL OR (typeof(Prov) IN ('text','integer','real') AND length(Prov)<=2)),
    TipoConv TEXT CHECK (TipoConv IS NULL OR (typeof(TipoConv) IN ('text','integer','real') AND length(TipoConv)<=255)),
    PRIMARY KEY (IdAttivita)
);

-- ==================================================================
-- End-of-course tables
-- ==================================================================

-- One end-of-course record per approved course (IdAttivita as in
-- CorsiApprovati). Stato: 'APERTO', 'CHIUSO', 'TRASMESSO'. Dates are day,
-- month and year texts. The course chooser's columns come first, in its order.
CREATE TABLE KELDCorsiDef (
    IdAttivita INTEGER NOT NULL CHECK (IdAttivita IS NULL OR typeof(IdAttivita)='integer' OR (typeof(IdAttivita)='text' AND IdAttivita<>'' AND IdAttivita NOT GLOB '*[^0-9]*')),
    GrupOpe TEXT CHECK (GrupOpe IS NULL OR (typeof(GrupOpe) IN ('text','integer','real') AND length(GrupOpe)<=1)),
    Operatore INTEGER CHECK (Operatore IS NULL OR typeof(Operatore)='integer' OR (typeof(Operatore)='text' AND Operatore<>'' AND Operatore NOT GLOB '*[^0-9]*')),
    ProgrAttivita INTEGER CHECK (ProgrAttivita IS NULL OR typeof(ProgrAttivita)='integer' OR (typeof(ProgrAttivita)='text' AND ProgrAttivita<>'' AND ProgrAttivita NOT GLOB '*[^0-9]*')),
    DenCorso TEXT CHECK (DenCorso IS NULL OR (typeof(DenCorso) IN ('text','integer','real') AND length(DenCorso)<=255)),
    DataInizioGG TEXT CHECK (DataInizioGG IS NULL OR (typeof(DataInizioGG) IN ('text','integer','real') AND length(DataInizioGG)<=2)),
    DataInizioMM TEXT CHECK (DataInizioMM IS NULL OR (typeof(DataInizioMM) IN ('text','integer','real') AND length(DataInizioMM)<=2)),
    DataInizioAAAA TEXT CHECK (DataInizioAAAA IS NULL OR (typeof(DataInizioAAAA) IN ('text','integer','real') AND length(DataInizioAAAA)<=4)),
    DataFineEffGG TEXT CHECK (DataFineEffGG IS NULL OR (typeof(DataFineEffGG) IN ('text','integer','real') AND length(DataFineEffGG)<=2)),
    DataFineEffMM TEXT CHECK (DataFineEffMM IS NULL OR (typeof(DataFineEffMM) IN ('text','integer','real') AND length(DataFineEffMM)<=2)),
    DataFineEffAAAA TEXT CHECK (DataFineEffAAAA IS NULL OR (typeof(DataFineEffAAAA) IN ('text','integer','real') AND length(DataFineEffAAAA)<=4)),
    TotIter INTEGER CHECK (TotIter IS NULL OR typeof(TotIter)='integer' OR (typeof(TotIter)='text' AND TotIter<>'' AND TotIter NOT GLOB '*[^0-9]*')),
    TotMaschi INTEGER CHECK (TotMaschi IS NULL OR typeof(TotMaschi)='integer' OR (typeof(TotMaschi)='text' AND TotMaschi<>'' AND TotMaschi NOT GLOB '*[^0-9]*')),
    TotFemmine INTEGER CHECK (TotFemmine IS NULL OR typeof(TotFemmine)='integer' OR (typeof(TotFemmine)='text' AND TotFemmine<>'' AND TotFemmine NOT GLOB '*[^0-9]*')),
    TotMaschiH INTEGER CHECK (TotMaschiH IS NULL OR typeof(TotMaschiH)='integer' OR (typeof(TotMaschiH)='text' AND TotMaschiH<>'' AND TotMaschiH NOT GLOB '*[^0-9]*')),
    TotFemmineH INTEGER CHECK (TotFemmineH IS NULL OR typeof(TotFemmineH)='integer' OR (typeof(TotFemmineH)='text' AND TotFemmineH<>'' AND TotFemmineH NOT GLOB '*[^0-9]*')),
    AmmessiM INTEGER CHECK (AmmessiM IS NULL OR typeof(AmmessiM)='integer' OR (typeof(AmmessiM)='text' AND AmmessiM<>'' AND AmmessiM NOT GLOB '*[^0-9]*')),
    AmmessiF INTEGER CHECK (AmmessiF IS NULL OR typeof(AmmessiF)='integer' OR (typeof(AmmessiF)='text' AND AmmessiF<>'' AND AmmessiF NOT GLOB '*[^0-9]*')),
    AmmessiMH INTEGER CHECK (AmmessiMH IS NULL OR typeof(AmmessiMH)='integer' OR (typeof(AmmessiMH)='text' AND AmmessiMH<>'' AND AmmessiMH NOT GLOB '*[^0-9]*')),
    AmmessiFH INTEGER CHECK (AmmessiFH IS NULL OR typeof(AmmessiFH)='integer' OR (typeof(AmmessiFH)='text' AND AmmessiFH<>'' AND AmmessiFH NOT GLOB '*[^0-9]*')),
    RitiratiM INTEGER CHECK (RitiratiM IS NULL OR typeof(RitiratiM)='integer' OR (typeof(RitiratiM)='text' AND RitiratiM<>'' AND RitiratiM NOT GLOB '*[^0-9]*')),
    RitiratiF INTEGER CHECK (RitiratiF IS NULL OR typeof(RitiratiF)='integer' OR (typeof(RitiratiF)='text' AND RitiratiF<>'' AND RitiratiF NOT GLOB '*[^0-9]*')),
    RitiratiMH INTEGER CHECK (RitiratiMH IS NULL OR typeof(RitiratiMH)='integer' OR (typeof(RitiratiMH)='text' AND RitiratiMH<>'' AND RitiratiMH NOT GLOB '*[^0-9]*')),
    RitiratiFH INTEGER CHECK (RitiratiFH IS NULL OR typeof(RitiratiFH)='integer' OR (typeof(RitiratiFH)='text' AND RitiratiFH<>'' AND RitiratiFH NOT GLOB '*[^0-9]*')),
    Stato TEXT CHECK (Stato IS NULL OR (typeof(Stato) IN ('text','integer','real') AND length(Stato)<=255)),
    NonAmmessiM INTEGER CHECK (NonAmmessiM IS NULL OR typeof(NonAmmessiM)='integer' OR (typeof(NonAmmessiM)='text' AND NonAmmessiM<>'' AND NonAmmessiM NOT GLOB '*[^0-9]*')),
    NonAmmessiF INTEGER CHECK (NonAmmessiF IS NULL OR typeof(NonAmmessiF)='integer' OR (typeof(NonAmmessiF)='text' AND NonAmmessiF<>'' AND NonAmmessiF NOT GLOB '*[^0-9]*')),
    NonAmmessiMH INTEGER CHECK (NonAmmessiMH IS NULL OR typeof(NonAmmessiMH)='integer' OR (typeof(NonAmmessiMH)='text' AND NonAmmessiMH<>'' AND NonAmmessiMH NOT GLOB '*[^0-9]*')),
    NonAmmessiFH INTEGER CHECK (NonAmmessiFH IS NULL OR typeof(NonAmmessiFH)='integer' OR (typeof(NonAmmessiFH)='text' AND NonAmmessiFH<>'' AND NonAmmessiFH NOT GLOB '*[^0-9]*')),
    Componente INTEGER CHECK (Componente IS NULL OR typeof(Componente)='integer' OR (typeof(Componente)='text' AND Componente<>'' AND Componente NOT GLOB '*[^0-9]*')),
    SedeOcca INTEGER CHECK (SedeOcca IS NULL OR typeof(SedeOcca)='integer' OR (typeof(SedeOcca)='text' AND SedeOcca<>'' AND SedeOcca NOT GLOB '*[^0-9]*')),
    CodObiet TEXT CHECK (CodObiet IS NULL OR (typeof(CodObiet) IN ('text','integer','real') AND length(CodObiet)<=255)),
    CodAsse TEXT CHECK (CodAsse IS NULL OR (typeof(CodAsse) IN ('text','integer','real') AND length(CodAsse)<=255)),
    CodSubAsse TEXT CHECK (CodSubAsse IS NULL OR (typeof(CodSubAsse) IN ('text','integer','real') AND length(CodSubAsse)<=255)),
    NumGiornate INTEGER CHECK (NumGiornate IS NULL OR typeof(NumGiornate)='integer' OR (typeof(NumGiornate)='text' AND NumGiornate<>'' AND NumGiornate NOT GLOB '*[^0-9]*')),
    NumOreGiornata REAL CHECK (NumOreGiornata IS NULL OR typeof(NumOreGiornata) IN ('integer','real') OR (typeof(NumOreGiornata)='text' AND NumOreGiornata<>'' AND NumOreGiornata NOT GLOB '*[^0-9.]*' AND NumOreGiornata NOT GLOB '*.*.*')),
    CostoCorso REAL CHECK (CostoCorso IS NULL OR typeof(CostoCorso) IN ('integer','real') OR (typeof(CostoCorso)='text' AND CostoCorso<>'' AND CostoCorso NOT GLOB '*[^0-9.]*' AND CostoCorso NOT GLOB '*.*.*')),
    CreditoFormativo REAL CHECK (CreditoFormativo IS NULL OR typeof(CreditoFormativo) IN ('integer','real') OR (typeof(CreditoFormativo)='text' AND CreditoFormativo<>'' AND CreditoFormativo NOT GLOB '*[^0-9.]*' AND CreditoFormativo NOT GLOB '*.*.*')),
    codTipologiaOrg TEXT CHECK (codTipologiaOrg IS NULL OR (typeof(codTipologiaOrg) IN ('text','integer','real') AND length(codTipologiaOrg)<=1)),
    codAreaFormativa TEXT CHECK (codAreaFormativa IS NULL OR (typeof(codAreaFormativa) IN ('text','integer','real') AND length(codAreaFormativa)<=2)),
    codSubAreaFormativa TEXT CHECK (codSubAreaFormativa IS NULL OR (typeof(codSubAreaFormativa) IN ('text','integer','real') AND length(codSubAreaFormativa)<=255)),
    codSegmentoForm TEXT CHECK (codSegmentoForm IS NULL OR (typeof(codSegmentoForm) IN ('text','integer','real') AND length(codSegmentoForm)<=2)),
    PRIMARY KEY (IdAttivita)
);

-- Participants of a course, identified within the course by their tax code.
-- Giudizio ' ' (one blank) = not yet handled, '0', '8', '9'. Matricola holds
-- the text 'null' when the server sent no enrolment number. The participant
-- list's columns come first, in its order.
CREATE TABLE KELDAnagFreq (
    IdAttivita INTEGER NOT NULL CHECK (IdAttivita IS NULL OR typeof(IdAttivita)='integer' OR (typeof(IdAttivita)='text' AND IdAttivita<>'' AND IdAttivita NOT GLOB '*[^0-9]*')),
    CodFiscale TEXT NOT NULL CHECK (CodFiscale IS NULL OR (typeof(CodFiscale) IN ('text','integer','real') AND length(CodFiscale)<=16)),
    Cognome TEXT CHECK (Cognome IS NULL OR (typeof(Cognome) IN ('text','integer','real') AND length(Cognome)<=255)),
    Nome TEXT CHECK (Nome IS NULL OR (typeof(Nome) IN ('text','integer','real') AND length(Nome)<=255)),
    Sesso TEXT CHECK (Sesso IS NULL OR (typeof(Sesso) IN ('text','integer','real') AND length(Sesso)<=1)),
    Matricola TEXT CHECK (Matricola IS NULL OR (typeof(Matricola) IN ('text','integer','real') AND length(Matricola)<=255)),
    OreAssenza INTEGER CHECK (OreAssenza IS NULL OR typeof(OreAssenza)='integer' OR (typeof(OreAssenza)='text' AND OreAssenza<>'' AND OreAssenza NOT GLOB '*[^0-9]*')),
    Giudizio TEXT CHECK (Giudizio IS NULL OR (typeof(Giudizio) IN ('text','integer','real') AND length(Giudizio)<=1)),
    DescizioneGiudizio TEXT CHECK (DescizioneGiudizio IS NULL OR (typeof(DescizioneGiudizio) IN ('text','integer','real') AND length(DescizioneGiudizio)<=255)),
    codAreaFormativa TEXT CHECK (codAreaFormativa IS NULL OR (typeof(codAreaFormativa) IN ('text','integer','real') AND length(codAreaFormativa)<=2)),
    codTipologiaOrg TEXT CHECK (codTipologiaOrg IS NULL OR (typeof(codTipologiaOrg) IN ('text','integer','real') AND length(codTipologiaOrg)<=1)),
    Handicap INTEGER CHECK (Handicap IS NULL OR typeof(Handicap)='integer' OR (typeof(Handicap)='text' AND Handicap<>'' AND Handicap NOT GLOB '*[^0-9]*')),
    OrePresenzaEffettiva INTEGER CHECK (OrePresenzaEffettiva IS NULL OR typeof(OrePresenzaEffettiva)='integer' OR (typeof(OrePresenzaEffettiva)='text' AND OrePresenzaEffettiva<>'' AND OrePresenzaEffettiva NOT GLOB '*[^0-9]*')),
    codPartec INTEGER CHECK (codPartec IS NULL OR typeof(codPartec)='integer' OR (typeof(codPartec)='text' AND codPartec<>'' AND codPartec NOT GLOB '*[^0-9]*')),
    DescPartec TEXT CHECK (DescPartec IS NULL OR (typeof(DescPartec) IN ('text','integer','real') AND length(DescPartec)<=255)),
    CredFormValut REAL CHECK (CredFormValut IS NULL OR typeof(CredFormValut) IN ('integer','real') OR (typeof(CredFormValut)='text' AND CredFormValut<>'' AND CredFormValut NOT GLOB '*[^0-9.]*' AND CredFormValut NOT GLOB '*.*.*')),
    PRIMARY KEY (IdAttivita, CodFiscale)
);

-- ==================================================================
-- End-of-course lookup tables
-- ==================================================================

-- Judgements of the final test.
CREATE TABLE KELDGiudizi (
    Valore TEXT NOT NULL CHECK (Valore IS NULL OR (typeof(Valore) IN ('text','integer','real') AND length(Valore)<=1)),
    Descrizione TEXT CHECK (Descrizione IS NULL OR (typeof(Descrizione) IN ('text','integer','real') AND length(Descrizione)<=255)),
    PRIMARY KEY (Valore)
);

-- Reasons for a negative judgement.
CREATE TABLE KELDCausaleGiudizioNegativo (
    codCausale INTEGER NOT NULL CHECK (codCausale IS NULL OR typeof(codCausale)='integer' OR (typeof(codCausale)='text' AND codCausale<>'' AND codCausale NOT GLOB '*[^0-9]*')),
    Descrizione TEXT CHECK (Descrizione IS NULL OR (typeof(Descrizione) IN ('text','integer','real') AND length(Descrizione)<=255)),
    PRIMARY KEY (codCausale)
);

-- Training areas.
CREATE TABLE KELDAreeFormative (
    codAreaFormativa TEXT NOT NULL CHECK (codAreaFormativa IS NULL OR (typeof(codAreaFormativa) IN ('text','integer','real') AND length(codAreaFormativa)<=2)),
    AFDescrizione TEXT CHECK (AFDescrizione IS NULL OR (typeof(AFDescrizione) IN ('text','integer','real') AND length(AFDescrizione)<=255)),
    PRIMARY KEY (codAreaFormativa)
);

-- Training sub-areas (delivered empty).
CREATE TABLE KELDSubAreaFormativa (
    codSubArea TEXT NOT NULL CHECK (codSubArea IS NULL OR (typeof(codSubArea) IN ('text','integer','real') AND length(codSubArea)<=255)),
    Descrizione TEXT CHECK (Descrizione IS NULL OR (typeof(Descrizione) IN ('text','integer','real') AND length(Descrizione)<=255)),
    codAreaFormativa TEXT CHECK (codAreaFormativa IS NULL OR (typeof(codAreaFormativa) IN ('text','integer','real') AND length(codAreaFormativa)<=2)),
    PRIMARY KEY (codSubArea)
);

-- Organisational types.
CREATE TABLE KELDTipologieOrganizzative (
    codTipologiaOrg TEXT NOT NULL CHECK (codTipologiaOrg IS NULL OR (typeof(codTipologiaOrg) IN ('text','integer','real') AND length(codTipologiaOrg)<=1)),
    Descrizione TEXT CHECK (Descrizione IS NULL OR (typeof(Descrizione) IN ('text','integer','real') AND length(Descrizione)<=255)),
    PRIMARY KEY (codTipologiaOrg)
);

-- Training segments.
CREATE TABLE KELDSegmentoFormativo (
    codice TEXT NOT NULL CHECK (codice IS NULL OR (typeof(codice) IN ('text','integer','real') AND length(codice)<=2)),
    Descrizione TEXT CHECK (Descrizione IS NULL OR (typeof(Descrizione) IN ('text','integer','real') AND length(Descrizione)<=255)),
    PRIMARY KEY (codice)
);

-- ==================================================================
-- Saved query
-- ==================================================================

-- End-of-course records with the data of their approved course.
CREATE VIEW QryCorsiDef AS
SELECT KELDCorsiDef.*,
    CorsiApprovati.ProvviProgAtt AS ProvviProgAtt,
    CorsiApprovati.AnnoInizio AS AnnoInizio,
    CorsiApprovati.ProgrAccorp AS ProgrAccorp,
    CorsiApprovati.AnnGest AS AnnGest,
    CorsiApprovati.DurataAnnOre AS DurataAnnOre,
    CorsiApprovati.Durata AS Durata,
    CorsiApprovati.Prov AS ProvApprovato,
    CorsiApprovati.TipoConv AS TipoConv,
    CorsiApprovati.DenCorso AS DenCorsoApprovato,
    CorsiApprovati.TotIter AS TotIterApprovato
FROM KELDCorsiDef LEFT JOIN CorsiApprovati
    ON CorsiApprovati.IdAttivita = KELDCorsiDef.IdAttivita;

-- ==================================================================
-- Indexes
-- ==================================================================

CREATE INDEX IX_KELDCorsiDef_Operatore ON KELDCorsiDef (GrupOpe, Operatore);
CREATE INDEX IX_KELDAnagFreq_Nominativo ON KELDAnagFreq (IdAttivita, Cognome, Nome);

-- ==================================================================
-- Rows delivered with the database
-- ==================================================================

INSERT INTO KELDTipologieOrganizzative (codTipologiaOrg, Descrizione) VALUES ('I', 'Gestione indiretta');
INSERT INTO KELDTipologieOrganizzative (codTipologiaOrg, Descrizione) VALUES ('R', 'Gestione diretta');

INSERT INTO KELDAreeFormative (codAreaFormativa, AFDescrizione) VALUES ('ce', 'Formazione area economico-finanziaria');
INSERT INTO KELDAreeFormative (codAreaFormativa, AFDescrizione) VALUES ('cg', 'Formazione area giuridico-amministrativa');
INSERT INTO KELDAreeFormative (codAreaFormativa, AFDescrizione) VALUES ('ci', 'Formazione area informatica');
INSERT INTO KELDAreeFormative (codAreaFormativa, AFDescrizione) VALUES ('cp', 'Formazione area pari opportunità e non discriminazione');
INSERT INTO KELDAreeFormative (codAreaFormativa, AFDescrizione) VALUES ('cu', 'Formazione area europea');
INSERT INTO KELDAreeFormative (codAreaFormativa, AFDescrizione) VALUES ('xx', 'Area non specificata');

INSERT INTO KELDSegmentoFormativo (codice, Descrizione) VALUES ('S1', 'Conoscenze tecnico professionali');
INSERT INTO KELDSegmentoFormativo (codice, Descrizione) VALUES ('S2', 'Capacita''');

INSERT INTO KELDGiudizi (Valore, Descrizione) VALUES ('0', 'Prova non superata o non sostenuta');
INSERT INTO KELDGiudizi (Valore, Descrizione) VALUES ('8', 'Prova superata');
INSERT INTO KELDGiudizi (Valore, Descrizione) VALUES ('9', 'Prova non prevista');

INSERT INTO KELDCausaleGiudizioNegativo (codCausale, Descrizione) VALUES (1, 'Allievo non idoneo');
INSERT INTO KELDCausaleGiudizioNegativo (codCausale, Descrizione) VALUES (2, 'Allievo ritirato');
INSERT INTO KELDCausaleGiudizioNegativo (codCausale, Descrizione) VALUES (3, 'Allievo assente');
INSERT INTO KELDCausaleGiudizioNegativo (codCausale, Descrizione) VALUES (4, 'Altro');
