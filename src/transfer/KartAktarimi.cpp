#include "transfer/KartAktarimi.h"

#include "common/Ilerleme.h"
#include "common/Saat.h"
#include "state/DegerMetin.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "state/HazirKomut.h"
#include "transfer/AktarimDosyasi.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <memory>

using namespace Degiskenler;

namespace {

const QString FormatHatasi = QStringLiteral("Dosya Formatı Hatası Dosya Ravelkoi İçinygun Dosya Değil.");
const QString KartBaslikHatasi = QStringLiteral("STOK OKMA PARAMETRESİ ADET HATASI ");
const QString FiyatBaslikHatasi = QStringLiteral("STOK OKMA PARAMETRESİ HATASI");

// A whole number of the file that goes into a statement: digits only, 16 bits.
std::optional<qint16> TamSayiDegeri(const QString &metin)
{
    static const QRegularExpression bicim(QStringLiteral(R"(^\s*[+-]?\d{1,6}\s*$)"));
    if (!bicim.match(metin).hasMatch())
        return std::nullopt;
    const int sayi = metin.trimmed().toInt();
    if (sayi < -32768 || sayi > 32767)
        return std::nullopt;
    return qint16(sayi);
}

bool IcerirMi(const QStringList &adlar, const QString &ad)
{
    for (const QString &a : adlar)
        if (a.compare(ad, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Never a null text: bound as it is, it would become NULL.
QString BosDegil(const QString &metin)
{
    return metin.isNull() ? QStringLiteral("") : metin;
}

// What an empty file value writes into a column whose stored value differs: NULL for
// dates, an empty text for text columns, "0" for the rest (numbers, bits).
QVariant BosDeger(const SutunBilgisi &sutun, bool bosSifirdir)
{
    switch (sutun.tip) {
    case SutunTipi::Tarih:
        return MetinDegeri(QString(), sutun, Baglanti.SQLiteMi());
    case SutunTipi::SabitMetin:
    case SutunTipi::DegiskenMetin:
        return QVariant(QStringLiteral(""));
    default:
        return bosSifirdir ? MetinDegeri(QStringLiteral("0"), sutun, Baglanti.SQLiteMi()) : QVariant();
    }
}

QVariant YazilacakDeger(const QString &metin, const SutunBilgisi &sutun, bool bosSifirdir)
{
    if (metin.isEmpty())
        return BosDeger(sutun, bosSifirdir);
    return MetinDegeri(metin, sutun, Baglanti.SQLiteMi());
}

// The stored value's text against the file's: a NULL never differs.
bool Farkli(const QVariant &deger, const SutunBilgisi &sutun, const QString &metin)
{
    if (!deger.isValid() || deger.isNull())
        return false;
    return DegerMetni(deger, sutun.tip).trimmed() != metin;
}

bool AyniDeger(const QVariant &eski, const QVariant &yeni, const SutunBilgisi &sutun)
{
    const bool eskiBos = !eski.isValid() || eski.isNull();
    const bool yeniBos = !yeni.isValid() || yeni.isNull();
    if (eskiBos || yeniBos)
        return eskiBos == yeniBos;
    return DegerMetni(eski, sutun.tip) == DegerMetni(yeni, sutun.tip);
}

// One price line's write: a new row, or the columns of a stored one that differ.
struct FiyatYazimi {
    bool yeni;
    int seviye;
    QMap<int, QVariant> sutunlar; // position in the price prefix -> value
};

struct KartKaydi {
    QStringList degerler;          // values 1..N of the card line
    QList<QStringList> fiyatlar;   // its price lines
};

// Writes the cards of one import. Statements are prepared once and reused; the target's
// VAT groups are looked up once per department.
class KartYazici
{
public:
    KartYazici(const QStringList &adlar, const FiyatOnEkiBicimi &fiyat, IceAktarimOzeti &ozet)
        : m_adlar(adlar), m_fiyat(fiyat), m_ozet(ozet)
    {
        for (const QString &ad : m_adlar)
            m_tipler << Baglanti.TabloSutunu(QStringLiteral("STOKKART"), ad);
        for (const QString &ad : m_fiyat.sutunlar)
            m_fiyatTipleri << Baglanti.TabloSutunu(QStringLiteral("STOKFIYAT"), ad);
        m_grupTipi = Baglanti.TabloSutunu(QStringLiteral("STOKKART"), QStringLiteral("KDVGrup_ID"));
        const QStringList tablo = Baglanti.TabloSutunlari(QStringLiteral("STOKKART"));
        m_tarihlerVar = IcerirMi(tablo, QStringLiteral("Yr_Tarih")) && IcerirMi(tablo, QStringLiteral("Deg_Tarih"));
        // The stored Deg_Tarih comes last, so that a stamp that is already today is not rewritten.
        m_kartSorgusu = QStringLiteral("SELECT Stok_ID,KDVGrup_ID,%1%2 FROM STOKKART WHERE Stok_Kod=?")
                            .arg(m_adlar.join(QLatin1Char(',')), m_tarihlerVar ? QStringLiteral(",Deg_Tarih") : QString());
        m_fiyatSorgusu = QStringLiteral("SELECT %1 FROM STOKFIYAT WHERE Stok_ID=?").arg(m_fiyat.sutunlar.join(QLatin1Char(',')));
        m_tarihTipi = Baglanti.TabloSutunu(QStringLiteral("STOKKART"), QStringLiteral("Deg_Tarih"));
        m_yrTipi = Baglanti.TabloSutunu(QStringLiteral("STOKKART"), QStringLiteral("Yr_Tarih"));
        for (int i = 0; i < m_adlar.size(); ++i) {
            if (m_adlar[i].compare(QLatin1String("Yr_Tarih"), Qt::CaseInsensitive) == 0)
                m_yrYeri = i;
            if (m_adlar[i].compare(QLatin1String("Deg_Tarih"), Qt::CaseInsensitive) == 0)
                m_degYeri = i;
        }
        const QString bugun = Bugun().toString(QStringLiteral("dd.MM.yyyy"));
        m_bugun = MetinDegeri(bugun, m_tarihTipi, Baglanti.SQLiteMi());
        m_yrBugun = MetinDegeri(bugun, m_yrTipi, Baglanti.SQLiteMi());
    }

    // Writes one card and counts the statements it took.
    void Yaz(const KartKaydi &kart);

private:
    enum class Sonuc { Olusturuldu, Guncellendi, Degismedi };
    Sonuc KartiYaz(const KartKaydi &kart);
    QVariant GrupId(const QString &departman);
    bool KartiOku(const QString &stokKod, QVector<QVariant> &satir);
    void Calistir(const QString &sql, const QVector<QVariant> &degerler);
    void FiyatlariYaz(const QVector<FiyatYazimi> &yazimlar, const QVariant &id);
    HazirKomut &Komut(const QString &sql);

    QStringList m_adlar;
    QVector<SutunBilgisi> m_tipler;
    FiyatOnEkiBicimi m_fiyat;
    QVector<SutunBilgisi> m_fiyatTipleri;
    SutunBilgisi m_grupTipi, m_tarihTipi, m_yrTipi;
    bool m_tarihlerVar = false;
    int m_yrYeri = -1, m_degYeri = -1;
    QVariant m_bugun, m_yrBugun;
    QString m_kartSorgusu, m_fiyatSorgusu;
    QHash<QString, QVariant> m_gruplar;
    QHash<QString, std::shared_ptr<HazirKomut>> m_komutlar; // kept for the whole import
    IceAktarimOzeti &m_ozet;
};

HazirKomut &KartYazici::Komut(const QString &sql)
{
    auto it = m_komutlar.find(sql);
    if (it == m_komutlar.end())
        it = m_komutlar.insert(sql, std::make_shared<HazirKomut>(Baglanti, sql));
    return **it;
}

QVariant KartYazici::GrupId(const QString &departman)
{
    const QString anahtar = departman.trimmed();
    auto it = m_gruplar.find(anahtar);
    if (it != m_gruplar.end())
        return *it;
    HazirKomut &sorgu = Komut(QStringLiteral("SELECT Grup_ID FROM KDVGRUPLARI WHERE Departman_No=?"));
    sorgu.Bagla(0, int(*TamSayiDegeri(anahtar)));
    sorgu.Yurut();
    if (!sorgu.Sonraki()) {
        sorgu.Bitir();
        throw Hata(QStringLiteral("Hedef firmada %1 numaralı KDV departmanı yok.").arg(anahtar));
    }
    const QVariant id = sorgu.Deger(0);
    sorgu.Bitir();
    return *m_gruplar.insert(anahtar, id);
}

bool KartYazici::KartiOku(const QString &stokKod, QVector<QVariant> &satir)
{
    HazirKomut &sorgu = Komut(m_kartSorgusu);
    sorgu.Bagla(0, BosDegil(stokKod));
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

void KartYazici::Calistir(const QString &sql, const QVector<QVariant> &degerler)
{
    HazirKomut &komut = Komut(sql);
    for (int i = 0; i < degerler.size(); ++i)
        komut.Bagla(i, degerler[i]);
    komut.Yurut();
    komut.Bitir();
}

// The card's price writes in as few statements as their shapes allow: the new rows with one
// multi-row INSERT per column set, the changed rows with one UPDATE whose CASE gives every
// level its own values. Lines of one level are merged first, the later value winning, which
// leaves the rows as writing them one after another would.
void KartYazici::FiyatlariYaz(const QVector<FiyatYazimi> &yazimlar, const QVariant &id)
{
    QMap<int, QMap<int, QVariant>> yeniler, degisenler; // level -> column -> value
    for (const FiyatYazimi &y : yazimlar) {
        auto &hedef = yeniler.contains(y.seviye) || y.yeni ? yeniler[y.seviye] : degisenler[y.seviye];
        for (auto it = y.sutunlar.cbegin(); it != y.sutunlar.cend(); ++it)
            hedef.insert(it.key(), it.value());
    }

    // New rows, grouped by the columns they carry (an absent column keeps its default).
    QMap<QList<int>, QList<int>> gruplar; // columns -> levels
    for (auto it = yeniler.cbegin(); it != yeniler.cend(); ++it)
        gruplar[it->keys()].append(it.key());
    for (auto g = gruplar.cbegin(); g != gruplar.cend(); ++g) {
        const QList<int> &sutunlar = g.key();
        QStringList adlar;
        for (int s : sutunlar)
            adlar << m_fiyat.sutunlar[s];
        adlar << QStringLiteral("Stok_ID");
        const QString yer = QLatin1Char('(') + QStringLiteral("?,").repeated(adlar.size() - 1) + QStringLiteral("?)");
        // A statement stays well under every backend's limit of bound values.
        const int parca = qMax(1, 900 / int(adlar.size()));
        const QList<int> &seviyeler = g.value();
        for (int bas = 0; bas < seviyeler.size(); bas += parca) {
            const int son = qMin(int(seviyeler.size()), bas + parca);
            QStringList satirlar;
            QVector<QVariant> degerler;
            for (int i = bas; i < son; ++i) {
                const QMap<int, QVariant> &satir = yeniler[seviyeler[i]];
                for (int s : sutunlar)
                    degerler << satir.value(s);
                degerler << id;
                satirlar << yer;
            }
            Calistir(QStringLiteral("INSERT INTO STOKFIYAT (%1) VALUES %2")
                         .arg(adlar.join(QLatin1Char(',')), satirlar.join(QLatin1Char(','))),
                     degerler);
        }
    }

    if (degisenler.isEmpty())
        return;
    // Changed rows: column = CASE WHEN level=? THEN ? ... ELSE column END. A level that does
    // not change the column is bound as NULL, which matches no row, so that the statement's
    // shape depends only on the columns and the number of levels.
    QList<int> sutunlar;
    for (const auto &satir : degisenler)
        for (auto it = satir.cbegin(); it != satir.cend(); ++it)
            if (!sutunlar.contains(it.key()))
                sutunlar << it.key();
    std::sort(sutunlar.begin(), sutunlar.end());
    const QList<int> seviyeler = degisenler.keys();
    const int parca = qMax(1, 900 / (2 * int(sutunlar.size()) + 2));
    for (int bas = 0; bas < seviyeler.size(); bas += parca) {
        const int son = qMin(int(seviyeler.size()), bas + parca);
        QStringList atamalar;
        QVector<QVariant> degerler;
        for (int s : sutunlar) {
            const QString &ad = m_fiyat.sutunlar[s];
            QString atama = ad + QStringLiteral("=CASE");
            for (int i = bas; i < son; ++i) {
                atama += QStringLiteral(" WHEN Fiyat_Sira_No=? THEN ?");
                const QMap<int, QVariant> &satir = degisenler[seviyeler[i]];
                const bool var = satir.contains(s);
                degerler << (var ? QVariant(seviyeler[i]) : QVariant(QMetaType(QMetaType::Int)));
                degerler << satir.value(s);
            }
            atamalar << atama + QStringLiteral(" ELSE ") + ad + QStringLiteral(" END");
        }
        degerler << id;
        for (int i = bas; i < son; ++i)
            degerler << seviyeler[i];
        Calistir(QStringLiteral("UPDATE STOKFIYAT SET %1 WHERE Stok_ID=? AND Fiyat_Sira_No IN (%2)")
                     .arg(atamalar.join(QLatin1Char(',')), QStringLiteral("?,").repeated(son - bas - 1) + QStringLiteral("?")),
                 degerler);
    }
}

void KartYazici::Yaz(const KartKaydi &kart)
{
    const quint64 once = Baglanti.KomutSayisi();
    const Sonuc sonuc = KartiYaz(kart);
    const int komut = int(Baglanti.KomutSayisi() - once);
    IceAktarimOzeti::KomutSayilari &sayilar = sonuc == Sonuc::Olusturuldu  ? m_ozet.komutOlusturulan
                                              : sonuc == Sonuc::Guncellendi ? m_ozet.komutGuncellenen
                                                                            : m_ozet.komutDegismeyen;
    sayilar.toplam += quint64(komut);
    sayilar.enCok = qMax(sayilar.enCok, komut);
}

KartYazici::Sonuc KartYazici::KartiYaz(const KartKaydi &kart)
{
    const QStringList &d = kart.degerler;
    const int n = int(m_adlar.size()); // names 1..N-1; value N is the department
    const QVariant grupId = GrupId(d[n]);
    const QString grupMetni = DegerMetni(grupId, m_grupTipi.tip).trimmed();
    const bool sqlite = Baglanti.SQLiteMi();
    const QVariant &bugun = m_bugun;

    QVector<QVariant> satir;
    const bool yeni = !KartiOku(d[0], satir);

    // Card columns to write: position in the card query -> value.
    QMap<int, QVariant> kartYazimi;
    if (yeni) {
        kartYazimi.insert(1, grupId);
        for (int i = 0; i < n; ++i)
            if (!d[i].isEmpty())
                kartYazimi.insert(i + 2, MetinDegeri(d[i], m_tipler[i], sqlite));
    } else {
        if (Farkli(satir[1], m_grupTipi, grupMetni))
            kartYazimi.insert(1, grupId);
        for (int i = 0; i < n; ++i)
            if (Farkli(satir[i + 2], m_tipler[i], d[i]))
                kartYazimi.insert(i + 2, YazilacakDeger(d[i], m_tipler[i], true));
    }
    const bool kartDegisti = !kartYazimi.isEmpty();

    // The card's price rows, read with one statement (a new card has none).
    const QVariant eskiId = yeni ? QVariant() : satir[0];
    QHash<int, QVector<QVariant>> fiyatSatirlari;
    if (!yeni && !kart.fiyatlar.isEmpty()) {
        HazirKomut &sorgu = Komut(m_fiyatSorgusu);
        sorgu.Bagla(0, eskiId);
        sorgu.Yurut();
        while (sorgu.Sonraki()) {
            QVector<QVariant> fs(m_fiyat.sutunlar.size());
            for (int i = 0; i < fs.size(); ++i)
                fs[i] = sorgu.Deger(i);
            const int seviye = fs[0].toInt();
            if (!fiyatSatirlari.contains(seviye))
                fiyatSatirlari.insert(seviye, fs);
        }
        sorgu.Bitir();
    }

    // Price writes, worked out before anything is written; the id is filled in later.
    QVector<FiyatYazimi> fiyatYazimlari;
    for (const QStringList &fl : kart.fiyatlar) {
        FiyatYazimi yazim;
        yazim.seviye = *TamSayiDegeri(fl[0]);
        auto it = fiyatSatirlari.find(yazim.seviye);
        yazim.yeni = it == fiyatSatirlari.end();
        for (int i = 0; i < fl.size(); ++i) {
            if (i == 1)
                continue; // Stok_ID: the target's
            if (yazim.yeni) {
                if (!fl[i].isEmpty())
                    yazim.sutunlar.insert(i, MetinDegeri(fl[i], m_fiyatTipleri[i], sqlite));
            } else if (Farkli(it->at(i), m_fiyatTipleri[i], fl[i])) {
                yazim.sutunlar.insert(i, YazilacakDeger(fl[i], m_fiyatTipleri[i], false));
            }
        }
        if (yazim.yeni) {
            QVector<QVariant> fs(m_fiyat.sutunlar.size());
            for (auto s = yazim.sutunlar.cbegin(); s != yazim.sutunlar.cend(); ++s)
                fs[s.key()] = s.value();
            fiyatSatirlari.insert(yazim.seviye, fs);
        } else {
            for (auto s = yazim.sutunlar.cbegin(); s != yazim.sutunlar.cend(); ++s)
                (*it)[s.key()] = s.value();
        }
        if (yazim.yeni || !yazim.sutunlar.isEmpty())
            fiyatYazimlari << yazim;
    }

    // Dates: a new card is created today; a changed one keeps its Yr_Tarih and is stamped
    // today. Writes that would store what is already there are left out.
    if (m_tarihlerVar) {
        if (m_yrYeri >= 0)
            kartYazimi.remove(m_yrYeri + 2);
        if (m_degYeri >= 0)
            kartYazimi.remove(m_degYeri + 2);
    }
    if (!yeni) {
        for (auto it = kartYazimi.begin(); it != kartYazimi.end();) {
            const SutunBilgisi tip = it.key() == 1 ? m_grupTipi : m_tipler[it.key() - 2];
            it = AyniDeger(satir[it.key()], it.value(), tip) ? kartYazimi.erase(it) : std::next(it);
        }
    }
    // Once the card or one of its prices changed, the card is stamped today.
    const bool damga = !yeni && m_tarihlerVar && (kartDegisti || !fiyatYazimlari.isEmpty())
                       && !AyniDeger(satir.last(), bugun, m_tarihTipi);
    if (!yeni && kartYazimi.isEmpty() && !damga && fiyatYazimlari.isEmpty()) {
        ++m_ozet.kartDegismeyen;
        return Sonuc::Degismedi;
    }

    // The card and its prices stand or fall together.
    Baglanti.IslemBaslat();
    try {
        QVariant id = eskiId;
        QStringList adlar;
        QVector<QVariant> degerler;
        auto ekle = [&](int konum, const QVariant &deger) {
            adlar << (konum == 1 ? QStringLiteral("KDVGrup_ID") : m_adlar[konum - 2]);
            degerler << deger;
        };
        for (auto it = kartYazimi.cbegin(); it != kartYazimi.cend(); ++it)
            ekle(it.key(), it.value());
        if (yeni) {
            if (m_tarihlerVar) {
                adlar << QStringLiteral("Yr_Tarih") << QStringLiteral("Deg_Tarih");
                degerler << m_yrBugun << bugun;
            }
            QStringList yerler;
            for (int i = 0; i < adlar.size(); ++i)
                yerler << QStringLiteral("?");
            const QString sql = QStringLiteral("INSERT INTO STOKKART (%1) VALUES (%2)")
                                    .arg(adlar.join(QLatin1Char(',')), yerler.join(QLatin1Char(',')));
            HazirKomut &komut = Komut(sql);
            for (int i = 0; i < degerler.size(); ++i)
                komut.Bagla(i, degerler[i]);
            komut.Yurut();
            id = komut.SonEklenenId();
            komut.Bitir();
            if (!id.isValid() || id.isNull()) {
                QVector<QVariant> okunan;
                if (!KartiOku(d[0], okunan))
                    throw Hata(QStringLiteral("Oluşturulan stok kartı okunamadı."));
                id = okunan[0];
            }
        } else {
            if (damga) {
                adlar << QStringLiteral("Deg_Tarih");
                degerler << bugun;
            }
            if (!adlar.isEmpty()) {
                QStringList atamalar;
                for (const QString &a : adlar)
                    atamalar << a + QStringLiteral("=?");
                degerler << id;
                Calistir(QStringLiteral("UPDATE STOKKART SET %1 WHERE Stok_ID=?").arg(atamalar.join(QLatin1Char(','))), degerler);
            }
        }

        FiyatlariYaz(fiyatYazimlari, id);
        Baglanti.IslemOnayla();
    } catch (...) {
        Baglanti.IslemGeriAl();
        throw;
    }
    // Counted once the card stands.
    ++(yeni ? m_ozet.kartOlusturulan : m_ozet.kartGuncellenen);
    for (const FiyatYazimi &yazim : fiyatYazimlari)
        ++(yazim.yeni ? m_ozet.fiyatOlusturulan : m_ozet.fiyatGuncellenen);
    return yeni ? Sonuc::Olusturuldu : Sonuc::Guncellendi;
}

// Reads one card line and the price lines after it; `satir` ends on "<STOK>" or "<END>".
KartKaydi KartKaydiOku(AktarimOkuyucu &dosya, const QString &kartSatiri, QString &satir)
{
    KartKaydi kart;
    kart.degerler = StokSatiriOku(kartSatiri);
    for (;;) {
        satir = dosya.SatirOku();
        if (satir == Etiket::Stok || satir == Etiket::Son)
            break;
        kart.fiyatlar << FiyatSatiriOku(satir);
    }
    return kart;
}

// A card record fit for writing: N values, a whole department number, price lines with the
// prefix's number of values and whole price levels.
void KartKaydiDenetle(const KartKaydi &kart, int n, int fiyatDegerSayisi)
{
    const QString kod = kart.degerler.value(0).trimmed();
    if (kart.degerler.size() != n)
        throw Hata(QStringLiteral("%1 stok kodlu kartın satırında %2 değer var, %3 olmalı.")
                       .arg(kod).arg(kart.degerler.size()).arg(n));
    if (!TamSayiDegeri(kart.degerler[n - 1]))
        throw Hata(QStringLiteral("%1 stok kodlu kartın KDV departman numarası geçersiz: '%2'.").arg(kod, kart.degerler[n - 1]));
    for (const QStringList &f : kart.fiyatlar) {
        if (f.size() != fiyatDegerSayisi)
            throw Hata(QStringLiteral("%1 stok kodlu kartın bir fiyat satırında %2 değer var, %3 olmalı.")
                           .arg(kod).arg(f.size()).arg(fiyatDegerSayisi));
        if (!TamSayiDegeri(f[0]))
            throw Hata(QStringLiteral("%1 stok kodlu kartın fiyat seviyesi geçersiz: '%2'.").arg(kod, f[0]));
    }
}

// The checks above on a line's bytes, for the counting pass: true only where the record check
// surely passes (values counted at the ";", whole numbers in plain digits). Anything else goes
// to the record check itself, which decides and names the fault.
int DegerSayisi(QByteArrayView satir)
{
    const int ayrac = int(std::count(satir.begin(), satir.end(), ';'));
    return ayrac + (!satir.isEmpty() && satir.back() != ';' ? 1 : 0);
}

bool SadeTamSayi(QByteArrayView alan)
{
    qsizetype i = 0;
    bool eksi = false;
    if (!alan.isEmpty() && (alan[0] == '+' || alan[0] == '-')) {
        eksi = alan[0] == '-';
        ++i;
    }
    const qsizetype rakam = alan.size() - i;
    if (rakam < 1 || rakam > 5)
        return false;
    int sayi = 0;
    for (; i < alan.size(); ++i) {
        if (alan[i] < '0' || alan[i] > '9')
            return false;
        sayi = sayi * 10 + (alan[i] - '0');
    }
    return eksi ? sayi <= 32768 : sayi <= 32767;
}

// Field `sira` (0-based) of a line whose values were counted.
QByteArrayView Alan(QByteArrayView satir, int sira)
{
    const char *bas = satir.begin();
    const char *const son = satir.end();
    for (int i = 0; i < sira; ++i)
        bas = std::find(bas, son, ';') + 1;
    return QByteArrayView(bas, std::find(bas, son, ';'));
}

bool KartSatiriUygun(QByteArrayView satir, int n)
{
    return DegerSayisi(satir) == n && SadeTamSayi(Alan(satir, n - 1));
}

bool FiyatSatiriUygun(QByteArrayView satir, int fiyatDegerSayisi)
{
    return DegerSayisi(satir) == fiyatDegerSayisi && SadeTamSayi(Alan(satir, 0));
}

const QByteArrayView HamStok("<STOK>");
const QByteArrayView HamSon("<END>");

} // namespace

void KartlariAktar(AktarimOkuyucu &dosya, IceAktarimOzeti &ozet)
{
    // Card header.
    int n = 0;
    QStringList adlar;
    try {
        static const QRegularExpression sayi(QStringLiteral(R"(^\s*\d{1,5}\s*$)"));
        const QString sayiSatiri = dosya.SatirOku();
        n = sayi.match(sayiSatiri).hasMatch() ? sayiSatiri.trimmed().toInt() : 0;
        if (n < 1 || n > 32767) {
            BitirenMesaj(ozet, FormatHatasi, Etkilesim::Simge::Kritik, KartBaslikHatasi);
            return;
        }
        const auto cozulen = KartSutunSatiriCoz(dosya.SatirOku());
        bool gecerli = cozulen && cozulen->size() == n - 1;
        if (gecerli) {
            const QStringList hedef = Baglanti.TabloSutunlari(QStringLiteral("STOKKART"));
            QSet<QString> gorulen;
            for (const QString &ad : *cozulen) {
                const QString buyuk = ad.toUpper();
                gecerli = gecerli && IcerirMi(hedef, ad) && !gorulen.contains(buyuk)
                          && buyuk != QLatin1String("STOK_ID") && buyuk != QLatin1String("KDVGRUP_ID");
                gorulen.insert(buyuk);
            }
        }
        if (!gecerli) {
            BitirenMesaj(ozet, FormatHatasi, Etkilesim::Simge::Kritik, KartBaslikHatasi);
            return;
        }
        adlar = *cozulen;
    } catch (const Hata &hata) {
        BitirenMesaj(ozet,
                     QStringLiteral("Stok Parametre Bilgileri Okunurken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz."),
                     Etkilesim::Simge::Kritik, hata.Aciklama());
        return;
    }

    // Price header.
    FiyatOnEkiBicimi fiyat;
    try {
        std::optional<FiyatOnEkiBicimi> cozulen;
        if (dosya.SatirOku() == Etiket::StokFiyat)
            cozulen = FiyatOnEkiCoz(dosya.SatirOku());
        if (cozulen) {
            const QStringList hedef = Baglanti.TabloSutunlari(QStringLiteral("STOKFIYAT"));
            for (const QString &ad : cozulen->sutunlar)
                if (!IcerirMi(hedef, ad))
                    cozulen.reset();
        }
        if (!cozulen) {
            BitirenMesaj(ozet, FormatHatasi, Etkilesim::Simge::Kritik, FiyatBaslikHatasi);
            return;
        }
        fiyat = *cozulen;
    } catch (const Hata &hata) {
        BitirenMesaj(ozet,
                     QStringLiteral("Fiyat Parametre Bilgileri Okunurken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz."),
                     Etkilesim::Simge::Kritik, hata.Aciklama());
        return;
    }

    // Cards.
    QString stokKod;
    try {
        if (dosya.SatirOku() != Etiket::Stok) {
            BitirenMesaj(ozet, QStringLiteral("Dosya Formatı Hatası Dosya Ravelkoi İçin uygun Dosya Değil."),
                         Etkilesim::Simge::Kritik, QStringLiteral("STOK OKMUA PARAMETRESİ HATASI"));
            return;
        }
        // Counting pass; it also checks every record, so a broken one stops the import
        // before any card is written.
        const qint64 ilkKart = dosya.Konum();
        // It looks at the bytes only; a record they do not clear is read and checked in full.
        const int fiyatDegerSayisi = int(fiyat.sutunlar.size());
        int kartSayisi = 1;
        QString satir;
        for (;;) {
            const qint64 kartKonumu = dosya.Konum();
            const QByteArrayView kartSatiri = dosya.HamSatirOku();
            if (kartSatiri == HamSon)
                break;
            bool uygun = KartSatiriUygun(kartSatiri, n);
            QByteArrayView ham;
            for (;;) {
                ham = dosya.HamSatirOku();
                if (ham == HamStok || ham == HamSon)
                    break;
                uygun = uygun && FiyatSatiriUygun(ham, fiyatDegerSayisi);
            }
            const bool son = ham == HamSon;
            if (!uygun) {
                const qint64 devam = dosya.Konum();
                dosya.KonumaGit(kartKonumu);
                const QString tamSatir = dosya.SatirOku();
                const KartKaydi kayit = KartKaydiOku(dosya, tamSatir, satir);
                try {
                    KartKaydiDenetle(kayit, n, fiyatDegerSayisi);
                } catch (const Hata &) {
                    stokKod = kayit.degerler.value(0).trimmed(); // the message names the broken card
                    throw;
                }
                dosya.KonumaGit(devam);
            }
            if (son)
                break;
            ++kartSayisi;
        }
        KartBar().Ayarla(kartSayisi, 0);
        Operator().FrameBarGoster(true);

        dosya.KonumaGit(ilkKart);
        KartYazici yazici(adlar, fiyat, ozet);
        satir = Etiket::Stok;
        while (satir != Etiket::Son) {
            const QString kartSatiri = dosya.SatirOku();
            if (kartSatiri == Etiket::Son)
                break;
            const KartKaydi kart = KartKaydiOku(dosya, kartSatiri, satir);
            stokKod = kart.degerler.value(0).trimmed();
            Operator().MesajLblYaz(kart.degerler.value(1).trimmed() + QStringLiteral(" İsimli Stok Aktarılıyor....."));
            yazici.Yaz(kart);
            IlerlemeArttir(KartBar(), 1);
            Operator().BekleyenOlaylariIsle();
        }
        Operator().FrameBarGoster(false);
        Operator().Mesaj(QStringLiteral("İşlem Başarı ile Tamamlandı"));
        ozet.basarili = true;
        ozet.mesaj.clear();
    } catch (const Hata &hata) {
        Operator().FrameBarGoster(false);
        BitirenMesaj(ozet,
                     QStringLiteral("Stok Bilgileri Güncellenirken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz."),
                     Etkilesim::Simge::Kritik, hata.Aciklama() + QStringLiteral("  ") + stokKod);
        Operator().Mesaj(hata.Aciklama());
    }
}
