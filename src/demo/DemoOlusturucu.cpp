#include "demo/DemoOlusturucu.h"

#include "demo/Sema.h"
#include "demo/SqlServerDemoYazici.h"
#include "demo/SqliteDemoYazici.h"
#include "login/Sifreleme.h"
#include "state/Hata.h"

#include <QDate>
#include <cmath>

namespace {

struct KdvGrubu {
    int departman;
    const char *ad;
    double oran;
};

const KdvGrubu OrtakGruplar[] = {
    {1, "TEMEL GIDA", 1}, {2, "GIDA", 10}, {3, "GENEL", 20}, {4, "TEKSTİL", 10}, {5, "KİTAP KIRTASİYE", 10}};
// The third company's rates disagree with the others'.
const KdvGrubu UyumsuzGruplar[] = {{1, "TEMEL GIDA", 1}, {2, "GIDA", 8}, {3, "GENEL", 18}, {4, "TEKSTİL", 8}};

const char *const FiyatAdlari[] = {"PERAKENDE", "TOPTAN",   "BAYİ",    "PERSONEL", "KAMPANYA",
                                   "İNTERNET",  "KURUMSAL", "ÖZEL 1", "ÖZEL 2",   "İHRACAT"};
const double FiyatCarpanlari[] = {1.0, 0.85, 0.8, 0.75, 0.9, 0.95, 0.82, 0.7, 0.65, 1.1};

struct Urun {
    const char *ad;
    const char *grup;
    int departman;
    const char *birim;
    const char *uretici;
    double fiyat;
};

const Urun Urunler[] = {
    {"ÇAY", "İÇECEK", 2, "PAKET", "KARADENİZ ÇAY", 89.5},
    {"TÜRK KAHVESİ", "İÇECEK", 2, "PAKET", "BOĞAZİÇİ KAHVE", 74.9},
    {"BEYAZ PEYNİR", "SÜT ÜRÜNLERİ", 1, "KG", "TRAKYA SÜT", 189.0},
    {"KAŞAR PEYNİRİ", "SÜT ÜRÜNLERİ", 1, "KG", "TRAKYA SÜT", 265.0},
    {"ZEYTİNYAĞI", "YAĞ", 2, "LT", "EGE ZEYTİN", 329.0},
    {"SİYAH ZEYTİN", "KAHVALTILIK", 2, "KG", "EGE ZEYTİN", 149.5},
    {"MAKARNA", "BAKLİYAT", 1, "PAKET", "ANADOLU GIDA", 19.75},
    {"PİRİNÇ", "BAKLİYAT", 1, "KG", "ANADOLU GIDA", 64.0},
    {"KIRMIZI MERCİMEK", "BAKLİYAT", 1, "KG", "ANADOLU GIDA", 52.5},
    {"TOZ ŞEKER", "TEMEL GIDA", 1, "KG", "ÇUKUROVA ŞEKER", 38.0},
    {"UN", "TEMEL GIDA", 1, "KG", "ANADOLU GIDA", 24.9},
    {"ÇİKOLATA", "ŞEKERLEME", 2, "ADET", "GÜNEŞ ŞEKERLEME", 27.5},
    {"LOKUM", "ŞEKERLEME", 2, "KUTU", "GÜNEŞ ŞEKERLEME", 119.0},
    {"MADEN SUYU", "İÇECEK", 2, "ADET", "ULUDAĞ KAYNAK", 9.5},
    {"ÇAMAŞIR DETERJANI", "TEMİZLİK", 3, "ADET", "BOĞAZİÇİ KİMYA", 219.0},
    {"BULAŞIK SIVISI", "TEMİZLİK", 3, "ADET", "BOĞAZİÇİ KİMYA", 69.9},
    {"ŞAMPUAN", "KOZMETİK", 3, "ADET", "IŞIK KOZMETİK", 99.0},
    {"DİŞ MACUNU", "KOZMETİK", 3, "ADET", "IŞIK KOZMETİK", 54.5},
    {"HAVLU", "TEKSTİL", 4, "ADET", "MARMARA TEKSTİL", 159.0},
    {"ÇORAP", "TEKSTİL", 4, "ÇİFT", "MARMARA TEKSTİL", 34.9},
    {"TİŞÖRT", "TEKSTİL", 4, "ADET", "MARMARA TEKSTİL", 249.0},
    {"DEFTER", "KIRTASİYE", 5, "ADET", "YILDIZ KIRTASİYE", 29.0},
    {"KURŞUN KALEM", "KIRTASİYE", 5, "ADET", "YILDIZ KIRTASİYE", 7.5},
    {"PİL", "ELEKTRİK", 3, "PAKET", "ŞİMŞEK ENERJİ", 84.0},
};
const char *const Boyutlar[] = {"250 GR", "500 GR", "1 KG", "2 KG", "1 LT", "5 LT", "KÜÇÜK", "BÜYÜK", "EKONOMİK", "AİLE BOYU"};
const char *const OzelKodlar[] = {"KAMPANYA", "RAF-A", "RAF-B", "YENİ", ""};
const char *const OzelKodlar2[] = {"YERLİ", "İTHAL"};
const char *const OzelKodlar3[] = {"YAZ", "KIŞ", "DÖRT MEVSİM"};

// Deterministic, so that every demo folder holds the same cards.
class Zar
{
public:
    explicit Zar(quint32 tohum) : m_durum(tohum) {}
    quint32 Sonraki()
    {
        m_durum = m_durum * 1664525u + 1013904223u;
        return m_durum >> 8;
    }
    int Arada(int enAz, int enCok) { return enAz + int(Sonraki() % quint32(enCok - enAz + 1)); }

private:
    quint32 m_durum;
};

QString Ean13(qint64 govde12)
{
    QString rakamlar = QString::number(govde12).rightJustified(12, QLatin1Char('0'));
    int toplam = 0;
    for (int i = 0; i < 12; ++i)
        toplam += (rakamlar[i].digitValue()) * (i % 2 ? 3 : 1);
    return rakamlar + QString::number((10 - toplam % 10) % 10);
}

double Kurus(double tutar)
{
    return std::round(tutar * 100.0) / 100.0;
}

QDateTime Tarih(const QDate &gun, const QTime &saat = QTime(0, 0))
{
    return QDateTime(gun, saat);
}

const QString TanimVeritabaniAdi = QStringLiteral("Defination_DB");

struct Kart {
    QVector<QVariant> degerler; // STOKKART columns after Stok_ID, KDVGrup_ID given as department
    int sira = 0;               // the card's place in the source, which decides its price rows
    int departman = 0;
    double fiyat = 0;
};

const QString KartSutunlari = QStringLiteral(
    "Stok_Kod,Stok_Ad,KDVGrup_ID,KDV,O_Kod,O_Kod2,O_Kod3,Grup_Kod,Uretici_Firma,Ana_Birim,"
    "Birim2,Birim2_Katsayi,Birim3,Birim3_Katsayi,Ana_Birim_Barkod,Ana_Birim_Barkod_Tipi,"
    "Birim2_Barkod,Birim3_Barkod,ISK_Alis,ISK_Satis,StokMinSeviye,StokOptSeviye,StokMaxSeviye,"
    "Raf_Yeri,Reyon_Kod,Mensei,Agirlik,Hacim,Terazi_No,Teraziye_Gonder,Aktif,Seri_Takip,Iade_Kabul,"
    "Aciklama,Son_Alis_Tarih,Kullanici_ID,Yr_Tarih,Deg_Tarih,Deg_Kullanici_ID");

Kart KartUret(int sira, Zar &zar)
{
    const int urunSayisi = int(sizeof(Urunler) / sizeof(Urunler[0]));
    const Urun &u = Urunler[sira % urunSayisi];
    const char *boyut = Boyutlar[(sira / urunSayisi) % 10];
    const int seri = sira / (urunSayisi * 10);
    QString ad = QString::fromUtf8(u.ad) + QLatin1Char(' ') + QString::fromUtf8(boyut);
    if (seri > 0)
        ad += QStringLiteral(" %1").arg(seri + 1);
    const double oran = OrtakGruplar[u.departman - 1].oran;
    const bool gramaj = QByteArray(u.birim) == "KG" && sira % 3 == 0;
    const int barkodTipi = gramaj ? 8 : (sira % 17 == 0 ? 2 : 1);
    const QDate giris = QDate(2024, 1, 2).addDays(sira % 700);
    Kart kart;
    kart.sira = sira;
    kart.departman = u.departman;
    kart.fiyat = Kurus(u.fiyat * (0.8 + zar.Arada(0, 40) / 100.0));
    const QString barkod = barkodTipi == 2 ? QString::number(86900000 + sira % 9999999).left(8)
                                           : Ean13(869000000000LL + sira);
    kart.degerler = {
        QString::number(10001 + sira),
        ad,
        u.departman, // replaced by the company's Grup_ID
        oran,
        sira % 5 == 4 ? QVariant() : QVariant(QString::fromUtf8(OzelKodlar[sira % 5])),
        QString::fromUtf8(OzelKodlar2[sira % 2]),
        sira % 4 == 3 ? QVariant() : QVariant(QString::fromUtf8(OzelKodlar3[sira % 3])),
        QString::fromUtf8(u.grup),
        QString::fromUtf8(u.uretici),
        QString::fromUtf8(u.birim),
        QStringLiteral("KOLİ"),
        double(6 * (1 + sira % 4)),
        QVariant(),
        QVariant(),
        barkod,
        barkodTipi,
        Ean13(869100000000LL + sira),
        QVariant(),
        double(zar.Arada(0, 8)),
        sira % 6 == 0 ? 5.0 : 0.0,
        double(zar.Arada(5, 20)),
        double(zar.Arada(25, 60)),
        double(zar.Arada(80, 200)),
        // char(n) columns come back padded with blanks, as the back-office's server keeps them.
        QStringLiteral("%1-%2").arg(QChar('A' + sira % 6)).arg(1 + sira % 12, 2, 10, QLatin1Char('0')).leftJustified(10),
        QStringLiteral("R%1").arg(1 + sira % 9).leftJustified(4),
        sira % 7 == 0 ? QStringLiteral("ALMANYA") : QStringLiteral("TÜRKİYE"),
        Kurus(0.25 + (sira % 20) * 0.125),
        0.0,
        gramaj ? QVariant(100 + sira % 400) : QVariant(),
        gramaj ? 1 : 0,
        sira % 23 == 0 ? 0 : 1,
        0,
        1,
        sira % 11 == 0 ? QVariant(QStringLiteral("Raf ömrü kısa, soğuk zincir, 'özel' ürün")) : QVariant(),
        Tarih(giris.addDays(30 + sira % 200), QTime(14, 30)),
        1,
        Tarih(giris),
        Tarih(giris.addDays(sira % 90)),
        sira % 4 == 0 ? QVariant() : QVariant(1),
    };
    return kart;
}

// The same card as another company keeps it, with other values.
void KartiDegistir(Kart &kart, Zar &zar)
{
    kart.degerler[1] = kart.degerler[1].toString() + QStringLiteral(" (ŞUBE)");
    kart.degerler[4] = QStringLiteral("ŞUBE");
    kart.degerler[18] = double(zar.Arada(10, 15));
    kart.degerler[23] = QStringLiteral("Z-99").leftJustified(10);
    kart.fiyat = Kurus(kart.fiyat * 1.1);
}

const QStringList FiyatSutunlari = {
    QStringLiteral("Stok_ID"), QStringLiteral("Fiyat_Sira_No"), QStringLiteral("Fiyat_Aciklama"),
    QStringLiteral("Ana_Birim_Fiyat"), QStringLiteral("Birim2_Fiyat"), QStringLiteral("Birim3_Fiyat"),
    QStringLiteral("Dv_Ana_Birim_Fiyat"), QStringLiteral("Dv_Birim2_Fiyat"), QStringLiteral("Dv_Birim3_Fiyat"),
    QStringLiteral("Ana_Birim_Fiyat_Alis"), QStringLiteral("Birim2_Fiyat_Alis"), QStringLiteral("Birim3_Fiyat_Alis"),
    QStringLiteral("Dv_Ana_Birim_Fiyat_Alis"), QStringLiteral("Dv_Birim2_Fiyat_Alis"), QStringLiteral("Dv_Birim3_Fiyat_Alis")};

struct DemoGirisi {
    const char *ad, *sifre;
};
const DemoGirisi Girisler[] = {{DemoKullanici, DemoSifre}, {"kasiyer", "kasa"}};

struct DemoFirmasi {
    const char *ad, *kod, *db;
};
const DemoFirmasi Firmalar[] = {{"MERKEZ MAĞAZA", "01", "FIRMA01"}, {"KADIKÖY ŞUBE", "02", "FIRMA02"}, {"İZMİR TOPTAN", "03", "FIRMA03"}};

QStringList GirisAdlari(std::initializer_list<int> hangileri)
{
    QStringList adlar;
    for (int i : hangileri)
        adlar << QString::fromUtf8(Girisler[i].ad);
    return adlar;
}

// The rows are written table by table; the identities the database gives the VAT groups and
// the cards are read back by their business keys, so that every backend may batch its writes.
void FirmaYaz(DemoYazici &yazici, const QString &ad, const QVector<KdvGrubu> &gruplar, const QVector<Kart> &kartlar,
              int fiyatSayisi, int fiyatTanimSayisi, const QStringList &kullanicilar)
{
    yazici.VeritabaniOlustur(ad, FirmaSemaTanimi(), kullanicilar);
    {
        auto ekle = yazici.Ekleyici(QStringLiteral("KDVGRUPLARI"),
                                    {QStringLiteral("Departman_No"), QStringLiteral("Departman_Adi"), QStringLiteral("KDV"),
                                     QStringLiteral("Kullanici_ID")});
        for (const KdvGrubu &g : gruplar)
            ekle->Ekle({g.departman, QString::fromUtf8(g.ad), g.oran, 1});
        ekle->Bitir();
    }
    const QHash<QString, qint64> grupNo =
        yazici.Kimlikler(QStringLiteral("SELECT Departman_No, Grup_ID FROM KDVGRUPLARI"));
    {
        auto ekle = yazici.Ekleyici(QStringLiteral("FIYATTANIM"),
                                    {QStringLiteral("Sira_No"), QStringLiteral("Fiyat_Aciklama"), QStringLiteral("On_Deger")});
        for (int i = 0; i < fiyatTanimSayisi; ++i)
            ekle->Ekle({i + 1, QString::fromUtf8(FiyatAdlari[i]), i == 0 ? 1 : 0});
        ekle->Bitir();
    }
    {
        auto kartEkle = yazici.Ekleyici(QStringLiteral("STOKKART"), KartSutunlari.split(QLatin1Char(',')));
        for (const Kart &kart : kartlar) {
            QVector<QVariant> degerler = kart.degerler;
            degerler[2] = grupNo.value(QString::number(kart.departman));
            kartEkle->Ekle(degerler);
        }
        kartEkle->Bitir();
    }
    const QHash<QString, qint64> stokNo = yazici.Kimlikler(QStringLiteral("SELECT Stok_Kod, Stok_ID FROM STOKKART"));

    {
        auto fiyatEkle = yazici.Ekleyici(QStringLiteral("STOKFIYAT"), FiyatSutunlari);
        auto bakiyeEkle = yazici.Ekleyici(QStringLiteral("SB"),
                                          {QStringLiteral("Stok_ID"), QStringLiteral("Depo_No"), QStringLiteral("Kalan")});
        for (int k = 0; k < kartlar.size(); ++k) {
            const Kart &kart = kartlar[k];
            const qint64 stokId = stokNo.value(kart.degerler[0].toString());
            // Every seventh card has fewer price rows, every 29th none at all.
            const int seviyeSayisi =
                kart.sira % 29 == 28 ? 0 : (kart.sira % 7 == 6 ? qMin(fiyatSayisi, 2) : fiyatSayisi);
            const double katsayi = kart.degerler[11].toDouble();
            for (int s = 1; s <= seviyeSayisi; ++s) {
                const double fiyat = Kurus(kart.fiyat * FiyatCarpanlari[s - 1]);
                fiyatEkle->Ekle({stokId, s, QString::fromUtf8(FiyatAdlari[s - 1]), fiyat, Kurus(fiyat * katsayi), 0.0,
                                 Kurus(fiyat / 36.5), 0.0, 0.0, Kurus(fiyat * 0.72), Kurus(fiyat * 0.72 * katsayi), 0.0,
                                 0.0, 0.0, 0.0});
            }
            const double min = kart.degerler[20].toDouble();
            const double max = kart.degerler[22].toDouble();
            bakiyeEkle->Ekle({stokId, 1, double((k * 37) % int(max + min + 1))});
        }
        fiyatEkle->Bitir();
        bakiyeEkle->Bitir();
    }
    yazici.VeritabaniBitir();
}

void TanimYaz(DemoYazici &yazici)
{
    for (const DemoGirisi &g : Girisler)
        yazici.GirisKur(QString::fromUtf8(g.ad), QString::fromUtf8(g.sifre));
    yazici.VeritabaniOlustur(TanimVeritabaniAdi, TanimSemaTanimi(), GirisAdlari({0, 1}));
    {
        auto kullanici = yazici.Ekleyici(QStringLiteral("sysuslng"), {QStringLiteral("sysus_nm"), QStringLiteral("sysus")});
        for (const DemoGirisi &g : Girisler)
            kullanici->Ekle({BuyukHarf(QString::fromUtf8(g.ad)), SifreKodla(QString::fromUtf8(g.sifre))});
        kullanici->Bitir();
    }
    {
        auto firma = yazici.Ekleyici(QStringLiteral("sysfrmlng"), QStringLiteral(
            "sysfrm_nm,sysfrm_kd,sysfrm_dbnm,Mali_Yil_Baslangic,Mali_Yil_Bitis,"
            "AnaParaVirgul,DovizVirgul,KurVirgul,DovizVar,RenkBedenVar,PosVar,BarkodVar,HareketKilit,OzelRenkli,"
            "Renk_Ozel,Renk_TL,Renk_Doviz,SatirISK_Dahil,FaturaAltiISK_Dahil,Masraflar_Dahil,StokMinSeviye,"
            "StokMinRenk,StokMaxSeviye,StokMaxRenk,StokSFRSeviye,StokSFRRenk").split(QLatin1Char(',')));
        for (const DemoFirmasi &f : Firmalar)
            firma->Ekle({QString::fromUtf8(f.ad), QString::fromUtf8(f.kod), QString::fromUtf8(f.db),
                         Tarih(QDate(2026, 1, 1)), Tarih(QDate(2026, 12, 31)), 2, 2, 4, 1, 0, 1, 1, 0, 1, 255,
                         16711680, 32768, 1, 1, 0, 1, 255, 1, 65280, 1, 8421504});
        firma->Bitir();
    }
    {
        auto yetki = yazici.Ekleyici(QStringLiteral("sysusfrmlng"), {QStringLiteral("sysus_ID"), QStringLiteral("sysfrm_ID")});
        for (const auto &[kullanici, firma] : {std::pair{1, 1}, {1, 2}, {1, 3}, {2, 2}})
            yetki->Ekle({kullanici, firma});
        yetki->Bitir();
    }
    yazici.VeritabaniBitir();
}

} // namespace

void DemoYaz(DemoYazici &yazici, const DemoAyarlari &ayarlar)
{
    const int fiyatSayisi = qBound(0, ayarlar.fiyatSayisi, 10);
    const int fiyatTanimSayisi = qMax(5, fiyatSayisi);
    QStringList veritabanlari{TanimVeritabaniAdi};
    for (const DemoFirmasi &f : Firmalar)
        veritabanlari << QString::fromUtf8(f.db);
    yazici.Hazirla(veritabanlari, GirisAdlari({0, 1}), ayarlar.uzerineYaz);

    TanimYaz(yazici);

    Zar zar(20261206);
    QVector<Kart> kaynak;
    kaynak.reserve(ayarlar.kartSayisi);
    for (int i = 0; i < ayarlar.kartSayisi; ++i)
        kaynak.append(KartUret(i, zar));

    const QVector<KdvGrubu> ortak(std::begin(OrtakGruplar), std::end(OrtakGruplar));
    FirmaYaz(yazici, QStringLiteral("FIRMA01"), ortak, kaynak, fiyatSayisi, fiyatTanimSayisi, GirisAdlari({0}));

    // The branch: every other source card (alternately as it is and with other values),
    // then cards of its own. Its VAT groups come in another order, so their ids differ.
    QVector<Kart> sube;
    for (int i = 0; i < kaynak.size(); i += 2) {
        Kart kart = kaynak[i];
        if ((i / 2) % 2 == 1)
            KartiDegistir(kart, zar);
        sube.append(kart);
    }
    const int kendi = qMax(30, ayarlar.kartSayisi / 20);
    for (int i = 0; i < kendi; ++i) {
        Kart kart = KartUret(i, zar);
        // Codes of its own never meet the source's numeric codes, however many cards it has.
        kart.degerler[0] = QStringLiteral("ŞB%1").arg(90001 + i);
        kart.degerler[1] = QStringLiteral("ŞUBE ÜRÜNÜ ") + kart.degerler[1].toString();
        sube.append(kart);
    }
    QVector<KdvGrubu> ters(ortak.rbegin(), ortak.rend());
    FirmaYaz(yazici, QStringLiteral("FIRMA02"), ters, sube, fiyatSayisi, fiyatTanimSayisi, GirisAdlari({0, 1}));

    QVector<Kart> toptan;
    for (int i = 0; i < qMin(50, int(kaynak.size())); ++i)
        toptan.append(kaynak[i]);
    const QVector<KdvGrubu> uyumsuz(std::begin(UyumsuzGruplar), std::end(UyumsuzGruplar));
    for (Kart &k : toptan)
        k.departman = qMin(k.departman, 4);
    FirmaYaz(yazici, QStringLiteral("FIRMA03"), uyumsuz, toptan, qMin(fiyatSayisi, 2), 2, GirisAdlari({0}));
}

void DemoOlustur(const QString &klasor, const DemoAyarlari &ayarlar)
{
    SqliteDemoYazici yazici(klasor);
    DemoYaz(yazici, ayarlar);
}

void SqlServerDemoOlustur(const QString &server, const QString &kullanici, const QString &sifre,
                          const DemoAyarlari &ayarlar)
{
    SqlServerDemoYazici yazici(server, kullanici, sifre);
    DemoYaz(yazici, ayarlar);
}
