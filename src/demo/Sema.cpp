#include "demo/Sema.h"

QStringList TanimSemasi()
{
    return {
        QStringLiteral("CREATE TABLE sysuslng (sysus_ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "sysus_nm nvarchar(30) COLLATE NOCASE NOT NULL, sysus nvarchar(30) NOT NULL)"),
        QStringLiteral("CREATE TABLE sysfrmlng (sysfrm_ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "sysfrm_nm nvarchar(60), sysfrm_kd nvarchar(10), sysfrm_dbnm nvarchar(50), "
                       "Mali_Yil_Baslangic datetime, Mali_Yil_Bitis datetime, "
                       "AnaParaVirgul int, DovizVirgul int, KurVirgul int, DovizVar bit, RenkBedenVar bit, "
                       "PosVar bit, BarkodVar bit, HareketKilit bit, OzelRenkli tinyint, Renk_Ozel int, "
                       "Renk_TL int, Renk_Doviz int, SatirISK_Dahil bit, FaturaAltiISK_Dahil bit, "
                       "Masraflar_Dahil bit, StokMinSeviye tinyint, StokMinRenk int, StokMaxSeviye tinyint, "
                       "StokMaxRenk int, StokSFRSeviye tinyint, StokSFRRenk int)"),
        QStringLiteral("CREATE TABLE sysusfrmlng (sysus_ID int NOT NULL, sysfrm_ID smallint NOT NULL, "
                       "PRIMARY KEY (sysus_ID, sysfrm_ID))"),
    };
}

QStringList FirmaSemasi()
{
    return {
        QStringLiteral("CREATE TABLE KDVGRUPLARI (Grup_ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "Departman_No smallint NOT NULL, Departman_Adi nvarchar(30), KDV decimal(5,2), "
                       "Kullanici_ID int)"),
        QStringLiteral("CREATE TABLE FIYATTANIM (Sira_No smallint PRIMARY KEY, Fiyat_Aciklama nvarchar(30), "
                       "On_Deger bit)"),
        QStringLiteral(
            "CREATE TABLE STOKKART ("
            "Stok_ID INTEGER PRIMARY KEY AUTOINCREMENT, "
            "Stok_Kod nvarchar(25) COLLATE NOCASE NOT NULL, "
            "Stok_Ad nvarchar(60) COLLATE NOCASE, "
            "KDVGrup_ID int, "
            "KDV decimal(5,2), "
            "O_Kod nvarchar(20) COLLATE NOCASE, "
            "O_Kod2 nvarchar(20) COLLATE NOCASE, "
            "O_Kod3 nvarchar(20) COLLATE NOCASE, "
            "Grup_Kod nvarchar(20) COLLATE NOCASE, "
            "Uretici_Firma nvarchar(40) COLLATE NOCASE, "
            "Ana_Birim nvarchar(10) COLLATE NOCASE, "
            "Birim2 nvarchar(10), Birim2_Katsayi decimal(18,4), "
            "Birim3 nvarchar(10), Birim3_Katsayi decimal(18,4), "
            "Ana_Birim_Barkod varchar(20) COLLATE NOCASE, Ana_Birim_Barkod_Tipi tinyint, "
            "Birim2_Barkod varchar(20), Birim3_Barkod varchar(20), "
            "ISK_Alis decimal(5,2), ISK_Satis decimal(5,2), "
            "StokMinSeviye decimal(18,3), StokOptSeviye decimal(18,3), StokMaxSeviye decimal(18,3), "
            "Raf_Yeri char(10), Reyon_Kod char(4), Mensei nvarchar(30), "
            "Agirlik decimal(18,3), Hacim decimal(18,3), Terazi_No int, "
            "Teraziye_Gonder bit, Aktif bit, Seri_Takip bit, Iade_Kabul bit, "
            "Aciklama nvarchar(200), Son_Alis_Tarih datetime, "
            "Kullanici_ID int, Yr_Tarih datetime, Deg_Tarih datetime, Deg_Kullanici_ID int)"),
        QStringLiteral("CREATE INDEX STOKKART_Stok_Kod ON STOKKART (Stok_Kod)"),
        QStringLiteral(
            "CREATE TABLE STOKFIYAT (Fiyat_ID INTEGER PRIMARY KEY AUTOINCREMENT, Stok_ID int NOT NULL, "
            "Fiyat_Sira_No smallint NOT NULL, Fiyat_Aciklama nvarchar(30), "
            "Ana_Birim_Fiyat decimal(18,4), Birim2_Fiyat decimal(18,4), Birim3_Fiyat decimal(18,4), "
            "Dv_Ana_Birim_Fiyat decimal(18,4), Dv_Birim2_Fiyat decimal(18,4), Dv_Birim3_Fiyat decimal(18,4), "
            "Ana_Birim_Fiyat_Alis decimal(18,4), Birim2_Fiyat_Alis decimal(18,4), Birim3_Fiyat_Alis decimal(18,4), "
            "Dv_Ana_Birim_Fiyat_Alis decimal(18,4), Dv_Birim2_Fiyat_Alis decimal(18,4), "
            "Dv_Birim3_Fiyat_Alis decimal(18,4))"),
        QStringLiteral("CREATE UNIQUE INDEX STOKFIYAT_Stok_Sira ON STOKFIYAT (Stok_ID, Fiyat_Sira_No)"),
        QStringLiteral("CREATE TABLE SB (Stok_ID int NOT NULL, Depo_No smallint NOT NULL, Kalan decimal(18,3), "
                       "PRIMARY KEY (Stok_ID, Depo_No))"),
        QStringLiteral("CREATE VIEW AKTIFSTOKFIYAT AS SELECT STOKFIYAT.Stok_ID, STOKFIYAT.Fiyat_Sira_No, "
                       "FIYATTANIM.On_Deger, STOKFIYAT.Ana_Birim_Fiyat FROM STOKFIYAT "
                       "JOIN FIYATTANIM ON FIYATTANIM.Sira_No = STOKFIYAT.Fiyat_Sira_No"),
    };
}
