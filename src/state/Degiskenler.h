#pragma once

#include "state/Baglanti.h"
#include "state/Recordset.h"

#include <QDate>
#include <QString>

// The shared working state of the run: set during login, read and written directly by the
// routines of both screens, never passed around.
namespace Degiskenler {

// The one open connection: the definitions database during login, the company's afterwards.
extern VeriTabaniBaglantisi Baglanti;
extern QString ServerAdi;
extern QString VeritabaniAdi;
extern QString KullaniciAdi;
extern QString Sifre;
extern qint32 KullaniciID;
extern qint16 FirmaID;
extern QString FirmaAdi;
extern QString FirmaKodu;
extern QDate Mali_Yil_Baslangic;
extern QDate Mali_Yil_Bitis;

// Settings row of the chosen company.
extern qint32 AnaParaVirgul;
extern QString AnaParaFormat;
extern qint32 DovizVirgul;
extern QString DovizFormat;
extern qint32 KurVirgul;
extern QString KurFormat;
extern bool DovizVar;
extern bool RenkBedenVar;
extern bool PosVar;
extern bool BarkodVar;
extern bool HareketKilit;
extern quint8 OzelRenkli;
extern qint32 Renk_Ozel;
extern qint32 Renk_TL;
extern qint32 Renk_Doviz;
extern bool SatirISK_Dahil;
extern bool FaturaAltiISK_Dahil;
extern bool Masraflar_Dahil;
extern quint8 StokMinSeviye;
extern qint32 StokMinRenk;
extern quint8 StokMaxSeviye;
extern qint32 StokMaxRenk;
extern quint8 StokSFRSeviye;
extern qint32 StokSFRRenk;

// Shared recordsets: the stock list (then export and import), and value lists and look-ups.
extern Recordset ListeRS;
extern Recordset YardimciRS;
extern QString ListeSQL;
extern bool WhereVar;

// The database name the login connects to first.
inline const QString TanimVeritabani = QStringLiteral("Defination_DB");

// Back to the state of a fresh start: recordsets and connection closed, values cleared.
// The program calls it before it ends, the tests between cases.
void Sifirla();

} // namespace Degiskenler
