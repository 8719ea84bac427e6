#include "transfer/AktarimOkuyucu.h"

#include "common/KodSayfasi.h"
#include "transfer/IceAktarimHatasi.h"

#include <QSet>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

using Durus = IceAktarimHatasi::Durus;

namespace {

const QString DosyaSonu = QStringLiteral("Dosya sonundan sonra okuma girişimi");
constexpr qint64 DosyaSonuNo = 62;

bool EtiketMi(QByteArrayView satir, const char *etiket)
{
    return satir == QByteArrayView(etiket);
}

// A number of a VAT or price-definition line, read the way the workstation reads it: decimal
// comma, blanks around allowed. Throws Hata when it is no number.
double SayiOku(QStringView metin)
{
    const QStringView m = metin.trimmed();
    std::string sayi;
    qsizetype i = 0, rakam = 0;
    if (m.startsWith(QLatin1Char('+')) || m.startsWith(QLatin1Char('-'))) {
        sayi += char(m[0].unicode());
        ++i;
    }
    bool virgul = false;
    for (; i < m.size(); ++i) {
        const char16_t c = m[i].unicode();
        if (c >= '0' && c <= '9') {
            ++rakam;
            sayi += char(c);
        } else if (c == ',' && !virgul) {
            virgul = true;
            sayi += '.';
        } else {
            rakam = 0;
            break;
        }
    }
    if (rakam == 0)
        throw Hata(QStringLiteral("Tür uyuşmazlığı"), 13);
    return std::strtod(sayi.c_str(), nullptr);
}

// The same as a 16-bit integer, halves rounded to even. Throws Hata outside 16 bits.
qint16 Tamsayi16(QStringView metin)
{
    const double d = std::nearbyint(SayiOku(metin)); // the default rounding mode: halves to even
    if (!(d >= -32768 && d <= 32767))
        throw Hata(QStringLiteral("Taşma"), 6);
    return qint16(d);
}

// True/False or a number (zero = false). Throws Hata otherwise.
bool EvetHayir(QStringView metin)
{
    const QStringView m = metin.trimmed();
    if (m.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (m.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return SayiOku(m) != 0;
}

// A whole number that goes into a statement: digits, a sign and blanks around, 16 bits.
std::optional<qint16> TamSayiDegeri(QStringView metin)
{
    const QStringView m = metin.trimmed();
    qsizetype i = m.startsWith(QLatin1Char('+')) || m.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (m.size() - i < 1 || m.size() - i > 6)
        return std::nullopt;
    int sayi = 0;
    for (qsizetype k = i; k < m.size(); ++k) {
        const char16_t c = m[k].unicode();
        if (c < '0' || c > '9')
            return std::nullopt;
        sayi = sayi * 10 + (c - '0');
    }
    if (m.startsWith(QLatin1Char('-')))
        sayi = -sayi;
    if (sayi < -32768 || sayi > 32767)
        return std::nullopt;
    return qint16(sayi);
}

} // namespace

int KayitBolgesi(KayitTuru tur)
{
    switch (tur) {
    case KayitTuru::KdvGrubu:
    case KayitTuru::KdvSonu:
        return 3;
    case KayitTuru::FiyatTanimi:
        return 4;
    case KayitTuru::KartBasligi:
        return 5;
    case KayitTuru::Kart:
        return 7;
    }
    return 7;
}

namespace {

SatirOkuyucu DosyayiAc(const QString &yol)
{
    try {
        return SatirOkuyucu(yol);
    } catch (const Hata &hata) {
        throw IceAktarimHatasi(2, hata.Aciklama(), QString(), IceAktarimHatasi::Durus::Yok, hata.Numara());
    }
}

} // namespace

AktarimOkuyucu::AktarimOkuyucu(const QString &yol) : m_satirlar(DosyayiAc(yol))
{
    std::optional<QByteArrayView> ilk;
    try {
        const QString kodlama = m_satirlar.YabanciKodlama();
        if (!kodlama.isEmpty())
            throw IceAktarimHatasi(2, kodlama, QString(), Durus::YabanciKodlama);
        ilk = m_satirlar.Satir();
    } catch (const IceAktarimHatasi &) {
        throw;
    } catch (const Hata &hata) {
        // A first line too long to be the tag: no transfer file.
        if (m_satirlar.SatirNo() == 1)
            throw IceAktarimHatasi(2, QString(), QString(), Durus::DosyaDegil);
        throw IceAktarimHatasi(2, hata.Aciklama(), QString(), Durus::Yok, hata.Numara());
    }
    if (!ilk)
        throw IceAktarimHatasi(2, DosyaSonu, QString(), Durus::Yok, DosyaSonuNo);
    if (!EtiketMi(*ilk, "<KDVGRUPLARI>"))
        throw IceAktarimHatasi(2, QString(), QString(), Durus::DosyaDegil);
    m_ilkKayit = Konum();
}

void AktarimOkuyucu::Basa()
{
    KonumaGit(m_ilkKayit);
}

void AktarimOkuyucu::KonumaGit(const Yer &yer)
{
    m_satirlar.KonumaGit(yer.satir);
    m_bolum = yer.bolum;
    m_kdvSayisi = yer.kdvSayisi;
    m_sonGeldi = yer.sonGeldi;
    m_stokKod.clear();
}

bool AktarimOkuyucu::Sonraki(Kayit &kayit)
{
    // Failures of the lines themselves take the region of the section they stand in.
    const int bolge = m_bolum == Bolum::Kdv ? 3 : m_bolum == Bolum::FiyatTanim ? 4 : 7;
    try {
        return SonrakiKayit(kayit);
    } catch (const IceAktarimHatasi &) {
        throw;
    } catch (const Hata &hata) {
        throw IceAktarimHatasi(bolge, hata.Aciklama(), bolge == 7 ? m_stokKod : QString(), Durus::Yok, hata.Numara());
    }
}

QByteArrayView AktarimOkuyucu::SatirOku(int bolge)
{
    const auto satir = m_satirlar.Satir();
    if (!satir)
        throw IceAktarimHatasi(bolge, DosyaSonu, QString(), Durus::Yok, DosyaSonuNo);
    return *satir;
}

bool AktarimOkuyucu::SonrakiKayit(Kayit &kayit)
{
    switch (m_bolum) {
    case Bolum::Kdv: {
        const QByteArrayView ham = SatirOku(3);
        kayit.satir = m_satirlar.SatirNo();
        if (EtiketMi(ham, "<FIYATTANIM>")) {
            // Without a group the only VAT check would compare nothing; the export writes them all.
            if (m_kdvSayisi == 0)
                throw IceAktarimHatasi(3, QStringLiteral("Dosyada hiç KDV grubu yok: KDV tanımları karşılaştırılamadığından "
                                                         "dosya okunmayacak."),
                                       QString(), Durus::KdvBolumuBos);
            m_bolum = Bolum::FiyatTanim;
            kayit.tur = KayitTuru::KdvSonu;
            return true;
        }
        if (EtiketMi(ham, "<END>"))
            throw IceAktarimHatasi(3, QString(), QString(), Durus::StokYok);
        KdvOku(ham, kayit);
        return true;
    }
    case Bolum::FiyatTanim: {
        const QByteArrayView ham = SatirOku(4);
        kayit.satir = m_satirlar.SatirNo();
        if (EtiketMi(ham, "<STOKKART>")) {
            BaslikOku(kayit);
            m_bolum = Bolum::Kartlar;
            return true;
        }
        if (EtiketMi(ham, "<END>"))
            throw IceAktarimHatasi(4, QString(), QString(), Durus::StokYok);
        FiyatTanimiOku(ham, kayit);
        return true;
    }
    case Bolum::Kartlar: {
        if (m_sonGeldi) {
            m_bolum = Bolum::Bitti;
            return false;
        }
        m_stokKod.clear();
        const QByteArrayView ham = SatirOku(7);
        kayit.satir = m_satirlar.SatirNo();
        if (EtiketMi(ham, "<END>")) {
            m_bolum = Bolum::Bitti;
            return false;
        }
        KartOku(ham, kayit);
        return true;
    }
    case Bolum::Bitti:
        break;
    }
    return false;
}

namespace {

// Bytes a transfer file cannot hold: control characters and those Windows-1254 leaves undefined.
const std::array<uchar, 256> &SupheliBaytlar()
{
    static const std::array<uchar, 256> tablo = [] {
        std::array<uchar, 256> t{};
        const auto &karakterler = Windows1254Karakterleri();
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = b < 0x20 || b == 0x7F || (b >= 0x80 && karakterler[size_t(b)] == 0);
        return t;
    }();
    return tablo;
}

} // namespace

bool AktarimOkuyucu::Coz(QByteArrayView ham, DosyaSatiri &satir) const
{
    const auto &karakterler = Windows1254Karakterleri();
    const auto &supheli = SupheliBaytlar();
    satir.no = m_satirlar.SatirNo();
    satir.metin.resize(ham.size());
    char16_t *const bas = reinterpret_cast<char16_t *>(satir.metin.data());
    const uchar *const baytlar = reinterpret_cast<const uchar *>(ham.data());
    uchar bozuk = 0;
    for (qsizetype i = 0; i < ham.size(); ++i) {
        bas[i] = karakterler[baytlar[i]];
        bozuk |= supheli[baytlar[i]];
    }
    // Split at ";" (found in the bytes, where the search is quickest); a final ";" ends the
    // line without an empty value after it.
    satir.degerler.clear();
    qsizetype degerBasi = 0;
    while (degerBasi < ham.size()) {
        const void *p = std::memchr(baytlar + degerBasi, ';', size_t(ham.size() - degerBasi));
        const qsizetype son = p ? static_cast<const uchar *>(p) - baytlar : ham.size();
        satir.degerler.emplace_back(bas + degerBasi, son - degerBasi);
        degerBasi = son + 1;
    }
    return bozuk != 0;
}

void AktarimOkuyucu::KarakterleriDenetle(QByteArrayView ham, int bolge, const QString &yer, const QStringList &sutunlar) const
{
    const auto &karakterler = Windows1254Karakterleri();
    for (qsizetype i = 0; i < ham.size(); ++i) {
        const uchar b = uchar(ham[i]);
        // Printable ASCII, and every byte the code page gives a character above it, may stand.
        if ((b >= 0x20 && b < 0x7F) || (b >= 0x80 && karakterler[b] != 0))
            continue;
        const QString neden = b >= 0x80 ? QStringLiteral("değer Windows-1254 kod sayfasında olmayan bir karakter içeriyor")
                                        : KarakterYazilamazNedeni(char16_t(b));
        const int sira = int(std::count(ham.begin(), ham.begin() + i, ';'));
        const QString sutun = sira < sutunlar.size() ? sutunlar[sira] + QStringLiteral(" sütunu")
                                                     : QStringLiteral("%1. değer").arg(sira + 1);
        throw IceAktarimHatasi(bolge, QStringLiteral("Satır %1, %2, %3: %4.").arg(m_satirlar.SatirNo()).arg(yer, sutun, neden),
                               bolge == 7 ? m_stokKod : QString());
    }
}

void AktarimOkuyucu::KdvOku(QByteArrayView ham, Kayit &kayit)
{
    static const QStringList sutunlar = {"Departman_No", "Departman_Adi", "KDV"};
    DosyaSatiri satir;
    if (Coz(ham, satir))
        KarakterleriDenetle(ham, 3, QStringLiteral("KDV grubu"), sutunlar);
    // Three values each followed by ";"; anything after the third is not read.
    if (satir.degerler.size() < 3 || (satir.degerler.size() == 3 && !satir.metin.endsWith(QLatin1Char(';'))))
        throw IceAktarimHatasi(3, QString(), QString(), Durus::KdvOkunamadi);
    kayit.tur = KayitTuru::KdvGrubu;
    kayit.kdv.Departman_No = Tamsayi16(satir.degerler[0]);
    kayit.kdv.Departman_Adi = satir.degerler[1].toString();
    kayit.kdv.KDV = Tamsayi16(satir.degerler[2]);
    ++m_kdvSayisi;
}

void AktarimOkuyucu::FiyatTanimiOku(QByteArrayView ham, Kayit &kayit)
{
    static const QStringList sutunlar = {"Sira_No", "Fiyat_Aciklama", "On_Deger"};
    DosyaSatiri satir;
    if (Coz(ham, satir))
        KarakterleriDenetle(ham, 4, QStringLiteral("fiyat tanımı"), sutunlar);
    if (satir.degerler.size() < 3 || (satir.degerler.size() == 3 && !satir.metin.endsWith(QLatin1Char(';'))))
        throw IceAktarimHatasi(4, QString(), QString(), Durus::FiyatTanimOkunamadi);
    kayit.tur = KayitTuru::FiyatTanimi;
    kayit.tanim.Sira_No = Tamsayi16(satir.degerler[0]);
    kayit.tanim.Fiyat_Aciklama = satir.degerler[1].toString();
    kayit.tanim.On_Deger = EvetHayir(satir.degerler[2]);
}

void AktarimOkuyucu::BaslikOku(Kayit &kayit)
{
    const auto kartBasligiHatasi = [] { return IceAktarimHatasi(5, QString(), QString(), Durus::KartBasligi); };
    // The count line: a whole number, blanks around allowed.
    const QByteArrayView sayiSatiri = SatirOku(5);
    const QByteArrayView sayi = sayiSatiri.trimmed();
    bool tamam = !sayi.isEmpty() && sayi.size() <= 5 && std::all_of(sayi.begin(), sayi.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int n = tamam ? QByteArray(sayi.data(), sayi.size()).toInt() : 0;
    if (n < 1 || n > 32767)
        throw kartBasligiHatasi();
    // The field-name line in the export's shape, with the stock code among its names.
    const QByteArrayView alanSatiri = SatirOku(5);
    const auto adlar = KartSutunSatiriCoz(QString::fromLatin1(alanSatiri.data(), alanSatiri.size()));
    if (!adlar || adlar->size() != n - 1)
        throw kartBasligiHatasi();
    KartBasligi baslik;
    baslik.n = n;
    baslik.adlar = *adlar;
    QSet<QString> gorulen;
    for (int i = 0; i < baslik.adlar.size(); ++i) {
        const QString buyuk = baslik.adlar[i].toUpper();
        if (gorulen.contains(buyuk) || buyuk == QLatin1String("STOK_ID") || buyuk == QLatin1String("KDVGRUP_ID"))
            throw kartBasligiHatasi();
        gorulen.insert(buyuk);
        if (buyuk == QLatin1String("STOK_KOD"))
            baslik.stokKodYeri = i;
        if (buyuk == QLatin1String("STOK_AD"))
            baslik.stokAdYeri = i;
    }
    if (baslik.stokKodYeri < 0)
        throw kartBasligiHatasi();

    const QByteArrayView fiyatEtiketi = SatirOku(6);
    std::optional<FiyatOnEkiBicimi> fiyat;
    if (EtiketMi(fiyatEtiketi, "<STOKFIYAT>")) {
        const QByteArrayView onEk = SatirOku(6);
        fiyat = FiyatOnEkiCoz(QString::fromLatin1(onEk.data(), onEk.size()));
    }
    if (!fiyat)
        throw IceAktarimHatasi(6, QString(), QString(), Durus::FiyatBasligi);
    baslik.fiyat = *fiyat;

    if (!EtiketMi(SatirOku(7), "<STOK>"))
        throw IceAktarimHatasi(7, QString(), QString(), Durus::StokEtiketiYok);

    m_baslik = baslik;
    m_kartSutunlari = baslik.adlar;
    m_kartSutunlari << QStringLiteral("Departman_No");
    kayit.tur = KayitTuru::KartBasligi;
    kayit.baslik = baslik;
}

void AktarimOkuyucu::KartOku(QByteArrayView ham, Kayit &kayit)
{
    KartKaydi &kart = kayit.kart;
    kayit.tur = KayitTuru::Kart;
    const bool denetlenecek = Coz(ham, kart.kart);
    const std::vector<QStringView> &d = kart.kart.degerler;
    const int n = m_baslik.n;
    kart.stokKod = size_t(m_baslik.stokKodYeri) < d.size() ? d[size_t(m_baslik.stokKodYeri)].trimmed() : QStringView();
    kart.stokAd = m_baslik.stokAdYeri >= 0 && size_t(m_baslik.stokAdYeri) < d.size() ? d[size_t(m_baslik.stokAdYeri)].trimmed()
                                                                                     : QStringView();
    m_stokKod = kart.stokKod.toString();
    if (denetlenecek)
        KarakterleriDenetle(ham, 7, QStringLiteral("stok kodu %1").arg(m_stokKod), m_kartSutunlari);
    const auto reddet = [&](const QString &neden) {
        throw IceAktarimHatasi(7, QStringLiteral("Satır %1: %2").arg(kart.kart.no).arg(neden), m_stokKod);
    };
    if (int(d.size()) != n)
        reddet(QStringLiteral("%1 stok kodlu kartın satırında %2 değer var, %3 olmalı.").arg(m_stokKod).arg(d.size()).arg(n));
    const auto departman = TamSayiDegeri(d[size_t(n - 1)]);
    if (!departman)
        reddet(QStringLiteral("%1 stok kodlu kartın KDV departman numarası geçersiz: '%2'.").arg(m_stokKod, d[size_t(n - 1)].toString()));
    kart.departman = *departman;

    // Its price lines, up to the next record.
    kart.fiyatSayisi = 0;
    qsizetype boyut = ham.size();
    for (;;) {
        const QByteArrayView satir = SatirOku(7);
        if (EtiketMi(satir, "<STOK>"))
            break;
        if (EtiketMi(satir, "<END>")) {
            m_sonGeldi = true;
            break;
        }
        // A record is held whole for the writer: its size is bounded as a line's is.
        boyut += satir.size();
        if (boyut > 16 * SatirOkuyucu::EnUzunSatir)
            reddet(QStringLiteral("%1 stok kodlu kartın kaydı (fiyat satırlarıyla) %2 baytı aşıyor.")
                       .arg(m_stokKod)
                       .arg(16 * SatirOkuyucu::EnUzunSatir));
        FiyatOku(satir, kart, kart.fiyatSayisi++);
    }
}

void AktarimOkuyucu::FiyatOku(QByteArrayView ham, KartKaydi &kart, int sira)
{
    const QStringList &sutunlar = m_baslik.fiyat.sutunlar;
    if (size_t(sira) == kart.fiyatlar.size())
        kart.fiyatlar.emplace_back();
    if (size_t(sira) >= kart.seviyeler.size())
        kart.seviyeler.resize(size_t(sira) + 1);
    DosyaSatiri &satir = kart.fiyatlar[size_t(sira)];
    if (Coz(ham, satir))
        KarakterleriDenetle(ham, 7, QStringLiteral("stok kodu %1").arg(m_stokKod), sutunlar);
    const auto reddet = [&](const QString &neden) {
        throw IceAktarimHatasi(7, QStringLiteral("Satır %1: %2").arg(satir.no).arg(neden), m_stokKod);
    };
    if (satir.degerler.size() != size_t(sutunlar.size()))
        reddet(QStringLiteral("%1 stok kodlu kartın bir fiyat satırında %2 değer var, %3 olmalı.")
                   .arg(m_stokKod)
                   .arg(satir.degerler.size())
                   .arg(sutunlar.size()));
    const auto seviye = TamSayiDegeri(satir.degerler[0]);
    if (!seviye)
        reddet(QStringLiteral("%1 stok kodlu kartın fiyat seviyesi geçersiz: '%2'.").arg(m_stokKod, satir.degerler[0].toString()));
    kart.seviyeler[size_t(sira)] = *seviye;
}
