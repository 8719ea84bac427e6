#include "state/Degiskenler.h"

namespace Degiskenler {

VeriTabaniBaglantisi Baglanti;
QString ServerAdi;
QString VeritabaniAdi;
QString KullaniciAdi;
QString Sifre;
qint32 KullaniciID = 0;
qint16 FirmaID = 0;
QString FirmaAdi;
QString FirmaKodu;
QDate Mali_Yil_Baslangic;
QDate Mali_Yil_Bitis;

qint32 AnaParaVirgul = 0;
QString AnaParaFormat;
qint32 DovizVirgul = 0;
QString DovizFormat;
qint32 KurVirgul = 0;
QString KurFormat;
bool DovizVar = false;
bool RenkBedenVar = false;
bool PosVar = false;
bool BarkodVar = false;
bool HareketKilit = false;
quint8 OzelRenkli = 0;
qint32 Renk_Ozel = 0;
qint32 Renk_TL = 0;
qint32 Renk_Doviz = 0;
bool SatirISK_Dahil = false;
bool FaturaAltiISK_Dahil = false;
bool Masraflar_Dahil = false;
quint8 StokMinSeviye = 0;
qint32 StokMinRenk = 0;
quint8 StokMaxSeviye = 0;
qint32 StokMaxRenk = 0;
quint8 StokSFRSeviye = 0;
qint32 StokSFRRenk = 0;

Recordset ListeRS;
Recordset YardimciRS;
QString ListeSQL;
bool WhereVar = false;

void Sifirla()
{
    ListeRS.Kapat();
    YardimciRS.Kapat();
    Baglanti.Kapat();
    ServerAdi.clear();
    VeritabaniAdi.clear();
    KullaniciAdi.clear();
    Sifre.clear();
    KullaniciID = 0;
    FirmaID = 0;
    FirmaAdi.clear();
    FirmaKodu.clear();
    Mali_Yil_Baslangic = QDate();
    Mali_Yil_Bitis = QDate();
    AnaParaVirgul = DovizVirgul = KurVirgul = 0;
    AnaParaFormat.clear();
    DovizFormat.clear();
    KurFormat.clear();
    DovizVar = RenkBedenVar = PosVar = BarkodVar = HareketKilit = false;
    OzelRenkli = 0;
    Renk_Ozel = Renk_TL = Renk_Doviz = 0;
    SatirISK_Dahil = FaturaAltiISK_Dahil = Masraflar_Dahil = false;
    StokMinSeviye = StokMaxSeviye = StokSFRSeviye = 0;
    StokMinRenk = StokMaxRenk = StokSFRRenk = 0;
    ListeSQL.clear();
    WhereVar = false;
}

} // namespace Degiskenler
