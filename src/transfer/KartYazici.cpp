#include "transfer/KartYazici.h"

#include "common/Saat.h"
#include "state/DegerMetin.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "state/HazirKomut.h"
#include "transfer/IceAktarimHatasi.h"

#include <algorithm>

using namespace Degiskenler;

namespace {

const QString StokKart = QStringLiteral("STOKKART");
const QString StokFiyat = QStringLiteral("STOKFIYAT");

int Yer(const QStringList &adlar, const QString &ad)
{
    for (int i = 0; i < adlar.size(); ++i)
        if (adlar[i].compare(ad, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// What an empty file value writes into a column whose stored value differs: NULL for dates,
// an empty text for text columns, "0" for the rest on a card (numbers, bits), NULL on a price.
QVariant BosDeger(const SutunBilgisi &sutun, bool bosSifirdir)
{
    switch (sutun.tip) {
    case SutunTipi::Tarih:
        return Baglanti.SaklanacakDeger(QString(), sutun);
    case SutunTipi::SabitMetin:
    case SutunTipi::DegiskenMetin:
        return QVariant(QStringLiteral(""));
    default:
        return bosSifirdir ? Baglanti.SaklanacakDeger(QStringLiteral("0"), sutun) : QVariant();
    }
}

QVariant YazilacakDeger(QStringView metin, const SutunBilgisi &sutun, bool bosSifirdir)
{
    if (metin.isEmpty())
        return BosDeger(sutun, bosSifirdir);
    return MetinDegeri(metin, sutun, Baglanti.ArkaUcu());
}

// The stored value's text against the file's: a NULL never differs.
bool Farkli(const QVariant &deger, const SutunBilgisi &sutun, QStringView metin)
{
    if (!deger.isValid() || deger.isNull())
        return false;
    return !AyniMetin(deger, sutun.tip, metin);
}

bool AyniDeger(const QVariant &eski, const QVariant &yeni, const SutunBilgisi &sutun)
{
    const bool eskiBos = !eski.isValid() || eski.isNull();
    const bool yeniBos = !yeni.isValid() || yeni.isNull();
    if (eskiBos || yeniBos)
        return eskiBos == yeniBos;
    return DegerMetni(eski, sutun.tip) == DegerMetni(yeni, sutun.tip);
}

} // namespace

KartYazici::KartYazici(const KartBasligi &baslik, const QHash<int, HedefGrubu> &gruplar, DegisiklikKaydi *degisiklikler)
    : m_adlar(baslik.adlar), m_fiyatSutunlari(baslik.fiyat.sutunlar), m_gruplar(gruplar), m_degisiklikler(degisiklikler)
{
    const QStringList kartSutunlari = Baglanti.TabloSutunlari(StokKart);
    for (const QString &ad : m_adlar)
        if (Yer(kartSutunlari, ad) < 0)
            throw IceAktarimHatasi(5, QString(), QString(), IceAktarimHatasi::Durus::KartBasligi);
    const QStringList fiyatSutunlari = Baglanti.TabloSutunlari(StokFiyat);
    for (const QString &ad : m_fiyatSutunlari)
        if (Yer(fiyatSutunlari, ad) < 0)
            throw IceAktarimHatasi(6, QString(), QString(), IceAktarimHatasi::Durus::FiyatBasligi);

    for (const QString &ad : m_adlar)
        m_tipler << Baglanti.TabloSutunu(StokKart, ad);
    for (const QString &ad : m_fiyatSutunlari)
        m_fiyatTipleri << Baglanti.TabloSutunu(StokFiyat, ad);
    m_grupTipi = Baglanti.TabloSutunu(StokKart, QStringLiteral("KDVGrup_ID"));
    m_tarihlerVar = Yer(kartSutunlari, QStringLiteral("Yr_Tarih")) >= 0 && Yer(kartSutunlari, QStringLiteral("Deg_Tarih")) >= 0;
    m_yrYeri = Yer(m_adlar, QStringLiteral("Yr_Tarih"));
    m_degYeri = Yer(m_adlar, QStringLiteral("Deg_Tarih"));
    m_tarihTipi = Baglanti.TabloSutunu(StokKart, QStringLiteral("Deg_Tarih"));
    // The look-up holds the code it looked for until the transaction ends (where the backend
    // needs a hint for it). The stored Deg_Tarih comes last, so that a stamp that is already
    // today is not rewritten.
    m_kartSorgusu = QStringLiteral("SELECT Stok_ID,KDVGrup_ID,%1%2 FROM STOKKART%3 WHERE Stok_Kod=?")
                        .arg(m_adlar.join(QLatin1Char(',')), m_tarihlerVar ? QStringLiteral(",Deg_Tarih") : QString(),
                             Baglanti.KilitIpucu());
    m_fiyatSorgusu = QStringLiteral("SELECT %1 FROM STOKFIYAT%2 WHERE Stok_ID=?")
                         .arg(m_fiyatSutunlari.join(QLatin1Char(',')), Baglanti.KilitIpucu());
    const QString bugun = Bugun().toString(QStringLiteral("dd.MM.yyyy"));
    m_bugun = Baglanti.SaklanacakDeger(bugun, m_tarihTipi);
    m_yrBugun = Baglanti.SaklanacakDeger(bugun, Baglanti.TabloSutunu(StokKart, QStringLiteral("Yr_Tarih")));
    m_kartYazimi.Boyutla(int(m_adlar.size()) + 2);
}

KartYazici::~KartYazici() = default;

bool KayitNoktasinaDon()
{
    try {
        Baglanti.IslemGeriAl();
        return true;
    } catch (const Hata &) {
        // The first failure is the one to tell.
        return false;
    }
}

QString KartYazici::DegerHatasi(const DosyaSatiri &satir, QStringView stokKod, const QString &sutun, const QString &neden) const
{
    return QStringLiteral("Satır %1, stok kodu %2, %3 sütunu: %4").arg(satir.no).arg(stokKod.toString(), sutun, neden);
}

void KartYazici::Denetle(const KartKaydi &kart) const
{
    const auto reddet = [&](const QString &aciklama) {
        throw IceAktarimHatasi(7, aciklama, kart.stokKod.toString());
    };
    if (!m_gruplar.contains(kart.departman))
        reddet(QStringLiteral("Satır %1: Hedef firmada %2 numaralı KDV departmanı yok.").arg(kart.kart.no).arg(kart.departman));
    // Values written as they stand, or by the empty-value rule ("0", an empty text or NULL,
    // which every column of its kind takes). The dates a card gets are the writer's own.
    const std::vector<QStringView> &d = kart.kart.degerler;
    for (int i = 0; i < m_adlar.size(); ++i) {
        if (d[size_t(i)].isEmpty() || (m_tarihlerVar && (i == m_yrYeri || i == m_degYeri)))
            continue;
        const QString neden = MetinUygunsuzlugu(d[size_t(i)], m_tipler[i]);
        if (!neden.isEmpty())
            reddet(DegerHatasi(kart.kart, kart.stokKod, m_adlar[i], neden));
    }
    for (int k = 0; k < kart.fiyatSayisi; ++k) {
        const DosyaSatiri &f = kart.Fiyat(k);
        for (int i = 0; i < m_fiyatSutunlari.size(); ++i) {
            if (i == 1 || f.degerler[size_t(i)].isEmpty())
                continue; // Stok_ID: the target's
            const QString neden = MetinUygunsuzlugu(f.degerler[size_t(i)], m_fiyatTipleri[i]);
            if (!neden.isEmpty())
                reddet(DegerHatasi(f, kart.stokKod, m_fiyatSutunlari[i], neden));
        }
    }
}

HazirKomut &KartYazici::Komut(const QString &sql)
{
    auto it = m_komutlar.find(sql);
    if (it == m_komutlar.end())
        it = m_komutlar.insert(sql, std::make_shared<HazirKomut>(Baglanti, sql));
    return **it;
}

bool KartYazici::KartiOku(QStringView stokKod, QVector<QVariant> &satir)
{
    HazirKomut &sorgu = Komut(m_kartSorgusu);
    // Never a null text: bound as it is, it would become NULL.
    sorgu.Bagla(0, QVariant(stokKod.isEmpty() ? QStringLiteral("") : stokKod.toString()));
    sorgu.Yurut();
    const bool var = sorgu.Sonraki();
    if (var) {
        satir.resize(sorgu.SutunSayisi());
        for (int i = 0; i < satir.size(); ++i)
            satir[i] = sorgu.Deger(i);
    }
    sorgu.Bitir();
    return var;
}

KartYazici::Sonuc KartYazici::Yaz(const KartKaydi &kart, YazimSayilari &sayilar)
{
    const std::vector<QStringView> &d = kart.kart.degerler;
    const int n = int(m_adlar.size()); // names 1..N-1; value N is the department
    const auto grupYeri = m_gruplar.constFind(kart.departman);
    if (grupYeri == m_gruplar.constEnd()) // the file changed since it was checked
        throw IceAktarimHatasi(7, QStringLiteral("Satır %1: Hedef firmada %2 numaralı KDV departmanı yok.").arg(kart.kart.no).arg(kart.departman),
                               kart.stokKod.toString());
    const HedefGrubu &grup = *grupYeri;
    QVector<QVariant> &satir = m_satir;
    const bool yeni = !KartiOku(kart.stokKod, satir);
    if (m_degisiklikler)
        m_degisiklikler->KartBasladi(kart.stokKod, kart.stokAd);

    // Card columns to write: position in the card query -> value.
    DegerDizisi &kartYazimi = m_kartYazimi;
    kartYazimi.Temizle();
    if (yeni) {
        kartYazimi.Koy(1, grup.id);
        for (int i = 0; i < n; ++i)
            if (!d[size_t(i)].isEmpty() && !(m_tarihlerVar && (i == m_yrYeri || i == m_degYeri)))
                kartYazimi.Koy(i + 2, MetinDegeri(d[size_t(i)], m_tipler[i], Baglanti.ArkaUcu()));
    } else {
        if (Farkli(satir[1], m_grupTipi, grup.metin))
            kartYazimi.Koy(1, grup.id);
        for (int i = 0; i < n; ++i)
            if (Farkli(satir[i + 2], m_tipler[i], d[size_t(i)]))
                kartYazimi.Koy(i + 2, (m_tarihlerVar && (i == m_yrYeri || i == m_degYeri))
                                          ? QVariant()
                                          : YazilacakDeger(d[size_t(i)], m_tipler[i], true));
    }
    // A differing Yr_Tarih or Deg_Tarih of the file makes the card changed, though only the
    // writer's own dates are stored.
    const bool kartDegisti = !kartYazimi.Bos();
    if (m_tarihlerVar) {
        if (m_yrYeri >= 0)
            kartYazimi.var[size_t(m_yrYeri + 2)] = 0;
        if (m_degYeri >= 0)
            kartYazimi.var[size_t(m_degYeri + 2)] = 0;
    }
    // Writes that would store what is already there are left out.
    if (!yeni) {
        for (int k = 1; k < n + 2; ++k) {
            const SutunBilgisi &tip = k == 1 ? m_grupTipi : m_tipler[k - 2];
            if (kartYazimi.var[size_t(k)] && AyniDeger(satir[k], kartYazimi.deger[size_t(k)], tip))
                kartYazimi.var[size_t(k)] = 0;
        }
    }

    // The card's price rows (a new card has none) against its price lines.
    m_fiyatSatirSayisi = 0;
    if (!yeni && kart.fiyatSayisi > 0)
        FiyatlariOku(satir[0]);
    int yeniFiyat = 0, degisenFiyat = 0;
    const bool fiyatYazilacak = FiyatYazimlariniBul(kart, yeniFiyat, degisenFiyat);

    // Once the card or one of its prices changed, the card is stamped today.
    const bool damga = !yeni && m_tarihlerVar && (kartDegisti || fiyatYazilacak) && !AyniDeger(satir.last(), m_bugun, m_tarihTipi);
    if (!yeni && kartYazimi.Bos() && !damga && !fiyatYazilacak) {
        ++sayilar.kartDegismeyen;
        if (m_degisiklikler)
            m_degisiklikler->KartBitti(KartDurumu::Degismedi);
        return Sonuc::Degismedi;
    }

    if (m_degisiklikler) {
        for (int k = 1; k < n + 2; ++k)
            if (kartYazimi.var[size_t(k)])
                m_degisiklikler->KartSutunu(kart.stokKod, k == 1 ? QStringLiteral("KDVGrup_ID") : m_adlar[k - 2],
                                            yeni ? QVariant() : satir[k], kartYazimi.deger[size_t(k)]);
        if (yeni && m_tarihlerVar) {
            m_degisiklikler->KartSutunu(kart.stokKod, QStringLiteral("Yr_Tarih"), QVariant(), m_yrBugun);
            m_degisiklikler->KartSutunu(kart.stokKod, QStringLiteral("Deg_Tarih"), QVariant(), m_bugun);
        }
        if (damga)
            m_degisiklikler->KartSutunu(kart.stokKod, QStringLiteral("Deg_Tarih"), satir.last(), m_bugun);
    }

    // The card and its prices stand or fall together.
    Baglanti.IslemBaslat();
    try {
        QVariant id = yeni ? QVariant() : satir[0];
        KartiYaz(kart, yeni, damga, id);
        YeniFiyatlariYaz(id);
        DegisenFiyatlariYaz(id);
        Baglanti.IslemOnayla();
    } catch (...) {
        if (!KayitNoktasinaDon())
            m_islemBitti = true;
        if (m_degisiklikler)
            m_degisiklikler->KartGeriAlindi(kart.stokKod);
        throw;
    }
    ++(yeni ? sayilar.kartOlusturulan : sayilar.kartGuncellenen);
    if (m_degisiklikler)
        m_degisiklikler->KartBitti(yeni ? KartDurumu::Olusturuldu : KartDurumu::Guncellendi);
    sayilar.fiyatOlusturulan += yeniFiyat;
    sayilar.fiyatGuncellenen += degisenFiyat;
    return yeni ? Sonuc::Olusturuldu : Sonuc::Guncellendi;
}

void KartYazici::KartiYaz(const KartKaydi &kart, bool yeni, bool damga, QVariant &id)
{
    const int n = int(m_adlar.size());
    DegerDizisi &kartYazimi = m_kartYazimi;
    const auto ad = [&](int konum) { return konum == 1 ? QStringLiteral("KDVGrup_ID") : m_adlar[konum - 2]; };
    m_anahtar.resize(0);
    m_anahtar += yeni ? 'C' : (damga ? 'D' : 'K');
    m_anahtar += QByteArrayView(kartYazimi.var.data(), qsizetype(kartYazimi.var.size()));
    if (yeni) {
        HazirKomut &komut = Komut(m_anahtar, [&] {
            QStringList adlar;
            for (int k = 1; k < n + 2; ++k)
                if (kartYazimi.var[size_t(k)])
                    adlar << ad(k);
            if (m_tarihlerVar)
                adlar << QStringLiteral("Yr_Tarih") << QStringLiteral("Deg_Tarih");
            return QStringLiteral("INSERT INTO STOKKART (%1) VALUES (%2)")
                .arg(adlar.join(QLatin1Char(',')), QStringLiteral("?,").repeated(adlar.size() - 1) + QStringLiteral("?"));
        });
        int yer = 0;
        for (int k = 1; k < n + 2; ++k)
            if (kartYazimi.var[size_t(k)])
                komut.Bagla(yer++, kartYazimi.deger[size_t(k)]);
        if (m_tarihlerVar) {
            komut.Bagla(yer++, m_yrBugun);
            komut.Bagla(yer++, m_bugun);
        }
        komut.Yurut();
        id = komut.SonEklenenId();
        komut.Bitir();
        if (!id.isValid() || id.isNull()) {
            QVector<QVariant> okunan;
            if (!KartiOku(kart.stokKod, okunan))
                throw Hata(QStringLiteral("Oluşturulan stok kartı okunamadı."));
            id = okunan[0];
        }
    } else if (!kartYazimi.Bos() || damga) {
        HazirKomut &komut = Komut(m_anahtar, [&] {
            QStringList atamalar;
            for (int k = 1; k < n + 2; ++k)
                if (kartYazimi.var[size_t(k)])
                    atamalar << ad(k) + QStringLiteral("=?");
            if (damga)
                atamalar << QStringLiteral("Deg_Tarih=?");
            return QStringLiteral("UPDATE STOKKART SET %1 WHERE Stok_ID=?").arg(atamalar.join(QLatin1Char(',')));
        });
        int yer = 0;
        for (int k = 1; k < n + 2; ++k)
            if (kartYazimi.var[size_t(k)])
                komut.Bagla(yer++, kartYazimi.deger[size_t(k)]);
        if (damga)
            komut.Bagla(yer++, m_bugun);
        komut.Bagla(yer++, id);
        komut.Yurut();
        komut.Bitir();
    }
}
