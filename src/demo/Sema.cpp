#include "demo/Sema.h"

namespace {

using S = SutunTanimi;
constexpr unsigned Kimlik = S::Kimlik, BosOlamaz = S::BosOlamaz, HarfDuyarsiz = S::HarfDuyarsiz;

SemaTanimi TanimSemasiniKur()
{
    SemaTanimi sema;
    sema.tablolar = {
        {QStringLiteral("sysuslng"),
         {{"sysus_ID", "int", Kimlik}, {"sysus_nm", "nvarchar(30)", HarfDuyarsiz | BosOlamaz},
          {"sysus", "nvarchar(30)", BosOlamaz}},
         {}},
        {QStringLiteral("sysfrmlng"),
         {{"sysfrm_ID", "int", Kimlik},
          {"sysfrm_nm", "nvarchar(60)"},
          {"sysfrm_kd", "nvarchar(10)"},
          {"sysfrm_dbnm", "nvarchar(50)"},
          {"Mali_Yil_Baslangic", "datetime"},
          {"Mali_Yil_Bitis", "datetime"},
          {"AnaParaVirgul", "int"},
          {"DovizVirgul", "int"},
          {"KurVirgul", "int"},
          {"DovizVar", "bit"},
          {"RenkBedenVar", "bit"},
          {"PosVar", "bit"},
          {"BarkodVar", "bit"},
          {"HareketKilit", "bit"},
          {"OzelRenkli", "tinyint"},
          {"Renk_Ozel", "int"},
          {"Renk_TL", "int"},
          {"Renk_Doviz", "int"},
          {"SatirISK_Dahil", "bit"},
          {"FaturaAltiISK_Dahil", "bit"},
          {"Masraflar_Dahil", "bit"},
          {"StokMinSeviye", "tinyint"},
          {"StokMinRenk", "int"},
          {"StokMaxSeviye", "tinyint"},
          {"StokMaxRenk", "int"},
          {"StokSFRSeviye", "tinyint"},
          {"StokSFRRenk", "int"}},
         {}},
        {QStringLiteral("sysusfrmlng"),
         {{"sysus_ID", "int", BosOlamaz}, {"sysfrm_ID", "smallint", BosOlamaz}},
         {QStringLiteral("sysus_ID"), QStringLiteral("sysfrm_ID")}},
    };
    return sema;
}

SemaTanimi FirmaSemasiniKur()
{
    SemaTanimi sema;
    sema.tablolar = {
        {QStringLiteral("KDVGRUPLARI"),
         {{"Grup_ID", "int", Kimlik}, {"Departman_No", "smallint", BosOlamaz}, {"Departman_Adi", "nvarchar(30)"},
          {"KDV", "decimal(5,2)"}, {"Kullanici_ID", "int"}},
         {}},
        {QStringLiteral("FIYATTANIM"),
         {{"Sira_No", "smallint"}, {"Fiyat_Aciklama", "nvarchar(30)"}, {"On_Deger", "bit"}},
         {QStringLiteral("Sira_No")}},
        {QStringLiteral("STOKKART"),
         {{"Stok_ID", "int", Kimlik},
          {"Stok_Kod", "nvarchar(25)", HarfDuyarsiz | BosOlamaz},
          {"Stok_Ad", "nvarchar(60)", HarfDuyarsiz},
          {"KDVGrup_ID", "int"},
          {"KDV", "decimal(5,2)"},
          {"O_Kod", "nvarchar(20)", HarfDuyarsiz},
          {"O_Kod2", "nvarchar(20)", HarfDuyarsiz},
          {"O_Kod3", "nvarchar(20)", HarfDuyarsiz},
          {"Grup_Kod", "nvarchar(20)", HarfDuyarsiz},
          {"Uretici_Firma", "nvarchar(40)", HarfDuyarsiz},
          {"Ana_Birim", "nvarchar(10)", HarfDuyarsiz},
          {"Birim2", "nvarchar(10)"},
          {"Birim2_Katsayi", "decimal(18,4)"},
          {"Birim3", "nvarchar(10)"},
          {"Birim3_Katsayi", "decimal(18,4)"},
          {"Ana_Birim_Barkod", "varchar(20)", HarfDuyarsiz},
          {"Ana_Birim_Barkod_Tipi", "tinyint"},
          {"Birim2_Barkod", "varchar(20)"},
          {"Birim3_Barkod", "varchar(20)"},
          {"ISK_Alis", "decimal(5,2)"},
          {"ISK_Satis", "decimal(5,2)"},
          {"StokMinSeviye", "decimal(18,3)"},
          {"StokOptSeviye", "decimal(18,3)"},
          {"StokMaxSeviye", "decimal(18,3)"},
          {"Raf_Yeri", "char(10)"},
          {"Reyon_Kod", "char(4)"},
          {"Mensei", "nvarchar(30)"},
          {"Agirlik", "decimal(18,3)"},
          {"Hacim", "decimal(18,3)"},
          {"Terazi_No", "int"},
          {"Teraziye_Gonder", "bit"},
          {"Aktif", "bit"},
          {"Seri_Takip", "bit"},
          {"Iade_Kabul", "bit"},
          {"Aciklama", "nvarchar(200)"},
          {"Son_Alis_Tarih", "datetime"},
          {"Kullanici_ID", "int"},
          {"Yr_Tarih", "datetime"},
          {"Deg_Tarih", "datetime"},
          {"Deg_Kullanici_ID", "int"}},
         {}},
        {QStringLiteral("STOKFIYAT"),
         {{"Fiyat_ID", "int", Kimlik},
          {"Stok_ID", "int", BosOlamaz},
          {"Fiyat_Sira_No", "smallint", BosOlamaz},
          {"Fiyat_Aciklama", "nvarchar(30)"},
          {"Ana_Birim_Fiyat", "decimal(18,4)"},
          {"Birim2_Fiyat", "decimal(18,4)"},
          {"Birim3_Fiyat", "decimal(18,4)"},
          {"Dv_Ana_Birim_Fiyat", "decimal(18,4)"},
          {"Dv_Birim2_Fiyat", "decimal(18,4)"},
          {"Dv_Birim3_Fiyat", "decimal(18,4)"},
          {"Ana_Birim_Fiyat_Alis", "decimal(18,4)"},
          {"Birim2_Fiyat_Alis", "decimal(18,4)"},
          {"Birim3_Fiyat_Alis", "decimal(18,4)"},
          {"Dv_Ana_Birim_Fiyat_Alis", "decimal(18,4)"},
          {"Dv_Birim2_Fiyat_Alis", "decimal(18,4)"},
          {"Dv_Birim3_Fiyat_Alis", "decimal(18,4)"}},
         {}},
        {QStringLiteral("SB"),
         {{"Stok_ID", "int", BosOlamaz}, {"Depo_No", "smallint", BosOlamaz}, {"Kalan", "decimal(18,3)"}},
         {QStringLiteral("Stok_ID"), QStringLiteral("Depo_No")}},
    };
    sema.ekler = {
        QStringLiteral("CREATE INDEX STOKKART_Stok_Kod ON STOKKART (Stok_Kod)"),
        QStringLiteral("CREATE UNIQUE INDEX STOKFIYAT_Stok_Sira ON STOKFIYAT (Stok_ID, Fiyat_Sira_No)"),
        QStringLiteral("CREATE VIEW AKTIFSTOKFIYAT AS SELECT STOKFIYAT.Stok_ID, STOKFIYAT.Fiyat_Sira_No, "
                       "FIYATTANIM.On_Deger, STOKFIYAT.Ana_Birim_Fiyat FROM STOKFIYAT "
                       "JOIN FIYATTANIM ON FIYATTANIM.Sira_No = STOKFIYAT.Fiyat_Sira_No"),
    };
    return sema;
}

QString SutunMetni(const SutunTanimi &s, SemaLehcesi lehce)
{
    QString metin = s.ad + QLatin1Char(' ');
    if (s.bayraklar & Kimlik)
        return metin + (lehce == SemaLehcesi::SQLite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                                                     : s.tip + QStringLiteral(" IDENTITY(1,1) NOT NULL PRIMARY KEY"));
    metin += s.tip;
    if ((s.bayraklar & HarfDuyarsiz) && lehce == SemaLehcesi::SQLite)
        metin += QStringLiteral(" COLLATE NOCASE");
    if (s.bayraklar & BosOlamaz)
        metin += QStringLiteral(" NOT NULL");
    return metin;
}

} // namespace

const SemaTanimi &TanimSemaTanimi()
{
    static const SemaTanimi sema = TanimSemasiniKur();
    return sema;
}

const SemaTanimi &FirmaSemaTanimi()
{
    static const SemaTanimi sema = FirmaSemasiniKur();
    return sema;
}

QStringList SemaKomutlari(const SemaTanimi &sema, SemaLehcesi lehce)
{
    QStringList komutlar;
    for (const TabloTanimi &t : sema.tablolar) {
        QStringList parcalar;
        for (const SutunTanimi &s : t.sutunlar)
            parcalar << SutunMetni(s, lehce);
        if (!t.anahtar.isEmpty())
            parcalar << QStringLiteral("PRIMARY KEY (%1)").arg(t.anahtar.join(QStringLiteral(", ")));
        komutlar << QStringLiteral("CREATE TABLE %1 (%2)").arg(t.ad, parcalar.join(QStringLiteral(", ")));
    }
    return komutlar + sema.ekler;
}

const TabloTanimi *TabloTanimiBul(const QString &tablo)
{
    for (const SemaTanimi *sema : {&TanimSemaTanimi(), &FirmaSemaTanimi()})
        for (const TabloTanimi &t : sema->tablolar)
            if (t.ad.compare(tablo, Qt::CaseInsensitive) == 0)
                return &t;
    return nullptr;
}
